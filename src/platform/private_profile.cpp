#include "platform/private_profile.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <set>
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

// The form in which names are compared (sameName): ASCII letters in lower case, except the
// second byte of a double-byte character.
std::string foldName(std::string_view name) {
  std::string out(name);
  for (std::size_t i = 0; i < out.size();) {
    if (isCp932LeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
      i += 2;
    } else {
      out[i] = asciiLower(out[i]);
      ++i;
    }
  }
  return out;
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// A section or key name that a line of the file holds as it is.
bool writableName(std::string_view name) { return !name.empty() && !hasLineBreak(name) && trimBlanks(name) == name; }

// A key that reads back as a key: not taken for a comment or a section line, no "=" in it.
bool writableKey(std::string_view key) {
  return writableName(key) && key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

// key=value into the section of the lines, as profileWrite describes it.
void putKey(std::vector<Line>& lines, const std::string& sec, const std::string& k, const std::string& v) {
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
}

}  // namespace

Profile::Profile(std::string_view bytes) {
  // Only the first section of a name counts, and in it the first line of a key.
  std::set<std::string> sectionsSeen;
  bool inFirstOfItsName = false;
  std::string section;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t nl = std::min(bytes.find('\n', pos), bytes.size());
    std::string_view line = bytes.substr(pos, nl - pos);
    if (nl < bytes.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);  // as splitLines
    pos = nl + 1;
    if (auto name = sectionName(line)) {
      section = foldName(*name);
      inFirstOfItsName = sectionsSeen.insert(section).second;
    } else if (inFirstOfItsName) {
      if (auto key = keyName(line))
        values_.emplace(std::pair(section, foldName(*key)), std::string(trimBlanks(line.substr(line.find('=') + 1))));
    }
  }
}

std::string Profile::value(const std::string& section, const std::string& key, std::size_t maxBytes) const {
  if (key.empty()) return "";
  auto it = values_.find(std::pair(foldName(toCp932(section)), foldName(toCp932(key))));
  if (it == values_.end()) return "";
  std::string_view value = it->second;
  return fromCp932(value.substr(0, cp932CutLength(value, maxBytes)));
}

std::optional<Profile> profileLoad(const std::string& path) {
  auto bytes = readFileBytes(path, kProfileMaxBytes + 1);
  if (!bytes) return Profile();
  if (bytes->size() > kProfileMaxBytes) return std::nullopt;
  return Profile(*bytes);
}

std::string profileRead(const std::string& path, const std::string& section, const std::string& key,
                        std::size_t maxBytes) {
  auto profile = profileLoad(path);
  return profile ? profile->value(section, key, maxBytes) : std::string();
}

WriteResult profileWrite(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& value) {
  return profileWrite(path, section, ProfileEntries{{key, value}});
}

WriteResult profileWrite(const std::string& path, const std::string& section, const ProfileEntries& entries) {
  // A name or value that would break the line structure of the file, or not read back as
  // written, is refused rather than written.
  const std::string sec = toCp932(section);
  if (!writableName(sec) || sec.find(']') != std::string::npos) return WriteResult(EINVAL);

  // A file that is there but cannot be read must not be replaced by one without its content.
  std::string bytes;
  if (auto content = readFileBytes(path, kProfileMaxBytes + 1)) {
    if (content->size() > kProfileMaxBytes) return WriteResult(kProfileTooLarge);
    bytes = std::move(*content);
  } else if (const int readError = errno; readError != ENOENT) {
    return WriteResult(readError);
  }

  std::vector<Line> lines = splitLines(bytes);
  bool refused = false, changed = false;
  for (const auto& [key, value] : entries) {
    const std::string k = toCp932(key), v = toCp932(value);
    if (!writableKey(k) || hasLineBreak(v)) {
      refused = true;
      continue;
    }
    putKey(lines, sec, k, v);
    changed = true;
  }
  if (changed) {
    std::string out;
    out.reserve(bytes.size() + 64 * entries.size());
    for (const Line& line : lines) out.append(line.text).append(line.end);
    if (WriteResult written = writeFileAtomically(path, out); !written) return written;
  }
  return WriteResult(refused ? EINVAL : 0);
}

}  // namespace tovakin::platform
