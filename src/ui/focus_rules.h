#pragma once
// Which control a document is taken up in when it comes to the front again: the one the user
// chose last, and only the user. The toolkit moves the focus about on its own while it shows,
// hides, maximizes, restores, arranges and activates windows, and when a box, a dialog or another
// program hands the focus back; none of those moves is a choice, and none changes the box.
// Documents and controls are plain handles here, so that the rule is tested without a window.
#include <utility>
#include <vector>

#include "ui/layer.h"

namespace tovakin::gui {

// How the focus came to a control of a document.
enum class FocusMove {
  UserKey,        // a key of the user reached the control that has the focus
  UserClick,      // the user pressed the mouse on the control
  UserTab,        // the control took the focus while a plain Tab, Shift+Tab or Enter of the user was handled
  OnUsersBehalf,  // the program put the focus there for the user (a check, a refused value, いいえ)
  Toolkit,        // any other move: hiding, showing, arranging, activating, a window handing it back
};

// The user's box of every document. Control{} stands for none: a document never worked in is
// left to the toolkit (its first control).
template <class Document, class Control>
class UsersBoxes {
 public:
  void moved(FocusMove how, Document document, Control control) {
    if (how == FocusMove::Toolkit || !control) return;
    for (auto& [d, c] : boxes_) {
      if (d != document) continue;
      c = control;
      return;
    }
    boxes_.emplace_back(document, control);
  }

  void closed(Document document) {
    std::erase_if(boxes_, [&](const auto& kept) { return kept.first == document; });
  }

  Control boxOf(Document document) const {
    for (const auto& [d, c] : boxes_)
      if (d == document) return c;
    return Control{};
  }

  // Once an activation has settled: the control to give the focus to, or Control{} to leave it
  // where it is. `focused` is the focus now; `focusOurs` says whether it is the documents' own
  // to take (in the documents' window, or nowhere), not the user's in some other window.
  Control giveBack(Document active, const Control& focused, bool focusOurs) const {
    Control box = boxOf(active);
    if (!box || !focusOurs || box == focused) return Control{};
    return box;
  }

 private:
  std::vector<std::pair<Document, Control>> boxes_;
};

}  // namespace tovakin::gui
