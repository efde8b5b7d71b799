#include "shell/program_main.h"

#include <optional>

#include "app/cursor.h"
#include "app/startup.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "shell/frm_splash.h"
#include "shell/single_instance.h"

namespace tovakin::gui {
namespace {

// Hides the splash while a box is up, so that no box of the start-up is ever behind it. It comes
// back with the next progress text only: after the refusal, which has none, it stays away.
class SplashHiding {
 public:
  explicit SplashHiding(frmSplash& splash) : splash_(splash) {}
  template <class Show>
  auto around(Show&& show) {
    hidden_ = hidden_ || splash_.isVisible();
    splash_.hide();
    return show();
  }
  void progress(const QString& text) {
    if (hidden_) {
      hidden_ = false;
      splash_.showNow();
    }
    splash_.setProgress(text);
  }

 private:
  frmSplash& splash_;
  bool hidden_ = false;
};

class SplashMessageBox final : public MessageBoxService {
 public:
  SplashMessageBox(SplashHiding& hiding, MessageBoxService& inner) : hiding_(hiding), inner_(inner) {}
  MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override {
    return hiding_.around([&] { return inner_.show(text, buttons, icon, title); });
  }

 private:
  SplashHiding& hiding_;
  MessageBoxService& inner_;
};

class SplashErrorBox final : public ErrorBox {
 public:
  SplashErrorBox(SplashHiding& hiding, ErrorBox& inner) : hiding_(hiding), inner_(inner) {}
  ErrorAnswer show(const std::string& text, const std::string& title) override {
    return hiding_.around([&] { return inner_.show(text, title); });
  }

 private:
  SplashHiding& hiding_;
  ErrorBox& inner_;
};

}  // namespace

MainOutcome Main(const MainParts& parts) {
  MainOutcome outcome;
  // First of all, before the busy cursor, the settings file and the database rebuild: two
  // instances of one installation never rebuild its database together.
  auto claim = std::make_unique<InstanceClaim>(instanceName(parts.appFolder), parts.instanceFolder,
                                               parts.waitingForInstance, parts.instanceClock);
  switch (claim->claim()) {
    case InstanceClaim::Outcome::HandedOver:
      outcome.exitStatus = kHandedOverStatus;
      return outcome;
    case InstanceClaim::Outcome::Unguarded:
      // A second instance may start beside this one: the user hears why before it goes on.
      msgBox(unguardedMessage(claim->unguardedReason()), MsgButtons::OK, MsgIcon::Exclamation, "");
      break;
    case InstanceClaim::Outcome::First:
      break;
  }
  outcome.claim = std::move(claim);

  砂時計(true);
  std::optional<frmSplash> splash(std::in_place);
  splash->showNow();
  if (parts.splashShown) parts.splashShown(*splash);
  SplashHiding hiding(*splash);
  SplashMessageBox messages(hiding, messageBox());
  SplashErrorBox errors(hiding, errorBox());
  const auto messagesInstalled = installMessageBox(messages);
  const auto errorsInstalled = installErrorBox(errors);

  const auto progress = [&](const std::string& text) { hiding.progress(QString::fromStdString(text)); };
  if (runStartup(parts.rebuildDatabase, progress) == StartupOutcome::WorkbookInUse) {
    splash.reset();
    outcome.exitStatus = kWorkbookInUseStatus;
    return outcome;
  }
  // The main window's load runs while the splash still shows.
  outcome.window = parts.createWindow();
  // Once the user's close is decided, a later start waits for this instance's last writes and
  // then starts itself: were it handed to this instance, it would go with it.
  QObject::connect(outcome.window.get(), &frmMain::closeDecided, outcome.claim.get(), &InstanceClaim::stopListening);
  splash.reset();
  砂時計(false);
  outcome.window->showPlaced();
  return outcome;
}

void endRun(MainOutcome& outcome) {
  if (outcome.claim) outcome.claim->stopListening();
  outcome.window.reset();
  outcome.claim.reset();
}

}  // namespace tovakin::gui
