#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "platform/error_box.h"

namespace tovakin::platform {
namespace {

std::string folderOf(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

// A file without any write permission bit counts as read-only, also for a privileged user:
// it is the read-only attribute of the file, which a replacement must not ignore.
bool isReadOnlyFile(const struct stat& st) { return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

constexpr const char* kTemporaryMark = ".tovakin-tmp.";

WriteFaults* g_faults = nullptr;

int faultBefore(WriteStage stage, const std::string& target) { return g_faults ? g_faults->before(stage, target) : 0; }

mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The file a path finally stands for: symbolic links followed one by one (a relative link from
// its own folder), also to a file that is not there yet. A loop is left to the caller's stat.
std::string finalTarget(const std::string& path) {
  std::string p = path;
  for (int hop = 0; hop < 40; ++hop) {
    struct stat st;
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    std::vector<char> buffer(PATH_MAX);
    const ssize_t n = ::readlink(p.c_str(), buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) break;
    const std::string link(buffer.data(), static_cast<std::size_t>(n));
    p = link.front() == '/' ? link : folderOf(p) + "/" + link;
  }
  return p;
}

// `rest` is what follows ".NAME.tovakin-tmp." in a name: the writer's process id, "." and the
// six characters of mkostemp. The temporary file is stale when that process is gone, or is this
// one: a process replaces one file at a time, and its own earlier temporary file was left only
// by a run that had the same id before (the id comes round again after a restart).
bool isStaleTemporary(std::string_view rest) {
  const std::size_t dot = rest.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot > 9 || rest.size() != dot + 7) return false;
  long pid = 0;
  for (char c : rest.substr(0, dot)) {
    if (c < '0' || c > '9') return false;
    pid = pid * 10 + (c - '0');
  }
  if (pid <= 0 || pid == ::getpid()) return true;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

void removeStaleTemporaries(const std::string& folder, const std::string& name) {
  const std::string prefix = "." + name + kTemporaryMark;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;  // the creation of the temporary file then says what is wrong
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view entryName = entry->d_name;
    if (entryName.size() > prefix.size() && entryName.compare(0, prefix.size(), prefix) == 0 &&
        isStaleTemporary(entryName.substr(prefix.size())))
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace

bool fileExists(const std::string& path) {
  std::string name = nameOf(path);
  if (name.empty() || name.front() == '.') return false;
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  return S_ISREG(st.st_mode);
}

bool pathExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

std::string pathOnDiskFromCp932(const std::string& path) {
  if (path.empty() || pathExists(path)) return path;
  std::string found;
  std::size_t at = 0;
  while (at < path.size()) {
    const std::size_t slash = path.find('/', at);
    const std::size_t end = slash == std::string::npos ? path.size() : slash;
    const std::string part = path.substr(at, end - at);
    const std::string folder = found.empty() && path.front() == '/' ? "/" : (found.empty() ? "." : found);
    std::string joined = found + part;
    if (!part.empty() && !pathExists(joined)) {
      const std::string bytes = toCp932(part);
      std::vector<std::string> matches;
      if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir))
          if (toCp932(entry->d_name) == bytes) matches.emplace_back(entry->d_name);
        ::closedir(dir);
      }
      if (matches.size() != 1) return path;
      joined = found + matches.front();
    }
    found = joined;
    if (slash == std::string::npos) break;
    found += '/';
    at = slash + 1;
  }
  return found;
}

int writeErrorNumber(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return err::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return err::kPermissionDenied;
    case ENOENT:
    case ENOTDIR:
      return err::kPathNotFound;
    default:
      return err::kPathFileAccess;
  }
}

void raiseWriteError(const WriteResult& failed, const std::string& file) {
  const int number = writeErrorNumber(failed.error());
  raiseError(number, file.empty() ? std::string() : errorDescription(number) + "（" + file + "）");
}

Installed<WriteFaults> installWriteFaults(WriteFaults& faults) { return {g_faults, &faults}; }

FileReplacement::FileReplacement(const std::string& path) : target_(finalTarget(path)) {
  const std::string name = nameOf(target_);
  if (name.empty()) {
    error_ = EISDIR;
    return;
  }
  struct stat old;
  const bool hadOld = ::stat(target_.c_str(), &old) == 0;
  if (!hadOld && errno != ENOENT) {
    error_ = errno;
    return;
  }
  if (hadOld) {
    if (!S_ISREG(old.st_mode)) {
      error_ = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
      return;
    }
    if (isReadOnlyFile(old)) {
      error_ = EACCES;
      return;
    }
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) {
      error_ = errno;
      return;
    }
  }
  if ((error_ = faultBefore(WriteStage::Create, target_)) != 0) return;

