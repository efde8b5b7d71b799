// PLACEHOLDER: see frm_main.h.
#include "shell/frm_main.h"

#include <QMdiArea>

#include "shell/form_helpers.h"
#include "shell/single_instance.h"

namespace tovakin::gui {

frmMain::frmMain() {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Tovakin"));
  setCentralWidget(new QMdiArea(this));
  resize(800, 600);
}

frmMain::~frmMain() { setInstanceRaiseHook({}); }

void frmMain::showPlaced() {
  show();
  // From now on a later start of the program brings this window, or its open dialog, to the
  // front (set only once shown, so a hand-over during start-up never shows it early).
  setInstanceRaiseHook([this] { raiseRunningInstanceWindow(this); });
}

void frmMain::LoadNewDoc() {}

std::unique_ptr<frmMain> createMainWindow() {
  auto window = std::make_unique<frmMain>();
  window->LoadNewDoc();
  return window;
}

}  // namespace tovakin::gui
