#include "document/check_messages.h"

#include <utility>

#include "calc/data_check.h"
#include "document/document_rules.h"

namespace tovakin::gui {

namespace {

QString lines(const char* first, const char* second) {
  return QString::fromUtf8(first) + QStringLiteral("\r\n") + QString::fromUtf8(second);
}

// The box that shows the field; a field no box shows raises subscript out of range (9) here, not
// once the user has been told to correct a value nobody can see.
CheckMessage box(const RecordField& field, QString text) { return {CheckTarget::box(boxOf(field).index), std::move(text)}; }
CheckMessage list(DocRole role, QString text) { return {CheckTarget::list(role), std::move(text)}; }

// A code the input check does not give.
CheckMessage unknown(std::int32_t code) {
  // QString::number writes plain decimal digits with a leading "-", whatever the locale.
  const QString number = QString::number(code);
  if (code > 1000) return {std::nullopt, QStringLiteral("アプリケーションのエラーです。[") + number + QStringLiteral("]")};
  return {std::nullopt, QStringLiteral("入力値のエラーです。[") + number + QStringLiteral("]")};
}

}  // namespace

CheckMessage checkMessage(std::int32_t code) {
  using D = DesignData;
  using enum calc::CheckCode;
  if (!calc::isCheckCode(code)) return unknown(code);
  switch (static_cast<calc::CheckCode>(code)) {
    case Passed:
      return {};
    case FrictionAngleNotPositive:
      return box(&D::naibuMasatukaku, QStringLiteral("内部摩擦角を0以下にすることは出来ません。"));
    case SoilWeightNotPositive:
      return box(&D::tuchiTanniJuryo, QStringLiteral("土の単位体積重量を0以下にすることは出来ません。"));
    case SaturatedWeightNotPositive:
      return box(&D::howadoTanniJuryo, QStringLiteral("飽和土単位体積重量を0以下にすることは出来ません。"));
    case TrenchNarrowerThanPipe:
      return box(&D::mizohaba, QStringLiteral("溝幅が小さすぎます。少なくとも管外径値以上にして下さい。"));
    case FrictionAngleFrom90:
      return box(&D::naibuMasatukaku, QStringLiteral("内部摩擦角を90以上にすることは出来ません。"));
    case TrackCount:
      return box(&D::kyatapiraSu, QStringLiteral("キャタピラ数は 1 または 2 を入力して下さい。"));
    case FixedSupportAngle:
      return box(&D::shijikaku, QStringLiteral("固定支承の場合、設計支持角は90,120,または180にして下さい。"));
    case FreeSupportAngle:
      return box(&D::shijikaku, QStringLiteral("自由支承の場合、設計支持角は30,60,90,120,または180にして下さい。"));
    case WaterWeightNotPositive:
      return box(&D::mizuTanniJuryo, QStringLiteral("水の単位体積重量を0以下にすることは出来ません。"));
    case WaterEqualsSaturated:
      return box(&D::mizuTanniJuryo, lines("本ソフトウェアでは水の単位体積重量＝飽和土単位体積重量にすることは出来ません。",
                                           "どちらかを変更して下さい。"));
    case CoverNotPositive:
      return box(&D::dokaburi, QStringLiteral("土かぶりを0以下にすることは出来ません。"));
    case FlexibleFixedSupportAngle:
      return box(&D::shijikaku, QStringLiteral("とう性管固定支承の場合、設計支持角は180にして下さい。"));
    case NoPipeType:
      return list(DocRole::Kanshu,
                   lines("管種を選択して下さい。", "目的の管種類データが選択できない場合、管材情報を追加して下さい。"));
    case NoStandard:
      return list(DocRole::Kikaku,
                   lines("管規格を選択して下さい。", "目的の管規格データが選択できない場合、管材情報を追加して下さい。"));
    case NoNominalSize:
      return list(DocRole::Yobina,
                   lines("呼び径を選択して下さい。", "目的の呼び径が選択できない場合、管材情報を追加して下さい。"));
    case OuterDiameterNotPositive:
      return list(DocRole::Yobina, lines("管外径値が0以下になっています。", "管材情報が正しいかどうかご確認下さい。"));
    case WallThicknessNotPositive:
      return list(DocRole::Yobina, lines("管厚値が0以下になっています。", "管材情報が正しいかどうかご確認下さい。"));
    case SafetyFactorNotPositive:
      return {std::nullopt, lines("内外圧合成式の安全率値は0越にしてください。",
                                  "[内外圧合成式の設定]より入力画面を呼び出して、修正して下さい。")};
  }
  return unknown(code);
}

}  // namespace tovakin::gui
