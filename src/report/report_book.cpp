#include "report/report_book.h"

#include <utility>

#include "platform/error_box.h"
#include "report/layer.h"

namespace tovakin::report {

namespace {
ReportTemplateOpener* g_opener = nullptr;
}  // namespace

Installed<ReportTemplateOpener> installReportTemplateOpener(ReportTemplateOpener& opener) {
  return {g_opener, &opener};
}

std::unique_ptr<ReportBook> openReportTemplate(const std::string& path, const std::string& password) {
  if (!g_opener) raiseError(err::kApplication, "計算書の雛形を開く機能が組み込まれていません。");
  std::unique_ptr<ReportBook> book = g_opener->open(path, password);
  if (!book) raiseError(err::kApplication, "計算書の雛形を開けません: " + path);
  return book;
}

}  // namespace tovakin::report
