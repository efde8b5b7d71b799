// H9-4-13.BMP: the compaction factor αb: the bedding compacted layer by layer round the pipe.
#include "kisozai_sketch.h"
#include "pictures.h"

namespace picgen {

QImage drawKatameHosei() {
  using namespace sketch;
  QImage image = canvas();
  QPainter p(&image);
  begin(p);
  title(p, QStringLiteral("基礎材の締固め度による補正係数 αb"));

  const double top = 64, bottom = 188, left = 34, right = 156;
  soil(p, rect(4, 40, left - 4, bottom - 40), kSoil, 3);
  soil(p, rect(right, 40, 180 - right, bottom - 40), kSoil, 5);
  soil(p, rect(left, top, right - left, bottom - top), kBedding, 11);
  groundLine(p, 4, left, 40);
  groundLine(p, right, 180, 40);
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(left, 40), QPointF(left, bottom));
  p.drawLine(QPointF(right, 40), QPointF(right, bottom));
  const QPointF centre(95, 138);
  pipe(p, centre, 28, 4);
  // The compacted layers, each levelled before the next.
  p.setPen(QPen(kAccent, 1, Qt::DashLine));
  for (double y = top + 20; y < bottom; y += 20) {
    p.drawLine(QPointF(left + 1, y), QPointF(right - 1, y));
  }
  // A rammer on the top layer.
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(90, 90, 90));
  p.drawRect(QRectF(80, top - 14, 30, 10));
  p.drawRect(QRectF(92, 30, 6, 20));
  p.setBrush(Qt::NoBrush);
  arrow(p, QPointF(120, 38), QPointF(120, top - 4), kAccent, 1.5);
  arrow(p, QPointF(70, 38), QPointF(70, top - 4), kAccent, 1.5);
  text(p, 124, 56, QStringLiteral("締固め"), 10, kAccent, true);
  text(p, right - 50, bottom - 4, QStringLiteral("層ごとに"), 10);

  const double x = 190;
  text(p, x, 46, QStringLiteral("αb：締固め度による補正係数"), 12, kAccent, true);
  text(p, x, 74, QStringLiteral("基礎材はよく締め固めるほど"), 11);
  text(p, x, 90, QStringLiteral("管の変形に強く抵抗します。"), 11);
  text(p, x, 116, QStringLiteral("施工で確保できる締固め度に"), 11);
  text(p, x, 132, QStringLiteral("応じた基準書の値を入力します。"), 11);
  text(p, x, 160, QStringLiteral("e' ＝ e'0・αa・αb・αw"), 12, kInk, true);
  return image;
}

}  // namespace picgen
