#include "document/check_messages.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace tovakin::gui {
namespace {

using Kind = CheckTarget::Kind;

struct Row {
  std::int32_t code;
  CheckTarget target;
  const char* text;
};

const CheckTarget kBox5 = CheckTarget::box(5), kBox6 = CheckTarget::box(6), kBox7 = CheckTarget::box(7),
                  kBox8 = CheckTarget::box(8), kBox10 = CheckTarget::box(10), kBox11 = CheckTarget::box(11),
                  kBox12 = CheckTarget::box(12), kBox15 = CheckTarget::box(15);

// Every code of the input check but 19, which points at no control.
const Row kRows[] = {
    {1, kBox12, "内部摩擦角を0以下にすることは出来ません。"},
    {2, kBox10, "土の単位体積重量を0以下にすることは出来ません。"},
    {3, kBox11, "飽和土単位体積重量を0以下にすることは出来ません。"},
    {4, kBox5, "溝幅が小さすぎます。少なくとも管外径値以上にして下さい。"},
    {5, kBox12, "内部摩擦角を90以上にすることは出来ません。"},
    {6, kBox15, "キャタピラ数は 1 または 2 を入力して下さい。"},
    {7, kBox6, "固定支承の場合、設計支持角は90,120,または180にして下さい。"},
    {8, kBox6, "自由支承の場合、設計支持角は30,60,90,120,または180にして下さい。"},
    {9, kBox8, "水の単位体積重量を0以下にすることは出来ません。"},
    {10, kBox8,
     "本ソフトウェアでは水の単位体積重量＝飽和土単位体積重量にすることは出来ません。\r\nどちらかを変更して下さい。"},
    {11, kBox7, "土かぶりを0以下にすることは出来ません。"},
    {13, kBox6, "とう性管固定支承の場合、設計支持角は180にして下さい。"},
    {14, CheckTarget::combo(Kind::Kanshu),
     "管種を選択して下さい。\r\n目的の管種類データが選択できない場合、管材情報を追加して下さい。"},
    {15, CheckTarget::combo(Kind::Kikaku),
     "管規格を選択して下さい。\r\n目的の管規格データが選択できない場合、管材情報を追加して下さい。"},
    {16, CheckTarget::combo(Kind::Yobina),
     "呼び径を選択して下さい。\r\n目的の呼び径が選択できない場合、管材情報を追加して下さい。"},
    {17, CheckTarget::combo(Kind::Yobina), "管外径値が0以下になっています。\r\n管材情報が正しいかどうかご確認下さい。"},
    {18, CheckTarget::combo(Kind::Yobina), "管厚値が0以下になっています。\r\n管材情報が正しいかどうかご確認下さい。"},
};

TEST(CheckMessages, EveryCodeOfTheCheckFocusesItsControlAndSaysWhy) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.code);
    const CheckMessage m = checkMessage(row.code);
    ASSERT_TRUE(m.focus.has_value());
    EXPECT_EQ(*m.focus, row.target);
    ASSERT_TRUE(m.text.has_value());
    EXPECT_EQ(*m.text, QString::fromUtf8(row.text));
  }
}

TEST(CheckMessages, TheSafetyFactorPointsAtNoControlOfTheWindow) {
  const CheckMessage m = checkMessage(19);
  EXPECT_FALSE(m.focus.has_value());
  EXPECT_EQ(m.text, QStringLiteral("内外圧合成式の安全率値は0越にしてください。\r\n"
                                   "[内外圧合成式の設定]より入力画面を呼び出して、修正して下さい。"));
}

TEST(CheckMessages, ZeroDoesNothing) {
  const CheckMessage m = checkMessage(0);
  EXPECT_FALSE(m.focus.has_value());
  EXPECT_FALSE(m.text.has_value());
}

TEST(CheckMessages, OtherCodesAreShownWithTheirNumber) {
  const struct {
    std::int32_t code;
    const char* text;
  } rows[] = {
      {12, "入力値のエラーです。[12]"},  // a gap in the check's codes
      {20, "入力値のエラーです。[20]"},
      {-1, "入力値のエラーです。[-1]"},
      {1000, "入力値のエラーです。[1000]"},  // 1000 itself is not above 1000
      {1001, "アプリケーションのエラーです。[1001]"},
      {INT32_MAX, "アプリケーションのエラーです。[2147483647]"},
      {INT32_MIN, "入力値のエラーです。[-2147483648]"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.code);
    const CheckMessage m = checkMessage(row.code);
    EXPECT_FALSE(m.focus.has_value());
    EXPECT_EQ(m.text, QString::fromUtf8(row.text));
  }
}

TEST(CheckMessages, TwoLineTextsAreJoinedByOneLineBreakAndOneLineTextsHaveNone) {
  for (std::int32_t code = 1; code <= 19; ++code) {
    SCOPED_TRACE(code);
    const QString text = *checkMessage(code).text;
    const bool twoLines = code == 10 || (code >= 14 && code <= 19);
    EXPECT_EQ(text.count(QStringLiteral("\r\n")), twoLines ? 1 : 0);
    EXPECT_EQ(text.count(QLatin1Char('\n')), twoLines ? 1 : 0) << "no bare line feed";
    EXPECT_EQ(text.count(QLatin1Char('\r')), twoLines ? 1 : 0) << "no bare carriage return";
  }
}

}  // namespace
}  // namespace tovakin::gui
