#pragma once
// A scrolled frame around a window's designed layout: scroll bars where the window is smaller
// than its layout (documents tiled side by side), and the control the focus settles on brought
// into view, however it got there (a click, Tab, Enter, a check pointing at the offending box,
// a return to the window).
//
// Only where the focus settles counts: activating, hiding and showing a window move the focus
// about on their way (Qt hands it to the next box while it hides a window), and a keeper of the
// focus may then give it back; a box passed on that way is not scrolled to. A resize scrolls
// nothing either, so a window whose focus is in its first box keeps showing its top left.
//
// Keys never scroll the frame: the arrow and page keys a control leaves unused (Up and Down in a
// text box) would carry the focused control out of sight while it still takes what is typed. The
// frame scrolls by its scroll bars and the wheel.
#include <QScrollArea>
#include <QTimer>

#include "ui/layer.h"

namespace tovakin::gui {

class FocusScrollArea final : public QScrollArea {
 public:
  // The frame takes `content`, sized by its owner, and shows it from its top left.
  FocusScrollArea(QWidget* content, QWidget* parent);

  // Scrolls as little as brings the control (of the content) into view (offsetShowing).
  void showControl(QWidget* control);
  // The same in the frame that holds the control, if one does.
  static void showInItsFrame(QWidget* control);

 protected:
  // Tab moves the focus as in any window; where it settles is brought into view afterwards (the
  // scroll area's own move would scroll to the text cursor of a box passed on the way).
  bool focusNextPrevChild(bool next) override;
  // Takes the scrolling keys a control left unused and does nothing with them; they reach no
  // window above either (the MDI area is a scroll area too).
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void focusMoved(QWidget* now);
  void settle();

  QTimer settle_;
  // The first turn of the settling lets what was posted along with the focus move (a keeper's
  // give-back) run before the focus is taken as settled.
  bool secondTurn_ = false;
};

}  // namespace tovakin::gui
