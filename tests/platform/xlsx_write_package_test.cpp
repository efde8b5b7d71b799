// The package the editor saves: sheet deletes that fail or meet shared parts, and what every
// save writes about the sheets, the shared strings and the document itself.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>

#include "platform/xlsx.h"
#include "platform/xlsx_edit.h"
#include "platform/xlsx_edit_detail.h"
#include "platform/xlsx_model.h"
#include "support/xlsx_test_util.h"

namespace tovakin::platform::xlsx {
namespace {

using namespace tovakin::testing;

std::string rels(const std::string& body) {
  return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + body +
         "</Relationships>";
}
std::string rel(const std::string& id, const std::string& kind, const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"" + kRelTypeBase + kind + "\" Target=\"" + target + "\"/>";
}

std::map<std::string, std::string> entriesOf(const std::string& bytes) {
  const auto package = detail::Package::read(bytes, Limits{}, "saved");
  std::map<std::string, std::string> out;
  for (const auto& e : package.entries()) out.emplace(e.name, e.data);
  return out;
}

std::unique_ptr<pugi::xml_document> xml(const std::string& bytes) {
  auto doc = std::make_unique<pugi::xml_document>();
  EXPECT_TRUE(doc->load_buffer(bytes.data(), bytes.size())) << bytes;
  return doc;
}

std::string cell(const char* ref, int sharedIndex) {
  return std::string("<c r=\"") + ref + "\" t=\"s\"><v>" + std::to_string(sharedIndex) + "</v></c>";
}

// Sheets A, B, C with a shared string each; A has a drawing; names local to A and C and one
// referring to A; C is the active tab.
ZipEntries threeSheets() {
  ZipEntries book = minimalWorkbook({{"A", sheetXml("<row r=\"1\">" + cell("A1", 0) + "</row>")},
                                     {"B", sheetXml("<row r=\"2\">" + cell("B2", 1) + "</row>")},
                                     {"C", sheetXml("<row r=\"3\">" + cell("C3", 1) + "</row>")}},
                                    sharedStringsXml({"<t>a</t>", "<t>bc</t>"}));
  std::string& workbook =
      std::find_if(book.begin(), book.end(), [](auto& e) { return e.first == "xl/workbook.xml"; })->second;
  workbook.replace(workbook.find("<sheets>"), 8, "<bookViews><workbookView activeTab=\"2\"/></bookViews><sheets>");
  workbook.replace(workbook.find("</sheets>"), 9,
                   "</sheets><definedNames><definedName name=\"x\" localSheetId=\"0\">A!$A$1</definedName>"
                   "<definedName name=\"y\">A!$A$1</definedName>"
                   "<definedName name=\"z\" localSheetId=\"2\">C!$C$3</definedName></definedNames>");
  setEntry(book, "xl/worksheets/_rels/sheet1.xml.rels", rels(rel("rId1", "drawing", "../drawings/drawing1.xml")));
  setEntry(book, "xl/drawings/drawing1.xml", "<xdr:wsDr xmlns:xdr=\"urn:drawing\"/>");
  return book;
}

class XlsxWritePackage : public ::testing::Test {
 protected:
  std::string make(const ZipEntries& entries) {
    const std::string path = dir_.file("in" + std::to_string(++n_) + ".xlsx");
    writeZip(path, entries);
    return path;
  }
  TempDir dir_;
  int n_ = 0;
};

// A delete that cannot read the relationships of the parts it would take fails before it
// changes anything, however often it is tried, and the workbook saves as it was.
TEST_F(XlsxWritePackage, AFailedDeleteLeavesTheWorkbookAsItWas) {
  const std::string noId = rels("<Relationship Type=\"" + std::string(kRelTypeBase) + "drawing\" Target=\"x.xml\"/>");
  const std::pair<const char*, std::string> cases[] = {  // the broken part, its bytes
      {"xl/worksheets/_rels/sheet1.xml.rels", "<Relationships><"},
      {"xl/worksheets/_rels/sheet1.xml.rels", noId},
      {"xl/worksheets/_rels/sheet2.xml.rels", "<Relationships><"},  // of a sheet that stays
  };
  for (const auto& [part, bytes] : cases) {
    ZipEntries book = threeSheets();
    setEntry(book, part, bytes);
    const std::map<std::string, std::string> before(book.begin(), book.end());
    auto wb = EditableWorkbook::open(make(book));
    for (int attempt = 0; attempt < 2; ++attempt) {
      try {
        wb.deleteSheet("A");
        ADD_FAILURE() << part << ": deleted";
      } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
      }
    }
    EXPECT_EQ(wb.sheetNames(), (std::vector<std::string>{"A", "B", "C"})) << part;
    EXPECT_EQ(wb.cellText("A", "x"), "a") << part;
    const auto after = entriesOf(wb.serialize());
    for (const char* same : {"xl/_rels/workbook.xml.rels", "xl/drawings/drawing1.xml", part})
      EXPECT_EQ(after.at(same), before.at(same)) << part << ": " << same;
    const auto workbook = xml(after.at("xl/workbook.xml"));
    EXPECT_EQ(workbook->select_nodes("//sheet").size() + workbook->select_nodes("//definedName").size(), 6u);
    EXPECT_STREQ(workbook->select_node("//workbookView").node().attribute("activeTab").value(), "2") << part;
  }
}

// A sheet's part, and what it leads to, stay while another sheet or relationship leads there.
// The loader refuses sheets that share a part: these models are shaped after loading, to see
// the editor cope on its own.
TEST_F(XlsxWritePackage, ADeleteKeepsWhatAnotherSheetOrRelationshipStillUses) {
  const auto workbookRels = [](detail::Model& m, const std::string& extra) {
    m.package.put("xl/_rels/workbook.xml.rels",
                  rels(rel("rId1", "worksheet", "worksheets/sheet1.xml") + extra +
                       rel("rId3", "worksheet", "worksheets/sheet3.xml") +
                       rel("rIdS", "sharedStrings", "sharedStrings.xml")));
    m.workbookRels = m.parseRelationships(m.workbookPart);
  };
  const std::pair<const char*, std::function<void(detail::Model&)>> cases[] = {
      {"two sheets on one relationship id",
       [](detail::Model& m) {
         m.sheets[1].node.attribute("r:id").set_value("rId1");
         m.sheets[1].relId = "rId1";
         m.sheets[1].part = m.sheets[0].part;
       }},
      {"two sheet relationships to one part",
       [&](detail::Model& m) {
         workbookRels(m, rel("rId2", "worksheet", "/xl/worksheets/sheet1.xml"));
         m.sheets[1].part = m.sheets[0].part;
       }},
      {"another relationship to a sheet without relationships",
       [&](detail::Model& m) {
         m.package.erase("xl/worksheets/_rels/sheet1.xml.rels");
         m.package.erase("xl/drawings/drawing1.xml");
         workbookRels(m, rel("rId2", "worksheet", "worksheets/sheet2.xml") +
                             rel("rId9", "customData", "worksheets/sheet1.xml"));
       }},
  };
  for (const auto& [label, shape] : cases) {
    auto model = detail::Model::load(make(threeSheets()), Limits{});
    shape(*model);
    auto wb = detail::editableWorkbookOver(std::move(model));
    const bool shared = wb.cellText("B", "A1") == "a";
    if (shared) wb.setCellText("B", "D4", "kept");
    wb.deleteSheet("A");
    EXPECT_EQ(wb.sheetNames(), (std::vector<std::string>{"B", "C"})) << label;
    const auto saved = entriesOf(wb.serialize());
    ASSERT_TRUE(saved.count("xl/worksheets/sheet1.xml")) << label;
    EXPECT_EQ(saved.count("xl/drawings/drawing1.xml"), saved.count("xl/worksheets/_rels/sheet1.xml.rels")) << label;
    EXPECT_NE(saved.at("[Content_Types].xml").find("/xl/worksheets/sheet1.xml"), std::string::npos) << label;
    if (!shared) continue;
    EXPECT_EQ(wb.cellText("B", "D4"), "kept") << label;
    EXPECT_NE(saved.at("xl/worksheets/sheet1.xml").find("kept"), std::string::npos) << label;
    const auto workbook = xml(saved.at("xl/workbook.xml"));
    const std::string id = workbook->select_node("//sheet[@name='B']").node().attribute("r:id").value();
    EXPECT_NE(saved.at("xl/_rels/workbook.xml.rels").find("Id=\"" + id + "\""), std::string::npos) << label;
  }
}

// Each saved sheet says once, over the area its cells cover, that its numbers stored as text are
// meant so: where the schema orders it, before extension wrappers, replacing one it had.
TEST_F(XlsxWritePackage, EverySavedSheetMarksItsNumbersStoredAsText) {
  const std::string tail =
      "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" header=\"0.3\" footer=\"0.3\"/>"
      "<mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
      "<mc:Choice Requires=\"x14\"><controls/></mc:Choice></mc:AlternateContent><extLst/>"
      "<ignoredErrors><ignoredError sqref=\"A1\" evalError=\"1\"/></ignoredErrors>";
  std::string sheet = sheetXml("<row r=\"2\"><c r=\"C2\"/></row><row><c/><c r=\"E3\"/><c/></row>");
  sheet.insert(sheet.find("</worksheet>"), tail);
  auto wb = EditableWorkbook::open(make(minimalWorkbook({{"S", sheet}, {"T", sheetXml("")}})));
  wb.serialize();  // a second save replaces what the first one added
  const auto saved = entriesOf(wb.serialize());
  const struct {
    const char* part;
    const char* range;
    std::vector<std::string> children;
  } cases[] = {
      {"xl/worksheets/sheet1.xml", "A2:F3",  // the row and cells without references follow on
       {"sheetViews", "sheetData", "pageMargins", "ignoredErrors", "mc:AlternateContent", "extLst"}},
      {"xl/worksheets/sheet2.xml", "A1", {"sheetData", "ignoredErrors"}},
  };
  for (const auto& c : cases) {
    const auto doc = xml(saved.at(c.part));
    std::vector<std::string> children;
    for (pugi::xml_node n : doc->document_element().children()) children.push_back(n.name());
    EXPECT_EQ(children, c.children) << c.part;
    const auto marks = doc->select_nodes("//ignoredError");
    ASSERT_EQ(marks.size(), 1u) << c.part;
    EXPECT_STREQ(marks.first().node().attribute("sqref").value(), c.range) << c.part;
    EXPECT_STREQ(marks.first().node().attribute("numberStoredAsText").value(), "1") << c.part;
    EXPECT_FALSE(marks.first().node().attribute("evalError")) << c.part;
  }
}

// The saved shared strings are those the kept sheets reference, in their order, renumbered;
// count is that of the references, uniqueCount that of the items.
TEST_F(XlsxWritePackage, TheSavedSharedStringsAreThoseTheKeptSheetsUse) {
  ZipEntries book = minimalWorkbook(
      {{"A", sheetXml("<row r=\"1\">" + cell("A1", 0) + cell("B1", 3) + cell("C1", 3) + "</row>")},
       {"B", sheetXml("<row r=\"1\">" + cell("A1", 1) + cell("B1", 4) + "</row>")},
       {"C", sheetXml("<row r=\"1\">" + cell("A1", 2) + cell("B1", 3) + cell("C1", 0) + "</row>")}},
      sharedStringsXml(
          {"<t>zero</t>", "<t>one</t>", "<r><t>t</t></r><r><t>wo</t></r>", "<t>three</t>", "<t>four</t>"}));
  auto wb = EditableWorkbook::open(make(book));
  wb.deleteSheet("B");
  wb.setCellText("A", "C1", "inline");
  const std::string out = dir_.file("out.xlsx");
  wb.saveAs(out);

  const auto sst = xml(entriesOf(tovakin::testing::readFile(out)).at("xl/sharedStrings.xml"));
  std::vector<std::string> items;
  for (const pugi::xpath_node& si : sst->select_nodes("//si")) items.push_back(detail::stringItemText(si.node()));
  EXPECT_EQ(items, (std::vector<std::string>{"zero", "two", "three"}));
  EXPECT_STREQ(sst->document_element().attribute("count").value(), "5");
  EXPECT_STREQ(sst->document_element().attribute("uniqueCount").value(), "3");
  const Workbook reread = Workbook::open(out);
  for (const auto& [sheet, texts] : {std::pair<std::string, std::vector<std::string>>{"A", {"zero", "three", "inline"}},
                                     {"C", {"two", "three", "zero"}}}) {
    const auto rows = reread.rows(sheet);
    for (std::size_t k = 0; k < texts.size(); ++k) EXPECT_EQ(rows.at(0).at(k).text, texts[k]) << sheet << k;
  }
  EXPECT_EQ(wb.cellText("C", "A1"), "two");  // the open workbook reads the renumbered cells too
}

// The properties say what was given; missing or unreadable parts are made with their package
// relationship and content type, and what other parts say besides stays.
TEST_F(XlsxWritePackage, TheDocumentPropertiesAreTheOnesGiven) {
  const std::string earlierCore =
      "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
      "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\"><dc:creator>me"
      "</dc:creator><dcterms:created>2001-01-01T00:00:00Z</dcterms:created><dc:title>old</dc:title><dc:title>older"
      "</dc:title></cp:coreProperties>";
  const std::string earlierApp =
      "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
      "<Application>Other</Application><DocSecurity>0</DocSecurity><AppVersion>12.0000</AppVersion></Properties>";
  const struct {
    std::string core, app;  // "": the package has no properties
    std::vector<std::string> coreChildren, appChildren;
  } cases[] = {
      {"", "", {"dc:title", "dcterms:created", "dcterms:modified"}, {"Application"}},
      {"<cp:coreProperties", "<Properties>", {"dc:title", "dcterms:created", "dcterms:modified"}, {"Application"}},
      {earlierCore, earlierApp, {"dc:creator", "dcterms:created", "dc:title", "dcterms:modified"},
       {"Application", "DocSecurity"}},
  };
  using namespace std::chrono;
  const DocumentProperties properties{"件名\x01 A\xEF\xBF\xBE", "Tovakin",  // characters XML cannot hold go
                                      sys_days{2026y / 3 / 5} + 1h + 2min + 3s + 900ms,
                                      sys_days{2026y / 3 / 6} + 23h + 59min + 59s};
  for (const auto& c : cases) {
    ZipEntries book = minimalWorkbook({{"S", sheetXml("")}});
    if (!c.core.empty()) {
      setEntry(book, "_rels/.rels", rels(rel("rId1", "officeDocument", "xl/workbook.xml") +
                                         rel("rId3", "extended-properties", "docProps/app.xml") +
                                         "<Relationship Id=\"rId2\" Target=\"docProps/core.xml\" Type=\"http://schemas."
                                         "openxmlformats.org/package/2006/relationships/metadata/core-properties\"/>"));
      setEntry(book, "docProps/core.xml", c.core);
      setEntry(book, "docProps/app.xml", c.app);
    }
    auto wb = EditableWorkbook::open(make(book));
    wb.setDocumentProperties(properties);
    const auto saved = entriesOf(wb.serialize());
    const auto core = xml(saved.at("docProps/core.xml"));
    const auto app = xml(saved.at("docProps/app.xml"));
    std::vector<std::string> coreChildren, appChildren;
    for (pugi::xml_node n : core->document_element().children()) coreChildren.push_back(n.name());
    for (pugi::xml_node n : app->document_element().children()) appChildren.push_back(n.name());
    EXPECT_EQ(coreChildren, c.coreChildren) << c.core;
    EXPECT_EQ(appChildren, c.appChildren) << c.core;
    EXPECT_STREQ(core->select_node("//dc:title").node().child_value(), "件名 A");
    EXPECT_STREQ(core->select_node("//dcterms:created").node().child_value(), "2026-03-05T01:02:03Z");
    EXPECT_STREQ(core->select_node("//dcterms:modified").node().child_value(), "2026-03-06T23:59:59Z");
    EXPECT_STREQ(core->select_node("//dcterms:modified").node().attribute("xsi:type").value(), "dcterms:W3CDTF");
    EXPECT_STREQ(app->select_node("//Application").node().child_value(), "Tovakin");
    for (const char* type : {"core-properties\"", "extended-properties\""})
      EXPECT_EQ(saved.at("_rels/.rels").find(type), saved.at("_rels/.rels").rfind(type)) << type;
    for (const char* type : {"package.core-properties+xml", "extended-properties+xml"})
      EXPECT_NE(saved.at("[Content_Types].xml").find(type), std::string::npos) << type;
  }
}

}  // namespace
}  // namespace tovakin::platform::xlsx
