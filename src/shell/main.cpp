// Program entry. The windows are not built yet: the program prepares its application folder
// (settings file, database) and says so.
#include <cstdio>
#include <optional>

#include "app/app_state.h"
#include "app/cursor.h"
#include "app/startup.h"
#include "calc/pipe_database.h"
#include "calc/pipe_lookups.h"
#include "platform/error_box.h"
#include "report/xlsx_report_book.h"

int main() {
  using namespace tovakin::report;  // and, through it, every layer below
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
