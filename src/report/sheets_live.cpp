// The side-pressure and live-load sections of the report. The sheets only show what the
// calculation stored: products and fractions are written out as formula texts with the case's
// numbers, nothing is computed from them.
#include "report/sheets_live.h"

#include <string>

#include "app/calc_settings.h"
#include "app/design_data.h"
#include "app/std_io.h"
#include "calc/calc_result.h"
#include "calc/coefficients.h"
#include "report/cell_conventions.h"
#include "report/layer.h"
#include "report/sheet_plan.h"

namespace tovakin::report {

namespace {

void writeSidePressures(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  ctx.title("．水平土圧計算");
  ctx.write("D5", ctx.heading("－１．管頂部水平荷重"));
  ctx.write("D10", ctx.heading(d.kisoKeishiki == 0 ? "－２．管底部水平荷重" : "－２．コンクリート基礎部水平荷重"));
  ctx.put("G7", [&] {
    return num(r.doatuKeisu, "0.000") + "×" + num(d.tuchiTanniJuryo, "0.00") + "×" + num(d.dokaburi, "0.000");
  });
  ctx.put("G8", [&] { return num(r.q1, "0.000"); });
  ctx.put("G12", [&] {
    return num(r.doatuKeisu, "0.000") + "×" + num(d.tuchiTanniJuryo, "0.00") + "×" + num(r.h2, "0.000");
  });
  ctx.put("G13", [&] { return num(r.q2, "0.000"); });
}

void writeEarthDeflection(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  ctx.title("．水平土圧計算");
  ctx.write("D8", ctx.heading("－１．土圧による水平たわみ量（ΔＸ１）"));
  ctx.write("D16", ctx.heading("－２．水平土圧"));
  ctx.put("G12", [&] { return num(d.henkeiOkureF1, "0.0"); });
  ctx.putRaised("K12", [&] { return deflectionNumerator(r.keisuK, r.wv, d.chushinHankei); });
  ctx.putRaised("K13", [&] { return deflectionDenominator(r.ei, d.hanryokuKeisu, d.chushinHankei); });
  ctx.put("G14", [&] { return num(r.doatuTawami, "0.00000"); });
  ctx.put("K20", [&] { return num(d.hanryokuKeisu, "0.00"); });
  ctx.put("P20", [&] { return num(r.doatuTawami, "0.00000"); });
  ctx.put("G21", [&] { return num(d.henkeiOkureF1, "0.0"); });
  ctx.put("K21", [&] { return num(d.chushinHankei, "0.00000"); });
  ctx.put("G22", [&] { return num(r.doatuHanryoku, "0.000"); });
}

void writeServiceLiveLoads(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcSettings& s = ctx.settings;
  const LoadRow& truck = ctx.result.kajuKeisan[0];
  // Only the default angle exactly gives the short spread a + 2h; any other angle shows its tan.
  const bool angle45 = s.kajuBunpukaku == 45.0;

  ctx.title("．活荷重");
  ctx.write("D3", ctx.heading("－１．常時"));
  ctx.write("E5", ctx.heading("－１－１．自動車荷重"));
  ctx.write("E35", ctx.heading("－１－２．その他の上載荷重"));
  ctx.write("L14", d.doroJoken == 0 ? "未舗装道路" : "舗装道路");
  ctx.put("L15", [&] { return num(d.dokaburi, "0.000"); });
  ctx.put("L16", [&] { return num(rearWheelLoad(s, d.kajuJoken), "0"); });
  ctx.put("L17", [&] { return num(s.sharyoSenyuHaba, "0.00"); });
  ctx.put("L18", [&] { return num(truck.beta, "0.0"); });
  ctx.put("L19", [&] { return num(truck.shogeki, "0.0"); });
  ctx.put("H24", [&] { return "2×" + num(rearWheelLoad(s, d.kajuJoken), "0"); });
  ctx.put("H25", [&] { return asText(num(s.sharyoSenyuHaba, "0.00")); });
  ctx.put("L24", [&] { return "×（1＋" + num(truck.shogeki, "0.0") + "）"; });
  ctx.put("H26", [&] { return num(truck.senKaju, "0.000"); });
  ctx.put("H31", [&] { return num(truck.senKaju, "0.000") + "×" + num(truck.beta, "0.0"); });
  ctx.put("K30", [&] {
    const std::string a = num(s.kajuA, "0.0");
    return angle45 ? a + "＋2ｈ" : a + "＋2ｈ・tan（" + num(s.kajuBunpukaku, "0") + "）";
  });
  ctx.put("H32", [&] {
    const std::string spread = num(s.kajuA, "0.0") + "＋2×" + num(d.dokaburi, "0.000");
    return angle45 ? spread : spread + "×tan（" + num(s.kajuBunpukaku, "0") + "）";
  });
  ctx.put("H33", [&] { return num(truck.bunpuKaju, "0.000"); });
  // The name as the user typed it: the text prefix keeps a name that looks like a number, or
  // starts with an apostrophe, exactly as entered.
  ctx.put("K36", [&] { return asText(myTrim(d.josaiKajuMeisho)); });
  ctx.put("H37", [&] { return numText(d.josaiKaju.str(), "0.000"); });
}

void writeConstructionLoads(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcSettings& s = ctx.settings;
  const LoadRow& bulldozer = ctx.result.kajuKeisan[2];
  const double l = ctx.result.buruL;

  ctx.useSheet(entry::k施工時荷重);
  // The second page continues the section under its number; it has no title of its own.
  ctx.write("D1", ctx.heading("－２．施工時"));
  ctx.put("R10", [&] { return num(d.dokaburi, "0.000"); });
  ctx.put("R11", [&] { return num(d.sekojiShogekiKeisu, "0.0"); });
  ctx.put("R12", [&] { return num(bulldozer.kaju, "0.00"); });
  ctx.put("R13", [&] { return num(l, "0.00"); });
  ctx.put("R14", [&] { return num(s.buruBunpukaku, "0"); });
  ctx.put("R15", [&] { return num(d.kyatapiraSu, "0"); });
  ctx.put("G21", [&] {
    return num(d.kyatapiraSu, "0") + "×" + num(bulldozer.kaju, "0.00") + "×（1＋" + num(d.sekojiShogekiKeisu, "0.0") +
           "）×";
  });
  ctx.put("O21", [&] { return asText(num(l, "0.00")); });
  ctx.put("O22", [&] {
    return num(l, "0.00") + "＋2×" + num(d.dokaburi, "0.000") + "×tan（" + num(s.buruBunpukaku, "0") + "）";
  });
  ctx.put("G23", [&] { return num(bulldozer.bunpuKaju, "0.000"); });
}

}  // namespace

void writeHorizontalEarthSheet(SectionContext& ctx) {
  // The plan picks the sheet (水平土圧2 for a flexible pipe on free support); its layout follows.
  if (ctx.isVariant(entry::k水平土圧2))
    writeEarthDeflection(ctx);
  else
    writeSidePressures(ctx);
}

void writeLiveLoadSheet(SectionContext& ctx) {
  writeServiceLiveLoads(ctx);
  writeConstructionLoads(ctx);
}

void writeLiveLoadHorizontalSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  const double f2 = d.henkeiOkureF2;
  const double rr = d.chushinHankei;
  const double e = d.hanryokuKeisu;

