// The cover and the design-conditions sheet: the report's title page and section 1, which
// restates every input of the case.
#include <string>

#include "app/design_data.h"
#include "app/load_classes.h"
#include "app/number_format.h"
#include "app/std_io.h"
#include "calc/calc_result.h"
#include "platform/ole_date.h"
#include "report/cell_conventions.h"
#include "report/layer.h"
#include "report/section_writer.h"

namespace tovakin::report {

namespace {

std::string padded(int value, std::size_t width) {
  std::string digits = formatFixed(value, 0);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// "2026年 03月 05日".
std::string reportDate(double oleDate) {
  const LocalDateTime t = fromOleDate(oleDate);
  return padded(t.year, 4) + "年 " + padded(t.month, 2) + "月 " + padded(t.day, 2) + "日";
}

std::string millimetres(double metres) { return num(metres * 1000.0, "0.00"); }

}  // namespace

void writeCoverSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  ctx.write("E9", ctx.result.kanzaiKubun == 0 ? "管路の構造計算（不とう性管）" : "管路の構造計算（とう性管）");
  ctx.write("H19", asText(myTrim(d.keisanshoTitle)));
  ctx.write("H21", reportDate(d.updateDate));
}

void writeDesignConditionsSheet(SectionContext& ctx) {
  const DesignData& d = ctx.design;
  ctx.title("．設計条件");
  ctx.write("管種類", myTrim(d.kanshu) + " " + myTrim(d.kikaku));
  ctx.write("呼び径", numText(myTrim(d.yobikei), "0"));
  ctx.write("管外径", millimetres(d.gaikei));
  ctx.write("管内径", millimetres(d.naikei));
  ctx.write("管厚", millimetres(d.kanatu));
  ctx.write("管厚中心半径", millimetres(d.chushinHankei));
  ctx.write("T7", millimetres(d.naikeiKeisan));
  ctx.write("T8", millimetres(d.kanatuKeisan));
  ctx.write("管材単位体積重量", num(ctx.result.kanzaiTanniJuryo, "0.00"));

  if (d.maisetuKeishiki == 0) {
    ctx.write("埋設形式", "溝型");
    ctx.write("溝幅ラベル", "管頂部溝幅");
    ctx.write("管頂部溝幅", num(d.mizohaba, "0.0000"));
  } else if (d.maisetuKeishiki == 1) {
    // A projecting burial has no trench: its width is not shown.
    ctx.write("埋設形式", "突出型");
    ctx.write("溝幅ラベル", "");
    ctx.write("管頂部溝幅", "");
    ctx.write("AC17", "");
  } else {
    ctx.write("埋設形式", "矢板施工");
    ctx.write("溝幅ラベル", "矢板中心溝幅");
    ctx.write("管頂部溝幅", num(d.mizohaba, "0.0000"));
  }

  ctx.write("基礎形式", d.kisoKeishiki != 0 ? "固定支承" : "自由支承");
  ctx.write("土かぶり", num(d.dokaburi, "0.0000"));
  ctx.write("水の単位体積重量", num(d.mizuTanniJuryo, "0.00"));
  ctx.write("土の単位体積重量", num(d.tuchiTanniJuryo, "0.00"));
  ctx.write("飽和土単位体積重量", num(d.howadoTanniJuryo, "0.00"));
  ctx.write("内部摩擦角", num(d.naibuMasatukaku, "0"));
  ctx.write("設計支持角", num(d.shijikaku, "0"));
  ctx.write("沈下比", num(d.chinkahi, "0.0"));
  ctx.write("輪荷重規格", app::truckClass(d.kajuJoken).text);
  ctx.write("道路の状態", d.doroJoken != 0 ? "舗装道路" : "未舗装道路");
  ctx.write("上載荷重条件", asText(myTrim(d.josaiKajuMeisho)));
  ctx.write("上載荷重", numText(myTrim(d.josaiKaju), "0.00"));
  ctx.write("ブルドーザー規格", app::bulldozerClass(d.buruJoken).text);
  ctx.write("キャタピラ数", num(d.kyatapiraSu, "0"));
  ctx.write("施工時衝撃係数", num(d.sekojiShogekiKeisu, "0.0"));
  ctx.write("静水圧", num(d.seisuiatu, "0.000"));
  ctx.write("水撃圧", num(d.suigekiatu, "0.000"));
}

}  // namespace tovakin::report
