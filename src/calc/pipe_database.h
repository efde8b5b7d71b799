#pragma once
// The pipe database: DATABASE/Tovakin.MDB below the application folder, an SQLite database
// derived from the pipe-material workbook DATABASE/Tovakin.xlsx.
//
// CreateMyDatabase() rebuilds it at every start. Its tables:
//   不とう性管, とう性管       the two pipe sheets, read live
//   管DB                       a start-up copy of all rigid-pipe rows, then all flexible-pipe rows
//   管材データ, モーメント係数, 標準溝幅   the other three sheets, read live
// "Read live" means that a query on the table sees the workbook as it is saved now: the sheets
// are read again whenever the workbook file has changed since they were last read. 管DB keeps
// the rows of the start-up. No table has an index or a key; rows keep the order of the sheets.
//
// Every user opens the database for its own query and closes it again; keys are bound
// parameters, and texts sort in Japanese order (the collation "ja").
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/layer.h"
#include "calc/pipe_db_sqlite.h"
#include "calc/pipe_lookups.h"

namespace tovakin::calc {

std::string pipeDatabasePath(const std::string& appPath);  // appPath + "DATABASE/Tovakin.MDB"
std::string pipeWorkbookPath(const std::string& appPath);  // appPath + "DATABASE/Tovakin.xlsx"

// Rebuilds the pipe database of the application folder `appPath` (with its trailing "/") from
// its workbook. Each step runs under the error box labelled "CreateMyDatabase": Retry repeats
// the step (reading the workbook again), Ignore goes on; the first failure is the only box. The
// database is built in a hidden temporary file beside it (platform::FileReplacement) and
// renamed over it only when every step completed: while there is a previous database, a failed
// step keeps it in use as it was (the box says so) and its linked sheets answer from it, not
// from the refused workbook, until a changed workbook reads cleanly. Without one, what could be
// built is put in place, and what is then missing is reported once per action by the queries
// that need it; a database that cannot answer a calculation says so through unavailable().
void CreateMyDatabase(const std::string& appPath);
// The same for the program's own folder (g_app.g_appPath).
void CreateMyDatabase();

// The lookups of the calculation on the database of one application folder. Each call opens
// the database, runs one query and closes it; failures raise RuntimeError (the free lookup
// functions show them in their error boxes).
class SqlitePipeDataSource final : public PipeDataSource {
 public:
  explicit SqlitePipeDataSource(const std::string& appPath);

  const std::string& databasePath() const { return databasePath_; }

  std::optional<double> crackExternalPressure(const std::string& kanshu, const std::string& kikaku,
                                              double yobikei) override;
  std::optional<double> crackInternalPressure(const std::string& kanshu, const std::string& kikaku,
                                              double yobikei) override;
  std::optional<double> material(const std::string& kanshu, MaterialColumn column) override;
  std::optional<double> eiValue(const std::string& kanshu, const std::string& kikaku, double yobikei) override;
  std::optional<double> momentCoefficient(const std::string& taishoKan, const std::string& taishoKaju,
                                          std::int32_t shijikaku, const std::string& shoJoken) override;
  std::optional<double> standardTrenchWidth(const std::string& yobikei) override;

  // The pipe-selection lists of the document window: distinct values of 管DB in sort order
  // (texts in Japanese order, sizes as numbers), each as its text; a Null cell is nullopt.
  std::vector<std::optional<std::string>> pipeTypes() override;
  std::vector<std::optional<std::string>> standards(const std::string& kanshu) override;
  std::vector<std::optional<std::string>> nominalSizes(const std::string& kanshu, const std::string& kikaku) override;
  // The first row of 管DB for the pipe (呼び径 compared as a number); nullopt when none matches.
  std::optional<PipeDimensions> pipeDimensions(const std::string& kanshu, const std::string& kikaku,
                                               double yobikei) override;

  std::optional<std::string> unavailable() override;

 private:
  // Makes a linked table current before it is read (see CreateMyDatabase for a kept database).
  void refresh(pipedb::Connection& c, const std::string& table);
  // Runs a query; a failure after a failed rebuild also says what the user can do.
  template <class Query>
  auto answer(Query&& query);

  std::string databasePath_;
};

}  // namespace tovakin::calc
