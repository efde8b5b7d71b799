#include "calc/pipe_db_import.h"

#include <sys/stat.h>

#include <cmath>
#include <map>
#include <stdexcept>
#include <unordered_set>

#include "app/number_format.h"
#include "app/std_io.h"
#include "calc/layer.h"

namespace tovakin::calc::pipedb {
namespace {

using Kind = ColumnKind;

constexpr const char* kLinkCatalog = "MSysLinks";

// Workbooks whose reading failed: the file stamp then and the failure.
std::map<std::string, std::pair<std::string, RuntimeError>>& refusedWorkbooks() {
  static std::map<std::string, std::pair<std::string, RuntimeError>> refused;
  return refused;
}

bool isRowidAlias(std::string_view name) {
  return sameColumnName(name, "rowid") || sameColumnName(name, "_rowid_") || sameColumnName(name, "oid");
}

std::string cellAsText(const xlsx::CellValue& cell) {
  switch (cell.type) {
    case xlsx::CellValue::Type::Number: return formatGeneral(cell.number);
    case xlsx::CellValue::Type::Boolean: return cell.number != 0 ? "TRUE" : "FALSE";
    case xlsx::CellValue::Type::Text:
    case xlsx::CellValue::Type::Error: return cell.text;
    case xlsx::CellValue::Type::Empty: break;
  }
  return {};
}

bool rowIsEmpty(const xlsx::Row& row) {
  for (const auto& cell : row)
    if (!cell.empty() && !(cell.type == xlsx::CellValue::Type::Text && cell.text.empty())) return false;
  return true;
}

// The key under which SQLite takes two column names for one: ASCII letters in either case.
std::string columnKey(std::string_view name) {
  std::string key(name);
  for (char& ch : key)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return key;
}

// Column names from the first row: blanks around a name are dropped; a column without a name, or
// whose name is taken already, is called F and its position (F1 for the first column).
std::vector<std::string> columnNames(const xlsx::Row* header, std::size_t width) {
  std::vector<std::string> names;
  std::unordered_set<std::string> taken;
  for (std::size_t i = 0; i < width; ++i) {
    std::string name;
    if (header && i < header->size()) {
      const auto& cell = (*header)[i];
      if (cell.type != xlsx::CellValue::Type::Error) name = myTrim(cellAsText(cell));
    }
    if (name.empty() || taken.count(columnKey(name)) || isRowidAlias(name)) {
      name = "F" + std::to_string(i + 1);
      while (taken.count(columnKey(name))) name += "_";
    }
    taken.insert(columnKey(name));
    names.push_back(std::move(name));
  }
  if (names.empty()) names.push_back("F1");
  return names;
}

Kind kindOf(const SheetSpec& layout, std::string_view column) {
  for (const auto& c : layout.columns)
    if (sameColumnName(c.name, column)) return c.kind;
  return Kind::Native;
}

const char* declaredType(Kind kind) {
  switch (kind) {
    case Kind::Text: return " TEXT";
    case Kind::Number: return " REAL";
    case Kind::Native: break;
  }
  return "";
}

void bindCell(Statement& s, int index, const xlsx::CellValue& cell, Kind kind) {
  using T = xlsx::CellValue::Type;
  switch (cell.type) {
    case T::Empty: s.bindNull(index); return;
    case T::Number:
      if (kind == Kind::Text)
        s.bind(index, formatGeneral(cell.number));
      else
        s.bind(index, cell.number);
      return;
    case T::Boolean:
      // A true cell is the runtime's True (-1) in a number column.
      if (kind == Kind::Text)
        s.bind(index, cellAsText(cell));
      else
        s.bind(index, cell.number != 0 ? -1.0 : 0.0);
      return;
    case T::Text:
      if (cell.text.empty()) {
        s.bindNull(index);
      } else if (kind == Kind::Number) {
        // A number stored as text reads as the number; any other text stays text, so that
        // reading it as a number is reported rather than taken for an empty cell.
        double v = 0.0;
        if (parseDecimal(myTrim(cell.text), v) && std::isfinite(v))
          s.bind(index, v);
        else
          s.bind(index, cell.text);
      } else {
        s.bind(index, cell.text);
      }
      return;
    case T::Error: s.bind(index, cell.text); return;
  }
}

}  // namespace

const std::vector<SheetSpec>& workbookSheets() {
  static const std::vector<SheetSpec> sheets = [] {
    const std::vector<ColumnSpec> pipeColumns = {
        {"管種", Kind::Text},         {"規格", Kind::Text},         {"呼び径", Kind::Number},
        {"外径", Kind::Number},       {"管厚", Kind::Number},       {"管厚中心半径", Kind::Number},
        {"内径", Kind::Number},       {"ひびわれ外圧", Kind::Number}, {"ひびわれ内圧", Kind::Number},
        {"EI値", Kind::Number}};
    return std::vector<SheetSpec>{
        {"不とう性管", "不とう性管", pipeColumns},
        {"とう性管", "とう性管", pipeColumns},
        {"管材データ", "管材データ",
         {{"管種", Kind::Text},
          {"単位体積重量", Kind::Number},
          {"弾性係数", Kind::Number},
          {"管材区分", Kind::Number},
          {"引張応力", Kind::Number},
          {"許容引張応力度", Kind::Number}}},
        {"モーメント係数", "モーメント係数",
         {{"対象管", Kind::Text},
          {"対象荷重", Kind::Text},
          {"設計支持角", Kind::Number},
          {"支承条件", Kind::Text},
          {"係数", Kind::Number}}},
        {"標準溝幅", "標準溝幅", {{"呼び径", Kind::Text}, {"BS値", Kind::Number}}},
    };
  }();
  return sheets;
}

const SheetSpec& sheetSpec(std::string_view table) {
  for (const auto& s : workbookSheets())
    if (table == s.table) return s;
  throw std::out_of_range("unknown pipe-material sheet");
}

xlsx::Workbook openWorkbook(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
    raiseError(dberr::kFileNotFound, "ファイル '" + path + "' が見つかりません。");
  try {
    return xlsx::Workbook::open(path);
  } catch (const xlsx::Error& e) {
    raiseError(dberr::kExternalFormat, e.what());  // the reader's text names the file and the fault
  }
}

std::optional<std::string> fileStamp(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + ":" +
         std::to_string(st.st_size) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_dev);
}

