// The single instance: hand-over between two real processes (the test helper runs the program's
// Main), a name left by a killed instance, and the raise of the running instance's window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <optional>
#include <utility>
#include <chrono>
#include <csignal>
#include <functional>
#include <vector>
#include <cstring>
#include <iostream>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "shell/single_instance.h"
#include "support/hang_limit.h"

namespace tovakin::gui {
namespace {

using tovakin::testing::hangLimit;
using tovakin::testing::kTimeoutScale;

// An application folder with the pipe-material workbook and the window icon the build made.
std::unique_ptr<QTemporaryDir> appFolder() {
  auto dir = std::make_unique<QTemporaryDir>();
  for (const char* folder : {"DATABASE", "IMAGE"}) QDir(dir->path()).mkpath(QString::fromUtf8(folder));
  for (const char* file : {"DATABASE/Tovakin.xlsx", "IMAGE/KANA.ico"})
    QFile::copy(QStringLiteral(TOVAKIN_APPDIR "/") + QString::fromUtf8(file), dir->filePath(QString::fromUtf8(file)));
  return dir;
}

// The helper running in `folder`; its output lines are read as they come. A test that failed
// shows what the helper wrote on standard error (its boxes' texts, Qt's warnings) and the lines
// it left unread.
class Helper {
 public:
  explicit Helper(const QString& folder, QStringList extra = {},
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    process_.setProgram(QStringLiteral(TOVAKIN_INSTANCE_HELPER));
    process_.setArguments(QStringList{folder} + extra);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.setProcessEnvironment(environment);
    process_.start();
  }
  ~Helper() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
    if (::testing::Test::HasFailure()) {
      std::cerr << "--- helper " << process_.arguments().join(QLatin1Char(' ')).toStdString() << " (exit "
                << process_.exitCode() << ")\n--- standard output left unread:\n"
                << process_.readAllStandardOutput().toStdString() << "--- standard error:\n"
                << process_.readAllStandardError().toStdString() << "---\n";
    }
  }
  // The next line on standard output, or "" when none comes in time.
  QString nextLine(int timeoutMs = 20000 * kTimeoutScale) {
    QDeadlineTimer deadline(timeoutMs);
    while (!process_.canReadLine()) {
      if (deadline.hasExpired()) return {};
      if (!process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
        if (!process_.canReadLine()) return {};
      }
    }
    return QString::fromUtf8(process_.readLine()).trimmed();
  }
  void tell(const QByteArray& line) {
    process_.write(line);
    process_.waitForBytesWritten(5000);
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

// What the user waits for on a second start: the second process from its start to its
// hand-over, and the first one's raise; bench/handover_bench.py measures it (some 20 ms on a quiet
// machine). The base of the hang limit is far above that, for a machine whose font files are not
// cached yet. The second process's own shutdown comes after and is not waited for.
constexpr auto kQuietHandOver = std::chrono::seconds(1);

TEST(InstanceHandOver, SecondStartEndsAtOnceAndRaisesTheFirst) {
  const auto folder = appFolder();
  Helper first(folder->path());
  ASSERT_EQ(first.nextLine(), QStringLiteral("ready"));

  QElapsedTimer waited;
  waited.start();
  Helper second(folder->path());
  EXPECT_EQ(second.nextLine(), QStringLiteral("ended 0"));
  EXPECT_EQ(first.nextLine(), QStringLiteral("raised frmMain"));
  // A hang limit, not a timing: the hand-over must not wait for a time-out of its own.
  EXPECT_LT(std::chrono::milliseconds(waited.elapsed()), hangLimit(kQuietHandOver));

  ASSERT_TRUE(second.finished(60000 * kTimeoutScale));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  ASSERT_TRUE(first.finished(60000 * kTimeoutScale));
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

// A start made while an instance closes is never handed to it: it waits until that instance has
// written its settings for the last time, reads what it wrote, and shows its own window. The
// closing helper is closed as 終了 closes it and held inside its close, after the close is decided
// and before the window's last writes, until the next start has found it and waits.
TEST(InstanceHandOver, AStartDuringTheCloseWaitsForItAndThenStarts) {
  const auto folder = appFolder();
  const QString last = folder->filePath(QStringLiteral("last.PIPEDATA"));
  Helper closing(folder->path(), {QStringLiteral("--hold-close"), QStringLiteral("--last-write"), last});
  ASSERT_EQ(closing.nextLine(), QStringLiteral("ready"));
  Helper raiser(folder->path());
  EXPECT_EQ(raiser.nextLine(), QStringLiteral("ended 0"));
  EXPECT_EQ(closing.nextLine(), QStringLiteral("raised frmMain"));
  ASSERT_EQ(closing.nextLine(), QStringLiteral("closing"));
  Helper next(folder->path(), {QStringLiteral("--say-recent"), QStringLiteral("--say-waiting")});
  ASSERT_EQ(next.nextLine(), QStringLiteral("waiting"));
  closing.tell("go on\n");
  EXPECT_EQ(next.nextLine(), QStringLiteral("recent ") + last);
  EXPECT_EQ(next.nextLine(), QStringLiteral("ready"));
  EXPECT_TRUE(closing.finished(60000 * kTimeoutScale));
  EXPECT_EQ(closing.exitCode(), 0);
}

// Another local account: a child process that takes uid `user` and listens on `socketPath` (its
// folder made open to everyone), and on the abstract name `abstractName` when one is given. Ends
// with the object.
class ForeignListener {
 public:
  ForeignListener(uid_t user, const std::string& socketPath, const std::string& abstractName = {}) {
    // Everything the child needs is made before the fork: the child of a process with threads
    // may only make system calls.
    const std::string folder = socketPath.substr(0, socketPath.rfind('/'));
    const auto addressOf = [](const std::string& name, bool abstract, socklen_t& size) {
      sockaddr_un address{};
      address.sun_family = AF_UNIX;
      std::memcpy(address.sun_path + (abstract ? 1 : 0), name.data(), name.size());
      size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size() + (abstract ? 1 : 0));
      return address;
    };
    socklen_t pathSize = 0;
    socklen_t abstractSize = 0;
    const sockaddr_un path = addressOf(socketPath, false, pathSize);
    const sockaddr_un abstractAddress = addressOf(abstractName, true, abstractSize);
    const bool withAbstract = !abstractName.empty();
    int ready[2];
    if (::pipe(ready) != 0) return;
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      if (::setgid(user) != 0 || ::setuid(user) != 0) ::_exit(2);
      ::mkdir(folder.c_str(), 0777);
      ::chmod(folder.c_str(), 0777);
      const auto listenOn = [](const sockaddr_un& address, socklen_t size) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        return fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0 && ::listen(fd, 8) == 0;
      };
      if (!listenOn(path, pathSize)) ::_exit(3);
      if (withAbstract && !listenOn(abstractAddress, abstractSize)) ::_exit(4);
      const char ok = 1;
      if (::write(ready[1], &ok, 1) != 1) ::_exit(5);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char ok = 0;
    listening_ = pid_ > 0 && ::read(ready[0], &ok, 1) == 1 && ok == 1;
    ::close(ready[0]);
  }
  ~ForeignListener() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool listening() const { return listening_; }

 private:
  pid_t pid_ = -1;
  bool listening_ = false;
};

constexpr uid_t kNobody = 65534;

// Binds the abstract `name` without listening on it, as a stranger may hold it, until the result
// goes (a descriptor of -1 when the name could not be had).
std::shared_ptr<const int> bindWithoutListening(const QString& name) {
  const QByteArray bytes = name.toUtf8();
  sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
  std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<size_t>(bytes.size()));
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address),
             static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size())) != 0) {
    ::close(fd);
    fd = -1;
  }
  return {new int(fd), [](const int* held) { if (*held >= 0) ::close(*held); delete held; }};
}

