// The sections from the pipe's own weight and water to the bending moments: what loads the pipe
// wall carries in the service and the construction case and which moments they cause.
#include "report/sheets_design.h"

#include <string>

#include "app/design_data.h"
#include "app/std_io.h"
#include "calc/calc_numbers.h"
#include "calc/calc_result.h"
#include "calc/pipe_lookups.h"
#include "report/cell_conventions.h"
#include "report/layer.h"

namespace tovakin::report {

// ---------------------------------------------------------------------------------------------
// 自重水重水平荷重: deflection and side reaction from the pipe's own weight (Pp) and from the
// water in it (Po), for a flexible pipe on free support. Pipes designed by their EI value
// (class 5) take no self weight, so their variant sheet has no values in that block.

void writeWeightWaterHorizontalSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;

  if (!ctx.isVariant(entry::k自重水重2)) {
    ctx.putNumber("H5", r.keisuKp, "0.000");
    ctx.put("H7", [&] {
      // The unit weight as the pipe table holds it now, 0 for a pipe type it does not know.
      const double gammaP = 管材の単位体積重量(myTrim(d.kanshu));
      return num(gammaP, "0.00") + "×" + num(d.kanatu, "0.00000");
    });
    ctx.putNumber("H8", r.kantaiJiju, "0.000");
    ctx.putNumber("H11", d.henkeiOkureF1, "0.0");
    ctx.putRaised("L11", [&] { return deflectionNumerator(r.keisuKp, r.kantaiJiju, d.chushinHankei); });
    ctx.putRaised("L12", [&] { return deflectionDenominator(r.ei, d.hanryokuKeisu, d.chushinHankei); });
    ctx.putNumber("H13", r.jijuTawami, "0.00000");
    ctx.putNumber("L16", d.hanryokuKeisu, "0.00");
    ctx.putNumber("Q16", r.jijuTawami, "0.00000");
    ctx.putNumber("H17", d.henkeiOkureF1, "0.0");
    ctx.putNumber("L17", d.chushinHankei, "0.00000");
    ctx.putNumber("H18", r.jijuHanryoku, "0.000");
  }

  ctx.title("．管体自重・管内水重による水平荷重の計算");
  ctx.write("D4", ctx.heading("－１．管体の自重による水平荷重（Ｐｐ）"));
  ctx.write("D20", ctx.heading("－２．管内水重による水平荷重（Ｐｏ）"));
  ctx.putNumber("H21", r.keisuKo, "0.000");
  ctx.putNumber("H22", d.mizuTanniJuryo, "0.000");
  ctx.putNumber("H25", d.henkeiOkureF1, "0.0");
  ctx.putRaised("L25", [&] {
    return "2×" + num(r.keisuKo, "0.000") + "×" + num(d.mizuTanniJuryo, "0.000") + "×" +
           num(d.chushinHankei, "0.00000") + "^5";
  });
  ctx.putRaised("L26", [&] { return deflectionDenominator(r.ei, d.hanryokuKeisu, d.chushinHankei); });
  ctx.putNumber("H27", r.suijuTawami, "0.00000");
  ctx.putNumber("L30", d.hanryokuKeisu, "0.00");
  ctx.putNumber("Q30", r.suijuTawami, "0.00000");
  ctx.putNumber("H31", d.henkeiOkureF1, "0.0");
  ctx.putNumber("L31", d.chushinHankei, "0.00000");
  ctx.putNumber("H32", r.suijuHanryoku, "0.000");
}

// ---------------------------------------------------------------------------------------------
// 設計荷重: the design vertical load of each case; for a flexible pipe on free support also the
// total side reaction of each case.

void writeDesignLoadSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const bool withReactions = ctx.isVariant(entry::k設計荷重2);
  const double truck = r.kajuKeisan[0].bunpuKaju;
  const double bulldozer = r.kajuKeisan[2].bunpuKaju;

  ctx.title("．設計荷重");
  ctx.write("E5", ctx.heading("－１．常時"));
  ctx.write(withReactions ? "E15" : "E10", ctx.heading("－２．施工時"));
  ctx.put("G7", [&] {
    // The surcharge as the calculation read it.
    const double surcharge = textToDouble(d.josaiKaju.str());
    return num(r.wv, "0.000") + "＋" + num(truck, "0.000") + "＋" + num(surcharge, "0.000");
  });
  ctx.putNumber("G8", r.sekkeiKaju[kServiceCase], "0.000");
  const std::string q1Formula = withReactions ? "G17" : "G12";
  const std::string q1Value = withReactions ? "G18" : "G13";
  ctx.put(q1Formula, [&] { return num(r.wv, "0.000") + "＋" + num(bulldozer, "0.000"); });
  ctx.putNumber(q1Value, r.sekkeiKaju[kConstructionCase], "0.000");
  if (!withReactions) return;

  ctx.put("G10", [&] {
    return num(r.doatuHanryoku, "0.000") + "＋" + num(r.jidoshaHanryoku, "0.000") + "＋" +
           num(r.jijuHanryoku, "0.000") + "＋" + num(r.suijuHanryoku, "0.000");
  });
  ctx.putNumber("G11", r.hanryokuGokei[kServiceCase], "0.000");
  ctx.put("G20", [&] {
    return num(r.doatuHanryoku, "0.000") + "＋" + num(r.buruHanryoku, "0.000") + "＋" + num(r.jijuHanryoku, "0.000");
  });
  ctx.putNumber("G21", r.hanryokuGokei[kConstructionCase], "0.000");
}

// ---------------------------------------------------------------------------------------------
// 内水圧: the design internal pressure, static plus water hammer. The template derives its own
// texts from the defined name.

void writeInternalPressureSheet(SectionContext& ctx) {
  ctx.title("．内水圧");
  ctx.putNumber("設計水圧", ctx.result.sekkeiSuiatu, "0.000");
}

// ---------------------------------------------------------------------------------------------
// 横断方向設計: the bending moment at the pipe bottom from each load, the sum of the terms and
// the design moment, per case. A flexible pipe on free support takes its side load from the
// total side reaction; every other pipe from the two side pressures.

namespace {

// The moment coefficient of one load (1 vertical, 2 water, 3 self weight, 4 and 5 side loads),
// asked of the pipe table anew for every cell that shows it.
double coefficient(const SectionContext& ctx, int load) {
  const DesignData& d = ctx.design;
  return func曲げモーメント係数(load, d.kisoKeishiki, d.shijikaku, d.kanzaiKubun);
}

std::string k(const SectionContext& ctx, int load) { return num(coefficient(ctx, load), "0.000"); }

// The four terms of a case joined into one sum, each further term with exactly one sign.
std::string momentSum(const MomentRow& m) {
  return num(m.enchoku, "0.000") + signedTerm(m.suiju, "0.000") + signedTerm(m.jiju, "0.000") +
         signedTerm(m.suihei, "0.000");
}

}  // namespace

void writeTransverseDesignSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const bool fromReactions = ctx.isVariant(entry::k横断方向設計2);
  // Rigid pipes and pipes designed by their EI value do not count the pipe's own weight.
  const bool noSelfWeight = r.kanzaiKubun == 0 || r.kanzaiKubun == 5;
  const MomentRow& m0 = r.mageMoment[kServiceCase];
  const MomentRow& m1 = r.mageMoment[kConstructionCase];
  const double q0 = r.sekkeiKaju[kServiceCase];
  const double q1 = r.sekkeiKaju[kConstructionCase];

  ctx.title("．横断方向設計");
  ctx.write("D14", ctx.heading("－１．常時"));
  ctx.write("D28", ctx.heading("－２．施工時"));
  ctx.write("P4", d.kisoKeishiki == 0 ? "自由支承" : "固定支承");
  ctx.putNumber("P5", d.shijikaku, "0");
  ctx.putNumber("P6", d.chushinHankei, "0.00000");
  ctx.putNumber("P7", q0, "0.000");
  ctx.putNumber("P8", q1, "0.000");
  ctx.putNumber("P9", d.mizuTanniJuryo, "0.00");
  ctx.putNumber("P12", r.kantaiJuryo, "0.000");
  ctx.putNumber("P10", fromReactions ? r.hanryokuGokei[kServiceCase] : r.q1, "0.000");
  ctx.putNumber("P11", fromReactions ? r.hanryokuGokei[kConstructionCase] : r.q2, "0.000");

  // 常時
  ctx.putRaised("F16", [&] { return k(ctx, 1) + "ＷＲ^2"; });
  ctx.putRaised("P16", [&] {
    return "＝" + k(ctx, 1) + "×" + num(q0, "0.000") + "×" + num(d.chushinHankei, "0.00000") + "^2＝" +
           num(m0.enchoku, "0.000");
  });
  ctx.putRaised("F18", [&] { return k(ctx, 2) + "ｗｏＲ^3"; });
  ctx.putRaised("P18", [&] {
    return "＝" + k(ctx, 2) + "×" + num(d.mizuTanniJuryo, "0.00") + "×" + num(d.chushinHankei, "0.00000") + "^3＝" +
           num(m0.suiju, "0.000");
  });
  auto selfWeight = [&](const std::string& label, const std::string& formula, double term) {
    if (noSelfWeight) {
      ctx.write(label, "考慮しない");
      ctx.write(formula, "");
      return;
    }
    ctx.put(label, [&] { return k(ctx, 3) + "ＷｄＲ"; });
    ctx.put(formula, [&] {
      return "＝" + k(ctx, 3) + "×" + num(r.kantaiJuryo, "0.000") + "×" + num(d.chushinHankei, "0.00000") + "＝" +
             num(term, "0.000");
    });
  };
  // The side-load row: one coefficient on the total side reaction, or two on the two pressures.
  auto sideLoad = [&](const std::string& label, const std::string& formula, const char* reactionSymbol,
                      double reaction, double term) {
    if (fromReactions) {
      ctx.putRaised(label, [&] { return "－" + k(ctx, 4) + reactionSymbol + "Ｒ^2"; });
      ctx.putRaised(formula, [&] {
        return "＝－" + k(ctx, 4) + "×" + num(reaction, "0.000") + "×" + num(d.chushinHankei, "0.00000") + "^2＝" +
               num(term, "0.000");
      });
      return;
    }
    ctx.putRaised(label, [&] {
      const std::string k4 = k(ctx, 4);  // asked before k(5), in the order the text reads
      const std::string k5 = k(ctx, 5);
      return "－（" + k4 + "Ｐ１＋" + k5 + "Ｐ２）Ｒ^2";
    });
    ctx.putRaised(formula, [&] {
      const std::string k4 = k(ctx, 4);
      const std::string k5 = k(ctx, 5);
      return "＝－（" + k4 + "×" + num(r.q1, "0.000") + "＋" + k5 + "×" + num(r.q2, "0.000") + "）×" +
             num(d.chushinHankei, "0.00000") + "^2＝" + num(term, "0.000");
    });
  };
  selfWeight("F20", "P20", m0.jiju);
  sideLoad("F22", "P22", "Ｐ", r.hanryokuGokei[kServiceCase], m0.suihei);
  ctx.put("H25", [&] { return momentSum(m0); });
  ctx.putNumber("H26", r.mageMomentGokei[kServiceCase], "0.000");

  // 施工時: no water in the pipe, so no water row; the sum still carries the (zero) water term.
  ctx.putRaised("F30", [&] { return k(ctx, 1) + "Ｗ’Ｒ^2"; });
  ctx.putRaised("P30", [&] {
    return "＝" + k(ctx, 1) + "×" + num(q1, "0.000") + "×" + num(d.chushinHankei, "0.00000") + "^2＝" +
           num(m1.enchoku, "0.000");
  });
  selfWeight("F34", "P34", m1.jiju);
  sideLoad("F36", "P36", "Ｐ’", r.hanryokuGokei[kConstructionCase], m1.suihei);
  ctx.put("H39", [&] { return momentSum(m1); });
  ctx.putNumber("H40", r.mageMomentGokei[kConstructionCase], "0.000");
}

}  // namespace tovakin::report
