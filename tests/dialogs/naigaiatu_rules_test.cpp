#include "dialogs/naigaiatu_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace tovakin::gui {
namespace {

TEST(NaigaiatuQuestion, ASafetyFactorBelowOneAndAnExponentAboveThreeAreAskedAboutNamingThem) {
  const struct {
    double s, n;
    std::vector<int> asked;  // the boxes, S before n
  } rows[] = {{0.25, 2.0, {0}}, {0.99, 3.0, {0}}, {1.0, 3.01, {1}}, {0.5, 15, {0, 1}}, {2.5, 0.25, {}}};
  for (const auto& row : rows) {
    std::vector<int> asked;
    for (const NaigaiatuQuestion& q : naigaiatuQuestions({row.s, row.n})) asked.push_back(q.box);
    EXPECT_EQ(asked, row.asked) << row.s << " " << row.n;
  }
  EXPECT_EQ(naigaiatuQuestions({0.25, 2.0}).at(0).message,
            "安全率(S)は0.25で、1.00未満です。\r\n安全率が1未満では、許容内圧がひびわれ内圧を超えます。\r\n"
            "この値を採用しますか？");
}

// The bar in picMyForm's bottom-right corner; the client area is picMyForm without the fixed border,
// the outer size adding the caption.
TEST(NaigaiatuLayout, TheBarStandsInTheFormsCornerAndTheClientAreaIsTheForm) {
  EXPECT_EQ(naigaiatuLayout().picCommand, QRect(2760, 4680, 3735, 555));
  const QSize outer = conditionDialogOuterTwips({6495, 5235}, 440);
  EXPECT_EQ(outer, QSize(6495, 5675));
  EXPECT_EQ(conditionDialogClientTwips(outer, 440, 45), QSize(6405, 5145));
}

}  // namespace
}  // namespace tovakin::gui
