#pragma once
// The one place where the program's abort (中止 in an error box, thrown as ProgramAborted) stops.
//
// No exception may cross Qt code, and 中止 raised deep inside a dialog's modal loop must still
// end the whole program. So every slot, dialog button, event filter, timer callback and event
// handler of the windows runs its code through runHandler() or shielded(), and every modal loop
// through execModal(). When an abort arrives:
//   1. the program is "unwinding": every modal loop still open is closed with Cancel semantics
//      (done(Rejected)), no new one opens (execModal answers Rejected at once) and no further
//      handler runs;
//   2. once the last modal loop has returned, the installed closer closes the main window the
//      normal way, which asks about each changed document;
//   3. if the main window closed, the event loop ends with kAbortedStatus; if the user kept it
//      open (Cancel on a save question), the program runs on as before.
// Without an installed closer (during start-up, before the main window exists) the abort ends
// the run at once: endedByAbort() tells the entry point so.
//
// The boundary knows no window: the main window installs its closer.
#include <QDialog>
#include <functional>

#include "platform/error_box.h"
#include "ui/layer.h"

namespace tovakin::gui {

// The exit status of a run ended by 中止.
inline constexpr int kAbortedStatus = 1;

// Runs one event handler as one step under the error box (guardStep with `label`). Nothing
// leaves it: 中止 starts the program's end, anything that is not a std::exception is dropped.
// While the program is unwinding after an abort the handler does not run. True when the handler
// ran to its end.
bool runHandler(const char* label, const std::function<void()>& handler) noexcept;

// Runs code that shows its own error boxes (its steps are guarded inside) with the same
// protection as runHandler, but no error box of its own.
bool shielded(const std::function<void()>& code) noexcept;

// Runs a dialog's modal loop and returns its result. While the program unwinds after an abort
// the dialog does not open and the answer is QDialog::Rejected.
int execModal(QDialog& dialog);

// Starts the program's end after 中止 (what runHandler and shielded do on ProgramAborted).
void abortProgram();

// True from an abort until the main window has closed or the user kept it open.
bool abortPending();
// True once an abort has ended the run: the entry point's exit status is kAbortedStatus.
bool endedByAbort();

// Code that must not start again while it is already running further up the stack: a failing
// step's error box takes the focus, and that focus move must not re-run the step under the box.
class ReentryGuard {
 public:
  // Runs `code` unless this guard is already running code.
  template <class Code>
  void run(Code&& code) {
    if (running_) return;
    running_ = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{running_};
    code();
  }
  bool running() const { return running_; }

 private:
  bool running_ = false;
};

// The main window's closer for the end after an abort: closes it the normal way and says whether
// it closed. Installed for the lifetime of the returned guard; the previous one comes back after.
using MainWindowCloser = std::function<bool()>;
class [[nodiscard]] AbortCloserInstalled {
 public:
  explicit AbortCloserInstalled(MainWindowCloser closer);
  ~AbortCloserInstalled();
  AbortCloserInstalled(const AbortCloserInstalled&) = delete;
  AbortCloserInstalled& operator=(const AbortCloserInstalled&) = delete;

 private:
  MainWindowCloser closer_;
  MainWindowCloser* previous_;
};

// Forgets a finished abort (tests run several programs' ends in one process).
void resetAbortState();

}  // namespace tovakin::gui
