#include "calc/pipe_database.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>

#include "app/app_state.h"
#include "calc/layer.h"
#include "calc/pipe_db_import.h"
#include "calc/pipe_db_sqlite.h"
#include "platform/error_box.h"
#include "platform/file_system.h"

namespace tovakin::calc {

using pipedb::Connection;
using pipedb::Statement;
namespace dberr = pipedb::dberr;

namespace {

constexpr const char* kDatabaseFolder = "DATABASE/";
constexpr const char* kRebuildLabel = "CreateMyDatabase";
// What to do about a workbook whose linked sheets cannot be read again during the run.
constexpr const char* kMendWorkbook = " ブックを直して保存してから、もう一度実行して下さい。";

std::string joinNames(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "'" : ", '") + n + "'";
  return out;
}

// The names of `wanted` that no name of `present` matches, compared as the database compares
// column names.
std::vector<std::string> columnsMissing(const std::vector<std::string>& wanted, const std::vector<std::string>& present) {
  std::vector<std::string> lacking;
  for (const std::string& name : wanted)
    if (std::none_of(present.begin(), present.end(), [&](const std::string& p) { return pipedb::sameColumnName(p, name); }))
      lacking.push_back(name);
  return lacking;
}

// Any journal SQLite may have left beside the old database goes before the new one takes its
// place: a journal of the old file must never be rolled back into the new one.
void removeJournals(const std::string& dbPath) {
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    const std::string path = dbPath + suffix;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
      raiseError(err::kPermissionDenied, "書き込みできません。ファイル '" + path + "' を削除できません。");
  }
}

// How the database of an application folder stands after this run's rebuild. Kept: the rebuild
// failed and the previous database stays in use as it was; its links answer from the kept copy
// and are not read again from the workbook that was refused (refusedStamp, "" when it was
// missing) until a changed workbook reads cleanly. problem: why the database in place cannot
// answer a calculation at all.
struct Standing {
  std::string workbook;
  bool rebuildFailed = false;
  bool kept = false;
  std::string refusedStamp;
  std::optional<std::string> problem;
};

std::map<std::string, Standing>& standings() {
  static std::map<std::string, Standing> byDatabase;
  return byDatabase;
}

Standing* standingOf(const std::string& dbPath) {
  auto found = standings().find(dbPath);
  return found == standings().end() ? nullptr : &found->second;
}

// The tables the lookups and the pipe selection read.
constexpr const char* kQueriedTables[] = {"管DB", "管材データ", "モーメント係数", "標準溝幅"};

// Why the database at the path cannot answer a calculation: no file, or tables missing.
std::optional<std::string> problemOf(const std::string& dbPath, const std::string& workbookPath) {
  const std::string advice = "ブック '" + workbookPath + "' を直してから、Tovakin を起動し直して下さい。";
  if (!fileExists(dbPath))
    return "管材データベース '" + dbPath + "' がありません。管材のデータがないため計算できません。" + advice;
  std::vector<std::string> missing;
  std::string missingColumns;  // "表 'T' に列 'a', 'b' がなく、" for each table that lacks some
  try {
    Connection c(dbPath, Connection::Mode::OpenExisting);
    for (const char* table : kQueriedTables) {
      const std::vector<std::string> columns = pipedb::tableColumns(c, table);
      if (columns.empty()) {
        missing.emplace_back(table);
        continue;
      }
      // 管DB has the columns of the rigid-pipe sheet; the other tables those of their own sheet.
      const std::string_view sheet = std::string_view(table) == "管DB" ? "不とう性管" : table;
      // Every column the calculation reads must stand in the table.
      std::vector<std::string> read;
      for (const pipedb::ColumnSpec& column : pipedb::sheetSpec(sheet).columns) read.emplace_back(column.name);
      const std::vector<std::string> lacking = columnsMissing(read, columns);
      if (!lacking.empty()) missingColumns += "表 '" + std::string(table) + "' に列 " + joinNames(lacking) + " がなく、";
    }
  } catch (const RuntimeError& e) {
    return "管材データベース '" + dbPath + "' を読めません。" + e.description() + advice;
  }
  if (!missing.empty())
    return "管材データベース '" + dbPath + "' に表 " + joinNames(missing) +
           " がありません。管材のデータが揃わないため計算できません。" + advice;
  if (!missingColumns.empty())
    return "管材データベース '" + dbPath + "' の" + missingColumns + "管材のデータが揃わないため計算できません。" +
           advice;
  return std::nullopt;
}

