#pragma once
// Shared set-up of the calculation tests: the built-in calculation settings, a scripted
// error box, and a hand-made pipe database with four materials, two pipes and a table of
// moment coefficients.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/calc_settings.h"
#include "app/design_data.h"
#include "app/settings.h"
#include "calc/calc_result.h"
#include "support/design_cases.h"
#include "support/fake_pipe_source.h"
#include "support/scripted_error_box.h"

namespace tovakin::testing {
using namespace tovakin::calc;

inline std::vector<FakeMomentRow> momentRows() {
  return {
      {"不とう性管", "鉛直等分布荷重", 90, "自由支承", 0.3},
      {"不とう性管", "管内水重", 90, "自由支承", 0.33},
      {"不とう性管", "管体自重", 90, "自由支承", 0.21},
      {"不とう性管", "側面水平荷重1", 90, "自由支承", -0.18},
      {"不とう性管", "側面水平荷重2", 90, "自由支承", -0.075},
      {"不とう性管", "鉛直等分布荷重", 120, "自由支承", 0.27},
      {"不とう性管", "管内水重", 120, "自由支承", 0.297},
      {"不とう性管", "管体自重", 120, "自由支承", 0.189},
      {"不とう性管", "側面水平荷重1", 120, "自由支承", -0.162},
      {"不とう性管", "側面水平荷重2", 120, "自由支承", -0.0675},
      {"不とう性管", "鉛直等分布荷重", 180, "自由支承", 0.24},
      {"不とう性管", "管内水重", 180, "自由支承", 0.264},
      {"不とう性管", "管体自重", 180, "自由支承", 0.168},
      {"不とう性管", "側面水平荷重1", 180, "自由支承", -0.144},
      {"不とう性管", "側面水平荷重2", 180, "自由支承", -0.06},
      {"不とう性管", "鉛直等分布荷重", 90, "固定支承", 0.24},
      {"不とう性管", "管内水重", 90, "固定支承", 0.264},
      {"不とう性管", "管体自重", 90, "固定支承", 0.168},
      {"不とう性管", "側面水平荷重1", 90, "固定支承", -0.144},
      {"不とう性管", "側面水平荷重2", 90, "固定支承", -0.06},
      {"不とう性管", "鉛直等分布荷重", 120, "固定支承", 0.216},
      {"不とう性管", "管内水重", 120, "固定支承", 0.2376},
      {"不とう性管", "管体自重", 120, "固定支承", 0.1512},
      {"不とう性管", "側面水平荷重1", 120, "固定支承", -0.1296},
      {"不とう性管", "側面水平荷重2", 120, "固定支承", -0.054},
      {"不とう性管", "鉛直等分布荷重", 180, "固定支承", 0.192},
      {"不とう性管", "管内水重", 180, "固定支承", 0.2112},
      {"不とう性管", "管体自重", 180, "固定支承", 0.1344},
      {"不とう性管", "側面水平荷重1", 180, "固定支承", -0.1152},
      {"不とう性管", "側面水平荷重2", 180, "固定支承", -0.048},
      {"とう性管", "鉛直等分布荷重", 90, "自由支承", 0.2},
      {"とう性管", "管内水重", 90, "自由支承", 0.22},
      {"とう性管", "管体自重", 90, "自由支承", 0.14},
      {"とう性管", "側面水平荷重1", 90, "自由支承", -0.12},
      {"とう性管", "側面水平荷重2", 90, "自由支承", -0.05},
      {"とう性管", "鉛直等分布荷重", 120, "自由支承", 0.18},
      {"とう性管", "管内水重", 120, "自由支承", 0.198},
      {"とう性管", "管体自重", 120, "自由支承", 0.126},
      {"とう性管", "側面水平荷重1", 120, "自由支承", -0.108},
      {"とう性管", "側面水平荷重2", 120, "自由支承", -0.045},
      {"とう性管", "鉛直等分布荷重", 180, "自由支承", 0.16},
      {"とう性管", "管内水重", 180, "自由支承", 0.176},
      {"とう性管", "管体自重", 180, "自由支承", 0.112},
      {"とう性管", "側面水平荷重1", 180, "自由支承", -0.096},
      {"とう性管", "側面水平荷重2", 180, "自由支承", -0.04},
      {"とう性管", "鉛直等分布荷重", 90, "固定支承", 0.16},
      {"とう性管", "管内水重", 90, "固定支承", 0.176},
      {"とう性管", "管体自重", 90, "固定支承", 0.112},
      {"とう性管", "側面水平荷重1", 90, "固定支承", -0.096},
      {"とう性管", "側面水平荷重2", 90, "固定支承", -0.04},
      {"とう性管", "鉛直等分布荷重", 120, "固定支承", 0.144},
      {"とう性管", "管内水重", 120, "固定支承", 0.1584},
      {"とう性管", "管体自重", 120, "固定支承", 0.1008},
      {"とう性管", "側面水平荷重1", 120, "固定支承", -0.0864},
      {"とう性管", "側面水平荷重2", 120, "固定支承", -0.036},
      {"とう性管", "鉛直等分布荷重", 180, "固定支承", 0.128},
      {"とう性管", "管内水重", 180, "固定支承", 0.1408},
      {"とう性管", "管体自重", 180, "固定支承", 0.0896},
      {"とう性管", "側面水平荷重1", 180, "固定支承", -0.0768},
      {"とう性管", "側面水平荷重2", 180, "固定支承", -0.032},
  };
}

inline FakePipeSource standardSource() {
  FakePipeSource s;
  s.materials = {
      {"ヒューム管", 24.5, 3.9e7, 0.0, 0.0, 0.0},
      {"硬質ポリ塩化ビニル管", 14.0, 2.94e6, 3.0, 0.8, 45000.0},
      {"強化プラスチック複合管", 20.0, 1.2e7, 1.0, 0.5, 60000.0},
      {"鋼管", 77.0, 2.06e8, 5.0, 1.0e5, 1.4e5},
  };
  s.pipes = {
      {"ヒューム管", "外圧管1種", 600.0, 63.7, 0.45, std::nullopt},
      {"鋼管", "STW400", 600.0, 80.0, 2.5, 1234.5},
  };
  s.moments = momentRows();
  return s;
}

struct GoldenCase {
  std::string name;
  CaseInput input;
  std::vector<std::pair<std::string, double>> expect;
};
const std::vector<GoldenCase>& goldenCases();
// The value of a result member named as in the golden table ("r.wv", "r.mageMoment[0].jiju").
double goldenMember(const CalcResult& r, const std::string& name);

// Built-in settings, the standard pipe database and an error box that answers Ignore.
class CalcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = g_calcSettings;
    g_calcSettings = builtInCalcSettings();
  }
  void TearDown() override { g_calcSettings = saved_; }

  FakePipeSource source = standardSource();
  Installed<PipeDataSource> installed = installPipeDataSource(&source);
  ScriptedErrorBox box{ErrorAnswer::Ignore};

 private:
  CalcSettings saved_;
};

}  // namespace tovakin::testing
