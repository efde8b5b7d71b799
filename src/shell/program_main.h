#pragma once
// The program's start: one instance, the splash with a progress text before each step, the
// start-up of the foundation, the main window with its first document. Main returns; the caller
// then runs the event loop until the main window is closed.
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "shell/frm_main.h"
#include "shell/single_instance.h"
#include "ui/layer.h"

namespace tovakin::gui {

class frmSplash;

// Exit status of a start that another instance took over, and of the refusal while another
// program holds the pipe-material workbook.
inline constexpr int kHandedOverStatus = 0;
inline constexpr int kWorkbookInUseStatus = 2;

struct MainParts {
  // The application folder whose instance this is (the executable's folder in the program).
  QString appFolder;
  // The pipe database rebuild (the calculation layer owns the database).
  std::function<void()> rebuildDatabase;
  // Creates and loads the main window.
  std::function<std::unique_ptr<frmMain>()> createWindow = [] { return createMainWindow(); };
  // Called once the splash is up (tests watch it).
  std::function<void(frmSplash&)> splashShown;
  // Called once when a running instance did not take the start at once and the start waits for
  // it (tests watch it).
  std::function<void()> waitingForInstance;
  // The private folder of the instance's lock and socket should another account hold its name
  // (tests give a folder of their own).
  std::function<QString()> instanceFolder = accountRuntimeFolder;
  // The clock of the wait for a running instance that does not answer at all.
  InstanceClaim::Clock instanceClock = std::chrono::steady_clock::now;
};

struct MainOutcome {
  // Set when the program ends now with this status; otherwise the main window is shown.
  std::optional<int> exitStatus;
  // The claim of the single instance; it must live as long as the event loop runs, and it is
  // declared before the window so that it outlives the window (see endRun).
  std::unique_ptr<InstanceClaim> claim;
  std::unique_ptr<frmMain> window;
};

// Runs the start-up. Abort in an error box throws ProgramAborted.
MainOutcome Main(const MainParts& parts);

// Ends a run whose event loop has ended: the instance stops taking hand-overs (nobody is left to
// raise; a main window that closed has stopped them already, as its close was decided), the main
// window goes with its documents (the last writes of the settings file and the window placement
// come before or with it), and only then is the name free for the next start, which so never
// reads settings that this instance is about to replace.
void endRun(MainOutcome& outcome);

}  // namespace tovakin::gui
