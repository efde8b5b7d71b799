#pragma once
// A unit caption beside an input box: a small box into which a unit text with its one-character
// markup is drawn (see unit_text.h), in the box's own font.
#include <QString>
#include <QWidget>
#include <vector>

#include "ui/unit_text.h"

namespace tovakin::gui {

class UnitCaption : public QWidget {
 public:
  explicit UnitCaption(QWidget* parent = nullptr);

  // Replaces what the box shows; `align` 1 right-aligns, any other value left-aligns.
  void print(const QString& unitText, int align);
  const QString& unitText() const { return text_; }
  // The pieces as they are drawn now, positions in pixels from the box's left edge.
  std::vector<UnitPiece> pieces() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  int align_ = 0;
};

// Clears the box and draws the unit text into it. `size` is not used (the box's font decides),
// as every caller passes 11.
void TanniPrint(UnitCaption& box, const QString& unitText, float size, int align);
// The measuring text of a unit text: each marker a blank.
QString dummyTanni(const QString& unitText);

}  // namespace tovakin::gui
