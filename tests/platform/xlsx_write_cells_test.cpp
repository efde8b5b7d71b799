// Writing cells of a workbook and reading the saved file back: texts stay texts, escapes
// round-trip, rows and cells go in order, the quote prefix is a style, raised characters are
// runs in the cell's font, and defined names address cells.
#include <gtest/gtest.h>

#include <functional>

#include <pugixml.hpp>

#include "platform/xlsx.h"
#include "platform/xlsx_edit.h"
#include "platform/xlsx_model.h"
#include "support/xlsx_test_util.h"

namespace tovakin::platform::xlsx {
namespace {

using namespace tovakin::testing;
using Type = CellValue::Type;

const char* kStyles =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font>"
    "<font><b/><sz val=\"10.5\"/><color rgb=\"FF112233\"/><name val=\"ＭＳ 明朝\"/><family val=\"1\"/>"
    "<charset val=\"128\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/>"
    "</fill></fills><borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"3\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>"
    "<xf numFmtId=\"2\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyNumberFormat=\"1\"/></cellXfs>"
    "</styleSheet>";

// A workbook of hand-written parts with styles, shared strings and defined names.
ZipEntries styledBook(const std::vector<std::pair<std::string, std::string>>& sheets,
                      const std::vector<std::string>& sst = {}, const std::string& definedNames = {}) {
  ZipEntries book = minimalWorkbook(sheets, sst.empty() ? std::string() : sharedStringsXml(sst));
  for (auto& [name, bytes] : book) {
    if (name == "[Content_Types].xml") {
      bytes.insert(bytes.find("</Types>"),
                   "<Override PartName=\"/xl/styles.xml\" "
                   "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>");
    } else if (name == "xl/_rels/workbook.xml.rels") {
      bytes.insert(bytes.find("</Relationships>"), std::string("<Relationship Id=\"rIdSt\" Type=\"") + kRelTypeBase +
                                                       "styles\" Target=\"styles.xml\"/>");
    } else if (name == "xl/workbook.xml" && !definedNames.empty()) {
      bytes.insert(bytes.find("</workbook>"), "<definedNames>" + definedNames + "</definedNames>");
    }
  }
  book.emplace_back("xl/styles.xml", kStyles);
  return book;
}

std::string partOf(const std::string& path, const std::string& part) {
  const auto package = detail::Package::read(readFile(path), Limits{}, path);
  const std::string* bytes = package.find(part);
  return bytes ? *bytes : std::string();
}

std::unique_ptr<pugi::xml_document> xmlOf(const std::string& path, const std::string& part) {
  auto doc = std::make_unique<pugi::xml_document>();
  const std::string bytes = partOf(path, part);
  EXPECT_TRUE(doc->load_buffer(bytes.data(), bytes.size())) << part;
  return doc;
}

pugi::xml_node cellNode(const pugi::xml_document& sheet, const std::string& ref) {
  return sheet.select_node(("//c[@r='" + ref + "']").c_str()).node();
}

class XlsxWriteCells : public ::testing::Test {
 protected:
  std::string make(const ZipEntries& entries) {
    const std::string path = dir_.file("in" + std::to_string(++n_) + ".xlsx");
    writeZip(path, entries);
    return path;
  }
  std::string saved(EditableWorkbook& book) {
    const std::string path = dir_.file("out" + std::to_string(++n_) + ".xlsx");
    book.saveAs(path);
    return path;
  }
  TempDir dir_;
  int n_ = 0;
};

TEST_F(XlsxWriteCells, EveryValueIsStoredAsTextWhateverItLooksLike) {
  ZipEntries entries = styledBook(
      {{"S", sheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\" s=\"2\"><v>0</v></c><c r=\"B1\" s=\"2\"><v>12.5</v></c>"
                      "<c r=\"C1\"><f>1+1</f><v>2</v></c><c r=\"D1\" t=\"s\"><v>1</v></c></row>")}},
      {"<t>old</t>", "<t>kept</t>"});
  setEntry(entries, "xl/sharedStrings.xml",
           "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"2\" uniqueCount=\"2\">"
           "<si><t>old</t></si><si><t>kept</t></si></sst>");
  const std::string in = make(entries);
  auto book = EditableWorkbook::open(in, "any password");  // not encrypted: the password is not needed
  EXPECT_EQ(book.cellText("S", "D1"), "kept");  // the template's shared string
  EXPECT_EQ(book.cellText("S", "C1"), "2");     // a formula's cached number, as stored
  const std::vector<std::pair<std::string, std::string>> writes = {
      {"A1", "150"}, {"B1", "1e3"}, {"C1", "=SUM(A1:B1)"}, {"E1", "TRUE"}, {"F1", "#N/A"},
      {"G1", "  two  spaces "}, {"H1", "管種 ﾀﾞｸﾀｲﾙ 😀"}, {"A2", "-0.50"}, {"B2", "1/2"}};
  for (const auto& [ref, text] : writes) book.setCellText("S", ref, text);
  book.setCellText("S", "D1", "");  // empties the cell
  book.setCellText("S", "Z9", "");  // nothing there: nothing is created
  EXPECT_EQ(book.cellText("S", "A1"), "150");
  const std::string out = saved(book);

