#pragma once
// What a section writer gets: the open report book, the two records and the calculation
// constants, the report's sheet plan and its own planned section (number and sheets), and the
// few ways every section fills its cells. Every cell write runs under the report writer's error
// box, one box per failing write.
#include <string>
#include <string_view>

#include "platform/error_box.h"
#include "report/layer.h"
#include "report/sheet_plan.h"

namespace tovakin::app {
struct DesignData;
struct CalcSettings;
}  // namespace tovakin::app
namespace tovakin::calc {
struct CalcResult;
}  // namespace tovakin::calc

namespace tovakin::report {

class ReportBook;

inline constexpr const char* kReportLabel = "subExcelSheetCreate";

class SectionContext {
 public:
  SectionContext(ReportBook& book, const DesignData& design, const CalcResult& result, const CalcSettings& settings,
                 const SheetPlan& plan, const PlannedSection& section);

  ReportBook& book;
  const DesignData& design;
  const CalcResult& result;
  const CalcSettings& settings;
  const SheetPlan& plan;
  const PlannedSection& section;

  // The section number (0 for the cover).
  int number() const { return section.number; }
  // The sheet the plan chose for the section (its first entry, -1 when it has none). A section
  // with variants tells them apart by it alone, so that its texts always match the sheet they
  // land on and the sheet kept is the one filled.
  int variant() const { return section.entries.empty() ? -1 : section.entries.front(); }
  bool isVariant(int entry) const { return variant() == entry; }
  // The sheet receiving the writes: the section's first sheet until useSheet names another.
  const std::string& sheet() const { return sheet_; }
  // Switches to another sheet of the section (an entry of section.entries).
  void useSheet(int entry);

  // Writes one cell of the current sheet (A1 reference or defined name).
  void write(const std::string& address, const std::string& text);
  // Writes a formula text holding "^" markers and runs the superscript pass on it.
  void writeRaised(const std::string& address, const std::string& text);

  // One cell whose text is built from the records. Building and writing are one step of the
  // error box each, so a value that cannot be shown (not finite, a lookup that failed) costs that
  // cell alone when the user chooses Ignore, and never reaches the sheet.
  template <class Build>
  void put(const std::string& address, Build&& build) {
    std::string text;
    if (guardStep(kReportLabel, [&] { text = build(); })) write(address, text);
  }
  // The same for a formula text with "^" markers: the superscript pass runs right after the write.
  template <class Build>
  void putRaised(const std::string& address, Build&& build) {
    std::string text;
    if (guardStep(kReportLabel, [&] { text = build(); })) writeRaised(address, text);
  }
  // One number in a fixed pattern, as put builds it.
  void putNumber(const std::string& address, double value, std::string_view pattern);

  // The full-width section number followed by a literal: the title ("．…") or a sub-heading
  // ("－１．…", "－１－２．…").
  std::string heading(std::string_view literal) const;
  // C1 of the current sheet: the section's title.
  void title(std::string_view literal);

 private:
  std::string sheet_;
};

// One writer per section kind, every kind has one (a kind added without a writer does not
// compile); nullptr only for a value outside the enumeration, which leaves its sheet as the
// template has it.
using SectionWriter = void (*)(SectionContext&);
SectionWriter sectionWriter(Section section);

// The writers.
void writeCoverSheet(SectionContext& ctx);           // 表紙
void writeDesignConditionsSheet(SectionContext& ctx);  // 設計条件

}  // namespace tovakin::report
