// The closing checks of the report. Each check shows its formula with the case's numbers, the
// result, and a verdict pair decided on the stored values (never on the rounded texts beside
// them), equality passing.
#include "report/sheets_check.h"

#include <string>

#include "app/design_data.h"
#include "calc/calc_result.h"
#include "report/cell_conventions.h"
#include "report/layer.h"
#include "report/section_writer.h"
#include "report/sheet_plan.h"

namespace tovakin::report {

namespace {

void putVerdict(SectionContext& ctx, const std::string& comparatorCell, const std::string& verdictCell,
                const Verdict& v) {
  ctx.write(comparatorCell, v.comparator);
  ctx.write(verdictCell, v.verdict);
}

void headings(SectionContext& ctx, const char* serviceCell, const char* constructionCell) {
  ctx.write(serviceCell, ctx.heading("－１．常時"));
  ctx.write(constructionCell, ctx.heading("－２．施工時"));
}

// The loads acting on the flexible ring, as the deflection and the required-EI formulas share
// them: F1·(K·Wv + Ko·γw·R + Kp·w) + F2·K·pL. The construction case carries no internal water,
// so its text has no Ko·γw·R term.
std::string ringLoadText(const DesignData& d, const CalcResult& r, int c) {
  std::string t = num(d.henkeiOkureF1, "0.0") + "×（" + num(r.keisuK, "0.000") + "×" + num(r.wv, "0.000") + "＋";
  if (c == kServiceCase)
    t += num(r.keisuKo, "0.000") + "×" + num(d.mizuTanniJuryo, "0.000") + "×" + num(d.chushinHankei, "0.00000") +
         "＋";
  t += num(r.keisuKp, "0.000") + "×" + num(r.kantaiJiju, "0.000") + "）＋" + num(d.henkeiOkureF2, "0.0") + "×" +
       num(r.keisuK, "0.000") + "×" + num(c == kServiceCase ? r.katsuKaju : r.sekojiKaju, "0.000");
  return t;
}

// ---------------------------------------------------------------------------------------------
// 許容内圧: pipe classes 0 and 5, by the combination formula of internal and external pressure.

// {1 − (P'·S / Pext)^n} × (Pint / S), the power sign shown as a visible "＾". S and n are typed
// with two decimals and the formula is steep in both: they are printed with every digit they
// hold, so that the formula gives the Pa printed beside it (2.25 shown as 2.3 moves Pa by 2 %).
std::string combinationText(const DesignData& d, const PressureRow& p) {
  const std::string s = numKept(d.naigaiatuAnzenritu, 2);
  return "｛1－（" + num(p.pDash, "0.000") + "×" + s + "／" + num(p.hibiwareGaiatu, "0.000") + "）＾（" +
         numKept(d.naigaiatuKeisuN, 2) + "）｝×（" + num(p.hibiwareNaiatu, "0.000") + "／" + s + "）";
}

void writeCombinationCase(SectionContext& ctx, int c, int firstRow) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const double M = r.mageMomentGokei[static_cast<std::size_t>(c)];
  const PressureRow& p = r.naiatuKento[static_cast<std::size_t>(c)];
  const auto at = [](const char* column, int row) { return std::string(column) + std::to_string(row); };
  const int verdictRow = firstRow + 6;  // 30 for the service case, 41 for the construction case

