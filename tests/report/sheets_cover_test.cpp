#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "report/sheet_plan.h"
#include "report_fixture.h"

namespace tovakin::report {
namespace {

// Runs the cover and design-conditions writers of a case on a template-like book.
class CoverSheets : public ::testing::Test, public testing::SectionFixture {
 protected:
  void run() { runSections({Section::Cover, Section::DesignConditions}); }
  std::string cover(const std::string& a) const { return book_.text("表紙", a); }
  std::string cond(const std::string& a) const { return book_.text("設計条件", a); }
};

TEST_F(CoverSheets, CoverTexts) {
  run();
  EXPECT_EQ(cover("E9"), "管路の構造計算（とう性管）");
  EXPECT_EQ(cover("H19"), "○○地区 幹線水路");
  EXPECT_TRUE(book_.cell("表紙", "H19")->quotePrefix);
  EXPECT_EQ(cover("H21"), "2026年 03月 05日");
  EXPECT_FALSE(book_.cell("表紙", "H21")->quotePrefix);

  case_.result.kanzaiKubun = 0;
  case_.design.keisanshoTitle = "";
  run();
  EXPECT_EQ(cover("E9"), "管路の構造計算（不とう性管）");
  EXPECT_EQ(cover("H19"), "");
  EXPECT_TRUE(book_.cell("表紙", "H19")->quotePrefix);  // "'" alone

  for (int cls : {5, -1, 1}) {
    case_.result.kanzaiKubun = cls;
    run();
    EXPECT_EQ(cover("E9"), "管路の構造計算（とう性管）") << cls;
  }
}

TEST_F(CoverSheets, DesignConditionsExactTexts) {
  run();
  const std::map<std::string, std::string> expected = {
      {"C1", "１．設計条件"},
      {"管種類", "強化プラスチック複合管 JIS A 5350"},
      {"呼び径", "300"},
      {"管外径", "324.80"},
      {"管内径", "295.60"},
      {"管厚", "14.60"},
      {"管厚中心半径", "155.10"},
      {"T7", "294.80"},
      {"T8", "15.00"},
      {"管材単位体積重量", "19.60"},
      {"埋設形式", "溝型"},
      {"溝幅ラベル", "管頂部溝幅"},
      {"管頂部溝幅", "0.8500"},
      {"基礎形式", "自由支承"},
      {"土かぶり", "1.2000"},
      {"水の単位体積重量", "9.80"},
      {"土の単位体積重量", "18.00"},
      {"飽和土単位体積重量", "20.00"},
      {"内部摩擦角", "30"},
      {"設計支持角", "90"},
      {"沈下比", "0.5"},
      {"輪荷重規格", "T-25"},
      {"道路の状態", "舗装道路"},
      {"上載荷重条件", "群集荷重"},
      {"上載荷重", "10.00"},
      {"ブルドーザー規格", "11ton級"},
      {"キャタピラ数", "2"},
      {"施工時衝撃係数", "0.3"},
      {"静水圧", "0.500"},
      {"水撃圧", "0.250"},
  };
  for (const auto& [address, text] : expected) EXPECT_EQ(cond(address), text) << address;
  EXPECT_TRUE(book_.cell("設計条件", "上載荷重条件")->quotePrefix);
  EXPECT_FALSE(book_.cell("設計条件", "呼び径")->quotePrefix);
  EXPECT_FALSE(book_.written("設計条件", "AC17"));

  // the order of the writes: C1 first, the burial block between 管材単位体積重量 and 基礎形式
  std::vector<std::string> order;
  for (const auto& [sheet, address] : book_.writes)
    if (sheet == "設計条件") order.push_back(address);
  ASSERT_GE(order.size(), 14u);
  EXPECT_EQ(order[0], "C1");
  EXPECT_EQ(order[9], "管材単位体積重量");
  EXPECT_EQ(order[10], "埋設形式");
  EXPECT_EQ(order[13], "基礎形式");
  EXPECT_EQ(order.back(), "水撃圧");
}

TEST_F(CoverSheets, BurialBlock) {
  case_.design.maisetuKeishiki = 1;
  run();
  EXPECT_EQ(cond("埋設形式"), "突出型");
  EXPECT_EQ(cond("溝幅ラベル"), "");
  EXPECT_EQ(cond("管頂部溝幅"), "");
  EXPECT_TRUE(book_.written("設計条件", "AC17"));
  EXPECT_EQ(cond("AC17"), "");

  case_.design.maisetuKeishiki = 2;
  run();
  EXPECT_EQ(cond("埋設形式"), "矢板施工");
  EXPECT_EQ(cond("溝幅ラベル"), "矢板中心溝幅");
  EXPECT_EQ(cond("管頂部溝幅"), "0.8500");
  EXPECT_FALSE(book_.written("設計条件", "AC17"));
}

TEST_F(CoverSheets, ClassesCodesAndNumbersHeldAsText) {
  struct Row {
    double truck, bulldozer, support, road;
    const char* truckText;
    const char* bulldozerText;
  };
  for (const Row& r : {Row{0, 0, 1, 0, "なし", "なし"}, Row{10, 3, 0, 0, "T-10", "3ton級"},
                       Row{14, 15, 1, 1, "T-14", "15ton級"}}) {
    case_.design.kajuJoken = r.truck;
    case_.design.buruJoken = r.bulldozer;
    case_.design.kisoKeishiki = r.support;
    case_.design.doroJoken = r.road;
    run();
    EXPECT_EQ(cond("輪荷重規格"), r.truckText);
    EXPECT_EQ(cond("ブルドーザー規格"), r.bulldozerText);
    EXPECT_EQ(cond("基礎形式"), r.support != 0 ? "固定支承" : "自由支承");
    EXPECT_EQ(cond("道路の状態"), r.road != 0 ? "舗装道路" : "未舗装道路");
  }
  // A class the tables lack is never written as another one (or as none).
  case_.design.kajuJoken = 12;
  EXPECT_THROW(run(), platform::RuntimeError);
  case_.design.kajuJoken = 0;
  case_.design.buruJoken = 7;
  EXPECT_THROW(run(), platform::RuntimeError);
  case_.design.buruJoken = 0;
  case_.design.josaiKaju = "0";
  case_.design.josaiKajuMeisho = "  ";
  case_.design.yobikei = "１５００";
  run();
  EXPECT_EQ(cond("上載荷重"), "0.00");
  EXPECT_EQ(cond("上載荷重条件"), "");
  EXPECT_EQ(cond("呼び径"), "1500");
}

}  // namespace
}  // namespace tovakin::report
