#include "ui/form_rules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include "support/row_name.h"

namespace tovakin::gui {
namespace {

struct TipCase {
  const char* caption;
  const char* tip;
};

class ToolTipFromCaption : public ::testing::TestWithParam<TipCase> {};

TEST_P(ToolTipFromCaption, ShowsTheAccessKeyAsAltPlusTheLetter) {
  EXPECT_EQ(toolTipFromCaption(GetParam().caption), GetParam().tip);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, ToolTipFromCaption,
    ::testing::Values(TipCase{"計算する(&C)", "計算する(ALT+C)"}, TipCase{"閉じる(&Q)", "閉じる(ALT+Q)"},
                      TipCase{"OK(&O)", "OK(ALT+O)"}, TipCase{"ｷｬﾝｾﾙ", "ｷｬﾝｾﾙ"},
                      TipCase{"適用(&A)", "適用(ALT+A)"},
                      TipCase{"保存&", "保存"},            // a final "&" adds nothing
                      TipCase{"A&&B", "A&B"},              // "&&" is one "&"
                      TipCase{"&&&x", "&ALT+x"},          // "&&" then an access key
                      TipCase{"&計算", "ALT+計算"},       // the key keeps its whole character
                      TipCase{"&a", "ALT+a"},             // in its own case
                      TipCase{"", ""}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.caption); });

struct IdCase {
  const char* text;
  std::optional<std::int16_t> whole;
  std::optional<std::int16_t> leading;
};

class IdReading : public ::testing::TestWithParam<IdCase> {};

TEST_P(IdReading, WholeTextOrLeadingNumber) {
  EXPECT_EQ(wholeNumberId(GetParam().text), GetParam().whole) << GetParam().text;
  EXPECT_EQ(leadingNumberId(GetParam().text), GetParam().leading) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IdReading,
    ::testing::Values(IdCase{"1000", 1000, 1000}, IdCase{" 1059 ", 1059, 1059}, IdCase{"1057.5", 1058, 1058},
                      IdCase{"1058.5", 1058, 1058},  // half to even
                      IdCase{"&H3E8", 1000, 1000}, IdCase{"frmDocument", std::nullopt, 0},
                      IdCase{"", std::nullopt, 0}, IdCase{"1037 新規", std::nullopt, 1037},
                      IdCase{"40000", std::nullopt, std::nullopt},  // beyond 16 bits
                      IdCase{"-5", -5, -5}, IdCase{"1e3", 1000, 1000}, IdCase{"1e", std::nullopt, 1}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.text); });

struct RuleCase {
  const char* designed;
  std::optional<std::string> label;    // labelCaptionFor
  std::optional<std::string> whole;    // menus, toolbar tooltips, tabs, the window caption
  std::optional<std::string> leading;  // other controls
};

class ResStringRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ResStringRules, EachKindOfControlReadsItsId) {
  const RuleCase& c = GetParam();
  EXPECT_EQ(labelCaptionFor(c.designed), c.label) << c.designed;
  EXPECT_EQ(textForWholeId(c.designed), c.whole) << c.designed;
  EXPECT_EQ(formCaptionFor(c.designed), c.whole) << c.designed;
  EXPECT_EQ(textForLeadingId(c.designed), c.leading) << c.designed;
}

INSTANTIATE_TEST_SUITE_P(
    Designs, ResStringRules,
    ::testing::Values(RuleCase{"1000", "ﾌｧｲﾙ(&F)", "ﾌｧｲﾙ(&F)", "ﾌｧｲﾙ(&F)"},
                      RuleCase{"999", std::nullopt, std::nullopt, std::nullopt},  // a label needs 1000 or more
                      RuleCase{"5", std::nullopt, std::nullopt, std::nullopt},    // not in the table
                      RuleCase{"1059", "OK", "OK", "OK"},
                      RuleCase{"1059 OK", std::nullopt, std::nullopt, "OK"},  // only the leading number
                      RuleCase{"frmDocument", std::nullopt, std::nullopt, std::nullopt},
                      RuleCase{"-1059", std::nullopt, std::nullopt, std::nullopt},
                      RuleCase{"", std::nullopt, std::nullopt, std::nullopt}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.designed); });

}  // namespace
}  // namespace tovakin::gui
