#include "report/sheets_design.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/calc_settings.h"
#include "report/sheet_plan.h"
#include "report_fixture.h"
#include "support/fake_pipe_source.h"
#include "support/scripted_error_box.h"

namespace tovakin::report {
namespace {

using Texts = std::map<std::string, std::string>;

// Distinct coefficients per load, so that a load type mixed up shows in the texts.
std::vector<testing::FakeMomentRow> momentTable() {
  std::vector<testing::FakeMomentRow> rows;
  auto add = [&](const char* kan, const char* support, int angle, double k1, double k2, double k3, double k4,
                 double k5) {
    const char* loads[] = {"鉛直等分布荷重", "管内水重", "管体自重", "側面水平荷重1", "側面水平荷重2"};
    const double k[] = {k1, k2, k3, k4, k5};
    for (int i = 0; i < 5; ++i) rows.push_back({kan, loads[i], angle, support, k[i]});
  };
  add("不とう性管", "自由支承", 90, 0.314, 0.150, 0.260, 0.125, 0.083);
  add("不とう性管", "固定支承", 90, 0.275, 0.141, 0.222, 0.118, 0.071);
  add("とう性管", "自由支承", 90, 0.218, 0.109, 0.121, 0.0915, 0.0);
  add("とう性管", "固定支承", 180, 0.132, 0.066, 0.083, 0.061, 0.045);
  return rows;
}

class DesignSheets : public ::testing::Test, public testing::SectionFixture {
 protected:
  DesignSheets() {
    pipes_.moments = momentTable();
    pipes_.materials = {{"強化プラスチック複合管", 19.6, 8000.0, 3.0, {}, {}}};
    setCommonValues();
  }

  // Values the sheets show, the same for every case unless a test changes them.
  void setCommonValues() {
    DesignData& d = case_.design;
    CalcResult& r = case_.result;
    d.chushinHankei = 0.1551;
    d.kanatu = 0.0146;
    d.mizuTanniJuryo = 9.8;
    d.hanryokuKeisu = 5000;
    d.henkeiOkureF1 = 1.5;
    d.josaiKaju = "10";
    r.keisuKp = 0.125;
    r.keisuKo = 0.11;
    r.kantaiJiju = 0.28616;
    r.ei = 1234.5678;
    r.jijuTawami = 0.001234567;
    r.jijuHanryoku = 12.3456;
    r.suijuTawami = 0.00045678;
    r.suijuHanryoku = 4.5678;
    r.wv = 28.456;
    r.kajuKeisan[0].bunpuKaju = 6.789;
    r.kajuKeisan[2].bunpuKaju = 12.3;
    r.sekkeiKaju = {45.245, 40.756};
    r.doatuHanryoku = 1.111;
    r.jidoshaHanryoku = 2.222;
    r.buruHanryoku = 3.5;
    r.hanryokuGokei = {4.11, 4.944};
    r.kantaiJuryo = 2.345;
    r.q1 = 5.4;
    r.q2 = 9.0;
    r.mageMoment[0] = MomentRow{4.321, 0.456, 0.0, -1.5};
    r.mageMoment[1] = MomentRow{5.2, 0.0, 0.0, -1.25};
    r.mageMomentGokei = {3.277, 3.95};
    r.sekkeiSuiatu = 0.75;
  }

  void setClass(double cls, double support) {
    case_.design.kanzaiKubun = cls;
    case_.result.kanzaiKubun = static_cast<std::int32_t>(cls);
    case_.design.kisoKeishiki = support;
    case_.design.shijikaku = support == 0 ? 90 : (cls == 0 ? 90 : 180);
  }

  // Runs the writers of this group for the sections the case's plan holds.
  void run() {
    pipes_.momentQueries.clear();
    pipes_.materialKeys.clear();
    runSections(
        {Section::WeightWaterHorizontal, Section::DesignLoad, Section::InternalPressure, Section::TransverseDesign});
  }

  // The final texts of a sheet; every write of a formula that carries markers shows twice
  // (the text and its pass), so the order is checked on the first writes only.
  void expectTexts(const std::string& sheet, const Texts& expected) const {
    for (const auto& [address, text] : expected) {
      EXPECT_TRUE(book_.written(sheet, address)) << sheet << "!" << address;
      EXPECT_EQ(book_.text(sheet, address), text) << sheet << "!" << address;
    }
    const std::vector<std::string> writes = writesTo(sheet);
    const std::set<std::string> written(writes.begin(), writes.end());
    std::set<std::string> named;
    for (const auto& [address, text] : expected) named.insert(address);
    EXPECT_EQ(written, named) << sheet;
  }
  std::vector<std::string> firstWriteOrder(const std::string& sheet) const {
    std::vector<std::string> out;
    for (const auto& a : writesTo(sheet))
      if (std::find(out.begin(), out.end(), a) == out.end()) out.push_back(a);
    return out;
  }

