#include "ui/box_style.h"

#include <cmath>

#include "app/number_format.h"
#include "app/std_io.h"
#include "platform/error_box.h"

namespace tovakin::gui {

namespace {
bool isGeneral(std::string_view pattern) { return pattern == kGeneralPattern; }
}  // namespace

std::string boxStyle(std::string_view text, std::string_view pattern) {
  if (!isGeneral(pattern)) return myNumberStyle(text, pattern);
  if (myTrim(text).empty()) return "0";
  return boxText(myCDbl(toNarrow(text)), pattern);
}

std::string checkedBoxStyle(std::string_view text, std::string_view pattern) {
  if (!myTrim(text).empty() && readLeadingNumber(toNarrow(text)).overflow) raiseError(err::kOverflow);
  return boxStyle(text, pattern);
}

double boxValue(std::string_view text, std::string_view pattern) { return myCDbl(boxStyle(text, pattern)); }

std::string boxText(double value, std::string_view pattern) {
  if (!std::isfinite(value)) value = 0.0;
  return isGeneral(pattern) ? formatGeneral(value) : formatPattern(value, pattern);
}

}  // namespace tovakin::gui
