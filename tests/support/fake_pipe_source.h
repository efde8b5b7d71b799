#pragma once
// A pipe-material source made of hand-written rows, for tests and benchmarks. It answers
// each query as the database does: the first matching row in the query's order (弾性係数
// ascending with Null first; table order otherwise), nullopt for no row or a Null cell.
// It can record the keys it was asked for and raise an error on chosen calls.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "calc/pipe_lookups.h"
#include "platform/error_box.h"

namespace tovakin::testing {
using namespace tovakin::calc;

struct FakePipeRow {  // 管DB
  std::string kanshu;
  std::string kikaku;
  double yobikei = 0.0;
  std::optional<double> hibiwareGaiatu;
  std::optional<double> hibiwareNaiatu;
  std::optional<double> ei;
};

struct FakeMaterialRow {  // 管材データ
  std::string kanshu;
  std::optional<double> unitWeight;
  std::optional<double> elasticity;
  std::optional<double> kubun;
  std::optional<double> tensile;
  std::optional<double> allowableTensile;
};

struct FakeMomentRow {  // モーメント係数
  std::string taishoKan;
  std::string taishoKaju;
  std::int32_t shijikaku = 0;
  std::string shoJoken;
  std::optional<double> keisu;
};

struct FakeTrenchRow {  // 標準溝幅
  std::string yobikei;
  std::optional<double> bs;
};

struct FakeMomentQuery {
  std::string taishoKan;
  std::string taishoKaju;
  std::int32_t shijikaku = 0;
  std::string shoJoken;
};

class FakePipeSource final : public PipeDataSource {
 public:
  std::vector<FakePipeRow> pipes;
  std::vector<FakeMaterialRow> materials;
  std::vector<FakeMomentRow> moments;
  std::vector<FakeTrenchRow> trenches;

  // Recording of the keys asked for (off for benchmarks).
  bool record = true;
  std::vector<std::string> materialKeys;
  std::vector<double> pipeSizes;
  std::vector<FakeMomentQuery> momentQueries;
  std::vector<std::string> trenchKeys;
  int calls = 0;

  // The next `failures` calls raise error `failNumber`.
  int failures = 0;
  int failNumber = err::kTypeMismatch;

  std::optional<double> crackExternalPressure(const std::string& kanshu, const std::string& kikaku,
                                              double yobikei) override {
    const FakePipeRow* row = pipe(kanshu, kikaku, yobikei);
    return row ? row->hibiwareGaiatu : std::nullopt;
  }
  std::optional<double> crackInternalPressure(const std::string& kanshu, const std::string& kikaku,
                                              double yobikei) override {
    const FakePipeRow* row = pipe(kanshu, kikaku, yobikei);
    return row ? row->hibiwareNaiatu : std::nullopt;
  }
  std::optional<double> eiValue(const std::string& kanshu, const std::string& kikaku, double yobikei) override {
    const FakePipeRow* row = pipe(kanshu, kikaku, yobikei);
    return row ? row->ei : std::nullopt;
  }

  std::optional<double> material(const std::string& kanshu, MaterialColumn column) override {
    enter();
    if (record) materialKeys.push_back(kanshu);
    const FakeMaterialRow* first = nullptr;
    for (const FakeMaterialRow& row : materials) {
      if (row.kanshu != kanshu) continue;
      if (column != MaterialColumn::Elasticity) {
        first = &row;
        break;
      }
      // ORDER BY 弾性係数: Null sorts first, then the smallest value; ties keep table order.
      if (!first || (first->elasticity && (!row.elasticity || *row.elasticity < *first->elasticity))) first = &row;
    }
    if (!first) return std::nullopt;
    switch (column) {
      case MaterialColumn::UnitWeight: return first->unitWeight;
      case MaterialColumn::Elasticity: return first->elasticity;
      case MaterialColumn::Class: return first->kubun;
      case MaterialColumn::Tensile: return first->tensile;
      case MaterialColumn::AllowableTensile: return first->allowableTensile;
    }
    return std::nullopt;
  }

  std::optional<double> momentCoefficient(const std::string& taishoKan, const std::string& taishoKaju,
                                          std::int32_t shijikaku, const std::string& shoJoken) override {
    enter();
    if (record) momentQueries.push_back({taishoKan, taishoKaju, shijikaku, shoJoken});
    for (const FakeMomentRow& row : moments) {
      if (row.taishoKan == taishoKan && row.taishoKaju == taishoKaju && row.shijikaku == shijikaku &&
          row.shoJoken == shoJoken)
        return row.keisu;
    }
    return std::nullopt;
  }

  std::optional<double> standardTrenchWidth(const std::string& yobikei) override {
    enter();
    if (record) trenchKeys.push_back(yobikei);
    for (const FakeTrenchRow& row : trenches)
      if (row.yobikei == yobikei) return row.bs;
    return std::nullopt;
  }

 private:
  void enter() {
    ++calls;
    if (failures > 0) {
      --failures;
      raiseError(failNumber);
    }
  }
  const FakePipeRow* pipe(const std::string& kanshu, const std::string& kikaku, double yobikei) {
    enter();
    if (record) pipeSizes.push_back(yobikei);
    for (const FakePipeRow& row : pipes)
      if (row.kanshu == kanshu && row.kikaku == kikaku && row.yobikei == yobikei) return &row;
    return nullptr;
  }
};

}  // namespace tovakin::testing
