#pragma once
// Unit captions with one-character markup: in a unit text a "^" or a "~" makes the character
// after it print raised, in a smaller size, from the top line of the text ("kN/m^3", "^o" for the
// degree sign, "m^4/m"). The marker itself is never drawn.
//
// The layout is a plain function over a width measure, so that it is tested without a font; the
// caption widget (unit_caption.h) draws what it returns.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/layer.h"

namespace tovakin::gui {

// The size of a raised character for a text of `size` points: size / 1.6 to the nearest whole
// number, halves to the even one (4 -> 2, 11 -> 7, 12 -> 8, 20 -> 12); a size below 1.6 gives 1.
// A reduction beyond 16 bits raises overflow (6).
int reducedFontSize(float size);

// The measuring text: every marker replaced by one blank, every other character kept.
std::u16string dummyTanni(std::u16string_view unitText);

// One piece of text to draw: its characters, where it starts (x from the box's left edge; every
// piece hangs from the top line), and the size it is drawn in.
struct UnitPiece {
  std::u16string text;
  double x = 0.0;
  double size = 0.0;
  bool raised = false;
  bool operator==(const UnitPiece&) const = default;
};

// The width of a text drawn in the given size.
using UnitWidth = std::function<double(std::u16string_view text, double size)>;

// The pieces of a unit text drawn in `size`: normal characters follow one another by their
// widths; a raised character starts where the marker stood and the text goes on after it by the
// width it was drawn in (the Japanese face's average width is a full em, which would leave a
// gap in "m^4/m"). `align` 1 right-aligns: the text starts at the box width less the width of
// the measuring text in the normal size; any other value starts at 0. A marker at the end draws
// nothing.
std::vector<UnitPiece> layoutUnitText(std::u16string_view unitText, float size, int align, double boxWidth,
                                      const UnitWidth& width);

}  // namespace tovakin::gui
