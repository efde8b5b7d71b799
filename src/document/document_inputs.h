#pragma once
// The input controls of the document window that behave otherwise than Qt's own.
#include <QComboBox>
#include <QValidator>
#include <cstddef>
#include <string>

#include "ui/layer.h"

class QLineEdit;
class QWheelEvent;

namespace tovakin::gui {

// A drop-down list whose text the user changes only by choosing an entry: typing, Delete, cut,
// paste and drops do nothing, and the wheel over it changes nothing unless it has the focus.
// The program may show any text, also one that is not (or no longer) an entry, as a case saved
// with a pipe the database has since lost. "The user chose an entry" is activated(); what the
// program sets emits no activated().
class ChoiceCombo : public QComboBox {
  Q_OBJECT
 public:
  explicit ChoiceCombo(QWidget* parent = nullptr);

  // Shows the text: the entry when it is one (compared exactly), else the text outside the list.
  void setText(const QString& text);
  QString text() const { return currentText(); }

  // Opens the list at least as wide as its widest entry.
  void showPopup() override;

 protected:
  void wheelEvent(QWheelEvent* event) override;
};

// Keeps a free text of a box within what its record field can hold: at most `maxBytes` bytes of
// code page 932, and only characters that code page has. A text refused (a character that code
// page lacks, a paste too long) is explained in a tool tip at the box, so that nothing typed or
// pasted vanishes without a word.
class RecordTextValidator : public QValidator {
  Q_OBJECT
 public:
  RecordTextValidator(std::size_t maxBytes, QLineEdit* box);
  State validate(QString& input, int& pos) const override;

 private:
  std::size_t maxBytes_;
  mutable std::string refusedHint_;  // why the last text was refused
};

}  // namespace tovakin::gui
