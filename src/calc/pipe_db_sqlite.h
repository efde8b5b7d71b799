#pragma once
// A thin layer over SQLite for the pipe database: one connection per use, prepared statements
// with bound parameters, the Japanese collation "ja" on every connection, and SQLite failures
// turned into the program's run-time errors with texts that name the file, table or column.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "calc/layer.h"
#include "platform/error_box.h"

struct sqlite3;
struct sqlite3_stmt;

namespace tovakin::calc::pipedb {

// Error numbers of the database engine the program reports (with texts of our own).
namespace dberr {
inline constexpr int kObjectNotFound = 3011;    // a sheet the link asks for is not in the workbook
inline constexpr int kFileNotFound = 3024;      // the database or the workbook file is missing
inline constexpr int kCannotOpen = 3051;        // the file exists but cannot be opened
inline constexpr int kTableNotFound = 3078;     // a table the query reads is not in the database
inline constexpr int kUnknownInsertField = 3127;  // a column the copy needs is not in the target
inline constexpr int kTooManyFields = 3190;     // a sheet has more columns than a table may
inline constexpr int kFieldNotFound = 3265;     // a column the program reads is missing
inline constexpr int kExternalFormat = 3274;    // the workbook is not a readable workbook
inline constexpr int kUnrecognizedDatabase = 3343;  // the database file is not a database
}  // namespace dberr

// Compares two UTF-8 texts in Japanese order (ICU, locale "ja"); texts the collator finds equal
// but that differ in their bytes are ordered by their bytes, so equal means identical.
int compareJapanese(std::string_view a, std::string_view b);

// SQLite compares identifiers without regard to ASCII case, so column names are matched so too.
bool sameColumnName(std::string_view a, std::string_view b);

// An SQL identifier in double quotes, inner quotes doubled.
std::string quoteIdentifier(std::string_view name);

class Statement;

// One open database. Closed by the destructor.
class Connection {
 public:
  enum class Mode { OpenExisting, CreateNew };
  // OpenExisting raises kFileNotFound when there is no file at the path; CreateNew creates or
  // opens the file read-write. Messages name `shownAs` when given: the file a database being
  // built in a temporary file is going to be.
  Connection(const std::string& path, Mode mode, const std::string& shownAs = {});
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  const std::string& path() const { return path_; }
  sqlite3* handle() const { return db_; }

  // The most columns a table of this connection may have.
  std::size_t columnLimit() const;

  // Runs statements without results; raises on failure.
  void exec(const std::string& sql);

  // Raises the error the last failed call left on the connection. `table` names the table the
  // statement was about, for the text of a missing column.
  [[noreturn]] void fail(int rc, const std::string& table = {}) const;

 private:
  std::string path_, shownAs_;
  sqlite3* db_ = nullptr;
};

// One prepared statement; parameters are 1-based as in SQLite.
class Statement {
 public:
  Statement(Connection& connection, const std::string& sql, const std::string& table = {});
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int index, std::string_view text);
  Statement& bind(int index, double value);
  Statement& bind(int index, std::int64_t value);
  Statement& bindNull(int index);
  // True while there is a row to read.
  bool step();
  void reset();

  int columnCount() const;
  // The cell of a number column: nullopt for Null; a text or binary value raises a type mismatch
  // (13) that names the column.
  std::optional<double> number(int column) const;
  // The cell as text: numbers in their shortest decimal text; nullopt for Null.
  std::optional<std::string> text(int column) const;

 private:
  Connection& connection_;
  sqlite3_stmt* stmt_ = nullptr;
  std::string table_;
};

// Everything inside runs in one transaction: committed when `work` returns, rolled back when it
// throws.
template <class Work>
void inTransaction(Connection& c, Work&& work) {
  c.exec("BEGIN IMMEDIATE");
  try {
    work();
  } catch (...) {
    try {
      c.exec("ROLLBACK");
    } catch (...) {
    }
    throw;
  }
  c.exec("COMMIT");
}

}  // namespace tovakin::calc::pipedb
