#include "ui/abort_boundary.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <vector>

#include "calc/pipe_lookups.h"

namespace tovakin::gui {
namespace {

enum class Phase {
  Running,    // no abort
  Unwinding,  // 中止 chosen: the modal loops are being closed
  Closing,    // the main window is closing the normal way
};

struct AbortState {
  Phase phase = Phase::Running;
  bool ended = false;
  bool abortedWhileClosing = false;
  bool finishQueued = false;
  std::vector<QPointer<QDialog>> modalLoops;  // innermost last
  MainWindowCloser* closer = nullptr;
};

AbortState& state() {
  static AbortState s;
  return s;
}

void closeModalLoops() {
  // Innermost first: an outer loop returns only after the loops it holds have.
  auto loops = state().modalLoops;
  for (auto it = loops.rbegin(); it != loops.rend(); ++it)
    if (*it) (*it)->done(QDialog::Rejected);
}

void endRun() {
  state().ended = true;
  QCoreApplication::exit(kAbortedStatus);
}

void finish();

void queueFinish(int delayMs) {
  if (state().finishQueued || !QCoreApplication::instance()) return;
  state().finishQueued = true;
  QTimer::singleShot(delayMs, QCoreApplication::instance(), [] { finish(); });
}

// Runs from the event loop, after the handler that caught the abort has returned.
void finish() {
  AbortState& s = state();
  s.finishQueued = false;
  if (s.phase != Phase::Unwinding) return;
  if (!s.modalLoops.empty()) {
    // Still inside a modal loop: close what is open and look again shortly.
    closeModalLoops();
    queueFinish(10);
    return;
  }
  if (!s.closer || !*s.closer) {
    endRun();
    return;
  }
  s.phase = Phase::Closing;
  s.abortedWhileClosing = false;
  bool closed = false;
  try {
    closed = (*s.closer)();
  } catch (...) {
    closed = false;
  }
  const bool end = closed || s.abortedWhileClosing;
  s.phase = Phase::Running;
  s.abortedWhileClosing = false;
  if (end) endRun();
}

template <class Code>
bool guarded(Code&& code) noexcept {
  if (state().phase == Phase::Unwinding) return false;
  try {
    code();
    return true;
  } catch (const ProgramAborted&) {
    abortProgram();
  } catch (...) {
    // The error box has shown every std::exception already; nothing may leave an event handler.
  }
  return false;
}

}  // namespace

bool runHandler(const char* label, const std::function<void()>& handler) noexcept {
  const calc::PipeDataAction action;  // one event, one box for a failing pipe database
  bool completed = false;
  const bool ran = guarded([&] { completed = guardStep(label, handler); });
  return ran && completed;
}

bool shielded(const std::function<void()>& code) noexcept { return guarded(code); }

int execModal(QDialog& dialog) {
  if (state().phase == Phase::Unwinding) return QDialog::Rejected;
  state().modalLoops.emplace_back(&dialog);
  struct Pop {
    ~Pop() { state().modalLoops.pop_back(); }
  } pop;
  return dialog.exec();
}

void abortProgram() {
  AbortState& s = state();
  if (s.phase == Phase::Closing) {
    // 中止 again while the documents are being asked about: the program ends when they are done.
    s.abortedWhileClosing = true;
    return;
  }
  s.phase = Phase::Unwinding;
  closeModalLoops();
  if (!s.closer || !*s.closer) {
    // No main window yet (start-up): nothing to ask about.
    endRun();
    return;
  }
  queueFinish(0);
}

bool abortPending() { return state().phase != Phase::Running; }

bool endedByAbort() { return state().ended; }

AbortCloserInstalled::AbortCloserInstalled(MainWindowCloser closer)
    : closer_(std::move(closer)), previous_(state().closer) {
  state().closer = &closer_;
}

AbortCloserInstalled::~AbortCloserInstalled() { state().closer = previous_; }

void resetAbortState() {
  AbortState& s = state();
  s.phase = Phase::Running;
  s.ended = false;
  s.abortedWhileClosing = false;
  // The ended run's exit() makes every event loop (a dialog's too) return at once until the
  // application's own loop has run again: one pass of it, quit at once, forgets that as well.
  if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() == 0) {
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
  }
}

}  // namespace tovakin::gui
