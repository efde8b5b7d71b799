// The box a document is taken up in: set by the user and the program's moves for the user only.
#include "ui/focus_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovakin::gui {
namespace {

using Boxes = UsersBoxes<int, const char*>;

// The boxes, one object each: the rule compares controls, not texts.
const char* const kCover = "土かぶり";
const char* const kTrench = "管頂部溝幅";
const char* const kFriction = "内部摩擦角";
const char* const kSupport = "設計支持角";
const char* const kTitle = "計算書タイトル";
const char* const kTracks = "キャタピラ数";
const char* const kPipe = "管種";

struct Step {
  FocusMove how;
  int document;
  const char* control;
};

struct Case {
  const char* what;
  std::vector<Step> steps;
  const char* box;  // document 1's box afterwards
};

TEST(UsersBoxes, OnlyTheUserAndTheProgramOnTheUsersBehalfChooseTheBox) {
  using enum FocusMove;
  const std::vector<Case> cases = {
      {"a click", {{UserClick, 1, kCover}}, kCover},
      {"a key, then Tab", {{UserKey, 1, kCover}, {UserTab, 1, kTrench}}, kTrench},
      {"hiding moves it on", {{UserClick, 1, kFriction}, {Toolkit, 1, kSupport}}, kFriction},
      {"restoring shows the first box", {{UserKey, 1, kCover}, {Toolkit, 1, kTitle}}, kCover},
      {"a check points at a box", {{UserClick, 1, kCover}, {OnUsersBehalf, 1, kTracks}}, kTracks},
      {"another document's choice", {{UserClick, 1, kCover}, {UserClick, 2, kPipe}}, kCover},
      {"never worked in", {{Toolkit, 1, kSupport}}, nullptr},
  };
  for (const Case& c : cases) {
    Boxes boxes;
    for (const Step& step : c.steps) boxes.moved(step.how, step.document, step.control);
    EXPECT_EQ(boxes.boxOf(1), c.box) << c.what;
  }
}

TEST(UsersBoxes, AnActivationGivesTheBoxBackUnlessTheFocusIsElsewhereOrThere) {
  Boxes boxes;
  boxes.moved(FocusMove::UserClick, 1, kFriction);
  EXPECT_EQ(boxes.giveBack(1, kSupport, true), kFriction) << "Qt's move is undone";
  EXPECT_EQ(boxes.giveBack(1, nullptr, true), kFriction) << "no focus anywhere";
  EXPECT_EQ(boxes.giveBack(1, kFriction, true), nullptr) << "already there";
  EXPECT_EQ(boxes.giveBack(1, kSupport, false), nullptr) << "the user is in another window";
  EXPECT_EQ(boxes.giveBack(2, kPipe, true), nullptr) << "a document never worked in";
  boxes.closed(1);
  EXPECT_EQ(boxes.boxOf(1), nullptr) << "closed";
}

}  // namespace
}  // namespace tovakin::gui
