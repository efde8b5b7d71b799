// The truck and bulldozer tables: each class once, each load a place of its own in the settings,
// a new case's classes the tables' first, and a code a table lacks named where it is read.
#include "app/load_classes.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "app/document_file.h"
#include "platform/error_box.h"

namespace tovakin::app {
namespace {

template <class Classes, class Lookup>
void expectOneRowPerCodeAndLoad(Classes classes, std::size_t loads, Lookup lookup) {
  std::set<double> codes;
  std::set<std::size_t> places;
  for (const auto& c : classes) {
    EXPECT_TRUE(codes.insert(c.code).second) << c.text;
    EXPECT_EQ(&lookup(c.code), &c) << c.text;
    const std::optional<std::size_t> load = c.load;  // a bulldozer's なし has none
    if (!load) continue;
    EXPECT_LT(*load, loads) << c.text;
    EXPECT_TRUE(places.insert(*load).second) << c.text;
  }
  EXPECT_EQ(classes.back().code, kNoLoadClass);  // なし stands last in its list
}

TEST(LoadClasses, EachClassHasOneCodeAndALoadOfItsOwn) {
  const CalcSettings s;
  expectOneRowPerCodeAndLoad(truckClasses(), s.korinKaju.size(), truckClass);
  expectOneRowPerCodeAndLoad(bulldozerClasses(), s.buruKaju.size(), bulldozerClass);
  const DesignData fresh = newDesignData();
  EXPECT_EQ(fresh.kajuJoken, truckClasses().front().code);
  EXPECT_EQ(fresh.buruJoken, bulldozerClasses().front().code);
}

TEST(LoadClasses, ACodeTheTableLacksRaisesNamingIt) {
  for (double code : {30.0, 25.5, -1.0}) {
    try {
      truckClass(code);
      ADD_FAILURE() << code;
    } catch (const platform::RuntimeError& e) {
      EXPECT_EQ(e.number(), platform::err::kOutOfRange);
      EXPECT_EQ(e.description(), unknownCodeText("輪荷重規格", code));
    }
  }
  EXPECT_THROW(bulldozerClass(4), platform::RuntimeError);
  EXPECT_EQ(unknownCodeText("ブルドーザー規格", 4), "ブルドーザー規格のコード 4 は一覧にありません。");
}

}  // namespace
}  // namespace tovakin::app
