#pragma once
// The report writer: fills the template workbook from one calculated design case, removes the
// sheets the case does not use, gives the kept variants their base names and saves the report.
#include <string>

#include "platform/common_dialog.h"
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

// The template's open password (the shipped template is not encrypted).
inline constexpr const char* kTemplatePassword = "qorvin_tadelux";

// Raises RuntimeError for the first fault of an opened template that would stop the report:
// a sheet of the sheet-name table that is missing (err::kOutOfRange), or a defined name the
// writers use that the sheet cannot reach (err::kApplication).
void checkReportTemplate(const ReportBook& book);

// The texts of the error box when the report template is missing, or cannot be opened or lacks
// what the report needs (`detail`): both name the template and its file and say what to do.
std::string reportTemplateMissingMessage(const std::string& path);
std::string reportTemplateDamagedMessage(const std::string& path, const std::string& detail);

// Fills an open book: the cover selected, every planned section that has a writer, the delete
// phase, and the cover's A1 selected at the end. Failures go to the error box step by step.
void fillReport(ReportBook& book, const DesignData& design, const CalcResult& result, const CalcSettings& settings,
                const SheetPlan& plan);

// Writes the report of one case to the path in the dialog's FileName (the choice of
// myUserExcelSave) and sets g_app.g_reportPath to it. The template g_app.g_templatePath is
// checked before anything is written; its first fault is shown in one error box. The book saves
// the report to a temporary file beside the target and renames it over it only when complete
// (ReportBook::saveAs), so a failure leaves an earlier report at that path untouched. True when
// the report was written.
bool subExcelSheetCreate(const DesignData& design, const CalcResult& result, const CommonDialog& dialog);
// The same with explicit constants (the program passes g_calcSettings).
bool subExcelSheetCreate(const DesignData& design, const CalcResult& result, const CommonDialog& dialog,
                         const CalcSettings& settings);

}  // namespace tovakin::report
