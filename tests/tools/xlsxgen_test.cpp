// The xlsxgen tool and the reader on the workbooks it writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/xlsx.h"
#include "support/xlsx_test_util.h"

namespace tovakin::platform::xlsx {
namespace {

using tovakin::testing::readFile;
using tovakin::testing::runXlsxgen;
using tovakin::testing::TempDir;
using tovakin::testing::writeFile;
using Type = CellValue::Type;

CellValue num(double v) { return {Type::Number, v, {}}; }
CellValue txt(std::string s) { return {Type::Text, 0, std::move(s)}; }
CellValue none() { return {}; }

TEST(XlsxGen, CellTypesAndSheetOrderSurviveTheRoundTrip) {
  TempDir dir;
  // Written out of alphabetical order so that a reader sorting by name or part would show it.
  writeFile(dir.file("z.tsv"),
            "名前\t値\t備考\t100\n"
            "'150\t150\t\t-1.5e3\n"
            "\n"
            "1e\t 12\t'\t0.469\n"
            "''x\t.5\t12a\t\n"
            "\n"
            "\n");
  writeFile(dir.file("a.tsv"), "\xEF\xBB\xBF列\r\n数\r\n3\r\n");
  const std::string out = dir.file("out.xlsx");
  ASSERT_EQ(runXlsxgen({out, "シートZ=" + dir.file("z.tsv"), "シートA=" + dir.file("a.tsv")}), 0);
  EXPECT_FALSE(std::filesystem::exists(out + ".tmp"));

  const Workbook wb = Workbook::open(out);
  EXPECT_EQ(wb.sheetNames(), (std::vector<std::string>{"シートZ", "シートA"}));

  const auto z = wb.rows("シートZ");
  ASSERT_EQ(z.size(), 5u);  // the trailing empty lines leave no rows
  EXPECT_EQ(z[0], (Row{txt("名前"), txt("値"), txt("備考"), txt("100")}));  // header numbers stay text
  EXPECT_EQ(z[1], (Row{txt("150"), num(150), none(), num(-1500)}));
  EXPECT_TRUE(z[2].empty());
  // "1e" and " 12" are not whole decimal numbers; a lone "'" writes nothing.
  EXPECT_EQ(z[3], (Row{txt("1e"), txt(" 12"), none(), num(0.469)}));
  EXPECT_EQ(z[4], (Row{txt("'x"), num(0.5), txt("12a")}));

  // BOM and CR LF: neither reaches a cell.
  EXPECT_EQ(wb.rows("シートA"), (std::vector<Row>{{txt("列")}, {txt("数")}, {num(3)}}));
}

TEST(XlsxGen, UsesSharedStringsForText) {
  TempDir dir;
  writeFile(dir.file("s.tsv"), "a\tb\nx\tx\n");
  const std::string out = dir.file("s.xlsx");
  ASSERT_EQ(runXlsxgen({out, "S=" + dir.file("s.tsv")}), 0);
  const std::string bytes = readFile(out);
  EXPECT_NE(bytes.find("xl/sharedStrings.xml"), std::string::npos);
  EXPECT_EQ(Workbook::open(out).rows("S")[1], (Row{txt("x"), txt("x")}));
}

TEST(XlsxGen, FailuresReturnNonZeroAndLeaveTheOldFile) {
  TempDir dir;
  writeFile(dir.file("ok.tsv"), "a\n1\n");
  writeFile(dir.file("bad_utf8.tsv"), "a\n\xC3\x28\n");
  writeFile(dir.file("control.tsv"), "a\nx\x01y\n");
  writeFile(dir.file("empty.tsv"), "");
  writeFile(dir.file("ok.csv"), "a\n");
  const std::string ok = "S=" + dir.file("ok.tsv");
  const std::string out = dir.file("old.xlsx");

  const std::vector<std::vector<std::string>> cases = {
      {out},                                    // no sheet
      {out, "S"},                               // no "="
      {out, "=" + dir.file("ok.tsv")},          // no sheet name
      {out, "S="},                              // no file
      {out, "S=" + dir.file("missing.tsv")},
      {out, "S=" + dir.file("bad_utf8.tsv")},
      {out, "S=" + dir.file("control.tsv")},
      {out, "S=" + dir.file("empty.tsv")},
      {out, "S=" + dir.file("ok.csv")},         // unknown input format
      {out, "a/b=" + dir.file("ok.tsv")},       // invalid sheet name
      {out, std::string(32, 'x') + "=" + dir.file("ok.tsv")},  // sheet name too long
      {out, ok, "s=" + dir.file("ok.tsv")},     // duplicate sheet name (case-insensitive)
      {dir.file("no/such/folder/x.xlsx"), ok},  // output folder missing
  };
  for (const auto& args : cases) {
    writeFile(out, "previous report");
    const std::string err = dir.file("stderr.txt");
    EXPECT_NE(runXlsxgen(args, err), 0) << args.back();
    EXPECT_EQ(readFile(out), "previous report") << args.back();
    EXPECT_FALSE(std::filesystem::exists(out + ".tmp")) << args.back();
    if (args.size() > 1) {
      EXPECT_FALSE(readFile(err).empty()) << args.back();
    }
  }
}

}  // namespace
}  // namespace tovakin::platform::xlsx
