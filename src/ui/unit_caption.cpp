#include "ui/unit_caption.h"

#include <QFontMetricsF>
#include <QPainter>

namespace tovakin::gui {

namespace {
std::u16string utf16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<std::size_t>(s.size()));
}
QString qtext(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

QFont sized(const QFont& base, double points) {
  QFont font = base;
  font.setPointSizeF(points);
  return font;
}
}  // namespace

UnitCaption::UnitCaption(QWidget* parent) : QWidget(parent) {}

void UnitCaption::print(const QString& unitText, int align) {
  text_ = unitText;
  align_ = align;
  update();
}

std::vector<UnitPiece> UnitCaption::pieces() const {
  const QFont base = font();
  const UnitWidth measure = [&base](std::u16string_view text, double size) {
    return QFontMetricsF(sized(base, size)).horizontalAdvance(qtext(text));
  };
  return layoutUnitText(utf16(text_), static_cast<float>(base.pointSizeF()), align_, width(), measure);
}

void UnitCaption::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  for (const UnitPiece& piece : pieces()) {
    const QFont font = sized(this->font(), piece.size);
    painter.setFont(font);
    // Every piece hangs from the top line: a smaller size stands raised.
    painter.drawText(QPointF(piece.x, QFontMetricsF(font).ascent()), qtext(piece.text));
  }
}

void TanniPrint(UnitCaption& box, const QString& unitText, float /*size*/, int align) { box.print(unitText, align); }

QString dummyTanni(const QString& unitText) { return qtext(dummyTanni(utf16(unitText))); }

}  // namespace tovakin::gui
