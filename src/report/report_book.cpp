#include "report/report_book.h"

#include <utility>

#include "platform/error_box.h"

namespace tovakin::report {

namespace {
ReportTemplateOpener& installedOpener() {
  static ReportTemplateOpener opener;
  return opener;
}
}  // namespace

ReportTemplateOpener setReportTemplateOpener(ReportTemplateOpener opener) {
  ReportTemplateOpener previous = std::move(installedOpener());
  installedOpener() = std::move(opener);
  return previous;
}

bool hasReportTemplateOpener() { return static_cast<bool>(installedOpener()); }

std::unique_ptr<ReportBook> openReportTemplate(const std::string& path, const std::string& password) {
  if (!installedOpener()) raiseError(err::kApplication, "計算書の雛形を開く機能が組み込まれていません。");
  std::unique_ptr<ReportBook> book = installedOpener()(path, password);
  if (!book) raiseError(err::kApplication, "計算書の雛形を開けません: " + path);
  return book;
}

}  // namespace tovakin::report