std::vector<std::string> importSheet(Connection& c, const xlsx::Workbook& workbook, const SheetSpec& layout) {
  std::vector<xlsx::Row> rows;
  try {
    rows = workbook.rows(layout.sheet);
  } catch (const xlsx::Error& e) {
    raiseError(dberr::kExternalFormat, e.what());
  }

  std::size_t headerIndex = 0;
  while (headerIndex < rows.size() && rowIsEmpty(rows[headerIndex])) ++headerIndex;
  std::size_t width = 0;
  for (std::size_t r = headerIndex; r < rows.size(); ++r) {
    const auto& row = rows[r];
    for (std::size_t i = row.size(); i > width; --i)
      if (!row[i - 1].empty()) {
        width = i;
        break;
      }
  }
  // A table has a bounded number of columns; a sheet wider than that is refused before its
  // columns are named, which costs as much as the sheet is wide.
  if (const std::size_t limit = c.columnLimit(); width > limit)
    raiseError(dberr::kTooManyFields, "ブック '" + workbook.path() + "' のシート '" + std::string(layout.sheet) +
                                          "' は " + std::to_string(width) + " 列あります。読める列は " +
                                          std::to_string(limit) + " 列までです。使っていない列のセルを消して下さい。");
  const std::vector<std::string> names =
      columnNames(headerIndex < rows.size() ? &rows[headerIndex] : nullptr, width);
  std::vector<Kind> kinds;
  for (const auto& n : names) kinds.push_back(kindOf(layout, n));

  const std::string table = quoteIdentifier(layout.table);
  c.exec("DROP TABLE IF EXISTS " + table);
  std::string create = "CREATE TABLE " + table + " (";
  std::string insert = "INSERT INTO " + table + " VALUES (";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i) {
      create += ", ";
      insert += ", ";
    }
    create += quoteIdentifier(names[i]) + declaredType(kinds[i]);
    insert += "?";
  }
  c.exec(create + ")");

  Statement ins(c, insert + ")", layout.table);
  for (std::size_t r = headerIndex + 1; r < rows.size(); ++r) {
    const auto& row = rows[r];
    if (rowIsEmpty(row)) continue;  // a blank line in the sheet is no pipe
    for (std::size_t i = 0; i < names.size(); ++i) {
      static const xlsx::CellValue kEmpty{};
      bindCell(ins, static_cast<int>(i + 1), i < row.size() ? row[i] : kEmpty, kinds[i]);
    }
    ins.step();
    ins.reset();
  }

  std::vector<std::string> missing;
  for (const auto& col : layout.columns) {
    bool found = false;
    for (const auto& n : names) found = found || sameColumnName(n, col.name);
    if (!found) missing.emplace_back(col.name);
  }
  return missing;
}

void createLinkCatalog(Connection& c) {
  c.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kLinkCatalog +
         " (name TEXT, sheet TEXT, workbook TEXT, stamp TEXT, error TEXT)");
}

void recordLink(Connection& c, const SheetSpec& layout, const std::string& workbookPath, const std::string& stamp) {
  Statement del(c, std::string("DELETE FROM ") + kLinkCatalog + " WHERE name = ?1");
  del.bind(1, std::string_view(layout.table));
  del.step();
  Statement ins(c, std::string("INSERT INTO ") + kLinkCatalog + " VALUES (?1, ?2, ?3, ?4, NULL)");
  ins.bind(1, std::string_view(layout.table)).bind(2, std::string_view(layout.sheet)).bind(3, workbookPath).bind(4, stamp);
  ins.step();
}

