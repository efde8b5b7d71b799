#include "document/check_messages.h"

#include <utility>

namespace tovakin::gui {

namespace {

// Text boxes of the document window that the check points at.
constexpr int kMizohaba = 5;           // 溝幅
constexpr int kShijikaku = 6;          // 設計支持角
constexpr int kDokaburi = 7;           // 土かぶり
constexpr int kMizuTanniJuryo = 8;     // 水の単位体積重量
constexpr int kTuchiTanniJuryo = 10;   // 土の単位体積重量
constexpr int kHowadoTanniJuryo = 11;  // 飽和土単位体積重量
constexpr int kNaibuMasatukaku = 12;   // 内部摩擦角
constexpr int kKyatapiraSu = 15;       // キャタピラ数

QString lines(const char* first, const char* second) {
  return QString::fromUtf8(first) + QStringLiteral("\r\n") + QString::fromUtf8(second);
}

CheckMessage box(int index, QString text) { return {CheckTarget::box(index), std::move(text)}; }
CheckMessage combo(CheckTarget::Kind kind, QString text) { return {CheckTarget::combo(kind), std::move(text)}; }

}  // namespace

CheckMessage checkMessage(std::int32_t code) {
  using Kind = CheckTarget::Kind;
  switch (code) {
    case 0:
      return {};
    case 1:
      return box(kNaibuMasatukaku, QStringLiteral("内部摩擦角を0以下にすることは出来ません。"));
    case 2:
      return box(kTuchiTanniJuryo, QStringLiteral("土の単位体積重量を0以下にすることは出来ません。"));
    case 3:
      return box(kHowadoTanniJuryo, QStringLiteral("飽和土単位体積重量を0以下にすることは出来ません。"));
    case 4:
      return box(kMizohaba, QStringLiteral("溝幅が小さすぎます。少なくとも管外径値以上にして下さい。"));
    case 5:
      return box(kNaibuMasatukaku, QStringLiteral("内部摩擦角を90以上にすることは出来ません。"));
    case 6:
      return box(kKyatapiraSu, QStringLiteral("キャタピラ数は 1 または 2 を入力して下さい。"));
    case 7:
      return box(kShijikaku, QStringLiteral("固定支承の場合、設計支持角は90,120,または180にして下さい。"));
    case 8:
      return box(kShijikaku, QStringLiteral("自由支承の場合、設計支持角は30,60,90,120,または180にして下さい。"));
    case 9:
      return box(kMizuTanniJuryo, QStringLiteral("水の単位体積重量を0以下にすることは出来ません。"));
    case 10:
      return box(kMizuTanniJuryo, lines("本ソフトウェアでは水の単位体積重量＝飽和土単位体積重量にすることは出来ません。",
                                        "どちらかを変更して下さい。"));
    case 11:
      return box(kDokaburi, QStringLiteral("土かぶりを0以下にすることは出来ません。"));
    case 13:
      return box(kShijikaku, QStringLiteral("とう性管固定支承の場合、設計支持角は180にして下さい。"));
    case 14:
      return combo(Kind::Kanshu,
                   lines("管種を選択して下さい。", "目的の管種類データが選択できない場合、管材情報を追加して下さい。"));
    case 15:
      return combo(Kind::Kikaku,
                   lines("管規格を選択して下さい。", "目的の管規格データが選択できない場合、管材情報を追加して下さい。"));
    case 16:
      return combo(Kind::Yobina,
                   lines("呼び径を選択して下さい。", "目的の呼び径が選択できない場合、管材情報を追加して下さい。"));
    case 17:
      return combo(Kind::Yobina, lines("管外径値が0以下になっています。", "管材情報が正しいかどうかご確認下さい。"));
    case 18:
      return combo(Kind::Yobina, lines("管厚値が0以下になっています。", "管材情報が正しいかどうかご確認下さい。"));
    case 19:
      return {std::nullopt, lines("内外圧合成式の安全率値は0越にしてください。",
                                  "[内外圧合成式の設定]より入力画面を呼び出して、修正して下さい。")};
    default:
      break;
  }
  // QString::number writes plain decimal digits with a leading "-", whatever the locale.
  const QString number = QString::number(code);
  if (code > 1000) return {std::nullopt, QStringLiteral("アプリケーションのエラーです。[") + number + QStringLiteral("]")};
  return {std::nullopt, QStringLiteral("入力値のエラーです。[") + number + QStringLiteral("]")};
}

}  // namespace tovakin::gui
