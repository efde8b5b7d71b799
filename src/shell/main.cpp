// Program entry. The windows are not built yet: the program prepares its application folder
// (settings file, database) and says so.
#include <cstdio>
#include <memory>

#include "app/app_state.h"
#include "app/cursor.h"
#include "app/startup.h"
#include "calc/pipe_database.h"
#include "calc/pipe_lookups.h"
#include "platform/error_box.h"
#include "report/xlsx_report_book.h"

int main() {
  using namespace tovakin;
  // Every lookup after start-up reads the database that the rebuild has just made.
  std::unique_ptr<SqlitePipeDataSource> pipeData;
  rebuildPipeDatabase = [&pipeData] {
    CreateMyDatabase();
    pipeData = std::make_unique<SqlitePipeDataSource>(g_app.g_appPath);
    setPipeDataSource(pipeData.get());
  };
  try {
    installXlsxReportTemplateOpener();  // reports are written into .xlsx workbooks
    if (runStartup() == StartupOutcome::WorkbookInUse) return 2;
    砂時計(false);
    std::printf("Tovakin: %s の準備ができました。画面はまだ作られていません。\n", g_app.g_appPath.c_str());
    std::printf("Tovakin: the application folder %s is ready; the windows are not built yet.\n",
                g_app.g_appPath.c_str());
    return 0;
  } catch (const ProgramAborted&) {
    return 1;
  }
}
