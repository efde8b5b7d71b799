#include "calc/pipe_lookups.h"

#include <cmath>
#include <string>

#include "app/number_format.h"
#include "app/std_io.h"
#include "calc/calc_numbers.h"
#include "calc/layer.h"
#include "platform/error_box.h"

namespace tovakin::calc {

namespace {

PipeDataSource* g_source = nullptr;

// The action going on: how deep its scopes nest, and whether a lookup of it has failed.
int g_actionDepth = 0;
bool g_actionFailed = false;

bool toldInThisAction() { return g_actionDepth > 0 && g_actionFailed; }

// Runs a query of an action whose user has been told of a failure already: a second failure
// changes nothing the user can act on, so it answers as Ignore would.
template <class Query>
void quietly(Query&& query) {
  try {
    query();
  } catch (const RuntimeError&) {
  } catch (const ProgramAborted&) {
    throw;
  } catch (const std::exception&) {
  }
}

// A list query: raised to its caller, which reports it; the action remembers it.
template <class Query>
auto listQuery(Query&& query) -> decltype(query()) {
  decltype(query()) out{};
  if (toldInThisAction()) {
    quietly([&] { out = query(); });
    return out;
  }
  try {
    return query();
  } catch (const ProgramAborted&) {
    throw;
  } catch (const std::exception&) {
    if (g_actionDepth > 0) g_actionFailed = true;
    throw;
  }
}

// The nominal size of a pipe-table key: the text read as a number, blanks around it
// allowed, and compared exactly, as the pipe selection compares it, so that a fractional
// size finds the same row here as there. A text that is not a number can match no row of
// the numeric column.
bool nominalSize(const std::string& yobikei, double& out) {
  return parseDecimal(myTrim(yobikei), out) && std::isfinite(out);
}

// One lookup: starts from 0, asks the source for the raw cell, takes the not-found value for
// no row or a Null cell and converts a found value. Runs under the error box with the
// function's own name; after Ignore the result is the 0 it started from.
template <class Fetch, class Convert>
double lookup(const std::string& label, double notFound, Fetch&& fetch, Convert&& convert) {
  double result = 0.0;
  const auto query = [&] {
    PipeDataSource* src = g_source;
    std::optional<double> cell = src ? fetch(*src) : std::nullopt;
    result = cell ? convert(*cell) : notFound;
  };
  if (toldInThisAction()) {
    quietly(query);
  } else if (!guardStep(label, query) && g_actionDepth > 0) {
    g_actionFailed = true;
  }
  return result;
}

double asIs(double v) { return checked(v); }

double material(const std::string& label, const std::string& kanshu, MaterialColumn column) {
  const std::string key = myTrim(kanshu);
  return lookup(
      label, 0.0, [&](PipeDataSource& s) { return s.material(key, column); }, asIs);
}

double crackPressure(const std::string& label, const DesignData& d, bool internal) {
  const std::string kanshu = myTrim(d.kanshu.str());
  const std::string kikaku = myTrim(d.kikaku.str());
  return lookup(
      label, 0.0,
      [&](PipeDataSource& s) -> std::optional<double> {
        double size = 0.0;
        if (!nominalSize(d.yobikei.str(), size)) return std::nullopt;
        return internal ? s.crackInternalPressure(kanshu, kikaku, size)
                        : s.crackExternalPressure(kanshu, kikaku, size);
      },
      [&](double v) { return internal ? checked(v * 1000.0) : checked(v); });
}

// The query of the moment table on keys that are already trimmed.
double momentCoefficient(const std::string& taishoKan, const std::string& taishoKaju, std::int32_t shijikaku,
                         const std::string& shoJoken) {
  static const std::string kLabel = "funcDBモーメント係数";
  return lookup(
      kLabel, 0.0, [&](PipeDataSource& s) { return s.momentCoefficient(taishoKan, taishoKaju, shijikaku, shoJoken); },
      asIs);
}

}  // namespace

PipeDataSource* pipeDataSource() { return g_source; }

std::optional<std::string> pipeDataUnavailable() {
  PipeDataSource* src = g_source;
  return src ? src->unavailable() : std::nullopt;
}

PipeDataAction::PipeDataAction() {
  if (g_actionDepth++ == 0) g_actionFailed = false;
}

PipeDataAction::~PipeDataAction() { --g_actionDepth; }

bool PipeDataAction::failed() const { return g_actionFailed; }

Installed<PipeDataSource> installPipeDataSource(PipeDataSource* source) { return {g_source, source}; }

double func許容内水圧PC(const DesignData& d) {
  static const std::string kLabel = "func許容内水圧PC";
  return crackPressure(kLabel, d, false);
}

double func許容内水圧HC(const DesignData& d) {
  static const std::string kLabel = "func許容内水圧HC";
  return crackPressure(kLabel, d, true);
}

double 管材の単位体積重量(const std::string& kanshu) {
  static const std::string kLabel = "管材の単位体積重量";
  return material(kLabel, kanshu, MaterialColumn::UnitWeight);
}

double 管材の弾性係数(const std::string& kanshu) {
  static const std::string kLabel = "管材の弾性係数";
  return material(kLabel, kanshu, MaterialColumn::Elasticity);
}

std::int32_t func管材区分(const std::string& kanshu) {
  static const std::string kLabel = "func管材区分";
  const std::string key = myTrim(kanshu);
  const double v = lookup(
      kLabel, -1.0, [&](PipeDataSource& s) { return s.material(key, MaterialColumn::Class); },
      [](double cell) { return static_cast<double>(toLongHalfEven(cell)); });
  return static_cast<std::int32_t>(v);
}

double funcσ(const std::string& kanshu) {
  static const std::string kLabel = "funcσ";
  return material(kLabel, kanshu, MaterialColumn::Tensile);
}

double funcσa(const std::string& kanshu) {
  static const std::string kLabel = "funcσa";
  return material(kLabel, kanshu, MaterialColumn::AllowableTensile);
}

double funcEI値(const std::string& kanshu, const std::string& kikaku, double yobikei) {
  static const std::string kLabel = "funcEI値";
  const std::string k1 = myTrim(kanshu);
  const std::string k2 = myTrim(kikaku);
  return lookup(
      kLabel, 0.0, [&](PipeDataSource& s) { return s.eiValue(k1, k2, yobikei); }, asIs);
}

double funcDBモーメント係数(const std::string& taishoKan, const std::string& taishoKaju, std::int32_t shijikaku,
                          const std::string& shoJoken) {
  return momentCoefficient(myTrim(taishoKan), myTrim(taishoKaju), shijikaku, myTrim(shoJoken));
}

double func曲げモーメント係数(int loadCase, double kisoKeishiki, double shijikaku, double kanzaiKubun) {
  static const std::string kLoads[] = {"鉛直等分布荷重", "管内水重", "管体自重", "側面水平荷重1", "側面水平荷重2"};
  static const std::string kRigid = "不とう性管", kFlexible = "とう性管";
  static const std::string kFree = "自由支承", kFixed = "固定支承";
  static const std::string kLabel = "func曲げモーメント係数";
  double result = 0.0;
  guardStep(kLabel, [&] {
    const std::string& taishoKan = kanzaiKubun == 0.0 ? kRigid : kFlexible;
    const std::int32_t angle = toLongHalfEven(shijikaku);
    const std::string& shoJoken = kisoKeishiki == 0.0 ? kFree : kFixed;
    // A load case outside 1 to 5 has an empty key, which no row carries.
    if (loadCase < 1 || loadCase > 5) return;
    result = momentCoefficient(taishoKan, kLoads[loadCase - 1], angle, shoJoken);
  });
  return result;
}

double func標準溝幅(std::string& yobikei) {
  static const std::string kLabel = "func標準溝幅";
  // Sizes up to 100 share one row of the table.
  guardStep(kLabel, [&] {
    const double size = textToDouble(yobikei);
    if (roundTo(size, 0) <= 100.0) yobikei = "100以下";
  });
  const std::string key = myTrim(yobikei);
  return lookup(
      kLabel, 0.0, [&](PipeDataSource& s) { return s.standardTrenchWidth(key); }, asIs);
}

std::vector<std::optional<std::string>> pipeTypeList() {
  PipeDataSource* src = g_source;
  if (!src) return {};
  return listQuery([&] { return src->pipeTypes(); });
}

std::vector<std::optional<std::string>> pipeStandardList(const std::string& kanshu) {
  PipeDataSource* src = g_source;
  if (!src) return {};
  return listQuery([&] { return src->standards(kanshu); });
}

std::vector<std::optional<std::string>> pipeSizeList(const std::string& kanshu, const std::string& kikaku) {
  PipeDataSource* src = g_source;
  if (!src) return {};
  return listQuery([&] { return src->nominalSizes(kanshu, kikaku); });
}

std::optional<PipeDimensions> pipeDimensionsOf(const std::string& kanshu, const std::string& kikaku,
                                               double yobikei) {
  PipeDataSource* src = g_source;
  if (!src) return std::nullopt;
  return listQuery([&] { return src->pipeDimensions(kanshu, kikaku, yobikei); });
}

}  // namespace tovakin::calc
