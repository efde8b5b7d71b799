// Opening each menu of the main window, as the menu bar does it (the menu's aboutToShow handler),
// with the desktop's own launcher installed: no menu may wait for the desktop. Beside it, the
// desktop's look-up of the spreadsheet program that the 表示 menu's items depend on, which is
// asked beside the windows instead. Offscreen; one document open.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "app/app_state.h"
#include "shell/frm_main.h"
#include "ui/desktop_launcher.h"

namespace {

using namespace tovakin::gui;

void BM_MenuOpening(benchmark::State& state, const char* menuName) {
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QProcessRunner processes;
  XdgLauncher desktop(processes);
  const auto desktopInstalled = installLauncher(desktop);
  const AppState saved = g_app;
  g_app.g_excelVersion = 12;
  {
    auto main = std::make_unique<frmMain>();
    main->LoadNewDoc(NewDocMode::Numbered);
    main->show();
    QMenu* menu = main->findChild<QMenu*>(QString::fromLatin1(menuName));
    for (auto _ : state) {
      emit menu->aboutToShow();
      QCoreApplication::processEvents();  // what the menu bar runs before the menu is drawn
    }
  }
  g_app = saved;
}
BENCHMARK_CAPTURE(BM_MenuOpening, file, "mnuFile")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MenuOpening, edit, "mnuEdit")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MenuOpening, view, "mnuView")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MenuOpening, window, "mnuWindow")->Unit(benchmark::kMicrosecond);

// The look-up the 表示 menu once made as it opened: xdg-mime and the desktop entry.
void BM_DesktopSpreadsheetLookUp(benchmark::State& state) {
  QProcessRunner processes;
  XdgLauncher desktop(processes);
  for (auto _ : state) benchmark::DoNotOptimize(desktop.defaultProgramFor("xlsx"));
}
BENCHMARK(BM_DesktopSpreadsheetLookUp)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
