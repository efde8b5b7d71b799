#pragma once
// How a dialog's numeric box shows its number, as plain functions: the fixed patterns "0" to
// "0.000" (myNumberStyle), and the general form for a quantity that a fixed number of decimals
// would wipe out, such as the moment of inertia of a pipe wall per metre (8.333E-08 m⁴/m).
#include <string>
#include <string_view>

#include "ui/layer.h"

namespace tovakin::gui {

// The pattern of a box that shows its number in full: every significant digit kept (at most
// 15), an exponent for very small and very large numbers ("8.333E-08"), an empty box "0".
inline constexpr const char* kGeneralPattern = "General";

// The text re-formatted to the box's pattern, read by readTypedNumber (full-width and "。" narrowed,
// a blank text 0). A text that is not one number ("2,5", "1.5m") is left as it stands: the box
// refuses it (unreadableBoxText) instead of showing another number.
std::string boxStyle(std::string_view text, std::string_view pattern);
// The same, for the box's own re-format: a number beyond the range of a double raises overflow
// (6) to the caller instead of showing the error box of the number reading.
std::string checkedBoxStyle(std::string_view text, std::string_view pattern);
// The number a box shows once re-formatted. A text that is not one number raises type mismatch
// (13): every reader refuses such a text before, with unreadableNumberMessage.
double boxValue(std::string_view text, std::string_view pattern);
// True for a text that a number box cannot read as one number; false for a blank text and for a
// number beyond a double, which have their own handling.
bool unreadableBoxText(std::string_view text);
// What the box says of such a text, naming it.
std::string unreadableNumberMessage(std::string_view text);
// A value as the program fills a box; a value that is not finite shows as 0.
std::string boxText(double value, std::string_view pattern);

}  // namespace tovakin::gui
