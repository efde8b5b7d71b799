// Program entry: the Qt application with its Japanese texts and faces, the windows' services
// installed, then Main (one instance, the splash, the start-up, the main window) and the event
// loop of the main window.
//
// Exit status: 0 ended normally or handed over to the running instance, 1 ended by 中止 in an
// error box, 2 the pipe-material workbook is held by another program, 3 no desktop to show
// windows on.
//
// With TOVAKIN_STARTUP_BENCHMARK set, the program prints when the main window was first painted
// (the wall clock in nanoseconds, and the milliseconds since main began) and ends: the start-up
// benchmark (bench/startup_bench.py) measures from the process start with it.
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "calc/pipe_database.h"
#include "calc/pipe_lookups.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "report/xlsx_report_book.h"
#include "shell/file_menu_rules.h"
#include "shell/program_main.h"
#include "shell/single_instance.h"
#include "shell/startup_benchmark.h"
#include "ui/abort_boundary.h"
#include "ui/application.h"
#include "ui/boxes.h"
#include "ui/busy_pointer.h"
#include "ui/desktop_launcher.h"
#include "ui/file_dialog.h"
#include "ui/launcher.h"

int main(int argc, char** argv) {
  using namespace tovakin::gui;  // and, through it, every layer below
  const auto began = std::chrono::steady_clock::now();
  const std::string program = argc > 0 && argv[0] ? argv[0] : "tovakin";
  // Qt would end with its own platform plug-in error; say what the user can do instead.
  if (const auto message = noDesktopMessage(program, [](const char* name) { return std::getenv(name); })) {
    std::fputs(message->c_str(), stderr);
    return kNoDesktopStatus;
  }
  std::optional<DesktopStartGuard> startGuard(std::in_place, program);
  QApplication application(argc, argv);
  startGuard.reset();
  prepareApplication(application);

  QtBusyCursor cursor;
  QtErrorBox errors;
  QtMessageBox messages;
  QProcessRunner processes;
  XdgLauncher desktop(processes);
  const auto cursorInstalled = installBusyCursor(cursor);
  const auto errorsInstalled = installErrorBox(errors);
  const auto messagesInstalled = installMessageBox(messages);
  const auto desktopInstalled = installLauncher(desktop);
  QtCommonDialog fileDialog;
  const auto fileDialogInstalled = installCommonDialog(fileDialog);

  std::optional<SqlitePipeDataSource> pipeData;
  std::optional<Installed<PipeDataSource>> pipeDataInstalled;
  MainParts parts;
  parts.appFolder = QString::fromStdString(executableDir());
  // Each argument names one file to open in place of the empty first document.
  parts.createWindow = [files = commandLineFileNames(application.arguments().mid(1))] {
    return createMainWindow(files);
  };
  parts.rebuildDatabase = [&] {
    CreateMyDatabase();
    pipeData.emplace(g_app.g_appPath);
    // Every lookup from now on reads the database that the rebuild has just made.
    pipeDataInstalled.emplace(installPipeDataSource(&*pipeData));
  };
  XlsxReportTemplateOpener templates;  // reports are written into .xlsx workbooks
  const auto templatesInstalled = installReportTemplateOpener(templates);
  std::optional<MainOutcome> started;
  shielded([&] { started.emplace(Main(parts)); });
  // 中止 during the start-up ends the run before there is a main window to close.
  if (!started || endedByAbort()) return kAbortedStatus;
  if (started->exitStatus) return *started->exitStatus;
  std::optional<StartupBenchmark> benchmark;
  if (!qEnvironmentVariableIsEmpty("TOVAKIN_STARTUP_BENCHMARK")) benchmark.emplace(*started->window, began);
  const int status = application.exec();
  benchmark.reset();
  shielded([&] { endRun(*started); });
  return endedByAbort() ? kAbortedStatus : status;
}
