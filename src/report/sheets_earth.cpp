// The earth sections: flotation, He, vertical earth pressure and the reaction modulus e'.
// Formula texts are the general formulas of the template with the case's numbers put in; the
// sheets recompute nothing except the few products they show (γ·H, B × 1000, E·I), and the e'
// sheets evaluate each formula they would print, to print only those that hold.
#include "report/sheets_earth.h"

#include <cmath>
#include <optional>
#include <string>

#include "app/calc_settings.h"
#include "app/number_format.h"
#include "app/design_data.h"
#include "app/reaction_modulus_constants.h"
#include "calc/calc_result.h"
#include "calc/reaction_modulus.h"
#include "platform/error_box.h"
#include "report/cell_conventions.h"
#include "report/layer.h"
#include "report/sheet_plan.h"

namespace tovakin::report {

// ---- 浮上に対する検討 ------------------------------------------------------------------------

void writeFlotationSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const double s = ctx.settings.fujoKentoAnzenritu;

  ctx.title("．浮上に対する検討");
  ctx.put("G10", [&] { return "π×" + num(d.gaikei, "0.0000"); });
  ctx.putRaised("O10", [&] {
    return num(s, "0.0") + "×" + num(d.mizuTanniJuryo, "0.00") + "－（1－（" + num(d.naikei, "0.0000") + "／" +
           num(d.gaikei, "0.0000") + "）^2）×" + num(r.kanzaiTanniJuryo, "0.00");
  });
  ctx.put("O11", [&] { return num(d.howadoTanniJuryo, "0.00") + "－" + num(d.mizuTanniJuryo, "0.00"); });
  ctx.put("G12", [&] { return num(r.fujoHitsuyoDokaburi, "0.000"); });
  // The design cover beside the required one, so that the reader compares them on this page.
  ctx.putNumber("V12", d.dokaburi, "0.000");
  ctx.put("H23", [&] { return "：安全率（" + num(s, "0.0") + "とする）"; });
}

// ---- Heの計算 ---------------------------------------------------------------------------------

void writeHeSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const int sheet = ctx.variant();
  // The variant carries both choices: rigid pipes settle upwards beside the pipe (exponent
  // 2×), flexible pipes downwards (-2×); the H > He variants add the incomplete-condition term.
  const bool rigid = sheet == entry::kHe剛 || sheet == entry::kHe剛上;
  const bool above = sheet == entry::kHe剛上 || sheet == entry::kHe撓上;
  const std::string two = rigid ? "2×" : "-2×";
  auto kMu = [&] { return num(r.doatuKeisu, "0.000") + "×" + num(r.mu, "0.000"); };

  if (above) {
    ctx.put("W31", [&] { return num(d.dokaburi, "0.000"); });
    ctx.put("AA31", [&] { return num(r.he, "0.000"); });
    ctx.put("W32", [&] { return num(d.gaikei, "0.0000"); });
    ctx.put("AA32", [&] { return num(d.gaikei, "0.0000"); });
    ctx.put("G33", [&] {
      return "×Exp｛" + two + kMu() + "×（" + num(r.he, "0.000") + "／" + num(d.gaikei, "0.0000") + "）｝";
    });
  }
  ctx.put("G31", [&] {
    const double height = above ? r.he : d.dokaburi;
    return "Exp｛" + two + kMu() + "×（" + num(height, "0.000") + "／" + num(d.gaikei, "0.0000") + "）｝－1";
  });
  ctx.put("G32", [&] { return two + kMu(); });

  ctx.title("．突出型の場合のＨｅの算定");
  ctx.write("D8", ctx.heading("－１．Ｈｅの計算"));
  ctx.write("D18", ctx.heading("－２．突出型の場合の土圧係数"));
  ctx.put("G25", [&] { return num(d.dokaburi, "0.000"); });
  ctx.put("G16", [&] { return num(r.he, "0.000"); });
  ctx.put("G26", [&] { return num(r.he, "0.000"); });
  ctx.put("G34", [&] { return num(r.keisuCc, "0.000"); });
}