  ctx.put(at("G", firstRow), [&] { return num(M, "0.000"); });
  ctx.put(at("G", firstRow + 1), [&] { return "0.318×" + num(d.chushinHankei, "0.00000"); });
  ctx.put(at("G", firstRow + 2), [&] { return num(p.pDash, "0.000"); });
  putVerdict(ctx, at("P", verdictRow), at("AA", verdictRow), capacityVerdict(p.kyoyoNaiatuMpa, r.sekkeiSuiatu));
  if (M >= 0) {
    ctx.put(at("G", firstRow + 4), [&] { return combinationText(d, p); });
  } else {
    // A negative moment is not taken into the formula, and the case is not accepted.
    ctx.write(at("G", firstRow + 4), "(曲げモーメントがマイナス値のため、考慮しません)");
    ctx.write(at("AA", verdictRow), kVerdictRedo);
  }
  ctx.put(at("G", firstRow + 5), [&] { return num(p.kyoyoNaiatu, "0.0"); });
  ctx.put(at("G", firstRow + 6), [&] { return num(p.kyoyoNaiatuMpa, "0.000"); });
}

void writeCombinationVariant(SectionContext& ctx) {
  ctx.useSheet(entry::k許容内圧);
  ctx.title("．許容内圧検討");
  headings(ctx, "D21", "D32");
  writeCombinationCase(ctx, kServiceCase, 24);
  writeCombinationCase(ctx, kConstructionCase, 35);
}

// ---------------------------------------------------------------------------------------------
// 許容内圧2: the other pipe classes, by the stresses in the wall.

// σa·t^2 − 6·σ·M: the numerator of Pa = (σa·t² − 6·σ·M) / (0.5·d·t).
std::string stressText(const CalcResult& r, double t, double M) {
  return num(r.kyoyoHippariOryokudo, "0.00") + "×" + num(t, "0.00000") + "^2－6×" + num(r.hippariOryoku, "0.00") +
         "×" + num(M, "0.000");
}

// The remarks on the corrosion allowance of the wall thickness, by the class of the design
// record: a small table of the condition on t + 1, the pipe-diameter band and the thickness T.
struct CorrosionCell {
  const char* address;
  const char* ductile;  // class 1, ductile-iron pipe
  const char* steel;    // class 2, steel pipe
};
constexpr CorrosionCell kCorrosionBlock[] = {
    {"D41", "ダクタイル管の場合、腐食代を見込んで管厚を検討する。", "鋼管の場合、腐食代を見込んで管厚を検討する。"},
    {"E42", "ｔ＋１≧10mmの場合", ""},
    {"E44", "ｔ＋１＜10mmの場合", ""},
    {"L42", "管径φ800以上", "管径φ800以上"},
    {"L43", "管径φ700以下", "管径φ700以下"},
    {"L44", "管径φ800以上", ""},
    {"L45", "管径φ700以下", ""},
    {"R42", "Ｔ＝1.1ｔ", "Ｔ＝ｔ"},
    {"R43", "Ｔ＝1.1・（ｔ＋１）", "Ｔ＝ｔ＋2"},
    {"R44", "Ｔ＝ｔ＋1", ""},
    {"R45", "Ｔ＝ｔ＋2", ""},
};

void writeStressCase(SectionContext& ctx, int c, int firstRow) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const double M = r.mageMomentGokei[static_cast<std::size_t>(c)];
  const PressureRow& p = r.naiatuKento[static_cast<std::size_t>(c)];
  const auto at = [](const char* column, int row) { return std::string(column) + std::to_string(row); };
  const int verdictRow = firstRow + 3;  // 20 for the service case, 28 for the construction case

  ctx.putRaised(at("G", firstRow), [&] { return stressText(r, d.kanatu, M); });
  if (c == kServiceCase) {
    // Both design-pressure cells are filled with the first case.
    ctx.put("R20", [&] { return num(r.sekkeiSuiatu, "0.000"); });
    ctx.put("R28", [&] { return num(r.sekkeiSuiatu, "0.000"); });
  }
  ctx.put(at("G", firstRow + 1), [&] { return "0.5×" + num(d.naikei, "0.0000") + "×" + num(d.kanatu, "0.00000"); });
  ctx.put(at("G", firstRow + 2), [&] { return num(p.kyoyoNaiatu, "0.0"); });
  ctx.put(at("G", firstRow + 3), [&] { return num(p.kyoyoNaiatuMpa, "0.000"); });
  putVerdict(ctx, at("P", verdictRow), at("AA", verdictRow), capacityVerdict(p.kyoyoNaiatuMpa, r.sekkeiSuiatu));
}

