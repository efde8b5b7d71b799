#include "document/check_messages.h"

#include <gtest/gtest.h>

#include <climits>

namespace tovakin::gui {
namespace {

using Kind = CheckTarget::Kind;

TEST(CheckMessages, EveryCodeOfTheCheckFocusesTheControlOfItsValue) {
  const struct {
    std::int32_t code;
    CheckTarget target;
  } rows[] = {{1, CheckTarget::box(12)},  {2, CheckTarget::box(10)},  {3, CheckTarget::box(11)},
              {4, CheckTarget::box(5)},   {5, CheckTarget::box(12)},  {6, CheckTarget::box(15)},
              {7, CheckTarget::box(6)},   {8, CheckTarget::box(6)},   {9, CheckTarget::box(8)},
              {10, CheckTarget::box(8)},  {11, CheckTarget::box(7)},  {13, CheckTarget::box(6)},
              {14, CheckTarget::combo(Kind::Kanshu)}, {15, CheckTarget::combo(Kind::Kikaku)},
              {16, CheckTarget::combo(Kind::Yobina)}, {17, CheckTarget::combo(Kind::Yobina)},
              {18, CheckTarget::combo(Kind::Yobina)}};
  for (const auto& row : rows) {
    const CheckMessage m = checkMessage(row.code);
    EXPECT_EQ(m.focus, row.target) << row.code;
    EXPECT_TRUE(m.text && !m.text->isEmpty()) << row.code;
  }
  EXPECT_FALSE(checkMessage(19).focus) << "the safety factor is set in a dialog, not in the window";
}

TEST(CheckMessages, ZeroDoesNothingAndOtherCodesAreShownWithTheirNumber) {
  EXPECT_FALSE(checkMessage(0).focus || checkMessage(0).text);
  const struct {
    std::int32_t code;
    const char* text;
  } rows[] = {{12, "入力値のエラーです。[12]"},  // a gap in the check's codes
              {20, "入力値のエラーです。[20]"},
              {-1, "入力値のエラーです。[-1]"},
              {1000, "入力値のエラーです。[1000]"},
              {1001, "アプリケーションのエラーです。[1001]"},
              {INT32_MIN, "入力値のエラーです。[-2147483648]"}};
  for (const auto& row : rows) {
    const CheckMessage m = checkMessage(row.code);
    EXPECT_FALSE(m.focus) << row.code;
    EXPECT_EQ(m.text, QString::fromUtf8(row.text));
  }
}

TEST(CheckMessages, TwoLineTextsAreJoinedByExactlyOneCarriageReturnAndLineFeed) {
  EXPECT_EQ(checkMessage(10).text, QStringLiteral("本ソフトウェアでは水の単位体積重量＝飽和土単位体積重量にすることは出来ません。"
                                                  "\r\nどちらかを変更して下さい。"));
  EXPECT_EQ(checkMessage(8).text,
            QStringLiteral("自由支承の場合、設計支持角は30,60,90,120,または180にして下さい。"));
  for (std::int32_t code = 1; code <= 19; ++code) {
    const QString text = *checkMessage(code).text;
    const int breaks = code == 10 || code >= 14 ? 1 : 0;
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), breaks) << code;
    EXPECT_EQ(text.count(QLatin1Char('\n')) + text.count(QLatin1Char('\r')), 2 * breaks) << code;
  }
}

}  // namespace
}  // namespace tovakin::gui