// The rebuild: every step under the error box. The first failure is the one box of the rebuild:
// with a previous database the rebuild stops there and keeps that database; without one the
// remaining steps still build what they can, without a box of their own (what is then missing
// is named where it is needed). The new database is built in a hidden temporary file beside the
// old one and replaces it only when every step completed.
class Rebuild {
 public:
  explicit Rebuild(const std::string& appPath)
      : dbPath_(pipeDatabasePath(appPath)),
        workbookPath_(pipeWorkbookPath(appPath)),
        hadPrevious_(fileExists(dbPath_)) {}

  void run() {
    build();
    if (complete_ || !hadPrevious_) {
      // Without a previous database, what could be built is better than none.
      if (!step([&] { finish(); })) discardTemp();
    } else {
      discardTemp();
    }
    Standing standing;
    standing.workbook = workbookPath_;
    standing.rebuildFailed = !complete_;
    standing.kept = !complete_ && hadPrevious_;
    if (standing.kept) standing.refusedStamp = pipedb::fileStamp(workbookPath_).value_or("");
    if (!complete_) standing.problem = problemOf(dbPath_, workbookPath_);
    standings()[dbPath_] = std::move(standing);
  }

 private:
  void build() {
    if (!step([&] { createDatabase(); })) return;
    const bool haveWorkbook = step([&] { loadWorkbook(); }, true);
    const auto& sheets = pipedb::workbookSheets();
    const bool rigid = haveWorkbook && link(sheets[0]);
    const bool flexible = haveWorkbook && link(sheets[1]);
    const bool kanDB = rigid && step([&] { copyRigidPipes(); }, true);
    if (kanDB && flexible) step([&] { appendFlexiblePipes(); }, true);
    for (std::size_t i = 2; i < sheets.size(); ++i)
      if (haveWorkbook) link(sheets[i]);
  }

  // One step. A failure of the workbook's says what the user can do about it.
  template <class F>
  bool step(F&& f, bool aboutWorkbook = false) {
    if (!complete_ && hadPrevious_) return false;  // the previous database stays: nothing more to do
    if (!complete_) {
      // Told once already; what this step cannot make is named where it is needed.
      bool done = false;
      try {
        f();
        done = true;
      } catch (const ProgramAborted&) {
        throw;
      } catch (const std::exception&) {
      }
      return done;
    }
    std::string advice;
    if (hadPrevious_)
      advice = " 前回のデータベース '" + dbPath_ + "' をそのまま使います。";
    if (aboutWorkbook)
      advice += hadPrevious_ ? "ブックを直して Tovakin を起動し直すと、データベースを作り直します。"
                             : " ブックを直してから、Tovakin を起動し直して下さい。";
    const bool done = guardStep(kRebuildLabel, [&] {
      if (advice.empty()) return f();
      try {
        f();
      } catch (const RuntimeError& e) {
        throw RuntimeError(e.number(), e.description() + advice);
      } catch (const ProgramAborted&) {
        throw;
      } catch (const std::exception& e) {
        throw RuntimeError(err::kApplication, e.what() + advice);
      }
    });
    complete_ = complete_ && done;
    return done;
  }

  void createDatabase() {
    discardTemp();
    replacement_ = std::make_unique<FileReplacement>(dbPath_);
    if (WriteResult ready = replacement_->ready(); !ready) raiseWriteError(ready, dbPath_);
    db_ = std::make_unique<Connection>(replacement_->temporaryPath(), Connection::Mode::CreateNew, dbPath_);
    // Derived data, rebuilt at every start and renamed into place when complete, where the
    // replacement syncs it: no journal file and no waiting for the disk meanwhile.
    db_->exec("PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF;");
    pipedb::createLinkCatalog(*db_);
  }

  void loadWorkbook() {
    std::optional<std::string> stamp = pipedb::fileStamp(workbookPath_);
    if (!stamp) raiseError(dberr::kFileNotFound, "ファイル '" + workbookPath_ + "' が見つかりません。");
    workbook_ = std::make_unique<xlsx::Workbook>(pipedb::openWorkbook(workbookPath_));
    stamp_ = *stamp;
  }

