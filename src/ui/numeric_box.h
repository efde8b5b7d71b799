#pragma once
// The numeric input box every dialog builds its txtTextBox array from. A box knows its index in
// the array, its display pattern ("0", "0.0", "0.00", "0.000") and whether it is read-only; the
// dialog tells it where Enter moves the focus. The box re-formats its text to the pattern when it
// is left or Enter is pressed, selects its whole text whenever it gets the focus, and reports
// every user edit through edited(); nothing the program does to the text reports an edit.
#include <QLineEdit>
#include <QPointer>
#include <string>
#include <string_view>

#include "ui/abort_boundary.h"
#include "ui/layer.h"

class QAbstractButton;

namespace tovakin::gui {

// The background of the boxes that show a computed value the user cannot type into.
inline constexpr std::uint32_t kReadOnlyBoxColour = 0x00C0FFFF;

class DialogNumericBox : public QLineEdit {
  Q_OBJECT
 public:
  // `pattern` may also be kGeneralPattern (box_style.h): the number with all its digits.
  DialogNumericBox(int index, std::string_view pattern, bool readOnly, QWidget* parent = nullptr);

  int index() const { return index_; }
  const std::string& pattern() const { return pattern_; }

  // Enter moves the focus to `next` (a box or a button).
  void setEnterSuccessor(QWidget* next);
  // Enter moves the focus to OK while it is enabled, else to Cancel.
  void setEnterSuccessorOk(QAbstractButton* ok, QAbstractButton* cancel);

  // txtTextBoxCheck: the text re-formatted to the pattern (full-width narrowed, a blank text 0).
  // Never reports an edit. False, with the text left as it stands, for a text that is not one
  // number (unreadableBoxText): the box says so when Enter is pressed or the focus leaves it.
  bool txtTextBoxCheck();
  // The value as the box shows it once re-formatted; the text itself is left alone.
  double value() const;
  // Shows a value in the pattern, as the program fills a box: reports no edit.
  void setValue(double value);

  // Focuses the box from code with its whole text selected, as a user's Tab would.
  void focusAndSelect();

 signals:
  // A user edit: typing, Backspace, Delete, cut, paste, undo, an input-method commit; in a
  // read-only box the Delete key alone (it marks the dialog edited, but changes nothing).
  void edited(int index);
  // The box got the focus (a dialog may show the box's explanation).
  void entered(int index);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void moveOnEnter();

  int index_;
  std::string pattern_;
  QPointer<QWidget> next_;
  QPointer<QAbstractButton> ok_;
  QPointer<QAbstractButton> cancel_;
  ReentryGuard check_;
};

// A number box whose text is not one number: the box brought into view in its scrolled frame, the
// notice naming the text (unreadableNumberMessage), then the focus back in the box with its text
// selected. Nothing reads the text meanwhile.
void refuseUnreadable(QLineEdit& box);
// The same once the focus change that left the box is over, when the focus has not come back to
// it (a command that read the box has already said so) and its text is
// still not one number; not for a box that is no longer shown (its dialog or document closed).
void refuseUnreadableLater(QLineEdit& box);
// Whether a focus change should make the box say so: not when another window or a context menu
// takes the focus only for a while (the focus comes back to the box).
bool leavesTheBox(Qt::FocusReason reason);

}  // namespace tovakin::gui
