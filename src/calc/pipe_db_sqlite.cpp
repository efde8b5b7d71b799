#include "calc/pipe_db_sqlite.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "app/number_format.h"
#include "calc/layer.h"
#include "platform/file_system.h"

namespace tovakin::calc::pipedb {
namespace {

// One collator for the whole run: opening it costs far more than a lookup, and it is only read.
const UCollator* japaneseCollator() {
  static const UCollator* collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* c = ucol_open("ja", &status);
    if (U_FAILURE(status)) {
      if (c) ucol_close(c);
      return static_cast<UCollator*>(nullptr);
    }
    return c;
  }();
  return collator;
}

int compareBytes(std::string_view a, std::string_view b) {
  int r = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
  if (r != 0) return r < 0 ? -1 : 1;
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int collateJapanese(void*, int lengthA, const void* a, int lengthB, const void* b) {
  return compareJapanese(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
                         std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The errno of the last failed call on the database file itself: the connection's own record of
// a system error may hold an errno of some later call.
int lastFileErrno(sqlite3* db) {
  int cause = 0;
  if (!db || sqlite3_file_control(db, "main", SQLITE_FCNTL_LAST_ERRNO, &cause) != SQLITE_OK) return 0;
  return cause;
}

}  // namespace

int compareJapanese(std::string_view a, std::string_view b) {
  if (const UCollator* c = japaneseCollator()) {
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r = ucol_strcollUTF8(c, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                          static_cast<int32_t>(b.size()), &status);
    if (U_SUCCESS(status) && r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
  }
  return compareBytes(a, b);
}

bool sameColumnName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && sqlite3_strnicmp(a.data(), b.data(), static_cast<int>(a.size())) == 0;
}

std::string quoteIdentifier(std::string_view name) {
  std::string out = "\"";
  for (char ch : name) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
  return out;
}

// ---------------------------------------------------------------------------------------------
// Connection

namespace {

// The database engine's own texts are English; the box gives its code, for whoever looks
// further, in place of them.
std::string engineCode(int rc) { return "（データベースエンジンのエラーコード " + std::to_string(rc) + "）"; }

}  // namespace

Connection::Connection(const std::string& path, Mode mode, const std::string& shownAs)
    : path_(path), shownAs_(shownAs.empty() ? path : shownAs) {
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
  if (mode == Mode::CreateNew) flags |= SQLITE_OPEN_CREATE;
  int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_close(db_);
    db_ = nullptr;
    // Without the create flag a missing file cannot be opened; nothing is created in its place.
    struct stat st;
    if (mode == Mode::OpenExisting && (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)))
      raiseError(dberr::kFileNotFound, "ファイル '" + shownAs_ + "' が見つかりません。");
    raiseError(dberr::kCannotOpen, "データベース '" + shownAs_ + "' を開けません。" + engineCode(rc));
  }
  rc = sqlite3_create_collation_v2(db_, "ja", SQLITE_UTF8, nullptr, collateJapanese, nullptr);
  if (rc != SQLITE_OK) {
    try {
      fail(rc);
    } catch (...) {
      sqlite3_close(db_);
      db_ = nullptr;
      throw;
    }
  }
}

Connection::~Connection() {
  if (db_) sqlite3_close_v2(db_);
}

std::size_t Connection::columnLimit() const {
  return static_cast<std::size_t>(sqlite3_limit(db_, SQLITE_LIMIT_COLUMN, -1));
}

void Connection::exec(const std::string& sql) {
  int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) fail(rc);
}

void Connection::fail(int rc, const std::string& table) const {
  const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  switch (rc & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      raiseError(dberr::kUnrecognizedDatabase, "データベース '" + shownAs_ + "' の形式を認識できません。");
    case SQLITE_CANTOPEN:
      raiseError(dberr::kCannotOpen, "データベース '" + shownAs_ + "' を開けません。" + engineCode(rc));
    case SQLITE_FULL:
      raiseWriteError(WriteResult(ENOSPC), shownAs_);
    case SQLITE_IOERR:
      if (const int cause = lastFileErrno(db_); writeErrorNumber(cause) == err::kDiskFull)
        raiseWriteError(WriteResult(cause), shownAs_);
      break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
      raiseError(err::kPermissionDenied, "書き込みできません。データベース '" + shownAs_ + "' は読み取り専用です。");
    default:
      break;
  }
  if (startsWith(message, "no such table: "))
    raiseError(dberr::kTableNotFound, "テーブル '" + message.substr(15) + "' がデータベース '" + shownAs_ +
                                          "' にありません。");
  if (startsWith(message, "no such column: ")) {
    std::string column = message.substr(16);
    raiseError(dberr::kFieldNotFound, table.empty()
                                          ? "列 '" + column + "' がありません。"
                                          : "列 '" + column + "' がテーブル '" + table + "' にありません。");
  }
  raiseError(err::kApplication, "データベース '" + shownAs_ + "' を処理できません。" + engineCode(rc));
}

// ---------------------------------------------------------------------------------------------
// Statement

Statement::Statement(Connection& connection, const std::string& sql, const std::string& table)
    : connection_(connection), table_(table) {
  int rc = sqlite3_prepare_v2(connection.handle(), sql.c_str(), static_cast<int>(sql.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    connection.fail(rc, table);
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, std::string_view text) {
  int rc = sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) connection_.fail(rc, table_);
  return *this;
}

Statement& Statement::bind(int index, double value) {
  int rc = sqlite3_bind_double(stmt_, index, value);
  if (rc != SQLITE_OK) connection_.fail(rc, table_);
  return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
  int rc = sqlite3_bind_int64(stmt_, index, value);
  if (rc != SQLITE_OK) connection_.fail(rc, table_);
  return *this;
}

Statement& Statement::bindNull(int index) {
  int rc = sqlite3_bind_null(stmt_, index);
  if (rc != SQLITE_OK) connection_.fail(rc, table_);
  return *this;
}

bool Statement::step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  connection_.fail(rc, table_);
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

std::optional<double> Statement::number(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL: return std::nullopt;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return sqlite3_column_double(stmt_, column);
    default: break;
  }
  const char* name = sqlite3_column_name(stmt_, column);
  std::string where = table_.empty() ? std::string(name ? name : "") : table_ + "." + (name ? name : "");
  std::string value = text(column).value_or("");
  raiseError(err::kTypeMismatch, errorDescription(err::kTypeMismatch) + "(" + where + " の値 '" + value +
                                     "' は数値ではありません)");
}

std::optional<std::string> Statement::text(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL: return std::nullopt;
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return formatGeneral(sqlite3_column_double(stmt_, column));
    default: break;
  }
  const char* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  int n = sqlite3_column_bytes(stmt_, column);
  return std::string(p ? p : "", static_cast<std::size_t>(n));
}

}  // namespace tovakin::calc::pipedb
