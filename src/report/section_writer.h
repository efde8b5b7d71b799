#pragma once
// What a section writer gets: the open report book, the two records and the calculation
// constants, the report's sheet plan and its own planned section (number and sheets). Every
// cell write runs under the report writer's error box, one box per failing write.
#include <string>
#include <string_view>

#include "report/sheet_plan.h"

namespace tovakin {
struct DesignData;
struct CalcResult;
struct CalcSettings;
}  // namespace tovakin

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
  // The sheet receiving the writes: the section's first sheet until useSheet names another.
  const std::string& sheet() const { return sheet_; }
  // Switches to another sheet of the section (an entry of section.entries).
  void useSheet(int entry);

  // Writes one cell of the current sheet (A1 reference or defined name).
  void write(const std::string& address, const std::string& text);
  // Writes a formula text holding "^" markers and runs the superscript pass on it.
  void writeRaised(const std::string& address, const std::string& text);
  // C1 of the current sheet: the full-width section number and the title literal ("．…").
  void title(std::string_view literal);

 private:
  std::string sheet_;
};

// One writer per section kind; nullptr for a section whose writer is not built, which leaves
// its sheet as the template has it.
using SectionWriter = void (*)(SectionContext&);
SectionWriter sectionWriter(Section section);

// The writers.
void writeCoverSheet(SectionContext& ctx);           // 表紙
void writeDesignConditionsSheet(SectionContext& ctx);  // 設計条件

}  // namespace tovakin::report
