// Writing the workbook with libxlsxwriter.
#include <xlsxwriter.h>

#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "platform/cell_ref.h"
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

std::uint8_t lxwLine(Line l) {
  switch (l) {
    case Line::None: return LXW_BORDER_NONE;
    case Line::Thin: return LXW_BORDER_THIN;
    case Line::Medium: return LXW_BORDER_MEDIUM;
    case Line::Dashed: return LXW_BORDER_DASHED;
    case Line::Dotted: return LXW_BORDER_DOTTED;
    case Line::Thick: return LXW_BORDER_THICK;
    case Line::Double: return LXW_BORDER_DOUBLE;
    case Line::Hair: return LXW_BORDER_HAIR;
  }
  return LXW_BORDER_NONE;
}

std::uint8_t lxwAlign(HAlign a) {
  switch (a) {
    case HAlign::General: return LXW_ALIGN_NONE;
    case HAlign::Left: return LXW_ALIGN_LEFT;
    case HAlign::Center: return LXW_ALIGN_CENTER;
    case HAlign::Right: return LXW_ALIGN_RIGHT;
    case HAlign::Fill: return LXW_ALIGN_FILL;
    case HAlign::Justify: return LXW_ALIGN_JUSTIFY;
    case HAlign::CenterAcross: return LXW_ALIGN_CENTER_ACROSS;
    case HAlign::Distributed: return LXW_ALIGN_DISTRIBUTED;
  }
  return LXW_ALIGN_NONE;
}

std::uint8_t lxwVAlign(VAlign a) {
  switch (a) {
    case VAlign::Bottom: return LXW_ALIGN_VERTICAL_BOTTOM;
    case VAlign::Top: return LXW_ALIGN_VERTICAL_TOP;
    case VAlign::Center: return LXW_ALIGN_VERTICAL_CENTER;
    case VAlign::Justify: return LXW_ALIGN_VERTICAL_JUSTIFY;
    case VAlign::Distributed: return LXW_ALIGN_VERTICAL_DISTRIBUTED;
  }
  return LXW_ALIGN_VERTICAL_CENTER;
}

void applyFont(lxw_format* f, const Font& font) {
  format_set_font_name(f, font.name.c_str());
  format_set_font_size(f, font.size);
  if (font.bold) format_set_bold(f);
  if (font.italic) format_set_italic(f);
  if (font.underline) format_set_underline(f, LXW_UNDERLINE_SINGLE);
  if (font.color != 0) format_set_font_color(f, font.color);
}

// One libxlsxwriter format per distinct style, and per distinct font of a rich-text run.
class Formats {
 public:
  explicit Formats(lxw_workbook* wb) : wb_(wb) {}

  lxw_format* cell(const CellStyle& s) {
    auto& f = cells_[s];
    if (f) return f;
    f = workbook_add_format(wb_);
    applyFont(f, s.font);
    if (s.align != HAlign::General) format_set_align(f, lxwAlign(s.align));
    format_set_align(f, lxwVAlign(s.valign));
    if (s.wrap) format_set_text_wrap(f);
    if (s.shrink) format_set_shrink(f);
    if (s.indent > 0) format_set_indent(f, static_cast<std::uint8_t>(s.indent));
    if (s.top != Line::None) format_set_top(f, lxwLine(s.top));
    if (s.bottom != Line::None) format_set_bottom(f, lxwLine(s.bottom));
    if (s.left != Line::None) format_set_left(f, lxwLine(s.left));
    if (s.right != Line::None) format_set_right(f, lxwLine(s.right));
    if (!s.numFormat.empty()) format_set_num_format(f, s.numFormat.c_str());
    if (s.fill != 0) {
      format_set_pattern(f, LXW_PATTERN_SOLID);
      format_set_bg_color(f, s.fill);
    }
    return f;
  }

