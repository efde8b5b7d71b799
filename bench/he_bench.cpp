// Cost of one plane-of-equal-settlement solve for a typical case.
#include <benchmark/benchmark.h>

#include <cmath>

#include "calc/he_solver.h"

namespace {

using namespace tovakin::calc;

// K and μ for φ in degrees, as the calculation derives them.
CalcResult soilResult(double phiDeg, std::int32_t kubun) {
  const double p = phiDeg * 3.14159265358979 / 180.0;
  CalcResult r;
  r.kanzaiKubun = kubun;
  r.mu = std::tan(p);
  r.muDash = r.mu;
  r.doatuKeisu = (1.0 - std::sin(p)) / (1.0 + std::sin(p));
  return r;
}

DesignData coverCase(double H, double D, double delta) {
  DesignData d;
  d.dokaburi = H;
  d.gaikei = D;
  d.chinkahi = delta;
  return d;
}

// Rigid pipe, H = 2.0 m, D = 0.7 m, φ = 30°, δ = 0.7 (two roots, the lower one taken).
void BM_funcHe_rigid(benchmark::State& state) {
  DesignData d = coverCase(2.0, 0.7, 0.7);
  const CalcResult r = soilResult(30.0, 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(d);
    benchmark::DoNotOptimize(funcHe(d, r));
  }
}
BENCHMARK(BM_funcHe_rigid);

// Flexible pipe with the default settlement ratio, H = 3.0 m, D = 0.8 m, φ = 30°.
void BM_funcHe_flexible(benchmark::State& state) {
  DesignData d = coverCase(3.0, 0.8, -0.1);
  const CalcResult r = soilResult(30.0, 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(d);
    benchmark::DoNotOptimize(funcHe(d, r));
  }
}
BENCHMARK(BM_funcHe_flexible);

}  // namespace
