#include "calc/data_check.h"

#include "app/std_io.h"
#include "calc/layer.h"
#include "platform/error_box.h"

namespace tovakin::calc {

namespace {

// "Not greater than 0" takes in 0, every negative value and a NaN.
bool notPositive(double v) { return !(v > 0.0); }

CheckCode check(const DesignData& d) {
  if (myTrim(d.kanshu.str()).empty()) return CheckCode::NoPipeType;
  if (myTrim(d.kikaku.str()).empty()) return CheckCode::NoStandard;
  if (myTrim(d.yobikei.str()).empty()) return CheckCode::NoNominalSize;
  if (notPositive(d.gaikei)) return CheckCode::OuterDiameterNotPositive;
  if (notPositive(d.kanatu)) return CheckCode::WallThicknessNotPositive;
  if ((d.kanzaiKubun == 0.0 || d.kanzaiKubun == 5.0) && notPositive(d.naigaiatuAnzenritu))
    return CheckCode::SafetyFactorNotPositive;

  const bool fixedSupport = d.kisoKeishiki != 0.0;
  const double angle = d.shijikaku;
  // A flexible pipe on a fixed support rests on 180° only.
  if (d.kanzaiKubun != 0.0 && fixedSupport && angle != 180.0) return CheckCode::FlexibleFixedSupportAngle;
  if ((angle == 30.0 || angle == 60.0) && fixedSupport) return CheckCode::FixedSupportAngle;
  if (angle != 30.0 && angle != 60.0 && angle != 90.0 && angle != 120.0 && angle != 180.0)
    return fixedSupport ? CheckCode::FixedSupportAngle : CheckCode::FreeSupportAngle;

  if (notPositive(d.naibuMasatukaku)) return CheckCode::FrictionAngleNotPositive;
  if (d.naibuMasatukaku >= 90.0) return CheckCode::FrictionAngleFrom90;
  if (notPositive(d.mizuTanniJuryo)) return CheckCode::WaterWeightNotPositive;
  if (d.mizuTanniJuryo == d.howadoTanniJuryo) return CheckCode::WaterEqualsSaturated;
  if (notPositive(d.dokaburi)) return CheckCode::CoverNotPositive;
  if (notPositive(d.tuchiTanniJuryo)) return CheckCode::SoilWeightNotPositive;
  if (notPositive(d.howadoTanniJuryo)) return CheckCode::SaturatedWeightNotPositive;
  if (d.mizohaba < d.gaikei && (d.maisetuKeishiki == 0.0 || d.maisetuKeishiki == 2.0))
    return CheckCode::TrenchNarrowerThanPipe;
  if (d.buruJoken != 0.0 && d.kyatapiraSu != 1 && d.kyatapiraSu != 2) return CheckCode::TrackCount;
  return CheckCode::Passed;
}

}  // namespace

bool isCheckCode(std::int32_t code) {
  using enum CheckCode;
  switch (static_cast<CheckCode>(code)) {
    case Passed:
    case FrictionAngleNotPositive:
    case SoilWeightNotPositive:
    case SaturatedWeightNotPositive:
    case TrenchNarrowerThanPipe:
    case FrictionAngleFrom90:
    case TrackCount:
    case FixedSupportAngle:
    case FreeSupportAngle:
    case WaterWeightNotPositive:
    case WaterEqualsSaturated:
    case CoverNotPositive:
    case FlexibleFixedSupportAngle:
    case NoPipeType:
    case NoStandard:
    case NoNominalSize:
    case OuterDiameterNotPositive:
    case WallThicknessNotPositive:
    case SafetyFactorNotPositive: return true;
  }
  return false;
}

std::int32_t MyDataCheck(const DesignData& d) {
  std::int32_t code = 0;
  guardStep("MyDataCheck", [&] { code = static_cast<std::int32_t>(check(d)); });
  return code;
}

}  // namespace tovakin::calc
