#include "calc/data_check.h"

#include "app/std_io.h"
#include "calc/layer.h"
#include "platform/error_box.h"

namespace tovakin::calc {

namespace {

// "Not greater than 0" takes in 0, every negative value and a NaN.
bool notPositive(double v) { return !(v > 0.0); }

std::int32_t check(const DesignData& d) {
  if (myTrim(d.kanshu.str()).empty()) return 14;
  if (myTrim(d.kikaku.str()).empty()) return 15;
  if (myTrim(d.yobikei.str()).empty()) return 16;
  if (notPositive(d.gaikei)) return 17;
  if (notPositive(d.kanatu)) return 18;
  if ((d.kanzaiKubun == 0.0 || d.kanzaiKubun == 5.0) && notPositive(d.naigaiatuAnzenritu)) return 19;

  const bool fixedSupport = d.kisoKeishiki != 0.0;
  const double angle = d.shijikaku;
  // A flexible pipe on a fixed support rests on 180° only.
  if (d.kanzaiKubun != 0.0 && fixedSupport && angle != 180.0) return 13;
  if ((angle == 30.0 || angle == 60.0) && fixedSupport) return 7;
  if (angle != 30.0 && angle != 60.0 && angle != 90.0 && angle != 120.0 && angle != 180.0)
    return fixedSupport ? 7 : 8;

  if (notPositive(d.naibuMasatukaku)) return 1;
  if (d.naibuMasatukaku >= 90.0) return 5;
  if (notPositive(d.mizuTanniJuryo)) return 9;
  if (d.mizuTanniJuryo == d.howadoTanniJuryo) return 10;
  if (notPositive(d.dokaburi)) return 11;
  if (notPositive(d.tuchiTanniJuryo)) return 2;
  if (notPositive(d.howadoTanniJuryo)) return 3;
  if (d.mizohaba < d.gaikei && (d.maisetuKeishiki == 0.0 || d.maisetuKeishiki == 2.0)) return 4;
  if (d.buruJoken != 0.0 && d.kyatapiraSu != 1 && d.kyatapiraSu != 2) return 6;
  return 0;
}

}  // namespace

std::int32_t MyDataCheck(const DesignData& d) {
  std::int32_t code = 0;
  guardStep("MyDataCheck", [&] { code = check(d); });
  return code;
}

}  // namespace tovakin::calc
