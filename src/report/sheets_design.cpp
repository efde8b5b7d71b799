// The sections from the pipe's own weight and water to the bending moments: what loads the pipe
// wall carries in the service and the construction case and which moments they cause.
#include "report/sheets_design.h"

#include <string>
#include <string_view>

#include "app/design_data.h"
#include "app/std_io.h"
#include "calc/calc_numbers.h"
#include "calc/calc_result.h"
#include "calc/pipe_lookups.h"
#include "platform/error_box.h"
#include "report/cell_conventions.h"

namespace tovakin::report {

namespace {

// One cell whose text is built from the records. Building and writing are one step of the error
// box each, so a value that cannot be shown (not finite, a lookup that failed) costs that cell
// alone when the user chooses Ignore, and never reaches the sheet.
template <class Build>
void put(SectionContext& ctx, const std::string& address, Build&& build) {
  std::string text;
  if (!guardStep(kReportLabel, [&] { text = build(); })) return;
  ctx.write(address, text);
}

// The same for a formula text with "^" markers: the superscript pass runs right after the write.
template <class Build>
void putRaised(SectionContext& ctx, const std::string& address, Build&& build) {
  std::string text;
  if (!guardStep(kReportLabel, [&] { text = build(); })) return;
  ctx.writeRaised(address, text);
}

void putNumber(SectionContext& ctx, const std::string& address, double value, std::string_view pattern) {
  put(ctx, address, [&] { return num(value, pattern); });
}

// The sheet the plan gave the section: variants are told apart by it, so that the texts always
// match the sheet they land on.
bool writesOn(const SectionContext& ctx, int entry) {
  return !ctx.section.entries.empty() && ctx.section.entries.front() == entry;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// 自重水重水平荷重: deflection and side reaction from the pipe's own weight (Pp) and from the
// water in it (Po), for a flexible pipe on free support. Pipes designed by their EI value
// (class 5) take no self weight, so their variant sheet has no values in that block.

void writeWeightWaterHorizontalSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const int n = ctx.number();

  if (!writesOn(ctx, entry::k自重水重2)) {
    putNumber(ctx, "H5", r.keisuKp, "0.000");
    put(ctx, "H7", [&] {
      // The unit weight as the pipe table holds it now, 0 for a pipe type it does not know.
      const double gammaP = 管材の単位体積重量(myTrim(d.kanshu));
      return num(gammaP, "0.00") + "×" + num(d.kanatu, "0.00000");
    });
    putNumber(ctx, "H8", r.kantaiJiju, "0.000");
    putNumber(ctx, "H11", d.henkeiOkureF1, "0.0");
    putRaised(ctx, "L11", [&] {
      return "2×" + num(r.keisuKp, "0.000") + "×" + num(r.kantaiJiju, "0.000") + "×" + num(d.chushinHankei, "0.00000") +
             "^4";
    });
    putRaised(ctx, "L12", [&] {
      return num(r.ei, "0.0000") + "＋0.061×" + num(d.hanryokuKeisu, "0.00") + "×" + num(d.chushinHankei, "0.00000") +
             "^3";
    });
    putNumber(ctx, "H13", r.jijuTawami, "0.00000");
    putNumber(ctx, "L16", d.hanryokuKeisu, "0.00");
    putNumber(ctx, "Q16", r.jijuTawami, "0.00000");
    putNumber(ctx, "H17", d.henkeiOkureF1, "0.0");
    putNumber(ctx, "L17", d.chushinHankei, "0.00000");
    putNumber(ctx, "H18", r.jijuHanryoku, "0.000");
  }

  ctx.title("．管体自重・管内水重による水平荷重の計算");
  ctx.write("D4", sectionHeading(n, "－１．管体の自重による水平荷重（Ｐｐ）"));
  ctx.write("D20", sectionHeading(n, "－２．管内水重による水平荷重（Ｐｏ）"));
  putNumber(ctx, "H21", r.keisuKo, "0.000");
  putNumber(ctx, "H22", d.mizuTanniJuryo, "0.000");
  putNumber(ctx, "H25", d.henkeiOkureF1, "0.0");
  putRaised(ctx, "L25", [&] {
    return "2×" + num(r.keisuKo, "0.000") + "×" + num(d.mizuTanniJuryo, "0.000") + "×" +
           num(d.chushinHankei, "0.00000") + "^5";
  });
  putRaised(ctx, "L26", [&] {
    return num(r.ei, "0.0000") + "＋0.061×" + num(d.hanryokuKeisu, "0.00") + "×" + num(d.chushinHankei, "0.00000") +
           "^3";
  });
  putNumber(ctx, "H27", r.suijuTawami, "0.00000");
  putNumber(ctx, "L30", d.hanryokuKeisu, "0.00");
  putNumber(ctx, "Q30", r.suijuTawami, "0.00000");
  putNumber(ctx, "H31", d.henkeiOkureF1, "0.0");
  putNumber(ctx, "L31", d.chushinHankei, "0.00000");
  putNumber(ctx, "H32", r.suijuHanryoku, "0.000");
}

// ---------------------------------------------------------------------------------------------
// 設計荷重: the design vertical load of each case; for a flexible pipe on free support also the
// total side reaction of each case.

void writeDesignLoadSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const int n = ctx.number();
  const bool withReactions = writesOn(ctx, entry::k設計荷重2);
  const double truck = r.kajuKeisan[0].bunpuKaju;
  const double bulldozer = r.kajuKeisan[2].bunpuKaju;

