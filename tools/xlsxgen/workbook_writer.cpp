// Writing the workbook with libxlsxwriter.
#include <xlsxwriter.h>

#include <cstdio>
#include <memory>

#include "sheet_source.h"

namespace xlsxgen {
namespace {

// Closes a workbook that was abandoned half-way; its file is removed by the caller.
struct WorkbookCloser {
  void operator()(lxw_workbook* wb) const { workbook_close(wb); }
};

void check(lxw_error error, const std::string& what) {
  if (error != LXW_NO_ERROR) throw Failure(what + ": " + lxw_strerror(error));
}

void writeSheet(lxw_workbook* wb, const SheetSource& sheet) {
  check(workbook_validate_sheet_name(wb, sheet.name.c_str()), "sheet name '" + sheet.name + "'");
  lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.name.c_str());
  if (!ws) throw Failure("sheet '" + sheet.name + "': cannot be added");
  if (sheet.rows.size() > LXW_ROW_MAX) throw Failure("sheet '" + sheet.name + "': too many rows");
  for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
    const auto& row = sheet.rows[r];
    if (row.size() > LXW_COL_MAX) throw Failure("sheet '" + sheet.name + "': too many columns");
    for (std::size_t c = 0; c < row.size(); ++c) {
      const Cell& cell = row[c];
      const auto rr = static_cast<lxw_row_t>(r);
      const auto cc = static_cast<lxw_col_t>(c);
      const std::string where = "sheet '" + sheet.name + "' row " + std::to_string(r + 1) + " column " +
                                std::to_string(c + 1);
      switch (cell.kind) {
        case Cell::Kind::Empty:
          break;
        case Cell::Kind::Number:
          check(worksheet_write_number(ws, rr, cc, cell.number, nullptr), where);
          break;
        case Cell::Kind::Text:
          check(worksheet_write_string(ws, rr, cc, cell.text.c_str(), nullptr), where);
          break;
      }
    }
  }
}

}  // namespace

void writeWorkbook(const std::string& outPath, const std::vector<SheetSource>& sheets) {
  const std::string tmpPath = outPath + ".tmp";
  std::remove(tmpPath.c_str());
  lxw_workbook_options options{};
  std::unique_ptr<lxw_workbook, WorkbookCloser> wb(workbook_new_opt(tmpPath.c_str(), &options));
  if (!wb) throw Failure(outPath + ": cannot create the workbook");
  try {
    for (const auto& sheet : sheets) writeSheet(wb.get(), sheet);
  } catch (...) {
    wb.reset();
    std::remove(tmpPath.c_str());
    throw;
  }
  const lxw_error closed = workbook_close(wb.release());
  if (closed != LXW_NO_ERROR) {
    std::remove(tmpPath.c_str());
    throw Failure(outPath + ": " + lxw_strerror(closed));
  }
  if (std::rename(tmpPath.c_str(), outPath.c_str()) != 0) {
    std::remove(tmpPath.c_str());
    throw Failure(outPath + ": cannot replace the file");
  }
}

}  // namespace xlsxgen