void writeStressVariant(SectionContext& ctx) {
  ctx.useSheet(entry::k許容内圧2);
  ctx.title("．許容内圧検討");
  headings(ctx, "D14", "D22");
  writeStressCase(ctx, kServiceCase, 17);
  writeStressCase(ctx, kConstructionCase, 25);

  // The block is written for every case on this sheet; a class without remarks clears it.
  const double cls = ctx.design.kanzaiKubun;
  for (const CorrosionCell& cell : kCorrosionBlock)
    ctx.write(cell.address, cls == 1.0 ? cell.ductile : cls == 2.0 ? cell.steel : "");
}

}  // namespace

void writeAllowablePressureSheet(SectionContext& ctx) {
  // The plan picked the variant; the writer follows it, so that the sheet kept is the one filled.
  if (ctx.isVariant(entry::k許容内圧))
    writeCombinationVariant(ctx);
  else
    writeStressVariant(ctx);
}

void writeDeflectionOrEiSheet(SectionContext& ctx) {
  if (ctx.isVariant(entry::kEI値))
    writeEiCheckSheet(ctx);
  else
    writeDeflectionRatioSheet(ctx);
}

// δ = F1·(K·Wv + Ko·γw·R + Kp·w) + F2·K·pL over EI/R³ + 0.061·e', in per cent, against δa.
void writeDeflectionRatioSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  ctx.useSheet(entry::kたわみ率);
  ctx.title("．たわみ率計算");
  headings(ctx, "D3", "D11");
  ctx.put("K9", [&] { return num(d.sekkeiTawamiritu, "0.000"); });
  ctx.put("K17", [&] { return num(d.sekkeiTawamiritu, "0.000"); });

  const auto denominator = [&] {
    return num(r.ei, "0.000") + "／" + num(d.chushinHankei, "0.00000") + "^3＋0.061×" + num(d.hanryokuKeisu, "0.00");
  };
  ctx.put("E7", [&] { return ringLoadText(d, r, kServiceCase); });
  ctx.putRaised("E8", denominator);
  ctx.put("E9", [&] { return num(r.tawamiritu[kServiceCase], "0.000"); });
  ctx.put("E15", [&] { return ringLoadText(d, r, kConstructionCase); });
  ctx.putRaised("E16", denominator);
  ctx.put("E17", [&] { return num(r.tawamiritu[kConstructionCase], "0.000"); });

  putVerdict(ctx, "I9", "V9", limitVerdict(r.tawamiritu[kServiceCase], d.sekkeiTawamiritu));
  putVerdict(ctx, "I17", "V17", limitVerdict(r.tawamiritu[kConstructionCase], d.sekkeiTawamiritu));
}

// EIreq = R³ × {(F1·(K·Wv + Ko·γw·R + Kp·w) + F2·K·pL) / (δa/100) − 0.061·e'}, against the EI
// of the pipe.
void writeEiCheckSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  ctx.useSheet(entry::kEI値);
  ctx.title("．たわみ率から求めるEI値検討");
  headings(ctx, "D9", "D20");
  ctx.put("M18", [&] { return num(r.eiChi, "0.000"); });
  ctx.put("M29", [&] { return num(r.eiChi, "0.000"); });

  struct Rows {
    int c;
    const char *cube, *load, *ratio, *reaction, *required, *comparator, *verdict;
  };
  for (const Rows& x : {Rows{kServiceCase, "G13", "G15", "G16", "F17", "G18", "K18", "X18"},
                        Rows{kConstructionCase, "G24", "G26", "G27", "F28", "G29", "K29", "X29"}}) {
    const double required = r.hitsuyoEi[static_cast<std::size_t>(x.c)];
    ctx.putRaised(x.cube, [&] { return num(d.chushinHankei, "0.00000") + "^3×"; });
    ctx.put(x.load, [&] { return ringLoadText(d, r, x.c); });
    ctx.put(x.ratio, [&] { return num(d.sekkeiTawamiritu / 100.0, "0.000"); });
    // The text starts with a minus sign: the cell keeps it as text.
    ctx.put(x.reaction, [&] { return asText("－0.061×" + num(d.hanryokuKeisu, "0.00") + "｝"); });
    ctx.put(x.required, [&] { return num(required, "0.000"); });
    putVerdict(ctx, x.comparator, x.verdict, limitVerdict(required, r.eiChi));
  }
}

}  // namespace tovakin::report