// ---- 鉛直土圧 ---------------------------------------------------------------------------------

namespace {

// The trench block of a projecting burial holds this sentence and no numbers: the calculation
// computes no trench load then, and whatever B, Cd and Wv1 the records still hold belong to
// another case.
constexpr const char* kNoTrenchCalculation = "突出型のため溝型の計算は行わない";

// The trench coefficient's numerator and denominator, the same on both pipe classes.
void trenchCoefficientTexts(SectionContext& ctx, const char* numerator, const char* denominator) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  ctx.put(numerator, [&] {
    return "1－Exp｛-2×" + num(r.doatuKeisu, "0.000") + "×" + num(r.muDash, "0.000") + "×（" +
           num(d.dokaburi, "0.000") + "／" + num(d.mizohaba, "0.0000") + "）｝";
  });
  ctx.put(denominator, [&] { return "2×" + num(r.doatuKeisu, "0.000") + "×" + num(r.muDash, "0.000"); });
}

void writeRigidVerticalEarth(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const bool trench = d.maisetuKeishiki == 0;
  ctx.title("．鉛直土圧計算");
  ctx.write("D8", ctx.heading("－１．溝型の場合"));
  ctx.write("D18", ctx.heading("－２．突出型の場合"));
  ctx.write("D25", ctx.heading("－３．鉛直土圧"));
  if (trench) {
    trenchCoefficientTexts(ctx, "G11", "G12");
    ctx.put("G13", [&] { return num(r.keisuCd, "0.000"); });
    ctx.putRaised("G15", [&] {
      return num(r.keisuCd, "0.000") + "×" + num(d.tuchiTanniJuryo, "0.00") + "×" + num(d.mizohaba, "0.000") +
             "^2／" + num(d.gaikei, "0.0000");
    });
    ctx.put("G16", [&] { return num(r.wv1, "0.000"); });
  } else {
    ctx.write("E17", kNoTrenchCalculation);
  }
  ctx.put("G19", [&] { return num(r.keisuCc, "0.000"); });
  ctx.put("G21", [&] {
    return num(r.keisuCc, "0.000") + "×" + num(d.tuchiTanniJuryo, "0.00") + "×" + num(d.gaikei, "0.0000");
  });
  ctx.put("G22", [&] { return num(r.wv2, "0.000"); });
  ctx.put("G27", [&] { return num(r.wv, "0.000"); });

  if (trench) {
    // Wv1 > Wv2 is the one strict test: equal or unordered values name Wv1.
    ctx.write("E26", r.wv1 > r.wv2 ? "本設計は溝型で、Ｗｖ１＞Ｗｖ２より、Ｗｖ２を鉛直土圧とする。"
                                   : "本設計は溝型で、Ｗｖ１≦Ｗｖ２より、Ｗｖ１を鉛直土圧とする。");
  } else {
    ctx.write("E26", "本設計は突出型設計につき、Ｗｖ２を鉛直土圧とする。");
  }
}

