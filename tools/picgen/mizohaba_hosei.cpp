// S9-4-14.BMP: the trench-width factor αa: the trench width B against the standard width BS
// of the nominal size, and the formula the dialog and the report use.
#include "kisozai_sketch.h"
#include "pictures.h"

namespace picgen {

QImage drawMizohabaHosei() {
  using namespace sketch;
  QImage image = canvas();
  QPainter p(&image);
  begin(p);
  title(p, QStringLiteral("溝幅による補正係数 αa（標準溝幅 BS）"));

  // The trench as dug (B) and the standard width of the nominal size (BS, dashed).
  const double top = 52, bottom = 176, left = 22, right = 166;
  const double bsLeft = 46, bsRight = 142;
  soil(p, rect(4, top, left - 4, bottom - top + 14), kSoil, 3);
  soil(p, rect(right, top, 180 - right, bottom - top + 14), kSoil, 5);
  soil(p, rect(4, bottom, 176, 14), kSoil, 8);
  soil(p, rect(left, 96, right - left, bottom - 96), kBedding, 11);
  groundLine(p, 4, 180, top);
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(left, top), QPointF(left, bottom));
  p.drawLine(QPointF(right, top), QPointF(right, bottom));
  p.drawLine(QPointF(left, bottom), QPointF(right, bottom));
  p.setPen(QPen(kAccent, 1.2, Qt::DashLine));
  p.drawLine(QPointF(bsLeft, top + 18), QPointF(bsLeft, bottom));
  p.drawLine(QPointF(bsRight, top + 18), QPointF(bsRight, bottom));
  pipe(p, QPointF(94, 140), 26, 4);

  dimension(p, QPointF(left, top - 8), QPointF(right, top - 8), QStringLiteral("B"), kInk);
  dimension(p, QPointF(bsLeft, top + 22), QPointF(bsRight, top + 22), QStringLiteral("BS"), kAccent);
  text(p, left + 3, bottom - 4, QStringLiteral("基礎材"), 10);

  const double x = 190;
  text(p, x, 46, QStringLiteral("αa ＝ 1 ＋ 0.1×(B－BS)／1000"), 12, kInk, true);
  text(p, x, 72, QStringLiteral("B ：溝幅（mm）"), 11);
  text(p, x, 88, QStringLiteral("　　設計条件の溝幅"), 11);
  text(p, x, 108, QStringLiteral("BS：標準溝幅（mm）"), 11, kAccent, true);
  text(p, x, 124, QStringLiteral("　　呼び径から［計算］で"), 11);
  text(p, x, 140, QStringLiteral("例 B 1200, BS 800 → αa 1.04"), 11);
  text(p, x, 166, QStringLiteral("現地盤が岩盤の場合は"), 11);
  text(p, x, 182, QStringLiteral("補正しない（αa ＝ 1.0）"), 11);
  return image;
}

}  // namespace picgen
