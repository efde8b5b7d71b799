#include "app/file_in_use.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/layer.h"
#include "platform/file_system.h"

namespace tovakin::app {
namespace {

// Whether any lock of another holder covers some part of the file. The open-file-description
// query sees locks on every other open of the file (and classic locks of other processes as
// well as our own); the classic query sees the locks of other processes only. A conflict the
// first query reports for a lock of our own process is left to the second one.
bool lockedByOther(int fd) {
  struct flock fl{};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;
  fl.l_pid = 0;
  if (::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK && fl.l_pid != ::getpid()) return true;
  struct flock classic{};
  classic.l_type = F_WRLCK;
  classic.l_whence = SEEK_SET;
  classic.l_start = 0;
  classic.l_len = 0;
  return ::fcntl(fd, F_GETLK, &classic) == 0 && classic.l_type != F_UNLCK;
}

// The lock file a spreadsheet or office program keeps beside a document it has open.
bool officeLockFilePresent(const std::string& path) {
  auto slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return pathExists(folder + ".~lock." + name + "#");
}

}  // namespace

std::int16_t myFileInUse(const std::string& path) {
  // Nothing here reports an error: a test that cannot be made counts as in use, as a file that
  // cannot even be looked at cannot be written either.
  try {
    if (path.empty()) return -1;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      if (errno == ENOENT || errno == ENOTDIR) return 0;
      return 1;
    }
    if (!fileExists(path)) return 0;  // a directory or a hidden file is not found by the search
    if (officeLockFilePresent(path)) return 1;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return 1;
    bool held = lockedByOther(fd);
    ::close(fd);
    return held ? 1 : 0;
  } catch (...) {
    return 1;
  }
}

std::int16_t myFileInUseCheck(const std::string& path) { return myFileInUse(path); }

}  // namespace tovakin::app
