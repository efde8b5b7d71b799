#include "app/reaction_modulus_constants.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <set>

namespace tovakin::app {
namespace {

// The codes are the files': a method that moved would read every saved case as another one.
TEST(ReactionModulusMethods, EveryMethodKeepsTheCodeItsFilesHoldAndReadsBackFromIt) {
  struct Row {
    ReactionModulusMethod method;
    std::int32_t code;
  };
  const Row rows[] = {{ReactionModulusMethod::Entered, 0},
                      {ReactionModulusMethod::Formula, 1},
                      {ReactionModulusMethod::SoilCement, 2},
                      {ReactionModulusMethod::SmallBore, 3},
                      {ReactionModulusMethod::Deflection, 4}};
  ASSERT_EQ(std::size(rows), kReactionModulusMethods.size());
  std::set<std::int32_t> codes;
  for (std::size_t i = 0; i < kReactionModulusMethods.size(); ++i) {
    const ReactionModulusMethod method = kReactionModulusMethods[i];
    EXPECT_EQ(method, rows[i].method) << i;
    EXPECT_EQ(codeOf(method), rows[i].code) << i;
    EXPECT_EQ(reactionModulusMethodOf(codeOf(method)), method) << i;
    codes.insert(codeOf(method));
  }
  EXPECT_EQ(codes.size(), kReactionModulusMethods.size());
}

TEST(ReactionModulusMethods, ACodeNoMethodHasIsNoMethod) {
  for (std::int32_t code : {-1, 5, 7, 100, std::numeric_limits<std::int32_t>::min(),
                            std::numeric_limits<std::int32_t>::max()})
    EXPECT_FALSE(reactionModulusMethodOf(code)) << code;
}

}  // namespace
}  // namespace tovakin::app
