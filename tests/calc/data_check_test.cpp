#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>

#include "calc/data_check.h"
#include "support/calc_fixture.h"

namespace tovakin::testing {
using namespace tovakin::calc;
namespace {

// A case that passes every test: a rigid pipe in a trench on a free 90° support.
DesignData valid() {
  DesignData d = makeDesign(rigidCase());
  d.kyatapiraSu = 0;
  return d;
}

struct CheckRow {
  const char* what;
  std::function<void(DesignData&)> change;
  std::int32_t code;
};

class DataCheckTest : public ::testing::TestWithParam<CheckRow> {};

TEST_P(DataCheckTest, FirstFailingTestGivesItsCode) {
  DesignData d = valid();
  GetParam().change(d);
  const DesignData before = d;
  EXPECT_EQ(MyDataCheck(d), GetParam().code);
  EXPECT_EQ(d.kanshu, before.kanshu);  // read only
  EXPECT_EQ(d.shijikaku, before.shijikaku);
}

const CheckRow kRows[] = {
    {"valid", [](DesignData&) {}, 0},
    {"new record: everything empty", [](DesignData& d) { d = DesignData(); }, 14},
    {"pipe type of blanks", [](DesignData& d) { d.kanshu = " 　 "; }, 14},
    {"no standard", [](DesignData& d) { d.kikaku = ""; d.yobikei = ""; }, 15},
    {"no size", [](DesignData& d) { d.yobikei = "　"; d.gaikei = 0; }, 16},
    {"outer diameter 0", [](DesignData& d) { d.gaikei = 0; d.kanatu = 0; }, 17},
    {"outer diameter negative", [](DesignData& d) { d.gaikei = -0.5; }, 17},
    {"wall thickness 0", [](DesignData& d) { d.kanatu = 0; d.naigaiatuAnzenritu = 0; }, 18},
    {"rigid with S = 0", [](DesignData& d) { d.naigaiatuAnzenritu = 0; d.kisoKeishiki = 1; d.shijikaku = 45; }, 19},
    {"class 5 with S < 0", [](DesignData& d) { d.kanzaiKubun = 5; d.naigaiatuAnzenritu = -1; }, 19},
    {"class 1 with S = 0 passes", [](DesignData& d) { d.kanzaiKubun = 1; d.naigaiatuAnzenritu = 0; }, 0},
    {"flexible fixed 120", [](DesignData& d) { d.kanzaiKubun = 3; d.kisoKeishiki = 1; d.shijikaku = 120; }, 13},
    {"class -1 fixed 90", [](DesignData& d) { d.kanzaiKubun = -1; d.kisoKeishiki = 2; d.shijikaku = 90; }, 13},
    {"flexible free 120 passes", [](DesignData& d) { d.kanzaiKubun = 3; d.shijikaku = 120; }, 0},
    {"flexible fixed 180 passes", [](DesignData& d) { d.kanzaiKubun = 3; d.kisoKeishiki = 1; d.shijikaku = 180; }, 0},
    {"rigid fixed 60", [](DesignData& d) { d.kisoKeishiki = 1; d.shijikaku = 60; }, 7},
    {"rigid fixed 30", [](DesignData& d) { d.kisoKeishiki = 1; d.shijikaku = 30; }, 7},
    {"rigid fixed 120 passes", [](DesignData& d) { d.kisoKeishiki = 1; d.shijikaku = 120; }, 0},
    {"free 60 passes", [](DesignData& d) { d.shijikaku = 60; }, 0},
    {"free 30 passes", [](DesignData& d) { d.shijikaku = 30; }, 0},
    {"free 180 passes", [](DesignData& d) { d.shijikaku = 180; }, 0},
    {"fixed 45", [](DesignData& d) { d.kisoKeishiki = 1; d.shijikaku = 45; d.naibuMasatukaku = 0; }, 7},
    {"free 45", [](DesignData& d) { d.shijikaku = 45; d.naibuMasatukaku = 0; }, 8},
    {"free 90.0000001", [](DesignData& d) { d.shijikaku = 90.0000001; }, 8},
    {"free 0", [](DesignData& d) { d.shijikaku = 0; }, 8},
    {"phi 0", [](DesignData& d) { d.naibuMasatukaku = 0; d.mizuTanniJuryo = 0; }, 1},
    {"phi 89 passes", [](DesignData& d) { d.naibuMasatukaku = 89; }, 0},
    {"phi 90", [](DesignData& d) { d.naibuMasatukaku = 90; d.mizuTanniJuryo = 0; }, 5},
    {"water and saturated soil 0", [](DesignData& d) { d.mizuTanniJuryo = 0; d.howadoTanniJuryo = 0; }, 9},
    {"water equals saturated soil", [](DesignData& d) { d.howadoTanniJuryo = 9.8; d.dokaburi = 0; }, 10},
    {"cover 0", [](DesignData& d) { d.dokaburi = 0; d.tuchiTanniJuryo = 0; }, 11},
    {"soil 0", [](DesignData& d) { d.tuchiTanniJuryo = 0; d.howadoTanniJuryo = -1; }, 2},
    {"saturated soil negative", [](DesignData& d) { d.howadoTanniJuryo = -1; d.mizohaba = 0; }, 3},
    {"trench narrower than the pipe", [](DesignData& d) { d.mizohaba = 0.69; d.buruJoken = 3; }, 4},
    {"sheet pile narrower than the pipe", [](DesignData& d) { d.maisetuKeishiki = 2; d.mizohaba = 0.5; }, 4},
    {"projection narrower passes", [](DesignData& d) { d.maisetuKeishiki = 1; d.mizohaba = 0.5; }, 0},
    {"trench as wide as the pipe passes", [](DesignData& d) { d.mizohaba = d.gaikei; }, 0},
    {"no bulldozer, no tracks passes", [](DesignData& d) { d.buruJoken = 0; d.kyatapiraSu = 0; }, 0},
    {"bulldozer with 0 tracks", [](DesignData& d) { d.buruJoken = 3; d.kyatapiraSu = 0; }, 6},
    {"bulldozer with 3 tracks", [](DesignData& d) { d.buruJoken = 15; d.kyatapiraSu = 3; }, 6},
    {"bulldozer with 2 tracks passes", [](DesignData& d) { d.buruJoken = 15; d.kyatapiraSu = 2; }, 0},
};

INSTANTIATE_TEST_SUITE_P(Codes, DataCheckTest, ::testing::ValuesIn(kRows), [](const auto& info) {
  std::string name;
  for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

}  // namespace
}  // namespace tovakin::testing