bool canActAsAnotherAccount() { return ::geteuid() == 0; }

// Attacks of another account: it takes the instance's name and, in the cache folder given for
// that case, the folder "tovakin-run" (a socket of the instance's name in it). The program starts
// all the same, guarded in a folder of the user's own: a second start still finds it.
TEST(InstanceHandOver, ANameAndAFolderTakenByAnotherAccountDoNotStopTheGuard) {
  if (!canActAsAnotherAccount()) GTEST_SKIP() << "acting as another account needs root";
  const auto folder = appFolder();
  QTemporaryDir cache;
  const QString name = instanceName(static_cast<unsigned>(::geteuid()), folder->path());
  const QString taken = cache.filePath(QStringLiteral("tovakin-run"));
  ASSERT_EQ(::chmod(QFile::encodeName(cache.path()).constData(), 0755), 0);
  ASSERT_EQ(::mkdir(QFile::encodeName(taken).constData(), 0700), 0);
  ASSERT_EQ(::chown(QFile::encodeName(taken).constData(), kNobody, kNobody), 0);
  ForeignListener squatter(kNobody, (taken + QLatin1Char('/') + name).toStdString(), name.toStdString());
  ASSERT_TRUE(squatter.listening());

  const QStringList options{QStringLiteral("--instance-cache"), cache.path()};
  Helper first(folder->path(), options);
  ASSERT_EQ(first.nextLine(), QStringLiteral("ready"));
  Helper second(folder->path(), options);
  EXPECT_EQ(second.nextLine(), QStringLiteral("ended 0"));
  EXPECT_EQ(first.nextLine(), QStringLiteral("raised frmMain"));
  EXPECT_TRUE(QFileInfo::exists(cache.filePath(QStringLiteral("tovakin-run-1/") + name + QStringLiteral(".lock"))));
}

