#include "report/xlsx_report_book.h"

#include <chrono>
#include <utility>

#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/xlsx_edit.h"
#include "report/layer.h"

namespace tovakin::report {

namespace {

// The program that writes the reports, as the file's properties name it.
constexpr const char* kApplicationName = "Tovakin";

// Workbook failures reach the writer's error box as the spreadsheet program's application
// error, with the workbook layer's own text.
template <class F>
auto workbookStep(F&& f) -> decltype(f()) {
  try {
    return std::forward<F>(f)();
  } catch (const xlsx::Error& e) {
    raiseError(err::kApplication, e.what());
  }
}

class XlsxReportBook final : public report::ReportBook {
 public:
  explicit XlsxReportBook(xlsx::EditableWorkbook book) : book_(std::move(book)) {}

  std::vector<std::string> sheetNames() const override { return book_.sheetNames(); }
  bool hasSheet(const std::string& sheet) const override { return book_.hasSheet(sheet); }
  bool hasName(const std::string& sheet, const std::string& definedName) const override {
    return book_.hasName(sheet, definedName);
  }

  void writeCell(const std::string& sheet, const std::string& address, const std::string& text) override {
    requireCell(sheet, address);
    const bool quoted = !text.empty() && text.front() == '\'';
    workbookStep([&] { book_.setCellText(sheet, address, quoted ? std::string_view(text).substr(1) : text, quoted); });
  }

  std::string cellText(const std::string& sheet, const std::string& address) const override {
    requireCell(sheet, address);
    return workbookStep([&] { return book_.cellText(sheet, address); });
  }

  void setSuperscript(const std::string& sheet, const std::string& address, int start, int length) override {
    requireCell(sheet, address);
    workbookStep([&] { book_.setSuperscript(sheet, address, start, length); });
  }

  void selectSheet(const std::string& sheet) override {
    requireSheet(sheet);
    workbookStep([&] { book_.selectSheet(sheet); });
  }

  void selectCell(const std::string& sheet, const std::string& address) override {
    requireCell(sheet, address);
    workbookStep([&] { book_.selectCell(sheet, address); });
  }

  void deleteSheet(const std::string& sheet) override {
    requireSheet(sheet);
    workbookStep([&] { book_.deleteSheet(sheet); });
  }

  void renameSheet(const std::string& from, const std::string& to) override {
    requireSheet(from);
    workbookStep([&] { book_.renameSheet(from, to); });
  }

  void setTitle(const std::string& title) override { title_ = title; }

  // The workbook is serialized in memory first, so nothing touches the file until the bytes are
  // complete; the one aside-and-rename then replaces it. The report is a new document, made now.
  void saveAs(const std::string& path) override {
    std::string bytes;
    workbookStep([&] {
      const auto now = std::chrono::system_clock::now();
      book_.setDocumentProperties({title_, kApplicationName, now, now});
      bytes = book_.serialize();
    });
    if (WriteResult written = writeFileAtomically(path, bytes); !written) raiseWriteError(written, path);
  }

 private:
  void requireSheet(const std::string& sheet) const {
    if (!book_.hasSheet(sheet)) {
      raiseNotFound("シート '" + sheet + "'");
    }
  }
  void requireCell(const std::string& sheet, const std::string& address) const {
    requireSheet(sheet);
    xlsx::CellRef ref;
    if (!book_.resolveCell(sheet, address, ref)) {
      raiseError(err::kApplication, "シート '" + sheet + "' にセル '" + address + "' がありません。");
    }
  }

  xlsx::EditableWorkbook book_;
  std::string title_;
};

}  // namespace

std::unique_ptr<report::ReportBook> openXlsxReportBook(const std::string& path, const std::string& password) {
  if (!fileExists(path)) raiseError(err::kFileNotFound, errorDescription(err::kFileNotFound) + "（" + path + "）");
  return workbookStep([&]() -> std::unique_ptr<report::ReportBook> {
    return std::make_unique<XlsxReportBook>(xlsx::EditableWorkbook::open(path, password));
  });
}

}  // namespace tovakin::report
