#pragma once
// Runs a piece of a test in a child process, where it may meet faults the test process must not:
// a file-size limit standing in for a full disk. What the piece returns comes back as text.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

namespace tovakin::testing {

// Runs `body` in a child process whose files may not grow past `fileSizeLimit` bytes: a write
// beyond it fails with EFBIG (SIGXFSZ is ignored), as writes fail on a full disk. Returns what
// the body returned; nullopt when the child did not end normally.
inline std::optional<std::string> inChildWithFileSizeLimit(rlim_t fileSizeLimit,
                                                           const std::function<std::string()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{fileSizeLimit, fileSizeLimit};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
    const std::string out = body();
    for (std::size_t done = 0; done < out.size();) {  // a pipe has no size limit
      const ssize_t n = ::write(fds[1], out.data() + done, out.size() - done);
      if (n <= 0) ::_exit(3);
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);  // no destructors, no exit handlers: they belong to the test process
  }
  ::close(fds[1]);
  std::string out;
  char buffer[4096];
  for (ssize_t n; pid > 0 && (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
    out.append(buffer, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return std::nullopt;
  return out;
}

}  // namespace tovakin::testing
