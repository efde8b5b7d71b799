#include "calc/pipe_calc.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "app/load_classes.h"
#include "app/number_format.h"
#include "app/std_io.h"
#include "calc/calc_numbers.h"
#include "calc/coefficients.h"
#include "calc/he_solver.h"
#include "calc/layer.h"
#include "calc/pipe_db_sqlite.h"
#include "calc/pipe_lookups.h"
#include "platform/error_box.h"

namespace tovakin::calc {

namespace {

constexpr double kPi = 3.14159265358979;

double radians(double degrees) { return degrees * kPi / 180.0; }

// Whole-number powers are written x ^ n in the formulas.
double pw(double x, double n) { return vbPow(x, n); }

// The spread of a load over the cover depth, 2·H·tan θ + a. At exactly 45° the tangent is
// taken as 1 without evaluating it (tan(45·π/180) is not exactly 1 in binary).
double spread(double H, double thetaDeg, double a) {
  if (thetaDeg == 45.0) return checked(2.0 * H + a);
  return checked(2.0 * H * std::tan(radians(thetaDeg)) + a);
}

// One run of the calculation: the records and constants it works on, and one member
// function per group of steps. The groups run in the order funcPipeCalc lists them; each
// reads what the earlier ones stored (the result, the pipe kind and the rounded thickness).
class PipeCalculation {
 public:
  PipeCalculation(DesignData& designData, CalcResult& result, const CalcSettings& settings)
      : design(designData), r(result), cs(settings) {}

  void pipeAndMaterial();
  void supportAndStiffness();
  void waterPressureAndPipeWeight();
  void flotation();
  void soilCoefficients();
  void verticalEarthPressure();
  void sideEarthPressures();
  void truckLoad();
  void surcharge();
  void bulldozerLoad();
  void designLoads();
  void sideReactions();
  void bendingMoments();
  void allowableInternalPressure();
  void deflectionRatioOrRequiredEi();

  // True when every statement completed (at once or on Retry).
  bool completed() const { return !skipped_; }

 private:
  // Every statement that can fail runs on its own under the error box: Retry repeats it,
  // Ignore skips it, so the member it would have written keeps its earlier value, and the
  // run is no longer complete: that member belongs to an earlier case, or to none.
  template <class Statement>
  void step(Statement&& statement) {
    static const std::string kLabel = "funcPipeCalc";
    if (!guardStep(kLabel, std::forward<Statement>(statement))) skipped_ = true;
  }

  // Vertical earth pressure of the two pipe kinds.
  void rigidVerticalEarthPressure();
  void flexibleVerticalEarthPressure();
  // Projection formula with He (a = ±2Kμ), shared by both pipe kinds.
  void projection(double sign);
  // Trench coefficient Cd, the same for both pipe kinds.
  void trenchCoefficient();
  void smallerOfTrenchAndProjection() { r.wv = r.wv1 > r.wv2 ? r.wv2 : r.wv1; }
  double kMu() const { return r.doatuKeisu * r.mu; }
  double kMuDash() const { return r.doatuKeisu * r.muDash; }

  // Deflection ΔX(K, P, F) = 2·K·P·R⁴·F / (0.061·e'·R³ + EI) and its side reaction
  // (1/F)·(e'/R)·(ΔX/2).
  double deflection(double K, double P, double F) const {
    const double den = 0.061 * eDash * pw(R, 3) + r.ei;
    return vbDiv(2.0 * K * P * pw(R, 4) * F, den);
  }
  double reaction(double dx, double F) const { return checked(vbDiv(1.0, F) * vbDiv(eDash, R) * (dx / 2.0)); }

  // Bending-moment coefficient of a load case, looked up where it is used.
  double k(int loadCase) const {
    return func曲げモーメント係数(loadCase, design.kisoKeishiki, design.shijikaku, design.kanzaiKubun);
  }