  // Links one sheet: its table mirrors the sheet and is read again whenever the workbook changes.
  // A sheet that lacks columns the program reads is linked with the columns it has.
  bool link(const pipedb::SheetSpec& layout) {
    bool linked = false, again = false;
    step(
        [&] {
      if (again) loadWorkbook();  // Retry: the user may have mended the workbook meanwhile
      again = true;
      if (!workbook_->hasSheet(layout.sheet))
        raiseError(dberr::kObjectNotFound,
                   "シート '" + std::string(layout.sheet) + "' がブック '" + workbookPath_ + "' に見つかりません。");
      std::vector<std::string> missing;
      pipedb::inTransaction(*db_, [&] {
        missing = pipedb::importSheet(*db_, *workbook_, layout);
        pipedb::recordLink(*db_, layout, workbookPath_, stamp_);
      });
      linked = true;
      if (!missing.empty())
        raiseError(dberr::kFieldNotFound, "ブック '" + workbookPath_ + "' のシート '" + std::string(layout.sheet) +
                                              "' に列 " + joinNames(missing) + " がありません。");
        },
        true);
    return linked;
  }

  // 管DB takes the columns of the rigid-pipe sheet and its rows in sheet order.
  void copyRigidPipes() {
    pipedb::inTransaction(*db_, [&] {
      db_->exec("DROP TABLE IF EXISTS 管DB");
      std::string decl;
      Statement info(*db_, "SELECT name, type FROM pragma_table_info('不とう性管')");
      while (info.step()) {
        if (!decl.empty()) decl += ", ";
        decl += pipedb::quoteIdentifier(info.text(0).value_or(""));
        std::string type = info.text(1).value_or("");
        if (!type.empty()) decl += " " + type;
      }
      db_->exec("CREATE TABLE 管DB (" + decl + ")");
      db_->exec("INSERT INTO 管DB SELECT * FROM 不とう性管 ORDER BY rowid");
    });
  }

  // The flexible-pipe rows follow, columns matched by name. A column the rigid-pipe sheet lacks
  // stops the copy: 管DB then holds the rigid pipes only.
  void appendFlexiblePipes() {
    const std::vector<std::string> target = pipedb::tableColumns(*db_, "管DB");
    const std::vector<std::string> source = pipedb::tableColumns(*db_, "とう性管");
    const std::vector<std::string> unknown = columnsMissing(source, target);
    std::string columns;
    for (const auto& s : source) {
      if (!columns.empty()) columns += ", ";
      columns += pipedb::quoteIdentifier(s);
    }
    if (!unknown.empty())
      raiseError(dberr::kUnknownInsertField,
                 "シート 'とう性管' の列 " + joinNames(unknown) +
                     " がシート '不とう性管' にないため、とう性管の行を管DBに写せません。");
    pipedb::inTransaction(*db_, [&] {
      db_->exec("INSERT INTO 管DB (" + columns + ") SELECT " + columns + " FROM とう性管 ORDER BY rowid");
    });
  }

  void finish() {
    db_.reset();  // closed before the file is renamed and its descriptor closed
    removeJournals(dbPath_);
    if (WriteResult renamed = replacement_->commit(); !renamed) raiseWriteError(renamed, dbPath_);
    replacement_.reset();
  }

  void discardTemp() {
    db_.reset();
    replacement_.reset();
  }

  std::string dbPath_, workbookPath_, stamp_;
  bool hadPrevious_;
  bool complete_ = true;
  std::unique_ptr<FileReplacement> replacement_;
  std::unique_ptr<Connection> db_;
  std::unique_ptr<xlsx::Workbook> workbook_;
};

std::optional<double> firstNumber(Statement& s) {
  if (!s.step()) return std::nullopt;
  return s.number(0);
}

std::vector<std::optional<std::string>> allTexts(Statement& s) {
  std::vector<std::optional<std::string>> out;
  while (s.step()) out.push_back(s.text(0));
  return out;
}

}  // namespace

std::string pipeDatabasePath(const std::string& appPath) { return appPath + kDatabaseFolder + "Tovakin.MDB"; }
std::string pipeWorkbookPath(const std::string& appPath) { return appPath + kDatabaseFolder + "Tovakin.xlsx"; }

void CreateMyDatabase(const std::string& appPath) { Rebuild(appPath).run(); }
void CreateMyDatabase() { CreateMyDatabase(g_app.g_appPath); }

// ---------------------------------------------------------------------------------------------
// Lookups. Where several rows match, the first in the stated order is read; rows equal in that
// order keep the order of the sheet.

SqlitePipeDataSource::SqlitePipeDataSource(const std::string& appPath) : databasePath_(pipeDatabasePath(appPath)) {}

std::optional<std::string> SqlitePipeDataSource::unavailable() {
  const Standing* standing = standingOf(databasePath_);
  return standing ? standing->problem : std::nullopt;
}