  // The font of a rich-text run: the cell's font, raised or lowered. Every run carries its
  // font in full, so that the text looks the same whichever program shows it.
  lxw_format* run(const Font& font, Script script) {
    auto& f = runs_[{font, static_cast<int>(script)}];
    if (f) return f;
    f = workbook_add_format(wb_);
    applyFont(f, font);
    if (script == Script::Super) format_set_font_script(f, LXW_FONT_SUPERSCRIPT);
    if (script == Script::Sub) format_set_font_script(f, LXW_FONT_SUBSCRIPT);
    return f;
  }

 private:
  lxw_workbook* wb_;
  std::map<CellStyle, lxw_format*> cells_;
  std::map<std::pair<Font, int>, lxw_format*> runs_;
};

std::string quotedSheetName(const std::string& name) {
  std::string q = "'";
  for (char c : name) {
    q.push_back(c);
    if (c == '\'') q.push_back('\'');
  }
  return q + "'";
}

std::string absoluteCell(std::uint32_t row, std::uint32_t col) {
  return "$" + tovakin::platform::xlsx::columnLetters(col) + "$" + std::to_string(row + 1);
}

void writeText(lxw_worksheet* ws, lxw_row_t r, lxw_col_t c, const Cell& cell, lxw_format* format, Formats& formats,
               const std::string& where) {
  if (cell.runs.empty()) {
    check(worksheet_write_string(ws, r, c, cell.text.c_str(), format), where);
    return;
  }
  if (cell.runs.size() == 1) {
    // A text raised as a whole is no rich text; the cell's own font carries the script.
    throw Failure(where + ": a text that is raised or lowered as a whole needs a style of its own");
  }
  std::vector<lxw_rich_string_tuple> tuples(cell.runs.size());
  std::vector<lxw_rich_string_tuple*> pointers;
  for (std::size_t i = 0; i < cell.runs.size(); ++i) {
    tuples[i].format = formats.run(cell.style.font, cell.runs[i].script);
    tuples[i].string = const_cast<char*>(cell.runs[i].text.c_str());
    pointers.push_back(&tuples[i]);
  }
  pointers.push_back(nullptr);
  check(worksheet_write_rich_string(ws, r, c, pointers.data(), format), where);
}

void layOut(lxw_worksheet* ws, const SheetSource& sheet) {
  const std::string what = "sheet '" + sheet.name + "'";
  for (const auto& [col, width] : sheet.colWidths) {
    check(worksheet_set_column(ws, static_cast<lxw_col_t>(col), static_cast<lxw_col_t>(col), width, nullptr),
          what + " column width");
  }
  if (sheet.defaultRowHeight > 0) worksheet_set_default_row(ws, sheet.defaultRowHeight, LXW_FALSE);
  for (const auto& [row, height] : sheet.rowHeights) {
    check(worksheet_set_row(ws, static_cast<lxw_row_t>(row), height, nullptr), what + " row height");
  }
  const PageSetup& p = sheet.page;
  worksheet_set_paper(ws, static_cast<std::uint8_t>(p.paper));
  if (p.landscape) worksheet_set_landscape(ws);
  else worksheet_set_portrait(ws);
  worksheet_set_margins(ws, p.marginLeft, p.marginRight, p.marginTop, p.marginBottom);
  if (p.fit) worksheet_fit_to_pages(ws, static_cast<std::uint16_t>(p.fitWide), static_cast<std::uint16_t>(p.fitTall));
  if (p.centerHorizontally) worksheet_center_horizontally(ws);
  if (p.centerVertically) worksheet_center_vertically(ws);
  if (!p.header.empty()) {
    lxw_header_footer_options o{};
    o.margin = p.marginHeader;
    check(worksheet_set_header_opt(ws, p.header.c_str(), &o), what + " header");
  }
  if (!p.footer.empty()) {
    lxw_header_footer_options o{};
    o.margin = p.marginFooter;
    check(worksheet_set_footer_opt(ws, p.footer.c_str(), &o), what + " footer");
  }
  if (p.hasPrintArea) {
    check(worksheet_print_area(ws, p.printArea.firstRow, static_cast<lxw_col_t>(p.printArea.firstCol),
                               p.printArea.lastRow, static_cast<lxw_col_t>(p.printArea.lastCol)),
          what + " print area");
  }
  worksheet_gridlines(ws, p.hideGridlines ? LXW_HIDE_ALL_GRIDLINES : LXW_SHOW_SCREEN_GRIDLINES);
  if (p.zoom != 100) worksheet_set_zoom(ws, static_cast<std::uint16_t>(p.zoom));
}

