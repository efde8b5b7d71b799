#pragma once
// One running instance per user and application folder.
//
// The first start holds the instance's name and listens on it; a later start finds the name
// taken, asks the holder to come to the front and ends once the holder answers that it has. The
// name is derived from the user's account and the application folder alone (never from the
// environment), so every start of the user finds it, and it lives in the abstract socket
// namespace: no file, no path length limit, and the kernel frees it when its holder dies. Both
// ends check that the other runs as the same user: another account's process is never handed a
// start, nor can it raise a window. Should another account hold the name, the lock file and a
// socket of the name go to a folder only the user can write to, found by the same fixed rule on
// both sides. A start that cannot be guarded says why and goes on.
#include <QObject>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "ui/layer.h"

class QLocalServer;
class QWidget;

namespace tovakin::gui {

// The instance's name for a user and an application folder.
QString instanceName(unsigned userId, const QString& appFolder);
// The name for this process's user and the given folder.
QString instanceName(const QString& appFolder);

// No group of the user's own (see privateRuntimeFolder).
inline constexpr unsigned kNoPrivateGroup = ~0u;

// The folder for the instance's lock and socket when the abstract name cannot be had, always an
// absolute path: `runtimeFolder` when it is an absolute path of a folder of user `userId` that
// nobody else may enter; else, in the first of `ownFolders` (absolute paths only) that is a
// folder of the user's that nobody else may write to (made when missing; group-writable only
// through `privateGroup`, the user's own group with no other member), the first folder
// "tovakin-run" (then "tovakin-run-1" ...) that is a private one, made when missing. A folder
// open to others or a link is passed over. "" when none can be had.
QString privateRuntimeFolder(unsigned userId, const QString& runtimeFolder, const QStringList& ownFolders,
                             unsigned privateGroup = kNoPrivateGroup);
// That folder for this process's user from the account alone: the user's runtime folder
// /run/user/<uid>, else the ".cache" folder of the account's home.
QString accountRuntimeFolder();

// Where an instance is found: `name` in the abstract socket namespace, or, with `folder`, a lock
// file and a socket of that name in that private folder. The socket's path is reached through
// the folder's descriptor, so that a long folder path never passes the socket path limit.
struct InstanceAddress {
  QString name;
  QString folder;
};

// Why a start goes on without the guard.
enum class UnguardedReason {
  NameOfAnotherAccount,  // another account holds the name, and no private folder could be had
  HolderSilent,          // the instance holding the name neither answers nor ends
  SocketFailed,          // the system refused the lock or the socket
};
// The message that says so, naming why and what the user can do.
std::string unguardedMessage(UnguardedReason reason);

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

// The claim of the first instance on an instance name. It listens until stopListening() and
// holds the name while it lives: a closing instance stops taking hand-overs as soon as its close
// is decided, finishes its writes, and only then lets a new start in. A start asking to be raised
// is answered once the raise hook has run, or, during start-up, at once: the main window comes to
// the front as it sets its hook.
class InstanceClaim final : public QObject {
  Q_OBJECT
 public:
  enum class Outcome {
    First,      // the name is ours: go on starting
    HandedOver, // another instance holds it and has come to the front: end now
    Unguarded,  // no guard to be had (see unguardedReason()): say so, then go on starting
  };
  // How long a holder that does not answer at all is waited for, on `Clock` (tests give their own).
  static constexpr std::chrono::milliseconds kPatience{10000};
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  // `name` is the instance's name; `fallbackFolder` gives the private folder to use when another
  // account holds the name (called only then). `waiting` is called once when the holder did not
  // take the start at the first asking and the claim waits for it (tests watch it).
  explicit InstanceClaim(QString name, std::function<QString()> fallbackFolder = {},
                         std::function<void()> waiting = {}, Clock clock = std::chrono::steady_clock::now);
  ~InstanceClaim() override;

  // Takes the name and listens, or hands over to its holder. A holder still starting or busy is
  // waited for up to the patience; one that answers that it is asking whether it may close is
  // waited for as long as its question stands, and once it hangs up the claim starts again.
  Outcome claim();
  UnguardedReason unguardedReason() const { return reason_; }
  // Where the claim holds the name (valid after a First claim).
  const InstanceAddress& address() const { return address_; }
  bool listening() const;
  // True while the name is held (from a First claim to the claim's end).
  bool holdsLock() const;
  // Refuses further hand-overs: nobody is there to be raised any more. A start that asked and
  // has not been answered is dropped unanswered, and waits for the name.
  void stopListening();

 private:
  enum class Attempt { First, HandedOver, AnotherAccount, Failed, Silent };
  enum class Hold { Ours, Taken, Failed };
  Attempt claimAt();
  Hold hold();
  void onConnection();
  void release();
  QString name_;
  std::function<QString()> fallbackFolder_;
  std::function<void()> waiting_;
  Clock clock_;
  InstanceAddress address_;
  UnguardedReason reason_ = UnguardedReason::SocketFailed;
  int folderFd_ = -1;
  int lockFd_ = -1;
  bool locked_ = false;
  bool going_ = false;
  std::unique_ptr<QLocalServer> server_;
};

// What a later start learns from the holder of an address.
enum class HandOverAnswer {
  Taken,           // the holder has come to the front
  ClosedAfterAsking, // the holder asked whether it may close, and went
  NotTaken,        // nobody answered (none listening, busy, or hung up at once)
  Refused,         // the name is held but nobody listens on it
  AnotherAccount,  // the listener runs as another account
};
// Asks the holder of `at` to come to the front, waiting for a holder that says it is asking
// whether it may close until it answers or hangs up.
HandOverAnswer handOver(const InstanceAddress& at);

// True when the process at the other end of the connected local socket `descriptor` runs as the
// effective user of this one.
bool peerIsThisUser(qintptr descriptor);

// The window utilities of the program. Of the platform's utilities only the hand-over is built:
// the windows lay themselves out through Qt (QWidget::frameGeometry, QScreen::availableGeometry,
// QApplication::font), so the non-client sizes, system metrics, work area and system fonts have
// no caller.
class cWindow {
 public:
  // Brings the running instance at `at` to the front; false when there is none.
  bool ActiveAlreadyhWnd(const InstanceAddress& at) const { return handOver(at) == HandOverAnswer::Taken; }
};

}  // namespace tovakin::gui
