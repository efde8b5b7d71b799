#pragma once
// What the document window does with a code of the input check: which of its controls takes the
// focus (the one that holds the offending value) and what the message window says.
#include <QString>
#include <cstdint>
#include <optional>

#include "ui/layer.h"

namespace tovakin::gui {

// A control of the document window that a check message points at.
struct CheckTarget {
  // KisozaiSet: the button that opens the reaction-modulus dialog.
  enum class Kind { TextBox, Kanshu, Kikaku, Yobina, KisozaiSet };
  Kind kind = Kind::TextBox;
  int textBox = -1;  // the index in txtTextBox, for Kind::TextBox only

  static CheckTarget box(int index) { return {Kind::TextBox, index}; }
  static CheckTarget combo(Kind kind) { return {kind, -1}; }
  static CheckTarget kisozaiSet() { return {Kind::KisozaiSet, -1}; }
  bool operator==(const CheckTarget&) const = default;
};

struct CheckMessage {
  std::optional<CheckTarget> focus;  // none: the focus stays where it is
  std::optional<QString> text;       // none: the message is left as it is (code 0)
};

// The row of the check-code table. 0 does nothing; the codes of the input check name their
// control and text; a code above 1000 is the program's own fault, any other an unknown input
// fault, both shown with the code. Two-line texts are joined by CR LF.
CheckMessage checkMessage(std::int32_t code);

}  // namespace tovakin::gui