  const std::string folder = folderOf(target_);
  removeStaleTemporaries(folder, name);
  std::string pattern = folder + "/." + name + kTemporaryMark + std::to_string(::getpid()) + ".XXXXXX";
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  temporary_ = pattern;

  // The replacement keeps the owner where the system lets it (a privileged process saving a
  // user's file), then the permissions, which a change of owner may have cut.
  if (hadOld && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
    const bool ownerKept = ::fchown(fd_, old.st_uid, old.st_gid) == 0;
    static_cast<void>(ownerKept);  // refused to others: the file is then this user's, as any it creates
  }
  if (::fchmod(fd_, hadOld ? old.st_mode & 07777 : newFileMode()) != 0) static_cast<void>(fail(errno));
}

FileReplacement::~FileReplacement() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temporary_.empty()) ::unlink(temporary_.c_str());
}

WriteResult FileReplacement::fail(int error) {
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  error_ = error;
  return WriteResult(error);
}

WriteResult FileReplacement::write(std::string_view bytes) {
  if (error_ != 0 || fd_ < 0) return WriteResult(error_ != 0 ? error_ : EINVAL);  // not after commit()
  if (int fault = faultBefore(WriteStage::Write, target_)) return fail(fault);
  if (!writeAll(fd_, bytes)) return fail(errno);
  return {};
}

WriteResult FileReplacement::commit() {
  if (error_ != 0) return WriteResult(error_);
  if (committed_) return {};
  // A refused rename leaves the complete temporary file for another try; the destructor
  // removes it when there is none.
  if (int fault = faultBefore(WriteStage::Rename, target_)) return WriteResult(fault);
  if (fd_ >= 0) {
    if (::fsync(fd_) != 0) return fail(errno);
    if (::close(std::exchange(fd_, -1)) != 0) return fail(errno);
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) return WriteResult(errno);
  committed_ = true;
  const int dirFd = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);  // makes the rename itself durable; a failure here loses nothing already written
    ::close(dirFd);
  }
  return {};
}

WriteResult writeFileAtomically(const std::string& path, std::string_view bytes) {
  FileReplacement replacement(path);
  if (WriteResult written = replacement.write(bytes); !written) return written;
  return replacement.commit();
}

std::optional<std::string> readFileBytes(const std::string& path, std::size_t maxBytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  std::string out;
  char buffer[65536];
  while (out.size() < maxBytes) {
    std::size_t want = std::min(sizeof buffer, maxBytes - out.size());
    ssize_t n = ::read(fd, buffer, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return out;
}

WriteResult createEmptyFileIfMissing(const std::string& path) {
  // A symbolic link whose file is missing stands for that file, as it does for a replacement:
  // the file is created where the link points, and the link stays a link.
  const std::string target = finalTarget(path);
  int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    ::close(fd);
    return {};
  }
  if (errno != EEXIST) return WriteResult(errno);
  struct stat st;
  if (::stat(target.c_str(), &st) != 0) return WriteResult(errno);
  return S_ISREG(st.st_mode) ? WriteResult() : WriteResult(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
}

bool removeFile(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(path.c_str()) == 0;
}

std::string executableDir() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  std::string exe(buffer, static_cast<std::size_t>(n));
  auto slash = exe.rfind('/');
  return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

}  // namespace tovakin::platform
