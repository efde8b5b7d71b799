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
  const TypedNumber read = readTypedNumber(text);
  switch (read.kind) {
    case TypedNumber::Blank:
    case TypedNumber::Number: return boxText(read.value, pattern);
    case TypedNumber::Unreadable: return std::string(text);
    case TypedNumber::Overflow: break;
  }
  // The reading's own error box, then 0.
  if (!isGeneral(pattern)) return myNumberStyle(text, pattern);
  return boxText(myCDbl(toNarrow(text)), pattern);
}

std::string checkedBoxStyle(std::string_view text, std::string_view pattern) {
  if (readTypedNumber(text).kind == TypedNumber::Overflow) raiseError(err::kOverflow);
  return boxStyle(text, pattern);
}

double boxValue(std::string_view text, std::string_view pattern) {
  if (unreadableBoxText(text)) raiseError(err::kTypeMismatch);
  return myCDbl(boxStyle(text, pattern));
}

bool unreadableBoxText(std::string_view text) { return readTypedNumber(text).kind == TypedNumber::Unreadable; }

std::string unreadableNumberMessage(std::string_view text) {
  return "「" + myTrim(text) + "」は数値として読み取れません。\r\n数値だけを入力して下さい。";
}

std::string boxText(double value, std::string_view pattern) {
  if (!std::isfinite(value)) value = 0.0;
  return isGeneral(pattern) ? formatGeneral(value) : formatPattern(value, pattern);
}

}  // namespace tovakin::gui