  // Deflection term of case c (0 in service, 1 construction); the construction case carries
  // no internal water.
  double X(int c) const {
    if (c == 0) {
      return checked((r.keisuK * r.wv + gammaW * r.keisuKo * R + r.keisuKp * r.kantaiJiju) * F1 +
                     F2 * r.keisuK * r.katsuKaju);
    }
    return checked((r.keisuK * r.wv + r.keisuKp * r.kantaiJiju) * F1 + F2 * r.keisuK * r.sekojiKaju);
  }

  DesignData& design;
  CalcResult& r;
  const CalcSettings& cs;
  const std::string& kanshu = design.kanshu.str();

  const double D = design.gaikei;
  const double d = design.naikei;
  const double H = design.dokaburi;
  const double B = design.mizohaba;
  const double m = design.maisetuKeishiki;
  const double gamma = design.tuchiTanniJuryo;
  const double gammaSat = design.howadoTanniJuryo;
  const double gammaW = design.mizuTanniJuryo;
  const double R = design.chushinHankei;
  const double eDash = design.hanryokuKeisu;
  const double F1 = design.henkeiOkureF1;
  const double F2 = design.henkeiOkureF2;

  bool flexible = false;  // from the pipe class of step 1
  double t = 0.0;         // the wall thickness as rounded in step 3
  bool skipped_ = false;  // a statement failed and was passed by Ignore
};

void PipeCalculation::pipeAndMaterial() {
  // 1. Pipe class.
  step([&] { r.kanzaiKubun = func管材区分(kanshu); });
  flexible = r.kanzaiKubun != 0;

  // 2. Material data.
  step([&] { r.kanzaiTanniJuryo = 管材の単位体積重量(kanshu); });
  step([&] { r.danseiKeisu = 管材の弾性係数(kanshu); });

  // 3. Wall thicknesses, in place; every later step uses the rounded t.
  step([&] { design.kanatu = roundTo(design.kanatu, 5); });
  step([&] { design.kanatuKeisan = roundTo(design.kanatuKeisan, 5); });
  t = design.kanatu;

  // 4. Second moment of area per unit length.
  step([&] { r.danmenNijiMoment = checked(pw(t, 3) / 12.0); });
}

void PipeCalculation::supportAndStiffness() {
  // 5. Depth of the lower end of the side pressure.
  if (design.kisoKeishiki == 1.0) {
    step([&] { r.h2 = checked(H + t + d / 2.0 + (d / 2.0) * std::cos(radians(design.shijikaku / 2.0))); });
  } else {
    step([&] { r.h2 = checked(H + t + d); });
  }

  // 6. Support coefficients and stiffness.
  step([&] { r.keisuK = func設計支持角係数(cs, design.shijikaku, 0); });
  if (flexible) {
    step([&] { r.keisuKo = func設計支持角係数(cs, design.shijikaku, 1); });
    step([&] { r.keisuKp = func設計支持角係数(cs, design.shijikaku, 2); });
    step([&] { r.ei = checked(r.danseiKeisu * r.danmenNijiMoment); });
    step([&] { r.kantaiJiju = checked(管材の単位体積重量(myTrim(kanshu)) * t); });
  }
}

void PipeCalculation::waterPressureAndPipeWeight() {
  // 7. Design water pressure.
  step([&] { r.sekkeiSuiatu = checked(design.seisuiatu + design.suigekiatu); });

  // 8. Pipe weight per unit length.
  step([&] { r.kantaiJuryo = checked((pw(D, 2) - pw(D - 2.0 * t, 2)) * r.kanzaiTanniJuryo * kPi / 4.0); });
}

void PipeCalculation::flotation() {
  // 9. Cover depth required against flotation.
  step([&] {
    const double lift = cs.fujoKentoAnzenritu * gammaW - (1.0 - pw(vbDiv(d, D), 2)) * r.kanzaiTanniJuryo;
    r.fujoHitsuyoDokaburi = checked(vbDiv(lift, gammaSat - gammaW) * (kPi * D / 4.0));
  });
}

void PipeCalculation::soilCoefficients() {
  // 10. Soil coefficients.
  step([&] { r.mu = checked(std::tan(radians(design.naibuMasatukaku))); });
  step([&] { r.muDash = checked(std::tan(radians(design.naibuMasatukaku))); });
  step([&] {
    const double s = std::sin(radians(design.naibuMasatukaku));
    r.doatuKeisu = vbDiv(1.0 - s, 1.0 + s);
  });
}

void PipeCalculation::projection(double sign) {
  step([&] { r.he = checked(funcHe(design, r)); });
  step([&] {
    const double a = sign * 2.0 * kMu();
    const double He = r.he;
    double cc = 0.0;
    if (H > He) {
      cc = vbDiv(vbExp(vbDiv(a * He, D)) - 1.0, a) + vbDiv(H - He, D) * vbExp(vbDiv(a * He, D));
    } else {
      cc = vbDiv(vbExp(vbDiv(a * H, D)) - 1.0, a);
    }
    r.keisuCc = roundTo(checked(cc), 3);
  });
  step([&] { r.wv2 = checked(gamma * r.keisuCc * D); });
}

void PipeCalculation::trenchCoefficient() {
  step([&] {
    const double cd = vbDiv(1.0 - vbExp(vbDiv(-2.0 * kMuDash() * H, B)), 2.0 * kMuDash());
    r.keisuCd = roundTo(checked(cd), 3);
  });
}

void PipeCalculation::verticalEarthPressure() {
  // 11. Vertical earth pressure.
  r.he = 0.0;
  if (!flexible) {
    rigidVerticalEarthPressure();
  } else {
    flexibleVerticalEarthPressure();
  }
}

void PipeCalculation::rigidVerticalEarthPressure() {
  if (m == 0.0 || m == 1.0) {
    projection(+1.0);
    if (m == 0.0) {
      trenchCoefficient();
      step([&] { r.wv1 = vbDiv(gamma * r.keisuCd * pw(B, 2), D); });
      smallerOfTrenchAndProjection();
    } else {
      r.wv = r.wv2;
    }
  } else if (m == 2.0) {
    step([&] { r.wv = vbDiv(gamma * H * B, D); });
  } else {
    step([&] { r.wv = checked(gamma * H); });
  }
}

void PipeCalculation::flexibleVerticalEarthPressure() {
  r.wv2GammaFlg = 0;
  if (m == 0.0 || m == 1.0) {
    projection(-1.0);
    if (m == 0.0) {
      trenchCoefficient();
      step([&] { r.wv1 = checked(gamma * r.keisuCd * B); });
      smallerOfTrenchAndProjection();
    } else {
      r.wv = r.wv2;
    }
  } else {
    step([&] { r.wv = checked(gamma * H); });
  }
  // Up to 2 m of cover a flexible pipe carries the prism load; deeper, the trench or
  // projection load is at least the prism load at 2.00 m.
  if (H <= 2.0) {
    step([&] { r.wv = checked(gamma * H); });
  } else if ((m == 0.0 || m == 1.0) && r.wv < 2.0 * gamma) {
    step([&] { r.wv = checked(2.0 * gamma); });
    r.wv2GammaFlg = -1;
  }
}

void PipeCalculation::sideEarthPressures() {
  // 12. Side earth pressures.
  step([&] { r.q1 = checked(r.doatuKeisu * gamma * H); });
  step([&] { r.q2 = checked(r.doatuKeisu * gamma * r.h2); });

  if (!flexible) {
    r.doatuHanryoku = 0.0;
  } else {
    step([&] { r.doatuTawami = deflection(r.keisuK, r.wv, F1); });
    step([&] { r.doatuHanryoku = reaction(r.doatuTawami, F1); });
  }
}

void PipeCalculation::truckLoad() {
  // 13. Truck load. "None" takes the T-0 entry. A class the table lacks is an error of its own:
  // the run is not completed, rather than calculated with another class's load.
  LoadRow& truck = r.kajuKeisan[0];
  step([&] {
    const app::TruckClass& truckClass = app::truckClass(design.kajuJoken);
    truck.kaju = cs.korinKaju.at(truckClass.load);
    truck.beta = cs.*truckClass.beta;
  });
  step([&] {
    const std::int32_t road = toLongHalfEven(design.doroJoken);
    if (road != 0 && road != 1) raiseError(err::kOutOfRange);
    const ValueABC& impact = cs.shogekiKeisu[static_cast<std::size_t>(road)];
    truck.shogeki = H < 1.5 ? impact.a : (H < 2.5 ? impact.b : impact.c);
  });
  step([&] { truck.senKaju = checked(vbDiv(2.0 * truck.kaju, cs.sharyoSenyuHaba) * (1.0 + truck.shogeki)); });
  step([&] { truck.bunpuKaju = vbDiv(truck.senKaju * truck.beta, spread(H, cs.kajuBunpukaku, cs.kajuA)); });
}

void PipeCalculation::surcharge() {
  // 14. Surcharge.
  step([&] { r.kajuKeisan[1].bunpuKaju = textToDouble(design.josaiKaju.str()); });
}

void PipeCalculation::bulldozerLoad() {
  // 15. Bulldozer.
  LoadRow& dozer = r.kajuKeisan[2];
  // A class the table lacks fails its step, as an unknown truck class does.
  step([&] {
    const app::BulldozerClass& dozerClass = app::bulldozerClass(design.buruJoken);
    dozer.kaju = r.buruL = 0.0;  // no bulldozer
    if (dozerClass.load) {
      dozer.kaju = cs.buruKaju.at(*dozerClass.load).a;
      r.buruL = cs.buruKaju.at(*dozerClass.load).b;
    }
  });
  if (design.buruJoken != 0.0) {
    step([&] {
      const double load = static_cast<double>(design.kyatapiraSu) * dozer.kaju * (1.0 + design.sekojiShogekiKeisu) * r.buruL;
      dozer.bunpuKaju = vbDiv(load, spread(H, cs.buruBunpukaku, r.buruL));
    });
  } else {
    dozer.bunpuKaju = 0.0;
  }
}

void PipeCalculation::designLoads() {
  // 16. Design loads and live loads.
  const LoadRow& truck = r.kajuKeisan[0];
  const LoadRow& dozer = r.kajuKeisan[2];
  step([&] {
    r.sekkeiKaju[0] = roundTo(checked(textToDouble(design.josaiKaju.str()) + (r.wv + truck.bunpuKaju)), 3);
  });
  step([&] { r.sekkeiKaju[1] = roundTo(checked(r.wv + dozer.bunpuKaju), 3); });
  step([&] { r.katsuKaju = checked(textToDouble(design.josaiKaju.str()) + truck.bunpuKaju); });
  r.sekojiKaju = dozer.bunpuKaju;
}

void PipeCalculation::sideReactions() {
  // 17. Deflections and side reactions of the live loads, the self weight and the water.
  if (flexible) {
    step([&] { r.jidoshaTawami = deflection(r.keisuK, r.katsuKaju, F2); });
    step([&] { r.jidoshaHanryoku = reaction(r.jidoshaTawami, F2); });
    step([&] { r.buruTawami = deflection(r.keisuK, r.sekojiKaju, F2); });
    step([&] { r.buruHanryoku = reaction(r.buruTawami, F2); });
    if (r.kanzaiKubun == 5) {
      r.jijuTawami = 0.0;
      r.jijuHanryoku = 0.0;
    } else {
      step([&] { r.jijuTawami = deflection(r.keisuKp, r.kantaiJiju, F1); });
      step([&] { r.jijuHanryoku = reaction(r.jijuTawami, F1); });
    }
    step([&] {
      const double den = 0.061 * eDash * pw(R, 3) + r.ei;
      r.suijuTawami = vbDiv(2.0 * r.keisuKo * gammaW * pw(R, 5) * F1, den);
    });
    step([&] { r.suijuHanryoku = reaction(r.suijuTawami, F1); });
    step([&] {
      r.hanryokuGokei[0] = checked(r.doatuHanryoku + r.jidoshaHanryoku + r.jijuHanryoku + r.suijuHanryoku);
    });
    step([&] { r.hanryokuGokei[1] = checked(r.doatuHanryoku + r.buruHanryoku + r.jijuHanryoku); });
  }

  // 18. Side-reaction totals, for every pipe class.
  step([&] { r.hanryokuGokei[0] = roundTo(r.hanryokuGokei[0], 3); });
  step([&] { r.hanryokuGokei[1] = roundTo(r.hanryokuGokei[1], 3); });
}

void PipeCalculation::bendingMoments() {
  // 19. Bending moments; each coefficient is looked up where it is used.
  for (int c = 0; c < 2; ++c) {
    step([&] { r.mageMoment[c].enchoku = checked(k(1) * r.sekkeiKaju[c] * pw(R, 2)); });
  }
  step([&] { r.mageMoment[0].suiju = checked(k(2) * gammaW * pw(R, 3)); });
  r.mageMoment[1].suiju = 0.0;
  if (r.kanzaiKubun == 0 || r.kanzaiKubun == 5) {
    r.mageMoment[0].jiju = 0.0;
    r.mageMoment[1].jiju = 0.0;
  } else {
    step([&] { r.mageMoment[0].jiju = checked(k(3) * r.kantaiJuryo * R); });
    r.mageMoment[1].jiju = r.mageMoment[0].jiju;
  }
  if (r.kanzaiKubun == 0 || design.kisoKeishiki != 0.0) {
    double k5 = 0.0;
    double k4 = 0.0;
    step([&] { k5 = k(5); });
    step([&] { k4 = k(4); });
    step([&] { r.mageMoment[0].suihei = checked(-(k4 * r.q1 + k5 * r.q2) * pw(R, 2)); });
    r.mageMoment[1].suihei = r.mageMoment[0].suihei;
  } else {
    // A flexible pipe on a free support: the side reactions act as the horizontal load.
    for (int c = 0; c < 2; ++c) {
      step([&] { r.mageMoment[c].suihei = checked(-k(4) * r.hanryokuGokei[c] * pw(R, 2)); });
    }
  }
  for (int c = 0; c < 2; ++c) {
    step([&] {
      const MomentRow& mm = r.mageMoment[c];
      r.mageMomentGokei[c] = roundTo(checked(mm.enchoku + mm.suiju + mm.jiju + mm.suihei), 3);
    });
  }
}

void PipeCalculation::allowableInternalPressure() {
  // 20. Allowable internal pressure, by the class of the design record.
  const double designClass = design.kanzaiKubun;
  const double S = design.naigaiatuAnzenritu;
  if (designClass == 0.0 || designClass == 5.0) {
    // Combination formula of the internal and external pressures.
    step([&] { r.naiatuKento[0].hibiwareGaiatu = func許容内水圧PC(design); });
    step([&] { r.naiatuKento[0].hibiwareNaiatu = func許容内水圧HC(design); });
    r.naiatuKento[1].hibiwareGaiatu = r.naiatuKento[0].hibiwareGaiatu;
    r.naiatuKento[1].hibiwareNaiatu = r.naiatuKento[0].hibiwareNaiatu;
    for (int c = 0; c < 2; ++c) {
      PressureRow& row = r.naiatuKento[c];
      const double M = r.mageMomentGokei[c];
      step([&] { row.pDash = vbDiv(M, 0.318 * R); });
      if (M >= 0.0 && row.hibiwareGaiatu > 0.0) {
        step([&] {
          const double ratio = vbDiv(row.pDash * S, row.hibiwareGaiatu);
          row.kyoyoNaiatu = checked((1.0 - vbPow(ratio, design.naigaiatuKeisuN)) * vbDiv(row.hibiwareNaiatu, S));
        });
      } else {
        row.kyoyoNaiatu = 0.0;
      }
    }
  } else {
    // Stress formula.
    step([&] { r.hippariOryoku = funcσ(kanshu); });
    step([&] { r.kyoyoHippariOryokudo = funcσa(kanshu); });
    for (int c = 0; c < 2; ++c) {
      step([&] {
        const double num = pw(t, 2) * r.kyoyoHippariOryokudo - 6.0 * r.hippariOryoku * r.mageMomentGokei[c];
        r.naiatuKento[c].kyoyoNaiatu = vbDiv(num, 0.5 * d * t);
      });
    }
  }
  for (int c = 0; c < 2; ++c) {
    step([&] { r.naiatuKento[c].kyoyoNaiatuMpa = checked(r.naiatuKento[c].kyoyoNaiatu / 1000.0); });
  }
}

void PipeCalculation::deflectionRatioOrRequiredEi() {
  // 21. Deflection ratio or required EI, by the class of the design record.
  const double designClass = design.kanzaiKubun;
  if (designClass == 0.0) {
    // A rigid pipe has neither.
  } else if (designClass == 5.0) {
    step([&] { r.eiChi = funcEI値(kanshu, design.kikaku.str(), textToDouble(design.yobikei.str())); });
    for (int c = 0; c < 2; ++c) {
      step([&] {
        r.hitsuyoEi[c] = checked(pw(R, 3) * (vbDiv(X(c), design.sekkeiTawamiritu / 100.0) - 0.061 * eDash));
      });
    }
  } else {
    for (int c = 0; c < 2; ++c) {
      step([&] { r.tawamiritu[c] = checked(vbDiv(X(c), vbDiv(r.ei, pw(R, 3)) + 0.061 * eDash) * 100.0); });
    }
  }
}

}  // namespace

bool funcPipeCalc(DesignData& design, CalcResult& result, const CalcSettings& settings) {
  // One calculation is one action: a database that fails is reported once, and a value it
  // could not give makes the run incomplete, as a failed statement does.
  PipeDataAction action;
  // Without a usable database every pipe value would be 0: nothing is calculated on that.
  if (!guardStep("funcPipeCalc", [] {
        if (const auto why = pipeDataUnavailable()) raiseError(pipedb::dberr::kFileNotFound, *why);
      }))
    return false;
  PipeCalculation calc(design, result, settings);
  calc.pipeAndMaterial();              // 1-4 pipe class, material, wall thickness, I
  calc.supportAndStiffness();          // 5-6 lower end of the side pressure, K Ko Kp, EI
  calc.waterPressureAndPipeWeight();   // 7-8
  calc.flotation();                    // 9
  calc.soilCoefficients();             // 10 μ, μ', K
  calc.verticalEarthPressure();        // 11 He, Cc, Cd, Wv
  calc.sideEarthPressures();           // 12 q1, q2 and the earth-pressure reaction
  calc.truckLoad();                    // 13
  calc.surcharge();                    // 14
  calc.bulldozerLoad();                // 15
  calc.designLoads();                  // 16
  calc.sideReactions();                // 17-18
  calc.bendingMoments();               // 19
  calc.allowableInternalPressure();    // 20
  calc.deflectionRatioOrRequiredEi();  // 21
  return calc.completed() && !action.failed();
}

bool funcPipeCalc(DesignData& design, CalcResult& result) { return funcPipeCalc(design, result, g_calcSettings); }

}  // namespace tovakin::calc