void SqlitePipeDataSource::refresh(Connection& c, const std::string& table) {
  Standing* standing = standingOf(databasePath_);
  if (!standing) return pipedb::refreshLinks(c, table);
  if (!standing->kept) {
    // The workbook changed while the program runs and cannot be read again: the message names
    // it (the reader's texts do) and says how to go on.
    try {
      pipedb::refreshLinks(c, table);
    } catch (const RuntimeError& e) {
      if (e.number() != dberr::kFileNotFound && e.number() != dberr::kObjectNotFound &&
          e.number() != dberr::kExternalFormat && e.number() != dberr::kTooManyFields)
        throw;
      throw RuntimeError(e.number(), e.description() + kMendWorkbook);
    }
    return;
  }
  // The kept database answers as it stood. A workbook changed since it was refused is tried
  // once per change: when it reads cleanly its sheets are taken and read live from then on.
  const std::optional<std::string> now = pipedb::fileStamp(standing->workbook);
  if (!now || *now == standing->refusedStamp) return;
  if (pipedb::refreshAllLinksCleanly(c))
    standing->kept = false;
  else
    standing->refusedStamp = *now;
}

template <class Query>
auto SqlitePipeDataSource::answer(Query&& query) {
  try {
    return query();
  } catch (const RuntimeError& e) {
    const Standing* standing = standingOf(databasePath_);
    if (!standing) throw;
    // A table or column the start-up could not make from the workbook: only a new start after
    // the workbook is mended makes it.
    const bool missing = e.number() == dberr::kTableNotFound || e.number() == dberr::kFileNotFound ||
                         e.number() == dberr::kFieldNotFound;
    if (standing->rebuildFailed && missing)
      throw RuntimeError(e.number(), e.description() + " 起動時にブック '" + standing->workbook +
                                         "' から作れませんでした。ブックを直してから、Tovakin を起動し直して下さい。");
    // A linked sheet read again from a workbook changed since, without a column the query reads:
    // the refresh links a sheet with the columns it has, so only the query finds one missing. It
    // is read again at the next lookup once the workbook is mended and saved.
    if (e.number() == dberr::kFieldNotFound)
      throw RuntimeError(e.number(), e.description() + " ブック '" + standing->workbook +
                                         "' のシートにこの列がありません。" + kMendWorkbook);
    throw;
  }
}

namespace {

std::optional<double> crackPressure(const std::string& dbPath, const char* column, const std::string& kanshu,
                                    const std::string& kikaku, double yobikei) {
  Connection c(dbPath, Connection::Mode::OpenExisting);
  Statement s(c,
              std::string("SELECT ") + column +
                  " FROM 管DB WHERE 管種 = ?1 AND 規格 = ?2 AND 呼び径 = ?3"
                  " ORDER BY 管種 COLLATE ja, 規格 COLLATE ja, 呼び径, rowid LIMIT 1",
              "管DB");
  s.bind(1, kanshu).bind(2, kikaku).bind(3, yobikei);
  return firstNumber(s);
}

const char* materialQuery(MaterialColumn column) {
  switch (column) {
    case MaterialColumn::UnitWeight:
      return "SELECT 単位体積重量 FROM 管材データ WHERE 管種 = ?1 ORDER BY 管種 COLLATE ja, rowid LIMIT 1";
    case MaterialColumn::Elasticity:  // the smallest modulus first
      return "SELECT 弾性係数 FROM 管材データ WHERE 管種 = ?1 ORDER BY 弾性係数, rowid LIMIT 1";
    case MaterialColumn::Class:
      return "SELECT 管材区分 FROM 管材データ WHERE 管種 = ?1 ORDER BY 管種 COLLATE ja, rowid LIMIT 1";
    case MaterialColumn::Tensile:
      return "SELECT 引張応力 FROM 管材データ WHERE 管種 = ?1 ORDER BY rowid LIMIT 1";
    case MaterialColumn::AllowableTensile:
      return "SELECT 許容引張応力度 FROM 管材データ WHERE 管種 = ?1 ORDER BY rowid LIMIT 1";
  }
  return "";
}

}  // namespace

std::optional<double> SqlitePipeDataSource::crackExternalPressure(const std::string& kanshu,
                                                                  const std::string& kikaku, double yobikei) {
  return answer([&] { return crackPressure(databasePath_, "ひびわれ外圧", kanshu, kikaku, yobikei); });
}

std::optional<double> SqlitePipeDataSource::crackInternalPressure(const std::string& kanshu,
                                                                  const std::string& kikaku, double yobikei) {
  return answer([&] { return crackPressure(databasePath_, "ひびわれ内圧", kanshu, kikaku, yobikei); });
}