  testing::FakePipeSource pipes_;
  Installed<PipeDataSource> scope_ = installPipeDataSource(&pipes_);
};

// --- rigid pipe --------------------------------------------------------------------------------

TEST_F(DesignSheets, RigidPipeOnFreeSupport) {
  setClass(0, 0);
  run();
  EXPECT_TRUE(errors_.shown.empty());

  expectTexts("設計荷重", {
                              {"C1", "７．設計荷重"},
                              {"E5", "７－１．常時"},
                              {"E10", "７－２．施工時"},
                              {"G7", "28.456＋6.789＋10.000"},
                              {"G8", "45.245"},
                              {"G12", "28.456＋12.300"},
                              {"G13", "40.756"},
                          });
  EXPECT_EQ(firstWriteOrder("設計荷重"), (std::vector<std::string>{"C1", "E5", "E10", "G7", "G8", "G12", "G13"}));
  expectTexts("内水圧", {{"C1", "８．内水圧"}, {"設計水圧", "0.750"}});

  expectTexts("横断方向設計", {
                                  {"C1", "９．横断方向設計"},
                                  {"D14", "９－１．常時"},
                                  {"D28", "９－２．施工時"},
                                  {"P4", "自由支承"},
                                  {"P5", "90"},
                                  {"P6", "0.15510"},
                                  {"P7", "45.245"},
                                  {"P8", "40.756"},
                                  {"P9", "9.80"},
                                  {"P12", "2.345"},
                                  {"P10", "5.400"},
                                  {"P11", "9.000"},
                                  {"F16", "0.314ＷＲ2"},
                                  {"P16", "＝0.314×45.245×0.155102＝4.321"},
                                  {"F18", "0.150ｗｏＲ3"},
                                  {"P18", "＝0.150×9.80×0.155103＝0.456"},
                                  {"F20", "考慮しない"},
                                  {"P20", ""},
                                  {"F22", "－（0.125Ｐ１＋0.083Ｐ２）Ｒ2"},
                                  {"P22", "＝－（0.125×5.400＋0.083×9.000）×0.155102＝-1.500"},
                                  {"H25", "4.321＋0.456＋0.000－1.500"},
                                  {"H26", "3.277"},
                                  {"F30", "0.314Ｗ’Ｒ2"},
                                  {"P30", "＝0.314×40.756×0.155102＝5.200"},
                                  {"F34", "考慮しない"},
                                  {"P34", ""},
                                  {"F36", "－（0.125Ｐ１＋0.083Ｐ２）Ｒ2"},
                                  {"P36", "＝－（0.125×5.400＋0.083×9.000）×0.155102＝-1.250"},
                                  {"H39", "5.200＋0.000＋0.000－1.250"},
                                  {"H40", "3.950"},
                              });
  EXPECT_EQ(firstWriteOrder("横断方向設計"),
            (std::vector<std::string>{"C1",  "D14", "D28", "P4",  "P5",  "P6",  "P7",  "P8",  "P9",  "P12",
                                      "P10", "P11", "F16", "P16", "F18", "P18", "F20", "P20", "F22", "P22",
                                      "H25", "H26", "F30", "P30", "F34", "P34", "F36", "P36", "H39", "H40"}));

  // The exponent digit is the raised character, wherever it stands.
  EXPECT_EQ(raised("横断方向設計", "F16"), (std::set<int>{8}));
  EXPECT_EQ(raised("横断方向設計", "P16"), (std::set<int>{22}));
  EXPECT_EQ(raised("横断方向設計", "F22"), (std::set<int>{20}));
  EXPECT_TRUE(raised("横断方向設計", "P20").empty());

  // No section of this group for the free-flexible sheets; the rigid table on free support.
  for (const char* sheet : {"自重水重水平荷重", "自重水重水平荷重2", "設計荷重2", "横断方向設計2"})
    EXPECT_TRUE(writesTo(sheet).empty()) << sheet;
  ASSERT_EQ(pipes_.momentQueries.size(), 14u);
  for (const auto& q : pipes_.momentQueries) {
    EXPECT_EQ(q.taishoKan, "不とう性管");
    EXPECT_EQ(q.shoJoken, "自由支承");
    EXPECT_EQ(q.shijikaku, 90);
  }
  EXPECT_TRUE(pipes_.materialKeys.empty());
}

TEST_F(DesignSheets, SheetPileBurialAndFixedSupportShiftNumbersAndTable) {
  setClass(0, 1);
  case_.design.maisetuKeishiki = 2;  // no He section
  run();
  EXPECT_EQ(book_.text("設計荷重", "C1"), "６．設計荷重");
  EXPECT_EQ(book_.text("内水圧", "C1"), "７．内水圧");
  EXPECT_EQ(book_.text("横断方向設計", "C1"), "８．横断方向設計");
  EXPECT_EQ(book_.text("横断方向設計", "D28"), "８－２．施工時");
  EXPECT_EQ(book_.text("横断方向設計", "P4"), "固定支承");
  EXPECT_EQ(book_.text("横断方向設計", "F16"), "0.275ＷＲ2");
  EXPECT_EQ(book_.text("横断方向設計", "F22"), "－（0.118Ｐ１＋0.071Ｐ２）Ｒ2");
}

// The Part's worked example of the vertical-load row.
TEST_F(DesignSheets, VerticalLoadRowOfTheWorkedExample) {
  setClass(0, 0);
  pipes_.moments = {{"不とう性管", "鉛直等分布荷重", 90, "自由支承", 0.132}};
  case_.result.sekkeiKaju[0] = 25;
  case_.design.chushinHankei = 0.5;
  case_.result.mageMoment[0].enchoku = 0.825;
  run();
  EXPECT_EQ(book_.text("横断方向設計", "P16"), "＝0.132×25.000×0.500002＝0.825");
  EXPECT_EQ(raised("横断方向設計", "P16"), (std::set<int>{22}));
  // coefficients the table does not hold are shown as 0.000
  EXPECT_EQ(book_.text("横断方向設計", "F18"), "0.000ｗｏＲ3");
}

// --- flexible pipe on free support -------------------------------------------------------------

TEST_F(DesignSheets, FlexiblePipeOnFreeSupport) {
  setClass(3, 0);
  run();
  EXPECT_TRUE(errors_.shown.empty());

  expectTexts("自重水重水平荷重", {
                                      {"H5", "0.125"},
                                      {"H7", "19.60×0.01460"},
                                      {"H8", "0.286"},
                                      {"H11", "1.5"},
                                      {"L11", "2×0.125×0.286×0.155104"},
                                      {"L12", "1234.5678＋0.061×5000.00×0.155103"},
                                      {"H13", "0.00123"},
                                      {"L16", "5000.00"},
                                      {"Q16", "0.00123"},
                                      {"H17", "1.5"},
                                      {"L17", "0.15510"},
                                      {"H18", "12.346"},
                                      {"C1", "９．管体自重・管内水重による水平荷重の計算"},
                                      {"D4", "９－１．管体の自重による水平荷重（Ｐｐ）"},
                                      {"D20", "９－２．管内水重による水平荷重（Ｐｏ）"},
                                      {"H21", "0.110"},
                                      {"H22", "9.800"},
                                      {"H25", "1.5"},
                                      {"L25", "2×0.110×9.800×0.155105"},
                                      {"L26", "1234.5678＋0.061×5000.00×0.155103"},
                                      {"H27", "0.00046"},
                                      {"L30", "5000.00"},
                                      {"Q30", "0.00046"},
                                      {"H31", "1.5"},
                                      {"L31", "0.15510"},
                                      {"H32", "4.568"},
                                  });
  // the self-weight block comes before the title
  const auto order = firstWriteOrder("自重水重水平荷重");
  ASSERT_EQ(order.size(), 26u);
  EXPECT_EQ(order[0], "H5");
  EXPECT_EQ(order[11], "H18");
  EXPECT_EQ(order[12], "C1");
  EXPECT_EQ(order.back(), "H32");
  EXPECT_EQ(raised("自重水重水平荷重", "L11"), (std::set<int>{22}));
  EXPECT_EQ(raised("自重水重水平荷重", "L25"), (std::set<int>{22}));
  EXPECT_EQ(raised("自重水重水平荷重", "L12"), (std::set<int>{32}));
  EXPECT_EQ(pipes_.materialKeys, (std::vector<std::string>{"強化プラスチック複合管"}));

  expectTexts("設計荷重2", {
                               {"C1", "１０．設計荷重"},
                               {"E5", "１０－１．常時"},
                               {"E15", "１０－２．施工時"},
                               {"G7", "28.456＋6.789＋10.000"},
                               {"G8", "45.245"},
                               {"G17", "28.456＋12.300"},
                               {"G18", "40.756"},
                               {"G10", "1.111＋2.222＋12.346＋4.568"},
                               {"G11", "4.110"},
                               {"G20", "1.111＋3.500＋12.346"},
                               {"G21", "4.944"},
                           });
  EXPECT_EQ(firstWriteOrder("設計荷重2"), (std::vector<std::string>{"C1", "E5", "E15", "G7", "G8", "G17", "G18",
                                                                   "G10", "G11", "G20", "G21"}));
  EXPECT_EQ(book_.text("内水圧", "C1"), "１１．内水圧");

  case_.result.mageMoment[0].jiju = 0.0345;
  case_.result.mageMoment[1].jiju = 0.0345;
  run();
  expectTexts("横断方向設計2", {
                                   {"C1", "１２．横断方向設計"},
                                   {"D14", "１２－１．常時"},
                                   {"D28", "１２－２．施工時"},
                                   {"P4", "自由支承"},
                                   {"P5", "90"},
                                   {"P6", "0.15510"},
                                   {"P7", "45.245"},
                                   {"P8", "40.756"},
                                   {"P9", "9.80"},
                                   {"P12", "2.345"},
                                   {"P10", "4.110"},
                                   {"P11", "4.944"},
                                   {"F16", "0.218ＷＲ2"},
                                   {"P16", "＝0.218×45.245×0.155102＝4.321"},
                                   {"F18", "0.109ｗｏＲ3"},
                                   {"P18", "＝0.109×9.80×0.155103＝0.456"},
                                   {"F20", "0.121ＷｄＲ"},
                                   {"P20", "＝0.121×2.345×0.15510＝0.035"},
                                   {"F22", "－0.092ＰＲ2"},
                                   {"P22", "＝－0.092×4.110×0.155102＝-1.500"},
                                   {"H25", "4.321＋0.456＋0.035－1.500"},
                                   {"H26", "3.277"},
                                   {"F30", "0.218Ｗ’Ｒ2"},
                                   {"P30", "＝0.218×40.756×0.155102＝5.200"},
                                   {"F34", "0.121ＷｄＲ"},
                                   {"P34", "＝0.121×2.345×0.15510＝0.035"},
                                   {"F36", "－0.092Ｐ’Ｒ2"},
                                   {"P36", "＝－0.092×4.944×0.155102＝-1.250"},
                                   {"H39", "5.200＋0.000＋0.035－1.250"},
                                   {"H40", "3.950"},
                               });
  EXPECT_EQ(raised("横断方向設計2", "F22"), (std::set<int>{9}));
  EXPECT_EQ(raised("横断方向設計2", "F36"), (std::set<int>{10}));
  EXPECT_EQ(pipes_.momentQueries.size(), 14u);
  for (const char* sheet : {"自重水重水平荷重2", "設計荷重", "横断方向設計"})
    EXPECT_TRUE(writesTo(sheet).empty()) << sheet;
}

TEST_F(DesignSheets, EiDesignedPipeHasNoSelfWeightValues) {
  setClass(5, 0);
  run();
  EXPECT_TRUE(writesTo("自重水重水平荷重").empty());
  EXPECT_EQ(firstWriteOrder("自重水重水平荷重2"),
            (std::vector<std::string>{"C1", "D4", "D20", "H21", "H22", "H25", "L25", "L26", "H27", "L30", "Q30", "H31",
                                      "L31", "H32"}));
  EXPECT_EQ(book_.text("自重水重水平荷重2", "D4"), "９－１．管体の自重による水平荷重（Ｐｐ）");
  EXPECT_EQ(book_.text("自重水重水平荷重2", "L25"), "2×0.110×9.800×0.155105");
  EXPECT_TRUE(pipes_.materialKeys.empty());  // no unit-weight lookup without the self-weight block

  EXPECT_EQ(book_.text("横断方向設計2", "F20"), "考慮しない");
  EXPECT_EQ(book_.text("横断方向設計2", "P20"), "");
  EXPECT_EQ(book_.text("横断方向設計2", "F34"), "考慮しない");
  EXPECT_EQ(book_.text("横断方向設計2", "F22"), "－0.092ＰＲ2");
  EXPECT_EQ(pipes_.momentQueries.size(), 10u);
}

// Every flexible class but 5 takes the self weight; the side load follows the sheet.
TEST_F(DesignSheets, ClassAndSupportMatrix) {
  struct Row {
    double cls, support;
    const char* transverseSheet;
    const char* designSheet;
    const char* f20;
    const char* f22;
    const char* p10;
    std::size_t queries;
  };
  const Row rows[] = {
      {0, 0, "横断方向設計", "設計荷重", "考慮しない", "－（0.125Ｐ１＋0.083Ｐ２）Ｒ2", "5.400", 14},
      {0, 1, "横断方向設計", "設計荷重", "考慮しない", "－（0.118Ｐ１＋0.071Ｐ２）Ｒ2", "5.400", 14},
      {1, 0, "横断方向設計2", "設計荷重2", "0.121ＷｄＲ", "－0.092ＰＲ2", "4.110", 14},
      {2, 0, "横断方向設計2", "設計荷重2", "0.121ＷｄＲ", "－0.092ＰＲ2", "4.110", 14},
      {3, 0, "横断方向設計2", "設計荷重2", "0.121ＷｄＲ", "－0.092ＰＲ2", "4.110", 14},
      {-1, 0, "横断方向設計2", "設計荷重2", "0.121ＷｄＲ", "－0.092ＰＲ2", "4.110", 14},
      {5, 0, "横断方向設計2", "設計荷重2", "考慮しない", "－0.092ＰＲ2", "4.110", 10},
      // flexible on fixed support (180 degrees): the rigid layout with the flexible table
      {1, 1, "横断方向設計", "設計荷重", "0.083ＷｄＲ", "－（0.061Ｐ１＋0.045Ｐ２）Ｒ2", "5.400", 18},
      {2, 1, "横断方向設計", "設計荷重", "0.083ＷｄＲ", "－（0.061Ｐ１＋0.045Ｐ２）Ｒ2", "5.400", 18},
      {5, 1, "横断方向設計", "設計荷重", "考慮しない", "－（0.061Ｐ１＋0.045Ｐ２）Ｒ2", "5.400", 14},
      {-1, 1, "横断方向設計", "設計荷重", "0.083ＷｄＲ", "－（0.061Ｐ１＋0.045Ｐ２）Ｒ2", "5.400", 18},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << "class " << row.cls << " support " << row.support);
    setClass(row.cls, row.support);
    run();
    EXPECT_TRUE(errors_.shown.empty());
    EXPECT_EQ(book_.text(row.transverseSheet, "F20"), row.f20);
    EXPECT_EQ(book_.text(row.transverseSheet, "F22"), row.f22);
    EXPECT_EQ(book_.text(row.transverseSheet, "P10"), row.p10);
    EXPECT_EQ(pipes_.momentQueries.size(), row.queries);
    const bool freeFlexible = row.cls != 0 && row.support == 0;
    EXPECT_EQ(writesTo(row.designSheet).size(), freeFlexible ? 11u : 7u);
    // the weight-and-water section only for a flexible pipe on free support
    const std::size_t weightWrites = writesTo("自重水重水平荷重").size() + writesTo("自重水重水平荷重2").size();
    EXPECT_EQ(weightWrites != 0, freeFlexible);
    for (const auto& q : pipes_.momentQueries) {
      EXPECT_EQ(q.taishoKan, row.cls == 0 ? "不とう性管" : "とう性管");
      EXPECT_EQ(q.shoJoken, row.support == 0 ? "自由支承" : "固定支承");
    }
  }
}

TEST_F(DesignSheets, PipeTypeMissingFromTheTableShowsZeroUnitWeight) {
  setClass(-1, 0);
  pipes_.materials.clear();
  run();
  EXPECT_EQ(book_.text("自重水重水平荷重", "H7"), "0.00×0.01460");
  EXPECT_EQ(book_.text("自重水重水平荷重", "H5"), "0.125");
  EXPECT_TRUE(errors_.shown.empty());
}

// --- signs, zeros and values that cannot be shown ----------------------------------------------

TEST_F(DesignSheets, SignedTermsOfTheMomentSums) {
  setClass(3, 0);
  case_.result.mageMoment[0] = MomentRow{-0.25, -0.001, -0.0004, 0.0};
  case_.result.mageMoment[1] = MomentRow{0.0, 0.0, 2.5, -0.0};
  case_.result.mageMomentGokei = {-0.251, 2.5};
  run();
  // a term that shows as 0.000 but lies below zero keeps its minus
  EXPECT_EQ(book_.text("横断方向設計2", "H25"), "-0.250－0.001－0.000＋0.000");
  EXPECT_EQ(book_.text("横断方向設計2", "H26"), "-0.251");
  EXPECT_EQ(book_.text("横断方向設計2", "H39"), "0.000＋0.000＋2.500＋0.000");
  EXPECT_EQ(book_.text("横断方向設計2", "P16"), "＝0.218×45.245×0.155102＝-0.250");
}

TEST_F(DesignSheets, InternalPressureAndZeros) {
  setClass(0, 0);
  case_.result.sekkeiSuiatu = 0.0;
  case_.result.kajuKeisan = {};
  case_.design.josaiKaju = "0";
  run();
  EXPECT_EQ(book_.text("内水圧", "設計水圧"), "0.000");
  EXPECT_EQ(book_.text("設計荷重", "G7"), "28.456＋0.000＋0.000");
  EXPECT_EQ(book_.text("設計荷重", "G12"), "28.456＋0.000");
}

TEST_F(DesignSheets, AValueThatCannotBeShownCostsOnlyItsCell) {
  testing::ScriptedErrorBox box{ErrorAnswer::Ignore};
  setClass(3, 0);
  case_.result.ei = std::numeric_limits<double>::quiet_NaN();
  case_.result.mageMoment[0].suihei = std::numeric_limits<double>::infinity();
  run();
  ASSERT_EQ(box.shown.size(), 4u);  // L12, L26, P22 and H25, nothing else
  for (const auto& text : box.shown) EXPECT_NE(text.find("(6)"), std::string::npos) << text;
  EXPECT_FALSE(book_.written("自重水重水平荷重", "L12"));
  EXPECT_FALSE(book_.written("自重水重水平荷重", "L26"));
  EXPECT_TRUE(book_.written("自重水重水平荷重", "H27"));
  EXPECT_FALSE(book_.written("横断方向設計2", "P22"));
  EXPECT_FALSE(book_.written("横断方向設計2", "H25"));
  EXPECT_EQ(book_.text("横断方向設計2", "H40"), "3.950");
  for (const auto& line : book_.log) {
    EXPECT_EQ(line.find("nan"), std::string::npos) << line;
    EXPECT_EQ(line.find("inf"), std::string::npos) << line;
  }
}

// --- slots -------------------------------------------------------------------------------------

TEST_F(DesignSheets, WritersFillExactlyTheirSlotsInSlotOrder) {
  std::set<int> seen;
  for (double cls : {0.0, 1.0, 2.0, 3.0, 5.0, -1.0})
    for (double support : {0.0, 1.0}) {
      SCOPED_TRACE(::testing::Message() << "class " << cls << " support " << support);
      setClass(cls, support);
      run();
      for (const Section s : {Section::WeightWaterHorizontal, Section::DesignLoad, Section::InternalPressure,
                              Section::TransverseDesign}) {
        const PlannedSection* p = plan_.find(s);
        if (!p) continue;
        const int e = p->entries.front();
        seen.insert(e);
        // the title and 設計水圧 stand in the base table, the rest in this group's, in write order
        std::vector<std::string> slotOrder, written;
        for (const Slot& slot : designSlots())
          if (slot.entry == e) slotOrder.emplace_back(slot.address);
        for (const auto& a : firstWriteOrder(sheetName(e))) {
          if (a == "C1" || a == "設計水圧")
            EXPECT_TRUE(isSlot(e, a)) << sheetName(e) << "!" << a;
          else
            written.push_back(a);
        }
        EXPECT_TRUE(book_.written(sheetName(e), "C1")) << sheetName(e);
        EXPECT_EQ(written, slotOrder) << sheetName(e);
      }
    }
  // every sheet of the group was reached by some case, and the slots name no other sheet
  EXPECT_EQ(seen, (std::set<int>{entry::k自重水重, entry::k自重水重2, entry::k設計荷重, entry::k設計荷重2,
                                 entry::k内水圧, entry::k横断方向設計, entry::k横断方向設計2}));
  for (const Slot& slot : designSlots()) {
    EXPECT_TRUE(seen.count(slot.entry)) << slot.address;
    EXPECT_NE(slot.address, "C1");
  }
}

}  // namespace
}  // namespace tovakin::report
