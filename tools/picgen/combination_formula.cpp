// IMAGE/S9-4-1.BMP: the internal/external pressure combination formula with what S and n mean,
// beside the curves the formula gives for three values of n. The combination-formula dialog
// shows it at its own size in an area of 405 x 205 pixels inside the frame.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <string_view>

#include "pictures.h"

namespace picgen {
namespace {

constexpr int kWidth = 405;
constexpr int kHeight = 205;

const QColor kInk(0x20, 0x20, 0x20);
const QColor kAccent(0x1F, 0x4E, 0xA8);  // S and n: the two values the dialog sets
const QColor kGrey(0x90, 0x90, 0x90);

QFont japanese(int pixels, bool bold = false) {
  QFont f(QStringLiteral("Noto Sans CJK JP"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

// Quantities are set in an italic serif face, as a formula is printed.
QFont symbol(int pixels) {
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setPixelSize(pixels);
  f.setItalic(true);
  return f;
}

QFont upright(int pixels) {
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setPixelSize(pixels);
  return f;
}

// A quantity: its letters and the index written lower and smaller after them ("P", "ext").
struct Term {
  QString base;
  QString index;
};

constexpr int kIndexDrop = 4;

QFont indexFont(const QFont& font) {
  QFont f = font;
  f.setPixelSize(std::max(8, font.pixelSize() * 3 / 4));
  return f;
}

int widthOf(const Term& term, const QFont& font) {
  return QFontMetrics(font).horizontalAdvance(term.base) + QFontMetrics(indexFont(font)).horizontalAdvance(term.index);
}

// A run of text at the pen position; the position moves past it.
struct Pen {
  QPainter& p;
  int x;
  int baseline;

  void text(const QString& s, const QFont& font, const QColor& colour = kInk) {
    p.setFont(font);
    p.setPen(colour);
    p.drawText(x, baseline, s);
    x += QFontMetrics(font).horizontalAdvance(s);
  }
  // A quantity with a lowered index in a smaller face, as the report writes Ｐext and Ｐint.
  void indexed(const Term& term, const QFont& font, const QColor& colour = kInk) {
    text(term.base, font, colour);
    if (term.index.isEmpty()) return;
    baseline += kIndexDrop;
    text(term.index, indexFont(font), colour);
    baseline -= kIndexDrop;
  }
  // A fraction centred on the formula's axis (a little above the baseline).
  void fraction(const Term& numerator, const Term& denominator, const QFont& font) {
    const QFontMetrics m(font);
    const int width = std::max(widthOf(numerator, font), widthOf(denominator, font)) + 6;
    const int axis = baseline - 5;
    const int left = x, saved = baseline;
    p.setPen(QPen(kInk, 1));
    p.drawLine(x, axis, x + width, axis);
    x = left + (width - widthOf(numerator, font)) / 2;
    baseline = axis - 3 - m.descent();
    indexed(numerator, font);
    x = left + (width - widthOf(denominator, font)) / 2;
    baseline = axis + 2 + m.ascent();
    indexed(denominator, font);
    baseline = saved;
    x = left + width;
  }
  // A tall bracket, so that it encloses a fraction.
  void bracket(const QString& s) {
    QFont f = upright(34);
    f.setWeight(QFont::Light);
    p.setFont(f);
    p.setPen(kInk);
    const QFontMetrics m(f);
    p.drawText(x, baseline + 7, s);
    x += m.horizontalAdvance(s);
  }
};

void drawFormula(QPainter& p) {
  p.setFont(japanese(13, true));
  p.setPen(kInk);
  p.drawText(8, 18, QStringLiteral("内外圧合成式"));

  const QFont var = symbol(14);
  Pen pen{p, 8, 62};
  pen.indexed({QStringLiteral("P"), QStringLiteral("a")}, var);
  pen.text(QStringLiteral(" = "), upright(14));
  pen.bracket(QStringLiteral("{"));
  pen.text(QStringLiteral("1 − "), upright(14));
  pen.bracket(QStringLiteral("("));
  pen.fraction({QStringLiteral("S·P′"), {}}, {QStringLiteral("P"), QStringLiteral("ext")}, var);
  pen.bracket(QStringLiteral(")"));
  // The exponent n, raised.
  pen.baseline -= 18;
  pen.text(QStringLiteral("n"), symbol(13), kAccent);
  pen.baseline += 18;
  pen.bracket(QStringLiteral("}"));
  pen.text(QStringLiteral(" × "), upright(14));
  pen.fraction({QStringLiteral("P"), QStringLiteral("int")}, {QStringLiteral("S"), {}}, var);

  // What each quantity is; S and n, the two values the dialog sets, in the accent colour.
  struct Entry {
    const char* base;
    const char* index;
    const char* meaning;
    bool accent;
  };
  const Entry entries[] = {
      {"P", "a", "：許容内圧", false},
      {"P′", "", "：外圧換算値　M／(0.318R)", false},
      {"P", "ext", "：ひびわれ外圧", false},
      {"S", "", "：安全率", true},
      {"n", "", "：管の種類や構造等によって決まる係数", true},
  };
  int y = 106;
  for (const Entry& e : entries) {
    Pen line{p, 10, y};
    line.indexed({QString::fromUtf8(e.base), QString::fromUtf8(e.index)}, symbol(12), e.accent ? kAccent : kInk);
    line.x = 34;
    line.text(QString::fromUtf8(e.meaning), japanese(11, e.accent), e.accent ? kAccent : kInk);
    if (e.index == std::string_view("ext")) {
      // The crack pressures side by side.
      line.x = 134;
      line.indexed({QStringLiteral("P"), QStringLiteral("int")}, symbol(12));
      line.x = 158;
      line.text(QStringLiteral("：ひびわれ内圧"), japanese(11));
    }
    y += 19;
  }
}

// The curves S·Pa/Pint = 1 − (S·P′/Pext)^n for n = 1, 2, 3: the larger n, the less the external load
// takes from the allowable internal pressure.
void drawCurves(QPainter& p) {
  const int left = 278, bottom = 166, size = 112;
  const auto at = [&](double x, double y) { return QPointF(left + x * size, bottom - y * size); };

  // The pairs the formula allows under the curve of n = 2 (the value a new case starts with).
  QPainterPath allowed(at(0, 0));
  for (int i = 0; i <= 50; ++i) {
    const double x = i / 50.0;
    allowed.lineTo(at(x, 1 - x * x));
  }
  allowed.closeSubpath();
  p.fillPath(allowed, QColor(0xE3, 0xEC, 0xFA));

  p.setPen(QPen(kInk, 1));
  p.drawLine(at(0, 0), at(1.12, 0));
  p.drawLine(at(0, 0), at(0, 1.12));
  p.setBrush(kInk);
  const QPointF xEnd = at(1.12, 0), yEnd = at(0, 1.12);
  p.drawPolygon(QPolygonF{xEnd, xEnd + QPointF(-6, -3), xEnd + QPointF(-6, 3)});
  p.drawPolygon(QPolygonF{yEnd, yEnd + QPointF(-3, 6), yEnd + QPointF(3, 6)});
  p.setBrush(Qt::NoBrush);

  p.setFont(upright(11));
  p.drawText(at(0, 0) + QPointF(-10, 13), QStringLiteral("0"));
  p.drawText(at(1, 0) + QPointF(-3, 13), QStringLiteral("1"));
  p.drawText(at(0, 1) + QPointF(-10, 4), QStringLiteral("1"));
  p.setPen(QPen(kGrey, 1, Qt::DotLine));
  p.drawLine(at(1, 0), at(1, 1));
  p.drawLine(at(0, 1), at(1, 1));

  // Axis titles: the external ratio along, the internal ratio up.
  Pen xTitle{p, left + 30, bottom + 30};
  xTitle.text(QStringLiteral("S·P′ / "), symbol(12));
  xTitle.indexed({QStringLiteral("P"), QStringLiteral("ext")}, symbol(12));
  Pen yTitle{p, left - 14, bottom - size - 22};
  yTitle.text(QStringLiteral("S·"), symbol(12));
  yTitle.indexed({QStringLiteral("P"), QStringLiteral("a")}, symbol(12));
  yTitle.text(QStringLiteral(" / "), symbol(12));
  yTitle.indexed({QStringLiteral("P"), QStringLiteral("int")}, symbol(12));

  struct Curve {
    int n;
    QPen pen;
    QPointF label;
  };
  const Curve curves[] = {
      {1, QPen(kGrey, 1.2), at(0.36, 0.52)},
      {2, QPen(kAccent, 2.0), at(0.62, 0.78)},
      {3, QPen(kGrey, 1.2), at(0.84, 0.62)},
  };
  for (const Curve& c : curves) {
    QPainterPath path(at(0, 1));
    for (int i = 1; i <= 50; ++i) {
      const double x = i / 50.0;
      double y = 1;
      for (int k = 0; k < c.n; ++k) y *= x;
      path.lineTo(at(x, 1 - y));
    }
    p.setPen(c.pen);
    p.drawPath(path);
    Pen label{p, static_cast<int>(c.label.x()), static_cast<int>(c.label.y())};
    label.text(QStringLiteral("n"), symbol(11), c.n == 2 ? kAccent : kInk);
    label.text(QStringLiteral("=%1").arg(c.n), upright(11), c.n == 2 ? kAccent : kInk);
  }
}

}  // namespace

QImage drawCombinationFormula() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  drawFormula(p);
  // The curves' panel, set off from the formula by a thin rule.
  p.setPen(QPen(QColor(0xD0, 0xD0, 0xD0), 1));
  p.drawLine(246, 10, 246, kHeight - 10);
  drawCurves(p);
  return image;
}

}  // namespace picgen
