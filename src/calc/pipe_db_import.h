#pragma once
// Workbook sheets as tables of the pipe database.
//
// A sheet becomes a table whose columns are named by the sheet's first row and whose rows are
// the sheet's further rows in sheet order (the rowid keeps that order). The columns the program
// reads have a fixed kind: text columns hold texts (a number cell becomes its shortest decimal
// text), number columns hold numbers (a text cell that reads as a number becomes that number;
// any other text is kept as text, and reading it as a number is a type mismatch). Other columns
// keep each cell's own type. An empty cell is Null.
//
// A linked table stands for a sheet that is read live: the catalog of links records which
// sheet of which workbook a table mirrors and the file stamp of the workbook when it was read;
// refreshLinks() re-reads the sheets whenever the workbook file has changed since.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/layer.h"
#include "calc/pipe_db_sqlite.h"
#include "platform/xlsx.h"

namespace tovakin::calc::pipedb {

enum class ColumnKind { Text, Number, Native };

struct ColumnSpec {
  const char* name;
  ColumnKind kind;
};

// A sheet the program reads, the table it becomes and the columns it must have.
struct SheetSpec {
  const char* table;
  const char* sheet;
  std::vector<ColumnSpec> columns;
};

// The five sheets of the pipe-material workbook, in the order the rebuild links them.
const std::vector<SheetSpec>& workbookSheets();
const SheetSpec& sheetSpec(std::string_view table);

// Opens the workbook; a missing file raises kFileNotFound, an unreadable one kExternalFormat.
xlsx::Workbook openWorkbook(const std::string& path);

// An identity of the file's current content as far as the file system tells (modification time
// to the nanosecond, size, inode); nullopt when there is no file.
std::optional<std::string> fileStamp(const std::string& path);

// (Re)creates the table from the sheet; the sheet must exist. Returns the listed columns
// that the sheet's first row lacks.
std::vector<std::string> importSheet(Connection& c, const xlsx::Workbook& workbook, const SheetSpec& layout);

// The catalog of links.
void createLinkCatalog(Connection& c);
void recordLink(Connection& c, const SheetSpec& layout, const std::string& workbookPath, const std::string& stamp);

// Makes the linked table current: when the workbook has changed since its sheets were last read,
// every link to it is read again in one transaction. Raises when the workbook cannot be read or
// the table's sheet is gone. A table that is no link is left alone.
void refreshLinks(Connection& c, const std::string& table);

// Reads every link again, all in one transaction, and only when the workbook reads cleanly: it
// opens, has every linked sheet and each has the columns the program reads. False (and the
// tables as they were) otherwise.
bool refreshAllLinksCleanly(Connection& c);

// The columns of a table in order (empty when there is no such table).
std::vector<std::string> tableColumns(Connection& c, const std::string& table);

}  // namespace tovakin::calc::pipedb