  const auto rows = Workbook::open(out).rows("S");
  ASSERT_EQ(rows.size(), 2u);
  for (const auto& [ref, text] : writes) {
    CellRef r;
    ASSERT_TRUE(parseCellRef(ref, r));
    const CellValue& v = rows[r.row - 1].at(r.column);
    EXPECT_EQ(v.type, Type::Text) << ref;
    EXPECT_EQ(v.text, text) << ref;
  }
  EXPECT_TRUE(rows[0][3].empty());
  EXPECT_EQ(rows[0][4].text, "TRUE");  // a boolean-looking text is no boolean

  const auto sheet = xmlOf(out, "xl/worksheets/sheet1.xml");
  for (const char* ref : {"A1", "B1", "C1", "E1"}) {
    const pugi::xml_node c = cellNode(*sheet, ref);
    EXPECT_STREQ(c.attribute("t").value(), "inlineStr") << ref;
    EXPECT_FALSE(c.child("v")) << ref;
    EXPECT_FALSE(c.child("f")) << ref;
  }
  // Styles stay: also on the emptied cell, which has no value left.
  EXPECT_STREQ(cellNode(*sheet, "A1").attribute("s").value(), "2");
  EXPECT_STREQ(cellNode(*sheet, "B1").attribute("s").value(), "2");
  EXPECT_FALSE(cellNode(*sheet, "D1").first_child());
  EXPECT_FALSE(cellNode(*sheet, "D1").attribute("t"));
  EXPECT_FALSE(cellNode(*sheet, "Z9"));
  EXPECT_STREQ(cellNode(*sheet, "G1").child("is").child("t").attribute("xml:space").value(), "preserve");
  // No cell uses a shared string any more: none is left, and the counts say so.
  const auto sst = xmlOf(out, "xl/sharedStrings.xml");
  EXPECT_STREQ(sst->document_element().attribute("count").value(), "0");
  EXPECT_STREQ(sst->document_element().attribute("uniqueCount").value(), "0");
  EXPECT_EQ(std::distance(sst->document_element().begin(), sst->document_element().end()), 0);
}

TEST_F(XlsxWriteCells, CharactersXmlCannotHoldAreEscapedAndComeBack) {
  const std::string in = make(styledBook({{"S", sheetXml("")}}));
  struct Case {
    const char* ref;
    std::string written;
    std::string readBack;
    const char* stored;  // a piece the XML must hold, or ""
  };
  const std::vector<Case> cases = {
      {"A1", std::string("a\x01z", 3), std::string("a\x01z", 3), "a_x0001_z"},
      {"A2", std::string("\x00x", 2), std::string("\x00x", 2), "_x0000_x"},
      {"A3", "line\r\nnext", "line\r\nnext", "line_x000D_\nnext"},  // a raw CR would come back as LF
      {"A4", "tab\there\nLF", "tab\there\nLF", "tab\there\nLF"},
      {"A5", "_x0041_", "_x0041_", "_x005F_x0041_"},                    // not read as "A"
      {"A6", "a_x005F_b", "a_x005F_b", "a_x005F_x005F_b"},
      {"A7", "_X0041_ _x12_ _xZZZZ_", "_X0041_ _x12_ _xZZZZ_", "_X0041_ _x12_ _xZZZZ_"},  // no escape look-alikes
      {"A8", "\xEF\xBF\xBE|\xEF\xBF\xBF", "\xEF\xBF\xBE|\xEF\xBF\xBF", "_xFFFE_|_xFFFF_"},
      {"A9", "bad\xC3(utf8\xFF", "bad\xEF\xBF\xBD(utf8\xEF\xBF\xBD", ""},  // malformed bytes: U+FFFD
      {"A10", "\x1F\x7F<&>\"'", "\x1F\x7F<&>\"'", "_x001F_"},
  };
  auto book = EditableWorkbook::open(in);
  for (const auto& c : cases) book.setCellText("S", c.ref, c.written);
  const std::string out = saved(book);

  const auto rows = Workbook::open(out).rows("S");
  const std::string xml = partOf(out, "xl/worksheets/sheet1.xml");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    ASSERT_LT(i, rows.size());
    EXPECT_EQ(rows[i].at(0).text, cases[i].readBack) << cases[i].ref;
    if (*cases[i].stored) {
      EXPECT_NE(xml.find(cases[i].stored), std::string::npos) << cases[i].ref;
    }
  }
  for (char c : xml) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_FALSE(b < 0x20 && b != '\n' && b != '\t') << "raw control character " << int(b);
  }
}

