#include "report/cell_conventions.h"

#include "app/number_format.h"
#include "app/std_io.h"
#include "platform/error_box.h"
#include "platform/utf8.h"
#include "report/layer.h"
#include "report/report_book.h"

namespace tovakin::report {

std::size_t utf16Units(std::string_view text) { return utf8::utf16Length(text); }

std::string num(double value, std::string_view pattern) { return formatPattern(value, pattern); }

std::string general(double value) { return formatGeneral(value); }

std::string numKept(double value, int decimals) {
  const std::string full = general(value);
  for (int d = decimals; d < 15; ++d) {
    std::string text = formatFixed(value, d);
    double shown = 0.0;
    if (parseDecimal(text, shown) && general(shown) == full) return text;
  }
  return formatFixed(value, 15);
}

std::string numText(std::string_view text, std::string_view pattern) {
  const std::string trimmed = myTrim(text);
  double value = 0;
  if (parseDecimal(toNarrow(trimmed), value)) return formatPattern(value, pattern);
  return trimmed;
}

std::string fullWidthNumber(int number) {
  static constexpr const char* kDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  std::string out;
  for (char c : std::to_string(number)) {
    if (c >= '0' && c <= '9')
      out += kDigits[c - '0'];
    else if (c == '-')
      out += "－";
  }
  return out;
}

std::string funcSignMark(double value) { return value >= 0 ? "＋" : "－"; }

std::string signedTerm(double value, std::string_view pattern) {
  return funcSignMark(value) + formatPattern(value < 0 ? -value : value, pattern);
}

Verdict capacityVerdict(double capacity, double demand) {
  const bool ok = capacity >= demand;
  return Verdict{ok, ok ? "≧" : "＜", ok ? kVerdictOk : kVerdictRedo};
}

Verdict limitVerdict(double value, double limit) {
  const bool ok = value <= limit;
  return Verdict{ok, ok ? "≦" : "＞", ok ? kVerdictOk : kVerdictRedo};
}

RaisedText stripSuperscriptMarkers(std::string_view text) {
  RaisedText out;
  int position = 1;  // 1-based UTF-16 position of the next character written
  bool pending = false;
  // Characters as the workbook counts them: an ill-formed subsequence is one U+FFFD there.
  for (const utf8::Char& c : utf8::chars(text)) {
    if (c.codePoint == '^') {
      // A marker; consecutive markers raise the first character that is not one, as removing
      // them one at a time would.
      pending = true;
    } else {
      const int units = static_cast<int>(c.utf16Units());
      if (pending) out.runs.push_back(RaisedText::Run{position, units});
      pending = false;
      out.text.append(c.bytesIn(text));
      position += units;
    }
  }
  return out;
}

void JyoCharEdit(ReportBook& book, const std::string& sheet, const std::string& address) {
  static const std::string kLabel = "JyoCharEdit";
  std::string text;
  if (!guardStep(kLabel, [&] { text = book.cellText(sheet, address); })) return;
  if (text.find('^') == std::string::npos) return;
  // Writing the cell drops its raised characters, so the cell is written once without any
  // marker and every character is raised afterwards.
  const RaisedText raised = stripSuperscriptMarkers(text);
  guardStep(kLabel, [&] { book.writeCell(sheet, address, raised.text); });
  for (const auto& run : raised.runs)
    guardStep(kLabel, [&] { book.setSuperscript(sheet, address, run.start, run.length); });
}

std::string deflectionNumerator(double kx, double load, double r) {
  return "2×" + num(kx, "0.000") + "×" + num(load, "0.000") + "×" + num(r, "0.00000") + "^4";
}
std::string deflectionDenominator(double ei, double e, double r) {
  return num(ei, "0.0000") + "＋0.061×" + num(e, "0.00") + "×" + num(r, "0.00000") + "^3";
}

}  // namespace tovakin::report
