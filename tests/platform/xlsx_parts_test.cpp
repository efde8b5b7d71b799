// The reader on workbooks assembled from hand-written XML parts.
#include <gtest/gtest.h>

#include "platform/xlsx.h"
#include "platform/xlsx_model.h"
#include "support/xlsx_test_util.h"

namespace tovakin::platform::xlsx {
namespace {

using namespace tovakin::testing;
using Type = CellValue::Type;

CellValue num(double v) { return {Type::Number, v, {}}; }
CellValue txt(std::string s) { return {Type::Text, 0, std::move(s)}; }
CellValue boolean(bool b) { return {Type::Boolean, b ? 1.0 : 0.0, {}}; }
CellValue err(std::string s) { return {Type::Error, 0, std::move(s)}; }
CellValue none() { return {}; }

class XlsxParts : public ::testing::Test {
 protected:
  Workbook open(const ZipEntries& entries) {
    const std::string path = dir_.file("book" + std::to_string(++n_) + ".xlsx");
    writeZip(path, entries);
    return Workbook::open(path);
  }
  std::vector<Row> rowsOf(const std::string& sheetData, const std::string& sst = {}) {
    return open(minimalWorkbook({{"S", sheetXml(sheetData)}}, sst)).rows("S");
  }
  TempDir dir_;
  int n_ = 0;
};

TEST_F(XlsxParts, CellKinds) {
  const std::string sst = sharedStringsXml({
      "<t>plain</t>",
      // Rich text: the runs joined; the phonetic reading is not part of the text.
      "<r><rPr><b/></rPr><t>管</t></r><r><t xml:space=\"preserve\"> 種</t></r><rPh sb=\"0\" eb=\"1\"><t>カン</t></rPh>",
      "<t>line_x000D__x000A_two _x005F_x0041_</t>",
      "<t xml:space=\"preserve\">  </t>",
  });
  const auto rows = rowsOf(
      "<row r=\"1\">"
      "<c r=\"A1\" t=\"s\"><v>0</v></c>"
      "<c r=\"B1\" t=\"s\"><v>1</v></c>"
      "<c r=\"C1\" t=\"s\"><v>2</v></c>"
      "<c r=\"D1\" t=\"s\"><v> 3 </v></c>"
      "<c r=\"E1\" t=\"inlineStr\"><is><t>inline</t></is></c>"
      "<c r=\"F1\" t=\"inlineStr\"><is><r><t>a</t></r><r><t>b</t></r></is></c>"
      "</row>"
      "<row r=\"2\">"
      "<c r=\"A2\"><v>1.5</v></c>"
      "<c r=\"B2\" t=\"n\"><v>-2E-3</v></c>"
      "<c r=\"C2\" t=\"b\"><v>1</v></c>"
      "<c r=\"D2\" t=\"b\"><v>0</v></c>"
      "<c r=\"E2\" t=\"e\"><v>#N/A</v></c>"
      "<c r=\"F2\" s=\"3\"/>"  // styled, no value
      "</row>"
      "<row r=\"3\">"  // cached formula results
      "<c r=\"A3\"><f>1+1</f><v>2</v></c>"
      "<c r=\"B3\" t=\"str\"><f>\"x\"&amp;\"y\"</f><v>xy</v></c>"
      "<c r=\"C3\" t=\"b\"><f>TRUE()</f><v>1</v></c>"
      "<c r=\"D3\" t=\"e\"><f>1/0</f><v>#DIV/0!</v></c>"
      "<c r=\"E3\"><f>NOW()</f></c>"  // never calculated
      "</row>",
      sst);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (Row{txt("plain"), txt("管 種"), txt("line\r\ntwo _x0041_"), txt("  "), txt("inline"), txt("ab")}));
  EXPECT_EQ(rows[1], (Row{num(1.5), num(-0.002), boolean(true), boolean(false), err("#N/A")}));
  EXPECT_EQ(rows[2], (Row{num(2), txt("xy"), boolean(true), err("#DIV/0!")}));
}

// Some writers save a formula they cannot calculate with an empty value: no value, whatever
// the cell's type says, not a broken sheet. Only a string may consist of spaces.
TEST_F(XlsxParts, AnEmptyValueIsNoValue) {
  const auto rows = rowsOf(
      "<row r=\"1\">"
      "<c r=\"A1\"><f>SUM(B2:B9)</f><v></v></c>"
      "<c r=\"B1\" t=\"n\"><f>X()</f><v/></c>"
      "<c r=\"C1\" t=\"s\"><v></v></c>"
      "<c r=\"D1\" t=\"b\"><f>TRUE()</f><v></v></c>"
      "<c r=\"E1\" t=\"e\"><f>1/0</f><v></v></c>"
      "<c r=\"F1\" t=\"str\"><f>\"\"</f><v></v></c>"
      "<c r=\"G1\" t=\"d\"><v></v></c>"
      "<c r=\"H1\"><f>1+1</f><v> </v></c>"
      "<c r=\"I1\" t=\"str\"><f>\" \"</f><v> </v></c>"
      "<c r=\"J1\"><v>3</v></c>"
      "</row>"
      "<row r=\"2\"><c r=\"A2\"><f>A1</f><v></v></c></row>",
      sharedStringsXml({"<t>only</t>"}));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (Row{none(), none(), none(), none(), none(), none(), none(), none(), txt(" "), num(3)}));
}

