#include "report/section_writer.h"

#include <algorithm>

#include "platform/error_box.h"
#include "report/cell_conventions.h"
#include "report/layer.h"
#include "report/report_book.h"
#include "report/sheets_check.h"
#include "report/sheets_design.h"
#include "report/sheets_earth.h"
#include "report/sheets_live.h"

namespace tovakin::report {

SectionContext::SectionContext(ReportBook& book_, const DesignData& design_, const CalcResult& result_,
                               const CalcSettings& settings_, const SheetPlan& plan_, const PlannedSection& section_)
    : book(book_), design(design_), result(result_), settings(settings_), plan(plan_), section(section_) {
  if (!section.entries.empty()) sheet_ = sheetName(section.entries.front());
}

void SectionContext::useSheet(int entry) {
  if (std::find(section.entries.begin(), section.entries.end(), entry) == section.entries.end())
    raiseError(err::kOutOfRange);
  sheet_ = sheetName(entry);
}

void SectionContext::write(const std::string& address, const std::string& text) {
  guardStep(kReportLabel, [&] { book.writeCell(sheet_, address, text); });
}

void SectionContext::writeRaised(const std::string& address, const std::string& text) {
  write(address, text);
  JyoCharEdit(book, sheet_, address);
}

void SectionContext::putNumber(const std::string& address, double value, std::string_view pattern) {
  put(address, [&] { return num(value, pattern); });
}

std::string SectionContext::heading(std::string_view literal) const { return sectionHeading(number(), literal); }

void SectionContext::title(std::string_view literal) { write("C1", heading(literal)); }

SectionWriter sectionWriter(Section section) {
  // A section joins the report by adding its writer here. The switch has no default on purpose:
  // a new Section without a case here is a -Wswitch warning, an error under TOVAKIN_WERROR.
  switch (section) {
    case Section::Cover: return &writeCoverSheet;
    case Section::DesignConditions: return &writeDesignConditionsSheet;
    case Section::Flotation: return &writeFlotationSheet;
    case Section::He: return &writeHeSheet;
    case Section::VerticalEarth: return &writeVerticalEarthSheet;
    case Section::VerticalEarthSheetPile: return &writeVerticalEarthSheetPileSheet;
    case Section::ReactionModulus: return &writeReactionModulusSheet;
    case Section::HorizontalEarth: return &writeHorizontalEarthSheet;
    case Section::LiveLoad: return &writeLiveLoadSheet;
    case Section::LiveLoadHorizontal: return &writeLiveLoadHorizontalSheet;
    case Section::WeightWaterHorizontal: return &writeWeightWaterHorizontalSheet;
    case Section::DesignLoad: return &writeDesignLoadSheet;
    case Section::InternalPressure: return &writeInternalPressureSheet;
    case Section::TransverseDesign: return &writeTransverseDesignSheet;
    case Section::AllowablePressure: return &writeAllowablePressureSheet;
    case Section::DeflectionOrEi: return &writeDeflectionOrEiSheet;
  }
  return nullptr;  // a value outside the enumeration
}

}  // namespace tovakin::report