void refreshLinks(Connection& c, const std::string& table) {
  struct Link {
    std::string name, sheet, workbook, stamp;
    std::optional<std::string> error;
  };
  std::vector<Link> links;
  std::optional<Link> wanted;
  {
    Statement s(c, std::string("SELECT name, sheet, workbook, stamp, error FROM ") + kLinkCatalog +
                       " ORDER BY rowid");
    while (s.step()) {
      Link l{s.text(0).value_or(""), s.text(1).value_or(""), s.text(2).value_or(""), s.text(3).value_or(""),
             s.text(4)};
      if (l.name == table) wanted = l;
      links.push_back(std::move(l));
    }
  }
  if (!wanted) return;

  std::optional<std::string> now = fileStamp(wanted->workbook);
  if (!now) raiseError(dberr::kFileNotFound, "ファイル '" + wanted->workbook + "' が見つかりません。");
  if (*now != wanted->stamp) {
    // A workbook refused once is refused again, without reading it again, until it changes.
    auto& refused = refusedWorkbooks();
    if (auto found = refused.find(wanted->workbook); found != refused.end() && found->second.first == *now)
      throw found->second.second;
    std::optional<xlsx::Workbook> opened;
    try {
      opened.emplace(openWorkbook(wanted->workbook));
    } catch (const RuntimeError& e) {
      refused.insert_or_assign(wanted->workbook, std::make_pair(*now, e));
      throw;
    }
    refused.erase(wanted->workbook);
    xlsx::Workbook& workbook = *opened;
    inTransaction(c, [&] {
      Statement mark(c, std::string("UPDATE ") + kLinkCatalog + " SET stamp = ?1, error = ?2 WHERE name = ?3");
      for (auto& l : links) {
        if (l.workbook != wanted->workbook || l.stamp == *now) continue;
        const SheetSpec* layout = nullptr;
        for (const auto& s : workbookSheets())
          if (l.name == s.table) layout = &s;
        if (!layout) continue;
        l.error.reset();
        if (workbook.hasSheet(l.sheet)) {
          importSheet(c, workbook, *layout);
        } else {
          c.exec("DROP TABLE IF EXISTS " + quoteIdentifier(l.name));
          l.error = "シート '" + l.sheet + "' がブック '" + l.workbook + "' に見つかりません。";
        }
        mark.bind(1, *now);
        if (l.error)
          mark.bind(2, *l.error);
        else
          mark.bindNull(2);
        mark.bind(3, l.name);
        mark.step();
        mark.reset();
        if (l.name == table) wanted->error = l.error;
      }
    });
  }
  if (wanted->error) raiseError(dberr::kObjectNotFound, *wanted->error);
}

bool refreshAllLinksCleanly(Connection& c) {
  try {
    struct Link {
      std::string name, workbook;
    };
    std::vector<Link> links;
    {
      Statement s(c, std::string("SELECT name, workbook FROM ") + kLinkCatalog + " ORDER BY rowid");
      while (s.step()) links.push_back({s.text(0).value_or(""), s.text(1).value_or("")});
    }
    inTransaction(c, [&] {
      std::map<std::string, std::pair<xlsx::Workbook, std::string>> books;  // path -> workbook, stamp
      Statement mark(c, std::string("UPDATE ") + kLinkCatalog + " SET stamp = ?1, error = NULL WHERE name = ?2");
      for (const auto& l : links) {
        auto book = books.find(l.workbook);
        if (book == books.end()) {
          std::optional<std::string> stamp = fileStamp(l.workbook);
          if (!stamp) raiseError(dberr::kFileNotFound);
          book = books.emplace(l.workbook, std::make_pair(openWorkbook(l.workbook), *stamp)).first;
        }
        const SheetSpec& layout = sheetSpec(l.name);
        if (!book->second.first.hasSheet(layout.sheet)) raiseError(dberr::kObjectNotFound);
        if (!importSheet(c, book->second.first, layout).empty()) raiseError(dberr::kFieldNotFound);
        mark.bind(1, book->second.second).bind(2, l.name);
        mark.step();
        mark.reset();
      }
    });
    return true;
  } catch (const ProgramAborted&) {
    throw;
  } catch (const std::exception&) {
    return false;
  }
}

std::vector<std::string> tableColumns(Connection& c, const std::string& table) {
  std::vector<std::string> out;
  Statement s(c, "SELECT name FROM pragma_table_info(?1)");
  s.bind(1, table);
  while (s.step()) out.push_back(s.text(0).value_or(""));
  return out;
}

}  // namespace tovakin::calc::pipedb
