// Cost of the pipe database: the rebuild from the shipped workbook at start-up, the refusal of a
// hostile workbook, one lookup with its opening and closing of the database, and one whole
// calculation on the database.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "app/calc_settings.h"
#include "app/design_data.h"
#include "app/settings.h"
#include "calc/calc_result.h"
#include "calc/pipe_calc.h"
#include "calc/pipe_database.h"
#include "calc/pipe_lookups.h"
#include "platform/error_box.h"
#include "platform/xlsx.h"
#include "support/xlsx_test_util.h"

namespace {

using namespace tovakin::calc;
namespace fs = std::filesystem;

// Counts the error boxes a run would show and goes on (a benchmark has nobody to answer).
class CountingBox final : public ErrorBox {
 public:
  ErrorAnswer show(const std::string&, const std::string&) override {
    ++shown;
    return ErrorAnswer::Ignore;
  }
  int shown = 0;
};

// An application folder in the temporary folder holding a copy of the shipped workbook.
class BenchApp {
 public:
  BenchApp() {
    std::string pattern = (fs::temp_directory_path() / "tovakin-bench-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    path_ += "/";
    fs::create_directories(path_ + "DATABASE");
    fs::copy_file(TOVAKIN_APPDIR "/DATABASE/Tovakin.xlsx", pipeWorkbookPath(path_));
    CreateMyDatabase(path_);
  }
  ~BenchApp() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const std::string& path() const { return path_; }
  CountingBox box;

 private:
  Installed<ErrorBox> installedBox_ = installErrorBox(box);
  std::string path_;
};

void reportBoxes(benchmark::State& state, const CountingBox& box) {
  state.counters["error_boxes"] = box.shown;
}

void BM_CreateMyDatabase(benchmark::State& state) {
  BenchApp app;
  for (auto _ : state) CreateMyDatabase(app.path());
  reportBoxes(state, app.box);
}
BENCHMARK(BM_CreateMyDatabase)->Unit(benchmark::kMillisecond);

// The refusal of a hostile workbook: every sheet of the shipped one, each as wide and as tall as
// the grid (a cell in column XFD and one on the last row). The rebuild must refuse it from the
// sheets' sizes, without reading the grid; a previous database is there (argument 1) or not (0).
// On a quiet machine: 20 ms without a previous database, 5 ms with one (the test of the refusal
// stops only a hang, at 10 s).
void BM_CreateMyDatabase_hostile(benchmark::State& state) {
  BenchApp app;
  const bool previous = state.range(0) != 0;
  std::vector<std::pair<std::string, std::string>> hostile;
  const auto shipped = tovakin::platform::xlsx::Workbook::open(pipeWorkbookPath(app.path()));
  for (const auto& name : shipped.sheetNames())
    hostile.emplace_back(name, tovakin::testing::sheetXml("<row r=\"1\"><c r=\"XFD1\"><v>1</v></c></row>"
                                                          "<row r=\"1048576\"><c r=\"A1048576\"><v>1</v></c></row>"));
  tovakin::testing::writeZip(pipeWorkbookPath(app.path()), tovakin::testing::minimalWorkbook(hostile));
  for (auto _ : state) {
    state.PauseTiming();
    if (!previous) fs::remove(pipeDatabasePath(app.path()));
    state.ResumeTiming();
    CreateMyDatabase(app.path());
  }
  reportBoxes(state, app.box);
}
BENCHMARK(BM_CreateMyDatabase_hostile)->Arg(0)->Arg(1)->ArgName("previous")->Unit(benchmark::kMillisecond);

// A lookup on a live sheet: opening, the check of the workbook's stamp, the query, closing.
void BM_LookupMaterial(benchmark::State& state) {
  BenchApp app;
  SqlitePipeDataSource source(app.path());
  const auto installed = installPipeDataSource(&source);
  for (auto _ : state) benchmark::DoNotOptimize(管材の弾性係数("硬質ポリ塩化ビニル管"));
  reportBoxes(state, app.box);
}
BENCHMARK(BM_LookupMaterial)->Unit(benchmark::kMicrosecond);

// A lookup on the start-up copy of the pipe sheets.
void BM_LookupPipe(benchmark::State& state) {
  BenchApp app;
  SqlitePipeDataSource source(app.path());
  const auto installed = installPipeDataSource(&source);
  DesignData d;
  d.kanshu = "遠心力鉄筋コンクリート管";
  d.kikaku = "外圧管1種(参考値)";
  d.yobikei = "600";
  for (auto _ : state) benchmark::DoNotOptimize(func許容内水圧PC(d));
  reportBoxes(state, app.box);
}
BENCHMARK(BM_LookupPipe)->Unit(benchmark::kMicrosecond);

DesignData calcCase(bool rigid) {
  DesignData d;
  d.kanshu = rigid ? "遠心力鉄筋コンクリート管" : "硬質ポリ塩化ビニル管";
  d.kikaku = rigid ? "外圧管1種(参考値)" : "VU";
  d.yobikei = rigid ? "600" : "300";
  d.gaikei = rigid ? 0.7 : 0.318;
  d.kanatu = d.kanatuKeisan = rigid ? 0.05 : 0.0092;
  d.naikei = d.gaikei - 2 * d.kanatu;
  d.chushinHankei = (d.gaikei - d.kanatu) / 2;
  d.dokaburi = 2.0;
  d.mizohaba = 1.2;
  d.tuchiTanniJuryo = 18.0;
  d.howadoTanniJuryo = 20.0;
  d.mizuTanniJuryo = 9.8;
  d.naibuMasatukaku = 30.0;
  d.chinkahi = rigid ? 0.7 : -0.1;
  d.shijikaku = rigid ? 90.0 : 120.0;
  d.hanryokuKeisu = 3000.0;
  d.henkeiOkureF1 = d.henkeiOkureF2 = 1.0;
  d.seisuiatu = 0.5;
  d.suigekiatu = 0.25;
  d.kajuJoken = 25.0;
  d.doroJoken = 1.0;
  d.josaiKaju = "10";
  d.buruJoken = rigid ? 0.0 : 11.0;
  d.kyatapiraSu = 2;
  d.sekojiShogekiKeisu = 0.3;
  d.naigaiatuAnzenritu = d.naigaiatuKeisuN = 2.0;
  d.sekkeiTawamiritu = 3.0;
  d.kanzaiKubun = rigid ? 0.0 : 3.0;
  return d;
}

void BM_FuncPipeCalc(benchmark::State& state) {
  BenchApp app;
  SqlitePipeDataSource source(app.path());
  const auto installed = installPipeDataSource(&source);
  const CalcSettings saved = g_calcSettings;
  g_calcSettings = builtInCalcSettings();
  const DesignData design = calcCase(state.range(0) != 0);
  CalcResult result;
  for (auto _ : state) {
    DesignData d = design;
    benchmark::DoNotOptimize(funcPipeCalc(d, result));
  }
  g_calcSettings = saved;
  reportBoxes(state, app.box);
}
BENCHMARK(BM_FuncPipeCalc)->Arg(1)->Arg(0)->ArgName("rigid")->Unit(benchmark::kMicrosecond);

}  // namespace
