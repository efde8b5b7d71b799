#include "ui/unit_text.h"

#include <cmath>

#include "platform/error_box.h"

namespace tovakin::gui {

namespace {
bool isMarker(char16_t c) { return c == u'^' || c == u'~'; }
}  // namespace

int reducedFontSize(float size) {
  if (size < 1.6f) return 1;
  // size / 1.6 is size * 5 / 8, exact in a double for every float, so that a true half (4, 12,
  // 20) goes to the even neighbour instead of wherever the rounding of 1.6 would push it.
  const double reduced = std::nearbyint(static_cast<double>(size) * 5.0 / 8.0);
  if (!(reduced <= 32767.0)) raiseError(err::kOverflow);
  return static_cast<int>(reduced);
}

std::u16string dummyTanni(std::u16string_view unitText) {
  std::u16string out;
  out.reserve(unitText.size());
  for (char16_t c : unitText) out.push_back(isMarker(c) ? u' ' : c);
  return out;
}

std::vector<UnitPiece> layoutUnitText(std::u16string_view unitText, float size, int align, double boxWidth,
                                      const UnitWidth& width) {
  std::vector<UnitPiece> pieces;
  const double normal = size;
  double x = align == 1 ? boxWidth - width(dummyTanni(unitText), normal) : 0.0;
  std::u16string run;  // normal characters not yet emitted
  double runStart = x;
  const auto flush = [&] {
    if (run.empty()) return;
    pieces.push_back({run, runStart, normal, false});
    run.clear();
  };
  for (std::size_t i = 0; i < unitText.size(); ++i) {
    const char16_t c = unitText[i];
    if (!isMarker(c)) {
      if (run.empty()) runStart = x;
      run.push_back(c);
      x = runStart + width(run, normal);  // the run is drawn whole, so it is measured whole
      continue;
    }
    flush();
    if (i + 1 >= unitText.size()) break;  // a marker at the end raises nothing
    const double small = reducedFontSize(size);
    const std::u16string raised(1, unitText[i + 1]);
    pieces.push_back({raised, x, small, true});
    x += width(raised, small);
    ++i;  // the raised character is drawn; a marker after a marker is such a character
  }
  flush();
  return pieces;
}

}  // namespace tovakin::gui
