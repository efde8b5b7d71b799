// Program entry: the Qt application with its Japanese texts and faces, the windows' services
// installed, then the start-up of the foundation. The main window is not built yet: after a
// successful start-up the program says so and ends.
//
// Exit status: 0 ready, 1 ended by 中止 in an error box, 2 the pipe-material workbook is held
// by another program, 3 no desktop to show windows on.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/cursor.h"
#include "app/startup.h"
#include "calc/pipe_database.h"
#include "calc/pipe_lookups.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "report/xlsx_report_book.h"
#include "shell/application.h"
#include "shell/boxes.h"
#include "shell/busy_pointer.h"
#include "shell/desktop_launcher.h"
#include "shell/launcher.h"

int main(int argc, char** argv) {
  using namespace tovakin::gui;  // and, through it, every layer below
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

  std::optional<SqlitePipeDataSource> pipeData;
  const auto rebuild = [&] {
    CreateMyDatabase();
    pipeData.emplace(g_app.g_appPath);
  };
  XlsxReportTemplateOpener templates;  // reports are written into .xlsx workbooks
  const auto templatesInstalled = installReportTemplateOpener(templates);
  try {
    if (runStartup(rebuild) == StartupOutcome::WorkbookInUse) return 2;
    // Every lookup from now on reads the database that the rebuild has just made.
    const auto pipeDataInstalled = installPipeDataSource(pipeData ? &*pipeData : nullptr);
    砂時計(false);
    std::printf("Tovakin: %s の準備ができました。画面はまだ作られていません。\n", g_app.g_appPath.c_str());
    std::printf("Tovakin: the application folder %s is ready; the windows are not built yet.\n",
                g_app.g_appPath.c_str());
    return 0;
  } catch (const ProgramAborted&) {
    return 1;
  }
}
