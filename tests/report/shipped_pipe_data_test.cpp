// The report of a case calculated on the pipe-material workbook the program ships.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/settings.h"
#include "calc/pipe_calc.h"
#include "calc/pipe_db_sqlite.h"
#include "report/report_fixture.h"
#include "support/design_cases.h"
#include "support/pipe_db_workbook.h"

namespace tovakin::testing {
using namespace tovakin::report;
namespace {

class ShippedPipeData : public ::testing::Test, public SectionFixture {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(TOVAKIN_APPDIR "/DATABASE/Tovakin.xlsx", app_.workbook());
    ASSERT_EQ(app_.rebuild(), std::vector<std::string>{});
  }
  TestApp app_;
  SqlitePipeDataSource source_{app_.path()};
  Installed<PipeDataSource> installed_ = installPipeDataSource(&source_);
};

// An empty elastic modulus made every FRPM pipe weightless in stiffness: the side-reaction
// denominator EI＋0.061·e'·R³ began with 0.0000 and the EI check compared the pipe's own EI
// with a calculation that had none.
TEST_F(ShippedPipeData, AnFrpmPipeCarriesTheStiffnessOfItsTable) {
  CaseInput input = flexibleCase();
  input.kanshu = "強化プラスチック複合管";
  input.kikaku = "内圧3種(参考値)";
  input.yobikei = "600";
  input.D = 0.630;
  input.t = 0.018;
  input.d = 0.594;
  input.R = 0.306;
  input.designClass = 5;
  case_.design = makeDesign(input);
  settings_ = builtInCalcSettings();
  ScriptedErrorBox box{ErrorAnswer::Abort};
  ASSERT_TRUE(calc::funcPipeCalc(case_.design, case_.result, settings_));
  EXPECT_EQ(case_.result.kanzaiKubun, 5);
  // E·t³/12 of the table's modulus, the same stiffness the pipe table lists as its EI値 (2.352).
  EXPECT_NEAR(case_.result.ei, 4.84e6 * 0.018 * 0.018 * 0.018 / 12, 1e-9);

  ASSERT_TRUE(run(Section::HorizontalEarth));
  EXPECT_EQ(sheet_, "水平土圧2");
  const std::string denominator = text(sheet_, "K13");
  EXPECT_TRUE(denominator.starts_with("2.3522＋0.061×3000.00×")) << denominator;
}

}  // namespace
}  // namespace tovakin::testing
