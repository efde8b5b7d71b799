#include "shell/single_instance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QWidget>
#include <unistd.h>

namespace tovakin::gui {
namespace {

constexpr char kRaiseMessage[] = "raise\n";
constexpr int kHandOverWaitMs = 2000;
constexpr int kClaimTries = 5;

RaiseHook& hookSlot() {
  static RaiseHook hook;
  return hook;
}
bool& pendingRaise() {
  static bool pending = false;
  return pending;
}

void runHook() {
  // Called from a socket notification: nothing may leave it as an exception.
  try {
    hookSlot()();
  } catch (...) {
  }
}

void requestRaise() {
  if (hookSlot()) {
    runHook();
  } else {
    pendingRaise() = true;  // start-up is still running: the main window will come to the front when it sets its hook
  }
}

}  // namespace

QString instanceName(unsigned userId, const QString& appFolder) {
  const QString folder = QDir::cleanPath(QDir(appFolder).absolutePath());
  const QByteArray digest = QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
  return QStringLiteral("tovakin-%1-%2").arg(userId).arg(QString::fromLatin1(digest));
}

QString instanceName(const QString& appFolder) { return instanceName(static_cast<unsigned>(getuid()), appFolder); }

void setInstanceRaiseHook(RaiseHook hook) {
  hookSlot() = std::move(hook);
  if (hookSlot() && pendingRaise()) {
    pendingRaise() = false;
    runHook();
  }
}

const RaiseHook& instanceRaiseHook() { return hookSlot(); }

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

InstanceClaim::InstanceClaim(QString name) : name_(std::move(name)) {}
InstanceClaim::~InstanceClaim() = default;

bool InstanceClaim::listening() const { return server_ && server_->isListening(); }

InstanceClaim::Outcome InstanceClaim::claim() {
  for (int attempt = 0; attempt < kClaimTries; ++attempt) {
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (server->listen(name_)) {
      server_ = std::move(server);
      connect(server_.get(), &QLocalServer::newConnection, this, &InstanceClaim::onConnection);
      return Outcome::First;
    }
    if (handOver(name_)) return Outcome::HandedOver;
    // The holder went away between the two tries: the name is free again.
  }
  // Neither listening nor handing over worked: start without the guard rather than not at all.
  return Outcome::First;
}

void InstanceClaim::onConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    QPointer<QLocalSocket> guarded(socket);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    const auto readMessage = [guarded] {
      if (!guarded) return;
      bool raise = false;
      while (guarded->canReadLine()) raise = raise || guarded->readLine() == kRaiseMessage;
      if (raise) requestRaise();
    };
    connect(socket, &QLocalSocket::readyRead, this, readMessage);
    readMessage();
  }
}

bool handOver(const QString& name) {
  QLocalSocket socket;
  socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
  socket.setServerName(name);
  socket.connectToServer(QIODevice::WriteOnly);
  if (!socket.waitForConnected(kHandOverWaitMs)) return false;
  // The holder may still be starting (no event loop yet): the kernel keeps the message until it reads.
  socket.write(kRaiseMessage);
  if (!socket.waitForBytesWritten(kHandOverWaitMs) && socket.bytesToWrite() > 0) return false;
  socket.disconnectFromServer();
  return true;
}

}  // namespace tovakin::gui
