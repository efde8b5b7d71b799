#include "shell/single_instance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <optional>
#include <vector>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tovakin::gui {
namespace {

constexpr char kRaiseMessage[] = "raise\n";
// The answer of an instance that has come to the front (or, still starting, will as its main
// window shows).
constexpr char kRaisedMessage[] = "raised\n";
// The answer of an instance asking whether it may close: "raised" follows should it stay; should
// it go, it hangs up.
constexpr char kClosingMessage[] = "closing\n";
constexpr int kConnectWaitMs = 2000;
// How long a start waits for the holder's answer before it waits for the lock instead: an
// instance in its event loop answers at once.
constexpr int kAnswerWaitMs = 1000;
// How long a start waits for a lock holder that does not take it: one still starting (between its
// lock and its window), busy, or closing (writing its settings before it lets go).
constexpr int kClaimPatienceMs = 10000;
constexpr int kMaxFolderCandidates = 10;

RaiseHook& hookSlot() {
  static RaiseHook hook;
  return hook;
}
bool& pendingRaise() {
  static bool pending = false;
  return pending;
}
// The starts whose answer waits for the main window's close to be decided; null while answers
// are not held.
std::optional<std::vector<QPointer<QLocalSocket>>>& heldAnswers() {
  static std::optional<std::vector<QPointer<QLocalSocket>>> held;
  return held;
}

void answer(const QPointer<QLocalSocket>& to, const char* message) {
  if (!to || to->state() != QLocalSocket::ConnectedState) return;
  to->write(message);
  to->flush();
}

void runHook() {
  // Called from a socket notification: nothing may leave it as an exception.
  try {
    hookSlot()();
  } catch (...) {
  }
}

void requestRaise(const QPointer<QLocalSocket>& from) {
  if (hookSlot()) {
    runHook();
  } else {
    pendingRaise() = true;  // start-up is still running: the main window will come to the front when it sets its hook
  }
  if (heldAnswers()) {
    answer(from, kClosingMessage);
    heldAnswers()->push_back(from);
    return;
  }
  // The start is taken: the window has come to the front, or will as it is shown.
  answer(from, kRaisedMessage);
}

// A real folder (no link) of `userId` that nobody else may read, write or enter.
bool isPrivateFolderOf(const QString& path, unsigned userId) {
  struct stat st {};
  if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == userId && (st.st_mode & 077) == 0;
}

// A folder of `userId` (a link to one is taken) in which nobody else may make or remove anything.
bool isUnsharedFolderOf(const QString& path, unsigned userId) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == userId && (st.st_mode & 022) == 0;
}

}  // namespace

QString instanceName(unsigned userId, const QString& appFolder) {
  const QString folder = QDir::cleanPath(QDir(appFolder).absolutePath());
  const QByteArray digest = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  return QStringLiteral("tovakin-%1-%2").arg(userId).arg(QString::fromLatin1(digest));
}

QString instanceName(const QString& appFolder) { return instanceName(static_cast<unsigned>(::geteuid()), appFolder); }

QString privateRuntimeFolder(unsigned userId, const QString& runtimeFolder, const QStringList& ownFolders) {
  // A relative runtime folder is not one (it would name a folder under the working folder).
  if (QDir::isAbsolutePath(runtimeFolder) && isPrivateFolderOf(runtimeFolder, userId))
    return QDir::cleanPath(runtimeFolder);
  for (const QString& own : ownFolders) {
    if (!QDir::isAbsolutePath(own)) continue;
    const QString base = QDir::cleanPath(own);
    ::mkdir(QFile::encodeName(base).constData(), 0700);
    if (!isUnsharedFolderOf(base, userId)) continue;
    for (int i = 0; i < kMaxFolderCandidates; ++i) {
      QString candidate = base + QStringLiteral("/tovakin-run");
      if (i > 0) candidate += QStringLiteral("-%1").arg(i);
      // Made private from the start; one that exists already is taken only when it is ours alone.
      ::mkdir(QFile::encodeName(candidate).constData(), 0700);
      if (isPrivateFolderOf(candidate, userId)) return candidate;
    }
  }
  return {};
}

QString instancePath(const QString& appFolder) {
  const auto user = static_cast<unsigned>(::geteuid());
  QStringList own;
  if (const QString cache = qEnvironmentVariable("XDG_CACHE_HOME"); !cache.isEmpty()) own << cache;
  if (const QString home = qEnvironmentVariable("HOME"); !home.isEmpty()) own << home + QStringLiteral("/.cache");
  const QString folder = privateRuntimeFolder(user, qEnvironmentVariable("XDG_RUNTIME_DIR"), own);
  if (folder.isEmpty()) return {};
  return folder + QLatin1Char('/') + instanceName(user, appFolder);
}

void setInstanceRaiseHook(RaiseHook hook) {
  hookSlot() = std::move(hook);
  if (hookSlot() && pendingRaise()) {
    pendingRaise() = false;
    runHook();
  }
}

const RaiseHook& instanceRaiseHook() { return hookSlot(); }

namespace {
int& holdDepth() {
  static int depth = 0;
  return depth;
}
}  // namespace

HandOverAnswersHeld::HandOverAnswersHeld() {
  if (holdDepth()++ == 0) heldAnswers().emplace();
}