TEST_F(XlsxWriteCells, MissingRowsAndCellsAreCreatedInOrder) {
  // Rows 2 and 5, a row and cells without numbers, a styled row and a styled column.
  const std::string in = make(styledBook({{"S", std::string(
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<dimension ref=\"B2:D6\"/><cols><col min=\"5\" max=\"6\" width=\"9\" style=\"2\" customWidth=\"1\"/></cols>"
      "<sheetData><row r=\"2\" spans=\"2:4\"><c r=\"B2\"><v>1</v></c><c r=\"D2\"><v>2</v></c></row>"
      "<row r=\"5\" s=\"1\" customFormat=\"1\"><c r=\"B5\"><v>3</v></c><c><v>4</v></c></row>"
      "<row><c r=\"A6\"><v>5</v></c></row></sheetData></worksheet>")}}));
  auto book = EditableWorkbook::open(in);
  for (const char* ref : {"Z5", "A1", "C2", "E2", "A3", "A5", "A10", "D5", "F7"}) book.setCellText("S", ref, ref);
  const std::string out = saved(book);

  const auto sheet = xmlOf(out, "xl/worksheets/sheet1.xml");
  std::vector<std::string> order;
  for (pugi::xml_node row : sheet->document_element().child("sheetData").children("row")) {
    std::string line = std::string(row.attribute("r").value()) + ":";
    for (pugi::xml_node c : row.children("c")) line += std::string(" ") + c.attribute("r").value();
    order.push_back(line);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"1: A1", "2: B2 C2 D2 E2", "3: A3", "5: A5 B5 C5 D5 Z5", "6: A6",
                                             "7: F7", "10: A10"}));
  EXPECT_STREQ(sheet->select_node("//dimension").node().attribute("ref").value(), "A1:Z10");
  // The span hint of row 2 no longer covered E2.
  EXPECT_FALSE(sheet->select_node("//row[@r='2']").node().attribute("spans"));
  // New cells show their row's style, else their column's.
  EXPECT_STREQ(cellNode(*sheet, "Z5").attribute("s").value(), "1");
  EXPECT_STREQ(cellNode(*sheet, "E2").attribute("s").value(), "2");
  EXPECT_STREQ(cellNode(*sheet, "F7").attribute("s").value(), "2");
  EXPECT_FALSE(cellNode(*sheet, "A1").attribute("s"));

  const auto rows = Workbook::open(out).rows("S");
  EXPECT_EQ(rows[4].at(2).number, 4);  // the cell without its reference stayed C5
  EXPECT_EQ(rows[4].at(25).text, "Z5");
}

