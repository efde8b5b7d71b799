#include "report/report_writer.h"

#include <memory>

#include "app/app_state.h"
#include "app/calc_settings.h"
#include "app/design_data.h"
#include "app/std_io.h"
#include "calc/calc_result.h"
#include "calc/pipe_lookups.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "report/layer.h"
#include "report/report_book.h"
#include "report/report_slots.h"
#include "report/section_writer.h"

namespace tovakin::report {

namespace {

// The book replaces the target as a whole (written aside, then renamed over it), so a save
// that fails leaves an earlier report as it was.
void saveOver(ReportBook& book, const std::string& target) {
  if (myTrim(target).empty()) raiseError(err::kPathFileAccess);
  book.saveAs(target);
}

// Opens the template and checks it as a whole. A failure names the report template and its file
// and says how to go on: the template belongs to the installation, so the user puts it back.
std::unique_ptr<ReportBook> openCheckedTemplate(const std::string& path) {
  if (!fileExists(path)) raiseError(err::kFileNotFound, reportTemplateMissingMessage(path));
  try {
    std::unique_ptr<ReportBook> book = openReportTemplate(path, kTemplatePassword);
    checkReportTemplate(*book);
    return book;
  } catch (const RuntimeError& e) {
    raiseError(e.number(), reportTemplateDamagedMessage(
                               path, e.description().empty() ? errorDescription(e.number()) : e.description()));
  } catch (const ProgramAborted&) {
    throw;
  } catch (const std::exception& e) {
    raiseError(err::kApplication, reportTemplateDamagedMessage(path, e.what()));
  }
}

constexpr const char* kTemplateAdvice =
    "Tovakin に付いている雛形を Tovakin のフォルダーの DATABASE に置き直すか、Tovakin を入れ直してから、"
    "もう一度計算して下さい。";

}  // namespace

std::string reportTemplateMissingMessage(const std::string& path) {
  return "計算書の雛形 '" + path + "' が見つかりません。" + kTemplateAdvice;
}

std::string reportTemplateDamagedMessage(const std::string& path, const std::string& detail) {
  return "計算書の雛形 '" + path + "' を使えません（" + detail + "）。" + kTemplateAdvice;
}

void checkReportTemplate(const ReportBook& book) {
  for (int e = 0; e < kTemplateSheetCount; ++e) {
    const std::string name = sheetName(e);
    if (!book.hasSheet(name)) raiseError(err::kOutOfRange, "計算書の雛形にシート '" + name + "' がありません。");
  }
  for (const auto& [e, definedName] : requiredDefinedNames()) {
    const std::string sheet = sheetName(e);
    if (!book.hasName(sheet, definedName))
      raiseError(err::kApplication, "計算書の雛形のシート '" + sheet + "' に名前 '" + definedName + "' がありません。");
  }
}

void fillReport(ReportBook& book, const DesignData& design, const CalcResult& result, const CalcSettings& settings,
                const SheetPlan& plan) {
  const std::string cover = sheetName(entry::k表紙);
  guardStep(kReportLabel, [&] { book.selectSheet(cover); });

  for (const PlannedSection& section : plan.sections) {
    const SectionWriter writer = sectionWriter(section.section);
    if (!writer) continue;  // not built: the sheet stays as the template has it
    SectionContext ctx(book, design, result, settings, plan, section);
    guardStep(kReportLabel, [&] { writer(ctx); });
  }

  for (const SheetOp& op : plan.deletePhase) {
    guardStep(kReportLabel, [&] {
      if (op.kind == SheetOp::Kind::Delete)
        book.deleteSheet(op.from());
      else
        book.renameSheet(op.from(), op.to());
    });
  }

  guardStep(kReportLabel, [&] { book.selectSheet(cover); });
  guardStep(kReportLabel, [&] { book.selectCell(cover, "A1"); });
  // The case's title names the document in the file's properties.
  guardStep(kReportLabel, [&] { book.setTitle(myTrim(design.keisanshoTitle)); });
}

bool subExcelSheetCreate(const DesignData& design, const CalcResult& result, const CommonDialog& dialog) {
  return subExcelSheetCreate(design, result, dialog, g_calcSettings);
}

bool subExcelSheetCreate(const DesignData& design, const CalcResult& result, const CommonDialog& dialog,
                         const CalcSettings& settings) {
  SheetPlan plan;
  if (!guardStep(kReportLabel, [&] { plan = computeSheetPlan(design, result); })) return false;

  // The template is opened and checked as a whole before anything is written, so that a broken
  // installation gives one message and no report.
  std::unique_ptr<ReportBook> book;
  const bool opened = guardStep(kReportLabel, [&] {
    book.reset();
    book = openCheckedTemplate(g_app.g_templatePath);
  });
  if (!opened || !book) return false;

  std::string target;
  guardStep(kReportLabel, [&] {
    target = dialog.FileName;
    g_app.g_reportPath = target;
  });

  // The lookups of the fill are one action: a database that fails is reported once, and a
  // report with a value it could not give is not saved.
  calc::PipeDataAction action;
  fillReport(*book, design, result, settings, plan);
  if (action.failed()) return false;

  return guardStep(kReportLabel, [&] { saveOver(*book, target); });
}

}  // namespace tovakin::report
