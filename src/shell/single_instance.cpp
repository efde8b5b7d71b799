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
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <string>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/error_box.h"

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
// How long a start waits for the holder's answer before it asks again: an instance in its event
// loop answers at once.
constexpr int kAnswerWaitMs = 1000;
// Our own holder listens as it takes the name; a name that stays held with nobody listening on
// it, asked this many times in a row, is another account's.
constexpr int kRefusalsOfAStranger = 3;
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

// A folder of `userId` (a link to one is taken) in which nobody else may make or remove anything:
// writable by no other account, and by a group only when it is the user's own.
bool isUnsharedFolderOf(const QString& path, unsigned userId, unsigned privateGroup) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return false;
  const bool groupIsOwn = privateGroup != kNoPrivateGroup && st.st_gid == privateGroup;
  return S_ISDIR(st.st_mode) && st.st_uid == userId && (st.st_mode & 002) == 0 &&
         ((st.st_mode & 020) == 0 || groupIsOwn);
}

// The folder `path` opened for use as a place of the instance (no link followed), or -1.
int openFolder(const QString& path) {
  return ::open(QFile::encodeName(path).constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The socket path of `name` in the folder open as `folderFd`: short, however long the folder's
// own path is.
QString socketPathIn(int folderFd, const QString& name) {
  return QStringLiteral("/proc/self/fd/%1/%2").arg(folderFd).arg(name);
}

struct UnguardedText {
  UnguardedReason reason;
  const char* text;
};
constexpr UnguardedText kUnguardedTexts[] = {
    {UnguardedReason::NameOfAnotherAccount,
     "二重起動を確認するための名前を別のユーザーが使用しているため、二重起動を確認できません。\n"
     "このまま起動しますが、本プログラムを同時に二つ起動しないで下さい。\n"
     "ホームフォルダに .cache フォルダを作成できるようにするか、システム管理者に連絡して下さい。"},
    {UnguardedReason::HolderSilent,
     "起動中の本プログラムが応答しないため、二重起動を確認できません。\n"
     "このまま起動しますが、応答しない本プログラムを終了してから作業して下さい。"},
    {UnguardedReason::SocketFailed,
     "二重起動を確認するためのソケットを作成できないため、二重起動を確認できません。\n"
     "このまま起動しますが、本プログラムを同時に二つ起動しないで下さい。\n"
     "起動し直しても表示される場合は、システム管理者に連絡して下さい。"},
};

}  // namespace

QString instanceName(unsigned userId, const QString& appFolder) {
  const QString folder = QDir::cleanPath(QDir(appFolder).absolutePath());
  const QByteArray digest = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  return QStringLiteral("tovakin-%1-%2").arg(userId).arg(QString::fromLatin1(digest));
}

QString instanceName(const QString& appFolder) { return instanceName(static_cast<unsigned>(::geteuid()), appFolder); }

QString privateRuntimeFolder(unsigned userId, const QString& runtimeFolder, const QStringList& ownFolders,
                             unsigned privateGroup) {
  // A relative runtime folder is not one (it would name a folder under the working folder).
  if (QDir::isAbsolutePath(runtimeFolder) && isPrivateFolderOf(runtimeFolder, userId))
    return QDir::cleanPath(runtimeFolder);
  for (const QString& own : ownFolders) {
    if (!QDir::isAbsolutePath(own)) continue;
    const QString base = QDir::cleanPath(own);
    ::mkdir(QFile::encodeName(base).constData(), 0700);
    if (!isUnsharedFolderOf(base, userId, privateGroup)) continue;
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

QString accountRuntimeFolder() {
  const auto user = static_cast<unsigned>(::geteuid());
  QStringList own;
  unsigned ownGroup = kNoPrivateGroup;
  if (const passwd* account = ::getpwuid(user)) {
    if (account->pw_dir && *account->pw_dir) own << QFile::decodeName(account->pw_dir) + QStringLiteral("/.cache");
    // A group of the user's name with no other member (the usual private group) is the user's.
    const struct group* primary = ::getgrgid(account->pw_gid);
    if (primary && std::strcmp(primary->gr_name, account->pw_name) == 0 && !primary->gr_mem[0])
      ownGroup = account->pw_gid;
  }
  return privateRuntimeFolder(user, QStringLiteral("/run/user/%1").arg(user), own, ownGroup);
}

std::string unguardedMessage(UnguardedReason reason) {
  for (const UnguardedText& entry : kUnguardedTexts)
    if (entry.reason == reason) return entry.text;
  raiseNotFound("UnguardedReason " + std::to_string(static_cast<int>(reason)));
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

InstanceClaim::InstanceClaim(QString name, std::function<QString()> fallbackFolder, std::function<void()> waiting,
                             Clock clock)
    : name_(std::move(name)),
      fallbackFolder_(std::move(fallbackFolder)),
      waiting_(std::move(waiting)),
      clock_(std::move(clock)) {}

InstanceClaim::~InstanceClaim() {
  stopListening();
  release();
}

bool InstanceClaim::listening() const { return server_ && server_->isListening() && !going_; }

bool InstanceClaim::holdsLock() const { return address_.folder.isEmpty() ? server_ != nullptr : locked_; }

void InstanceClaim::stopListening() {
  if (!server_ || going_) return;
  if (address_.folder.isEmpty()) {
    // The name is the lock: it stays taken until the claim ends, and every start asking from now
    // on, or still waiting for an answer, is hung up on and waits for the name.
    going_ = true;
    for (QLocalSocket* socket : server_->findChildren<QLocalSocket*>()) socket->abort();
    return;
  }
  // Removes the socket file (later starts wait for the lock) and, with the server, the connections
  // of starts still waiting for an answer: they see the connection end unanswered.
  server_->close();
  server_.reset();
}

void InstanceClaim::release() {
  // The server goes first: its socket file is removed through the folder's descriptor.
  if (server_) server_->close();
  server_.reset();
  if (lockFd_ >= 0) ::close(lockFd_);  // the kernel drops the lock with the descriptor
  if (folderFd_ >= 0) ::close(folderFd_);
  lockFd_ = folderFd_ = -1;
  locked_ = going_ = false;
}

InstanceClaim::Hold InstanceClaim::hold() {
  auto server = std::make_unique<QLocalServer>();
  if (address_.folder.isEmpty()) {
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server->listen(name_))
      return server->serverError() == QAbstractSocket::AddressInUseError ? Hold::Taken : Hold::Failed;
  } else {
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0)
      return errno == EWOULDBLOCK || errno == EINTR ? Hold::Taken : Hold::Failed;
    locked_ = true;
    const QString path = socketPathIn(folderFd_, name_);
    // The lock is ours, so a socket file left there is a dead instance's.
    QLocalServer::removeServer(path);
    // A lock with no socket: nobody could reach this instance.
    if (!server->listen(path)) return Hold::Failed;
  }
  server_ = std::move(server);
  connect(server_.get(), &QLocalServer::newConnection, this, &InstanceClaim::onConnection);
  return Hold::Ours;
}

InstanceClaim::Attempt InstanceClaim::claimAt() {
  if (!address_.folder.isEmpty()) {
    folderFd_ = openFolder(address_.folder);
    struct stat st {};
    if (folderFd_ < 0 || ::fstat(folderFd_, &st) != 0 || st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)
      return Attempt::Failed;
    lockFd_ = ::openat(folderFd_, QFile::encodeName(name_ + QStringLiteral(".lock")).constData(),
                       O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd_ < 0) return Attempt::Failed;
  }
  auto patience = clock_() + kPatience;
  int refusals = 0;
  for (int attempt = 1;; ++attempt) {
    if (const Hold held = hold(); held != Hold::Taken) return held == Hold::Ours ? Attempt::First : Attempt::Failed;
    switch (handOver(address_)) {
      case HandOverAnswer::Taken:
        return Attempt::HandedOver;
      case HandOverAnswer::AnotherAccount:
        return Attempt::AnotherAccount;
      case HandOverAnswer::ClosedAfterAsking:
        // The holder goes: it is waited for afresh, and the name is asked for again at once.
        patience = clock_() + kPatience;
        refusals = 0;
        continue;
      case HandOverAnswer::Refused:
        if (address_.folder.isEmpty() && ++refusals >= kRefusalsOfAStranger) return Attempt::AnotherAccount;
        break;
      case HandOverAnswer::NotTaken:
        refusals = 0;
        break;
    }
    // The holder is between taking the name and its window, busy, or finishing its last writes:
    // ask again shortly, and go on as soon as it lets go.
    if (attempt == 1 && waiting_) waiting_();
    if (clock_() >= patience) return Attempt::Silent;
    QThread::msleep(static_cast<unsigned long>(std::min(5 * attempt, 100)));
  }
}

InstanceClaim::Outcome InstanceClaim::claim() {
  address_ = {name_, {}};
  for (;;) {
    const Attempt attempt = claimAt();
    if (attempt == Attempt::First) return Outcome::First;
    release();
    if (attempt == Attempt::HandedOver) return Outcome::HandedOver;
    // Another account holds the name: the lock and the socket go to a folder of the user's own.
    if (attempt == Attempt::AnotherAccount && address_.folder.isEmpty() && fallbackFolder_) {
      address_.folder = fallbackFolder_();
      if (!address_.folder.isEmpty()) continue;
    }
    reason_ = attempt == Attempt::Silent           ? UnguardedReason::HolderSilent
              : attempt == Attempt::AnotherAccount ? UnguardedReason::NameOfAnotherAccount
                                                   : UnguardedReason::SocketFailed;
    return Outcome::Unguarded;
  }
}

void InstanceClaim::onConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // Only the user's own processes may raise this instance's windows; nobody is raised once the
    // close is decided.
    if (going_ || !peerIsThisUser(socket->socketDescriptor())) {
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

HandOverAnswer handOver(const InstanceAddress& at) {
  QLocalSocket socket;
  int folderFd = -1;
  if (at.folder.isEmpty()) {
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.setServerName(at.name);
  } else {
    if (!QDir::isAbsolutePath(at.folder) || (folderFd = openFolder(at.folder)) < 0) return HandOverAnswer::NotTaken;
    socket.setServerName(socketPathIn(folderFd, at.name));
  }
  socket.connectToServer(QIODevice::ReadWrite);
  const bool connected = socket.waitForConnected(kConnectWaitMs);
  if (folderFd >= 0) ::close(folderFd);
  if (!connected)
    return socket.error() == QLocalSocket::ConnectionRefusedError ? HandOverAnswer::Refused : HandOverAnswer::NotTaken;
  // A start is handed only to the user's own instance, never to another account's listener.
  if (!peerIsThisUser(socket.socketDescriptor())) {
    socket.abort();
    return HandOverAnswer::AnotherAccount;
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
  // or goes (it hangs up, and this start waits for it to end), however long that takes.
  const bool asked = said == kClosingMessage;
  if (asked) said = nextLine(QDeadlineTimer(QDeadlineTimer::Forever));
  socket.abort();
  if (said == kRaisedMessage) return HandOverAnswer::Taken;
  return asked ? HandOverAnswer::ClosedAfterAsking : HandOverAnswer::NotTaken;
}

}  // namespace tovakin::gui
