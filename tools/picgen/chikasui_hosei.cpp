// S9-4-15.BMP: the groundwater factor αw from the compaction degree Pr, with the groundwater
// level standing over the bedding.
#include "kisozai_sketch.h"
#include "pictures.h"

namespace picgen {

QImage drawChikasuiHosei() {
  using namespace sketch;
  QImage image = canvas();
  QPainter p(&image);
  begin(p);
  title(p, QStringLiteral("地下水位の影響による補正係数 αw"));

  const double top = 40, bottom = 188, left = 34, right = 156, water = 82;
  soil(p, rect(4, top, left - 4, bottom - top), kSoil, 3);
  soil(p, rect(right, top, 180 - right, bottom - top), kSoil, 5);
  soil(p, rect(left, top, right - left, 96 - top), kSoil.lighter(108), 9);
  soil(p, rect(left, 96, right - left, bottom - 96), kBedding, 11);
  // Below the groundwater level everything is saturated.
  p.fillRect(QRectF(4, water, 176, bottom - water), QColor(40, 100, 200, 45));
  p.setPen(QPen(kWater, 1.2, Qt::DashLine));
  p.drawLine(QPointF(4, water), QPointF(180, water));
  waterMark(p, 48, water, QStringLiteral("地下水位"));
  groundLine(p, 4, 180, top);
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(left, top), QPointF(left, bottom));
  p.drawLine(QPointF(right, top), QPointF(right, bottom));
  pipe(p, QPointF(95, 142), 28, 4);
  text(p, left + 3, bottom - 4, QStringLiteral("基礎材（Pr）"), 10);

  const double x = 190;
  text(p, x, 46, QStringLiteral("αw ＝（Pr－45）／50"), 13, kAccent, true);
  text(p, x, 72, QStringLiteral("Pr：基礎材の締固め度（％）"), 11, kInk, true);
  text(p, x, 96, QStringLiteral("地下水位が高いと基礎材の"), 11);
  text(p, x, 112, QStringLiteral("反力が下がるため補正します。"), 11);
  text(p, x, 138, QStringLiteral("例 Pr 90 → αw 0.90"), 11);
  text(p, x, 164, QStringLiteral("Pr が 45 未満では αw が負に"), 11);
  text(p, x, 180, QStringLiteral("なるため計算できません。"), 11);
  return image;
}

}  // namespace picgen
