#pragma once
// One running instance per user and application folder.
//
// The first start takes a lock file and listens on a local socket beside it, both in a folder
// that only the user can enter (the user's runtime folder, or a folder of the user's own under
// the temporary folder); a later start finds the lock taken, tells the holder through the socket
// to come to the front and ends. The kernel drops the lock when its holder dies, so a crashed
// instance leaves nothing behind that could block the next start. Both ends check that the other
// runs as the same user: another account's process is never handed a start, nor can it raise a
// window. The name carries a digest of the application folder (a second installation has its
// own database and may run beside this one).
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "ui/layer.h"

class QLocalServer;
class QWidget;

namespace tovakin::gui {

// The socket name for a user and an application folder.
QString instanceName(unsigned userId, const QString& appFolder);
// The name for this process's user and the given folder.
QString instanceName(const QString& appFolder);

// The folder for the instance's lock and socket: `runtimeFolder` (the user's runtime folder) when
// it is a folder of user `userId` that nobody else may enter; else the first folder
// "tovakin-<userId>" (then "tovakin-<userId>-1" ...) under `tempFolder` that is one, created when
// missing. A folder of the name that another account made, or one open to others, is passed
// over. "" when none can be had.
QString privateRuntimeFolder(unsigned userId, const QString& runtimeFolder, const QString& tempFolder);
// The socket path of this process's user for the application folder ("" when there is no private
// folder: the program then starts without the guard).
QString instancePath(const QString& appFolder);

// What a running instance does when a later start hands over: the main window sets it.
using RaiseHook = std::function<void()>;
// Sets the hook (an empty one takes it away). A hand-over that came before any hook was set
// (during start-up) runs the new hook at once.
void setInstanceRaiseHook(RaiseHook hook);
const RaiseHook& instanceRaiseHook();

// Brings a window of this instance to the front: the open modal dialog when there is one, else
// `mainWindow`. A minimized window comes back to its previous state (a maximized one stays
// maximized).
void raiseRunningInstanceWindow(QWidget* mainWindow);

// The claim of the first instance on a socket path (its lock file is the path with ".lock").
// It listens until stopListening() and holds the lock while it lives: a closing instance stops
// listening first, finishes its writes, and only then lets a new start in.
class InstanceClaim final : public QObject {
  Q_OBJECT
 public:
  enum class Outcome {
    First,      // the name is ours (or there is no guard to be had): go on starting
    HandedOver, // another instance holds it and was told to come to the front: end now
  };
  explicit InstanceClaim(QString socketPath);
  ~InstanceClaim() override;

  // Takes the lock and listens, or hands over to its holder. A holder that is still starting or
  // already closing is waited for a while; a start never fails for want of the guard.
  Outcome claim();
  bool listening() const;
  // True while the lock is held (from a First claim to the claim's end).
  bool holdsLock() const { return lockFd_ >= 0 && locked_; }
  // Refuses further hand-overs: nobody is there to be raised any more.
  void stopListening();

 private:
  void onConnection();
  void releaseLock();
  QString socketPath_;
  int lockFd_ = -1;
  bool locked_ = false;
  std::unique_ptr<QLocalServer> server_;
};

// Tells the holder of the socket at `socketPath` to come to the front. False when nobody of this
// user listens there.
bool handOver(const QString& socketPath);

// True when the process at the other end of the connected local socket `descriptor` runs as the
// effective user of this one.
bool peerIsThisUser(qintptr descriptor);

// The window utilities of the program. Of the platform's utilities only the hand-over is built:
// the windows lay themselves out through Qt (QWidget::frameGeometry, QScreen::availableGeometry,
// QApplication::font), so the non-client sizes, system metrics, work area and system fonts have
// no caller.
class cWindow {
 public:
  // Brings the running instance listening at `socketPath` to the front; false when there is none.
  bool ActiveAlreadyhWnd(const QString& socketPath) const { return handOver(socketPath); }
};

}  // namespace tovakin::gui
