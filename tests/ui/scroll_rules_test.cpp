#include "ui/scroll_rules.h"

#include <gtest/gtest.h>

#include "support/row_name.h"

namespace tovakin::gui {
namespace {

// A view 200 long over content 600 long, a margin of 8 and a lead of 20.
struct ShowCase {
  const char* what;
  int offset, start, length;
  int shown;
  int content = 600;
};

class OffsetShowing : public ::testing::TestWithParam<ShowCase> {};

TEST_P(OffsetShowing, LeavesAControlInViewAndBringsAnyOtherIn) {
  const ShowCase& c = GetParam();
  EXPECT_EQ(offsetShowing({c.offset, 200, c.content, c.start, c.length}, 8, 20), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OffsetShowing,
    ::testing::Values(ShowCase{"in view stays", 100, 150, 100, 100},
                      ShowCase{"touching both margins stays", 0, 8, 184, 0},
                      ShowCase{"past the far edge", 0, 300, 100, 208},
                      ShowCase{"partly past the far edge", 0, 150, 100, 58},
                      ShowCase{"before the near edge to the far edge", 400, 300, 50, 158},
                      ShowCase{"margin before the content start", 100, 4, 50, 0},
                      ShowCase{"margin past the content end", 0, 550, 50, 400},
                      // A box wider than the view: its start and lead are enough; shown, it starts the view.
                      ShowCase{"wide with its start in view", 0, 120, 433, 0},
                      ShowCase{"wide with its start past the far edge", 0, 300, 433, 292},
                      ShowCase{"wide with its start before the near edge", 300, 120, 433, 0},
                      ShowCase{"wide just before the near edge", 405, 400, 433, 392},
                      ShowCase{"its margin past the far edge", 0, 185, 10, 3},
                      ShowCase{"content within the view", 0, 100, 100, 0, 150},
                      ShowCase{"offset beyond a shrunken content", 500, 250, 40, 98, 300}),
    [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.what); });

}  // namespace
}  // namespace tovakin::gui
