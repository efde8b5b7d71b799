#pragma once
// The report workbook as the report writer sees it: sheets by name, cells by A1 reference or
// defined name, texts only. The writer calls these operations in its own order and never knows
// the file format behind them; start-up installs the implementation that opens real template
// files (openReportTemplate below), tests use an in-memory one.
//
// Failures are RuntimeError (src/platform/error_box.h), so that the writer's step guard shows
// them in the program's error box:
//   - a sheet name the workbook does not hold: err::kOutOfRange (9);
//   - an address that is neither a valid A1 cell reference nor a defined name usable on the
//     sheet: err::kApplication (1004) with a text naming the sheet and the address;
//   - a rename onto a name that another sheet bears, deleting the last sheet, a file that cannot
//     be read or written: err::kApplication (1004) or the file error's own number.
#include <memory>
#include <string>
#include <vector>

#include "platform/service.h"
#include "report/layer.h"

namespace tovakin::report {

class ReportBook {
 public:
  virtual ~ReportBook() = default;

  // Sheet names in workbook order.
  virtual std::vector<std::string> sheetNames() const = 0;
  virtual bool hasSheet(const std::string& sheet) const = 0;

  // True when `definedName` addresses one cell usable on `sheet`: a name local to that sheet,
  // or else a workbook-wide name whose reference lies on that sheet.
  virtual bool hasName(const std::string& sheet, const std::string& definedName) const = 0;

  // Puts `text` into one cell of `sheet`. `address` is an A1 reference ("C1", "AA30", "$C$1")
  // or a defined name (looked up local to the sheet first, then workbook-wide; a name whose
  // reference lies on another sheet is an error). The value is always stored as a string,
  // never a number or formula, whatever it looks like. A leading "'" is not stored: the cell
  // gets the text after it and the quote-prefix mark. "" empties the cell. The cell keeps its
  // template style; any rich-text runs it had are dropped. Characters that cannot be stored
  // are escaped by the implementation, never written raw.
  virtual void writeCell(const std::string& sheet, const std::string& address, const std::string& text) = 0;

  // The cell's text as the user would see it: what writeCell stored (without the "'"), or the
  // template's own text; "" for an empty cell. Same addressing as writeCell.
  virtual std::string cellText(const std::string& sheet, const std::string& address) const = 0;

  // Raises characters of the cell's text: `start` is 1-based and, like `length`, counted in
  // UTF-16 code units of the text. The range is clipped to the text (nothing happens outside
  // it). The raised characters keep the cell's font; earlier raised characters stay raised
  // until the cell is written again.
  virtual void setSuperscript(const std::string& sheet, const std::string& address, int start, int length) = 0;

  // The active (and only selected) sheet, and the active cell of a sheet; the saved file
  // opens there.
  virtual void selectSheet(const std::string& sheet) = 0;
  virtual void selectCell(const std::string& sheet, const std::string& address) = 0;

  // Removes the sheet with everything that belongs to it, defined names on it included; the
  // active sheet stays valid.
  virtual void deleteSheet(const std::string& sheet) = 0;

  // Gives the sheet another name (references to it inside defined names follow).
  virtual void renameSheet(const std::string& from, const std::string& to) = 0;

  // The document's title, which the file's properties show. Saving also records the program as
  // the file's application and the save time as when it was made and last changed.
  virtual void setTitle(const std::string& title) = 0;

  // Writes the whole workbook, unencrypted, to `path`, replacing an existing file there as a
  // whole: the bytes go to a temporary file beside it, which is synced and renamed over it
  // (writeFileAtomically, platform/file_system.h). When the save fails, a file that was there
  // stays byte for byte as it was and no temporary file is left. A file that cannot be
  // written raises the runtime's error for the cause, its text naming `path`
  // (platform::raiseWriteError). The writer passes the report's own path.
  virtual void saveAs(const std::string& path) = 0;
};

// Opens report template workbooks: the program installs its workbook implementation at
// start-up, tests install their own.
class ReportTemplateOpener {
 public:
  virtual ~ReportTemplateOpener() = default;
  // The password is the template's open password; a template that is not encrypted opens with
  // any password. Raises RuntimeError when the file is missing (err::kFileNotFound) or cannot
  // be opened.
  virtual std::unique_ptr<ReportBook> open(const std::string& path, const std::string& password) = 0;
};

// Installs an opener until the guard goes out of scope.
Installed<ReportTemplateOpener> installReportTemplateOpener(ReportTemplateOpener& opener);

// Calls the installed opener. Raises RuntimeError (err::kApplication) when none is installed,
// and when the opener returns no book.
std::unique_ptr<ReportBook> openReportTemplate(const std::string& path, const std::string& password);

}  // namespace tovakin::report
