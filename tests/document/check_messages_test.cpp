#include "document/check_messages.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <vector>

#include "calc/data_check.h"
#include "document/document_rules.h"

namespace tovakin::gui {
namespace {

using R = DocRole;

TEST(CheckMessages, EveryCodeOfTheCheckFocusesTheControlOfItsValue) {
  const struct {
    std::int32_t code;
    CheckTarget target;
  } rows[] = {{1, CheckTarget::box(12)},  {2, CheckTarget::box(10)},  {3, CheckTarget::box(11)},
              {4, CheckTarget::box(5)},   {5, CheckTarget::box(12)},  {6, CheckTarget::box(15)},
              {7, CheckTarget::box(6)},   {8, CheckTarget::box(6)},   {9, CheckTarget::box(8)},
              {10, CheckTarget::box(8)},  {11, CheckTarget::box(7)},  {13, CheckTarget::box(6)},
              {14, CheckTarget::list(R::Kanshu)}, {15, CheckTarget::list(R::Kikaku)},
              {16, CheckTarget::list(R::Yobina)}, {17, CheckTarget::list(R::Yobina)},
              {18, CheckTarget::list(R::Yobina)}};
  for (const auto& row : rows) {
    const CheckMessage m = checkMessage(row.code);
    EXPECT_EQ(m.focus, row.target) << row.code;
    EXPECT_TRUE(m.text && !m.text->isEmpty()) << row.code;
  }
  EXPECT_FALSE(checkMessage(19).focus) << "the safety factor is set in a dialog, not in the window";
}

// The codes of the check, found by running over every number they could be.
std::vector<std::int32_t> checkCodes() {
  std::vector<std::int32_t> codes;
  for (std::int32_t code = -100; code <= 1100; ++code)
    if (calc::isCheckCode(code)) codes.push_back(code);
  return codes;
}

// Every code of the check, and every box the window addresses by its field, names a control the
// window has: a focus on a field no box shows fails here, not in the user's hands.
TEST(CheckMessages, EveryTargetNamesAControlOfTheWindow) {
  for (const std::int32_t code : checkCodes()) {
    CheckMessage m;
    EXPECT_NO_THROW(m = checkMessage(code)) << code;
    if (m.focus) {
      EXPECT_NO_THROW(designedControl(m.focus->role, m.focus->textBox)) << code;
    }
  }
  for (const auto& lookUp : {trenchBox, adoptedModulusBox})
    EXPECT_NO_THROW(designedControl(DocRole::TextBox, lookUp().index));
}

TEST(CheckMessages, ZeroDoesNothingAndOtherCodesAreShownWithTheirNumber) {
  EXPECT_FALSE(checkMessage(0).focus || checkMessage(0).text);
  // Numbers outside the check's codes: a gap among them, the first one past them, and beyond.
  const std::int32_t past = checkCodes().back() + 1;
  const struct {
    std::int32_t code;
    QString text;
  } rows[] = {{12, QStringLiteral("入力値のエラーです。[12]")},  // a gap in the check's codes
              {past, QStringLiteral("入力値のエラーです。[") + QString::number(past) + QStringLiteral("]")},
              {-1, QStringLiteral("入力値のエラーです。[-1]")},
              {1000, QStringLiteral("入力値のエラーです。[1000]")},
              {1001, QStringLiteral("アプリケーションのエラーです。[1001]")},
              {INT32_MIN, QStringLiteral("入力値のエラーです。[-2147483648]")}};
  for (const auto& row : rows) {
    ASSERT_FALSE(calc::isCheckCode(row.code)) << row.code;
    const CheckMessage m = checkMessage(row.code);
    EXPECT_FALSE(m.focus) << row.code;
    EXPECT_EQ(m.text, row.text);
  }
}

// Every code of the check has a text of its own, none the unknown code's; every other number is
// shown with itself.
TEST(CheckMessages, EveryCodeOfTheCheckHasItsOwnTextAndNoOtherNumberHasOne) {
  const std::vector<std::int32_t> codes = checkCodes();
  EXPECT_EQ(codes.front(), 0);
  std::set<QString> texts;
  for (std::int32_t code : codes) {
    if (code == 0) continue;
    const CheckMessage m = checkMessage(code);
    ASSERT_TRUE(m.text) << code;
    EXPECT_FALSE(m.text->contains(QStringLiteral("エラーです。["))) << code;
    EXPECT_TRUE(texts.insert(*m.text).second) << code << " shares its text";
  }
  for (std::int32_t code = -100; code <= 1100; ++code) {
    if (calc::isCheckCode(code)) continue;
    const CheckMessage m = checkMessage(code);
    ASSERT_TRUE(m.text) << code;
    EXPECT_TRUE(m.text->endsWith(QStringLiteral("[") + QString::number(code) + QStringLiteral("]"))) << code;
  }
}

TEST(CheckMessages, TwoLineTextsAreJoinedByExactlyOneCarriageReturnAndLineFeed) {
  EXPECT_EQ(checkMessage(10).text, QStringLiteral("本ソフトウェアでは水の単位体積重量＝飽和土単位体積重量にすることは出来ません。"
                                                  "\r\nどちらかを変更して下さい。"));
  EXPECT_EQ(checkMessage(8).text,
            QStringLiteral("自由支承の場合、設計支持角は30,60,90,120,または180にして下さい。"));
  for (const std::int32_t code : checkCodes()) {
    if (code == 0) continue;
    const QString text = *checkMessage(code).text;
    const int breaks = code == 10 || code >= 14 ? 1 : 0;
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), breaks) << code;
    EXPECT_EQ(text.count(QLatin1Char('\n')) + text.count(QLatin1Char('\r')), 2 * breaks) << code;
  }
}

}  // namespace
}  // namespace tovakin::gui
