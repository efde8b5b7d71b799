#include "platform/private_profile.h"

#include <optional>
#include <string_view>
#include <vector>

#include "platform/cp932.h"
#include "platform/file_system.h"

namespace tovakin::platform {
namespace {

// One line of the file: its bytes without the line end, and the line end as it was
// ("\r\n", "\n", or "" for a last line without one).
struct Line {
  std::string text;
  std::string end;
};

std::vector<Line> splitLines(std::string_view bytes) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t nl = bytes.find('\n', pos);
    if (nl == std::string_view::npos) {
      lines.push_back({std::string(bytes.substr(pos)), ""});
      break;
    }
    std::size_t textEnd = nl > pos && bytes[nl - 1] == '\r' ? nl - 1 : nl;
    lines.push_back({std::string(bytes.substr(pos, textEnd - pos)), std::string(bytes.substr(textEnd, nl + 1 - textEnd))});
    pos = nl + 1;
  }
  return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares two CP932 names, ignoring the case of ASCII letters only. The bytes of a double-byte
// character are compared exactly: its second byte may look like an ASCII letter.
bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    if (isCp932LeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      i += 2;
    } else {
      if (asciiLower(a[i]) != asciiLower(b[i])) return false;
      ++i;
    }
  }
  return true;
}

// The section name of a "[name]" line, blanks around the name removed; nullopt for other lines.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trimBlanks(line.substr(1, close - 1));
}

// The key of a "key=value" line; nullopt for lines without "=", comments and section lines.
std::optional<std::string_view> keyName(std::string_view line) {
  std::string_view t = trimBlanks(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return std::nullopt;
  std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return trimBlanks(line.substr(0, eq));
}

struct Found {
  std::optional<std::size_t> section;  // index of the section's name line
  std::size_t sectionEnd = 0;          // index after the section's last line
  std::optional<std::size_t> key;      // index of the key's line
};

Found find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Found f;
  std::size_t i = 0;
  for (; i < lines.size(); ++i) {
    auto name = sectionName(lines[i].text);
    if (name && sameName(*name, section)) break;
  }
  if (i == lines.size()) return f;
  f.section = i;
  for (++i; i < lines.size() && !sectionName(lines[i].text); ++i) {
    if (f.key) continue;
    if (auto kn = keyName(lines[i].text); kn && sameName(*kn, key)) f.key = i;
  }
  f.sectionEnd = i;
  return f;
}

}  // namespace

std::string profileRead(const std::string& path, const std::string& section, const std::string& key,
                        std::size_t maxBytes) {
  if (key.empty()) return "";
  auto bytes = readFileBytes(path);
  if (!bytes) return "";
  std::vector<Line> lines = splitLines(*bytes);
  Found f = find(lines, toCp932(section), toCp932(key));
  if (!f.key) return "";
  std::string_view line = lines[*f.key].text;
  std::string_view value = trimBlanks(line.substr(line.find('=') + 1));
  value = value.substr(0, cp932CutLength(value, maxBytes));
  return fromCp932(value);
}

bool profileWrite(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value) {
  // A name or value that would break the line structure of the file is refused rather than
  // written as several lines.
  const auto hasLineBreak = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
  std::string sec = toCp932(section), k = toCp932(key);
  if (sec.empty() || k.empty() || hasLineBreak(sec) || hasLineBreak(k) || sec.find(']') != std::string::npos ||
      k.find('=') != std::string::npos || trimBlanks(sec) != sec || trimBlanks(k) != k)
    return false;
  std::string v = toCp932(value);
  if (hasLineBreak(v)) return false;

  // A file that is there but cannot be read must not be replaced by one without its content.
  std::string bytes;
  if (auto content = readFileBytes(path)) {
    bytes = std::move(*content);
  } else if (pathExists(path)) {
    return false;
  }

  std::vector<Line> lines = splitLines(bytes);
  Found f = find(lines, sec, k);
  const std::string crlf = "\r\n";
  if (f.key) {
    Line& line = lines[*f.key];
    std::string_view keyAsWritten = trimBlanks(std::string_view(line.text).substr(0, line.text.find('=')));
    line.text = std::string(keyAsWritten) + "=" + v;
  } else if (f.section) {
    std::size_t after = *f.section;  // after the last non-blank line of the section
    for (std::size_t i = *f.section + 1; i < f.sectionEnd; ++i)
      if (!trimBlanks(lines[i].text).empty()) after = i;
    if (lines[after].end.empty()) lines[after].end = crlf;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), Line{k + "=" + v, crlf});
  } else {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = crlf;
    lines.push_back({"[" + sec + "]", crlf});
    lines.push_back({k + "=" + v, crlf});
  }

  std::string out;
  out.reserve(bytes.size() + k.size() + v.size() + sec.size() + 8);
  for (const Line& line : lines) out.append(line.text).append(line.end);
  return writeFileAtomically(path, out);
}

}  // namespace tovakin::platform