void writeFlexibleVerticalEarth(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const bool trench = d.maisetuKeishiki == 0;
  ctx.title("．鉛直土圧計算");
  ctx.write("D11", ctx.heading("－１．溝型の場合"));
  ctx.write("D21", ctx.heading("－２．突出型の場合"));
  ctx.write("D27", ctx.heading("－３．垂直土圧公式による鉛直土圧"));
  ctx.write("D32", ctx.heading("－４．鉛直土圧"));
  if (trench) {
    trenchCoefficientTexts(ctx, "G14", "G15");
    ctx.put("G16", [&] { return num(r.keisuCd, "0.000"); });
    ctx.put("G18", [&] {
      return num(r.keisuCd, "0.000") + "×" + num(d.tuchiTanniJuryo, "0.00") + "×" + num(d.mizohaba, "0.000");
    });
    ctx.put("G19", [&] { return num(r.wv1, "0.000"); });
  } else {
    ctx.write("E20", kNoTrenchCalculation);
  }
  ctx.put("G22", [&] { return num(r.keisuCc, "0.000"); });
  ctx.put("G24", [&] {
    return num(r.keisuCc, "0.000") + "×" + num(d.tuchiTanniJuryo, "0.00") + "×" + num(d.gaikei, "0.0000");
  });
  ctx.put("G25", [&] { return num(r.wv2, "0.000"); });
  ctx.put("G34", [&] { return num(r.wv, "0.000"); });

  const bool wv1Above = r.wv1 > r.wv2;  // equal or unordered count as Wv1 ≦ Wv2
  if (r.wv2GammaFlg != 0) {
    // Wv was raised to the prism load of a 2 m cover.
    ctx.put("G29", [&] { return num(d.tuchiTanniJuryo, "0.00") + "× 2.000"; });
    ctx.put("G30", [&] { return num(r.wv, "0.000"); });
    if (!trench)
      ctx.write("E26", "本設計は突出型でＷｖ２＜Ｗｖ３（Ｈ＝2.00(m)時）より、Ｗｖ３を鉛直土圧とする。");
    else if (wv1Above)
      ctx.write("E33", "本設計は溝型で、Ｗｖ１＞Ｗｖ２かつＷｖ１＜Ｗｖ３（Ｈ＝2.00(m)時）より、Ｗｖ３を鉛直土圧とする。");
    else
      ctx.write("E33", "本設計は溝型で、Ｗｖ１≦Ｗｖ２かつＷｖ１＜Ｗｖ３（Ｈ＝2.00(m)時）より、Ｗｖ３を鉛直土圧とする。");
    return;
  }
  ctx.put("G29", [&] { return num(d.tuchiTanniJuryo, "0.00") + "×" + num(d.dokaburi, "0.000"); });
  ctx.put("G30", [&] { return num(checked(d.tuchiTanniJuryo * d.dokaburi), "0.000"); });
  if (!(d.dokaburi > 2.0))
    ctx.write("E33", "本設計は埋設深≦2.0(m)より、Ｗｖ３を鉛直土圧とする。");
  else if (!trench)
    ctx.write("E26", "本設計は突出型設計かつＷｖ２≦Ｗｖ３より、Ｗｖ２を鉛直土圧とする。");
  else if (wv1Above)
    ctx.write("E33", "本設計は溝型で、Ｗｖ１＞Ｗｖ２かつＷｖ２≦Ｗｖ３より、Ｗｖ２を鉛直土圧とする。");
  else
    ctx.write("E33", "本設計は溝型で、Ｗｖ１≦Ｗｖ２かつＷｖ１≦Ｗｖ３より、Ｗｖ１を鉛直土圧とする。");
}

}  // namespace

void writeVerticalEarthSheet(SectionContext& ctx) {
  if (ctx.isVariant(entry::k鉛直土圧))
    writeRigidVerticalEarth(ctx);
  else
    writeFlexibleVerticalEarth(ctx);
}

void writeVerticalEarthSheetPileSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  // Between sheet piles the whole prism of the trench width rests on the pipe; a rigid pipe
  // spreads it over its diameter.
  if (ctx.isVariant(entry::k鉛直土圧矢板)) {
    ctx.put("G6", [&] {
      return num(d.tuchiTanniJuryo, "0.00") + "×" + num(d.dokaburi, "0.000") + "×" + num(d.mizohaba, "0.000") +
             "／" + num(d.gaikei, "0.0000");
    });
  } else {
    ctx.put("G6", [&] { return num(d.tuchiTanniJuryo, "0.00") + "×" + num(d.dokaburi, "0.000"); });
  }
  ctx.title("．鉛直土圧計算");
  ctx.put("G7", [&] { return num(ctx.result.wv, "0.000"); });
}

// ---- 基礎材の反力係数 -------------------------------------------------------------------------
//
// A checking engineer evaluates every formula of this sheet with the numbers it shows: each one
// is printed only where those numbers give the value printed beside it. Where they do not (a
// factor typed rather than computed, or computed for a trench width that has changed since, a
// record made elsewhere), the value stands as entered and the note says so.