TEST_F(XlsxWriteCells, BrokenSheetDataIsRefusedAndDisorderIsMended) {
  for (const char* broken : {"<row r=\"1\"/><row r=\"1\"/>", "<row r=\"1\"><c r=\"A1\"/><c r=\"A1\"/></row>",
                             "<row r=\"x\"/>", "<row r=\"2\"><c r=\"A1\"/></row>", "<row r=\"1\"><c r=\"1A\"/></row>"}) {
    auto book = EditableWorkbook::open(make(styledBook({{"S", sheetXml(broken)}})));
    EXPECT_THROW(book.setCellText("S", "B2", "x"), Error) << broken;
  }
  // Rows and cells out of order (the reader takes them) are put in order when the sheet is edited.
  auto book = EditableWorkbook::open(make(styledBook({{"S", sheetXml(
      "<row r=\"3\"><c r=\"C3\"><v>1</v></c><c r=\"A3\"><v>2</v></c></row><row r=\"1\"><c r=\"A1\"><v>3</v></c></row>")}})));
  book.setCellText("S", "B3", "x");
  const auto sheet = xmlOf(saved(book), "xl/worksheets/sheet1.xml");
  std::string order;
  for (const pugi::xpath_node& c : sheet->select_nodes("//c")) order += std::string(c.node().attribute("r").value()) + " ";
  EXPECT_EQ(order, "A1 A3 B3 C3 ");
}

TEST_F(XlsxWriteCells, QuotePrefixIsAClonedStyleNotPartOfTheText) {
  const std::string in = make(styledBook(
      {{"S", sheetXml("<row r=\"1\"><c r=\"A1\" s=\"1\"/><c r=\"B1\" s=\"1\"/><c r=\"C1\"/><c r=\"D1\" s=\"2\"/></row>")}}));
  auto book = EditableWorkbook::open(in);
  book.setCellText("S", "A1", "0123", true);
  book.setCellText("S", "B1", "x", true);
  book.setCellText("S", "C1", "1.50", true);
  book.setCellText("S", "D1", "abc", true);
  book.setCellText("S", "D1", "plain");  // written again without the mark: the template style comes back
  book.setCellText("S", "A1", "0123", true);  // the same text twice: still one clone
  EXPECT_EQ(book.cellText("S", "A1"), "0123");
  const std::string out = saved(book);

  const auto sheet = xmlOf(out, "xl/worksheets/sheet1.xml");
  const std::string a = cellNode(*sheet, "A1").attribute("s").value();
  EXPECT_EQ(a, cellNode(*sheet, "B1").attribute("s").value());  // cached per base style
  const std::string c = cellNode(*sheet, "C1").attribute("s").value();
  EXPECT_STREQ(cellNode(*sheet, "D1").attribute("s").value(), "2");
  EXPECT_NE(a, "1");
  EXPECT_NE(c, a);

  const auto styles = xmlOf(out, "xl/styles.xml");
  const pugi::xml_node cellXfs = styles->select_node("//cellXfs").node();
  std::vector<pugi::xml_node> xfs(cellXfs.children("xf").begin(), cellXfs.children("xf").end());
  ASSERT_EQ(xfs.size(), 6u);  // three of the template, three clones (of 1, 0 and 2)
  EXPECT_EQ(cellXfs.attribute("count").as_uint(), 6u);
  const pugi::xml_node qa = xfs.at(std::stoul(a)), qc = xfs.at(std::stoul(c));
  EXPECT_STREQ(qa.attribute("quotePrefix").value(), "1");
  EXPECT_STREQ(qa.attribute("fontId").value(), "1");  // everything else as the base style
  EXPECT_STREQ(qa.attribute("applyFont").value(), "1");
  EXPECT_STREQ(qc.attribute("quotePrefix").value(), "1");
  EXPECT_STREQ(qc.attribute("fontId").value(), "0");
  EXPECT_FALSE(xfs[1].attribute("quotePrefix"));

  const auto rows = Workbook::open(out).rows("S");
  EXPECT_EQ(rows[0][0].text, "0123");
  EXPECT_EQ(rows[0][2].text, "1.50");
}

