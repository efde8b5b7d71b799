// The report book over real .xlsx files: the error numbers the report writer relies on, its cell
// conventions through the file format, and a check that the spreadsheet program opens what we
// write (only where LibreOffice is installed; it is no dependency of the project).
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>

#include "app/app_state.h"
#include "platform/error_box.h"
#include "support/scripted_dialogs.h"
#include "platform/xlsx.h"
#include "platform/xlsx_edit.h"
#include "platform/xlsx_model.h"
#include "report/xlsx_report_book.h"
#include "report/cell_conventions.h"
#include "report/report_book.h"
#include "report/report_fixture.h"
#include "report/report_writer.h"
#include "report/sheet_plan.h"
#include "support/scripted_error_box.h"
#include "support/xlsx_test_util.h"

namespace tovakin::report {
namespace {

using testing::readFile;
using testing::runXlsxgen;
using testing::shellQuote;
using testing::TempDir;
using testing::writeFile;

// A three-sheet workbook from xlsxgen with a defined name on the second sheet.
std::string generatedBook(const TempDir& dir, const std::string& name = "book.xlsx") {
  writeFile(dir.file("a.tsv"), "見出し\tvalue\n1\t2\n");
  const std::string path = dir.file(name);
  EXPECT_EQ(runXlsxgen({path, "表紙=" + dir.file("a.tsv"), "設計条件=" + dir.file("a.tsv"),
                        "不要=" + dir.file("a.tsv")}),
            0);
  testing::ZipEntries entries;
  {
    const auto package = xlsx::detail::Package::read(readFile(path), xlsx::Limits{}, path);
    for (const auto& e : package.entries()) entries.emplace_back(e.name, e.data);
  }
  for (auto& [n, bytes] : entries) {
    if (n == "xl/workbook.xml") {
      bytes.insert(bytes.find("<calcPr"),
                   "<definedNames><definedName name=\"管種類\" localSheetId=\"1\">'設計条件'!$C$4</definedName>"
                   "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"2\">'不要'!$A$1:$D$9</definedName>"
                   "</definedNames>");
    }
  }
  testing::writeZip(path, entries);
  return path;
}

// The error number a call raises, 0 when it raises none.
int errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

TEST(XlsxReportBook, FailuresCarryTheNumbersTheWriterExpects) {
  TempDir dir;
  auto book = openXlsxReportBook(generatedBook(dir), report::kTemplatePassword);
  struct Case {
    const char* label;
    std::function<void()> call;
    int number;
  };
  const Case cases[] = {
      {"write, unknown sheet", [&] { book->writeCell("無い", "A1", "x"); }, err::kOutOfRange},
      {"text, unknown sheet", [&] { book->cellText("無い", "A1"); }, err::kOutOfRange},
      {"select, unknown sheet", [&] { book->selectSheet("無い"); }, err::kOutOfRange},
      {"delete, unknown sheet", [&] { book->deleteSheet("無い"); }, err::kOutOfRange},
      {"rename, unknown sheet", [&] { book->renameSheet("無い", "x"); }, err::kOutOfRange},
      {"bad address", [&] { book->writeCell("表紙", "A0", "x"); }, err::kApplication},
      {"unknown name", [&] { book->writeCell("表紙", "呼び径", "x"); }, err::kApplication},
      {"name on another sheet", [&] { book->writeCell("表紙", "管種類", "x"); }, err::kApplication},
      {"superscript, bad address", [&] { book->setSuperscript("表紙", "ZZZZ1", 1, 1); }, err::kApplication},
      {"select cell, bad address", [&] { book->selectCell("表紙", ""); }, err::kApplication},
      {"rename onto a sheet", [&] { book->renameSheet("不要", "表紙"); }, err::kApplication},
      {"rename to a bad name", [&] { book->renameSheet("不要", "a/b"); }, err::kApplication},
      {"save into no folder", [&] { book->saveAs(dir.file("none/x.xlsx")); }, err::kPathNotFound},
      {"name on its sheet", [&] { book->writeCell("設計条件", "管種類", "x"); }, 0},
      {"cell reference", [&] { book->writeCell("表紙", "$AA$30", "x"); }, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(errorOf(c.call), c.number) << c.label;

  EXPECT_TRUE(book->hasName("設計条件", "管種類"));
  EXPECT_FALSE(book->hasName("表紙", "管種類"));
  EXPECT_EQ(errorOf([&] { book->deleteSheet("不要"); }), 0);
  EXPECT_EQ(errorOf([&] { book->deleteSheet("設計条件"); }), 0);
  EXPECT_EQ(errorOf([&] { book->deleteSheet("表紙"); }), err::kApplication);  // the last sheet
  EXPECT_EQ(book->sheetNames(), (std::vector<std::string>{"表紙"}));

  EXPECT_EQ(errorOf([&] { openXlsxReportBook(dir.file("missing.xlsx"), ""); }), err::kFileNotFound);
  writeFile(dir.file("text.xlsx"), "no workbook");
  EXPECT_EQ(errorOf([&] { openXlsxReportBook(dir.file("text.xlsx"), ""); }), err::kApplication);
}

TEST(XlsxReportBook, TheWritersConventionsSurviveTheFile) {
  TempDir dir;
  XlsxReportTemplateOpener opener;
  const auto installed = report::installReportTemplateOpener(opener);
  auto book = report::openReportTemplate(generatedBook(dir), report::kTemplatePassword);

  book->writeCell("表紙", "B3", "'0150");      // a number text the user typed: kept as typed
  book->writeCell("表紙", "B4", "'");          // only the mark
  book->writeCell("表紙", "B5", "''quoted");   // the second one is text
  book->writeCell("設計条件", "管種類", "ダクタイル鋳鉄管");
  book->writeCell("表紙", "C6", "Ｗ＝π×Ｒ^2＋ｍ^3");
  report::JyoCharEdit(*book, "表紙", "C6");
  EXPECT_EQ(book->cellText("表紙", "B3"), "0150");
  EXPECT_EQ(book->cellText("表紙", "C6"), "Ｗ＝π×Ｒ2＋ｍ3");
  book->renameSheet("設計条件", "条件 1");
  const std::string out = dir.file("report.xlsx");
  book->saveAs(out);

  const auto wb = xlsx::Workbook::open(out);
  const auto rows = wb.rows("表紙");
  EXPECT_EQ(rows[2][1].text, "0150");
  EXPECT_EQ(rows[2][1].type, xlsx::CellValue::Type::Text);
  EXPECT_TRUE(rows[3].size() < 2 || rows[3][1].empty());
  EXPECT_EQ(rows[4][1].text, "'quoted");
  EXPECT_EQ(wb.rows("条件 1")[3][2].text, "ダクタイル鋳鉄管");

  auto again = xlsx::EditableWorkbook::open(out);
  EXPECT_EQ(again.superscriptPositions("表紙", "C6"), (std::vector<int>{6, 9}));
  EXPECT_TRUE(again.hasName("条件 1", "管種類"));  // the name followed the rename
}

// The superscript pass and the workbook count the characters of broken bytes alike: "\xE3" "AB"
// is U+FFFD, A, B in both, so the marker raises the "2" and not the "A".
TEST(XlsxReportBook, SuperscriptPassAndWorkbookAgreeOnBrokenBytes) {
  TempDir dir;
  const std::string path = generatedBook(dir);
  auto book = openXlsxReportBook(path, report::kTemplatePassword);
  book->writeCell("表紙", "C6", "\xE3" "AB^2");
  report::JyoCharEdit(*book, "表紙", "C6");
  book->saveAs(path);
  auto again = xlsx::EditableWorkbook::open(path);
  EXPECT_EQ(again.cellText("表紙", "C6"), "\xEF\xBF\xBD" "AB2");
  EXPECT_EQ(again.superscriptPositions("表紙", "C6"), (std::vector<int>{4}));
  EXPECT_EQ(report::utf16Units("\xE3" "AB2"), 4u);
}

// ---- the spreadsheet program's view ----------------------------------------------------------

bool haveSoffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

// Converts the workbook headless into `format` in `dir`; the converted file's path ("" when
// LibreOffice could not open or convert it).
std::string convert(const TempDir& dir, const std::string& workbook, const std::string& format,
                    const std::string& extension) {
  const std::string profile = "file://" + dir.file("lo-profile");
  const std::string command = "timeout 180 soffice -env:UserInstallation=" + shellQuote(profile) +
                              " --headless --norestore --convert-to " + shellQuote(format) + " --outdir " +
                              shellQuote(dir.path().string()) + " " + shellQuote(workbook) + " >" +
                              shellQuote(dir.file("soffice.log")) + " 2>&1";
  if (std::system(command.c_str()) != 0) return {};
  const std::string out =
      (dir.path() / (std::filesystem::path(workbook).stem().string() + "." + extension)).string();
  return std::filesystem::exists(out) && std::filesystem::file_size(out) > 0 ? out : std::string();
}

// The test command installs LibreOffice; without it these checks fail rather than pass unseen.
TEST(XlsxReportBookInLibreOffice, AWrittenWorkbookOpens) {
  ASSERT_TRUE(haveSoffice()) << "LibreOffice (soffice) is not installed";
  TempDir dir;
  auto book = openXlsxReportBook(generatedBook(dir), report::kTemplatePassword);
  book->writeCell("表紙", "A1", "計算書 No.1");
  book->writeCell("表紙", "B2", "'00150");
  book->writeCell("表紙", "C3", "1e3");
  book->writeCell("表紙", "D4", std::string("ctl\x01|_x0041_|", 13));
  book->writeCell("表紙", "E5", "ＷＲ^2");
  report::JyoCharEdit(*book, "表紙", "E5");
  book->writeCell("表紙", "A2", "");
  book->writeCell("設計条件", "管種類", "鋼管");
  book->deleteSheet("不要");
  book->renameSheet("設計条件", "設計 条件");
  book->selectSheet("表紙");
  book->selectCell("表紙", "A1");
  const std::string out = dir.file("written.xlsx");
  book->saveAs(out);

  const std::string csv = convert(dir, out, "csv:Text - txt - csv (StarCalc):44,34,76", "csv");
  ASSERT_FALSE(csv.empty()) << readFile(dir.file("soffice.log"));
  const std::string text = readFile(csv);
  for (const char* expected : {"計算書 No.1", "00150", "1e3", "|_x0041_|", "ＷＲ2"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
  }
  EXPECT_EQ(text.find("'00150"), std::string::npos);
  EXPECT_EQ(text.find("見出し"), std::string::npos) << "A1 was overwritten";
  EXPECT_FALSE(convert(dir, out, "pdf", "pdf").empty()) << readFile(dir.file("soffice.log"));
}

// ---- the saved package ---------------------------------------------------------------------

// "2026-03-05T01:02:03Z" as a time; the epoch for anything else.
std::chrono::sys_seconds w3cdtf(const std::string& text) {
  using namespace std::chrono;
  int y = 0;
  unsigned mo = 0, d = 0, h = 0, mi = 0, se = 0;
  char z = 0;
  if (text.size() != 20 ||
      std::sscanf(text.c_str(), "%4d-%2u-%2uT%2u:%2u:%2u%c", &y, &mo, &d, &h, &mi, &se, &z) != 7 || z != 'Z')
    return {};
  return sys_days{year{y} / month{mo} / day{d}} + hours{h} + minutes{mi} + seconds{se};
}

// What a written report says about itself: every sheet marks its numbers stored as text, where
// the worksheet schema orders the mark; the shared strings are those the sheets use, with their
// counts; the document properties give the title, the program and the save time.
void expectReportPackage(const std::string& path, const std::string& title, std::chrono::sys_seconds from,
                         std::chrono::sys_seconds to) {
  static const std::set<std::string> kBefore = {
      "sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData", "sheetCalcPr",
      "sheetProtection", "protectedRanges", "scenarios", "autoFilter", "sortState", "dataConsolidate",
      "customSheetViews", "mergeCells", "phoneticPr", "conditionalFormatting", "dataValidations", "hyperlinks",
      "printOptions", "pageMargins", "pageSetup", "headerFooter", "rowBreaks", "colBreaks", "customProperties",
      "cellWatches"};
  const auto model = xlsx::detail::Model::load(path, xlsx::Limits{});
  const auto part = [&](const std::string& name) {
    auto doc = std::make_unique<pugi::xml_document>();
    EXPECT_TRUE(doc->load_string(model->package.find(name)->c_str())) << name;
    return doc;
  };
  std::set<std::string> used;  // shared strings the cells show
  std::size_t references = 0;
  for (const auto& sheet : model->sheets) {
    const auto doc = part(sheet.part);
    EXPECT_EQ(doc->select_nodes("/worksheet/ignoredErrors/ignoredError[@numberStoredAsText='1']").size(), 1u)
        << sheet.name;
    bool before = true;
    for (pugi::xml_node c : doc->document_element().children()) {
      if (std::string_view(c.name()) == "ignoredErrors") before = false;
      else EXPECT_EQ(kBefore.count(c.name()), before ? 1u : 0u) << sheet.name << ": " << c.name();
    }
    for (const pugi::xpath_node& v : doc->select_nodes("//c[@t='s']/v")) used.insert(v.node().child_value());
    references += doc->select_nodes("//c[@t='s']").size();
  }
  const auto sst = part(model->sharedStringsPart);
  const std::size_t items = sst->select_nodes("/sst/si").size();
  EXPECT_EQ(used.size(), items) << "a shared string no sheet uses";
  EXPECT_EQ(sst->document_element().attribute("count").as_ullong(), references);
  EXPECT_EQ(sst->document_element().attribute("uniqueCount").as_ullong(), items);

  const auto core = part("docProps/core.xml");
  EXPECT_EQ(core->select_node("//dc:title").node().child_value(), title);
  for (const char* when : {"//dcterms:created", "//dcterms:modified"}) {
    const pugi::xml_node n = core->select_node(when).node();
    EXPECT_STREQ(n.attribute("xsi:type").value(), "dcterms:W3CDTF") << when;
    EXPECT_TRUE(w3cdtf(n.child_value()) >= from && w3cdtf(n.child_value()) <= to) << when << " " << n.child_value();
  }
  const auto app = part("docProps/app.xml");
  EXPECT_STREQ(app->select_node("/Properties/Application").node().child_value(), "Tovakin");
}

// The whole writer on the shipped template.
TEST(XlsxReportBookInLibreOffice, TheShippedTemplateBecomesAReport) {
  const std::string templatePath = std::string(TOVAKIN_APPDIR) + "/DATABASE/QXWork.xlsx";
  {
    auto probe = openXlsxReportBook(templatePath, report::kTemplatePassword);
    ASSERT_NO_THROW(report::checkReportTemplate(*probe));
  }
  TempDir dir;
  const AppState saved = g_app;
  g_app.g_templatePath = templatePath;
  XlsxReportTemplateOpener opener;
  const auto installed = report::installReportTemplateOpener(opener);
  testing::ScriptedErrorBox errors(ErrorAnswer::Abort);
  testing::ScriptedCommonDialog dialog;
  dialog.FileName = dir.file("report.xlsx");
  const testing::ReportCase c = testing::largestCase();
  bool written = false;
  const auto from = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  EXPECT_NO_THROW(written = report::subExcelSheetCreate(c.design, c.result, dialog));
  const auto to = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  g_app = saved;
  ASSERT_TRUE(written);
  EXPECT_TRUE(errors.shown.empty()) << errors.shown.front();

  const auto report = xlsx::Workbook::open(dir.file("report.xlsx"));
  EXPECT_EQ(report.sheetNames(), report::computeSheetPlan(c.design, c.result).resultNames());
  expectReportPackage(dir.file("report.xlsx"), "○○地区 幹線水路", from, to);
  ASSERT_TRUE(haveSoffice()) << "LibreOffice (soffice) is not installed";
  EXPECT_FALSE(convert(dir, dir.file("report.xlsx"), "pdf", "pdf").empty()) << readFile(dir.file("soffice.log"));
}

}  // namespace
}  // namespace tovakin::report
