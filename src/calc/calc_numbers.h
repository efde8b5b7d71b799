#pragma once
// Conversions and operators of the calculation that fail the way the original runtime did:
// a text that is no number is a type mismatch, a whole number out of its range an overflow,
// a power without a real value an invalid call. None of them lets an inf or a NaN through.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "app/number_format.h"
#include "app/std_io.h"
#include "calc/layer.h"
#include "platform/error_box.h"

namespace tovakin::calc {

// A number text with blanks around it allowed; anything else raises type mismatch (13), a
// number beyond the range of a double overflow (6).
inline double textToDouble(std::string_view text) { return numberFromText(myTrim(text)); }

// The nearest whole number, halves to the even one, as a 32-bit (Long) or 16-bit (Integer)
// value; out of range raises overflow (6).
inline std::int32_t toLongHalfEven(double v) {
  if (!std::isfinite(v)) raiseError(err::kOverflow);
  const double r = std::nearbyint(v);  // default rounding mode: halves to even
  if (r < -2147483648.0 || r > 2147483647.0) raiseError(err::kOverflow);
  return static_cast<std::int32_t>(r);
}
inline std::int16_t toIntegerHalfEven(double v) {
  if (!std::isfinite(v)) raiseError(err::kOverflow);
  const double r = std::nearbyint(v);
  if (r < -32768.0 || r > 32767.0) raiseError(err::kOverflow);
  return static_cast<std::int16_t>(r);
}

// x ^ y: a zero base with a negative exponent or a negative base with a fractional exponent
// raises an invalid call (5), a result beyond the range of a double overflow (6).
inline double vbPow(double x, double y) {
  if ((x == 0.0 && y < 0.0) || (x < 0.0 && y != std::trunc(y))) raiseError(err::kInvalidCall);
  return checked(std::pow(x, y));
}

// e ^ x; beyond the range of a double raises overflow (6).
inline double vbExp(double x) { return checked(std::exp(x)); }

}  // namespace tovakin::calc