TEST_F(XlsxWriteCells, QuotePrefixInAWorkbookWithoutStylesAddsThem) {
  const std::string in = make(minimalWorkbook({{"S", sheetXml("")}}));
  auto book = EditableWorkbook::open(in);
  book.setCellText("S", "B2", "007", true);
  const std::string out = saved(book);
  const auto sheet = xmlOf(out, "xl/worksheets/sheet1.xml");
  EXPECT_STREQ(cellNode(*sheet, "B2").attribute("s").value(), "1");
  const auto styles = xmlOf(out, "xl/styles.xml");
  EXPECT_STREQ(styles->select_node("//cellXfs/xf[2]").node().attribute("quotePrefix").value(), "1");
  EXPECT_NE(partOf(out, "[Content_Types].xml").find("/xl/styles.xml"), std::string::npos);
  EXPECT_NE(partOf(out, "xl/_rels/workbook.xml.rels").find("styles.xml"), std::string::npos);
  EXPECT_EQ(Workbook::open(out).rows("S")[1][1].text, "007");
}

// The runs of a saved cell as "text" or "[text]" for raised ones.
std::string runsOf(const pugi::xml_document& sheet, const std::string& ref) {
  std::string out;
  for (pugi::xml_node r : cellNode(sheet, ref).child("is").children("r")) {
    const bool raised = std::string_view(r.child("rPr").child("vertAlign").attribute("val").value()) == "superscript";
    out += raised ? "[" + std::string(r.child_value("t")) + "]" : std::string(r.child_value("t"));
  }
  return out;
}

TEST_F(XlsxWriteCells, RaisedCharactersAreRunsInTheCellsFont) {
  const std::string in = make(styledBook(
      {{"S", sheetXml("<row r=\"1\"><c r=\"A1\" s=\"1\"/><c r=\"B1\" t=\"s\"><v>0</v></c><c r=\"C1\"><v>5</v></c></row>")}},
      {"<r><t>m</t></r><r><rPr><vertAlign val=\"superscript\"/></rPr><t>2</t></r><r><t>/s</t></r>"}));
  auto book = EditableWorkbook::open(in);
  book.setCellText("S", "A1", "ＷＲ2m3");
  book.setSuperscript("S", "A1", 3, 1);
  book.setSuperscript("S", "A1", 5, 1);  // the one raised before stays raised
  EXPECT_EQ(book.superscriptPositions("S", "A1"), (std::vector<int>{3, 5}));
  EXPECT_EQ(book.cellText("S", "A1"), "ＷＲ2m3");

  // Positions count UTF-16 units: the emoji takes two, and a range touching half of it
  // raises all of it.
  book.setCellText("S", "A2", "a😀b_x0041_");
  book.setSuperscript("S", "A2", 3, 1);
  book.setSuperscript("S", "A2", 4, 1);
  book.setSuperscript("S", "A2", 5, 1);
  // Clipped to the text; outside it nothing happens.
  book.setCellText("S", "A3", "xy");
  book.setSuperscript("S", "A3", 0, 2);
  book.setSuperscript("S", "A3", 3, 5);
  book.setSuperscript("S", "A3", 1, 0);
  book.setCellText("S", "A4", "zz");
  book.setSuperscript("S", "A4", 2, 1);
  book.setCellText("S", "A4", "written again");
  // A shared rich string of the template keeps its raised character; a number has none.
  book.setSuperscript("S", "B1", 4, 1);
  book.setSuperscript("S", "C1", 1, 1);
  book.setSuperscript("S", "D1", 1, 1);  // no cell
  const std::string out = saved(book);

  const auto sheet = xmlOf(out, "xl/worksheets/sheet1.xml");
  EXPECT_EQ(runsOf(*sheet, "A1"), "ＷＲ[2]m[3]");
  // The literal "_x0041_" is split over two runs and still escaped as a whole.
  EXPECT_EQ(runsOf(*sheet, "A2"), "a[😀b_x005F_]x0041_");
  EXPECT_EQ(runsOf(*sheet, "A3"), "[x]y");
  EXPECT_EQ(runsOf(*sheet, "A4"), "");
  EXPECT_STREQ(cellNode(*sheet, "A4").child("is").child_value("t"), "written again");
  EXPECT_EQ(runsOf(*sheet, "B1"), "m[2]/[s]");
  EXPECT_STREQ(cellNode(*sheet, "B1").attribute("t").value(), "inlineStr");  // the shared item is not touched
  EXPECT_STREQ(cellNode(*sheet, "C1").child_value("v"), "5");

  // Every run repeats font 1 of the cell's style; raised runs add the superscript alignment.
  for (pugi::xml_node r : cellNode(*sheet, "A1").child("is").children("r")) {
    const pugi::xml_node rPr = r.child("rPr");
    EXPECT_TRUE(rPr.child("b"));
    EXPECT_STREQ(rPr.child("sz").attribute("val").value(), "10.5");
    EXPECT_STREQ(rPr.child("color").attribute("rgb").value(), "FF112233");
    EXPECT_STREQ(rPr.child("rFont").attribute("val").value(), "ＭＳ 明朝");
    EXPECT_STREQ(rPr.child("charset").attribute("val").value(), "128");
    EXPECT_FALSE(rPr.child("name"));
  }
  // A cell without a style repeats the default font.
  EXPECT_STREQ(cellNode(*sheet, "A3").child("is").child("r").child("rPr").child("rFont").attribute("val").value(),
               "Calibri");

  const auto rows = Workbook::open(out).rows("S");
  EXPECT_EQ(rows[0][0].text, "ＷＲ2m3");
  EXPECT_EQ(rows[1][0].text, "a😀b_x0041_");
  EXPECT_EQ(rows[0][1].text, "m2/s");

  auto again = EditableWorkbook::open(out);
  EXPECT_EQ(again.superscriptPositions("S", "A2"), (std::vector<int>{2, 3, 4, 5}));
}

