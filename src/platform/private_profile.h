#pragma once
// Reader and writer of private-profile (INI) files: "[section]" lines and "key=value" lines,
// stored in CP932 with CR LF line ends. Section and key names are found regardless of the case
// of ASCII letters; a value is the text after the first "=" with blanks and tabs trimmed.
// Writing changes only the one line concerned (or adds one or two lines); every other line
// stays byte for byte, and the file is replaced as a whole (FileReplacement, file_system.h).
#include <cerrno>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_system.h"

namespace tovakin::platform {

// A settings file is never larger than this; a larger one is no settings file and is not read.
inline constexpr std::size_t kProfileMaxBytes = std::size_t{1} << 20;

// The keys of a settings file, read and parsed once for any number of lookups.
class Profile {
 public:
  Profile() = default;  // no keys: every value ""
  explicit Profile(std::string_view bytes);

  // The value of a key as UTF-8, cut to at most maxBytes CP932 bytes on a character boundary.
  // "" when the section or the key is missing, or the value is empty.
  std::string value(const std::string& section, const std::string& key, std::size_t maxBytes = 99) const;

 private:
  // (section, key), both with ASCII letters folded to lower case -> the value's CP932 bytes.
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

// The file as a Profile; a missing or unreadable file has no keys. nullopt for a file larger
// than kProfileMaxBytes, of which no more than that is read.
std::optional<Profile> profileLoad(const std::string& path);

// One value of the file (profileLoad and Profile::value); "" also for a file too large.
std::string profileRead(const std::string& path, const std::string& section, const std::string& key,
                        std::size_t maxBytes = 99);

// A file larger than kProfileMaxBytes is no settings file: the writers leave it as it is and
// give this error, after reading no more of it than profileLoad does.
inline constexpr int kProfileTooLarge = EOVERFLOW;

// Writes key=value into the section. An existing key (first occurrence in the first matching
// section) gets its value replaced in place; a new key becomes the last line of its section;
// a missing section is appended at the end of the file. A missing file is created.
// A key or value that would not read back as written is refused (EINVAL): a line break in any
// name or value, "=" in a key, "]" in a section name, a key that starts like a comment (";")
// or a section line ("["), blanks around a name, an empty name.
WriteResult profileWrite(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& value);

// Several keys of one section in one replacement of the file, each as the single-key write puts
// it, in order. A refused key or value is left out and the result is then EINVAL, also when the
// others were written.
using ProfileEntries = std::vector<std::pair<std::string, std::string>>;
WriteResult profileWrite(const std::string& path, const std::string& section, const ProfileEntries& entries);

}  // namespace tovakin::platform
