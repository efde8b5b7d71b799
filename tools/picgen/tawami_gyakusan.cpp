// S9-4-17.BMP: e' back-calculated from a measured deflection: the pipe ring widened by ΔX
// under the vertical load Wv on its support, and the formula with its quantities.
#include <cmath>

#include "kisozai_sketch.h"
#include "pictures.h"

namespace picgen {

QImage drawTawamiGyakusan() {
  using namespace sketch;
  QImage image = canvas();
  QPainter p(&image);
  begin(p);
  title(p, QStringLiteral("たわみ量計測値から e' を逆算"));

  const QPointF c(88, 112);
  const double r = 44;
  // The vertical load on the crown.
  for (double x = c.x() - 36; x <= c.x() + 36; x += 12) arrow(p, QPointF(x, 34), QPointF(x, 54), kInk, 1.2);
  text(p, c.x() + 42, 46, QStringLiteral("Wv"), 12, kInk, true);
  // The ring as laid (dashed) and as measured: wider by ΔX, lower by the same amount.
  p.setPen(QPen(kInk, 1, Qt::DashLine));
  p.drawEllipse(c, r, r);
  p.setPen(QPen(kPipe.darker(130), 3));
  p.drawEllipse(c, r + 7, r - 7);
  // R, to the wall centre.
  p.setPen(QPen(kInk, 1));
  p.drawLine(c, QPointF(c.x() + r * std::cos(-0.8), c.y() + r * std::sin(-0.8)));
  text(p, c.x() + 8, c.y() - 12, QStringLiteral("R"), 12, kInk, true);
  // ΔX: the increase of the horizontal diameter.
  dimension(p, QPointF(c.x() - r - 7, c.y() + 4), QPointF(c.x() + r + 7, c.y() + 4), QString(), kAccent);
  centred(p, QPointF(c.x(), c.y() + 16), QStringLiteral("D＋ΔX"), 11, kAccent, true);
  // The support of the bedding under the pipe, with its angle 2θ that gives K.
  QPainterPath bed;
  bed.moveTo(c.x() - 66, 188);
  bed.lineTo(c.x() - 66, c.y() + 30);
  bed.lineTo(c.x() - 34, c.y() + 30);
  bed.arcTo(QRectF(c.x() - r - 7, c.y() - r + 7, 2 * (r + 7), 2 * (r - 7)), 220, 100);
  bed.lineTo(c.x() + 66, c.y() + 30);
  bed.lineTo(c.x() + 66, 188);
  bed.closeSubpath();
  soil(p, bed, kBedding, 11);
  p.setPen(QPen(kInk, 1, Qt::DotLine));
  p.drawLine(c, QPointF(c.x() - 38, c.y() + 36));
  p.drawLine(c, QPointF(c.x() + 38, c.y() + 36));
  text(p, c.x() - 10, 184, QStringLiteral("2θ → K"), 11, kInk, true);

  const double x = 178;
  text(p, x, 44, QStringLiteral("e' ＝"), 12, kInk, true);
  text(p, x + 30, 40, QStringLiteral("2・F1・K・Wv・R⁴－E・I・ΔX"), 11, kAccent, true);
  p.setPen(QPen(kInk, 1));
  p.drawLine(QPointF(x + 30, 45), QPointF(x + 198, 45));
  text(p, x + 68, 60, QStringLiteral("0.061・R³・ΔX"), 11, kAccent, true);
  text(p, x, 86, QStringLiteral("ΔX：増加たわみ量（m）"), 11);
  text(p, x, 102, QStringLiteral("F1：変形遅れ係数  K：支持角の係数"), 10.5);
  text(p, x, 118, QStringLiteral("Wv：土圧・上載荷重（kN/m²）"), 11);
  text(p, x, 134, QStringLiteral("R ：管厚中心半径（m）"), 11);
  text(p, x, 150, QStringLiteral("E ：ヤング係数（kN/m²）"), 11);
  text(p, x, 166, QStringLiteral("I ：断面二次モーメント（m⁴/m）"), 11);
  text(p, x, 182, QStringLiteral("　 肉厚 t の管壁で t³／12"), 11);
  return image;
}

}  // namespace picgen