TEST_F(XlsxWriteCells, DefinedNamesAddressOneCellLocalFirstThenWorkbookWide) {
  const std::string names =
      "<definedName name=\"管種類\">'設計'!$T$4</definedName>"
      "<definedName name=\"Both\" localSheetId=\"1\">'設計'!$B$2</definedName>"
      "<definedName name=\"Both\">設計!$C$3</definedName>"
      "<definedName name=\"OnOther\">Other!$A$1</definedName>"
      "<definedName name=\"Area\">設計!$A$1:$B$2</definedName>"
      "<definedName name=\"Same\">設計!$D$4:$D$4</definedName>"
      "<definedName name=\"Const\">0.5</definedName>"
      "<definedName name=\"Ext\">[1]設計!$A$1</definedName>"
      "<definedName name=\"Sum\">設計!$A$1+1</definedName>"
      "<definedName name=\"Broken\">#REF!</definedName>"
      "<definedName name=\"OtherLocal\" localSheetId=\"0\">設計!$E$5</definedName>";
  const std::string in = make(styledBook({{"Other", sheetXml("")}, {"設計", sheetXml("")}}, {}, names));
  auto book = EditableWorkbook::open(in);
  struct Case {
    const char* name;
    const char* cell;  // "" when the name is not usable on 設計
  };
  const Case cases[] = {{"管種類", "T4"}, {"Both", "B2"}, {"both", "B2"},  {"OnOther", ""}, {"Area", ""},
                        {"Same", "D4"},   {"Const", ""},  {"Ext", ""},     {"Sum", ""},     {"Broken", ""},
                        {"OtherLocal", ""}, {"Missing", ""}};
  for (const auto& c : cases) {
    CellRef ref;
    const bool found = book.resolveCell("設計", c.name, ref);
    EXPECT_EQ(found, *c.cell != '\0') << c.name;
    EXPECT_EQ(book.hasName("設計", c.name), *c.cell != '\0') << c.name;
    if (found) {
      EXPECT_EQ(formatCellRef(ref), c.cell) << c.name;
    }
  }
  EXPECT_FALSE(book.hasName("設計", "T4"));  // a cell reference is no name
  CellRef ref;
  EXPECT_FALSE(book.resolveCell("Other", "Both", ref));  // the workbook-wide one lies on 設計
  EXPECT_FALSE(book.resolveCell("Other", "OtherLocal", ref));  // local to Other, but its cell is on 設計

  book.setCellText("設計", "管種類", "ダクタイル鋳鉄管");
  EXPECT_EQ(book.cellText("設計", "$T$4"), "ダクタイル鋳鉄管");
  EXPECT_THROW(book.setCellText("設計", "Area", "x"), Error);
  EXPECT_THROW(book.setCellText("設計", "OnOther", "x"), Error);
  EXPECT_THROW(book.setCellText("設計", "A0", "x"), Error);
  EXPECT_THROW(book.setCellText("無い", "A1", "x"), Error);
  const std::string out = saved(book);
  EXPECT_EQ(Workbook::open(out).rows("設計").at(3).at(19).text, "ダクタイル鋳鉄管");
}


