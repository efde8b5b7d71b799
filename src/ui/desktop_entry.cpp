#include "ui/desktop_entry.h"

namespace tovakin::gui {
namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Undoes the string escapes of the entry format.
std::string unescapeValue(std::string_view v) {
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\' || i + 1 == v.size()) {
      out += v[i];
      continue;
    }
    switch (const char c = v[++i]) {
      case 's': out += ' '; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case '\\': out += '\\'; break;
      default:
        out += '\\';
        out += c;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> desktopEntryExec(std::string_view text) {
  bool inEntry = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    if (!inEntry) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos || trimmed(line.substr(0, eq)) != "Exec") continue;
    return std::string(trimmed(line.substr(eq + 1)));
  }
  return std::nullopt;
}

std::optional<std::vector<std::string>> splitExec(std::string_view exec) {
  const std::string line = unescapeValue(exec);
  std::vector<std::string> args;
  std::string current;
  bool inArgument = false;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < line.size()) {
        current += line[++i];
      } else {
        current += c;
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inArgument) args.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else if (c == '"') {
      quoted = true;
      inArgument = true;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (quoted) return std::nullopt;
  if (inArgument) args.push_back(std::move(current));
  if (args.empty()) return std::nullopt;
  return args;
}

std::vector<std::string> expandExecArguments(const std::vector<std::string>& arguments,
                                             const std::vector<std::string>& files) {
  std::vector<std::string> out;
  bool placed = false;
  for (const std::string& arg : arguments) {
    if (arg == "%F" || arg == "%U") {
      out.insert(out.end(), files.begin(), files.end());
      placed = true;
      continue;
    }
    std::string expanded;
    bool dropped = false;  // an argument that was nothing but a dropped code goes away
    for (std::size_t i = 0; i < arg.size(); ++i) {
      if (arg[i] != '%' || i + 1 == arg.size()) {
        expanded += arg[i];
        continue;
      }
      const char code = arg[++i];
      if (code == '%') {
        expanded += '%';
      } else if (code == 'f' || code == 'u') {
        if (!files.empty()) expanded += files.front();
        placed = true;
      } else {
        dropped = true;
      }
    }
    if (!(expanded.empty() && (dropped || arg == "%f" || arg == "%u"))) out.push_back(std::move(expanded));
  }
  if (!placed) out.insert(out.end(), files.begin(), files.end());
  return out;
}

std::vector<std::string> entryPathsFor(const std::string& applicationsDir, const std::string& entryId) {
  std::vector<std::string> paths{applicationsDir + "/" + entryId};
  for (std::size_t dash = entryId.find('-'); dash != std::string::npos; dash = entryId.find('-', dash + 1)) {
    std::string nested = entryId;
    nested[dash] = '/';
    paths.push_back(applicationsDir + "/" + nested);
  }
  return paths;
}

}  // namespace tovakin::gui
