#pragma once
// The calculation constants: one working copy (built-in values overlaid with TOVAKIN.INI)
// and one copy of the built-in values.
#include <array>
#include "app/layer.h"

namespace tovakin::app {

struct ValueABC {
  double a = 0.0;
  double b = 0.0;
  double c = 0.0;
  bool operator==(const ValueABC&) const = default;
};

struct CalcSettings {
  double fujoKentoAnzenritu = 0.0;   // safety factor S of the flotation check
  double tuchiTanniJuryo = 0.0;      // soil unit weight γ (kN/m3)
  double howadoTanniJuryo = 0.0;     // saturated soil unit weight γsat (kN/m3)
  double mizuTanniJuryo = 0.0;       // unit weight of water γw (kN/m3)
  double naibuMasatukaku = 0.0;      // internal friction angle φ (degrees)
  std::array<double, 6> korinKaju{};  // rear-wheel load P (kN): T-25, T-20, T-14, T-10, none, (unused)
  double betaT25 = 0.0;              // reduction factor β for T-25
  double betaT25Igai = 0.0;          // reduction factor β for the other classes
  double kajuBunpukaku = 0.0;        // distribution angle θ of the truck load (degrees)
  double sharyoSenyuHaba = 0.0;      // vehicle occupied width C (m)
  // [angle column 0°,30°,60°,90°,120°,180°,360°][0 K, 1 Ko, 2 Kp]
  std::array<std::array<double, 3>, 7> shijikakuKeisu{};
  std::array<ValueABC, 2> shogekiKeisu{};  // impact coefficient: 0 unpaved, 1 paved; a H<1.5, b 1.5<=H<2.5, c H>=2.5
  std::array<ValueABC, 5> buruKaju{};      // bulldozer 3, 6, 8, 11, 15 t: a track load A, b track width L (m)
  double kajuA = 0.0;                      // length a (m) added to the truck load spread
  double buruBunpukaku = 0.0;              // distribution angle θb of the bulldozer load (degrees)
  bool operator==(const CalcSettings&) const = default;
};

// The working copy, read by the calculation, the report and new design cases.
extern CalcSettings g_calcSettings;
// The built-in values, set once at start-up.
extern CalcSettings g_calcSettingsDefault;

}  // namespace tovakin::app
