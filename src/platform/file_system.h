#pragma once
// File operations the program needs from the platform.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tovakin::platform {

// The directory search for normal files: true for a regular file whose name does not start with
// "." (dot files count as hidden). Directories and missing paths give false.
bool fileExists(const std::string& path);

// True when anything (file of any kind, directory, hidden or not) is at the path.
bool pathExists(const std::string& path);

// Writes the bytes to a uniquely named temporary file in the target's folder, flushes it to disk
// and renames it over the target. On any failure the temporary file is removed, the previous
// file stays as it was and the result is false.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// The first maxBytes bytes of a file (all of it by default); nullopt when it cannot be read.
std::optional<std::string> readFileBytes(const std::string& path, std::size_t maxBytes = SIZE_MAX);

// Creates an empty file when nothing is at the path; true when a file is there afterwards.
bool createEmptyFileIfMissing(const std::string& path);

// Removes a file; true when it was removed.
bool removeFile(const std::string& path);

// The folder of the running executable, with a trailing "/".
std::string executableDir();

}  // namespace tovakin::platform
