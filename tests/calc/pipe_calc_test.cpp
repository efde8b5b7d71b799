#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calc/pipe_calc.h"
#include "support/calc_fixture.h"

namespace tovakin::testing {
using namespace tovakin::calc;
namespace {

constexpr double kPi = 3.14159265358979;

std::string boxText(const std::string& description, int number) {
  return description + "(" + std::to_string(number) + ")\n in funcPipeCalc";
}

// Every Double of the result record, to prove that no inf or NaN is ever stored.
std::vector<double> allDoubles(const CalcResult& r) {
  std::vector<double> v = {r.keisuK, r.keisuKo, r.keisuKp, r.sekkeiSuiatu, r.kanzaiTanniJuryo,
                           r.fujoHitsuyoDokaburi, r.keisuCd, r.keisuCc, r.wv1, r.wv2, r.wv, r.mu, r.muDash,
                           r.doatuKeisu, r.he, r.h2, r.q1, r.q2, r.doatuHanryoku, r.doatuTawami, r.katsuKaju,
                           r.sekojiKaju, r.jidoshaTawami, r.jidoshaHanryoku, r.buruTawami, r.buruHanryoku,
                           r.jijuTawami, r.jijuHanryoku, r.suijuTawami, r.suijuHanryoku, r.kantaiJiju, r.buruL,
                           r.danseiKeisu, r.danmenNijiMoment, r.ei, r.kantaiJuryo, r.hippariOryoku,
                           r.kyoyoHippariOryokudo, r.eiChi};
  for (const LoadRow& row : r.kajuKeisan) v.insert(v.end(), {row.kaju, row.shogeki, row.beta, row.senKaju, row.bunpuKaju});
  for (int c = 0; c < 2; ++c) {
    const MomentRow& m = r.mageMoment[c];
    const PressureRow& p = r.naiatuKento[c];
    v.insert(v.end(), {r.sekkeiKaju[c], r.hanryokuGokei[c], r.mageMomentGokei[c], r.tawamiritu[c], r.hitsuyoEi[c],
                       m.enchoku, m.suiju, m.jiju, m.suihei, p.pDash, p.hibiwareGaiatu, p.hibiwareNaiatu,
                       p.kyoyoNaiatu, p.kyoyoNaiatuMpa});
  }
  return v;
}

class PipeCalcTest : public CalcTest {
 protected:
  CalcResult run(const CaseInput& in) {
    DesignData d = makeDesign(in);
    CalcResult r;
    EXPECT_TRUE(funcPipeCalc(d, r));
    return r;
  }
};

// ---- Whole calculations against the reference values -------------------------------------

class GoldenTest : public PipeCalcTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(GoldenTest, EveryMemberOfTheCaseMatchesTheReference) {
  const GoldenCase& g = goldenCases()[GetParam()];
  const CalcResult r = run(g.input);
  EXPECT_TRUE(box.shown.empty()) << box.shown.front();
  for (const auto& [member, expected] : g.expect) {
    EXPECT_NEAR(goldenMember(r, member), expected, 1e-9 * std::max(1.0, std::fabs(expected))) << member;
  }
  for (double v : allDoubles(r)) EXPECT_TRUE(std::isfinite(v));
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::Range<std::size_t>(0, 7),
                         [](const auto& info) { return goldenCases()[info.param].name; });

// ---- Vertical earth pressure --------------------------------------------------------------

TEST_F(PipeCalcTest, RigidAboveThePlaneOfEqualSettlementUsesTheFormulaWithHe) {
  CaseInput in = rigidCase();
  in.m = 1.0;  // projection: Wv is Ｗｖ２
  const CalcResult r = run(in);
  EXPECT_NEAR(r.he, 1.0453, 5e-5);
  EXPECT_DOUBLE_EQ(r.keisuCc, 4.441);
  EXPECT_DOUBLE_EQ(r.wv, 18.0 * 4.441 * 0.7);
}

TEST_F(PipeCalcTest, CoverBelowThePlaneOfEqualSettlementUsesTheFormulaWithoutHe) {
  struct Row {
    const char* what;
    CaseInput in;
  };
  CaseInput rigid = rigidCase();  // a negative projection ratio puts He above the cover
  rigid.m = 1.0, rigid.H = 1.0, rigid.D = 0.6, rigid.delta = -0.1;
  CaseInput flexible = flexibleCase();  // a positive ratio does the same for a flexible pipe
  flexible.m = 1.0, flexible.H = 1.0, flexible.delta = 0.7;
  for (const Row& row : {Row{"rigid", rigid}, Row{"flexible", flexible}}) {
    SCOPED_TRACE(row.what);
    const CalcResult r = run(row.in);
    ASSERT_GE(r.he, row.in.H);
    const double K = 1.0 / 3.0, mu = std::tan(30.0 * kPi / 180.0);
    const double a = (row.in.kanshu == "ヒューム管" ? 2.0 : -2.0) * K * mu;
    EXPECT_NEAR(r.keisuCc, std::round((std::exp(a * row.in.H / row.in.D) - 1.0) / a * 1000.0) / 1000.0, 1e-12);
  }
}

TEST_F(PipeCalcTest, NoSettlementGivesHeZeroAndThePrismCoefficient) {
  for (double H : {1.0, 2.5, 4.0}) {
    CaseInput in = rigidCase();
    in.m = 1.0, in.delta = 0.0, in.H = H, in.D = 0.8;
    const CalcResult r = run(in);
    EXPECT_EQ(r.he, 0.0);
    EXPECT_DOUBLE_EQ(r.keisuCc, std::round(H / 0.8 * 1000.0) / 1000.0) << H;
  }
}

TEST_F(PipeCalcTest, SheetPileAndOtherBurialTypes) {
  struct Row {
    bool rigid;
    double m, H;
    double wv;
  };
  const Row rows[] = {
      {true, 2.0, 1.4, 18.0 * 1.4 * 1.2 / 0.7},  // γ·H·B/D
      {true, 7.0, 1.4, 18.0 * 1.4},             // unknown burial type: γ·H
      {false, 2.0, 1.4, 18.0 * 1.4},            // flexible sheet pile: γ·H at any depth
      {false, 2.0, 3.5, 18.0 * 3.5},
      {false, 7.0, 3.5, 18.0 * 3.5},
  };
  for (const Row& row : rows) {
    CaseInput in = row.rigid ? rigidCase() : flexibleCase();
    in.m = row.m, in.H = row.H;
    if (row.rigid) in.B = 1.2, in.D = 0.7;
    const CalcResult r = run(in);
    EXPECT_DOUBLE_EQ(r.wv, row.wv) << row.rigid << " m=" << row.m << " H=" << row.H;
    EXPECT_EQ(r.he, 0.0);
    EXPECT_EQ(r.wv2GammaFlg, 0);
  }
}

TEST_F(PipeCalcTest, FlexibleCoverBands) {
  struct Row {
    double m, H, B;
    double wv;  // < 0: the trench/projection value itself, at least 2γ
    bool flag;
  };
  const Row rows[] = {
      {0.0, 1.2, 1.0, 18.0 * 1.2, false},  // prism load up to 2 m
      {0.0, 2.0, 1.0, 18.0 * 2.0, false},  // 2.0 itself is still the prism load
      {1.0, 2.0, 1.0, 18.0 * 2.0, false},
      {0.0, 2.01, 1.0, 36.0, true},  // the trench load is below 2γ
      {1.0, 2.01, 1.0, 36.0, true},
      {0.0, 5.0, 3.0, -1.0, false},  // the trench load is above 2γ and stays
  };
  for (const Row& row : rows) {
    CaseInput in = flexibleCase();
    in.m = row.m, in.H = row.H, in.B = row.B;
    const CalcResult r = run(in);
    SCOPED_TRACE(::testing::Message() << "m=" << row.m << " H=" << row.H);
    if (row.wv >= 0.0) {
      EXPECT_DOUBLE_EQ(r.wv, row.wv);
    } else {
      EXPECT_GT(r.wv, 36.0);
      EXPECT_EQ(r.wv, std::min(r.wv1, r.wv2));
    }
    EXPECT_EQ(r.wv2GammaFlg, row.flag ? -1 : 0);
  }
}

// ---- Depths, wall thickness, live loads -----------------------------------------------------

TEST_F(PipeCalcTest, DepthOfTheSidePressure) {
  CaseInput in = rigidCase();
  CalcResult r = run(in);
  EXPECT_DOUBLE_EQ(r.h2, 2.0 + 0.06 + 0.58);  // free support: H + t + d
  in.kiso = 1.0, in.angle = 180.0;
  r = run(in);
  EXPECT_NEAR(r.h2, 2.0 + 0.06 + 0.29, 1e-15);  // fixed 180°: the pipe's lower half
  in.angle = 120.0;
  r = run(in);
  EXPECT_NEAR(r.h2, 2.0 + 0.06 + 0.29 + 0.29 * 0.5, 1e-12);
  // Only the code 1 takes the lower-half depth; any other non-zero code still counts as a
  // fixed support for the moment coefficients.
  in.kiso = 2.0, in.angle = 180.0;
  source.momentQueries.clear();
  r = run(in);
  EXPECT_DOUBLE_EQ(r.h2, 2.0 + 0.06 + 0.58);
  ASSERT_FALSE(source.momentQueries.empty());
  for (const FakeMomentQuery& q : source.momentQueries) EXPECT_EQ(q.shoJoken, "固定支承");
}

TEST_F(PipeCalcTest, WallThicknessesAreRoundedInTheDesignRecord) {
  DesignData d = makeDesign(rigidCase());
  d.kanatu = 0.0123456;
  d.kanatuKeisan = 0.000005;  // the half goes away from zero
  CalcResult r;
  funcPipeCalc(d, r);
  EXPECT_EQ(d.kanatu, 0.01235);
  EXPECT_EQ(d.kanatuKeisan, 0.00001);
  EXPECT_DOUBLE_EQ(r.danmenNijiMoment, std::pow(0.01235, 3) / 12.0);
}

TEST_F(PipeCalcTest, ImpactCoefficientByRoadAndCoverBand) {
  struct Row {
    double road, H, shogeki;
  };
  const Row rows[] = {{0, 1.4999, 0.4}, {0, 1.5, 0.3}, {0, 2.4999, 0.3}, {0, 2.5, 0.2},  {1, 1.0, 0.3},
                      {1, 1.5, 0.2},    {1, 2.5, 0.1}, {1, 6.0, 0.1},    {0.5, 1.0, 0.4}, {1.4, 1.0, 0.3}};
  for (const Row& row : rows) {
    CaseInput in = rigidCase();
    in.road = row.road, in.H = row.H;
    EXPECT_EQ(run(in).kajuKeisan[0].shogeki, row.shogeki) << row.road << " " << row.H;
  }
}

TEST_F(PipeCalcTest, RoadStateOutsideTheTableIsAnIndexError) {
  for (double road : {2.0, -1.0, 1.5}) {  // 1.5 rounds to the even 2
    CaseInput in = rigidCase();
    in.road = road;
    DesignData d = makeDesign(in);
    CalcResult r;
    r.kajuKeisan[0].shogeki = 0.77;
    box.shown.clear();
    funcPipeCalc(d, r);
    ASSERT_EQ(box.shown.size(), 1u) << road;
    EXPECT_EQ(box.shown[0], boxText("インデックスが有効範囲にありません。", 9));
    EXPECT_EQ(r.kajuKeisan[0].shogeki, 0.77);
    EXPECT_DOUBLE_EQ(r.kajuKeisan[0].senKaju, 2.0 * 100.0 / 2.75 * 1.77);  // goes on with the old value
  }
}

TEST_F(PipeCalcTest, TruckLoadSpreadAtExactly45DegreesSkipsTheTangent) {
  CaseInput in = rigidCase();
  CalcResult r = run(in);
  const LoadRow t = r.kajuKeisan[0];
  EXPECT_EQ(t.kaju, 100.0);
  EXPECT_EQ(t.beta, 0.9);
  EXPECT_EQ(t.senKaju, 2.0 * 100.0 / 2.75 * (1.0 + 0.2));
  EXPECT_EQ(t.bunpuKaju, t.senKaju * 0.9 / (2.0 * 2.0 + 0.2));

  g_calcSettings.kajuBunpukaku = 45.0000001;
  r = run(in);
  const double tangent = std::tan(45.0000001 * kPi / 180.0);
  EXPECT_EQ(r.kajuKeisan[0].bunpuKaju, r.kajuKeisan[0].senKaju * 0.9 / (2.0 * 2.0 * tangent + 0.2));
  EXPECT_NE(r.kajuKeisan[0].bunpuKaju, t.bunpuKaju);
}

TEST_F(PipeCalcTest, TruckClasses) {
  struct Row {
    double truck, kaju, beta;
  };
  // Class 0 takes the T-0 entry.
  const Row rows[] = {{25, 100, 0.9}, {20, 78, 1.0}, {14, 55, 1.0}, {10, 39, 1.0}, {0, 0, 1.0}};
  CalcResult r;
  for (const Row& row : rows) {
    CaseInput in = rigidCase();
    in.truck = row.truck;
    DesignData d = makeDesign(in);
    EXPECT_TRUE(funcPipeCalc(d, r));
    EXPECT_EQ(r.kajuKeisan[0].kaju, row.kaju) << row.truck;
    EXPECT_EQ(r.kajuKeisan[0].beta, row.beta) << row.truck;
  }
  CaseInput none = rigidCase();
  none.truck = 0;
  r = run(none);
  EXPECT_EQ(r.kajuKeisan[0].bunpuKaju, 0.0);
  EXPECT_EQ(r.katsuKaju, 10.0);  // the surcharge alone
}

// The constants passed in are the ones used; the working copy is neither read nor changed.
TEST_F(PipeCalcTest, ExplicitSettingsAreUsedInsteadOfTheWorkingCopy) {
  CalcSettings other = builtInCalcSettings();
  other.korinKaju = {120, 90, 60, 45, 5, 0};
  other.sharyoSenyuHaba = 2.5;
  other.shijikakuKeisu[3][0] = 0.2;  // K at 90°
  const CalcSettings working = g_calcSettings;
  struct Row {
    double truck, kaju;
  };
  for (const Row& row : {Row{25, 120}, Row{20, 90}, Row{14, 60}, Row{10, 45}, Row{0, 5}}) {
    CaseInput in = rigidCase();
    in.truck = row.truck;
    DesignData d = makeDesign(in);
    CalcResult r;
    EXPECT_TRUE(funcPipeCalc(d, r, other));
    EXPECT_EQ(r.kajuKeisan[0].kaju, row.kaju) << row.truck;
    EXPECT_EQ(r.kajuKeisan[0].senKaju, 2.0 * row.kaju / 2.5 * (1.0 + r.kajuKeisan[0].shogeki)) << row.truck;
    EXPECT_EQ(r.keisuK, 0.2) << row.truck;
  }
  EXPECT_EQ(g_calcSettings, working);
  const CalcResult global = run(rigidCase());  // the short form still reads the working copy
  EXPECT_EQ(global.kajuKeisan[0].kaju, 100.0);
  EXPECT_EQ(global.keisuK, 0.096);
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(PipeCalcTest, BulldozerClasses) {
  CaseInput in = flexibleCase();
  in.buru = 8, in.tracks = 2, in.ic = 0.3, in.H = 3.0;
  CalcResult r = run(in);
  EXPECT_EQ(r.kajuKeisan[2].kaju, 47.0);
  EXPECT_EQ(r.buruL, 0.41);
  EXPECT_DOUBLE_EQ(r.kajuKeisan[2].bunpuKaju, 2 * 47.0 * 1.3 * 0.41 / (2 * 3.0 + 0.41));
  EXPECT_EQ(r.sekojiKaju, r.kajuKeisan[2].bunpuKaju);
  EXPECT_EQ(r.sekkeiKaju[1], std::round((r.wv + r.sekojiKaju) * 1000.0) / 1000.0);

  in.buru = 0;  // none: no load, no track width
  r = run(in);
  EXPECT_EQ(r.kajuKeisan[2].kaju, 0.0);
  EXPECT_EQ(r.buruL, 0.0);
  EXPECT_EQ(r.kajuKeisan[2].bunpuKaju, 0.0);
  EXPECT_EQ(r.sekkeiKaju[1], r.wv);
  EXPECT_EQ(r.buruTawami, 0.0);
}

// A class the tables lack is never calculated with another class's load (or none): its step
// shows the error box naming the class, and the run is not completed.
TEST_F(PipeCalcTest, AnUnknownTruckOrBulldozerClassLeavesTheRunIncomplete) {
  struct Row {
    double truck, buru;
    const char* named;
  };
  for (const Row& row : {Row{30, 3, "輪荷重規格のコード 30 は一覧にありません。"},
                         Row{25, 4, "ブルドーザー規格のコード 4 は一覧にありません。"}}) {
    CaseInput in = flexibleCase();
    in.truck = row.truck, in.buru = row.buru;
    DesignData d = makeDesign(in);
    CalcResult r;
    box.shown.clear();
    EXPECT_FALSE(funcPipeCalc(d, r)) << row.named;
    EXPECT_EQ(box.shown, std::vector<std::string>{boxText(row.named, 9)});
  }
}

TEST_F(PipeCalcTest, SurchargeTextWithBlanks) {
  CaseInput in = rigidCase();
  in.surcharge = "  12.5 ";
  const CalcResult r = run(in);
  EXPECT_EQ(r.kajuKeisan[1].bunpuKaju, 12.5);
  EXPECT_DOUBLE_EQ(r.katsuKaju, 12.5 + r.kajuKeisan[0].bunpuKaju);
}

// ---- Flexible pipes: deflections, reactions, moments, Pa ----------------------------------

TEST_F(PipeCalcTest, ClassFiveHasNoSelfWeightDeflection) {
  CaseInput in = flexibleCase();
  in.kanshu = "鋼管", in.kikaku = "STW400", in.designClass = 5.0;
  CalcResult r;
  r.jijuTawami = r.jijuHanryoku = 9.0;
  DesignData d = makeDesign(in);
  funcPipeCalc(d, r);
  EXPECT_EQ(r.kanzaiKubun, 5);
  EXPECT_EQ(r.jijuTawami, 0.0);
  EXPECT_EQ(r.jijuHanryoku, 0.0);
  EXPECT_EQ(r.mageMoment[0].jiju, 0.0);
  EXPECT_EQ(r.eiChi, 1234.5);
  EXPECT_GT(r.kantaiJiju, 0.0);  // still in the EI check
  EXPECT_EQ(r.tawamiritu[0], 0.0);
}

TEST_F(PipeCalcTest, MissingPipeTypeIsAFlexiblePipeWithoutMaterial) {
  CaseInput in = flexibleCase();
  in.kanshu = "未登録管", in.designClass = -1.0;
  source.record = true;
  const CalcResult r = run(in);
  EXPECT_EQ(r.kanzaiKubun, -1);
  EXPECT_EQ(r.danseiKeisu, 0.0);
  EXPECT_EQ(r.ei, 0.0);
  EXPECT_EQ(r.kantaiJiju, 0.0);
  EXPECT_EQ(r.naiatuKento[0].kyoyoNaiatu, 0.0);  // σ = σa = 0 in the stress formula
  EXPECT_GT(r.tawamiritu[0], 0.0);
  ASSERT_FALSE(source.momentQueries.empty());
  for (const FakeMomentQuery& q : source.momentQueries) EXPECT_EQ(q.taishoKan, "とう性管");
}

TEST_F(PipeCalcTest, WithoutMomentCoefficientsTheAllowablePressureIsItsBase) {
  source.moments.clear();  // every moment 0
  CaseInput rigid = rigidCase();
  CalcResult r = run(rigid);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(r.mageMomentGokei[c], 0.0);
    EXPECT_EQ(r.naiatuKento[c].pDash, 0.0);
    EXPECT_EQ(r.naiatuKento[c].kyoyoNaiatu, 450.0 / 2.0);  // Pint / S
    EXPECT_EQ(r.naiatuKento[c].kyoyoNaiatuMpa, 0.225);
  }
  CaseInput flexible = flexibleCase();
  r = run(flexible);
  const double t = 0.0234;  // 2·t·σa/d
  EXPECT_DOUBLE_EQ(r.naiatuKento[0].kyoyoNaiatu, t * t * 45000.0 / (0.5 * 0.5832 * t));
  EXPECT_EQ(r.naiatuKento[0].kyoyoNaiatu, r.naiatuKento[1].kyoyoNaiatu);
}

TEST_F(PipeCalcTest, NegativeMomentGivesNoAllowablePressure) {
  for (FakeMomentRow& row : source.moments)
    if (row.taishoKaju == "側面水平荷重1") row.keisu = 8.0;  // the side term outweighs the rest
  const CalcResult r = run(rigidCase());
  for (int c = 0; c < 2; ++c) {
    ASSERT_LT(r.mageMomentGokei[c], 0.0);
    EXPECT_DOUBLE_EQ(r.naiatuKento[c].pDash, r.mageMomentGokei[c] / (0.318 * 0.32));
    EXPECT_EQ(r.naiatuKento[c].kyoyoNaiatu, 0.0);
  }
}

// ---- The record is not cleared between runs -----------------------------------------------

TEST_F(PipeCalcTest, ASecondRunKeepsTheMembersOfBranchesNotTaken) {
  DesignData flexible = makeDesign(flexibleCase());
  CalcResult r;
  funcPipeCalc(flexible, r);
  const CalcResult first = r;
  ASSERT_GT(first.tawamiritu[0], 0.0);

  CaseInput rigid = rigidCase();
  rigid.m = 2.0;  // sheet pile: neither Cd, Cc, Ｗｖ１ nor Ｗｖ２
  DesignData d = makeDesign(rigid);
  funcPipeCalc(d, r);
  EXPECT_EQ(r.kanzaiKubun, 0);
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(r.tawamiritu[c], first.tawamiritu[c]);
    EXPECT_EQ(r.hanryokuGokei[c], first.hanryokuGokei[c]);  // rounded again, unchanged
  }
  EXPECT_EQ(r.keisuKo, first.keisuKo);
  EXPECT_EQ(r.keisuKp, first.keisuKp);
  EXPECT_EQ(r.ei, first.ei);
  EXPECT_EQ(r.kantaiJiju, first.kantaiJiju);
  EXPECT_EQ(r.jidoshaTawami, first.jidoshaTawami);
  EXPECT_EQ(r.suijuHanryoku, first.suijuHanryoku);
  EXPECT_EQ(r.doatuTawami, first.doatuTawami);
  EXPECT_EQ(r.keisuCd, first.keisuCd);
  EXPECT_EQ(r.keisuCc, first.keisuCc);
  EXPECT_EQ(r.wv1, first.wv1);
  EXPECT_EQ(r.wv2, first.wv2);
  EXPECT_EQ(r.wv2GammaFlg, first.wv2GammaFlg);  // only flexible pipes reset it
  EXPECT_EQ(r.hippariOryoku, first.hippariOryoku);
  EXPECT_EQ(r.kyoyoHippariOryokudo, first.kyoyoHippariOryokudo);
  // Written by every run.
  EXPECT_EQ(r.doatuHanryoku, 0.0);
  EXPECT_EQ(r.he, 0.0);
  EXPECT_EQ(r.mageMoment[0].jiju, 0.0);
  EXPECT_GT(r.naiatuKento[0].hibiwareNaiatu, 0.0);
}

// ---- Run-time errors ----------------------------------------------------------------------

TEST_F(PipeCalcTest, DivisionByZeroShowsTheBoxAndIgnoreKeepsTheMember) {
  DesignData d = makeDesign(rigidCase());
  d.howadoTanniJuryo = d.mizuTanniJuryo;  // γsat = γw in the flotation check
  CalcResult r;
  r.fujoHitsuyoDokaburi = 123.0;
  box.answer(ErrorAnswer::Retry);  // Retry repeats the statement, which fails again
  EXPECT_FALSE(funcPipeCalc(d, r)) << "a statement passed by Ignore leaves the result incomplete";
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0], "0 で除算しました。(11)\n in funcPipeCalc");
  EXPECT_EQ(box.shown[1], box.shown[0]);
  EXPECT_EQ(box.titles[0], "エラーが発生しました");
  EXPECT_EQ(r.fujoHitsuyoDokaburi, 123.0);
  EXPECT_GT(r.wv, 0.0);  // the run went on to the end
  EXPECT_GT(r.naiatuKento[1].kyoyoNaiatu, 0.0);
}

