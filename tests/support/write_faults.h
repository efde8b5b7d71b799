#pragma once
// Faults in the middle of a file replacement, through the platform's write seam: a stage that
// fails with a cause (a read-only folder refuses the temporary file), and a child process killed
// at a stage, as a killed program or a power cut ends a write.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "platform/file_system.h"

namespace tovakin::testing {
using namespace tovakin::platform;

// Fails every replacement at `stage` with the errno `error` while it exists.
class RefusedWrites final : public WriteFaults {
 public:
  RefusedWrites(WriteStage stage, int error) : stage_(stage), error_(error) {}
  RefusedWrites(const RefusedWrites&) = delete;
  RefusedWrites& operator=(const RefusedWrites&) = delete;
  int before(WriteStage stage, const std::string&) override { return stage == stage_ ? error_ : 0; }

 private:
  WriteStage stage_;
  int error_;
  Installed<WriteFaults> installed_ = installWriteFaults(*this);
};

// Runs `body` in a child process, which stops when its first replacement reaches `stage` and is
// killed there with SIGKILL. True when the child was killed at that point.
inline bool killedAt(WriteStage stage, const std::function<void()>& body) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    struct Stop final : WriteFaults {
      WriteStage at;
      int tell;
      Stop(WriteStage stage, int fd) : at(stage), tell(fd) {}
      int before(WriteStage stage, const std::string&) override {
        if (stage != at) return 0;
        const char reached = 'k';
        if (::write(tell, &reached, 1) != 1) ::_exit(3);
        for (;;) ::pause();
      }
    } stop(stage, fds[1]);
    const auto installed = installWriteFaults(stop);
    body();
    ::_exit(0);  // the stage was never reached
  }
  ::close(fds[1]);
  char reached = 0;
  const bool stopped = pid > 0 && ::read(fds[0], &reached, 1) == 1;
  ::close(fds[0]);
  if (stopped) ::kill(pid, SIGKILL);
  int status = 0;
  return pid > 0 && ::waitpid(pid, &status, 0) == pid && stopped && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace tovakin::testing
