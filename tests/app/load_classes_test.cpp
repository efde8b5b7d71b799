// The truck and bulldozer tables: each class once, each load a place of its own in the settings.
#include "app/load_classes.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

namespace tovakin::app {
namespace {

TEST(LoadClasses, EachClassHasOneCodeAndALoadOfItsOwn) {
  const auto walk = [](auto classes, std::size_t loads, auto lookup) {
    std::set<std::optional<std::size_t>> places;
    for (const auto& c : classes) {
      EXPECT_EQ(&lookup(c.code), &c) << c.text;  // the first row of its code is itself
      EXPECT_TRUE(places.insert(c.load).second && std::optional<std::size_t>(c.load).value_or(0) < loads) << c.text;
    }
  };
  const CalcSettings s;
  walk(truckClasses(), s.korinKaju.size(), truckClass);
  walk(bulldozerClasses(), s.buruKaju.size(), bulldozerClass);
}

}  // namespace
}  // namespace tovakin::app