// A statement that fails and then succeeds on Retry is no failure: the run is complete.
TEST_F(PipeCalcTest, AStatementThatSucceedsOnRetryLeavesTheRunComplete) {
  DesignData d = makeDesign(rigidCase());
  d.josaiKaju = "abc";  // the surcharge cannot be read as a number
  struct MendingBox final : ErrorBox {
    DesignData* design = nullptr;
    std::vector<std::string> shown;
    ErrorAnswer show(const std::string& text, const std::string&) override {
      shown.push_back(text);
      design->josaiKaju = "10";  // the user mends the value, then Retry
      return ErrorAnswer::Retry;
    }
  } mending;
  mending.design = &d;
  const auto installed = installErrorBox(mending);
  CalcResult r;
  EXPECT_TRUE(funcPipeCalc(d, r));
  EXPECT_EQ(mending.shown, std::vector<std::string>{boxText("型が一致しません。", 13)});
  EXPECT_EQ(r.kajuKeisan[1].bunpuKaju, 10.0);
}

// A statement passed by Ignore makes the run incomplete wherever it stands.
TEST_F(PipeCalcTest, IgnoreAnywhereMakesTheRunIncomplete) {
  const std::vector<void (*)(DesignData&)> faults = {
      [](DesignData& d) { d.howadoTanniJuryo = d.mizuTanniJuryo; },  // flotation, an early group
      [](DesignData& d) { d.josaiKaju = "abc"; },                      // surcharge, a middle group
      [](DesignData& d) { d.henkeiOkureF1 = 0.0; },                    // deflection, the last group
  };
  for (std::size_t i = 0; i < faults.size(); ++i) {
    DesignData d = makeDesign(flexibleCase());
    faults[i](d);
    CalcResult r;
    box.shown.clear();
    EXPECT_FALSE(funcPipeCalc(d, r)) << i;
    EXPECT_FALSE(box.shown.empty()) << i;
  }
}

