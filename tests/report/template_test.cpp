// The report template as the build generates it, and the sheet descriptions it is made from.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "platform/xlsx.h"
#include "platform/xlsx_styles.h"
#include "report/report_slots.h"
#include "report/sheet_plan.h"
#include "support/xlsx_test_util.h"

namespace tovakin::report {
namespace {

using tovakin::testing::readFile;
using tovakin::testing::runXlsxgen;
using tovakin::testing::TempDir;
using tovakin::testing::writeFile;
using xlsx::CellLook;
using xlsx::WorkbookLooks;

const std::string kTemplate = TOVAKIN_APPDIR "/DATABASE/QXWork.xlsx";

const WorkbookLooks& templateLooks() {
  static const WorkbookLooks looks = WorkbookLooks::open(kTemplate);
  return looks;
}

// Workbook-wide and sheet-local names as (name -> (sheet, cell)), print areas left out.
struct NamedCell {
  std::string sheet;
  std::string cell;
  int localSheet;
};
std::multimap<std::string, NamedCell> namedCells() {
  std::multimap<std::string, NamedCell> out;
  for (const auto& n : templateLooks().definedNames()) {
    if (n.name.rfind("_xlnm.", 0) == 0) continue;
    std::string sheet;
    xlsx::CellRef ref;
    EXPECT_TRUE(xlsx::parseSheetCell(n.refersTo, sheet, ref)) << n.name << " refers to " << n.refersTo;
    out.emplace(n.name, NamedCell{sheet, xlsx::formatCellRef(ref), n.localSheet});
  }
  return out;
}

// The cell a slot's address stands for on its sheet.
std::string slotCell(const Slot& slot) {
  if (isCellReference(slot.address)) {
    std::string a(slot.address);
    a.erase(std::remove(a.begin(), a.end(), '$'), a.end());
    return a;
  }
  const auto names = namedCells();
  const auto found = names.find(std::string(slot.address));
  return found == names.end() ? "" : found->second.cell;
}

TEST(ReportTemplate, HoldsTheThirtySheetsInTableOrder) {
  const auto& table = sheetNameTable();
  const std::vector<std::string> expected(table.begin(), table.end());
  EXPECT_EQ(templateLooks().sheetNames(), expected);
  // The reader the rest of the program uses sees the same.
  EXPECT_EQ(xlsx::Workbook::open(kTemplate).sheetNames(), expected);
}

TEST(ReportTemplate, DefinesExactlyTheNamesTheWritersUseOnTheirSheets) {
  const auto names = namedCells();
  std::set<std::string> required;
  for (const auto& [entry, name] : requiredDefinedNames()) {
    required.insert(name);
    ASSERT_EQ(names.count(name), 1u) << name;
    const NamedCell& n = names.find(name)->second;
    EXPECT_EQ(n.sheet, sheetName(entry)) << name;
    if (n.localSheet >= 0) {
      EXPECT_EQ(n.localSheet, entry) << name;
    }
  }
  EXPECT_EQ(required.size(), 28u);
  for (const auto& [name, cell] : names) EXPECT_TRUE(required.count(name)) << "unexpected name " << name;

  // No two names share a cell: a copied line in a description would write two values into one.
  std::set<std::pair<std::string, std::string>> cells;
  for (const auto& [name, cell] : names) EXPECT_TRUE(cells.insert({cell.sheet, cell.cell}).second) << name;
}

TEST(ReportTemplate, EverySheetPrintsItsOwnArea) {
  std::set<int> withArea;
  for (const auto& n : templateLooks().definedNames()) {
    if (n.name != "_xlnm.Print_Area") continue;
    ASSERT_GE(n.localSheet, 0);
    ASSERT_LT(n.localSheet, kTemplateSheetCount);
    EXPECT_TRUE(withArea.insert(n.localSheet).second);
    const std::string prefix = "'" + sheetName(n.localSheet) + "'!";
    EXPECT_EQ(n.refersTo.rfind(prefix, 0), 0u) << n.refersTo;
  }
  EXPECT_EQ(withArea.size(), static_cast<std::size_t>(kTemplateSheetCount));
}

TEST(ReportTemplate, EverySlotIsAFreePreStyledCell) {
  const auto& looks = templateLooks();
  const double base = looks.cell(sheetName(entry::k設計条件), "D4").fontSize;  // a label of the table
  ASSERT_GT(base, 0);
  for (const Slot& slot : reportSlots()) {
    const std::string sheet = sheetName(slot.entry);
    const std::string cell = slotCell(slot);
    SCOPED_TRACE(sheet + " " + std::string(slot.address) + " (" + cell + ")");
    ASSERT_FALSE(cell.empty());
    const CellLook look = looks.cell(sheet, cell);
    EXPECT_TRUE(look.present);
    EXPECT_TRUE(look.styled);
    // The writer addresses the first cell of a merged range, never a cell hidden inside one.
    if (!look.mergedRange.empty()) {
      EXPECT_TRUE(look.mergeAnchor) << look.mergedRange;
    }
    // Free to receive text; the trench width's unit is the one slot with a default the writer
    // empties for a projecting burial.
    if (!(slot.entry == entry::k設計条件 && slot.address == "AC17")) {
      EXPECT_EQ(look.text, "");
    }
    switch (slot.kind) {
      case SlotKind::Title:
        EXPECT_TRUE(look.bold);
        EXPECT_GT(look.fontSize, base);
        EXPECT_GE(look.columnSpan, 10);  // room for the longest section title
        break;
      case SlotKind::Heading:
        EXPECT_TRUE(look.bold);
        EXPECT_TRUE(look.horizontal == "" || look.horizontal == "left");
        break;
      case SlotKind::Value:
        EXPECT_EQ(look.horizontal, "right");
        break;
      case SlotKind::Text:
        EXPECT_EQ(look.horizontal, "left");
        break;
      case SlotKind::Formula:
        EXPECT_EQ(look.horizontal, "left");
        EXPECT_TRUE(look.shrinkToFit);  // a long case never runs into the next cell
        EXPECT_GE(look.columnSpan, 4);
        break;
    }
  }
}

TEST(ReportTemplate, UnitsCarryRaisedDigitsAndTheFontIsJapanese) {
  const auto& looks = templateLooks();
  const CellLook unit = looks.cell("設計条件", "AC12");  // unit of the pipe material's unit weight
  EXPECT_EQ(unit.text, "kN/m3");
  ASSERT_EQ(unit.runs.size(), 2u);
  EXPECT_FALSE(unit.runs[0].superscript);
  EXPECT_EQ(unit.runs[1].text, "3");
  EXPECT_TRUE(unit.runs[1].superscript);
  EXPECT_EQ(looks.cell("表紙", "E9").fontName, "ＭＳ 明朝");
  EXPECT_EQ(looks.cell("設計条件", "AC17").text, "m");
}

// ---- the sheet description format, through the tool --------------------------------------------

struct Generated {
  int status = 0;
  std::string errors;
};

Generated generate(const TempDir& dir, const std::string& description, const std::string& sheet = "S") {
  writeFile(dir.file("s.sheet"), description);
  Generated g;
  g.status = runXlsxgen({dir.file("out.xlsx"), sheet + "=" + dir.file("s.sheet")}, dir.file("err.txt"));
  g.errors = readFile(dir.file("err.txt"));
  return g;
}

TEST(SheetDescription, LaysOutCellsMergesRichTextAndNames) {
  TempDir dir;
  const Generated g = generate(dir,
                               "# a comment\n"
                               "sheet 計算\n"
                               "font \"ＭＳ 明朝\" 10.5\r\n"
                               "page a4 portrait\n"
                               "margins 20 15 20\n"
                               "fit 1 0\n"
                               "print A1:AD30\n"
                               "width C:AD 2.5\n"
                               "height default 18\n"
                               "style big title size=16\n"
                               "style framed value border-bottom=double\n"
                               "C1:AD1  big\n"
                               "G5:J5   framed\n"
                               "K5:L5   unit  kN/m^2\n"
                               "E7      text  \"  γ_{sat} ^^ __ \"\n"
                               "E8:F9   center+bold 中\n"
                               "border  D10:F11 box medium\n"
                               "name    土かぶり G5\n",
                               "計算");
  ASSERT_EQ(g.status, 0) << g.errors;
  const WorkbookLooks looks = WorkbookLooks::open(dir.file("out.xlsx"));
  EXPECT_EQ(looks.sheetNames(), std::vector<std::string>{"計算"});

  const CellLook title = looks.cell("計算", "C1");
  EXPECT_TRUE(title.bold);
  EXPECT_EQ(title.fontSize, 16);  // the later property wins
  EXPECT_EQ(title.mergedRange, "C1:AD1");
  EXPECT_TRUE(title.mergeAnchor);
  EXPECT_EQ(title.columnSpan, 28);
  EXPECT_FALSE(looks.cell("計算", "D1").mergeAnchor);

  const CellLook value = looks.cell("計算", "G5");
  EXPECT_TRUE(value.styled);
  EXPECT_EQ(value.text, "");
  EXPECT_EQ(value.horizontal, "right");
  EXPECT_EQ(value.borderBottom, "double");
  EXPECT_EQ(looks.cell("計算", "J5").borderBottom, "double");  // every cell of the merge

  const CellLook unit = looks.cell("計算", "K5");
  ASSERT_EQ(unit.runs.size(), 2u);
  EXPECT_EQ(unit.runs[0].text, "kN/m");
  EXPECT_EQ(unit.runs[1].text, "2");
  EXPECT_TRUE(unit.runs[1].superscript);
  EXPECT_EQ(unit.indent, 1);

  const CellLook quoted = looks.cell("計算", "E7");
  EXPECT_EQ(quoted.text, "  γsat ^ _ ");  // quotes keep the blanks; ^^ and __ are the characters
  ASSERT_EQ(quoted.runs.size(), 3u);
  EXPECT_EQ(quoted.runs[1].text, "sat");
  EXPECT_TRUE(quoted.runs[1].subscript);

  const CellLook both = looks.cell("計算", "E8");
  EXPECT_EQ(both.horizontal, "center");
  EXPECT_TRUE(both.bold);
  EXPECT_EQ(both.mergedRange, "E8:F9");

  // A box: outer edges only, on cells that hold nothing.
  EXPECT_EQ(looks.cell("計算", "D10").borderTop, "medium");
  EXPECT_EQ(looks.cell("計算", "D10").borderLeft, "medium");
  EXPECT_EQ(looks.cell("計算", "D10").borderRight, "");
  EXPECT_EQ(looks.cell("計算", "F11").borderRight, "medium");
  EXPECT_EQ(looks.cell("計算", "E10").borderBottom, "");
  EXPECT_TRUE(looks.cell("計算", "E11").styled);
  EXPECT_FALSE(looks.cell("計算", "E12").present);

  std::map<std::string, std::string> names;
  for (const auto& n : looks.definedNames()) names[n.name] = n.refersTo;
  EXPECT_EQ(names["土かぶり"], "'計算'!$G$5");
  EXPECT_EQ(names["_xlnm.Print_Area"], "'計算'!$A$1:$AD$30");
}

TEST(SheetDescription, RefusesMalformedDescriptionsNamingTheLine) {
  const std::string head = "sheet S\n";
  struct Case {
    std::string text;
    std::string message;  // part of the error
  };
  const std::vector<Case> cases = {
      {"", "empty description"},
      {"font x 10\n", "must start with \"sheet S\""},
      {"sheet T\n", "for sheet \"T\""},
      {head + "sheet S\n", ":2: \"sheet\" given twice"},
      {head + "colour red\n", ":2: unknown statement"},
      {head + "C1\n", ":2: cell C1 needs a style"},
      {head + "C1 fancy\n", ":2: unknown style property or style \"fancy\""},
      {head + "c1 text\n", ":2: unknown statement"},
      {head + "C0 text\n", ":2: \"C0\" is not a cell"},
      {head + "D1:C1 text\n", ":2: \"D1:C1\" is not a cell"},
      {head + "XFE1 text\n", ":2: \"XFE1\" is not a cell"},
      {head + "C1:D2 text\nD2 value\n", ":3: cell D2 overlaps C1 defined on line 2"},
      {head + "C1 text a^\n", ":2: \"^\" at the end"},
      {head + "C1 text a_{b\n", ":2: \"_{\" without \"}\""},
      {head + "C1 text a^{}\n", ":2: empty \"^{}\""},
      {head + "C1 text ^2\n", ":2: the whole text of cell C1 is raised"},
      {head + "C1 text \"abc\n", ":2: unterminated quote"},
      {head + "C1 text a\tb\n", ":2: tab inside a text"},
      {head + "C1 text a\x01\n", ":2: control character"},
      {head + "C1 text \xC3\x28\n", "not valid UTF-8"},
      {head + "style Bad bold\n", ":2: style name \"Bad\""},
      {head + "style x size=big\n", ":2: \"big\" is not a valid font size"},
      {head + "style x glow\n", ":2: unknown style property or style \"glow\""},
      {head + "style x border=wavy\n", ":2: unknown line \"wavy\""},
      {head + "style x bold=1\n", ":2: style property \"bold\" takes no value"},
      {head + "style x align=up\n", ":2: unknown alignment"},
      {head + "width C:AD\n", ":2: expected width COLUMNS WIDTH"},
      {head + "width AD:C 2\n", ":2: \"AD:C\" is not a column"},
      {head + "height 3 500\n", ":2: \"500\" is not a valid row height"},
      {head + "page a9\n", ":2: unknown paper"},
      {head + "margins 10 10 10 10 5\n", ":2: give both the header and the footer"},
      {head + "fit 1\n", ":2: expected fit WIDE TALL"},
      {head + "border C1:D2 around thin\n", ":2: unknown edges"},
      {head + "name 1st C1\nC1 text\n", ":2: defined name \"1st\" must start"},
      {head + "name AB12 C1\nC1 text\n", ":2: defined name \"AB12\" reads as a cell"},
      {head + "name a-b C1\nC1 text\n", ":2: defined name \"a-b\" holds \"-\""},
      {head + "name n C1\nname n C2\nC1 text\n", ":3: defined name \"n\" given twice"},
      {head + "name n D1\nC1:D1 text\n", ":2: defined name \"n\" is on D1, which is not a cell defined"},
      {head + "font x 10\n", ""},  // valid so far: the next case shows order matters
      {head + "C1 text\nfont x 10\n", ":3: \"font\" must come before the cells"},
  };
  for (const auto& c : cases) {
    TempDir dir;
    writeFile(dir.file("out.xlsx"), "previous");
    const Generated g = generate(dir, c.text);
    if (c.message.empty()) {
      EXPECT_EQ(g.status, 0) << g.errors;
      continue;
    }
    EXPECT_NE(g.status, 0) << c.text;
    EXPECT_NE(g.errors.find("s.sheet"), std::string::npos) << g.errors;
    EXPECT_NE(g.errors.find(c.message), std::string::npos) << "expected \"" << c.message << "\" in: " << g.errors;
    EXPECT_TRUE(readFile(dir.file("out.xlsx")) == "previous") << "output replaced for: " << c.text;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.xlsx.tmp")));
  }
}

TEST(SheetDescription, RefusesANameDefinedOnTwoSheets) {
  TempDir dir;
  writeFile(dir.file("a.sheet"), "sheet A\nC1 value\nname n C1\n");
  writeFile(dir.file("b.sheet"), "sheet B\nC1 value\nname n C1\n");
  const int status = runXlsxgen({dir.file("out.xlsx"), "A=" + dir.file("a.sheet"), "B=" + dir.file("b.sheet")},
                                dir.file("err.txt"));
  EXPECT_NE(status, 0);
  const std::string err = readFile(dir.file("err.txt"));
  EXPECT_NE(err.find("b.sheet:3: defined name 'n' is already defined in"), std::string::npos) << err;
}

}  // namespace
}  // namespace tovakin::report
