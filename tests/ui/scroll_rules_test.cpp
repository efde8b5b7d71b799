#include "ui/scroll_rules.h"

#include <gtest/gtest.h>

namespace tovakin::gui {
namespace {

TEST(OffsetShowing, LeavesAControlInViewAndBringsAnyOtherInWithWhatComesBeforeIt) {
  // A view 200 long over content 600 long, a margin of 8 and a lead of 20.
  struct Case {
    int offset, start, length, shown, content = 600;
  };
  for (const Case& c : {Case{100, 150, 100, 100}, Case{0, 8, 184, 0},  // in view, margins included
                        Case{0, 150, 100, 58}, Case{0, 550, 50, 400},  // past the far edge, to the content's end
                        Case{400, 300, 50, 158}, Case{100, 4, 50, 0},  // back: at the far edge, to the start
                        // A box wider than the view: its start and lead are enough; brought in, it
                        // starts the view, or the content's start shows it.
                        Case{0, 120, 433, 0}, Case{0, 300, 433, 292}, Case{300, 120, 433, 0},
                        Case{0, 100, 100, 0, 150}, Case{500, 250, 40, 98, 300}}) {  // content shorter than before
    EXPECT_EQ(offsetShowing({c.offset, 200, c.content, c.start, c.length}, 8, 20), c.shown)
        << c.offset << " " << c.start << " " << c.length;
  }
}

}  // namespace
}  // namespace tovakin::gui
