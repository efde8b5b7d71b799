// The side-pressure and live-load sections of the report. The sheets only show what the
// calculation stored: products and fractions are written out as formula texts with the case's
// numbers, nothing is computed from them.
#include "report/sheets_live.h"

#include <array>
#include <cstddef>
#include <string>

#include "app/calc_settings.h"
#include "app/design_data.h"
#include "app/std_io.h"
#include "calc/calc_result.h"
#include "platform/error_box.h"
#include "report/cell_conventions.h"
#include "report/sheet_plan.h"

namespace tovakin::report {

namespace {

// One cell: its text is built and written as one step, so a value that cannot be shown stops
// that cell alone (the error box offers Retry and Ignore for it) and never reaches the sheet.
template <class Text>
void put(SectionContext& ctx, const std::string& address, Text&& text) {
  guardStep(kReportLabel, [&] { ctx.write(address, text()); });
}

// The same for a formula text with "^" markers, followed by the superscript pass.
template <class Text>
void putRaised(SectionContext& ctx, const std::string& address, Text&& text) {
  guardStep(kReportLabel, [&] { ctx.writeRaised(address, text()); });
}

std::string heading(const SectionContext& ctx, std::string_view literal) {
  return sectionHeading(ctx.number(), literal);
}

// The rear-wheel load of a truck class from the constants the report is written with; the
// classes in the order of the constants, any other class (none included) carries no load.
double rearWheelLoad(const CalcSettings& settings, double truckClass) {
  static constexpr std::array<double, 4> kClasses = {25, 20, 14, 10};
  for (std::size_t i = 0; i < kClasses.size(); ++i)
    if (truckClass == kClasses[i]) return settings.korinKaju[i];
  return 0.0;
}

// 2×Kx×W×R^4 and EI＋0.061×e'×R^3: numerator and denominator of the horizontal deflection
// ΔX = F·2·Kx·W·R⁴ / (EI + 0.061·e'·R³).
std::string deflectionNumerator(double kx, double load, double r) {
  return "2×" + num(kx, "0.000") + "×" + num(load, "0.000") + "×" + num(r, "0.00000") + "^4";
}
std::string deflectionDenominator(double ei, double e, double r) {
  return num(ei, "0.0000") + "＋0.061×" + num(e, "0.00") + "×" + num(r, "0.00000") + "^3";
}

void writeSidePressures(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  put(ctx, "C1", [&] { return heading(ctx, "．水平土圧計算"); });
  put(ctx, "D5", [&] { return heading(ctx, "－１．管頂部水平荷重"); });
  put(ctx, "D10", [&] {
    return heading(ctx, d.kisoKeishiki == 0 ? "－２．管底部水平荷重" : "－２．コンクリート基礎部水平荷重");
  });
  put(ctx, "G7", [&] {
    return num(r.doatuKeisu, "0.000") + "×" + num(d.tuchiTanniJuryo, "0.00") + "×" + num(d.dokaburi, "0.000");
  });
  put(ctx, "G8", [&] { return num(r.q1, "0.000"); });
  put(ctx, "G12", [&] {
    return num(r.doatuKeisu, "0.000") + "×" + num(d.tuchiTanniJuryo, "0.00") + "×" + num(r.h2, "0.000");
  });
  put(ctx, "G13", [&] { return num(r.q2, "0.000"); });
}

void writeEarthDeflection(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcResult& r = ctx.result;
  put(ctx, "C1", [&] { return heading(ctx, "．水平土圧計算"); });
  put(ctx, "D8", [&] { return heading(ctx, "－１．土圧による水平たわみ量（ΔＸ１）"); });
  put(ctx, "D16", [&] { return heading(ctx, "－２．水平土圧"); });
  put(ctx, "G12", [&] { return num(d.henkeiOkureF1, "0.0"); });
  putRaised(ctx, "K12", [&] { return deflectionNumerator(r.keisuK, r.wv, d.chushinHankei); });
  putRaised(ctx, "K13", [&] { return deflectionDenominator(r.ei, d.hanryokuKeisu, d.chushinHankei); });
  put(ctx, "G14", [&] { return num(r.doatuTawami, "0.00000"); });
  put(ctx, "K20", [&] { return num(d.hanryokuKeisu, "0.00"); });
  put(ctx, "P20", [&] { return num(r.doatuTawami, "0.00000"); });
  put(ctx, "G21", [&] { return num(d.henkeiOkureF1, "0.0"); });
  put(ctx, "K21", [&] { return num(d.chushinHankei, "0.00000"); });
  put(ctx, "G22", [&] { return num(r.doatuHanryoku, "0.000"); });
}

void writeServiceLiveLoads(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcSettings& s = ctx.settings;
  const LoadRow& truck = ctx.result.kajuKeisan[0];
  // Only the default angle exactly gives the short spread a + 2h; any other angle shows its tan.
  const bool angle45 = s.kajuBunpukaku == 45.0;

  put(ctx, "C1", [&] { return heading(ctx, "．活荷重"); });
  put(ctx, "D3", [&] { return heading(ctx, "－１．常時"); });
  put(ctx, "E5", [&] { return heading(ctx, "－１－１．自動車荷重"); });
  put(ctx, "E35", [&] { return heading(ctx, "－１－２．その他の上載荷重"); });
  put(ctx, "L14", [&] { return std::string(d.doroJoken == 0 ? "未舗装道路" : "舗装道路"); });
  put(ctx, "L15", [&] { return num(d.dokaburi, "0.000"); });
  put(ctx, "L16", [&] { return num(rearWheelLoad(s, d.kajuJoken), "0"); });
  put(ctx, "L17", [&] { return num(s.sharyoSenyuHaba, "0.00"); });
  put(ctx, "L18", [&] { return num(truck.beta, "0.0"); });
  put(ctx, "L19", [&] { return num(truck.shogeki, "0.0"); });
  put(ctx, "H24", [&] { return "2×" + num(rearWheelLoad(s, d.kajuJoken), "0"); });
  put(ctx, "H25", [&] { return asText(num(s.sharyoSenyuHaba, "0.00")); });
  put(ctx, "L24", [&] { return "×（1＋" + num(truck.shogeki, "0.0") + "）"; });
  put(ctx, "H26", [&] { return num(truck.senKaju, "0.000"); });
  put(ctx, "H31", [&] { return num(truck.senKaju, "0.000") + "×" + num(truck.beta, "0.0"); });
  put(ctx, "K30", [&] {
    const std::string a = num(s.kajuA, "0.0");
    return angle45 ? a + "＋2ｈ" : a + "＋2ｈ・tan（" + num(s.kajuBunpukaku, "0") + "）";
  });
  put(ctx, "H32", [&] {
    const std::string spread = num(s.kajuA, "0.0") + "＋2×" + num(d.dokaburi, "0.000");
    return angle45 ? spread : spread + "×tan（" + num(s.kajuBunpukaku, "0") + "）";
  });
  put(ctx, "H33", [&] { return num(truck.bunpuKaju, "0.000"); });
  // The name as the user typed it: the text prefix keeps a name that looks like a number, or
  // starts with an apostrophe, exactly as entered.
  put(ctx, "K36", [&] { return asText(myTrim(d.josaiKajuMeisho)); });
  put(ctx, "H37", [&] { return numText(d.josaiKaju.str(), "0.000"); });
}

void writeConstructionLoads(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  const CalcSettings& s = ctx.settings;
  const LoadRow& bulldozer = ctx.result.kajuKeisan[2];
  const double l = ctx.result.buruL;

  ctx.useSheet(entry::k施工時荷重);
  // The second page continues the section under its number; it has no title of its own.
  put(ctx, "D1", [&] { return heading(ctx, "－２．施工時"); });
  put(ctx, "R10", [&] { return num(d.dokaburi, "0.000"); });
  put(ctx, "R11", [&] { return num(d.sekojiShogekiKeisu, "0.0"); });
  put(ctx, "R12", [&] { return num(bulldozer.kaju, "0.00"); });
  put(ctx, "R13", [&] { return num(l, "0.00"); });
  put(ctx, "R14", [&] { return num(s.buruBunpukaku, "0"); });
  put(ctx, "R15", [&] { return num(d.kyatapiraSu, "0"); });
  put(ctx, "G21", [&] {
    return num(d.kyatapiraSu, "0") + "×" + num(bulldozer.kaju, "0.00") + "×（1＋" + num(d.sekojiShogekiKeisu, "0.0") +
           "）×";
  });
  put(ctx, "O21", [&] { return asText(num(l, "0.00")); });
  put(ctx, "O22", [&] {
    return num(l, "0.00") + "＋2×" + num(d.dokaburi, "0.000") + "×tan（" + num(s.buruBunpukaku, "0") + "）";
  });
  put(ctx, "G23", [&] { return num(bulldozer.bunpuKaju, "0.000"); });
}

}  // namespace

void writeHorizontalEarthSheet(SectionContext& ctx) {
  // The plan picks the sheet (水平土圧2 for a flexible pipe on free support); its layout follows.
  if (ctx.sheet() == sheetName(entry::k水平土圧2))
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

  put(ctx, "C1", [&] { return heading(ctx, "．活荷重・上載荷重による水平荷重の計算"); });
  put(ctx, "D6", [&] { return heading(ctx, "－１．常時"); });
  put(ctx, "D21", [&] { return heading(ctx, "－２．施工時"); });

  // Service case: truck load and surcharge.
  put(ctx, "H8", [&] {
    return num(r.kajuKeisan[0].bunpuKaju, "0.000") + "＋" + numText(d.josaiKaju.str(), "0.000");
  });
  put(ctx, "H9", [&] { return num(r.katsuKaju, "0.000"); });
  put(ctx, "H12", [&] { return num(f2, "0.0"); });
  putRaised(ctx, "L12", [&] { return deflectionNumerator(r.keisuK, r.katsuKaju, rr); });
  putRaised(ctx, "L13", [&] { return deflectionDenominator(r.ei, e, rr); });
  put(ctx, "H14", [&] { return num(r.jidoshaTawami, "0.00000"); });
  put(ctx, "L17", [&] { return num(e, "0.00"); });
  put(ctx, "Q17", [&] { return num(r.jidoshaTawami, "0.00000"); });
  put(ctx, "H18", [&] { return num(f2, "0.0"); });
  put(ctx, "L18", [&] { return num(rr, "0.00000"); });
  put(ctx, "H19", [&] { return num(r.jidoshaHanryoku, "0.000"); });

  // Construction case: bulldozer load.
  put(ctx, "H24", [&] { return num(r.sekojiKaju, "0.000"); });
  put(ctx, "H27", [&] { return num(f2, "0.0"); });
  putRaised(ctx, "L27", [&] { return deflectionNumerator(r.keisuK, r.kajuKeisan[2].bunpuKaju, rr); });
  putRaised(ctx, "L28", [&] { return deflectionDenominator(r.ei, e, rr); });
  put(ctx, "H29", [&] { return num(r.buruTawami, "0.00000"); });
  put(ctx, "L32", [&] { return num(e, "0.00"); });
  put(ctx, "Q32", [&] { return num(r.buruTawami, "0.00000"); });
  put(ctx, "H33", [&] { return num(f2, "0.0"); });
  put(ctx, "L33", [&] { return num(rr, "0.00000"); });
  put(ctx, "H34", [&] { return num(r.buruHanryoku, "0.000"); });
}

}  // namespace tovakin::report
