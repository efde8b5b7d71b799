#pragma once
// How far a scrolled window moves to bring a control into view: one axis at a time, plain
// arithmetic in pixels, so that the rule is tested without a window.
#include "ui/layer.h"

namespace tovakin::gui {

// One axis of a scrolled window and of the control to show in it.
struct ScrollSpan {
  int offset = 0;   // the content's first pixel in view now
  int view = 0;     // the view's length
  int content = 0;  // the content's length
  int start = 0;    // the control's first pixel in the content
  int length = 0;   // the control's length
};

// The offset that shows the control: the same while it is in view, else the one that puts it
// `margin` pixels inside the view's far edge (right, bottom), whichever way the view moves, so
// that what comes before it (its caption, the window's top left) stays in sight. A control too
// long for the view with its margins (a wide text box in a narrow window) is in view while its
// leading `lead` pixels are, where typing starts; brought into view, it is shown from its start,
// or from the content's start where that shows its leading part too. The offset stays within the
// content.
int offsetShowing(const ScrollSpan& span, int margin, int lead);

}  // namespace tovakin::gui
