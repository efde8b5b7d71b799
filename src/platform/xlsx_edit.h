#pragma once
// Editing a workbook in memory and saving it as a new file: the operations the report writer
// needs on its template. Texts go into cells (always stored as strings, never numbers or
// formulas), characters are raised as superscript, sheets are selected, deleted and renamed,
// and the whole package is written back as a valid .xlsx.
//
// Cells are addressed by A1 reference ("C1", "$AA$30") or by a defined name: a name local to
// the sheet is looked up first, then a workbook-wide one, and the name must stand for one
// cell on that very sheet. Names compare case-insensitively for ASCII letters, as sheet names
// do.
//
// Every failure raises xlsx::Error with a Japanese message that names the file, sheet or
// address concerned.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xlsx.h"

namespace tovakin::platform::xlsx {

// What the saved package says about itself.
struct DocumentProperties {
  std::string title;        // the document's title; "" leaves it without one
  std::string application;  // the program that wrote the file
  std::chrono::system_clock::time_point created;
  std::chrono::system_clock::time_point modified;
};

class Editor;  // the editing state; defined in xlsx_edit_detail.h
class EditableWorkbook;
namespace detail {
// The editable workbook over a model loaded elsewhere: tests shape models that the loader would
// refuse, to see that the editor copes with them on its own.
EditableWorkbook editableWorkbookOver(std::unique_ptr<Model> model);
}  // namespace detail

class EditableWorkbook {
 public:
  // Reads the workbook. The password is the workbook's open password: an unencrypted workbook
  // opens with any password, as it does in the spreadsheet program. An encrypted workbook (or
  // one in the old binary format) is refused with a message that says so.
  static EditableWorkbook open(const std::string& path, const std::string& password = {},
                               const Limits& limits = Limits{});

  EditableWorkbook(EditableWorkbook&&) noexcept;
  EditableWorkbook& operator=(EditableWorkbook&&) noexcept;
  ~EditableWorkbook();

  const std::string& path() const;

  // Worksheet names in workbook order.
  const std::vector<std::string>& sheetNames() const;
  bool hasSheet(std::string_view sheet) const;

  // The cell an address stands for on the sheet; false when the address is neither an A1
  // reference nor a defined name for one cell of that sheet (or the sheet is unknown).
  bool resolveCell(std::string_view sheet, std::string_view address, CellRef& out) const;
  // True when `definedName` stands for one cell of the sheet.
  bool hasName(std::string_view sheet, std::string_view definedName) const;

  // Stores `text` as the cell's string (exactly as given; "" leaves the cell empty). The cell
  // keeps its style; with `quotePrefix` it gets that style with the quote-prefix mark, without
  // it a quote-prefix mark this editor added earlier is taken off again. Rich-text runs the
  // cell had are dropped. Rows and cells that are missing are created in order.
  void setCellText(std::string_view sheet, std::string_view address, std::string_view text,
                   bool quotePrefix = false);

  // The cell's text: the string it holds (rich-text runs joined), the stored text of a number
  // or other value, "" when the cell is empty or absent.
  std::string cellText(std::string_view sheet, std::string_view address) const;

  // Raises `length` characters from the 1-based position `start`, both counted in UTF-16 code
  // units, clipped to the text. The cell's text becomes rich text whose runs repeat the cell's
  // font; characters raised earlier stay raised until the cell is written again.
  void setSuperscript(std::string_view sheet, std::string_view address, int start, int length);
  // 1-based UTF-16 positions of the cell's raised characters (for checks and tests).
  std::vector<int> superscriptPositions(std::string_view sheet, std::string_view address) const;

  // Makes the sheet the active and only selected one.
  void selectSheet(std::string_view sheet);
  // Makes the cell the active cell and the selection of the sheet's view.
  void selectCell(std::string_view sheet, std::string_view address);

  // Removes the sheet: its part and the parts only it uses, its relationships and content
  // types, the defined names on it or referring to it; the names local to later sheets are
  // renumbered and the active and first visible tab stay valid. A part or relationship that
  // another sheet or relationship still uses stays. The last visible sheet cannot be deleted,
  // and a delete that fails (a relationships part it cannot read) changes nothing.
  void deleteSheet(std::string_view sheet);

  // Gives the sheet a new name (at most 31 characters, none of  : \ / ? * [ ] , not starting or
  // ending with "'", not borne by another sheet); sheet references inside defined names follow.
  void renameSheet(std::string_view from, std::string_view to);

  // Sets the document properties: the title, created and modified (UTC, to the second) of the
  // core properties, the application of the extended ones, whose version, that of whatever
  // program wrote the workbook before, goes. Parts the workbook lacks, or that cannot be read,
  // are made with their relationships and content types. Characters XML cannot hold are left
  // out of the texts.
  void setDocumentProperties(const DocumentProperties& properties);

  // Writes the edited workbook to `path`, unencrypted: into a temporary file beside it that is
  // renamed over it when complete. The workbook stays open for further edits. Every sheet is
  // saved marking its numbers stored as text as meant (all values are texts), and the shared
  // strings are cut down to those the sheets use, with their counts.
  void saveAs(const std::string& path);

  // The package bytes that saveAs would write.
  std::string serialize();

 private:
  explicit EditableWorkbook(std::unique_ptr<Editor> editor);
  friend EditableWorkbook detail::editableWorkbookOver(std::unique_ptr<detail::Model> model);
  std::unique_ptr<Editor> editor_;
};

}  // namespace tovakin::platform::xlsx
