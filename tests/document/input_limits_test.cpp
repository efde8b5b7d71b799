// The one table of input limits walked against the places that ask its rows: every row's field is
// shown in a box of its place, with the caption, pattern and unit the row writes, and a value
// beyond the limit is asked there. A row its place cannot ask fails here, not in a user's run.
#include "app/input_limits.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "calc/calc_result.h"
#include "dialogs/frm_naigaiatu_set.h"
#include "dialogs/kisozai_rules.h"
#include "document/calculation_run.h"
#include "document/document_layout.h"
#include "document/document_rules.h"
#include "support/design_cases.h"

namespace tovakin::gui {
namespace {

using app::InputLimit;
using app::LimitPlace;

// A unit caption's markup as the question writes the unit ("kN/m^3" -> "kN/m³").
std::string shownUnit(std::string unit) {
  for (const auto& [raised, shown] : {std::pair{"^2", "²"}, std::pair{"^3", "³"}})
    for (std::size_t at = unit.find(raised); at != std::string::npos; at = unit.find(raised))
      unit.replace(at, 2, shown);
  return unit;
}

// The document window's box of a field, with its caption, pattern and unit.
void expectDocumentBox(double DesignData::*field, const char* name, const char* pattern, const char* unit) {
  const DocumentBox& box = boxOf(RecordField(field));  // raises for a field the window does not show
  EXPECT_FALSE(box.readOnly) << name;
  EXPECT_EQ(box.pattern, std::string(pattern)) << name;
  ASSERT_NE(boxCaption(box.index), nullptr) << name;
  EXPECT_STREQ(boxCaption(box.index)->caption, name);
  const DesignedControl* unitCaption = boxUnit(box.index);
  EXPECT_EQ(unitCaption ? shownUnit(std::string(unitTextOf(unitCaption->index))) : "", unit) << name;
}

// The reaction-modulus dialog's box of a row for a method: on that method's panel (the adopted
// e' on every panel), its caption naming the field ("：" between name and symbol), its pattern
// and unit.
void expectKisozaiBox(const InputLimit& row, ReactionModulusMethod method) {
  const KisozaiBoxDesign& box = boxDesign(limitFieldBox(row, codeOf(method)));
  EXPECT_EQ(box.panel, codeOf(method)) << row.name;
  EXPECT_EQ(box.pattern, std::string(row.pattern)) << row.name;
  std::string caption = box.caption;
  if (const std::size_t colon = caption.find("："); colon != std::string::npos) caption.erase(colon, 3);
  EXPECT_EQ(caption.rfind(row.name, 0), 0u) << caption << " / " << row.name;
  EXPECT_EQ(box.tanni >= 0 ? shownUnit(kKisozaiUnits.at(static_cast<std::size_t>(box.tanni))) : "", row.unit)
      << row.name;
}

// A flexible case with the row's field just beyond its limit.
DesignData beyond(const InputLimit& row) {
  DesignData d = testing::makeDesign(testing::flexibleCase());
  const double limit = app::limitOf(row, d);
  d.*row.field = row.unsafe == app::UnsafeSide::Above ? limit + 1.0 : limit - 0.5;
  EXPECT_TRUE(app::beyondLimit(row, d)) << row.name;
  return d;
}

TEST(InputLimitsWalk, EveryRowIsShownAndAskedWhereItsPlaceAsks) {
  for (const InputLimit& row : app::inputLimits()) {
    SCOPED_TRACE(row.name);
    const std::string question = app::limitQuestion(row, beyond(row));
    switch (row.place) {
      case LimitPlace::Calculation: {
        expectDocumentBox(row.field, row.name, row.pattern, row.unit);
        // A limit that is another field: that field is a box of the same window, in the same form.
        if (row.limitField) expectDocumentBox(row.limitField, row.limitName, row.pattern, row.unit);
        CalcResult result;
        result.kanzaiKubun = 1;  // the flexible pipe's report checks its deflection
        bool asked = false;
        for (const LimitQuestion& q : limitQuestions(beyond(row), result))
          asked = asked || (q.text.toStdString() == question && q.box == boxOf(RecordField(row.field)).index);
        EXPECT_TRUE(asked);
        break;
      }
      case LimitPlace::CombinationDialog: {
        EXPECT_EQ(row.pattern, std::string(kNaigaiatuPattern));
        bool asked = false;
        for (const NaigaiatuQuestion& q : naigaiatuQuestions(naigaiatuFromExchange(beyond(row))))
          asked = asked || q.message == question;
        EXPECT_TRUE(asked);
        break;
      }
      case LimitPlace::FormulaMethod: expectKisozaiBox(row, ReactionModulusMethod::Formula); break;
      case LimitPlace::DeflectionMethod: expectKisozaiBox(row, ReactionModulusMethod::Deflection); break;
      case LimitPlace::ReactionModulus:
        for (ReactionModulusMethod method : kReactionModulusMethods) expectKisozaiBox(row, method);
        break;
    }
  }
}

// The new rows of the run in numbers: F1 and F2 below 1.0 only where the report checks a
// deflection, water lighter than 9.00, soil lighter than the case's own water.
TEST(InputLimitsWalk, TheRunAsksAboutValuesNoGroundHas) {
  using D = DesignData;
  const std::tuple<double D::*, double, const char*> rows[] = {
      {&D::henkeiOkureF1, 0.15, "変形遅れ係数(F1)は0.2で、1.0未満です。"},
      {&D::henkeiOkureF2, 0.9, "変形遅れ係数(F2)は0.9で、1.0未満です。"},
      {&D::tuchiTanniJuryo, 1.9, "土の単位体積重量は1.90kN/m³で、水の単位体積重量9.80kN/m³未満です。"},
      {&D::howadoTanniJuryo, 9.79, "飽和土単位体積重量は9.79kN/m³で、水の単位体積重量9.80kN/m³未満です。"},
      {&D::mizuTanniJuryo, 0.98, "水の単位体積重量は0.98kN/m³で、9.00kN/m³未満です。"},
      {&D::howadoTanniJuryo, 9.8, ""}};
  CalcResult flexible;
  flexible.kanzaiKubun = 1;
  for (const auto& [field, value, asks] : rows) {
    DesignData d = testing::makeDesign(testing::flexibleCase());
    d.*field = value;
    if (field == &D::mizuTanniJuryo) d.tuchiTanniJuryo = d.howadoTanniJuryo = 18.0;
    QStringList heads;
    for (const LimitQuestion& q : limitQuestions(d, flexible)) heads << q.text.section(QStringLiteral("\r\n"), 0, 0);
    EXPECT_EQ(heads, *asks ? QStringList{QString::fromUtf8(asks)} : QStringList{}) << value;
  }
  DesignData rigid = testing::makeDesign(testing::rigidCase());  // its report checks no deflection
  rigid.henkeiOkureF1 = rigid.henkeiOkureF2 = 0.1;
  EXPECT_TRUE(limitQuestions(rigid, CalcResult{}).empty());
}

}  // namespace
}  // namespace tovakin::gui