  ctx.title("．設計荷重");
  ctx.write("E5", sectionHeading(n, "－１．常時"));
  ctx.write(withReactions ? "E15" : "E10", sectionHeading(n, "－２．施工時"));
  put(ctx, "G7", [&] {
    // The surcharge as the calculation read it.
    const double surcharge = textToDouble(d.josaiKaju.str());
    return num(r.wv, "0.000") + "＋" + num(truck, "0.000") + "＋" + num(surcharge, "0.000");
  });
  putNumber(ctx, "G8", r.sekkeiKaju[kServiceCase], "0.000");
  const std::string q1Formula = withReactions ? "G17" : "G12";
  const std::string q1Value = withReactions ? "G18" : "G13";
  put(ctx, q1Formula, [&] { return num(r.wv, "0.000") + "＋" + num(bulldozer, "0.000"); });
  putNumber(ctx, q1Value, r.sekkeiKaju[kConstructionCase], "0.000");
  if (!withReactions) return;

  put(ctx, "G10", [&] {
    return num(r.doatuHanryoku, "0.000") + "＋" + num(r.jidoshaHanryoku, "0.000") + "＋" +
           num(r.jijuHanryoku, "0.000") + "＋" + num(r.suijuHanryoku, "0.000");
  });
  putNumber(ctx, "G11", r.hanryokuGokei[kServiceCase], "0.000");
  put(ctx, "G20", [&] {
    return num(r.doatuHanryoku, "0.000") + "＋" + num(r.buruHanryoku, "0.000") + "＋" + num(r.jijuHanryoku, "0.000");
  });
  putNumber(ctx, "G21", r.hanryokuGokei[kConstructionCase], "0.000");
}

// ---------------------------------------------------------------------------------------------
// 内水圧: the design internal pressure, static plus water hammer. The template derives its own
// texts from the defined name.

void writeInternalPressureSheet(SectionContext& ctx) {
  ctx.title("．内水圧");
  putNumber(ctx, "設計水圧", ctx.result.sekkeiSuiatu, "0.000");
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
  const int n = ctx.number();
  const bool fromReactions = writesOn(ctx, entry::k横断方向設計2);
  // Rigid pipes and pipes designed by their EI value do not count the pipe's own weight.
  const bool noSelfWeight = r.kanzaiKubun == 0 || r.kanzaiKubun == 5;
  const MomentRow& m0 = r.mageMoment[kServiceCase];
  const MomentRow& m1 = r.mageMoment[kConstructionCase];
  const double q0 = r.sekkeiKaju[kServiceCase];
  const double q1 = r.sekkeiKaju[kConstructionCase];

  ctx.title("．横断方向設計");
  ctx.write("D14", sectionHeading(n, "－１．常時"));
  ctx.write("D28", sectionHeading(n, "－２．施工時"));
  ctx.write("P4", d.kisoKeishiki == 0 ? "自由支承" : "固定支承");
  putNumber(ctx, "P5", d.shijikaku, "0");
  putNumber(ctx, "P6", d.chushinHankei, "0.00000");
  putNumber(ctx, "P7", q0, "0.000");
  putNumber(ctx, "P8", q1, "0.000");
  putNumber(ctx, "P9", d.mizuTanniJuryo, "0.00");
  putNumber(ctx, "P12", r.kantaiJuryo, "0.000");
  putNumber(ctx, "P10", fromReactions ? r.hanryokuGokei[kServiceCase] : r.q1, "0.000");
  putNumber(ctx, "P11", fromReactions ? r.hanryokuGokei[kConstructionCase] : r.q2, "0.000");

  // 常時
  putRaised(ctx, "F16", [&] { return k(ctx, 1) + "ＷＲ^2"; });
  putRaised(ctx, "P16", [&] {
    return "＝" + k(ctx, 1) + "×" + num(q0, "0.000") + "×" + num(d.chushinHankei, "0.00000") + "^2＝" +
           num(m0.enchoku, "0.000");
  });
  putRaised(ctx, "F18", [&] { return k(ctx, 2) + "ｗｏＲ^3"; });
  putRaised(ctx, "P18", [&] {
    return "＝" + k(ctx, 2) + "×" + num(d.mizuTanniJuryo, "0.00") + "×" + num(d.chushinHankei, "0.00000") + "^3＝" +
           num(m0.suiju, "0.000");
  });
  auto selfWeight = [&](const std::string& label, const std::string& formula, double term) {
    if (noSelfWeight) {
      ctx.write(label, "考慮しない");
      ctx.write(formula, "");
      return;
    }
    put(ctx, label, [&] { return k(ctx, 3) + "ＷｄＲ"; });
    put(ctx, formula, [&] {
      return "＝" + k(ctx, 3) + "×" + num(r.kantaiJuryo, "0.000") + "×" + num(d.chushinHankei, "0.00000") + "＝" +
             num(term, "0.000");
    });
  };
  // The side-load row: one coefficient on the total side reaction, or two on the two pressures.
  auto sideLoad = [&](const std::string& label, const std::string& formula, const char* reactionSymbol,
                      double reaction, double term) {
    if (fromReactions) {
      putRaised(ctx, label, [&] { return "－" + k(ctx, 4) + reactionSymbol + "Ｒ^2"; });
      putRaised(ctx, formula, [&] {
        return "＝－" + k(ctx, 4) + "×" + num(reaction, "0.000") + "×" + num(d.chushinHankei, "0.00000") + "^2＝" +
               num(term, "0.000");
      });
      return;
    }
    putRaised(ctx, label, [&] {
      const std::string k4 = k(ctx, 4);  // asked before k(5), in the order the text reads
      const std::string k5 = k(ctx, 5);
      return "－（" + k4 + "Ｐ１＋" + k5 + "Ｐ２）Ｒ^2";
    });
    putRaised(ctx, formula, [&] {
      const std::string k4 = k(ctx, 4);
      const std::string k5 = k(ctx, 5);
      return "＝－（" + k4 + "×" + num(r.q1, "0.000") + "＋" + k5 + "×" + num(r.q2, "0.000") + "）×" +
             num(d.chushinHankei, "0.00000") + "^2＝" + num(term, "0.000");
    });
  };
  selfWeight("F20", "P20", m0.jiju);
  sideLoad("F22", "P22", "Ｐ", r.hanryokuGokei[kServiceCase], m0.suihei);
  put(ctx, "H25", [&] { return momentSum(m0); });
  putNumber(ctx, "H26", r.mageMomentGokei[kServiceCase], "0.000");

  // 施工時: no water in the pipe, so no water row; the sum still carries the (zero) water term.
  putRaised(ctx, "F30", [&] { return k(ctx, 1) + "Ｗ’Ｒ^2"; });
  putRaised(ctx, "P30", [&] {
    return "＝" + k(ctx, 1) + "×" + num(q1, "0.000") + "×" + num(d.chushinHankei, "0.00000") + "^2＝" +
           num(m1.enchoku, "0.000");
  });
  selfWeight("F34", "P34", m1.jiju);
  sideLoad("F36", "P36", "Ｐ’", r.hanryokuGokei[kConstructionCase], m1.suihei);
  put(ctx, "H39", [&] { return momentSum(m1); });
  putNumber(ctx, "H40", r.mageMomentGokei[kConstructionCase], "0.000");
}

}  // namespace tovakin::report
