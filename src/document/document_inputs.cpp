#include "document/document_inputs.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include "document/document_rules.h"
#include "ui/list_width.h"

namespace tovakin::gui {

ChoiceCombo::ChoiceCombo(QWidget* parent) : QComboBox(parent) {
  // Editable, so that a text outside the list can be shown; its line is read-only, so that
  // only a choice changes it.
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  setAcceptDrops(false);
  lineEdit()->setReadOnly(true);
  lineEdit()->setAcceptDrops(false);
  // A combo box takes the focus from the wheel by default, and Qt gives it before it delivers the
  // wheel: the first turn over the list would then change it. Only a click or Tab focuses it.
  setFocusPolicy(Qt::StrongFocus);
  // A text longer than the box shows its beginning, as a list entry does.
  connect(lineEdit(), &QLineEdit::textChanged, lineEdit(), [edit = lineEdit()] { edit->setCursorPosition(0); });
  // The closed box shows its entries whole too: it grows past its designed width for a longer one.
  keepEntriesWhole(*this);
}

void ChoiceCombo::setText(const QString& text) {
  const int entry = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (entry >= 0) {
    setCurrentIndex(entry);
    return;
  }
  setCurrentIndex(-1);
  setEditText(text);
}

void ChoiceCombo::showPopup() {
  // The open list is as wide as its widest entry, with room for its scroll bar: an entry such as
  // "外圧管2種(参考値)" is read whole, whatever the box's own width.
  QAbstractItemView* list = view();
  const int frame = 2 * list->frameWidth();
  const int bar = list->verticalScrollBar() ? list->verticalScrollBar()->sizeHint().width() : 0;
  list->setMinimumWidth(list->sizeHintForColumn(0) + frame + bar);
  QComboBox::showPopup();
}

void ChoiceCombo::wheelEvent(QWheelEvent* event) {
  if (!hasFocus()) {
    event->ignore();  // scrolling the window past a list must not change the case
    return;
  }
  QComboBox::wheelEvent(event);
}

RecordTextValidator::RecordTextValidator(std::size_t maxBytes, QLineEdit* box) : QValidator(box), maxBytes_(maxBytes) {
  // Emitted by the box after typing, pasting or an input method's commit that was refused.
  connect(box, &QLineEdit::inputRejected, this, [this, box] {
    if (refusedHint_.empty()) return;
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), QString::fromStdString(refusedHint_), box);
  });
}

QValidator::State RecordTextValidator::validate(QString& input, int& /*pos*/) const {
  const std::string text = input.toStdString();
  if (fitsRecordText(text, maxBytes_)) return Acceptable;
  refusedHint_ = refusedTextHint(text, maxBytes_);
  return Invalid;
}

}  // namespace tovakin::gui
