// The pipe-material workbook the build puts into the application folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/xlsx.h"

namespace tovakin::platform::xlsx {
namespace {

using Type = CellValue::Type;

struct ExpectedSheet {
  std::string name;
  std::vector<std::string> columns;
  std::vector<std::string> textColumns;  // every other column holds numbers (or nothing)
};

const std::vector<std::string> kPipeColumns = {"管種", "規格", "呼び径", "外径", "管厚",
                                               "管厚中心半径", "内径", "ひびわれ外圧", "ひびわれ内圧", "EI値"};

const std::vector<ExpectedSheet> kSheets = {
    {"不とう性管", kPipeColumns, {"管種", "規格"}},
    {"とう性管", kPipeColumns, {"管種", "規格"}},
    {"管材データ", {"管種", "単位体積重量", "弾性係数", "管材区分", "引張応力", "許容引張応力度"}, {"管種"}},
    {"モーメント係数", {"対象管", "対象荷重", "設計支持角", "支承条件", "係数"}, {"対象管", "対象荷重", "支承条件"}},
    {"標準溝幅", {"呼び径", "BS値"}, {"呼び径"}},
};

std::size_t sourceDataLines(const std::string& sheet) {
  std::ifstream in(std::string(TOVAKIN_SOURCE_DIR) + "/data/pipe-material/" + sheet + ".tsv");
  std::size_t lines = 0;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) ++lines;
  }
  return lines - 1;
}

TEST(ShippedPipeWorkbook, SheetsColumnsAndTypes) {
  const Workbook wb = Workbook::open(std::string(TOVAKIN_APPDIR) + "/DATABASE/Tovakin.xlsx");
  std::vector<std::string> names;
  for (const auto& s : kSheets) names.push_back(s.name);
  ASSERT_EQ(wb.sheetNames(), names);

  for (const auto& sheet : kSheets) {
    SCOPED_TRACE(sheet.name);
    const auto rows = wb.rows(sheet.name);
    ASSERT_FALSE(rows.empty());
    ASSERT_EQ(rows[0].size(), sheet.columns.size());
    for (std::size_t c = 0; c < sheet.columns.size(); ++c) {
      EXPECT_EQ(rows[0][c].type, Type::Text);
      EXPECT_EQ(rows[0][c].text, sheet.columns[c]);
    }
    EXPECT_EQ(rows.size() - 1, sourceDataLines(sheet.name));
    for (std::size_t r = 1; r < rows.size(); ++r) {
      ASSERT_FALSE(rows[r].empty()) << "row " << r + 1;
      EXPECT_LE(rows[r].size(), sheet.columns.size());
      for (std::size_t c = 0; c < rows[r].size(); ++c) {
        if (rows[r][c].empty()) continue;
        const bool text = std::find(sheet.textColumns.begin(), sheet.textColumns.end(), sheet.columns[c]) !=
                          sheet.textColumns.end();
        EXPECT_EQ(rows[r][c].type, text ? Type::Text : Type::Number) << sheet.columns[c] << " row " << r + 1;
      }
      EXPECT_FALSE(rows[r][0].empty()) << "key missing in row " << r + 1;
    }
  }

  // The size classes are text, the first one serving every size up to 100.
  const auto widths = wb.rows("標準溝幅");
  EXPECT_EQ(widths[1][0].text, "100以下");
  EXPECT_EQ(widths[2][0].text, "125");
}

}  // namespace
}  // namespace tovakin::platform::xlsx
