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
    // Every slip that enlarges e' turns a failing flexible pipe into a passing one.
    InputLimit{&D::hanryokuKeisu, P::ReactionModulus, "基礎材の反力係数ｅ’", kLargestNamedReactionModulus, kAbove,
               "0.00", "kN/m²", "どの方法で定めるe'も、この値を超えません。"},
    // The allowed deflection: 30 for 3.0 passes every deflection check.
    InputLimit{&D::sekkeiTawamiritu, P::Calculation, "設計たわみ率", 10.0, kAbove, "0.0", "％",
               "設計たわみ率が大きいほど、たわみの照査は通りやすくなります。"},
};

}  // namespace

std::span<const InputLimit> inputLimits() { return kLimits; }

bool beyondLimit(const InputLimit& row, double value) {
  return row.unsafe == UnsafeSide::Above ? value > row.limit : value < row.limit;
}

std::string limitQuestion(const InputLimit& row, double value) {
  const std::string unit = row.unit;
  return std::string(row.name) + "は" + formatPattern(value, row.pattern) + unit + "で、" +
         formatPattern(row.limit, row.pattern) + unit + (row.unsafe == UnsafeSide::Above ? "を超えています。" : "未満です。") +
         "\r\n" + row.reason + "\r\nこの値を採用しますか？";
}

}  // namespace tovakin::app