TEST_F(XlsxParts, PositionsFromReferencesOrFollowingOn) {
  const auto rows = rowsOf(
      "<row><c><v>1</v></c><c><v>2</v></c><c r=\"E1\"><v>5</v></c><c><v>6</v></c></row>"  // no r: A, B; then F
      "<row r=\"4\"><c r=\"$C$4\"><v>3</v></c></row>"                                    // rows 2, 3 missing
      "<row><c><v>7</v></c></row>"                                                        // row 5 follows row 4
      "<row r=\"7\"><c r=\"A7\" s=\"1\"/></row>"                                          // styled only: no row
      "<row r=\"9\"/>");
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], (Row{num(1), num(2), none(), none(), num(5), num(6)}));
  EXPECT_TRUE(rows[1].empty());
  EXPECT_TRUE(rows[2].empty());
  EXPECT_EQ(rows[3], (Row{none(), none(), num(3)}));
  EXPECT_EQ(rows[4], (Row{num(7)}));
}

TEST_F(XlsxParts, RowsOutOfOrderLandWhereTheySay) {
  const auto rows = rowsOf("<row r=\"3\"><c r=\"B3\"><v>3</v></c><c r=\"A3\"><v>4</v></c></row>"
                           "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (Row{num(1)}));
  EXPECT_EQ(rows[2], (Row{num(4), num(3)}));
}

TEST_F(XlsxParts, EmptySheetAndSheetWithoutData) {
  EXPECT_TRUE(rowsOf("").empty());
  auto parts = minimalWorkbook({{"S", "<worksheet xmlns=\"x\"/>"}});
  EXPECT_TRUE(open(parts).rows("S").empty());
}

TEST_F(XlsxParts, SheetOrderAndNamesComeFromTheWorkbookPart) {
  auto parts = minimalWorkbook({{"x", sheetXml("<row><c><v>1</v></c></row>")},
                                {"y", sheetXml("<row><c><v>2</v></c></row>")},
                                {"z", sheetXml("<row><c><v>3</v></c></row>")}});
  // Tab order differs from part order, relationship order and name order.
  setEntry(parts, "xl/workbook.xml",
           std::string("<workbook xmlns=\"") + tovakin::testing::kSpreadsheetNs + "\" xmlns:r=\"" +
               tovakin::testing::kRelNs + "\"><sheets>"
               "<sheet name=\"三\" sheetId=\"7\" r:id=\"rId3\"/>"
               "<sheet name=\"Two\" sheetId=\"1\" r:id=\"rId2\"/>"
               "<sheet name=\"一\" sheetId=\"2\" r:id=\"rId1\"/>"
               "</sheets></workbook>");
  const auto wb = open(parts);
  EXPECT_EQ(wb.sheetNames(), (std::vector<std::string>{"三", "Two", "一"}));
  EXPECT_TRUE(wb.hasSheet("two"));  // ASCII letters compare as the spreadsheet program does
  EXPECT_FALSE(wb.hasSheet("Two "));
  EXPECT_FALSE(wb.hasSheet("x"));
  EXPECT_EQ(wb.rows("TWO")[0], (Row{num(2)}));
  EXPECT_EQ(wb.rows("三")[0], (Row{num(3)}));
  EXPECT_EQ(wb.rows("一")[0], (Row{num(1)}));
  EXPECT_THROW(wb.rows("四"), Error);
}

// A workbook laid out the way other producers do it: prefixed elements, the workbook part in
// its own folder, absolute and "../" targets, a chart sheet among the worksheets.
TEST_F(XlsxParts, TargetsAbsoluteRelativeAndPrefixedElements) {
  const std::string relsNs = "http://schemas.openxmlformats.org/package/2006/relationships";
  ZipEntries parts{
      {"[Content_Types].xml", "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
      {"_rels/.rels", "<Relationships xmlns=\"" + relsNs + "\"><Relationship Id=\"a\" Type=\"" +
                          std::string(kRelTypeBase) + "officeDocument\" Target=\"/book/main.xml\"/></Relationships>"},
      {"book/main.xml",
       "<x:workbook xmlns:x=\"s\" xmlns:rel=\"r\"><x:sheets>"
       "<x:sheet name=\"絶対\" sheetId=\"1\" rel:id=\"r1\"/>"
       "<x:sheet name=\"グラフ\" sheetId=\"2\" rel:id=\"r2\"/>"
       "<x:sheet name=\"相対\" sheetId=\"3\" rel:id=\"r3\"/>"
       "</x:sheets></x:workbook>"},
      {"book/_rels/main.xml.rels",
       "<Relationships xmlns=\"" + relsNs + "\">"
       "<Relationship Id=\"r1\" Type=\"" + std::string(kRelTypeBase) + "worksheet\" Target=\"/data/abs.xml\"/>"
       "<Relationship Id=\"r2\" Type=\"" + std::string(kRelTypeBase) + "chartsheet\" Target=\"chart.xml\"/>"
       "<Relationship Id=\"r3\" Type=\"http://purl.oclc.org/ooxml/officeDocument/relationships/worksheet\" "
       "Target=\"./sub/../../data/rel%20one.xml\"/>"
       "<Relationship Id=\"r4\" Type=\"" + std::string(kRelTypeBase) + "sharedStrings\" Target=\"../DATA/SST.xml\"/>"
       "<Relationship Id=\"r5\" Type=\"" + std::string(kRelTypeBase) + "hyperlink\" Target=\"http://example.invalid/\" "
       "TargetMode=\"External\"/>"
       "</Relationships>"},
      {"data/abs.xml", "<x:worksheet xmlns:x=\"s\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\" t=\"s\"><x:v>0</x:v></x:c>"
                       "</x:row></x:sheetData></x:worksheet>"},
      {"data/rel one.xml", sheetXml("<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>rel</t></is></c></row>")},
      {"data/sst.xml", "<x:sst xmlns:x=\"s\"><x:si><x:t>abs</x:t></x:si></x:sst>"},
  };
  const auto wb = open(parts);
  EXPECT_EQ(wb.sheetNames(), (std::vector<std::string>{"絶対", "相対"}));
  EXPECT_EQ(wb.rows("絶対"), (std::vector<Row>{{txt("abs")}}));
  EXPECT_EQ(wb.rows("相対"), (std::vector<Row>{{}, {none(), txt("rel")}}));
}

TEST(XlsxCellRef, ParseAndFormat) {
  struct Case {
    const char* text;
    bool ok;
    std::uint32_t column, row;
  };
  const Case cases[] = {
      {"A1", true, 0, 1},        {"$B$12", true, 1, 12},    {"z9", true, 25, 9},
      {"AA100", true, 26, 100},  {"XFD1048576", true, 16383, 1048576},
      {"A0", false, 0, 0},       {"ZZZZZ1", false, 0, 0},   {"XFE1", false, 0, 0},
      {"A1048577", false, 0, 0}, {"1A", false, 0, 0},       {"", false, 0, 0},
      {"A", false, 0, 0},        {"A1B", false, 0, 0},      {"A-1", false, 0, 0},
      {"$$A1", false, 0, 0},     {"A 1", false, 0, 0},      {"A12345678", false, 0, 0},
  };
  for (const auto& c : cases) {
    CellRef ref;
    ASSERT_EQ(parseCellRef(c.text, ref), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(ref.column, c.column) << c.text;
    EXPECT_EQ(ref.row, c.row) << c.text;
  }
  EXPECT_EQ(formatCellRef({0, 1}), "A1");
  EXPECT_EQ(formatCellRef({25, 2}), "Z2");
  EXPECT_EQ(formatCellRef({26, 3}), "AA3");
  EXPECT_EQ(formatCellRef({16383, 1048576}), "XFD1048576");
}

TEST(XlsxTargets, ResolveInsideThePackageOnly) {
  struct Case {
    const char* source;
    const char* target;
    const char* expected;  // nullptr: refused
  };
  const Case cases[] = {
      {"xl/workbook.xml", "worksheets/sheet1.xml", "xl/worksheets/sheet1.xml"},
      {"xl/workbook.xml", "/xl/worksheets/sheet1.xml", "xl/worksheets/sheet1.xml"},
      {"xl/workbook.xml", "../docProps/app.xml", "docProps/app.xml"},
      {"xl/workbook.xml", "./a/./b/../c.xml", "xl/a/c.xml"},
      {"xl/workbook.xml", "a\\b.xml", "xl/a/b.xml"},
      {"xl/workbook.xml", "%2E%2E/x.xml", "x.xml"},
      {"xl/workbook.xml", "a//b.xml", "xl/a/b.xml"},
      {"", "xl/workbook.xml", "xl/workbook.xml"},
      {"xl/workbook.xml", "../../etc/passwd", nullptr},
      {"xl/workbook.xml", "/../x.xml", nullptr},
      {"", "../x.xml", nullptr},
      {"xl/workbook.xml", "%2e%2e/%2e%2e/x", nullptr},
      {"xl/workbook.xml", "", nullptr},
      {"xl/workbook.xml", "folder/", nullptr},
      {"xl/workbook.xml", "..", nullptr},
      {"xl/workbook.xml", "a%00b.xml", nullptr},
      {"xl/workbook.xml", "sheet.xml#frag", nullptr},
  };
  for (const auto& c : cases) {
    std::string out;
    const bool ok = detail::resolveTarget(c.source, c.target, out);
    if (c.expected) {
      EXPECT_TRUE(ok) << c.target;
      EXPECT_EQ(out, c.expected) << c.target;
    } else {
      EXPECT_FALSE(ok) << c.target << " -> " << out;
    }
  }
  EXPECT_EQ(detail::relsPartOf("xl/workbook.xml"), "xl/_rels/workbook.xml.rels");
  EXPECT_EQ(detail::relsPartOf(""), "_rels/.rels");
}

}  // namespace
}  // namespace tovakin::platform::xlsx
