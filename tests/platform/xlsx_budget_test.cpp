// Workbooks made to cost the reader memory and time: small files whose XML parts would build
// huge trees, or whose strings would be copied into very many cells. Each is read or refused
// within the budget (about 256 MiB of memory, and processor time only against a hang), measured
// in a child process; the files are generated here, none is committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <string>

#include "platform/xlsx.h"
#include "platform/xlsx_model.h"
#include "support/child_budget.h"
#include "support/hang_limit.h"
#include "support/xlsx_test_util.h"

namespace tovakin::platform::xlsx {
namespace {

using namespace tovakin::testing;

constexpr std::size_t kMiB = std::size_t{1} << 20;
constexpr long long kBudgetKiB = 256 * 1024;
// Hang limits on processor time, not timings: at least ten times what a quiet machine takes
// (the slowest refusal 0.17 s, the workbook read in full at every bound 0.82 s), so that a reader
// that parses what it should refuse, or loops, is caught and a busy machine is not.
constexpr double kRefusalCpuSeconds = 2.0 * kTimeoutScale;
constexpr double kFullReadCpuSeconds = 10.0 * kTimeoutScale;

// `unit` repeated to at most `bytes` bytes (by doubling: large parts are made quickly).
std::string repeat(const std::string& unit, std::size_t bytes) {
  const std::size_t count = bytes / unit.size();
  std::string s = unit;
  s.reserve(count * unit.size());
  while (s.size() * 2 <= count * unit.size()) s += s;
  s.append(s, 0, count * unit.size() - s.size());
  return s;
}

std::string sst(const std::string& items) {
  return std::string("<sst xmlns=\"") + kSpreadsheetNs + "\">" + items + "</sst>";
}

std::string relationship(const std::string& id, const std::string& kind, const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"" + std::string(kRelTypeBase) + kind + "\" Target=\"" + target + "\"/>";
}

// A workbook of one sheet "S" with the given shared strings, styles and workbook padding.
ZipEntries book(const std::string& sheet, const std::string& strings = {}, const std::string& styles = {},
                const std::string& workbookPadding = {}) {
  ZipEntries entries = minimalWorkbook({{"S", sheet}}, strings);
  std::string rels = relationship("rId1", "worksheet", "worksheets/sheet1.xml");
  if (!strings.empty()) rels += relationship("rIdS", "sharedStrings", "sharedStrings.xml");
  if (!styles.empty()) {
    rels += relationship("rIdT", "styles", "styles.xml");
    setEntry(entries, "xl/styles.xml", std::string("<styleSheet xmlns=\"") + kSpreadsheetNs + "\">" + styles + "</styleSheet>");
  }
  setEntry(entries, "xl/_rels/workbook.xml.rels",
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + rels +
               "</Relationships>");
  setEntry(entries, "xl/workbook.xml",
           std::string("<workbook xmlns=\"") + kSpreadsheetNs + "\" xmlns:r=\"" + kRelNs +
               "\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/></sheets>" + workbookPadding + "</workbook>");
  return entries;
}

// Opens the workbook and reads every sheet in a child: "read" or "refused: <message>".
ChildCost readInChild(const std::string& path) {
  return costInChild([&] {
    try {
      const Workbook wb = Workbook::open(path);
      for (const auto& name : wb.sheetNames()) (void)wb.rows(name);
      return std::string("read");
    } catch (const Error& e) {
      return std::string("refused: ") + e.what();
    }
  });
}

// Writes the workbook `make` returns (released again before reading), reads it in a child and
// checks the outcome and the budget; `expected` is "read" or a part of the refusal's message.
void expectWithinBudget(const std::function<ZipEntries()>& make, const std::string& label, const std::string& expected) {
  TempDir dir;
  const std::string path = dir.file("hostile.xlsx");
  writeZip(path, make());
  const ChildCost cost = readInChild(path);
  ASSERT_TRUE(cost.finished) << label << ": the reader crashed";
  if (expected == "read") {
    EXPECT_EQ(cost.outcome, "read") << label;
  } else {
    EXPECT_EQ(cost.outcome.rfind("refused: ", 0), 0u) << label << ": " << cost.outcome;
    EXPECT_NE(cost.outcome.find(expected), std::string::npos) << label << ": " << cost.outcome;
    EXPECT_NE(cost.outcome.find(path), std::string::npos) << label << ": " << cost.outcome;
  }
  if (budgetMeasured) {
    EXPECT_LT(cost.peakGrowthKiB, kBudgetKiB) << label << ": " << cost.outcome;
    EXPECT_LT(cost.cpuSeconds, expected == "read" ? kFullReadCpuSeconds : kRefusalCpuSeconds) << label << ": " << cost.outcome;
  }
  std::cout << "[ budget   ] " << label << ": " << cost.peakGrowthKiB / 1024 << " MiB, " << cost.cpuSeconds
            << " s of processor time (" << cost.seconds << " s on the clock), " << cost.outcome << "\n";
}

// The files of the report: a 291 KB workbook whose workbook, shared strings, styles and sheet
// parts hold 63 MiB each (4.7 GiB, 9 s before it was refused), a 98 KB one with 63 MiB of
// shared strings (1.4 GiB, accepted) and a 66 KB sheet of one 63 MiB row (1.1 GiB).
TEST(XlsxBudget, FourLargePartsAreRefusedFromTheDirectory) {
  const std::size_t size = 63 * kMiB;
  expectWithinBudget(
      [&] {
        return book(sheetXml("<row r=\"1\">" + repeat("<c/>", size) + "</row>"), sst(repeat("<si/>", size)),
                    repeat("<x/>", size), repeat("<x/>", size));
      },
      "four 63 MiB parts", "大きすぎます");
}

TEST(XlsxBudget, HugeSharedStringsAreRefused) {
  expectWithinBudget(
      [] { return book(sheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"), sst(repeat("<si/>", 63 * kMiB))); },
      "63 MiB of shared strings", "xl/sharedStrings.xml");
}

TEST(XlsxBudget, OneHugeRowIsRefused) {
  expectWithinBudget([] { return book(sheetXml("<row r=\"1\">" + repeat("<c/>", 63 * kMiB) + "</row>")); },
                     "one 63 MiB row", "xl/worksheets/sheet1.xml");
}

// Within the bounds of the archive, beyond the bound of its kind.
TEST(XlsxBudget, APartLargerThanItsKindAllowsIsRefused) {
  expectWithinBudget([] { return book(sheetXml("<row r=\"1\">" + repeat("<c/>", 31 * kMiB) + "</row>")); },
                     "31 MiB sheet", "シート「S」（xl/worksheets/sheet1.xml）が大きすぎます");
  expectWithinBudget([] { return book(sheetXml(""), {}, repeat("<x/>", 5 * kMiB)); }, "5 MiB styles",
                     "「xl/styles.xml」が大きすぎます");
  expectWithinBudget([] { return book(sheetXml(""), {}, {}, repeat("<x/>", 3 * kMiB)); }, "3 MiB workbook",
                     "「xl/workbook.xml」が大きすぎます");
}

// Within the size of their kind, the parts whose trees cost the most for their bytes: empty
// elements (17 times their bytes), elements between text (26 times), attributes (9 times).
TEST(XlsxBudget, PartsWhoseTreesWouldBeTooLargeAreRefusedBeforeParsing) {
  const std::size_t size = 15 * kMiB;
  expectWithinBudget([&] { return book(sheetXml("<row r=\"1\">" + repeat("<c/>", size) + "</row>")); }, "empty cells",
                     "要素が多すぎます");
  expectWithinBudget([&] { return book(sheetXml("<row r=\"1\">" + repeat("<c/>x", size) + "</row>")); },
                     "cells between text", "要素が多すぎます");
  expectWithinBudget([&] { return book(sheetXml("<row r=\"1\"><c r=\"A1\"" + repeat(" a=\"\"", size) + "/></row>")); },
                     "attributes", "要素が多すぎます");
  expectWithinBudget([&] { return book(sheetXml(""), sst(repeat("<si/>", size))); }, "empty strings", "要素が多すぎます");
}

// Small trees, too many things in them.
TEST(XlsxBudget, CountsAreBounded) {
  const Limits limits;
  // More shared strings than allowed, in a tree that fits.
  expectWithinBudget([&] { return book(sheetXml(""), sst(repeat("<si/>", (limits.maxSharedStrings + 1) * 5))); },
                     "shared strings", "文字列が多すぎます");
  // More cells than allowed, in a tree that fits and rows the grid has room for.
  expectWithinBudget(
      [&] {
        const std::string row = "<row>" + repeat("<c/>", 16000 * 4) + "</row>";
        std::string rows;
        for (std::uint64_t n = 0; n * 16000 <= limits.maxCellsPerSheet; ++n) rows += row;
        return book(sheetXml(rows));
      },
      "cells", "セルが多すぎます");
  // One long shared string in many cells: a 1 MiB string in 1000 cells would hand out 1 GiB.
  expectWithinBudget(
      [] {
        std::string cells;
        for (int i = 0; i < 1000; ++i) cells += "<c t=\"s\"><v>0</v></c>";
        return book(sheetXml("<row r=\"1\">" + cells + "</row>"), sst("<si><t>" + std::string(kMiB, 'x') + "</t></si>"));
      },
      "one string in many cells", "の文字が多すぎます");
}

// Every bound nearly reached at once, and the workbook read in full: the archive at its total,
// the workbook, styles, shared strings and sheet parts at the trees their kinds allow, the sheet
// handing out nearly as much text as allowed and ending at the last row of the grid.
TEST(XlsxBudget, AWorkbookAtEveryBoundIsReadWithinTheBudget) {
  const Limits limits;
  // `unit` repeated as often as the tree and the size of a kind allow, with a margin.
  const auto fit = [](const std::string& unit, const Limits::Part& kind, std::uint64_t margin) {
    const std::uint64_t unitCost = detail::xmlTreeCostBound(unit + unit) - detail::xmlTreeCostBound(unit);
    const std::uint64_t count = std::min((kind.maxTree - margin) / unitCost, (kind.maxSize - margin) / unit.size());
    return repeat(unit, static_cast<std::size_t>(count * unit.size()));
  };
  expectWithinBudget(
      [&] {
        const std::string text(170, 'y');  // what every cell of the sheet gets
        const std::string strings = sst("<si><t>" + text + "</t></si>" +
                                        fit("<si><t>" + std::string(1000, 'x') + "</t></si>", limits.sharedStringsPart, 8192));
        std::string data = fit("<row>" + repeat("<c t=\"s\"><v>0</v></c>", 22 * 100) + "</row>", limits.sheetPart, kMiB);
        data += "<row r=\"1048576\"><c r=\"A1048576\"><v>1</v></c></row>";
        ZipEntries entries = book(sheetXml(data), strings, fit("<x/>", limits.stylesPart, 8192),
                                  fit("<x/>", limits.workbookPart, 8192));
        std::uint64_t total = 0;
        for (const auto& e : entries) total += e.second.size();
        EXPECT_LT(total, limits.maxTotalSize);
        entries.emplace_back("xl/media/picture.bin", std::string(limits.maxTotalSize - std::min(total, limits.maxTotalSize), 'p'));
        return entries;
      },
      "every bound at once", "read");
}

}  // namespace
}  // namespace tovakin::platform::xlsx
