// One whole calculation of a flexible pipe in a trench, with the pipe database in memory.
#include <benchmark/benchmark.h>

#include <string>

#include "support/design_cases.h"
#include "support/fake_pipe_source.h"
#include "app/calc_settings.h"
#include "app/settings.h"
#include "calc/calc_result.h"
#include "calc/pipe_calc.h"

namespace {

using tovakin::testing::FakeMomentRow;
using tovakin::testing::FakePipeSource;

FakePipeSource benchSource() {
  FakePipeSource s;
  s.record = false;
  s.materials = {{"ヒューム管", 24.5, 3.9e7, 0.0, 0.0, 0.0},
                 {"硬質ポリ塩化ビニル管", 14.0, 2.94e6, 3.0, 0.8, 45000.0},
                 {"鋼管", 77.0, 2.06e8, 5.0, 1.0e5, 1.4e5}};
  s.pipes = {{"硬質ポリ塩化ビニル管", "VU", 600.0, 30.0, 0.8, 900.0}};
  const char* loads[] = {"鉛直等分布荷重", "管内水重", "管体自重", "側面水平荷重1", "側面水平荷重2"};
  const double k[] = {0.18, 0.198, 0.126, -0.108, -0.045};
  for (const char* kan : {"不とう性管", "とう性管"})
    for (const char* jo : {"自由支承", "固定支承"})
      for (int angle : {90, 120, 180})
        for (int i = 0; i < 5; ++i) s.moments.push_back(FakeMomentRow{kan, loads[i], angle, jo, k[i]});
  return s;
}

void BM_FlexiblePipeInTrench(benchmark::State& state) {
  tovakin::app::g_calcSettings = tovakin::app::builtInCalcSettings();
  FakePipeSource source = benchSource();
  const auto installed = tovakin::calc::installPipeDataSource(&source);
  const tovakin::app::DesignData design = tovakin::testing::makeDesign(tovakin::testing::flexibleCase());
  tovakin::calc::CalcResult result;
  for (auto _ : state) {
    tovakin::app::DesignData d = design;
    benchmark::DoNotOptimize(tovakin::calc::funcPipeCalc(d, result));
    benchmark::ClobberMemory();
  }
  state.counters["tawamiritu"] = result.tawamiritu[0];
}
BENCHMARK(BM_FlexiblePipeInTrench)->Unit(benchmark::kMicrosecond);

}  // namespace
