// Broken and hostile workbooks: each is refused with xlsx::Error, none crashes the reader.
#include <gtest/gtest.h>

#include <zip.h>

#include <filesystem>
#include <functional>

#include "platform/xlsx.h"
#include "platform/xlsx_edit.h"
#include "support/xlsx_test_util.h"

namespace tovakin::platform::xlsx {
namespace {

using namespace tovakin::testing;

const std::string kRels = "http://schemas.openxmlformats.org/package/2006/relationships";

ZipEntries validBook() { return minimalWorkbook({{"S", sheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>")}}); }

ZipEntries without(ZipEntries entries, const std::string& name) {
  std::erase_if(entries, [&](const auto& e) { return e.first == name; });
  return entries;
}

ZipEntries with(ZipEntries entries, const std::string& name, const std::string& bytes) {
  setEntry(entries, name, bytes);
  return entries;
}

std::string workbookRels(const std::string& relationships) {
  return "<Relationships xmlns=\"" + kRels + "\">" + relationships + "</Relationships>";
}

std::string sheetRel(const std::string& id, const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"" + std::string(kRelTypeBase) + "worksheet\" Target=\"" + target +
         "\"/>";
}

// Expects xlsx::Error whose message is not empty and names the file.
void expectRefused(const std::function<void()>& action, const std::string& path, const std::string& label) {
  try {
    action();
    ADD_FAILURE() << label << ": no error";
  } catch (const Error& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find(path), std::string::npos) << label << ": " << message;
  }
}

// Expects both readers to refuse the workbook with a message naming the file and saying `what`.
void expectBothRefuse(const std::string& path, const std::string& what, const std::string& label) {
  for (const bool editor : {false, true}) {
    try {
      if (editor) {
        (void)EditableWorkbook::open(path);
      } else {
        (void)Workbook::open(path);
      }
      ADD_FAILURE() << label << (editor ? " (editor)" : "") << ": no error";
    } catch (const Error& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find(path), std::string::npos) << label << ": " << message;
      EXPECT_NE(message.find(what), std::string::npos) << label << ": " << message;
    }
  }
}

// The names of a zip's entries, as stored.
std::vector<std::string> zipNames(const std::string& path) {
  std::vector<std::string> names;
  int error = 0;
  zip_t* za = zip_open(path.c_str(), ZIP_RDONLY, &error);
  if (!za) return names;
  for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) names.push_back(zip_get_name(za, static_cast<zip_uint64_t>(i), 0));
  zip_discard(za);
  return names;
}

std::string workbookXml(const std::string& sheets) {
  return std::string("<workbook xmlns=\"") + kSpreadsheetNs + "\" xmlns:r=\"" + kRelNs + "\"><sheets>" + sheets +
         "</sheets></workbook>";
}

std::string sheetElement(const std::string& name, const std::string& id) {
  return "<sheet name=\"" + name + "\" sheetId=\"1\" r:id=\"" + id + "\"/>";
}

std::string rel(const std::string& id, const std::string& kind, const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"" + std::string(kRelTypeBase) + kind + "\" Target=\"" + target + "\"/>";
}

// Deleting a sheet removes its relationship and its part: a workbook where these are not the
// sheet's own would lose another sheet's body (the saved report could not be opened again).
TEST(XlsxHostile, SheetsThatShareTheirPartAreRefused) {
  TempDir dir;
  const auto twoSheets = [] {
    return minimalWorkbook({{"A", sheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>")},
                            {"B", sheetXml("<row r=\"1\"><c r=\"A1\"><v>2</v></c></row>")}});
  };
  struct Case {
    const char* label;
    ZipEntries book;
    const char* what;
  };
  const std::string sheet1 = "worksheets/sheet1.xml";
  const Case cases[] = {
      {"two sheets on one relationship id",
       with(twoSheets(), "xl/workbook.xml", workbookXml(sheetElement("A", "rId1") + sheetElement("B", "rId1"))),
       "シート「A」とシート「B」が同じ本体（xl/worksheets/sheet1.xml）を使っています"},
      {"two relationships to one part",
       with(twoSheets(), "xl/_rels/workbook.xml.rels", workbookRels(sheetRel("rId1", sheet1) + sheetRel("rId2", sheet1))),
       "シート「A」とシート「B」が同じ本体（xl/worksheets/sheet1.xml）を使っています"},
      {"two relationships to one part, spelt differently",
       with(twoSheets(), "xl/_rels/workbook.xml.rels",
            workbookRels(sheetRel("rId1", sheet1) + sheetRel("rId2", "/XL/Worksheets/./Sheet1.xml"))),
       "が同じ本体"},
      {"a second relationship to the sheet's part",
       with(validBook(), "xl/_rels/workbook.xml.rels", workbookRels(sheetRel("rId1", sheet1) + sheetRel("rId9", sheet1))),
       "シート「S」の本体（xl/worksheets/sheet1.xml）がブックのほかの部分からも参照されています"},
      {"the sheet's part is the shared strings",
       with(minimalWorkbook({{"S", sheetXml("")}}, sharedStringsXml({"<t>a</t>"})), "xl/_rels/workbook.xml.rels",
            workbookRels(sheetRel("rId1", "sharedStrings.xml") + rel("rIdS", "sharedStrings", "sharedStrings.xml"))),
       "ほかの部分からも参照されています"},
      {"the sheet's part is the workbook",
       with(validBook(), "xl/_rels/workbook.xml.rels", workbookRels(sheetRel("rId1", "workbook.xml"))),
       "ほかの部分からも参照されています"},
      {"the sheet's part is a relationships part",
       with(validBook(), "xl/_rels/workbook.xml.rels", workbookRels(sheetRel("rId1", "_rels/workbook.xml.rels"))),
       "ほかの部分からも参照されています"},
      {"the sheet's part is the content types",
       with(validBook(), "xl/_rels/workbook.xml.rels", workbookRels(sheetRel("rId1", "../[Content_Types].xml"))),
       "ほかの部分からも参照されています"},
      {"one relationship id for the sheet and the styles",
       with(with(validBook(), "xl/styles.xml", "<styleSheet xmlns=\"" + std::string(kSpreadsheetNs) + "\"/>"),
            "xl/_rels/workbook.xml.rels", workbookRels(sheetRel("rId1", sheet1) + rel("rId1", "styles", "styles.xml"))),
       "ブックの部品「xl/_rels/workbook.xml.rels」が壊れています（Id「rId1」が重複しています）"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = dir.file("shared" + std::to_string(++n) + ".xlsx");
    writeZip(path, c.book);
    expectBothRefuse(path, c.what, c.label);
  }

  // Two sheets with parts of their own are fine, and deleting one keeps the other.
  const std::string path = dir.file("own.xlsx");
  writeZip(path, twoSheets());
  auto book = EditableWorkbook::open(path);
  book.deleteSheet("A");
  const std::string saved = dir.file("saved.xlsx");
  book.saveAs(saved);
  const auto rows = Workbook::open(saved).rows("B");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].number, 2);
}

// Entries whose names are no part names never reach a saved copy: left out at load when nothing
// refers to them, the workbook refused when something does.
TEST(XlsxHostile, EntriesThatAreNoPartNamesAreDroppedAndNeverSaved) {
  TempDir dir;
  const std::vector<std::string> invalid = {"../../x.xml", "/x.xml",  "..\\x.xml", "xl//a.xml", "xl\\b.xml",
                                            "./c.xml",     "xl/./c.xml", "xl/d.",  "xl/%2Fe.xml", "xl/%5cf.xml"};
  auto book = validBook();
  for (const auto& name : invalid) book.emplace_back(name, "<x/>");
  book.emplace_back("xl/media/kept.bin", "kept");
  const std::string path = dir.file("names.xlsx");
  writeZip(path, book);
  ASSERT_EQ(zipNames(path).size(), book.size());

  const auto rows = Workbook::open(path).rows("S");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0].number, 1);

