#include "ui/numeric_box.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QTimer>

#include "platform/error_box.h"
#include "platform/message_box.h"
#include "ui/abort_boundary.h"
#include "ui/box_style.h"
#include "ui/document_focus.h"
#include "ui/focus_scroll_area.h"
#include "ui/form_helpers.h"

namespace tovakin::gui {

DialogNumericBox::DialogNumericBox(int index, std::string_view pattern, bool readOnly, QWidget* parent)
    : QLineEdit(parent), index_(index), pattern_(pattern) {
  setObjectName(QStringLiteral("txtTextBox_%1").arg(index));
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // A file dragged onto a box must not land in it as text.
  setAcceptDrops(false);
  if (readOnly) {
    // Read-only for every way of editing (typing, Delete, cut, paste, input method), not only
    // for typed characters: a computed value the user could clear would be adopted as 0.
    setReadOnly(true);
    QPalette p = palette();
    p.setColor(QPalette::Base, designColour(kReadOnlyBoxColour));
    setPalette(p);
  }
  // textEdited sees every user edit and nothing the program sets.
  connect(this, &QLineEdit::textEdited, this, [this] { emit edited(index_); });
}

void DialogNumericBox::setEnterSuccessor(QWidget* next) {
  next_ = next;
  ok_ = nullptr;
  cancel_ = nullptr;
}

void DialogNumericBox::setEnterSuccessorOk(QAbstractButton* ok, QAbstractButton* cancel) {
  next_ = nullptr;
  ok_ = ok;
  cancel_ = cancel;
}

bool DialogNumericBox::txtTextBoxCheck() {
  const std::string raw = text().toStdString();
  if (unreadableBoxText(raw)) return false;
  std::string formatted;
  // A number too large to read is this procedure's error; on Ignore the box shows zero.
  if (!guardStep("txtTextBoxCheck", [&] { formatted = checkedBoxStyle(raw, pattern_); }))
    formatted = boxText(0.0, pattern_);
  const QString shown = QString::fromStdString(formatted);
  if (shown != text()) setText(shown);
  return true;
}

double DialogNumericBox::value() const { return boxValue(text().toStdString(), pattern_); }

void DialogNumericBox::setValue(double value) {
  // A value that is not a number never reaches a box: it shows as 0.
  setText(QString::fromStdString(boxText(value, pattern_)));
}

void DialogNumericBox::focusAndSelect() {
  setFocus(Qt::OtherFocusReason);
  selectAll();
}

void DialogNumericBox::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    event->accept();
    if (check_.running()) return;
    bool readable = true;
    check_.run([&] { shielded([&] { readable = txtTextBoxCheck(); }); });
    if (!readable) {
      check_.run([this] { shielded([this] { refuseUnreadable(*this); }); });
      return;
    }
    // After 中止 in the re-format's error box the dialog is closing: no focus move.
    if (!abortPending()) moveOnEnter();
    return;
  }
  if (key == Qt::Key_Delete && isReadOnly()) {
    emit edited(index_);
    event->accept();
    return;
  }
  // Copying counts as touching the value, as a typed control character always has.
  if (!isReadOnly() && event->matches(QKeySequence::Copy)) emit edited(index_);
  QLineEdit::keyPressEvent(event);
}

void DialogNumericBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  selectAllAfterFocus(*this);
  emit entered(index_);
}

void DialogNumericBox::focusOutEvent(QFocusEvent* event) {
  // The error box of a failing re-format takes the focus itself: no second re-format under it.
  bool readable = true;
  check_.run([&] { shielded([&] { readable = txtTextBoxCheck(); }); });
  if (!readable && leavesTheBox(event->reason())) refuseUnreadableLater(*this);
  QLineEdit::focusOutEvent(event);
  // A number wider than its box shows its leading digits, not its last decimals.
  home(false);
}

void DialogNumericBox::moveOnEnter() {
  QWidget* target = next_;
  if (ok_ || cancel_) target = (ok_ && ok_->isEnabled()) ? static_cast<QWidget*>(ok_.data()) : cancel_.data();
  if (!target) return;
  if (auto* box = qobject_cast<DialogNumericBox*>(target)) {
    box->focusAndSelect();
  } else {
    target->setFocus(Qt::OtherFocusReason);
  }
}

void refuseUnreadable(QLineEdit& box) {
  // The box the message speaks of is in view while the message waits.
  FocusScrollArea::showInItsFrame(&box);
  msgBox(unreadableNumberMessage(box.text().toStdString()), MsgButtons::OK, MsgIcon::None, "");
  focusOnUsersBehalf(box);
  box.selectAll();
}

void refuseUnreadableLater(QLineEdit& box) {
  QTimer::singleShot(0, &box, [&box] {
    if (box.hasFocus() || !box.isVisible() || !unreadableBoxText(box.text().toStdString())) return;
    shielded([&box] { refuseUnreadable(box); });
  });
}

bool leavesTheBox(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace tovakin::gui
