// The report prints the formula of αa beside the stored αa: the value the dialog's αa button
// computes must be the value of that printed formula.
#include <gtest/gtest.h>

#include <string>

#include "app/number_format.h"
#include "calc/reaction_modulus.h"
#include "report/sheet_plan.h"
#include "report_fixture.h"

namespace tovakin::report {
namespace {

// Evaluates the printed text "1＋0.1×（<B mm>-<BS mm>）／1000｝".
double evaluatePrintedAlphaA(const std::string& text) {
  const std::string head = "1＋0.1×（", tail = "）／1000｝";
  EXPECT_EQ(text.rfind(head, 0), 0u) << text;
  EXPECT_GE(text.size(), head.size() + tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
  const std::string body = text.substr(head.size(), text.size() - head.size() - tail.size());
  const std::size_t minus = body.find('-', 1);
  double b = 0, bs = 0;
  EXPECT_TRUE(parseDecimal(body.substr(0, minus), b)) << body;
  EXPECT_TRUE(parseDecimal(body.substr(minus + 1), bs)) << body;
  return 1.0 + 0.1 * (b - bs) / 1000.0;
}

class AlphaAAgreement : public ::testing::Test, public testing::SectionFixture {};

TEST_F(AlphaAAgreement, TheButtonsValueIsThePrintedFormulasValue) {
  struct Row {
    double b, bs;
    const char* alphaA;
  };
  for (const Row& row : {Row{1.2, 800, "1.04"}, Row{0.9, 500, "1.04"}, Row{0.6, 800, "0.98"}}) {
    DesignData& d = case_.design;
    d.kanzaiKubun = 3;  // flexible, free support: the section is written
    case_.result.kanzaiKubun = 3;
    d.kisoKeishiki = 0;
    d.hanryokuKeisuHoho = 1;
    d.ganbanFlg = 0;
    d.kisozaiMizohaba = row.b;
    d.hyojunMizohaba = row.bs;
    d.alphaA = calc::trenchWidthFactor(row.b, row.bs);
    ASSERT_TRUE(run(Section::ReactionModulus));
    const std::string printedAlphaA = text(sheet_, "G20");
    EXPECT_EQ(printedAlphaA, row.alphaA);
    EXPECT_EQ(formatPattern(evaluatePrintedAlphaA(text(sheet_, "G19")), "0.00"), printedAlphaA) << row.b;
  }
}

}  // namespace
}  // namespace tovakin::report
