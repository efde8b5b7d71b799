#pragma once
// File operations the program needs from the platform.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/service.h"

namespace tovakin::platform {

// The directory search for normal files: true for a regular file whose name does not start with
// "." (dot files count as hidden). Directories and missing paths give false.
bool fileExists(const std::string& path);

// True when anything (file of any kind, directory, hidden or not) is at the path.
bool pathExists(const std::string& path);

// The path on disk of a path that was kept in CP932 (the settings file): a name comes back with
// the full-width form of a JIS-style character ('～' for the '〜' on disk) or "?" for one CP932
// lacks. The path itself when something is there; else, part by part, the one entry of its
// folder that CP932 writes as the same bytes; the path unchanged when none or several are.
std::string pathOnDiskFromCp932(const std::string& path);

// The outcome of a write: true when it succeeded, else error() holds the errno of the cause.
class [[nodiscard]] WriteResult {
 public:
  WriteResult() = default;
  explicit WriteResult(int error) : error_(error) {}
  explicit operator bool() const { return error_ == 0; }
  int error() const { return error_; }

 private:
  int error_ = 0;
};

// The runtime's error number for the cause of a failed write: err::kDiskFull (61) for a full
// disk or a file that may grow no further (ENOSPC, EDQUOT, EFBIG), err::kPermissionDenied (70)
// for a refusal (EACCES, EPERM, EROFS), err::kPathNotFound (76) for a missing folder (ENOENT,
// ENOTDIR), err::kPathFileAccess (75) for anything else.
int writeErrorNumber(int error);

// Raises that error with the runtime's text; a `file` given is named after the text, so that
// the box says which of the user's files was not written.
[[noreturn]] void raiseWriteError(const WriteResult& failed, const std::string& file = {});

// Replaces a file as a whole. The new content goes to a hidden temporary file beside the file,
// named "." NAME ".tovakin-tmp." PID "." and six characters; only a complete temporary file,
// synced to disk, is renamed over the file, and the folder is synced after the rename. Until
// then the file stays as it was; a replacement that fails or is dropped removes its temporary
// file, and one that a killed process left behind is removed by the next replacement of the
// same file.
//
// A symbolic link is followed to the file it finally points to, which is replaced in its own
// folder: the link stays a link. The replacement keeps the permissions (and, where allowed, the
// owner) of the file it replaces; a new file gets those of a new file under the umask. A file
// without any write permission bit, or one the process may not write, is refused (EACCES) also
// for a privileged user: it is the read-only attribute of the file. So is anything but a
// regular file in its place.
class FileReplacement {
 public:
  explicit FileReplacement(const std::string& path);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Whether the temporary file is ready; a failed result ends the replacement.
  WriteResult ready() const { return WriteResult(error_); }
  // The temporary file, for a writer that fills it through a library of its own.
  const std::string& temporaryPath() const { return temporary_; }
  // Appends bytes to the temporary file.
  WriteResult write(std::string_view bytes);
  // Syncs the temporary file and renames it over the file, then syncs the folder. A rename
  // that failed can be tried again.
  WriteResult commit();

 private:
  WriteResult fail(int error);

  std::string target_, temporary_;
  int fd_ = -1;
  int error_ = 0;
  bool committed_ = false;
};

// The bytes as the whole new content of the file, through one FileReplacement.
WriteResult writeFileAtomically(const std::string& path, std::string_view bytes);

// The stages of a replacement at which a test can make it fail, or stop it.
enum class WriteStage { Create, Write, Rename };
class WriteFaults {
 public:
  virtual ~WriteFaults() = default;
  // Asked before each stage with the file to be replaced (links followed): an errno fails the
  // stage with that cause, 0 lets it go on.
  virtual int before(WriteStage stage, const std::string& target) = 0;
};
Installed<WriteFaults> installWriteFaults(WriteFaults& faults);

// The first maxBytes bytes of a file (all of it by default); nullopt when it cannot be read.
std::optional<std::string> readFileBytes(const std::string& path, std::size_t maxBytes = SIZE_MAX);

// Creates an empty file when nothing is at the path. Succeeds when a file is there afterwards;
// else the errno of the cause (EISDIR when a folder is in the way). A symbolic link is followed
// as FileReplacement follows it: a link to a missing file gets that file, the link stays.
WriteResult createEmptyFileIfMissing(const std::string& path);

// Removes a file; true when it was removed.
bool removeFile(const std::string& path);

// The folder of the running executable, with a trailing "/".
std::string executableDir();

}  // namespace tovakin::platform
