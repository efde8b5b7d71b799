#pragma once
// PLACEHOLDER for the main window, which is built on another branch: only what the start-up
// calls, so that this branch builds and runs. The real frm_main.h/.cpp replace these files.
#include <QMainWindow>
#include <memory>

#include "shell/layer.h"

namespace tovakin::gui {

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  frmMain();
  ~frmMain() override;
  // Shows the window where it was last placed.
  void showPlaced();
  // Creates a new, empty design document.
  void LoadNewDoc();
};

// Creates and loads the main window (its load runs now, while the splash still shows).
std::unique_ptr<frmMain> createMainWindow();

}  // namespace tovakin::gui
