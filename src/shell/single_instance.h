#pragma once
// One running instance per user and application folder.
//
// The first start claims a local socket name in the abstract namespace; a later start finds the
// name taken, tells the holder to come to the front and ends. The kernel frees an abstract name
// when its holder dies, so a crashed instance leaves nothing behind that could block the next
// start. The name carries the user id (another user's instance is none of ours) and a digest of
// the application folder (a second installation has its own database and may run beside this one).
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

// The claim of the first instance. It listens while it lives.
class InstanceClaim final : public QObject {
  Q_OBJECT
 public:
  enum class Outcome {
    First,      // the name is ours: go on starting
    HandedOver, // another instance holds it and was told to come to the front: end now
  };
  explicit InstanceClaim(QString name);
  ~InstanceClaim() override;

  // Claims the name, or hands over to its holder. A holder that vanishes between the two tries
  // is retried, so a dying instance never makes a start fail.
  Outcome claim();
  bool listening() const;

 private:
  void onConnection();
  QString name_;
  std::unique_ptr<QLocalServer> server_;
};

// Tells the holder of `name` to come to the front. False when nobody holds it.
bool handOver(const QString& name);

// The window utilities of the program. Of the platform's utilities only the hand-over is built:
// the windows lay themselves out through Qt (QWidget::frameGeometry, QScreen::availableGeometry,
// QApplication::font), so the non-client sizes, system metrics, work area and system fonts have
// no caller.
class cWindow {
 public:
  // Brings the running instance of `name` to the front; false when there is none.
  bool ActiveAlreadyhWnd(const QString& name) const { return handOver(name); }
};

}  // namespace tovakin::gui