void writeSheet(lxw_workbook* wb, const SheetSource& sheet, Formats& formats) {
  check(workbook_validate_sheet_name(wb, sheet.name.c_str()), "sheet name '" + sheet.name + "'");
  lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.name.c_str());
  if (!ws) throw Failure("sheet '" + sheet.name + "': cannot be added");
  if (sheet.rows.size() > LXW_ROW_MAX) throw Failure("sheet '" + sheet.name + "': too many rows");
  if (sheet.laidOut) layOut(ws, sheet);

  // Merged ranges first: merging writes every cell of the range, and each cell then gets its
  // own format (a box drawn round a merged cell needs different borders on its parts).
  for (const auto& m : sheet.merges) {
    const Cell& anchor = sheet.rows[m.firstRow][m.firstCol];
    check(worksheet_merge_range(ws, m.firstRow, static_cast<lxw_col_t>(m.firstCol), m.lastRow,
                                static_cast<lxw_col_t>(m.lastCol), "", formats.cell(anchor.style)),
          "sheet '" + sheet.name + "' merged range");
  }

  for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
    const auto& row = sheet.rows[r];
    if (row.size() > LXW_COL_MAX) throw Failure("sheet '" + sheet.name + "': too many columns");
    for (std::size_t c = 0; c < row.size(); ++c) {
      const Cell& cell = row[c];
      const auto rr = static_cast<lxw_row_t>(r);
      const auto cc = static_cast<lxw_col_t>(c);
      const std::string where = "sheet '" + sheet.name + "' row " + std::to_string(r + 1) + " column " +
                                std::to_string(c + 1);
      lxw_format* format = cell.styled ? formats.cell(cell.style) : nullptr;
      switch (cell.kind) {
        case Cell::Kind::Empty:
          if (format) check(worksheet_write_blank(ws, rr, cc, format), where);
          break;
        case Cell::Kind::Number:
          check(worksheet_write_number(ws, rr, cc, cell.number, format), where);
          break;
        case Cell::Kind::Text:
          writeText(ws, rr, cc, cell, format, formats, where);
          break;
      }
    }
  }
}

void defineNames(lxw_workbook* wb, const std::vector<SheetSource>& sheets) {
  std::map<std::string, std::string> seen;  // name -> the file that declared it
  for (const auto& sheet : sheets) {
    for (const auto& n : sheet.names) {
      const std::string where = sheet.origin + ":" + std::to_string(n.line) + ": defined name '" + n.name + "'";
      const auto [it, fresh] = seen.emplace(n.name, sheet.origin);
      if (!fresh) throw Failure(where + " is already defined in " + it->second);
      const std::string formula = "=" + quotedSheetName(sheet.name) + "!" + absoluteCell(n.row, n.col);
      check(workbook_define_name(wb, n.name.c_str(), formula.c_str()), where);
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
    // The Normal style: its font is what empty cells show and what column widths are measured
    // in. The first format of a workbook is that style.
    for (const auto& sheet : sheets) {
      if (!sheet.laidOut) continue;
      lxw_format* normal = STAILQ_FIRST(wb->formats);
      if (normal) {
        format_set_font_name(normal, sheet.baseFont.name.c_str());
        format_set_font_size(normal, sheet.baseFont.size);
      }
      break;
    }
    Formats formats(wb.get());
    for (const auto& sheet : sheets) writeSheet(wb.get(), sheet, formats);
    defineNames(wb.get(), sheets);
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
