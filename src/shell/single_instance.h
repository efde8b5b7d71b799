#pragma once
// One running instance per user and application folder.
//
// The first start takes a lock file and listens on a local socket beside it, both in a folder
// that only the user can enter (the user's runtime folder, or a folder of the user's own under
// the user's cache folder); a later start finds the lock taken, asks the holder through the socket
// to come to the front and ends once the holder answers that it has. A holder that does not
// answer (still starting, busy, or closing) is waited for like one that does not listen: the
// later start goes on when the lock comes free. The kernel drops the lock when its holder dies, so
// a crashed instance leaves nothing behind that could block the next start. Both ends check that
// the other runs as the same user: another account's process is never handed a start, nor can it
// raise a window. The name carries a digest of the application folder (a second installation has
// its own database and may run beside this one).
#include <QObject>
#include <QString>
#include <QStringList>
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

// The folder for the instance's lock and socket, always an absolute path: `runtimeFolder` (the
// user's runtime folder) when it is an absolute path of a folder of user `userId` that nobody else
// may enter; else, in the first of `ownFolders` (the user's cache folders, absolute paths only)
// that is a folder of the user's that nobody else may write to (made when missing), the first
// folder "tovakin-run" (then "tovakin-run-1" ...) that is a private one, made when missing. A
// folder open to others or a link is passed over; another account cannot make anything in these
// folders, so it cannot take the guard away. "" when none can be had.
QString privateRuntimeFolder(unsigned userId, const QString& runtimeFolder, const QStringList& ownFolders);
// The socket path of this process's user for the application folder, from XDG_RUNTIME_DIR, else
// XDG_CACHE_HOME or HOME's ".cache" ("" when there is no private folder: the program then starts
// without the guard).
QString instancePath(const QString& appFolder);

// What a running instance does when a later start hands over: the main window sets it.
using RaiseHook = std::function<void()>;
// Sets the hook (an empty one takes it away). A hand-over that came before any hook was set
// (during start-up) runs the new hook at once.
void setInstanceRaiseHook(RaiseHook hook);
const RaiseHook& instanceRaiseHook();

// While it lives, a start that asks to be raised is raised but not yet answered: the main window
// holds the answers while it asks whether it may close. When it ends, the starts still waiting are
// answered that they are taken (the window stayed); a window that goes stops listening first, and
// they wait for the lock instead. Holds nest: the outermost one answers.
class HandOverAnswersHeld {
 public:
  HandOverAnswersHeld();
  ~HandOverAnswersHeld();
  HandOverAnswersHeld(const HandOverAnswersHeld&) = delete;
  HandOverAnswersHeld& operator=(const HandOverAnswersHeld&) = delete;
};

// Brings a window of this instance to the front: the open modal dialog when there is one, else
// `mainWindow`. A minimized window comes back to its previous state (a maximized one stays
// maximized).
void raiseRunningInstanceWindow(QWidget* mainWindow);

// The claim of the first instance on a socket path (its lock file is the path with ".lock").
// It listens until stopListening() and holds the lock while it lives: a closing instance stops
// listening as soon as its close is decided, finishes its writes, and only then lets a new start
// in. A start asking to be raised is answered once the raise hook has run, or, during start-up,
// at once: the main window comes to the front as it sets its hook.
class InstanceClaim final : public QObject {
  Q_OBJECT
 public:
  enum class Outcome {
    First,      // the name is ours (or there is no guard to be had): go on starting
    HandedOver, // another instance holds it and has come to the front: end now
  };
  // `waiting` is called once when the holder did not take the start at the first asking and the
  // claim waits for it (tests watch it).
  explicit InstanceClaim(QString socketPath, std::function<void()> waiting = {});
  ~InstanceClaim() override;

  // Takes the lock and listens, or hands over to its holder. A holder that is still starting,
  // busy or already closing is waited for a while; a start never fails for want of the guard.
  Outcome claim();
  bool listening() const;
  // True while the lock is held (from a First claim to the claim's end).
  bool holdsLock() const { return lockFd_ >= 0 && locked_; }
  // Refuses further hand-overs: nobody is there to be raised any more. A start that asked and
  // has not been answered is dropped unanswered, and waits for the lock.
  void stopListening();

 private:
  void onConnection();
  void releaseLock();
  QString socketPath_;
  std::function<void()> waiting_;
  int lockFd_ = -1;
  bool locked_ = false;
  std::unique_ptr<QLocalServer> server_;
};

// Asks the holder of the socket at `socketPath` to come to the front. True only when an instance
// of this user answers, within a short time, that it has taken the start; false when nobody of
// this user listens there, or the holder does not answer (busy, or closing). A holder that says it
// is asking whether it may close is waited for until it answers or hangs up.
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
