// The single instance: hand-over between two real processes (the test helper runs the program's
// Main), a name left by a killed instance, and the raise of the running instance's window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <memory>

#include "shell/single_instance.h"

namespace tovakin::gui {
namespace {

// An application folder with the pipe-material workbook and the window icon the build made.
std::unique_ptr<QTemporaryDir> appFolder() {
  auto dir = std::make_unique<QTemporaryDir>();
  for (const char* folder : {"DATABASE", "IMAGE"}) QDir(dir->path()).mkpath(QString::fromUtf8(folder));
  for (const char* file : {"DATABASE/Tovakin.xlsx", "IMAGE/KANA.ico"})
    QFile::copy(QStringLiteral(TOVAKIN_APPDIR "/") + QString::fromUtf8(file), dir->filePath(QString::fromUtf8(file)));
  return dir;
}

// The helper running in `folder`; its output lines are read as they come.
class Helper {
 public:
  explicit Helper(const QString& folder, QStringList extra = {}) {
    process_.setProgram(QStringLiteral(TOVAKIN_INSTANCE_HELPER));
    process_.setArguments(QStringList{folder} + extra);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start();
  }
  ~Helper() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
  // The next line on standard output, or "" when none comes in time.
  QString nextLine(int timeoutMs = 20000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!process_.canReadLine()) {
      if (deadline.hasExpired()) return {};
      if (!process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
        if (!process_.canReadLine()) return {};
      }
    }
    return QString::fromUtf8(process_.readLine()).trimmed();
  }
  bool finished(int timeoutMs) { return process_.waitForFinished(timeoutMs); }
  int exitCode() const { return process_.exitCode(); }
  QProcess::ExitStatus exitStatus() const { return process_.exitStatus(); }
  void kill() {
    process_.kill();
    process_.waitForFinished(5000);
  }