HandOverAnswersHeld::~HandOverAnswersHeld() {
  if (--holdDepth() > 0) return;
  const auto waiting = std::move(*heldAnswers());
  heldAnswers().reset();
  for (const QPointer<QLocalSocket>& socket : waiting) answer(socket, kRaisedMessage);
}

void raiseRunningInstanceWindow(QWidget* mainWindow) {
  QWidget* target = QApplication::activeModalWidget();
  if (!target) target = mainWindow;
  if (!target) return;
  if (target->isMinimized()) {
    // Dropping only the minimized flag gives back the state before it: maximized stays maximized.
    target->setWindowState((target->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  }
  target->show();
  target->raise();
  target->activateWindow();
}

bool peerIsThisUser(qintptr descriptor) {
  ucred peer{};
  socklen_t size = sizeof peer;
  if (descriptor < 0 || ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
    return false;
  return size == sizeof peer && peer.uid == ::geteuid();
}

InstanceClaim::InstanceClaim(QString socketPath, std::function<void()> waiting)
    : socketPath_(std::move(socketPath)), waiting_(std::move(waiting)) {}

InstanceClaim::~InstanceClaim() {
  stopListening();
  releaseLock();
}

bool InstanceClaim::listening() const { return server_ && server_->isListening(); }

void InstanceClaim::stopListening() {
  if (!server_) return;
  // Removes the socket file (later starts wait for the lock) and, with the server, the connections
  // of starts still waiting for an answer: they see the connection end unanswered.
  server_->close();
  server_.reset();
}

void InstanceClaim::releaseLock() {
  if (lockFd_ >= 0) ::close(lockFd_);  // the kernel drops the lock with the descriptor
  lockFd_ = -1;
  locked_ = false;
}

InstanceClaim::Outcome InstanceClaim::claim() {
  // Without a private folder there is no guard to be had: start rather than not at all. The path
  // is always absolute (a relative one would be put under the temporary folder).
  if (!QDir::isAbsolutePath(socketPath_)) return Outcome::First;
  lockFd_ = ::open(QFile::encodeName(socketPath_ + QStringLiteral(".lock")).constData(),
                   O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd_ < 0) return Outcome::First;
  const QDeadlineTimer patience(kClaimPatienceMs);
  for (int attempt = 1;; ++attempt) {
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
      locked_ = true;
      // The lock is ours, so a socket file left there is a dead instance's.
      QLocalServer::removeServer(socketPath_);
      auto server = std::make_unique<QLocalServer>();
      server->setSocketOptions(QLocalServer::UserAccessOption);
      if (!server->listen(socketPath_)) {
        // Nobody could reach this instance: let the next start try for itself.
        releaseLock();
        return Outcome::First;
      }
      server_ = std::move(server);
      connect(server_.get(), &QLocalServer::newConnection, this, &InstanceClaim::onConnection);
      return Outcome::First;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) break;
    if (handOver(socketPath_)) {
      releaseLock();
      return Outcome::HandedOver;
    }
    // The holder is between its lock and its window, busy, or closing: ask again shortly, and go
    // on as soon as it lets go.
    if (attempt == 1 && waiting_) waiting_();
    if (patience.hasExpired()) break;
    QThread::msleep(static_cast<unsigned long>(std::min(5 * attempt, 100)));
  }
  // A holder that neither answers nor lets go: start without the guard rather than not at all.
  releaseLock();
  return Outcome::First;
}

void InstanceClaim::onConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // Only the user's own processes may raise this instance's windows.
    if (!peerIsThisUser(socket->socketDescriptor())) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    QPointer<QLocalSocket> guarded(socket);
    const auto readMessage = [guarded] {
      if (!guarded) return;
      bool raise = false;
      while (guarded->canReadLine()) raise = raise || guarded->readLine() == kRaiseMessage;
      if (raise) requestRaise(guarded);
    };
    connect(socket, &QLocalSocket::readyRead, this, readMessage);
    readMessage();
  }
}

bool handOver(const QString& socketPath) {
  if (!QDir::isAbsolutePath(socketPath)) return false;
  QLocalSocket socket;
  socket.setServerName(socketPath);
  socket.connectToServer(QIODevice::ReadWrite);
  if (!socket.waitForConnected(kConnectWaitMs)) return false;
  // A start is handed only to the user's own instance, never to another account's listener.
  if (!peerIsThisUser(socket.socketDescriptor())) {
    socket.abort();
    return false;
  }
  socket.write(kRaiseMessage);
  // Handed over only once the holder says it has come to the front: one that reads the message
  // and then goes (its close decided meanwhile) would otherwise take the start with it.
  const auto nextLine = [&socket](QDeadlineTimer until) {
    while (!socket.canReadLine()) {
      if (until.hasExpired() || !socket.waitForReadyRead(static_cast<int>(until.remainingTime()))) return QByteArray();
    }
    return socket.readLine();
  };
  QByteArray said = nextLine(QDeadlineTimer(kAnswerWaitMs));
  // Its question is in front of the user, who decides whether it stays (and this start is taken)
  // or goes (it hangs up, and this start waits for its last writes).
  if (said == kClosingMessage) said = nextLine(QDeadlineTimer(QDeadlineTimer::Forever));
  socket.abort();
  return said == kRaisedMessage;
}

}  // namespace tovakin::gui
