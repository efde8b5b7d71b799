// Deleting, renaming and selecting sheets of real workbooks (made by xlsxgen, with hand-written
// defined names, views and parts added), saving them and reading the package back.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <filesystem>

#include "platform/xlsx.h"
#include "platform/xlsx_edit.h"
#include "platform/xlsx_edit_detail.h"
#include "platform/xlsx_model.h"
#include "support/xlsx_test_util.h"

namespace tovakin::platform::xlsx {
namespace {

using namespace tovakin::testing;

const std::vector<std::string> kSheets = {"表紙", "Heの計算", "Heの計算2", "水平 土圧"};

ZipEntries entriesOf(const std::string& path) {
  const auto package = detail::Package::read(readFile(path), Limits{}, path);
  ZipEntries out;
  for (const auto& e : package.entries()) out.emplace_back(e.name, e.data);
  return out;
}

std::string entry(const ZipEntries& entries, const std::string& name) {
  for (const auto& [n, bytes] : entries)
    if (n == name) return bytes;
  return {};
}

bool hasEntry(const ZipEntries& entries, const std::string& name) {
  for (const auto& e : entries)
    if (e.first == name) return true;
  return false;
}

void replaceIn(ZipEntries& entries, const std::string& name, const std::string& from, const std::string& to) {
  std::string bytes = entry(entries, name);
  const auto at = bytes.find(from);
  ASSERT_NE(at, std::string::npos) << name << ": " << from;
  bytes.replace(at, from.size(), to);
  setEntry(entries, name, bytes);
}

std::unique_ptr<pugi::xml_document> xml(const std::string& bytes) {
  auto doc = std::make_unique<pugi::xml_document>();
  EXPECT_TRUE(doc->load_buffer(bytes.data(), bytes.size()));
  return doc;
}

// "name[@localSheetId]=formula" of every defined name, in order.
std::vector<std::string> definedNamesOf(const ZipEntries& entries) {
  std::vector<std::string> out;
  const auto doc = xml(entry(entries, "xl/workbook.xml"));
  for (const pugi::xpath_node& x : doc->select_nodes("//definedName")) {
    const pugi::xml_node n = x.node();
    std::string line = n.attribute("name").value();
    if (n.attribute("localSheetId")) line += std::string("@") + n.attribute("localSheetId").value();
    out.push_back(line + "=" + n.child_value());
  }
  return out;
}

class XlsxWriteSheets : public ::testing::Test {
 protected:
  // The four sheets, each with a text in A1, as xlsxgen writes them.
  ZipEntries generated() {
    std::vector<std::string> args{dir_.file("gen.xlsx")};
    for (std::size_t i = 0; i < kSheets.size(); ++i) {
      const std::string tsv = dir_.file("s" + std::to_string(i) + ".tsv");
      writeFile(tsv, kSheets[i] + "\n1\n");
      args.push_back(kSheets[i] + "=" + tsv);
    }
    EXPECT_EQ(runXlsxgen(args), 0);
    return entriesOf(args.front());
  }
  std::string make(const ZipEntries& entries) {
    const std::string path = dir_.file("in" + std::to_string(++n_) + ".xlsx");
    writeZip(path, entries);
    return path;
  }
  ZipEntries save(EditableWorkbook& book) {
    const std::string path = dir_.file("out" + std::to_string(++n_) + ".xlsx");
    book.saveAs(path);
    Workbook::open(path);  // our reader takes it
    return entriesOf(path);
  }
  static void setViews(ZipEntries& book, const std::string& attributes) {
    replaceIn(book, "xl/workbook.xml", "<workbookView ", "<workbookView " + attributes + " ");
  }
  static void setNames(ZipEntries& book, const std::string& names) {
    replaceIn(book, "xl/workbook.xml", "<calcPr", "<definedNames>" + names + "</definedNames><calcPr");
  }
  // Sheet name -> whether its view is selected, and the active tab, of a saved workbook.
  std::string selectionOf(const ZipEntries& entries) {
    const std::string path = dir_.file("sel" + std::to_string(++n_) + ".xlsx");
    writeZip(path, entries);
    const auto model = detail::Model::load(path, Limits{});
    const auto wb = xml(entry(entries, "xl/workbook.xml"));
    std::string out = std::string("active=") + wb->select_node("//workbookView").node().attribute("activeTab").value() +
                      " first=" + wb->select_node("//workbookView").node().attribute("firstSheet").value() + " selected=";
    for (const auto& s : model->sheets) {
      const auto sheet = xml(entry(entries, s.part));
      if (sheet->select_node("//sheetView[@tabSelected='1']")) out += s.name + ";";
    }
    return out;
  }
  TempDir dir_;
  int n_ = 0;
};

TEST_F(XlsxWriteSheets, DeleteRemovesTheSheetItsPartsAndItsNames) {
  ZipEntries book = generated();
  setNames(book,
           "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">表紙!$A$1:$H$20</definedName>"
           "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"1\">'Heの計算'!$A$1:$H$20</definedName>"
           "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"2\">Heの計算2!$A$1:$H$20</definedName>"
           "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"3\">'水平 土圧'!$A$1:$H$20</definedName>"
           "<definedName name=\"He\">'Heの計算'!$C$5</definedName>"
           "<definedName name=\"He2\">Heの計算2!$C$5</definedName>"
           "<definedName name=\"refB\" localSheetId=\"3\">SUM('HEの計算'!A1,1)</definedName>"
           "<definedName name=\"text\" localSheetId=\"2\">\"Heの計算!A1\"</definedName>"
           "<definedName name=\"threeD\">表紙:Heの計算!$A$1</definedName>");
  // Sheet 2 has a drawing and printer settings of its own; its image is shared with sheet 3.
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  const auto rels = [&](const std::string& body) {
    return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + body +
           "</Relationships>";
  };
  setEntry(book, "xl/worksheets/_rels/sheet2.xml.rels",
           rels("<Relationship Id=\"rId1\" Type=\"" + rel + "drawing\" Target=\"../drawings/drawing1.xml\"/>"
                "<Relationship Id=\"rId2\" Type=\"" + rel +
                "printerSettings\" Target=\"../printerSettings/printerSettings1.bin\"/>"
                "<Relationship Id=\"rId3\" Type=\"" + rel +
                "hyperlink\" Target=\"http://example.com/\" TargetMode=\"External\"/>"));
  setEntry(book, "xl/worksheets/_rels/sheet3.xml.rels",
           rels("<Relationship Id=\"rId1\" Type=\"" + rel + "drawing\" Target=\"../drawings/drawing2.xml\"/>"));
  for (const char* d : {"1", "2"}) {
    setEntry(book, std::string("xl/drawings/drawing") + d + ".xml",
             "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\"/>");
    setEntry(book, std::string("xl/drawings/_rels/drawing") + d + ".xml.rels",
             rels("<Relationship Id=\"rId1\" Type=\"" + rel + "image\" Target=\"../media/image1.png\"/>"));
    replaceIn(book, "[Content_Types].xml", "</Types>",
              std::string("<Override PartName=\"/xl/drawings/drawing") + d +
                  ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.drawing+xml\"/></Types>");
  }
  setEntry(book, "xl/media/image1.png", "png");
  setEntry(book, "xl/printerSettings/printerSettings1.bin", "bin");
  replaceIn(book, "[Content_Types].xml", "</Types>",
            "<Default Extension=\"png\" ContentType=\"image/png\"/><Default Extension=\"bin\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.printerSettings\"/></Types>");
  // The document properties list the sheets and the print areas.
  replaceIn(book, "docProps/app.xml", "<vt:lpstr>Worksheets</vt:lpstr></vt:variant><vt:variant><vt:i4>4</vt:i4>",
            "<vt:lpstr>Worksheets</vt:lpstr></vt:variant><vt:variant><vt:i4>4</vt:i4></vt:variant><vt:variant>"
            "<vt:lpstr>Named Ranges</vt:lpstr></vt:variant><vt:variant><vt:i4>2</vt:i4>");
  replaceIn(book, "docProps/app.xml", "<vt:vector size=\"2\" baseType=\"variant\">",
            "<vt:vector size=\"4\" baseType=\"variant\">");
  replaceIn(book, "docProps/app.xml", "<vt:vector size=\"4\" baseType=\"lpstr\">",
            "<vt:vector size=\"6\" baseType=\"lpstr\">");
  replaceIn(book, "docProps/app.xml", "<vt:lpstr>水平 土圧</vt:lpstr>",
            "<vt:lpstr>水平 土圧</vt:lpstr><vt:lpstr>表紙!Print_Area</vt:lpstr><vt:lpstr>'Heの計算'!Print_Area</vt:lpstr>");

  auto wb = EditableWorkbook::open(make(book));
  wb.deleteSheet("heの計算");  // sheet names compare without ASCII case
  EXPECT_EQ(wb.sheetNames(), (std::vector<std::string>{"表紙", "Heの計算2", "水平 土圧"}));
  EXPECT_FALSE(wb.hasSheet("Heの計算"));
  const ZipEntries out = save(wb);

  EXPECT_EQ(definedNamesOf(out), (std::vector<std::string>{
                                     "_xlnm.Print_Area@0=表紙!$A$1:$H$20",
                                     "_xlnm.Print_Area@1=Heの計算2!$A$1:$H$20",
                                     "_xlnm.Print_Area@2='水平 土圧'!$A$1:$H$20",
                                     "He2=Heの計算2!$C$5",
                                     "text@1=\"Heの計算!A1\"",
                                 }));
  for (const char* gone : {"xl/worksheets/sheet2.xml", "xl/worksheets/_rels/sheet2.xml.rels", "xl/drawings/drawing1.xml",
                           "xl/drawings/_rels/drawing1.xml.rels", "xl/printerSettings/printerSettings1.bin"}) {
    EXPECT_FALSE(hasEntry(out, gone)) << gone;
  }
  for (const char* kept : {"xl/worksheets/sheet3.xml", "xl/drawings/drawing2.xml", "xl/media/image1.png",
                           "xl/theme/theme1.xml", "xl/styles.xml", "xl/sharedStrings.xml", "docProps/core.xml"}) {
    EXPECT_TRUE(hasEntry(out, kept)) << kept;
  }
  const std::string types = entry(out, "[Content_Types].xml");
  EXPECT_EQ(types.find("/xl/worksheets/sheet2.xml"), std::string::npos);
  EXPECT_EQ(types.find("/xl/drawings/drawing1.xml"), std::string::npos);
  EXPECT_NE(types.find("/xl/drawings/drawing2.xml"), std::string::npos);
  EXPECT_NE(types.find("Extension=\"png\""), std::string::npos);
  EXPECT_EQ(entry(out, "xl/_rels/workbook.xml.rels").find("sheet2.xml"), std::string::npos);
  EXPECT_EQ(entry(out, "xl/workbook.xml").find("Heの計算\""), std::string::npos);

  const auto app = xml(entry(out, "docProps/app.xml"));
  std::vector<std::string> titles;
  for (const pugi::xpath_node& t : app->select_nodes("//TitlesOfParts/vt:vector/vt:lpstr"))
    titles.push_back(t.node().child_value());
  EXPECT_EQ(titles, (std::vector<std::string>{"表紙", "Heの計算2", "水平 土圧", "表紙!Print_Area"}));
  EXPECT_STREQ(app->select_node("//TitlesOfParts/vt:vector").node().attribute("size").value(), "4");
  std::vector<std::string> pairs;
  for (const pugi::xpath_node& v : app->select_nodes("//HeadingPairs/vt:vector/vt:variant"))
    pairs.push_back(v.node().first_child().child_value());
  EXPECT_EQ(pairs, (std::vector<std::string>{"Worksheets", "3", "Named Ranges", "1"}));

  const Workbook reread = Workbook::open(dir_.file("out" + std::to_string(n_) + ".xlsx"));
  EXPECT_EQ(reread.sheetNames(), (std::vector<std::string>{"表紙", "Heの計算2", "水平 土圧"}));
  EXPECT_EQ(reread.rows("Heの計算2")[0][0].text, "Heの計算2");
}

TEST_F(XlsxWriteSheets, TheActiveTabStaysValidAfterADelete) {
  struct Case {
    const char* views;  // workbookView attributes
    int hidden;         // index of a hidden sheet, or -1
    int deleted;
    const char* expected;
  };
  const Case cases[] = {
      {"activeTab=\"1\"", -1, 1, "active=1 first= selected=Heの計算2;"},       // the active one: the next
      {"activeTab=\"3\"", -1, 3, "active=2 first= selected=Heの計算2;"},       // the last and active one
      {"activeTab=\"2\"", -1, 0, "active=1 first= selected=Heの計算2;"},       // an earlier one
      {"activeTab=\"1\"", -1, 3, "active=1 first= selected=Heの計算;"},        // a later one
      {"", -1, 0, "active= first= selected=Heの計算;"},                        // no active tab given: the first
      {"activeTab=\"1\"", 2, 1, "active=2 first= selected=水平 土圧;"},         // next one hidden: the one after
      {"activeTab=\"3\"", 2, 3, "active=1 first= selected=Heの計算;"},         // none visible after: before
      {"activeTab=\"3\" firstSheet=\"2\"", -1, 0, "active=2 first=1 selected=水平 土圧;"},
      {"activeTab=\"3\" firstSheet=\"3\"", -1, 3, "active=2 first=2 selected=Heの計算2;"},
  };
  for (const auto& c : cases) {
    ZipEntries book = generated();
    if (*c.views) setViews(book, c.views);
    if (c.hidden >= 0) {
      replaceIn(book, "xl/workbook.xml", "name=\"" + kSheets[c.hidden] + "\"",
                "name=\"" + kSheets[c.hidden] + "\" state=\"hidden\"");
    }
    auto wb = EditableWorkbook::open(make(book));
    wb.deleteSheet(kSheets[c.deleted]);
    EXPECT_EQ(selectionOf(save(wb)), c.expected) << c.views << " delete " << c.deleted;
  }
}

TEST_F(XlsxWriteSheets, SelectingASheetAndACell) {
  ZipEntries book = generated();
  setViews(book, "firstSheet=\"3\" activeTab=\"3\"");
  // Sheet 2 is frozen below row 1: its selection belongs to the pane the cursor is in.
  replaceIn(book, "xl/worksheets/sheet2.xml", "<sheetView workbookViewId=\"0\"/>",
            "<sheetView workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" activePane=\"bottomLeft\" "
            "state=\"frozen\"/><selection pane=\"bottomLeft\" activeCell=\"C9\" sqref=\"C9\"/>"
            "<selection activeCell=\"B1\" sqref=\"B1\"/></sheetView>");
  setNames(book, "<definedName name=\"開始\">'Heの計算'!$D$4</definedName>");
  auto wb = EditableWorkbook::open(make(book));
  wb.selectSheet("Heの計算");
  wb.selectCell("Heの計算", "開始");
  wb.selectCell("表紙", "A1");
  ZipEntries out = save(wb);
  EXPECT_EQ(selectionOf(out), "active=1 first=1 selected=Heの計算;");

  const auto sheet2 = xml(entry(out, "xl/worksheets/sheet2.xml"));
  const auto selections = sheet2->select_nodes("//selection");
  ASSERT_EQ(selections.size(), 1u);
  EXPECT_STREQ(selections.first().node().attribute("pane").value(), "bottomLeft");
  EXPECT_STREQ(selections.first().node().attribute("activeCell").value(), "D4");
  EXPECT_STREQ(selections.first().node().attribute("sqref").value(), "D4");
  EXPECT_STREQ(selections.first().node().previous_sibling().name(), "pane");
  const auto sheet1 = xml(entry(out, "xl/worksheets/sheet1.xml"));
  EXPECT_STREQ(sheet1->select_node("//sheetView/selection").node().attribute("activeCell").value(), "A1");

  // Back to the first sheet: it alone is selected again.
  wb.selectSheet("表紙");
  EXPECT_EQ(selectionOf(save(wb)), "active=0 first=0 selected=表紙;");
}

TEST_F(XlsxWriteSheets, RenameRewritesTheSheetInsideDefinedNames) {
  ZipEntries book = generated();
  setNames(book,
           "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"1\">'Heの計算'!$A$1:$H$20</definedName>"
           "<definedName name=\"sum\">SUM(Heの計算!A1,'HEの計算'!B1:Heの計算!B2,\"Heの計算!A1\",Heの計算2!A1)</definedName>"
           "<definedName name=\"threeD\">表紙:Heの計算!$A$1</definedName>"
           "<definedName name=\"ext\">[1]Heの計算!$A$1</definedName>");

  auto wb = EditableWorkbook::open(make(book));
  wb.renameSheet("Heの計算", "鉛直 土圧");
  EXPECT_EQ(wb.sheetNames()[1], "鉛直 土圧");
  EXPECT_TRUE(wb.hasSheet("鉛直 土圧"));
  ZipEntries out = save(wb);
  EXPECT_EQ(definedNamesOf(out),
            (std::vector<std::string>{
                "_xlnm.Print_Area@1='鉛直 土圧'!$A$1:$H$20",
                "sum=SUM('鉛直 土圧'!A1,'鉛直 土圧'!B1:'鉛直 土圧'!B2,\"Heの計算!A1\",Heの計算2!A1)",
                "threeD='表紙:鉛直 土圧'!$A$1",
                "ext=[1]Heの計算!$A$1",
            }));
  EXPECT_NE(entry(out, "docProps/app.xml").find("<vt:lpstr>鉛直 土圧</vt:lpstr><vt:lpstr>Heの計算2</vt:lpstr>"),
            std::string::npos);

  // To a plain name again: no quotes needed; a case-only change of its own name is allowed.
  wb.renameSheet("鉛直 土圧", "Vertical");
  wb.renameSheet("vertical", "VERTICAL");
  out = save(wb);
  EXPECT_EQ(definedNamesOf(out)[0], "_xlnm.Print_Area@1=VERTICAL!$A$1:$H$20");
  EXPECT_EQ(Workbook::open(dir_.file("out" + std::to_string(n_) + ".xlsx")).sheetNames()[1], "VERTICAL");

  // Refused: names in use (whatever their ASCII case), and names no sheet may bear.
  for (const std::string& bad : std::vector<std::string>{"表紙", "heの計算2", "", "a:b", "a/b", "a\\b", "a?b", "a*b", "[a]", "'a", "a'",
                                "history", "1234567890123456789012345678901X", std::string("a\x01", 2)}) {
    EXPECT_THROW(wb.renameSheet("VERTICAL", bad), Error) << bad;
  }
  EXPECT_NO_THROW(wb.renameSheet("VERTICAL", "1234567890123456789012345678901"));  // 31 characters
  EXPECT_NO_THROW(wb.renameSheet("1234567890123456789012345678901", "ａ'ｂ"));
  EXPECT_THROW(wb.renameSheet("無い", "x"), Error);
}

TEST(XlsxSheetReferences, FoundQuotedAndRewritten) {
  struct Case {
    const char* formula;
    const char* from;
    const char* to;
    const char* renamed;
  };
  const Case cases[] = {
      {"Sheet1!$A$1", "Sheet1", "Data", "Data!$A$1"},
      {"'Sheet 1'!A1:B2", "Sheet 1", "Data2", "Data2!A1:B2"},
      {"X!A1", "X", "S1", "'S1'!A1"},          // would read as a cell
      {"S1!A1", "s1", "It's", "'It''s'!A1"},
      {"'It''s'!A1", "It's", "x", "x!A1"},
      {"S1!A1", "S1", "A1", "'A1'!A1"},        // would read as a cell
      {"S1!A1", "S1", "計算書", "計算書!A1"},
      {"S1!A1", "S1", "計算・書", "'計算・書'!A1"},
      {"S1!A1+S10!A1", "S1", "X", "X!A1+S10!A1"},  // only the sheet itself
      {"\"S1!A1\"&S1!A1", "S1", "X", "\"S1!A1\"&X!A1"},
      {"S1:S3!A1", "S3", "Z 9", "'S1:Z 9'!A1"},
      {"[1]S1!A1", "S1", "X", "[1]S1!A1"},
      {"SUM(S1!A:A)", "S1", "X", "SUM(X!A:A)"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(detail::formulaRefersTo(c.formula, c.from) || std::string(c.formula) == c.renamed) << c.formula;
    EXPECT_EQ(detail::renameSheetInFormula(c.formula, c.from, c.to), c.renamed) << c.formula;
  }
  EXPECT_FALSE(detail::formulaRefersTo("\"S1!A1\"", "S1"));
  EXPECT_FALSE(detail::formulaRefersTo("S10!A1", "S1"));
  EXPECT_FALSE(detail::formulaRefersTo("0.5", "S1"));
}

TEST_F(XlsxWriteSheets, RefusedDeletesAndUnknownSheets) {
  ZipEntries book = generated();
  for (const std::string hidden : {"表紙", "Heの計算", "Heの計算2"}) {
    replaceIn(book, "xl/workbook.xml", "name=\"" + hidden + "\"", "name=\"" + hidden + "\" state=\"hidden\"");
  }
  auto wb = EditableWorkbook::open(make(book));
  EXPECT_THROW(wb.deleteSheet("水平 土圧"), Error);  // the last visible sheet
  EXPECT_THROW(wb.deleteSheet("無い"), Error);
  EXPECT_THROW(wb.selectSheet("表紙"), Error);  // hidden
  EXPECT_NO_THROW(wb.deleteSheet("表紙"));
  EXPECT_NO_THROW(wb.deleteSheet("Heの計算"));
  EXPECT_NO_THROW(wb.deleteSheet("Heの計算2"));
  EXPECT_EQ(wb.sheetNames(), (std::vector<std::string>{"水平 土圧"}));
  EXPECT_THROW(wb.deleteSheet("水平 土圧"), Error);
  EXPECT_EQ(selectionOf(save(wb)), "active=0 first= selected=水平 土圧;");
}

TEST_F(XlsxWriteSheets, TheCalculationChainGoesOnSave) {
  ZipEntries book = generated();
  setEntry(book, "xl/calcChain.xml",
           "<calcChain xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><c r=\"A1\" i=\"1\"/></calcChain>");
  replaceIn(book, "xl/_rels/workbook.xml.rels", "</Relationships>",
            "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
            "calcChain\" Target=\"calcChain.xml\"/></Relationships>");
  replaceIn(book, "[Content_Types].xml", "</Types>",
            "<Override PartName=\"/xl/calcChain.xml\" "
            "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/></Types>");
  auto wb = EditableWorkbook::open(make(book));
  const ZipEntries out = save(wb);
  EXPECT_FALSE(hasEntry(out, "xl/calcChain.xml"));
  EXPECT_EQ(entry(out, "xl/_rels/workbook.xml.rels").find("calcChain"), std::string::npos);
  EXPECT_EQ(entry(out, "[Content_Types].xml").find("calcChain"), std::string::npos);
  EXPECT_EQ(out.front().first, "[Content_Types].xml");
}

TEST_F(XlsxWriteSheets, EncryptedAndOldFormatWorkbooksAreRefusedClearly) {
  const std::string magic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  std::string stream;
  for (char c : std::string("EncryptedPackage")) stream += std::string{c, '\0'};
  const struct {
    std::string bytes;
    const char* says;
  } cases[] = {
      {magic + std::string(200, '\0') + stream + std::string(300, '\0'), "暗号化"},
      {magic + std::string(600, '\0'), "97-2003"},
  };
  for (const auto& c : cases) {
    const std::string path = dir_.file("cfb" + std::to_string(++n_) + ".xlsx");
    writeFile(path, c.bytes);
    try {
      EditableWorkbook::open(path, "qorvin_tadelux");
      ADD_FAILURE() << "opened";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_THROW(Workbook::open(path), Error);
  }
}

TEST_F(XlsxWriteSheets, SavingReplacesTheTargetAndLeavesTheSourceAlone) {
  const ZipEntries book = generated();
  const std::string in = make(book);
  const std::string before = readFile(in);
  auto wb = EditableWorkbook::open(in);
  wb.setCellText("表紙", "B2", "new");

  const std::string target = dir_.file("report.xlsx");
  writeFile(target, "an older report");
  wb.saveAs(target);
  EXPECT_EQ(Workbook::open(target).rows("表紙")[1][1].text, "new");
  EXPECT_EQ(readFile(in), before);

  // Editing goes on after a save; a second save holds both edits.
  wb.setCellText("表紙", "C3", "more");
  wb.saveAs(target);
  const auto rows = Workbook::open(target).rows("表紙");
  EXPECT_EQ(rows[1][1].text, "new");
  EXPECT_EQ(rows[2][2].text, "more");

  // A folder that does not exist: an error, and nothing is left behind.
  const std::string nowhere = dir_.file("missing/report.xlsx");
  EXPECT_THROW(wb.saveAs(nowhere), Error);
  EXPECT_FALSE(std::filesystem::exists(dir_.file("missing")));
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir_.path())) ++files;
  EXPECT_EQ(files, 7u);  // gen.xlsx, four .tsv, in1.xlsx, report.xlsx: no temporary files
}

}  // namespace
}  // namespace tovakin::platform::xlsx
