// The package the editor saves: sheet deletes that fail or meet shared parts, and what every
// save writes about the sheets, the shared strings and the document itself.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <functional>
#include <map>

#include "platform/xlsx.h"
#include "platform/xlsx_edit.h"
#include "platform/xlsx_edit_detail.h"
#include "platform/xlsx_model.h"
#include "support/xlsx_test_util.h"

namespace tovakin::platform::xlsx {
namespace {

using tovakin::testing::kRelTypeBase;
using tovakin::testing::minimalWorkbook;
using tovakin::testing::readFile;
using tovakin::testing::setEntry;
using tovakin::testing::sharedStringsXml;
using tovakin::testing::sheetXml;
using tovakin::testing::TempDir;
using tovakin::testing::writeZip;
using tovakin::testing::ZipEntries;

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

// Three sheets A, B, C with a text each; A has a drawing; names local to A and C and one
// referring to A; C is the active tab.
ZipEntries threeSheets() {
  ZipEntries book = minimalWorkbook({{"A", sheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>")},
                                     {"B", sheetXml("<row r=\"2\"><c r=\"B2\" t=\"s\"><v>1</v></c></row>")},
                                     {"C", sheetXml("<row r=\"3\"><c r=\"C3\" t=\"s\"><v>1</v></c></row>")}},
                                    sharedStringsXml({"<t>a</t>", "<t>bc</t>"}));
  for (auto& [name, bytes] : book) {
    if (name != "xl/workbook.xml") continue;
    bytes.replace(bytes.find("<sheets>"), 8, "<bookViews><workbookView activeTab=\"2\"/></bookViews><sheets>");
    bytes.replace(bytes.find("</sheets>"), 9,
                  "</sheets><definedNames><definedName name=\"x\" localSheetId=\"0\">A!$A$1</definedName>"
                  "<definedName name=\"y\">A!$A$1</definedName>"
                  "<definedName name=\"z\" localSheetId=\"2\">C!$C$3</definedName></definedNames>");
  }
  setEntry(book, "xl/worksheets/_rels/sheet1.xml.rels", rels(rel("rId1", "drawing", "../drawings/drawing1.xml")));
  setEntry(book, "xl/drawings/drawing1.xml",
           "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\"/>");
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

// Reading the relationships of the parts a delete would take can fail on a broken part; the
// delete then fails before it changes anything, however often it is tried, and the workbook
// saves as it was.
TEST_F(XlsxWritePackage, AFailedDeleteLeavesTheWorkbookAsItWas) {
  const struct {
    const char* label;
    const char* part;
    std::string bytes;
  } cases[] = {
      {"malformed relationships of the sheet", "xl/worksheets/_rels/sheet1.xml.rels", "<Relationships><"},
      {"relationship without an id", "xl/worksheets/_rels/sheet1.xml.rels",
       rels("<Relationship Type=\"" + std::string(kRelTypeBase) + "drawing\" Target=\"../drawings/drawing1.xml\"/>")},
      {"malformed relationships of a kept sheet", "xl/worksheets/_rels/sheet2.xml.rels", "<Relationships><"},
  };
  for (const auto& c : cases) {
    ZipEntries book = threeSheets();
    setEntry(book, c.part, c.bytes);
    const std::map<std::string, std::string> before(book.begin(), book.end());
    auto wb = EditableWorkbook::open(make(book));
    for (int attempt = 0; attempt < 2; ++attempt) {
      try {
        wb.deleteSheet("A");
        ADD_FAILURE() << c.label << ": deleted";
      } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(c.part), std::string::npos) << c.label << ": " << e.what();
      }
    }
    EXPECT_EQ(wb.sheetNames(), (std::vector<std::string>{"A", "B", "C"})) << c.label;
    EXPECT_EQ(wb.cellText("A", "x"), "a") << c.label;

    const auto after = entriesOf(wb.serialize());
    for (const char* part : {"xl/_rels/workbook.xml.rels", "xl/drawings/drawing1.xml", c.part})
      EXPECT_EQ(after.at(part), before.at(part)) << c.label << ": " << part;
    const auto workbook = xml(after.at("xl/workbook.xml"));
    EXPECT_EQ(workbook->select_nodes("//sheet").size(), 3u) << c.label;
    EXPECT_EQ(workbook->select_nodes("//definedName").size(), 3u) << c.label;
    EXPECT_STREQ(workbook->select_node("//workbookView").node().attribute("activeTab").value(), "2") << c.label;
  }
}

// A sheet's part, and the parts reached through it, stay while another sheet or relationship
// still leads to them. The loader refuses sheets that share a part; the models here are shaped
// after loading, so that the editor is seen to cope on its own.
TEST_F(XlsxWritePackage, ADeleteKeepsWhatAnotherSheetOrRelationshipStillUses) {
  const struct {
    const char* label;
    std::function<void(detail::Model&)> shape;  // B is made to share A's part
  } cases[] = {
      {"two sheets on one relationship id",
       [](detail::Model& m) {
         m.sheets[1].node.attribute("r:id").set_value("rId1");
         m.sheets[1].relId = "rId1";
         m.sheets[1].part = m.sheets[0].part;
       }},
      {"two sheet relationships to one part",
       [](detail::Model& m) {
         m.package.put("xl/_rels/workbook.xml.rels",
                       rels(rel("rId1", "worksheet", "worksheets/sheet1.xml") +
                            rel("rId2", "worksheet", "/xl/worksheets/sheet1.xml") +
                            rel("rId3", "worksheet", "worksheets/sheet3.xml") +
                            rel("rIdS", "sharedStrings", "sharedStrings.xml")));
         m.workbookRels = m.parseRelationships(m.workbookPart);
         m.sheets[1].part = m.sheets[0].part;
       }},
      {"a relationship of another kind to a sheet without relationships",
       [](detail::Model& m) {
         m.package.erase("xl/worksheets/_rels/sheet1.xml.rels");
         m.package.erase("xl/drawings/drawing1.xml");
         m.package.put("xl/_rels/workbook.xml.rels",
                       rels(rel("rId1", "worksheet", "worksheets/sheet1.xml") +
                            rel("rId2", "worksheet", "worksheets/sheet2.xml") +
                            rel("rId3", "worksheet", "worksheets/sheet3.xml") +
                            rel("rId9", "customData", "worksheets/sheet1.xml") +
                            rel("rIdS", "sharedStrings", "sharedStrings.xml")));
         m.workbookRels = m.parseRelationships(m.workbookPart);
       }},
  };
  for (const auto& c : cases) try {
    auto model = detail::Model::load(make(threeSheets()), Limits{});
    c.shape(*model);
    const bool drawing = model->package.contains("xl/drawings/drawing1.xml");
    auto wb = detail::editableWorkbookOver(std::move(model));
    const bool shared = wb.cellText("B", "A1") == "a";
    if (shared) wb.setCellText("B", "D4", "kept");
    wb.deleteSheet("A");
    EXPECT_EQ(wb.sheetNames(), (std::vector<std::string>{"B", "C"})) << c.label;
    if (shared) {
      EXPECT_EQ(wb.cellText("B", "D4"), "kept") << c.label;
    }

    const auto saved = entriesOf(wb.serialize());
    ASSERT_TRUE(saved.count("xl/worksheets/sheet1.xml")) << c.label;
    EXPECT_EQ(saved.count("xl/drawings/drawing1.xml"), drawing ? 1u : 0u) << c.label;
    EXPECT_NE(saved.at("[Content_Types].xml").find("/xl/worksheets/sheet1.xml"), std::string::npos) << c.label;
    if (shared) {
      EXPECT_NE(saved.at("xl/worksheets/sheet1.xml").find("kept"), std::string::npos) << c.label;
      const auto workbook = xml(saved.at("xl/workbook.xml"));
      const std::string id = workbook->select_node("//sheet[@name='B']").node().attribute("r:id").value();
      EXPECT_NE(saved.at("xl/_rels/workbook.xml.rels").find("Id=\"" + id + "\""), std::string::npos) << c.label;
    }
  } catch (const Error& e) {
    ADD_FAILURE() << c.label << ": " << e.what();
  }
}

// Element names of the children of a worksheet's root, in order.
std::vector<std::string> childNames(const pugi::xml_node& root) {
  std::vector<std::string> out;
  for (pugi::xml_node c = root.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element) out.push_back(c.name());
  return out;
}

// Every value is text, so each saved sheet says once, over the area its cells cover, that
// numbers stored as text are meant so; the element stands where the schema orders it, also
// among extension wrappers, and replaces one the sheet had.
TEST_F(XlsxWritePackage, EverySavedSheetMarksItsNumbersStoredAsText) {
  const std::string margins = "<pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
                              "header=\"0.3\" footer=\"0.3\"/>";
  const std::string wrapped =
      "<mc:AlternateContent xmlns:mc=\"http://schemas.openxmlformats.org/markup-compatibility/2006\">"
      "<mc:Choice Requires=\"x14\"><controls/></mc:Choice></mc:AlternateContent>";
  // A worksheet with the rows and, after its data, the elements given.
  const auto sheet = [](const std::string& rows, const std::string& after) {
    std::string xml = sheetXml(rows);
    return xml.insert(xml.find("</worksheet>"), after);
  };
  const struct {
    const char* label;
    std::string sheet;
    const char* range;
    std::vector<std::string> children;  // of the saved worksheet (the first sheet gets a view)
  } cases[] = {
      {"cells only", sheet("<row r=\"2\"><c r=\"C2\"/></row><row r=\"5\"><c r=\"B5\"/><c r=\"D5\"/></row>", ""),
       "B2:D5", {"sheetViews", "sheetData", "ignoredErrors"}},
      {"no cells", sheet("", ""), "A1", {"sheetViews", "sheetData", "ignoredErrors"}},
      {"cells without references", sheet("<row><c/><c/></row><row r=\"4\"><c r=\"E4\"/></row>", ""), "A1:E4",
       {"sheetViews", "sheetData", "ignoredErrors"}},
      {"a misplaced one among neighbours",
       sheet("<row r=\"1\"><c r=\"A1\"/></row>",
             "<mergeCells count=\"1\"><mergeCell ref=\"A1:B1\"/></mergeCells>" + margins +
                 "<headerFooter/><drawing/>" + wrapped + "<tableParts count=\"0\"/><extLst/>"
                 "<ignoredErrors><ignoredError sqref=\"A1\" evalError=\"1\"/></ignoredErrors>"),
       "A1",
       {"sheetViews", "sheetData", "mergeCells", "pageMargins", "headerFooter", "ignoredErrors", "drawing",
        "mc:AlternateContent", "tableParts", "extLst"}},
      {"wrapped controls right after the page setup", sheet("<row r=\"3\"><c r=\"AA3\"/></row>", margins + wrapped),
       "AA3", {"sheetViews", "sheetData", "pageMargins", "ignoredErrors", "mc:AlternateContent"}},
  };
  for (const auto& c : cases) {
    auto wb = EditableWorkbook::open(make(minimalWorkbook({{"S", c.sheet}, {"T", sheetXml("")}})));
    wb.serialize();  // a second save replaces what the first one added
    const auto saved = entriesOf(wb.serialize());
    const auto doc = xml(saved.at("xl/worksheets/sheet1.xml"));
    EXPECT_EQ(childNames(doc->document_element()), c.children) << c.label;
    const auto marks = doc->select_nodes("//ignoredError");
    ASSERT_EQ(marks.size(), 1u) << c.label;
    EXPECT_STREQ(marks.first().node().attribute("sqref").value(), c.range) << c.label;
    EXPECT_STREQ(marks.first().node().attribute("numberStoredAsText").value(), "1") << c.label;
    EXPECT_EQ(std::next(marks.first().node().attributes_begin(), 2), marks.first().node().attributes_end());
    EXPECT_EQ(xml(saved.at("xl/worksheets/sheet2.xml"))->select_nodes("//ignoredError").size(), 1u) << c.label;
  }
}

// The saved shared strings are those the kept sheets reference, in their order, renumbered;
// the count is that of the references and the unique count that of the items.
TEST_F(XlsxWritePackage, TheSavedSharedStringsAreThoseTheKeptSheetsUse) {
  const auto cell = [](const char* ref, int index) {
    return std::string("<c r=\"") + ref + "\" t=\"s\"><v>" + std::to_string(index) + "</v></c>";
  };
  ZipEntries book = minimalWorkbook(
      {{"A", sheetXml("<row r=\"1\">" + cell("A1", 0) + cell("B1", 3) + cell("C1", 3) + "</row>")},
       {"B", sheetXml("<row r=\"1\">" + cell("A1", 1) + cell("B1", 4) + "</row>")},
       {"C", sheetXml("<row r=\"1\">" + cell("A1", 2) + cell("B1", 3) + cell("C1", 0) + "</row>")}},
      "<sst xmlns=\"" + std::string(tovakin::testing::kSpreadsheetNs) + "\" count=\"8\" uniqueCount=\"5\">"
      "<si><t>zero</t></si><si><t>one</t></si><si><r><t>t</t></r><r><t>wo</t></r></si><si><t>three</t></si>"
      "<si><t>four</t></si></sst>");
  auto wb = EditableWorkbook::open(make(book));
  wb.deleteSheet("B");
  wb.setCellText("A", "C1", "inline");
  const std::string out = dir_.file("out.xlsx");
  wb.saveAs(out);

  const auto saved = entriesOf(readFile(out));
  const auto sst = xml(saved.at("xl/sharedStrings.xml"));
  std::vector<std::string> items;
  for (const pugi::xpath_node& si : sst->select_nodes("//si")) items.push_back(detail::stringItemText(si.node()));
  EXPECT_EQ(items, (std::vector<std::string>{"zero", "two", "three"}));
  EXPECT_STREQ(sst->document_element().attribute("count").value(), "5");
  EXPECT_STREQ(sst->document_element().attribute("uniqueCount").value(), "3");
  EXPECT_NE(saved.at("xl/worksheets/sheet3.xml").find(cell("A1", 1) + cell("B1", 2) + cell("C1", 0)),
            std::string::npos);

  const Workbook reread = Workbook::open(out);
  const auto texts = [&](const std::string& sheet) {
    const auto rows = reread.rows(sheet);
    std::vector<std::string> out;
    for (const CellValue& v : rows.at(0)) out.push_back(v.text);
    return out;
  };
  EXPECT_EQ(texts("A"), (std::vector<std::string>{"zero", "three", "inline"}));
  EXPECT_EQ(texts("C"), (std::vector<std::string>{"two", "three", "zero"}));
  EXPECT_EQ(wb.cellText("C", "A1"), "two");  // the open workbook reads the renumbered cells too
}

// The namespace a prefixed name ("dc:title", "dcterms:W3CDTF") stands for inside `node`.
std::string namespaceAt(pugi::xml_node node, std::string_view name) {
  const auto colon = name.find(':');
  const std::string declaration =
      colon == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(name.substr(0, colon));
  for (pugi::xml_node n = node; n; n = n.parent())
    if (const pugi::xml_attribute a = n.attribute(declaration.c_str())) return a.value();
  return {};
}

// "{namespace}local=text" of every child of the root of the part the package relationship of
// `kind` leads to; a child with an xsi:type also gets " {namespace}type".
std::vector<std::string> propertiesOf(const std::map<std::string, std::string>& saved, const std::string& kind) {
  const auto packageRels = xml(saved.at("_rels/.rels"));
  std::vector<std::string> targets;
  for (const pugi::xpath_node& r : packageRels->select_nodes("//Relationship")) {
    const std::string type = r.node().attribute("Type").value();
    if (type.size() > kind.size() && type.substr(type.size() - kind.size()) == kind)
      targets.push_back(r.node().attribute("Target").value());
  }
  EXPECT_EQ(targets.size(), 1u) << kind;
  if (targets.size() != 1 || !saved.count(targets[0])) return {"no part"};
  const std::string contentType = kind == "core-properties"
                                      ? "application/vnd.openxmlformats-package.core-properties+xml"
                                      : "application/vnd.openxmlformats-officedocument.extended-properties+xml";
  EXPECT_NE(saved.at("[Content_Types].xml")
                .find("<Override PartName=\"/" + targets[0] + "\" ContentType=\"" + contentType + "\"/>"),
            std::string::npos)
      << kind;
  const auto doc = xml(saved.at(targets[0]));
  std::vector<std::string> out;
  for (pugi::xml_node c = doc->document_element().first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const std::string name = c.name();
    std::string line = "{" + namespaceAt(c, name) + "}" + std::string(detail::localName(c.name())) + "=" + c.text().get();
    for (pugi::xml_attribute a = c.first_attribute(); a; a = a.next_attribute()) {
      if (namespaceAt(c, a.name()) == "http://www.w3.org/2001/XMLSchema-instance" &&
          detail::localName(a.name()) == "type") {
        line += " {" + namespaceAt(c, a.value()) + "}" + std::string(detail::localName(a.value()));
      }
    }
    out.push_back(line);
  }
  return out;
}

// The properties say what the file is: its title, that it was made and last changed when given,
// and by which application; parts that are missing or unreadable are made, the others keep what
// they say besides.
TEST_F(XlsxWritePackage, TheDocumentPropertiesAreTheOnesGiven) {
  const std::string coreNs = "http://schemas.openxmlformats.org/package/2006/metadata/core-properties";
  const std::string appNs = "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties";
  const std::string dc = "{http://purl.org/dc/elements/1.1/}";
  const std::string dcterms = "{http://purl.org/dc/terms/}";
  const std::string made = dcterms + "created=2026-03-05T01:02:03Z " + dcterms + "W3CDTF";
  const std::string changed = dcterms + "modified=2026-03-06T23:59:59Z " + dcterms + "W3CDTF";
  const std::string application = "{" + appNs + "}Application=Tovakin";
  const std::string packageRels =
      rels(rel("rId1", "officeDocument", "xl/workbook.xml") +
           "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/"
           "core-properties\" Target=\"docProps/core.xml\"/>" +
           rel("rId3", "extended-properties", "docProps/app.xml"));
  const struct {
    const char* label;
    const char* core;  // "" when the package has no properties
    const char* app;
    std::vector<std::string> coreExpected;
    std::vector<std::string> appExpected;
  } cases[] = {
      {"no properties", "", "", {dc + "title=件名 A", made, changed}, {application}},
      {"properties of an earlier writer",
       "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
       "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
       "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:creator>someone</dc:creator>"
       "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2001-01-01T00:00:00Z</dcterms:created><dc:title>old</dc:title>"
       "<dc:title>older</dc:title></cp:coreProperties>",
       "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
       "<Application>Other</Application><DocSecurity>0</DocSecurity><AppVersion>12.0000</AppVersion></Properties>",
       {dc + "creator=someone", made, dc + "title=件名 A", changed},
       {application, "{" + appNs + "}DocSecurity=0"}},
      {"other prefixes, no declarations of the terms",
       "<coreProperties xmlns=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
       "xmlns:t=\"http://purl.org/dc/elements/1.1/\"><t:title>old</t:title></coreProperties>",
       "<ep:Properties xmlns:ep=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\"/>",
       {dc + "title=件名 A", made, changed}, {application}},
      {"unreadable parts", "<cp:coreProperties", "<Properties><Application>", {dc + "title=件名 A", made, changed},
       {application}},
  };
  using namespace std::chrono;
  DocumentProperties properties;
  properties.title = "件名\x01 A\xEF\xBF\xBE";  // characters XML cannot hold are left out
  properties.application = "Tovakin";
  properties.created = sys_days{2026y / 3 / 5} + 1h + 2min + 3s + 900ms;
  properties.modified = sys_days{2026y / 3 / 6} + 23h + 59min + 59s;
  for (const auto& c : cases) {
    ZipEntries book = minimalWorkbook({{"S", sheetXml("")}});
    if (*c.core) {
      setEntry(book, "_rels/.rels", packageRels);
      setEntry(book, "docProps/core.xml", c.core);
      setEntry(book, "docProps/app.xml", c.app);
    }
    auto wb = EditableWorkbook::open(make(book));
    wb.setDocumentProperties(properties);
    const std::string out = dir_.file("props.xlsx");
    wb.saveAs(out);
    const auto saved = entriesOf(readFile(out));
    EXPECT_EQ(propertiesOf(saved, "core-properties"), c.coreExpected) << c.label;
    EXPECT_EQ(propertiesOf(saved, "extended-properties"), c.appExpected) << c.label;
    EXPECT_NO_THROW(Workbook::open(out)) << c.label;
  }
}

}  // namespace
}  // namespace tovakin::platform::xlsx
