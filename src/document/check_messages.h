#pragma once
// What the document window does with a code of the input check: which of its controls takes the
// focus (the one that holds the offending value) and what the message window says.
#include <QString>
#include <cstdint>
#include <optional>

#include "document/document_layout.h"
#include "ui/layer.h"

namespace tovakin::gui {

// A control of the document window that a check message points at, as the designed control it
// is: a box with its index, a pipe list, or the button that opens the reaction-modulus dialog.
struct CheckTarget {
  DocRole role = DocRole::TextBox;
  int textBox = -1;  // the index in txtTextBox, for a box only

  static CheckTarget box(int index) { return {DocRole::TextBox, index}; }
  static CheckTarget list(DocRole list) { return {list, -1}; }
  static CheckTarget kisozaiSet() { return {DocRole::KisozaiSet, -1}; }
  bool operator==(const CheckTarget&) const = default;
};

struct CheckMessage {
  std::optional<CheckTarget> focus;  // none: the focus stays where it is
  std::optional<QString> text;       // none: the message is left as it is (code 0)
};

// The row of the check-code table. 0 does nothing; the codes of the input check name their
// control and text; a code above 1000 is the program's own fault, any other an unknown input
// fault, both shown with the code. Two-line texts are joined by CR LF. Every code of
// calc::CheckCode has its own row: one added there without its row here does not compile.
CheckMessage checkMessage(std::int32_t code);

}  // namespace tovakin::gui