// The reader and the editor read the numbering of rows and cells alike: blanks around a number
// or reference are dropped, and a row, a cell that comes twice, or a cell outside its row is
// refused by both, since which of two cells holds the value would be a guess.
TEST(XlsxSheetData, TheReaderAndTheEditorAgreeOnRowsAndCells) {
  TempDir dir;
  const struct {
    const char* what;
    std::string sheetData;
    std::string refusal;  // "" read; else a text of the refusal
  } cases[] = {
      {"blanks around references", "<row r=\" 2 \"><c r=\" B2\t\"><v>7</v></c></row>", ""},
      {"unnumbered rows and cells follow", "<row r=\"1\"/><row><c><v>0</v></c><c><v>7</v></c></row>", ""},
      {"rows and cells out of order", "<row r=\"3\"/><row r=\"2\"><c r=\"C2\"/><c r=\"B2\"><v>7</v></c></row>", ""},
      {"a row twice", "<row r=\"2\"><c r=\"B2\"><v>7</v></c></row><row r=\"2\"><c r=\"A2\"><v>1</v></c></row>",
       "の行 2 が重複しています"},
      {"an unnumbered row onto a numbered one", "<row r=\"2\"><c r=\"B2\"><v>7</v></c></row><row r=\"1\"/><row/>",
       "の行 2 が重複しています"},
      {"a cell twice", "<row r=\"2\"><c r=\"B2\"><v>7</v></c><c r=\"B2\"><v>8</v></c></row>", "のセル「B2」が重複しています"},
      {"a cell twice out of order", "<row r=\"2\"><c r=\"C2\"/><c r=\"A2\"/><c r=\"C2\"/></row>",
       "のセル「C2」が重複しています"},
      {"a cell outside its row", "<row r=\"2\"><c r=\"B3\"><v>7</v></c></row>", "が行 2 にあります"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.file("walk" + std::to_string(++n) + ".xlsx");
    writeZip(path, minimalWorkbook({{"S", sheetXml(c.sheetData)}}));
    const Workbook book = Workbook::open(path);
    EditableWorkbook edit = EditableWorkbook::open(path);
    if (c.refusal.empty()) {
      const auto rows = book.rows("S");
      ASSERT_GE(rows.size(), 2u);
      ASSERT_GE(rows[1].size(), 2u);
      EXPECT_EQ(rows[1][1].number, 7.0);
      EXPECT_EQ(edit.cellText("S", "B2"), "7");
      continue;
    }
    for (const auto& attempt : {std::function<void()>([&] { book.rows("S"); }),
                                std::function<void()>([&] { edit.cellText("S", "B2"); })}) {
      try {
        attempt();
        ADD_FAILURE() << "read";
      } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(c.refusal), std::string::npos) << e.what();
      }
    }
  }
}

}  // namespace
}  // namespace tovakin::platform::xlsx