namespace {

double shownValue(const std::string& text) {
  double value = 0.0;
  parseDecimal(text, value);
  return value;
}

// True when both values read the same in the pattern; a value that is not finite reads as none.
bool sameShown(double derived, double stored, std::string_view pattern) {
  return std::isfinite(derived) && std::isfinite(stored) && num(derived, pattern) == num(stored, pattern);
}

// αa from B (mm) and BS (mm) as the sheet shows them. A case without a trench has its αa
// entered: no width gives it.
std::string trenchFactorText(const DesignData& d) {
  if (calc::withoutTrench(d.maisetuKeishiki, d.kisozaiMizohaba)) return kEnteredNote;
  const std::string b = num(checked(d.kisozaiMizohaba * 1000.0), "0.000");
  const std::string bs = num(d.hyojunMizohaba, "0.000");
  if (!calc::trenchWidthFactorFollows(shownValue(b) / 1000.0, shownValue(bs), d.alphaA)) return kEnteredNote;
  return "1＋0.1×（" + b + "-" + bs + "）／1000｝";
}

// αw from Pr as the sheet shows it.
std::string groundwaterFactorText(const DesignData& d) {
  const std::string pr = num(d.katameDo, "0");
  if (!sameShown(calc::groundwaterFactor(shownValue(pr)), d.alphaW, "0.00")) return kEnteredNote;
  return "（" + pr + "－" + formatGeneral(kLowestCompactionDegree) + "）／" + formatGeneral(kGroundwaterFactorDivisor);
}

// e'0 × αa × αb × αw as the sheet shows the four factors (αa as well on rock ground, where it
// is 1 and printed). A product beyond any number is no value, as one that is not finite.
std::string standardProductText(const DesignData& d) {
  const std::string factors[] = {num(d.kijunHanryokuKeisu, "0.00"), num(d.alphaA, "0.00"), num(d.alphaB, "0.00"),
                                 num(d.alphaW, "0.00")};
  double product = 0.0;
  try {
    product = calc::standardReactionModulus(shownValue(factors[0]), shownValue(factors[1]), shownValue(factors[2]),
                                            shownValue(factors[3]), false);
  } catch (const RuntimeError&) {
    return kEnteredNote;
  }
  if (!sameShown(product, d.hanryokuKeisu, "0.00")) return kEnteredNote;
  return factors[0] + "×" + factors[1] + "×" + factors[2] + "×" + factors[3];
}

// The numerator and the denominator of the back-calculation, with "^" markers.
struct BackCalculationTexts {
  std::string numerator, denominator;
};

std::optional<BackCalculationTexts> backCalculationTexts(const DesignData& d) {
  const std::string f1 = numKept(d.tawamiF1, 1), k = numKept(d.tawamiK, 3), wv = numKept(d.tawamiWv, 3),
                    r = numKept(d.tawamiR, 3), ei = numKept(checked(d.tawamiE * d.tawamiI), 4),
                    dx = numKept(d.tawamiDeltaX, 3);
  const double R = shownValue(r), dX = shownValue(dx);
  // ΔX or R of 0 adopts e' = 0 without a formula: a fraction over 0 gives no value.
  if (R == 0.0 || dX == 0.0) return std::nullopt;
  // The fraction as printed, divided as it is: a part beyond any number gives no value.
  const calc::DeflectionFraction f =
      calc::deflectionFraction(dX, shownValue(f1), shownValue(k), shownValue(wv), R, shownValue(ei));
  if (!sameShown(f.numerator / f.denominator, d.hanryokuKeisu, "0.00")) return std::nullopt;
  return BackCalculationTexts{"2×" + f1 + "×" + k + "×" + wv + "×" + r + "^4－" + ei + "×" + dx,
                              "0.061×" + r + "^3×" + dx};
}

// The sentences of the two fixed methods, naming the values the calculation adopts.
std::string soilCementSentence() {
  return "ソイルセメントを基礎材料に使用するため、" + formatGeneral(kSoilCementReactionModulus) + "(kN/m^2)とする";
}

std::string smallBoreSentence() {
  return "口径" + formatGeneral(kSmallBoreLargestSize) + "mm以下の管を使用するため、" +
         formatGeneral(kSmallBoreReactionModulus) + "(kN/m^2)とする";
}

std::string fixedReactionModulusSentence(const DesignData& d) {
  const auto adopts = [&](double fixed) { return sameShown(fixed, d.hanryokuKeisu, "0.00"); };
  // A sentence naming a fixed value stands only beside that value, and the small-bore one only
  // for a small bore.
  if (const std::optional<ReactionModulusMethod> method = reactionModulusMethodOf(d.hanryokuKeisuHoho)) {
    switch (*method) {
      case ReactionModulusMethod::SoilCement:
        if (adopts(kSoilCementReactionModulus)) return soilCementSentence();
        break;
      case ReactionModulusMethod::SmallBore:
        if (adopts(kSmallBoreReactionModulus) && !calc::beyondSmallBore(d.yobikei.str())) return smallBoreSentence();
        break;
      case ReactionModulusMethod::Entered:
      case ReactionModulusMethod::Formula:
      case ReactionModulusMethod::Deflection: break;
    }
  }
  return "各設計条件より、以下の値とする";
}

}  // namespace

void writeReactionModulusSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  switch (ctx.variant()) {
    case entry::k反力係数: {  // entered value, soil cement, small bore
      ctx.title("．基礎材の反力係数");
      ctx.put("G8", [&] { return num(d.hanryokuKeisu, "0.00"); });
      std::string sentence;
      if (guardStep(kReportLabel, [&] { sentence = fixedReactionModulusSentence(d); })) {
        if (sentence.find('^') != std::string::npos)
          ctx.writeRaised("D6", sentence);
        else
          ctx.write("D6", sentence);
      }
      break;
    }

    case entry::k反力係数2:  // standard formula e' = e'0·αa·αb·αw
      ctx.title("．基礎材の反力係数");
      ctx.write("D8", ctx.heading("－１．基準反力係数"));
      ctx.write("D15", ctx.heading("－２．溝幅による補正係数"));
      ctx.write("D22", ctx.heading("－３．基礎材の縦固め度合いよる補正係数"));
      ctx.write("D27", ctx.heading("－４．地下水位の影響による補正係数"));
      ctx.write("D33", ctx.heading("－５．基礎材の反力係数"));
      ctx.put("G10", [&] { return num(d.kijunHanryokuKeisu, "0.00"); });
      if (d.ganbanFlg != 0) {
        ctx.write("G19", "（現地盤岩盤のため補正しない）");
      } else {
        ctx.put("G19", [&] { return trenchFactorText(d); });
      }
      ctx.put("G20", [&] { return num(d.alphaA, "0.00"); });
      ctx.put("G25", [&] { return num(d.alphaB, "0.00"); });
      ctx.put("G28", [&] { return num(d.katameDo, "0"); });
      ctx.put("G30", [&] { return groundwaterFactorText(d); });
      ctx.put("G31", [&] { return num(d.alphaW, "0.00"); });
      ctx.put("G36", [&] { return standardProductText(d); });
      ctx.put("G37", [&] { return num(d.hanryokuKeisu, "0.00"); });
      break;

    case entry::k反力係数3: {  // back-calculation from a measured deflection
      ctx.title("．基礎材の反力係数");
      std::optional<BackCalculationTexts> fraction;
      if (guardStep(kReportLabel, [&] { fraction = backCalculationTexts(d); })) {
        if (fraction) {
          ctx.writeRaised("G9", fraction->numerator);
          ctx.writeRaised("G10", fraction->denominator);
        } else {
          ctx.write("G9", kEnteredNote);
        }
      }
      ctx.put("G11", [&] { return num(d.hanryokuKeisu, "0.00"); });
      break;
    }

    default: break;  // a method without a sheet: nothing to show
  }
}

}  // namespace tovakin::report
