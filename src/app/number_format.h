#pragma once
// The one number formatter of the program: every fixed pattern ("0" … "0.00000") and every
// "round to k decimals" of the calculation goes through it.
//
// Rule: the value is taken in its decimal form with 15 significant digits and rounded half
// away from zero at the k-th decimal (so 1.0005 with "0.000" gives "1.001"); half-width
// digits, "." as the decimal point whatever the locale, no thousands separator, and a value
// that rounds to zero has no minus sign. A value that is not finite raises overflow (6).
#include <string>
#include <string_view>
#include "app/layer.h"

namespace tovakin::app {

// The value with exactly `decimals` decimals (0 to 15).
std::string formatFixed(double value, int decimals);

// The value in a fixed pattern: "0", "0.0", "0.00", ... (the number of "0" after the point
// gives the decimals).
std::string formatPattern(double value, std::string_view pattern);

// The value rounded to `decimals` decimals by the rule above, as a double.
double roundTo(double value, int decimals);

// Reads a plain decimal text ("-12.5", "3e4"); "." is the point whatever the locale.
// Returns false when the whole text is not one number.
bool parseDecimal(std::string_view text, double& out);

// How a text reads as one number.
enum class NumberText { Number, NoNumber, OutOfRange };
// Reads a text that must be one plain decimal number, as parseDecimal does, and tells a text
// that is no number ("abc", "12abc", "inf", "nan", "") from a number beyond the range of a
// double ("1e999"). A number too small for a double reads as 0. `out` is set only for Number.
NumberText readNumberText(std::string_view text, double& out);
// The same reading as a value, with the runtime's errors: no number raises type mismatch (13), a
// number beyond the range of a double raises overflow (6).
double numberFromText(std::string_view text);

// The shortest decimal text with at most 15 significant digits, without trailing zeros
// (18 → "18", 9.8 → "9.8", 0.1 + 0.2 → "0.3"); exponent form "1E+20" / "1E-05" as the
// original runtime wrote very large and very small numbers.
std::string formatGeneral(double value);

}  // namespace tovakin::app
