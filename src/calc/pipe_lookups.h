#pragma once
// The pipe-material lookups the calculation, the document window and the report ask for.
//
// The free functions carry the rules of each lookup (trimmed keys, not-found values, the
// factor 1000, halves-to-even for the class, the "100以下" rule, the key texts of the moment
// coefficients) and run under the error box with their own names as labels. They ask the
// installed PipeDataSource for the raw cell: the SQLite database in the program, hand-made
// rows in tests.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/design_data.h"
#include "calc/layer.h"
#include "platform/service.h"

namespace tovakin::calc {

enum class MaterialColumn { UnitWeight, Elasticity, Class, Tensile, AllowableTensile };

// The dimensions of one pipe as 管DB holds them (Null cells are nullopt).
struct PipeDimensions {
  std::optional<double> gaikei;         // 外径
  std::optional<double> kanatu;         // 管厚
  std::optional<double> chushinHankei;  // 管厚中心半径
  std::optional<double> naikei;         // 内径
};

// Raw cells: nullopt when no row matches or the cell of the first matching row is Null.
// Keys arrive trimmed.
class PipeDataSource {
 public:
  virtual ~PipeDataSource() = default;
  // 管DB.ひびわれ外圧 / ひびわれ内圧 of the pipe (管種, 規格, 呼び径 compared as a number).
  virtual std::optional<double> crackExternalPressure(const std::string& kanshu, const std::string& kikaku,
                                                      double yobikei) = 0;
  virtual std::optional<double> crackInternalPressure(const std::string& kanshu, const std::string& kikaku,
                                                      double yobikei) = 0;
  // 管材データ: 単位体積重量 / 弾性係数 (smallest first) / 管材区分 / 引張応力 / 許容引張応力度.
  virtual std::optional<double> material(const std::string& kanshu, MaterialColumn column) = 0;
  // 管DB.EI値.
  virtual std::optional<double> eiValue(const std::string& kanshu, const std::string& kikaku, double yobikei) = 0;
  // モーメント係数.係数.
  virtual std::optional<double> momentCoefficient(const std::string& taishoKan, const std::string& taishoKaju,
                                                  std::int32_t shijikaku, const std::string& shoJoken) = 0;
  // 標準溝幅.BS値 of the row whose 呼び径 text equals the key.
  virtual std::optional<double> standardTrenchWidth(const std::string& yobikei) = 0;

  // The pipe selection of the document window: the distinct values of 管DB in the database's
  // order (texts in Japanese order, sizes as numbers), each as its text, a Null cell as nullopt;
  // and the first row of a pipe (呼び径 compared as a number). A source without a pipe table
  // offers no pipes.
  virtual std::vector<std::optional<std::string>> pipeTypes() { return {}; }
  virtual std::vector<std::optional<std::string>> standards(const std::string& /*kanshu*/) { return {}; }
  virtual std::vector<std::optional<std::string>> nominalSizes(const std::string& /*kanshu*/,
                                                               const std::string& /*kikaku*/) {
    return {};
  }
  virtual std::optional<PipeDimensions> pipeDimensions(const std::string& /*kanshu*/, const std::string& /*kikaku*/,
                                                       double /*yobikei*/) {
    return std::nullopt;
  }

  // Why the source cannot answer a calculation at all (its database is missing or lacks a table
  // the calculation reads), as the text for the user; nullopt when it can.
  virtual std::optional<std::string> unavailable() { return std::nullopt; }
};

// The installed source; nullptr is "no database": every lookup is not found.
PipeDataSource* pipeDataSource();
// Installs a source (nullptr: no database) until the guard goes out of scope.
Installed<PipeDataSource> installPipeDataSource(PipeDataSource* source);

// Why the installed source cannot answer a calculation (nullopt: it can, or there is no source).
std::optional<std::string> pipeDataUnavailable();

// One action of the user (a calculation, a choice in a window, a button). The first lookup
// that fails inside it shows its box; once the user has answered it with Ignore, later failures
// in the same action answer as Ignore would, without a box: one cause, one box. Actions nest;
// the outermost one is the action. Outside any action every lookup stands alone.
class PipeDataAction {
 public:
  PipeDataAction();
  ~PipeDataAction();
  PipeDataAction(const PipeDataAction&) = delete;
  PipeDataAction& operator=(const PipeDataAction&) = delete;
  // True when a lookup of the action has failed so far: what it answered is no value.
  bool failed() const;
};

double func許容内水圧PC(const DesignData& d);
double func許容内水圧HC(const DesignData& d);  // × 1000
double 管材の単位体積重量(const std::string& kanshu);
double 管材の弾性係数(const std::string& kanshu);
std::int32_t func管材区分(const std::string& kanshu);  // -1 when not found
double funcσ(const std::string& kanshu);
double funcσa(const std::string& kanshu);
double funcEI値(const std::string& kanshu, const std::string& kikaku, double yobikei);
double funcDBモーメント係数(const std::string& taishoKan, const std::string& taishoKaju, std::int32_t shijikaku,
                          const std::string& shoJoken);
// loadCase 1 鉛直等分布荷重, 2 管内水重, 3 管体自重, 4 側面水平荷重1, 5 側面水平荷重2.
double func曲げモーメント係数(int loadCase, double kisoKeishiki, double shijikaku, double kanzaiKubun);
// Rewrites the argument to "100以下" for sizes of 100 or less.
double func標準溝幅(std::string& yobikei);

// The pipe selection through the installed source (no source: no pipes). The keys go to the
// source as they are, as bound values, so any text is a key; a failure of the source is raised
// to the caller, which reports it under its own name.
std::vector<std::optional<std::string>> pipeTypeList();
std::vector<std::optional<std::string>> pipeStandardList(const std::string& kanshu);
std::vector<std::optional<std::string>> pipeSizeList(const std::string& kanshu, const std::string& kikaku);
std::optional<PipeDimensions> pipeDimensionsOf(const std::string& kanshu, const std::string& kikaku, double yobikei);

}  // namespace tovakin::calc
