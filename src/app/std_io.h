#pragma once
// Small pure helpers on texts, numbers and paths that every part of the program uses.
// Texts are UTF-8; "characters" are counted as UTF-16 units where a length matters.
// Paths use "/" as the separator.
#include <optional>
#include <string>
#include <string_view>

#include "app/fixed_text.h"
#include "app/layer.h"

namespace tovakin::app {

// Drops blanks (" " and the full-width "　") at both ends; the text ends at the first NUL.
std::string myTrim(std::string_view value);
// Exact-match forms, so that texts, literals and record fields never pick the Null form.
inline std::string myTrim(const std::string& value) { return myTrim(std::string_view(value)); }
inline std::string myTrim(const char* value) { return myTrim(std::string_view(value)); }
template <std::size_t N>
std::string myTrim(const FixedText<N>& value) {
  return myTrim(std::string_view(value.str()));
}
// The Null-passing form: Null (nullopt) stays Null.
std::optional<std::string> myTrim(const std::optional<std::string>& value);
// A number is trimmed in its text form (12.5 gives "12.5").
std::string myTrim(double value);

// The leading number of a text (blanks, tabs and line feeds skipped; "." is the point;
// exponent "E" or "D"; "&H" hexadecimal, "&O" octal); no number gives 0.
double myCDbl(std::string_view text);
// The same reading without the error box: `overflow` where myCDbl overflows (a number beyond the
// range of a double), `value` then 0; a text without a number is 0, as myCDbl reads it, and no
// overflow.
struct LeadingNumber {
  double value = 0.0;
  bool overflow = false;
};
LeadingNumber readLeadingNumber(std::string_view text);

// What the user typed into a number box, read as the box shows it: full-width digits, signs and
// points narrowed, "。" a decimal point as "．" is, blanks around the text passed over, then the
// leading number as myCDbl reads it. Only a text that is that number and nothing else reads as
// a Number: "2,5", "7,000", "1.5m", "1 5" and "abc" are Unreadable, never cut to a leading number
// or taken for 0, and so is a text with leftovers whose number is too large ("1e999abc"). A blank
// text is Blank (a box shows it as 0); a number beyond the range of a double, and nothing else,
// is Overflow. Every number box of every window reads its text through this one function.
struct TypedNumber {
  enum Kind { Number, Blank, Unreadable, Overflow } kind = Blank;
  double value = 0.0;  // the number; 0 for every other kind
};
TypedNumber readTypedNumber(std::string_view text);

// Re-formats the text of a number box with a fixed pattern ("0", "0.00", ...): full-width
// digits and signs are accepted, an empty or blank text gives 0 in the pattern.
std::string myNumberStyle(std::string_view text, std::string_view format);

// Full-width letters, digits, signs and punctuation to their half-width forms.
std::string toNarrow(std::string_view text);

// The larger of two numbers; b when they are equal; Null when either is Null.
std::optional<double> UserMax(std::optional<double> a, std::optional<double> b);

std::string myFilenameDir(std::string_view path);       // "" when there is no "/"
std::string myFilenameFilename(std::string_view path);  // the whole path when there is no "/"
std::string myFilenameNoExt(std::string_view path);     // unchanged when the name has no "."
std::string myPathEdit(std::string_view path);          // adds a trailing "/"; "" stays ""
std::string myPathTrim(std::string_view path, int limit);  // ".../tail" for the recent-file menu

}  // namespace tovakin::app
