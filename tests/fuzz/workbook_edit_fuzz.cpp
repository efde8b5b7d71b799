// The workbook editor: any bytes as an .xlsx file either open for editing or are refused with
// xlsx::Error. An opened workbook gets a text into the first sheet, that sheet a new name and
// (with more than one sheet) its last sheet deleted; each edit may be refused on its own. What
// the editor saves must open in the reader with the sheets the editor shows (if the reader opened
// the input), and the first sheet must read with the text written (if the reader read it before).
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "fuzz/workbook_limits.h"
#include "fuzz/zip_mutator.h"
#include "platform/xlsx.h"
#include "platform/xlsx_edit.h"

namespace {

namespace xlsx = tovakin::platform::xlsx;

// Markup characters, a literal that looks like the format's own escape, half- and full-width
// Japanese, and a character beyond the basic plane.
const std::string kText = "ﾃｽﾄ 試験 <&\"'> _x0041_ \xF0\x9F\x93\x90";

// A name no sheet bears yet (names compare without regard to ASCII case, so the candidates
// differ in digits).
std::string freshSheetName(const xlsx::EditableWorkbook& book) {
  for (int i = 0;; ++i) {
    std::string name = "試験" + std::to_string(i);
    if (!book.hasSheet(name)) return name;
  }
}

}  // namespace

TOVAKIN_FUZZ_TARGET(workbook_edit) {
  static const std::string input = tovakin::fuzz::ScratchFolder::file("edit-in.xlsx");
  static const std::string output = tovakin::fuzz::ScratchFolder::file("edit-out.xlsx");
  if (!tovakin::fuzz::writeInput(input, data, size)) return 0;

  try {
    xlsx::EditableWorkbook book = xlsx::EditableWorkbook::open(input, {}, tovakin::fuzz::workbookLimits());
    if (book.sheetNames().empty()) return 0;
    std::string first = book.sheetNames().front();

    // What the reader makes of the input: a file or a sheet it refuses may stay refused after
    // the edits (they mend one cell, not the rest of a broken part).
    bool inputOpens = false;
    bool inputFirstSheetReads = false;
    try {
      const xlsx::Workbook original = xlsx::Workbook::open(input, tovakin::fuzz::workbookLimits());
      inputOpens = true;
      (void)original.rows(first);
      inputFirstSheetReads = true;
    } catch (const xlsx::Error&) {
    }

    bool written = false;
    try {
      book.setCellText(first, "A1", kText);
      TOVAKIN_FUZZ_CHECK(book.cellText(first, "A1") == kText);
      written = true;
    } catch (const xlsx::Error&) {
      // The sheet's part is broken or its cell cannot take a text; the other edits go on.
    }

    try {
      const std::string renamed = freshSheetName(book);
      book.renameSheet(first, renamed);
      TOVAKIN_FUZZ_CHECK(book.hasSheet(renamed) && book.sheetNames().front() == renamed);
      first = renamed;
    } catch (const xlsx::Error&) {
      // Refused (a broken part, or a name the sheet may not take here); the sheet keeps its name.
    }
    if (written) TOVAKIN_FUZZ_CHECK(book.cellText(first, "A1") == kText);

    if (book.sheetNames().size() > 1) {
      const std::vector<std::string> before = book.sheetNames();
      try {
        book.deleteSheet(before.back());
        TOVAKIN_FUZZ_CHECK(book.sheetNames().size() + 1 == before.size());
        TOVAKIN_FUZZ_CHECK(!book.hasSheet(before.back()));
      } catch (const xlsx::Error&) {
        // The last visible sheet is not deleted, nor one the workbook cannot do without.
        TOVAKIN_FUZZ_CHECK(book.sheetNames() == before);
      }
    }

    book.saveAs(output);

    // The editor's file: the reader opens it (when it opened the input) and sees the same
    // sheets, and the edited sheet (when it read before) with the text.
    try {
      const xlsx::Workbook saved = xlsx::Workbook::open(output, tovakin::fuzz::workbookLimits());
      TOVAKIN_FUZZ_CHECK(saved.sheetNames() == book.sheetNames());
      for (const std::string& sheet : saved.sheetNames()) {
        try {
          const std::vector<xlsx::Row> rows = saved.rows(sheet);
          if (written && sheet == first)
            TOVAKIN_FUZZ_CHECK(!rows.empty() && !rows[0].empty() &&
                               rows[0][0].type == xlsx::CellValue::Type::Text && rows[0][0].text == kText);
        } catch (const xlsx::Error&) {
          TOVAKIN_FUZZ_CHECK(!(sheet == first && inputFirstSheetReads));
        }
      }
    } catch (const xlsx::Error&) {
      TOVAKIN_FUZZ_CHECK(!inputOpens);
    }
  } catch (const xlsx::Error&) {
    // Refused on opening, or on saving.
  }
  return 0;
}
