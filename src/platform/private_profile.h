#pragma once
// Reader and writer of private-profile (INI) files: "[section]" lines and "key=value" lines,
// stored in CP932 with CR LF line ends. Section and key names are found regardless of the case
// of ASCII letters; a value is the text after the first "=" with blanks and tabs trimmed.
// Writing changes only the one line concerned (or adds one or two lines); every other line
// stays byte for byte, and the file is replaced through a temporary file in the same folder.
#include <cstddef>
#include <string>

namespace tovakin::platform {

// The value of a key as UTF-8, cut to at most maxBytes CP932 bytes on a character boundary.
// "" when the file, the section or the key is missing, or the value is empty.
std::string profileRead(const std::string& path, const std::string& section, const std::string& key,
                        std::size_t maxBytes = 99);

// Writes key=value into the section. An existing key (first occurrence in the first matching
// section) gets its value replaced in place; a new key becomes the last line of its section;
// a missing section is appended at the end of the file. A missing file is created.
// False when the file cannot be written.
bool profileWrite(const std::string& path, const std::string& section, const std::string& key,
                  const std::string& value);

}  // namespace tovakin::platform
