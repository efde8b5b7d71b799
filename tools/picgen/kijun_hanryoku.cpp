// H9-4-11.BMP: what the base reaction modulus e'0 stands for: the bedding round the pipe
// pushing back when the pipe widens under load.
#include "kisozai_sketch.h"
#include "pictures.h"

namespace picgen {

QImage drawKijunHanryoku() {
  using namespace sketch;
  QImage image = canvas();
  QPainter p(&image);
  begin(p);
  title(p, QStringLiteral("基礎材の基準反力係数 e'0"));

  // A trench in natural ground, the pipe bedded in the foundation material.
  const double top = 40, bottom = 188, left = 40, right = 150;
  soil(p, rect(4, top, left - 4, bottom - top), kSoil, 3);
  soil(p, rect(right, top, 176 - right, bottom - top), kSoil, 5);
  soil(p, rect(left, top, right - left, 72 - top), kSoil.lighter(108), 9);
  soil(p, rect(left, 72, right - left, bottom - 72), kBedding, 11);
  groundLine(p, 4, 176, top);
  p.setPen(QPen(kInk, 1));
  p.drawLine(QPointF(left, top), QPointF(left, bottom));
  p.drawLine(QPointF(right, top), QPointF(right, bottom));
  p.setPen(QPen(kInk, 1, Qt::DashLine));
  p.drawLine(QPointF(left, 72), QPointF(right, 72));
  text(p, left + 4, 68, QStringLiteral("埋戻し"), 10);
  text(p, left + 4, bottom - 5, QStringLiteral("基礎材"), 10);

  const QPointF centre(95, 126);
  pipe(p, centre, 30, 4);
  // The pipe widens sideways; the bedding answers with a reaction in proportion.
  arrow(p, QPointF(centre.x() - 14, centre.y()), QPointF(centre.x() - 26, centre.y()), kInk, 1.2);
  arrow(p, QPointF(centre.x() + 14, centre.y()), QPointF(centre.x() + 26, centre.y()), kInk, 1.2);
  for (double dy : {-12.0, 0.0, 12.0}) {
    arrow(p, QPointF(left + 3, centre.y() + dy), QPointF(centre.x() - 32, centre.y() + dy), kAccent, 1.8);
    arrow(p, QPointF(right - 3, centre.y() + dy), QPointF(centre.x() + 32, centre.y() + dy), kAccent, 1.8);
  }
  centred(p, QPointF(centre.x(), 84), QStringLiteral("反力 ∝ e'"), 11, kAccent, true);

  const double x = 188;
  text(p, x, 44, QStringLiteral("e' ＝ e'0・αa・αb・αw"), 13, kInk, true);
  text(p, x, 72, QStringLiteral("e'0：基準反力係数（kN/m²）"), 11, kAccent, true);
  text(p, x, 92, QStringLiteral("基礎材の種類に応じて"), 11);
  text(p, x, 108, QStringLiteral("基準書の値を入力します。"), 11);
  text(p, x, 136, QStringLiteral("管が横に広がると基礎材が"), 11);
  text(p, x, 152, QStringLiteral("押し返します。その強さを"), 11);
  text(p, x, 168, QStringLiteral("表すのが反力係数 e' です。"), 11);
  return image;
}

}  // namespace picgen