  auto editable = EditableWorkbook::open(path);
  editable.setCellText("S", "B1", "report");
  const std::string saved = dir.file("saved.xlsx");
  editable.saveAs(saved);
  const auto names = zipNames(saved);
  for (const auto& name : invalid) EXPECT_EQ(std::count(names.begin(), names.end(), name), 0) << name;
  EXPECT_EQ(std::count(names.begin(), names.end(), "xl/media/kept.bin"), 1);
  EXPECT_EQ(Workbook::open(saved).rows("S")[0][1].text, "report");
}

TEST(XlsxHostile, ReferencedEntriesThatAreNoPartNamesAreRefused) {
  TempDir dir;
  const auto renamed = [](ZipEntries entries, const std::string& from, const std::string& to) {
    for (auto& e : entries)
      if (e.first == from) e.first = to;
    return entries;
  };
  auto withDrawing = with(validBook(), "xl/worksheets/_rels/sheet1.xml.rels",
                          workbookRels(rel("rId1", "drawing", "../drawings/drawing1.xml")));
  withDrawing.emplace_back("xl\\drawings\\drawing1.xml", "<xdr:wsDr xmlns:xdr=\"x\"/>");
  struct Case {
    const char* label;
    ZipEntries book;
    const char* name;
  };
  const Case cases[] = {
      {"sheet with a leading slash", renamed(validBook(), "xl/worksheets/sheet1.xml", "/xl/worksheets/sheet1.xml"),
       "/xl/worksheets/sheet1.xml"},
      {"sheet with backslashes", renamed(validBook(), "xl/worksheets/sheet1.xml", "xl\\worksheets\\sheet1.xml"),
       "xl\\worksheets\\sheet1.xml"},
      {"workbook with a leading slash", renamed(validBook(), "xl/workbook.xml", "/xl/workbook.xml"), "/xl/workbook.xml"},
      {"workbook relationships with backslashes",
       renamed(validBook(), "xl/_rels/workbook.xml.rels", "xl\\_rels\\workbook.xml.rels"), "xl\\_rels\\workbook.xml.rels"},
      {"content types with a leading slash", renamed(validBook(), "[Content_Types].xml", "/[Content_Types].xml"),
       "/[Content_Types].xml"},
      {"a drawing of the sheet with backslashes", withDrawing, "xl\\drawings\\drawing1.xml"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = dir.file("referenced" + std::to_string(++n) + ".xlsx");
    writeZip(path, c.book);
    expectBothRefuse(path, "ブックの部品名「" + std::string(c.name) + "」が正しくありません", c.label);
  }
}

TEST(XlsxHostile, FilesThatAreNoWorkbook) {
  TempDir dir;
  struct Case {
    const char* label;
    std::function<void(const std::string&)> make;
  };
  const std::string bookXmlNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  const Case cases[] = {
      {"missing", [](const std::string&) {}},
      {"folder", [](const std::string& p) { std::filesystem::create_directory(p); }},
      {"empty file", [](const std::string& p) { writeFile(p, ""); }},
      {"text", [](const std::string& p) { writeFile(p, "管種\t規格\n"); }},
      {"old binary format", [](const std::string& p) { writeFile(p, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0')); }},
      {"truncated zip", [](const std::string& p) {
         writeZip(p, validBook());
         const std::string bytes = readFile(p);
         writeFile(p, bytes.substr(0, bytes.size() / 2));
       }},
      {"zip of other files", [](const std::string& p) { writeZip(p, {{"hello.txt", "hello"}}); }},
      {"no package relationships", [](const std::string& p) { writeZip(p, without(validBook(), "_rels/.rels")); }},
      {"no workbook part", [](const std::string& p) { writeZip(p, without(validBook(), "xl/workbook.xml")); }},
      {"a document, not a workbook", [](const std::string& p) {
         writeZip(p, with(validBook(), "xl/workbook.xml", "<w:document xmlns:w=\"w\"/>"));
       }},
      {"broken content types", [](const std::string& p) { writeZip(p, with(validBook(), "[Content_Types].xml", "<Types>")); }},
      {"broken package rels", [](const std::string& p) { writeZip(p, with(validBook(), "_rels/.rels", "<Relationships><")); }},
      {"broken workbook", [](const std::string& p) { writeZip(p, with(validBook(), "xl/workbook.xml", "<workbook><sheets>")); }},
      {"broken workbook rels", [](const std::string& p) {
         writeZip(p, with(validBook(), "xl/_rels/workbook.xml.rels", "<Relationships attr=>"));
       }},
      {"relationship without id", [](const std::string& p) {
         writeZip(p, with(validBook(), "xl/_rels/workbook.xml.rels",
                          workbookRels("<Relationship Type=\"x\" Target=\"worksheets/sheet1.xml\"/>")));
       }},
      {"sheet without relationship", [](const std::string& p) {
         writeZip(p, with(validBook(), "xl/_rels/workbook.xml.rels", workbookRels("")));
       }},
      {"sheet part missing", [](const std::string& p) { writeZip(p, without(validBook(), "xl/worksheets/sheet1.xml")); }},
      {"sheet target outside the package", [](const std::string& p) {
         auto book = validBook();
         book.emplace_back("../../outside.xml", sheetXml(""));
         writeZip(p, with(book, "xl/_rels/workbook.xml.rels", workbookRels(sheetRel("rId1", "../../outside.xml"))));
       }},
      {"external sheet target", [](const std::string& p) {
         writeZip(p, with(validBook(), "xl/_rels/workbook.xml.rels",
                          workbookRels("<Relationship Id=\"rId1\" Type=\"" + std::string(kRelTypeBase) +
                                       "worksheet\" Target=\"file:///etc/passwd\" TargetMode=\"External\"/>")));
       }},
      {"sheet without name", [&](const std::string& p) {
         writeZip(p, with(validBook(), "xl/workbook.xml",
                          "<workbook xmlns=\"" + bookXmlNs + "\" xmlns:r=\"r\"><sheets><sheet sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"));
       }},
      {"duplicate sheet names", [](const std::string& p) {
         writeZip(p, minimalWorkbook({{"Data", sheetXml("")}, {"DATA", sheetXml("")}}));
       }},
      {"shared strings missing", [](const std::string& p) {
         writeZip(p, without(minimalWorkbook({{"S", sheetXml("")}}, sharedStringsXml({"<t>a</t>"})), "xl/sharedStrings.xml"));
       }},
      {"broken shared strings", [](const std::string& p) {
         writeZip(p, minimalWorkbook({{"S", sheetXml("")}}, "<sst><si><t>a</si></sst>"));
       }},
      {"many sheets on one relationship", [&](const std::string& p) {
         std::string sheets;
         for (int i = 0; i < 20000; ++i) {
           sheets += "<sheet name=\"s" + std::to_string(i) + "\" sheetId=\"1\" r:id=\"rId1\"/>";
         }
         writeZip(p, with(validBook(), "xl/workbook.xml",
                          "<workbook xmlns=\"" + bookXmlNs + "\" xmlns:r=\"r\"><sheets>" + sheets + "</sheets></workbook>"));
       }},
      {"duplicate parts", [](const std::string& p) {
         auto book = validBook();
         book.emplace_back("XL/Workbook.xml", "<workbook/>");
         writeZip(p, book);
       }},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = dir.file("case" + std::to_string(++n) + ".xlsx");
    c.make(path);
    expectRefused([&] { Workbook::open(path); }, path, c.label);
  }
  // Nothing from an archive ever becomes a file.
  EXPECT_FALSE(std::filesystem::exists(dir.path().parent_path() / "outside.xml"));
  EXPECT_FALSE(std::filesystem::exists(dir.path().parent_path().parent_path() / "outside.xml"));
}

TEST(XlsxHostile, BrokenSheetData) {
  TempDir dir;
  struct Case {
    const char* label;
    std::string sheetData;
  };
  const Case cases[] = {
      {"row 0", "<row r=\"0\"/>"},
      {"row not a number", "<row r=\"abc\"/>"},
      {"row beyond the grid", "<row r=\"1048577\"/>"},
      {"cell A0", "<row r=\"1\"><c r=\"A0\"><v>1</v></c></row>"},
      {"cell ZZZZZ1", "<row r=\"1\"><c r=\"ZZZZZ1\"><v>1</v></c></row>"},
      {"cell XFE1", "<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>"},
      {"cell reference empty", "<row r=\"1\"><c r=\"\"><v>1</v></c></row>"},
      {"cell in another row", "<row r=\"1\"><c r=\"A2\"><v>1</v></c></row>"},
      {"shared string out of range", "<row><c t=\"s\"><v>1</v></c></row>"},
      {"shared string negative", "<row><c t=\"s\"><v>-1</v></c></row>"},
      {"shared string not a number", "<row><c t=\"s\"><v>x</v></c></row>"},
      {"number not a number", "<row><c><v>abc</v></c></row>"},
      {"number infinite", "<row><c><v>inf</v></c></row>"},
      {"number nan", "<row><c><v>nan</v></c></row>"},
      {"number overflow", "<row><c><v>1e999</v></c></row>"},
      {"number hexadecimal", "<row><c><v>0x10</v></c></row>"},
      {"boolean 2", "<row><c t=\"b\"><v>2</v></c></row>"},
      {"unknown type", "<row><c t=\"q\"><v>1</v></c></row>"},
      {"malformed XML", "<row><c><v>1</v></row>"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = dir.file("case" + std::to_string(++n) + ".xlsx");
    writeZip(path, minimalWorkbook({{"S", sheetXml(c.sheetData)}}, sharedStringsXml({"<t>only</t>"})));
    const Workbook wb = Workbook::open(path);
    expectRefused([&] { wb.rows("S"); }, path, c.label);
  }
}

TEST(XlsxHostile, GridLimits) {
  TempDir dir;
  // Cells without references running past column XFD.
  std::string wide = "<row>";
  for (int i = 0; i < 16385; ++i) wide += "<c><v>1</v></c>";
  wide += "</row>";
  // Rows without numbers running past row 1048576.
  std::string tall;
  tall.reserve(1048577 * 6);
  for (int i = 0; i < 1048577; ++i) tall += "<row/>";
  // A sparse sheet whose rows, padded from column A, add up to too many cells.
  std::string sparse;
  for (int r = 1; r <= 70; ++r) sparse += "<row r=\"" + std::to_string(r) + "\"><c r=\"XFD" + std::to_string(r) + "\"><v>1</v></c></row>";

  int n = 0;
  for (const std::string* data : {&wide, &tall, &sparse}) {
    const std::string path = dir.file("grid" + std::to_string(++n) + ".xlsx");
    writeZip(path, minimalWorkbook({{"S", sheetXml(*data)}}));
    const Workbook wb = Workbook::open(path);
    expectRefused([&] { wb.rows("S"); }, path, "grid " + std::to_string(n));
  }

  // The last row of the grid is fine, and only as many rows as needed are made.
  const std::string path = dir.file("last.xlsx");
  writeZip(path, minimalWorkbook({{"S", sheetXml("<row r=\"1048576\"><c r=\"B1048576\"><v>9</v></c></row>")}}));
  const auto rows = Workbook::open(path).rows("S");
  ASSERT_EQ(rows.size(), 1048576u);
  EXPECT_TRUE(rows[0].empty());
  EXPECT_EQ(rows.back().size(), 2u);
}

TEST(XlsxHostile, SizeLimits) {
  TempDir dir;
  const std::string path = dir.file("limits.xlsx");
  auto book = validBook();
  book.emplace_back("xl/media/big.bin", std::string(5000, 'x'));
  writeZip(path, book);
  ASSERT_NO_THROW(Workbook::open(path));

  Limits entry;
  entry.maxEntrySize = 4000;
  expectRefused([&] { Workbook::open(path, entry); }, path, "entry size");
  Limits total;
  total.maxTotalSize = 5500;
  expectRefused([&] { Workbook::open(path, total); }, path, "total size");
  Limits entries;
  entries.maxEntries = 5;
  expectRefused([&] { Workbook::open(path, entries); }, path, "entry count");
  Limits file;
  file.maxFileSize = 500;
  expectRefused([&] { Workbook::open(path, file); }, path, "file size");

  const std::string cellsPath = dir.file("cells.xlsx");
  writeZip(cellsPath, minimalWorkbook({{"S", sheetXml("<row><c/><c/><c/><c/></row>")}}));
  Limits cells;
  cells.maxCellsPerSheet = 3;
  const Workbook wb = Workbook::open(cellsPath, cells);
  expectRefused([&] { wb.rows("S"); }, cellsPath, "cell count");
}

TEST(XlsxHostile, EntryAboveTheDefaultLimitIsRefusedBeforeReading) {
  TempDir dir;
  const std::string path = dir.file("bomb.xlsx");
  auto book = validBook();
  book.emplace_back("xl/worksheets/sheet1.xml", std::string((64u << 20) + 1, ' '));  // compresses to little
  book.erase(book.begin() + 4);  // drop the small sheet part of the same name
  writeZip(path, book);
  ASSERT_LT(std::filesystem::file_size(path), 1u << 20);
  expectRefused([&] { Workbook::open(path); }, path, "64 MiB entry");
}

TEST(XlsxHostile, ArchiveLyingAboutAnEntrySize) {
  TempDir dir;
  const std::string path = dir.file("liar.xlsx");
  writeZip(path, validBook(), /*store=*/true);
  std::string bytes = readFile(path);
  // Shrink the stated uncompressed size of the sheet part in the central directory.
  const std::string name = "xl/worksheets/sheet1.xml";
  std::size_t pos = 0;
  bool patched = false;
  while ((pos = bytes.find("PK\x01\x02", pos)) != std::string::npos) {
    const auto nameLength = static_cast<unsigned char>(bytes[pos + 28]) | (static_cast<unsigned char>(bytes[pos + 29]) << 8);
    if (bytes.compare(pos + 46, nameLength, name) == 0) {
      bytes[pos + 24] = static_cast<char>(static_cast<unsigned char>(bytes[pos + 24]) - 10);
      patched = true;
    }
    pos += 4;
  }
  ASSERT_TRUE(patched);
  writeFile(path, bytes);
  expectRefused([&] { Workbook::open(path); }, path, "lying size");
}

TEST(XlsxHostile, DeepNestingAndEntityDeclarations) {
  TempDir dir;
  std::string deep = "<row><c><v>1</v>";
  for (int i = 0; i < 200000; ++i) deep += "<a>";
  for (int i = 0; i < 200000; ++i) deep += "</a>";
  deep += "</c></row>";
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE sst [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><sst xmlns=\"" +
      std::string(tovakin::testing::kSpreadsheetNs) + "\"><si><t>&c;</t></si></sst>";
  const std::string path = dir.file("deep.xlsx");
  writeZip(path, minimalWorkbook({{"S", sheetXml(deep + "<row><c t=\"s\"><v>0</v></c></row>")}}, laughs));
  try {
    const auto rows = Workbook::open(path).rows("S");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].number, 1);
    EXPECT_LT(rows[1][0].text.size(), 100u);  // entities are never expanded
  } catch (const Error&) {
    // refusing is as good as reading
  }
}

}  // namespace
}  // namespace tovakin::platform::xlsx

namespace tovakin::platform::xlsx {
namespace {

// Random damage to the XML parts of a workbook: the reader either reads it or raises
// xlsx::Error; any other exception or a crash is a fault.
TEST(XlsxHostile, RandomCorruptionIsReadOrRefused) {
  TempDir dir;
  const ZipEntries base = minimalWorkbook(
      {{"S", sheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>x</t></is></c></row>"
                      "<row r=\"3\"><c r=\"C3\"><v>2.5</v></c><c t=\"b\"><v>1</v></c><c t=\"e\"><v>#N/A</v></c></row>")},
       {"T", sheetXml("<row><c t=\"str\"><f>A1</f><v>_x0041_</v></c></row>")}},
      sharedStringsXml({"<r><t>管</t></r><r><t>種</t></r>"}));
  std::uint32_t seed = 12345;
  const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  const char noise[] = "<>/\"'=&;:_x0 \n9AZ";
  for (int i = 0; i < 400; ++i) {
    ZipEntries book = base;
    auto& part = book[2 + next() % (book.size() - 2)].second;  // workbook, its rels, a sheet or the strings
    const int edits = 1 + static_cast<int>(next() % 4);
    for (int k = 0; k < edits && !part.empty(); ++k) {
      const std::size_t at = next() % part.size();
      switch (next() % 3) {
        case 0: part[at] = noise[next() % (sizeof(noise) - 1)]; break;
        case 1: part.erase(at, 1 + next() % 8); break;
        case 2: part.insert(at, 1, noise[next() % (sizeof(noise) - 1)]); break;
      }
    }
    const std::string path = dir.file("fuzz.xlsx");
    writeZip(path, book);
    try {
      const Workbook wb = Workbook::open(path);
      for (const auto& name : wb.sheetNames()) {
        try {
          (void)wb.rows(name);
        } catch (const Error&) {
        }
      }
    } catch (const Error&) {
    }
  }
}

}  // namespace
}  // namespace tovakin::platform::xlsx
