#include "ui/scroll_rules.h"

#include <algorithm>

namespace tovakin::gui {

int offsetShowing(const ScrollSpan& s, int margin, int lead) {
  const bool fits = s.length + 2 * margin <= s.view;
  const int end = s.start + (fits ? s.length : std::min(s.length, lead));
  const bool inView = s.start - margin >= s.offset && end + margin <= s.offset + s.view;
  int offset = s.offset;
  if (!inView && fits) {
    // At the far edge, whichever way the view moves: what comes before the control (its
    // caption, the window's top left) stays in sight.
    offset = end + margin - s.view;
  } else if (!inView) {
    // As much of it as the view holds, from its start; from the content's start where that
    // shows its leading part too (the first box of a narrow window, with its caption).
    offset = end + margin <= s.view ? 0 : s.start - margin;
  }
  return std::clamp(offset, 0, std::max(0, s.content - s.view));
}

}  // namespace tovakin::gui
