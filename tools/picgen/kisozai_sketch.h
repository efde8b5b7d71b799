#pragma once
// Drawing helpers shared by the pictures of the reaction-modulus dialog: the canvas at the size
// the dialog's explanation area shows, soil and bedding fills, the pipe, dimension lines and
// labels. Units are pixels of the picture.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cmath>

namespace picgen::sketch {

// The explanation area of the dialog, inside its border.
inline constexpr int kWidth = 381;
inline constexpr int kHeight = 197;

inline const QColor kInk(30, 30, 30);
inline const QColor kAccent(176, 32, 32);  // the quantity the picture explains
inline const QColor kWater(40, 100, 200);
inline const QColor kSoil(222, 204, 170);
inline const QColor kBedding(236, 226, 196);
inline const QColor kRock(170, 170, 170);
inline const QColor kPipe(120, 150, 180);

inline QImage canvas() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

inline QFont font(double pixels, bool bold = false) {
  QFont f(QStringLiteral("Noto Sans CJK JP"));
  f.setPixelSize(static_cast<int>(pixels));
  f.setBold(bold);
  return f;
}

inline void begin(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
}

// A title bar across the top of the picture.
inline void title(QPainter& p, const QString& text) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(235, 240, 248));
  p.drawRect(QRectF(0, 0, kWidth, 20));
  p.setPen(kInk);
  p.setFont(font(12, true));
  p.drawText(QRectF(6, 0, kWidth - 12, 20), Qt::AlignVCenter | Qt::AlignLeft, text);
}

inline void text(QPainter& p, double x, double y, const QString& s, double size = 11, const QColor& colour = kInk,
                 bool bold = false) {
  p.setPen(colour);
  p.setFont(font(size, bold));
  p.drawText(QPointF(x, y), s);
}

// Text centred on a point (baseline adjusted to the middle).
inline void centred(QPainter& p, QPointF at, const QString& s, double size = 11, const QColor& colour = kInk,
                    bool bold = false) {
  p.setPen(colour);
  p.setFont(font(size, bold));
  const QFontMetricsF m(p.font());
  p.drawText(QPointF(at.x() - m.horizontalAdvance(s) / 2, at.y() + (m.ascent() - m.descent()) / 2), s);
}

inline void arrowHead(QPainter& p, QPointF tip, QPointF from, double size = 6) {
  const double angle = std::atan2(tip.y() - from.y(), tip.x() - from.x());
  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(tip.x() - size * std::cos(angle - 0.4), tip.y() - size * std::sin(angle - 0.4));
  head.lineTo(tip.x() - size * std::cos(angle + 0.4), tip.y() - size * std::sin(angle + 0.4));
  head.closeSubpath();
  p.fillPath(head, p.pen().color());
}

inline void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 1.5) {
  p.setPen(QPen(colour, width));
  p.drawLine(from, to);
  arrowHead(p, to, from);
}

// A dimension line with arrows at both ends and its label centred above (or beside) it.
inline void dimension(QPainter& p, QPointF a, QPointF b, const QString& label, const QColor& colour,
                      double labelOffset = -5) {
  p.setPen(QPen(colour, 1.2));
  p.drawLine(a, b);
  arrowHead(p, a, b, 5);
  arrowHead(p, b, a, 5);
  const QPointF mid((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
  centred(p, QPointF(mid.x(), mid.y() + labelOffset), label, 11, colour, true);
}

// A region of soil: filled and dotted.
inline void soil(QPainter& p, const QPainterPath& region, const QColor& fill, int seed = 7) {
  p.fillPath(region, fill);
  p.save();
  p.setClipPath(region);
  p.setPen(QPen(fill.darker(150), 1.2));
  const QRectF r = region.boundingRect();
  unsigned state = static_cast<unsigned>(seed);
  for (double y = r.top() + 3; y < r.bottom(); y += 7) {
    for (double x = r.left() + 3; x < r.right(); x += 9) {
      state = state * 1103515245u + 12345u;
      const double dx = static_cast<double>((state >> 16) % 5);
      p.drawPoint(QPointF(x + dx, y));
    }
  }
  p.restore();
}

inline QPainterPath rect(double x, double y, double w, double h) {
  QPainterPath path;
  path.addRect(QRectF(x, y, w, h));
  return path;
}

// A pipe section: the wall as a ring.
inline void pipe(QPainter& p, QPointF centre, double outer, double wall) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPipe);
  p.drawEllipse(centre, outer, outer);
  p.setBrush(Qt::white);
  p.drawEllipse(centre, outer - wall, outer - wall);
  p.setBrush(Qt::NoBrush);
}

// The ground surface as a line with short hatch strokes beneath it.
inline void groundLine(QPainter& p, double x0, double x1, double y) {
  p.setPen(QPen(kInk, 1.5));
  p.drawLine(QPointF(x0, y), QPointF(x1, y));
  p.setPen(QPen(kInk, 1));
  for (double x = x0 + 2; x < x1; x += 8) p.drawLine(QPointF(x, y), QPointF(x - 5, y + 5));
}

// The groundwater mark ▽ with its label.
inline void waterMark(QPainter& p, double x, double y, const QString& label) {
  p.setPen(QPen(kWater, 1));
  p.setBrush(Qt::NoBrush);
  QPainterPath tri;
  tri.moveTo(x - 5, y - 8);
  tri.lineTo(x + 5, y - 8);
  tri.lineTo(x, y);
  tri.closeSubpath();
  p.drawPath(tri);
  text(p, x + 8, y - 1, label, 10, kWater);
}

}  // namespace picgen::sketch