std::optional<double> SqlitePipeDataSource::material(const std::string& kanshu, MaterialColumn column) {
  return answer([&] {
    Connection c(databasePath_, Connection::Mode::OpenExisting);
    refresh(c, "管材データ");
    Statement s(c, materialQuery(column), "管材データ");
    s.bind(1, kanshu);
    return firstNumber(s);
  });
}

std::optional<double> SqlitePipeDataSource::eiValue(const std::string& kanshu, const std::string& kikaku,
                                                    double yobikei) {
  return answer([&] {
    Connection c(databasePath_, Connection::Mode::OpenExisting);
    Statement s(c, "SELECT EI値 FROM 管DB WHERE 管種 = ?1 AND 規格 = ?2 AND 呼び径 = ?3 ORDER BY rowid LIMIT 1",
                "管DB");
    s.bind(1, kanshu).bind(2, kikaku).bind(3, yobikei);
    return firstNumber(s);
  });
}

std::optional<double> SqlitePipeDataSource::momentCoefficient(const std::string& taishoKan,
                                                              const std::string& taishoKaju, std::int32_t shijikaku,
                                                              const std::string& shoJoken) {
  return answer([&] {
    Connection c(databasePath_, Connection::Mode::OpenExisting);
    refresh(c, "モーメント係数");
    Statement s(c,
                "SELECT 係数 FROM モーメント係数 WHERE 対象管 = ?1 AND 対象荷重 = ?2 AND 設計支持角 = ?3"
                " AND 支承条件 = ?4 ORDER BY rowid LIMIT 1",
                "モーメント係数");
    s.bind(1, taishoKan).bind(2, taishoKaju).bind(3, static_cast<std::int64_t>(shijikaku)).bind(4, shoJoken);
    return firstNumber(s);
  });
}

std::optional<double> SqlitePipeDataSource::standardTrenchWidth(const std::string& yobikei) {
  return answer([&] {
    Connection c(databasePath_, Connection::Mode::OpenExisting);
    refresh(c, "標準溝幅");
    Statement s(c, "SELECT BS値 FROM 標準溝幅 WHERE 呼び径 = ?1 ORDER BY rowid LIMIT 1", "標準溝幅");
    s.bind(1, yobikei);
    return firstNumber(s);
  });
}

std::vector<std::optional<std::string>> SqlitePipeDataSource::pipeTypes() {
  return answer([&] {
    Connection c(databasePath_, Connection::Mode::OpenExisting);
    Statement s(c, "SELECT 管種 FROM 管DB GROUP BY 管種 ORDER BY 管種 COLLATE ja", "管DB");
    return allTexts(s);
  });
}

std::vector<std::optional<std::string>> SqlitePipeDataSource::standards(const std::string& kanshu) {
  return answer([&] {
    Connection c(databasePath_, Connection::Mode::OpenExisting);
    Statement s(c, "SELECT 規格 FROM 管DB WHERE 管種 = ?1 GROUP BY 規格 ORDER BY 規格 COLLATE ja", "管DB");
    s.bind(1, kanshu);
    return allTexts(s);
  });
}

std::vector<std::optional<std::string>> SqlitePipeDataSource::nominalSizes(const std::string& kanshu,
                                                                           const std::string& kikaku) {
  return answer([&] {
    Connection c(databasePath_, Connection::Mode::OpenExisting);
    Statement s(c, "SELECT 呼び径 FROM 管DB WHERE 管種 = ?1 AND 規格 = ?2 GROUP BY 呼び径 ORDER BY 呼び径", "管DB");
    s.bind(1, kanshu).bind(2, kikaku);
    return allTexts(s);
  });
}

std::optional<PipeDimensions> SqlitePipeDataSource::pipeDimensions(const std::string& kanshu,
                                                                   const std::string& kikaku, double yobikei) {
  return answer([&]() -> std::optional<PipeDimensions> {
    Connection c(databasePath_, Connection::Mode::OpenExisting);
    Statement s(c,
                "SELECT 外径, 管厚, 管厚中心半径, 内径 FROM 管DB WHERE 管種 = ?1 AND 規格 = ?2 AND 呼び径 = ?3"
                " ORDER BY rowid LIMIT 1",
                "管DB");
    s.bind(1, kanshu).bind(2, kikaku).bind(3, yobikei);
    if (!s.step()) return std::nullopt;
    return PipeDimensions{s.number(0), s.number(1), s.number(2), s.number(3)};
  });
}

}  // namespace tovakin::calc
