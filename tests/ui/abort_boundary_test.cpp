#include "ui/abort_boundary.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/scripted_error_box.h"

namespace tovakin::gui {
namespace {

using testing::ScriptedErrorBox;

// Runs the event loop until the boundary has finished with an abort (or a second has passed).
void settle() {
  for (int i = 0; i < 100 && abortPending(); ++i) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  QApplication::processEvents();
}

class AbortBoundary : public ::testing::Test {
 protected:
  void TearDown() override { resetAbortState(); }
  int closings = 0;
  bool closes = true;
  AbortCloserInstalled closer{[this] {
    ++closings;
    return closes;
  }};
};

TEST_F(AbortBoundary, ErrorsStayInsideAHandlerAndOnlyAbortEndsTheProgram) {
  ScriptedErrorBox errors;
  errors.answer(ErrorAnswer::Retry);
  errors.answer(ErrorAnswer::Ignore);
  int runs = 0;
  EXPECT_FALSE(runHandler("cmdTest_Click", [&] {
    ++runs;
    raiseError(err::kOverflow);
  }));
  EXPECT_EQ(runs, 2);  // Retry ran the step once more
  EXPECT_FALSE(shielded([] { throw std::runtime_error("already reported"); }));
  EXPECT_TRUE(shielded([] {}));
  settle();
  EXPECT_EQ(closings, 0);
  EXPECT_FALSE(endedByAbort());
}

TEST_F(AbortBoundary, AbortInsideNestedDialogsClosesThemAsCancelThenClosesTheMainWindow) {
  ScriptedErrorBox errors(ErrorAnswer::Abort);
  QDialog outer;
  QDialog inner;
  int outerResult = -1, innerResult = -1;
  int closingsSeenByInner = -1;
  bool laterHandlerRan = false;
  // The abort comes from a handler that runs inside the inner dialog's loop.
  QTimer::singleShot(0, &inner, [&] {
    runHandler("txtTextBox_KeyPress", [] { raiseError(err::kOverflow); });
    // Handlers that would still run while the dialogs close do not.
    runHandler("cmdCommand_Click", [&] { laterHandlerRan = true; });
  });
  QTimer::singleShot(0, &outer, [&] {
    innerResult = execModal(inner);
    closingsSeenByInner = closings;
    // A dialog the unwinding code would open does not open.
    QDialog late;
    EXPECT_EQ(execModal(late), QDialog::Rejected);
  });
  outerResult = execModal(outer);
  settle();
  EXPECT_EQ(innerResult, QDialog::Rejected);
  EXPECT_EQ(outerResult, QDialog::Rejected);
  EXPECT_EQ(closingsSeenByInner, 0);  // the main window closes only after every loop returned
  EXPECT_FALSE(laterHandlerRan);
  EXPECT_EQ(closings, 1);
  EXPECT_TRUE(endedByAbort());
  EXPECT_EQ(errors.shown.size(), 1u);
}

TEST_F(AbortBoundary, CancelOnTheClosingQuestionKeepsTheProgramRunning) {
  ScriptedErrorBox errors;
  errors.answer(ErrorAnswer::Abort);
  closes = false;
  runHandler("cmdTest_Click", [] { raiseError(err::kOverflow); });
  settle();
  EXPECT_EQ(closings, 1);
  EXPECT_FALSE(endedByAbort());
  EXPECT_FALSE(abortPending());
  // The program runs on: handlers and dialogs work again, and a second 中止 asks again.
  bool ran = false;
  EXPECT_TRUE(runHandler("cmdTest_Click", [&] { ran = true; }));
  EXPECT_TRUE(ran);
  closes = true;
  errors.answer(ErrorAnswer::Abort);
  runHandler("cmdTest_Click", [] { raiseError(err::kOverflow); });
  settle();
  EXPECT_EQ(closings, 2);
  EXPECT_TRUE(endedByAbort());
}

TEST_F(AbortBoundary, AbortWhileTheDocumentsAreAskedEndsTheProgramWhenTheyAreDone) {
  ScriptedErrorBox errors(ErrorAnswer::Abort);
  closes = false;
  AbortCloserInstalled failingSave([&] {
    ++closings;
    runHandler("mnuFileSave_Click", [] { raiseError(err::kDiskFull); });  // 中止 again
    return false;
  });
  runHandler("cmdTest_Click", [] { raiseError(err::kOverflow); });
  settle();
  EXPECT_EQ(closings, 1);
  EXPECT_TRUE(endedByAbort());
}

TEST(AbortBoundaryStartUp, WithoutAMainWindowTheAbortEndsTheRunAtOnce) {
  ScriptedErrorBox errors(ErrorAnswer::Abort);
  shielded([] { guardStep("Main", [] { raiseError(err::kFileNotFound); }); });
  EXPECT_TRUE(endedByAbort());
  resetAbortState();
}

TEST(ReentryGuardTest, CodeRunningFurtherUpIsNotStartedAgain) {
  ReentryGuard guard;
  int runs = 0;
  guard.run([&] {
    ++runs;
    guard.run([&] { ++runs; });
    EXPECT_TRUE(guard.running());
  });
  EXPECT_FALSE(guard.running());
  EXPECT_THROW(guard.run([] { throw std::runtime_error("x"); }), std::runtime_error);
  EXPECT_FALSE(guard.running());  // released after an exception too
  guard.run([&] { ++runs; });
  EXPECT_EQ(runs, 2);
}

}  // namespace
}  // namespace tovakin::gui
