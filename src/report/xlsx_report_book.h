#pragma once
// The report workbook over a real .xlsx file: the ReportBook the report writer fills, made from
// the template by the opener that start-up installs.
#include <memory>
#include <string>

#include "report/layer.h"
#include "report/report_book.h"

namespace tovakin::report {

// Opens an .xlsx workbook as a report book. The password is accepted as the template's open
// password (an unencrypted workbook opens with any). Raises RuntimeError: err::kFileNotFound
// for a missing file, err::kApplication for a file that is no usable workbook.
std::unique_ptr<report::ReportBook> openXlsxReportBook(const std::string& path, const std::string& password);

// The opener start-up installs: templates are .xlsx workbooks.
class XlsxReportTemplateOpener final : public report::ReportTemplateOpener {
 public:
  std::unique_ptr<report::ReportBook> open(const std::string& path, const std::string& password) override {
    return openXlsxReportBook(path, password);
  }
};

}  // namespace tovakin::report