TEST(InstanceName, CarriesTheUserAndTheFolder) {
  const QString name = instanceName(1234, QStringLiteral("/opt/Tovakin/"));
  EXPECT_TRUE(name.startsWith(QStringLiteral("tovakin-1234-")));
  EXPECT_EQ(name, instanceName(1234, QStringLiteral("/opt/Tovakin")));
  EXPECT_NE(name, instanceName(1235, QStringLiteral("/opt/Tovakin")));
  EXPECT_NE(name, instanceName(1234, QStringLiteral("/opt/Other")));
}

// The claim and the hand-over inside one process, with the hook observed directly; each test
// has a name of its own.
class InProcessClaim : public ::testing::Test {
 protected:
  void TearDown() override { setInstanceRaiseHook({}); }
  QTemporaryDir folder;  // private to the user
  QString name = instanceName(folder.path());
};

bool handOver(const QString& name) { return tovakin::gui::handOver({name, {}}) == HandOverAnswer::Taken; }

bool waitFor(const std::function<bool()>& done) {
  QDeadlineTimer deadline(5000 * kTimeoutScale);
  while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// Runs `start` (a later start: a claim or a hand-over, which wait for answers) on a thread of its
// own while this thread takes events as a running instance does, until `start` has ended.
void runBeside(const std::function<void()>& start) {
  std::unique_ptr<QThread> thread(QThread::create(start));
  thread->start();
  waitFor([&] { return thread->isFinished(); });
  thread->wait();
}

TEST_F(InProcessClaim, TheSecondClaimHandsOverOnceTheHookHasRun) {
  int raised = 0;
  setInstanceRaiseHook([&] { ++raised; });
  InstanceClaim first(name);
  ASSERT_EQ(first.claim(), InstanceClaim::Outcome::First);
  EXPECT_TRUE(first.listening());
  std::optional<InstanceClaim::Outcome> outcome;
  runBeside([&] { outcome = InstanceClaim(name).claim(); });
  EXPECT_EQ(outcome, InstanceClaim::Outcome::HandedOver);
  EXPECT_EQ(raised, 1);
}

// A start made while the first instance is still starting is taken at once; the window comes to
// the front once the main window sets its hook.
TEST_F(InProcessClaim, AStartDuringStartUpRaisesOnceTheHookIsSet) {
  InstanceClaim first(name);
  ASSERT_EQ(first.claim(), InstanceClaim::Outcome::First);
  bool handed = false;
  runBeside([&] { handed = handOver(name); });
  EXPECT_TRUE(handed);
  int raised = 0;
  setInstanceRaiseHook([&] { ++raised; });
  EXPECT_EQ(raised, 1);
}

// A start made while the main window asks whether it may close raises the question, and waits for
// the answer: taken when the window stays, not when it goes (it stops listening first).
TEST_F(InProcessClaim, AStartDuringTheCloseQuestionsWaitsForTheirOutcome) {
  for (const bool stays : {true, false}) {
    SCOPED_TRACE(stays ? "the window stays" : "the window goes");
    InstanceClaim first(name);
    ASSERT_EQ(first.claim(), InstanceClaim::Outcome::First);
    auto held = std::make_optional<HandOverAnswersHeld>();
    int raised = 0;
    setInstanceRaiseHook([&] {
      ++raised;
      // The user answers some time after the raise.
      QTimer::singleShot(50, [&] {
        if (!stays) first.stopListening();
        held.reset();
      });
    });
    bool handed = !stays;
    runBeside([&] { handed = handOver(name); });
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(handed, stays);
  }
}

// A clock the test moves by hand, an hour at a time (the claims read it from their own thread).
InstanceClaim::Clock handClock(const std::atomic<int>& hours) {
  return [&hours] { return std::chrono::steady_clock::time_point(std::chrono::hours(hours.load())); };
}

// The user takes far longer than the patience over the close question: a start waiting behind it
// is taken when the window stays, and, when it goes, holds the name before it goes on.
TEST_F(InProcessClaim, AStartWaitingBehindTheQuestionPastThePatienceNeverGoesOnUnguarded) {
  for (const bool stays : {true, false}) {
    SCOPED_TRACE(stays ? "the window stays" : "the window goes");
    auto first = std::make_optional<InstanceClaim>(name);
    ASSERT_EQ(first->claim(), InstanceClaim::Outcome::First);
    auto held = std::make_optional<HandOverAnswersHeld>();
    std::atomic<int> hours{0};
    setInstanceRaiseHook([&] {
      ++hours;
      QTimer::singleShot(0, [&] {
        if (!stays) first.reset();  // the window went and this instance ended
        held.reset();
      });
    });
    std::optional<InstanceClaim::Outcome> outcome;
    bool holds = false;
    runBeside([&] {
      InstanceClaim later(name, {}, {}, handClock(hours));
      outcome = later.claim();
      holds = later.holdsLock();
    });
    EXPECT_EQ(outcome, stays ? InstanceClaim::Outcome::HandedOver : InstanceClaim::Outcome::First);
    EXPECT_EQ(holds, !stays);
  }
}

// A name held by someone who does not listen is a stranger's: the lock and the socket go to the
// private folder, however long its path (the socket is reached through the folder's descriptor,
// never by a path past the limit); without one, the claim says why there is no guard.
TEST_F(InProcessClaim, ANameHeldByAStrangerMovesTheClaimToThePrivateFolderEvenALongOne) {
  const auto stranger = bindWithoutListening(name);
  ASSERT_GE(*stranger, 0);
  InstanceClaim nowhere(name, [] { return QString(); });
  EXPECT_EQ(nowhere.claim(), InstanceClaim::Outcome::Unguarded);
  EXPECT_EQ(nowhere.unguardedReason(), UnguardedReason::NameOfAnotherAccount);
  const QString deep = folder.filePath(QString(60, QLatin1Char('d')) + QLatin1Char('/') + QString(60, QLatin1Char('e')));
  ASSERT_TRUE(QDir().mkpath(deep));
  const auto place = [deep] { return privateRuntimeFolder(static_cast<unsigned>(::geteuid()), {}, {deep}); };
  InstanceClaim first(name, place);
  ASSERT_EQ(first.claim(), InstanceClaim::Outcome::First);
  EXPECT_EQ(first.address().folder, deep + QStringLiteral("/tovakin-run"));
  ASSERT_GT(QFile::encodeName(first.address().folder + QLatin1Char('/') + name).size(),
            qsizetype(sizeof(sockaddr_un::sun_path)));
  std::optional<InstanceClaim::Outcome> outcome;
  runBeside([&] { outcome = InstanceClaim(name, place).claim(); });
  EXPECT_EQ(outcome, InstanceClaim::Outcome::HandedOver);
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
  bool handed = false;
  runBeside([&] { handed = handOver(name); });
  EXPECT_TRUE(handed);  // the instance runs: the start is its
}

// Only the answer of an instance that has come to the front hands a start over: a listener that
// takes the message and says nothing (busy), or hangs up (closing), has not taken it.
TEST_F(InProcessClaim, OnlyTheRaisedAnswerHandsOver) {
  const std::vector<std::pair<QByteArray, bool>> cases = {{"raised\n", true}, {"", false}, {"hang up", false}};
  for (const auto& [answer, handed] : cases) {
    SCOPED_TRACE(answer.toStdString());
    QLocalServer server;
    server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    ASSERT_TRUE(server.listen(name));
    QByteArray asked;
    QObject::connect(&server, &QLocalServer::newConnection, [&] {
      QLocalSocket* socket = server.nextPendingConnection();
      QObject::connect(socket, &QLocalSocket::readyRead, [&, socket] {
        asked += socket->readAll();
        if (answer == "hang up") socket->disconnectFromServer();
        else socket->write(answer);
      });
    });
    bool got = !handed;
    runBeside([&] { got = handOver(name); });
    EXPECT_EQ(asked, QByteArray("raise\n"));
    EXPECT_EQ(got, handed);
  }
}

// The other end of a hand-over must be the user's own: a listener of another account is not told
// to come to the front (nor handed the start), and another account cannot raise this instance.
TEST_F(InProcessClaim, AnotherAccountsListenerIsNotHandedAStart) {
  if (!canActAsAnotherAccount()) GTEST_SKIP() << "acting as another account needs root";
  ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::Permissions(0x7777)));
  const QString foreign = folder.filePath(QStringLiteral("open/") + name);
  ForeignListener listener(kNobody, foreign.toStdString(), name.toStdString());
  ASSERT_TRUE(listener.listening());
  EXPECT_EQ(tovakin::gui::handOver({name, {}}), HandOverAnswer::AnotherAccount);
  EXPECT_EQ(tovakin::gui::handOver({name, folder.filePath(QStringLiteral("open"))}), HandOverAnswer::AnotherAccount);
}

