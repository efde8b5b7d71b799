// Cost of writing one report for the largest case (free flexible pipe, trench, cover above He):
// opening the template, every section writer, the delete phase and the save beside the target
// with the rename over it. The recording run measures the writer's own cost on the in-memory
// book; the workbook run fills the shipped template file and writes the .xlsx report.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "report/report_fixture.h"
#include "support/recording_report_book.h"
#include "app/app_state.h"
#include "support/scripted_dialogs.h"
#include "report/xlsx_report_book.h"
#include "report/report_book.h"
#include "report/report_writer.h"

namespace {

using namespace tovakin;
using namespace tovakin::report;

struct BenchFolder {
  BenchFolder() {
    path = (std::filesystem::temp_directory_path() / ("tovakin_report_bench_" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(path + "/DATABASE");
  }
  ~BenchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string path;
};

// The one set-up of both runs: a scratch application folder that g_app points at (restored
// afterwards) with the template given, or a stand-in file when the opener makes its own book;
// the opener installed; the largest case written to report.xlsx in the folder, once a run.
void writeLargestCase(benchmark::State& state, report::ReportTemplateOpener& opener, const std::string& templatePath) {
  BenchFolder folder;
  const AppState saved = g_app;
  g_app.g_appPath = folder.path + "/";
  g_app.g_templatePath = templatePath;
  if (templatePath.empty()) {
    g_app.g_templatePath = folder.path + "/DATABASE/QXWork.xlsx";
    std::ofstream(g_app.g_templatePath) << "template";
  }
  const auto installed = report::installReportTemplateOpener(opener);
  const testing::ReportCase c = testing::largestCase();
  testing::ScriptedCommonDialog dialog;
  dialog.FileName = folder.path + "/report.xlsx";
  for (auto _ : state) {
    const bool ok = report::subExcelSheetCreate(c.design, c.result, dialog);
    if (!ok) state.SkipWithError("report not written");
    benchmark::DoNotOptimize(ok);
  }
  g_app = saved;
}

void BM_subExcelSheetCreate_recording(benchmark::State& state) {
  struct FreshTemplate final : report::ReportTemplateOpener {
    std::unique_ptr<report::ReportBook> open(const std::string&, const std::string&) override {
      auto book = std::make_unique<testing::RecordingReportBook>();
      testing::fillLikeTemplate(*book);
      return book;
    }
  } opener;
  writeLargestCase(state, opener, "");
}
BENCHMARK(BM_subExcelSheetCreate_recording)->Unit(benchmark::kMillisecond);

void BM_subExcelSheetCreate_workbook(benchmark::State& state) {
  const std::string shipped = std::string(TOVAKIN_APPDIR) + "/DATABASE/QXWork.xlsx";
  if (!std::filesystem::exists(shipped)) {
    state.SkipWithError("the report template is not generated");
    return;
  }
  XlsxReportTemplateOpener opener;
  writeLargestCase(state, opener, shipped);
}
BENCHMARK(BM_subExcelSheetCreate_workbook)->Unit(benchmark::kMillisecond);

}  // namespace
