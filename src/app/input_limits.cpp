#include "app/input_limits.h"

#include <array>

#include "app/number_format.h"
#include "app/reaction_modulus_constants.h"

namespace tovakin::app {

namespace {

using D = DesignData;
using P = LimitPlace;
constexpr UnsafeSide kAbove = UnsafeSide::Above;

// No derivation of αa, αb or αw reaches 1.50 (αw is 1.10 at Pr 100).
constexpr const char* kFactorReason = "補正係数をどの方法で求めても、この値にはなりません。";
constexpr const char* kLagReason = "変形遅れ係数はたわみを大きくする係数で、1.0未満にはなりません。";
constexpr const char* kSoilReason = "土は水より重く、これより軽い土はありません。";

const std::array kLimits = {
    // A safety factor below 1 makes the allowable pressure larger than the cracking pressure.
    InputLimit{&D::naigaiatuAnzenritu, P::CombinationDialog, "安全率(S)", 1.00,
               UnsafeSide::Below, "0.00", "", "安全率が1未満では、許容内圧がひびわれ内圧を超えます。"},
    // With a base below 1 a larger n always raises the allowable pressure: 15 for 1.5 passes it.
    InputLimit{&D::naigaiatuKeisuN, P::CombinationDialog, "管の種類や構造等によって決まる係数(n)", 3.0,
               kAbove, "0.00", "", "係数(n)が大きいほど、許容内圧は大きくなります。"},
    InputLimit{&D::alphaA, P::FormulaMethod, "溝幅による補正係数αａ", kLargestOrdinaryCorrectionFactor, kAbove, "0.00", "",
               kFactorReason},
    InputLimit{&D::alphaB, P::FormulaMethod, "基礎材の縦固め度による補正係数αb", kLargestOrdinaryCorrectionFactor, kAbove,
               "0.00", "", kFactorReason},
    InputLimit{&D::alphaW, P::FormulaMethod, "地下水位の影響による補正係数αw", kLargestOrdinaryCorrectionFactor, kAbove,
               "0.00", "", kFactorReason},
    // F1 multiplies the back-calculated e' (10 for 1.0 multiplies it tenfold).
    InputLimit{&D::tawamiF1, P::DeflectionMethod, "変形遅れ係数F1", kLargestOrdinaryCorrectionFactor, kAbove, "0.0", "",
               "F1は通常1.0で、大きいほど逆算するe'が大きくなります。"},
    // A deformation-lag factor below 1 would shrink the deflection it is there to enlarge.
    InputLimit{&D::tawamiF1, P::DeflectionMethod, "変形遅れ係数F1", 1.0, UnsafeSide::Below, "0.0", "", kLagReason},
    // Every slip that enlarges e' turns a failing flexible pipe into a passing one.
    InputLimit{&D::hanryokuKeisu, P::ReactionModulus, "基礎材の反力係数ｅ’", kLargestNamedReactionModulus, kAbove,
               "0.00", "kN/m²", "どの方法で定めるe'も、この値を超えません。"},
    // The allowed deflection: 30 for 3.0 passes every deflection check.
    InputLimit{&D::sekkeiTawamiritu, P::Calculation, "設計たわみ率", 10.0, kAbove, "0.0", "％",
               "設計たわみ率が大きいほど、たわみの照査は通りやすくなります。"},
    InputLimit{&D::henkeiOkureF1, P::Calculation, "変形遅れ係数(F1)", 1.0, UnsafeSide::Below, "0.0", "", kLagReason},
    InputLimit{&D::henkeiOkureF2, P::Calculation, "変形遅れ係数(F2)", 1.0, UnsafeSide::Below, "0.0", "", kLagReason},
    // Lighter water lightens the uplift of the flotation check (0.98 for 9.80 passes it), and
    // hides a soil lighter than water from the two rows after it.
    InputLimit{&D::mizuTanniJuryo, P::Calculation, "水の単位体積重量", 9.0, UnsafeSide::Below, "0.00", "kN/m³",
               "水の単位体積重量は約9.8kN/m³で、これより軽い水はありません。"},
    // A soil lighter than water lightens every earth pressure (1.9 for 19.00).
    InputLimit{&D::tuchiTanniJuryo, P::Calculation, "土の単位体積重量", 0.0, UnsafeSide::Below, "0.00", "kN/m³",
               kSoilReason, &D::mizuTanniJuryo, "水の単位体積重量"},
    InputLimit{&D::howadoTanniJuryo, P::Calculation, "飽和土単位体積重量", 0.0, UnsafeSide::Below, "0.00", "kN/m³",
               kSoilReason, &D::mizuTanniJuryo, "水の単位体積重量"},
};

}  // namespace

std::span<const InputLimit> inputLimits() { return kLimits; }

double limitOf(const InputLimit& row, const DesignData& design) {
  return row.limitField ? design.*row.limitField : row.limit;
}

bool beyondLimit(const InputLimit& row, const DesignData& design) {
  const double value = design.*row.field;
  const double limit = limitOf(row, design);
  return row.unsafe == UnsafeSide::Above ? value > limit : value < limit;
}

std::string limitQuestion(const InputLimit& row, const DesignData& design) {
  const std::string unit = row.unit;
  const std::string limitName = row.limitName ? row.limitName : "";
  return std::string(row.name) + "は" + formatPattern(design.*row.field, row.pattern) + unit + "で、" + limitName +
         formatPattern(limitOf(row, design), row.pattern) + unit +
         (row.unsafe == UnsafeSide::Above ? "を超えています。" : "未満です。") + "\r\n" + row.reason +
         "\r\nこの値を採用しますか？";
}

}  // namespace tovakin::app