  ctx.title("．活荷重・上載荷重による水平荷重の計算");
  ctx.write("D6", ctx.heading("－１．常時"));
  ctx.write("D21", ctx.heading("－２．施工時"));

  // Service case: truck load and surcharge.
  ctx.put("H8", [&] {
    return num(r.kajuKeisan[0].bunpuKaju, "0.000") + "＋" + numText(d.josaiKaju.str(), "0.000");
  });
  ctx.put("H9", [&] { return num(r.katsuKaju, "0.000"); });
  ctx.put("H12", [&] { return num(f2, "0.0"); });
  ctx.putRaised("L12", [&] { return deflectionNumerator(r.keisuK, r.katsuKaju, rr); });
  ctx.putRaised("L13", [&] { return deflectionDenominator(r.ei, e, rr); });
  ctx.put("H14", [&] { return num(r.jidoshaTawami, "0.00000"); });
  ctx.put("L17", [&] { return num(e, "0.00"); });
  ctx.put("Q17", [&] { return num(r.jidoshaTawami, "0.00000"); });
  ctx.put("H18", [&] { return num(f2, "0.0"); });
  ctx.put("L18", [&] { return num(rr, "0.00000"); });
  ctx.put("H19", [&] { return num(r.jidoshaHanryoku, "0.000"); });

  // Construction case: bulldozer load.
  ctx.put("H24", [&] { return num(r.sekojiKaju, "0.000"); });
  ctx.put("H27", [&] { return num(f2, "0.0"); });
  ctx.putRaised("L27", [&] { return deflectionNumerator(r.keisuK, r.kajuKeisan[2].bunpuKaju, rr); });
  ctx.putRaised("L28", [&] { return deflectionDenominator(r.ei, e, rr); });
  ctx.put("H29", [&] { return num(r.buruTawami, "0.00000"); });
  ctx.put("L32", [&] { return num(e, "0.00"); });
  ctx.put("Q32", [&] { return num(r.buruTawami, "0.00000"); });
  ctx.put("H33", [&] { return num(f2, "0.0"); });
  ctx.put("L33", [&] { return num(rr, "0.00000"); });
  ctx.put("H34", [&] { return num(r.buruHanryoku, "0.000"); });
}

}  // namespace tovakin::report
