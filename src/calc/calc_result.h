#pragma once
// Every value one design calculation produces for one case. The record is never cleared
// between runs: each run overwrites only the members of the branches it takes, so readers
// take only the members that belong to the case's pipe class, burial type and support form.
#include <array>
#include <cstdint>
#include "calc/layer.h"

namespace tovakin::calc {

// One live-load row: 0 truck (rear wheel), 1 surcharge, 2 bulldozer.
struct LoadRow {
  double kaju = 0.0;       // load P, kN
  double shogeki = 0.0;    // impact coefficient i (truck row only)
  double beta = 0.0;       // reduction factor beta (truck row only)
  double senKaju = 0.0;    // line load 2·P·(1 + i)/C (truck row only)
  double bunpuKaju = 0.0;  // distributed load at the pipe top, kN/m²
};

// Allowable internal pressure of one case; five Doubles in the places of LoadRow.
struct PressureRow {
  double pDash = 0.0;           // P' = M/(0.318·R) (pipe classes 0 and 5)
  double hibiwareGaiatu = 0.0;  // crack external pressure of the chosen pipe
  double hibiwareNaiatu = 0.0;  // crack internal pressure (table value × 1000)
  double kyoyoNaiatu = 0.0;     // allowable internal pressure Pa
  double kyoyoNaiatuMpa = 0.0;  // Pa / 1000
};

// Bending-moment terms of one case, kN·m/m.
struct MomentRow {
  double enchoku = 0.0;  // vertical uniform load
  double suiju = 0.0;    // internal water weight (0 in the construction case)
  double jiju = 0.0;     // pipe self weight (0 for pipe classes 0 and 5)
  double suihei = 0.0;   // side horizontal loads 1 and 2
};

// Case index of the per-case arrays.
inline constexpr int kServiceCase = 0;       // earth, truck and surcharge, with internal water
inline constexpr int kConstructionCase = 1;  // earth and bulldozer, without internal water

struct CalcResult {
  std::int32_t kanzaiKubun = 0;  // pipe class; -1 when the pipe type is not in the table
  double keisuK = 0.0;
  double keisuKo = 0.0;
  double keisuKp = 0.0;
  double sekkeiSuiatu = 0.0;  // MPa
  double kanzaiTanniJuryo = 0.0;
  double fujoHitsuyoDokaburi = 0.0;
  double keisuCd = 0.0;
  double keisuCc = 0.0;
  double wv1 = 0.0;
  double wv2 = 0.0;
  double wv = 0.0;
  double mu = 0.0;
  double muDash = 0.0;
  double doatuKeisu = 0.0;
  double he = 0.0;
  double h2 = 0.0;
  double q1 = 0.0;
  double q2 = 0.0;
  double doatuHanryoku = 0.0;
  double doatuTawami = 0.0;
  double katsuKaju = 0.0;
  double sekojiKaju = 0.0;
  double jidoshaTawami = 0.0;
  double jidoshaHanryoku = 0.0;
  double buruTawami = 0.0;
  double buruHanryoku = 0.0;
  double jijuTawami = 0.0;
  double jijuHanryoku = 0.0;
  double suijuTawami = 0.0;
  double suijuHanryoku = 0.0;
  double kantaiJiju = 0.0;
  std::array<LoadRow, 3> kajuKeisan{};
  double buruL = 0.0;
  std::array<double, 2> sekkeiKaju{};
  std::array<double, 2> hanryokuGokei{};
  std::array<MomentRow, 2> mageMoment{};
  std::array<double, 2> mageMomentGokei{};
  std::array<PressureRow, 2> naiatuKento{};
  std::int16_t wv2GammaFlg = 0;  // Boolean: -1 true, 0 false
  double danseiKeisu = 0.0;
  double danmenNijiMoment = 0.0;
  double ei = 0.0;
  double kantaiJuryo = 0.0;
  std::array<double, 2> tawamiritu{};
  double hippariOryoku = 0.0;
  double kyoyoHippariOryokudo = 0.0;
  double eiChi = 0.0;
  std::array<double, 2> hitsuyoEi{};
};

}  // namespace tovakin::calc