 private:
  QProcess process_;
};

TEST(InstanceHandOver, SecondStartEndsAtOnceAndRaisesTheFirst) {
  const auto folder = appFolder();
  Helper first(folder->path());
  ASSERT_EQ(first.nextLine(), QStringLiteral("ready"));

  QElapsedTimer took;
  took.start();
  Helper second(folder->path());
  EXPECT_EQ(second.nextLine(), QStringLiteral("ended 0"));
  ASSERT_TRUE(second.finished(10000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_LT(took.elapsed(), 5000);

  EXPECT_EQ(first.nextLine(), QStringLiteral("raised frmMain"));
  ASSERT_TRUE(first.finished(10000));
  EXPECT_EQ(first.exitCode(), 0);
}

TEST(InstanceHandOver, AnOpenModalDialogComesToTheFront) {
  const auto folder = appFolder();
  Helper first(folder->path(), {QStringLiteral("--modal")});
  ASSERT_EQ(first.nextLine(), QStringLiteral("ready"));
  Helper second(folder->path());
  EXPECT_EQ(second.nextLine(), QStringLiteral("ended 0"));
  EXPECT_EQ(first.nextLine(), QStringLiteral("raised helperDialog"));
}

TEST(InstanceHandOver, ANameLeftByAKilledInstanceDoesNotBlockTheNextStart) {
  const auto folder = appFolder();
  {
    Helper crashed(folder->path());
    ASSERT_EQ(crashed.nextLine(), QStringLiteral("ready"));
    crashed.kill();
  }
  Helper next(folder->path());
  EXPECT_EQ(next.nextLine(), QStringLiteral("ready"));
}

TEST(InstanceHandOver, AnotherFolderIsAnotherInstance) {
  const auto one = appFolder();
  const auto other = appFolder();
  Helper first(one->path());
  ASSERT_EQ(first.nextLine(), QStringLiteral("ready"));
  Helper second(other->path());
  EXPECT_EQ(second.nextLine(), QStringLiteral("ready"));
}

TEST(InstanceName, CarriesTheUserAndTheFolder) {
  const QString name = instanceName(1234, QStringLiteral("/opt/Tovakin/"));
  EXPECT_TRUE(name.startsWith(QStringLiteral("tovakin-1234-")));
  EXPECT_EQ(name, instanceName(1234, QStringLiteral("/opt/Tovakin")));
  EXPECT_NE(name, instanceName(1235, QStringLiteral("/opt/Tovakin")));
  EXPECT_NE(name, instanceName(1234, QStringLiteral("/opt/Other")));
}

// The claim and the hand-over inside one process, with the hook observed directly.
class InProcessClaim : public ::testing::Test {
 protected:
  void TearDown() override { setInstanceRaiseHook({}); }
  QString name = instanceName(QDir::temp().filePath(QStringLiteral("tovakin-claim-%1").arg(QCoreApplication::applicationPid())));
};

bool waitFor(const std::function<bool()>& done) {
  QDeadlineTimer deadline(5000);
  while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

TEST_F(InProcessClaim, TheSecondClaimHandsOverAndTheHookRuns) {
  int raised = 0;
  setInstanceRaiseHook([&] { ++raised; });
  InstanceClaim first(name);
  ASSERT_EQ(first.claim(), InstanceClaim::Outcome::First);
  EXPECT_TRUE(first.listening());
  InstanceClaim second(name);
  EXPECT_EQ(second.claim(), InstanceClaim::Outcome::HandedOver);
  EXPECT_FALSE(second.listening());
  EXPECT_TRUE(waitFor([&] { return raised == 1; }));
}

TEST_F(InProcessClaim, AHandOverDuringStartUpRaisesOnceTheHookIsSet) {
  InstanceClaim first(name);
  ASSERT_EQ(first.claim(), InstanceClaim::Outcome::First);
  ASSERT_TRUE(handOver(name));
  QDeadlineTimer settle(300);
  while (!settle.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  int raised = 0;
  setInstanceRaiseHook([&] { ++raised; });
  EXPECT_EQ(raised, 1);
}

TEST_F(InProcessClaim, TheNameIsFreeOnceTheClaimEnds) {
  { InstanceClaim first(name); ASSERT_EQ(first.claim(), InstanceClaim::Outcome::First); }
  EXPECT_FALSE(handOver(name));
  InstanceClaim again(name);
  EXPECT_EQ(again.claim(), InstanceClaim::Outcome::First);
}

TEST_F(InProcessClaim, AThrowingHookDoesNotLeaveTheNotification) {
  setInstanceRaiseHook([] { throw std::runtime_error("window gone"); });
  InstanceClaim first(name);
  ASSERT_EQ(first.claim(), InstanceClaim::Outcome::First);
  ASSERT_TRUE(handOver(name));
  QDeadlineTimer settle(300);
  while (!settle.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  SUCCEED();
}

TEST(RaiseRunningInstanceWindow, AMinimizedWindowReturnsToItsStateBefore) {
  QMainWindow window;
  window.show();
  window.setWindowState(Qt::WindowMinimized);
  raiseRunningInstanceWindow(&window);
  EXPECT_FALSE(window.isMinimized());
  EXPECT_FALSE(window.isMaximized());
  EXPECT_TRUE(window.isVisible());
}

TEST(RaiseRunningInstanceWindow, AMaximizedWindowStaysMaximized) {
  QMainWindow window;
  window.show();
  window.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
  raiseRunningInstanceWindow(&window);
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isMaximized());
}

TEST(RaiseRunningInstanceWindow, TheOpenModalDialogComesFirst) {
  QMainWindow window;
  window.show();
  QDialog dialog(&window);
  dialog.open();
  ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
  window.setWindowState(Qt::WindowMinimized);
  raiseRunningInstanceWindow(&window);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(window.isMinimized());  // the dialog, not the main window, was raised
  dialog.reject();
}

}  // namespace
}  // namespace tovakin::gui