TEST_F(PipeCalcTest, FaultsOfAFlexiblePipeNeverStoreInfOrNaN) {
  struct Row {
    const char* what;
    void (*change)(DesignData&);
    std::vector<std::string> texts;
  };
  const Row rows[] = {
      {"R = 0", [](DesignData& d) { d.chushinHankei = 0.0; }, {}},
      {"no stiffness and no e'", [](DesignData& d) { d.hanryokuKeisu = 0.0, d.kanshu = "未登録管"; }, {}},
      {"F1 = F2 = 0", [](DesignData& d) { d.henkeiOkureF1 = 0.0, d.henkeiOkureF2 = 0.0; }, {}},
      {"d = 0", [](DesignData& d) { d.naikei = 0.0; }, {}},
      {"pressures overflow", [](DesignData& d) { d.seisuiatu = 1e308, d.suigekiatu = 1e308; },
       {"オーバーフローしました。(6)\n in funcPipeCalc"}},
      {"surcharge not a number", [](DesignData& d) { d.josaiKaju = "abc"; },
       {"型が一致しません。(13)\n in funcPipeCalc", "型が一致しません。(13)\n in funcPipeCalc",
        "型が一致しません。(13)\n in funcPipeCalc"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    DesignData d = makeDesign(flexibleCase());
    row.change(d);
    CalcResult r;
    box.shown.clear();
    EXPECT_FALSE(funcPipeCalc(d, r));
    EXPECT_FALSE(box.shown.empty());
    if (!row.texts.empty()) {
      EXPECT_EQ(box.shown, row.texts);
    }
    for (const std::string& text : box.shown) EXPECT_NE(text.find("\n in funcPipeCalc"), std::string::npos) << text;
    for (double v : allDoubles(r)) ASSERT_TRUE(std::isfinite(v));
  }
}

TEST_F(PipeCalcTest, ClassFiveErrors) {
  CaseInput in = flexibleCase();
  in.kanshu = "鋼管", in.kikaku = "STW400", in.designClass = 5.0;
  DesignData d = makeDesign(in);
  d.sekkeiTawamiritu = 0.0;  // δa = 0
  d.yobikei = "六百";        // not a number
  CalcResult r;
  r.eiChi = 1.5, r.hitsuyoEi = {2.5, 3.5};
  funcPipeCalc(d, r);
  EXPECT_EQ(box.shown, (std::vector<std::string>{boxText("型が一致しません。", 13), boxText("0 で除算しました。", 11),
                                                 boxText("0 で除算しました。", 11)}));
  EXPECT_EQ(r.eiChi, 1.5);
  EXPECT_EQ(r.hitsuyoEi[0], 2.5);
  EXPECT_EQ(r.hitsuyoEi[1], 3.5);
}

TEST_F(PipeCalcTest, ZeroCrackPressureWithNegativeExponentIsAnInvalidCall) {
  source.moments.clear();  // M = 0, so P' = 0
  CaseInput in = rigidCase();
  in.nExp = -1.0;
  DesignData d = makeDesign(in);
  CalcResult r;
  r.naiatuKento[0].kyoyoNaiatu = 7.0;
  funcPipeCalc(d, r);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[0], boxText("プロシージャの呼び出し、または引数が不正です。", 5));
  EXPECT_EQ(r.naiatuKento[0].kyoyoNaiatu, 7.0);
  EXPECT_EQ(r.naiatuKento[0].kyoyoNaiatuMpa, 0.007);
}

TEST_F(PipeCalcTest, AbortEndsTheRun) {
  DesignData d = makeDesign(rigidCase());
  d.howadoTanniJuryo = d.mizuTanniJuryo;
  CalcResult r;
  box.answer(ErrorAnswer::Abort);
  EXPECT_THROW(funcPipeCalc(d, r), ProgramAborted);
}

}  // namespace
}  // namespace tovakin::testing