TEST_F(InProcessClaim, AnotherAccountCannotRaiseThisInstance) {
  if (!canActAsAnotherAccount()) GTEST_SKIP() << "acting as another account needs root";
  int raised = 0;
  setInstanceRaiseHook([&] { ++raised; });
  InstanceClaim first(name);
  ASSERT_EQ(first.claim(), InstanceClaim::Outcome::First);
  // The abstract name is open to everyone: only the check of the caller's account stands in the way.
  const std::string abstractName = name.toStdString();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path + 1, abstractName.data(), abstractName.size());
  const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstractName.size());
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(2);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), size) != 0) ::_exit(3);
    const char message[] = "raise\n";
    ::_exit(::write(fd, message, sizeof message - 1) == sizeof message - 1 ? 0 : 4);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other account could not even connect";
  QDeadlineTimer settle(300);
  while (!settle.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(raised, 0);
  bool handed = false;
  runBeside([&] { handed = handOver(name); });  // the user's own start still does
  EXPECT_TRUE(handed);
  EXPECT_EQ(raised, 1);
}

// Where the lock and the socket live: a folder nobody but the user may enter, which no other
// account can make or block: the runtime folder, else one in the user's own cache folders.
TEST(PrivateRuntimeFolder, OnlyAFolderOfTheUsersOwnIsTaken) {
  const auto user = static_cast<unsigned>(::geteuid());
  const auto mode = [](const QString& path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
  };
  const auto chmodOf = [](const QString& path, mode_t m) { ::chmod(QFile::encodeName(path).constData(), m); };
  struct Case {
    const char* what;
    // Prepares the runtime folder "run" and the cache folders "cache" and "home/.cache" (the
    // latter not made yet) in the test's folder; may change the runtime folder's name, and put a
    // cache folder of its own first.
    std::function<void(const QString& dir, QString& runtime, QStringList& own)> prepare;
    const char* expected;  // relative to the test's folder; "" none
  };
  const std::vector<Case> cases = {
      {"the runtime folder", [](const QString&, QString&, QStringList&) {}, "run"},
      {"a relative runtime folder",
       [](const QString&, QString& runtime, QStringList&) { runtime = QStringLiteral("run"); }, "cache/tovakin-run"},
      {"a runtime folder open to others", [&](const QString&, QString& runtime, QStringList&) { chmodOf(runtime, 0755); },
       "cache/tovakin-run"},
      {"a folder of the name open to others",
       [&](const QString& dir, QString& runtime, QStringList&) {
         runtime.clear();
         QDir(dir).mkpath(QStringLiteral("cache/tovakin-run"));
         chmodOf(dir + QStringLiteral("/cache/tovakin-run"), 0777);
       },
       "cache/tovakin-run-1"},
      {"a link of the name",
       [&](const QString& dir, QString& runtime, QStringList&) {
         runtime.clear();
         QDir(dir).mkdir(QStringLiteral("elsewhere"));
         chmodOf(dir + QStringLiteral("/elsewhere"), 0700);
         QFile::link(dir + QStringLiteral("/elsewhere"), dir + QStringLiteral("/cache/tovakin-run"));
       },
       "cache/tovakin-run-1"},
      {"a cache folder others may write to, then the home's, made",
       [&](const QString& dir, QString& runtime, QStringList&) {
         runtime.clear();
         chmodOf(dir + QStringLiteral("/cache"), 0777);
       },
       "home/.cache/tovakin-run"},
      {"a cache folder writable by the user's own group only",
       [&](const QString& dir, QString& runtime, QStringList&) {
         runtime.clear();
         chmodOf(dir + QStringLiteral("/cache"), 0770);
       },
       "cache/tovakin-run"},
      {"a cache folder of a path longer than a socket's",
       [&](const QString& dir, QString& runtime, QStringList& own) {
         runtime.clear();
         own.prepend(dir + QLatin1Char('/') + QString(120, QLatin1Char('c')));
       },
       "cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc/tovakin-run"},
      {"no folder to be had",
       [&](const QString& dir, QString& runtime, QStringList&) {
         runtime.clear();
         chmodOf(dir + QStringLiteral("/cache"), 0777);
         QFile file(dir + QStringLiteral("/home/.cache"));
         file.open(QIODevice::WriteOnly);
       },
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir dir;
    QString runtime = dir.filePath(QStringLiteral("run"));
    for (const char* made : {"run", "cache", "home"}) {
      QDir(dir.path()).mkdir(QString::fromLatin1(made));
      chmodOf(dir.filePath(QString::fromLatin1(made)), 0700);
    }
    QStringList own{QStringLiteral("relative/cache"), dir.filePath(QStringLiteral("cache")),
                    dir.filePath(QStringLiteral("home/.cache"))};
    c.prepare(dir.path(), runtime, own);
    const QString got = privateRuntimeFolder(user, runtime, own, static_cast<unsigned>(::getegid()));
    if (*c.expected == 0) {
      EXPECT_EQ(got, QString());
      continue;
    }
    EXPECT_EQ(got, dir.filePath(QString::fromLatin1(c.expected)));
    EXPECT_TRUE(QDir::isAbsolutePath(got));
    EXPECT_EQ(mode(got), 0700);
  }
  EXPECT_FALSE(QDir(QStringLiteral("relative")).exists());
}

// Another account cannot make a folder in the user's cache folder; a runtime folder or a folder
// of the name that is another account's is passed over all the same.
TEST(PrivateRuntimeFolder, AFolderOfAnotherAccountIsPassedOver) {
  if (!canActAsAnotherAccount()) GTEST_SKIP() << "acting as another account needs root";
  const auto user = static_cast<unsigned>(::geteuid());
  QTemporaryDir dir;
  const auto ownedByNobody = [&](const QString& name) {
    const QString path = dir.filePath(name);
    QDir(dir.path()).mkdir(name);
    ::chmod(QFile::encodeName(path).constData(), 0700);
    return ::chown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0;
  };
  ASSERT_TRUE(ownedByNobody(QStringLiteral("run")));
  ASSERT_TRUE(ownedByNobody(QStringLiteral("othercache")));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("cache")));
  ASSERT_TRUE(ownedByNobody(QStringLiteral("cache/tovakin-run")));
  EXPECT_EQ(privateRuntimeFolder(user, dir.filePath(QStringLiteral("run")),
                                 {dir.filePath(QStringLiteral("othercache")), dir.filePath(QStringLiteral("cache"))}),
            dir.filePath(QStringLiteral("cache/tovakin-run-1")));
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
