#pragma once
// The explanation pictures of the condition dialogs, drawn at build time. One function per
// picture, each in its own source file; the table in main.cpp names the file each one becomes.
#include <QImage>

namespace picgen {

struct Picture {
  const char* fileName;  // under IMAGE/
  QImage (*draw)();
};

QImage drawKijunHanryoku();   // H9-4-11.BMP
QImage drawMizohabaHosei();   // S9-4-14.BMP
QImage drawKatameHosei();     // H9-4-13.BMP
QImage drawChikasuiHosei();   // S9-4-15.BMP
QImage drawTawamiGyakusan();  // S9-4-17.BMP
QImage drawCombinationFormula();  // S9-4-1.BMP

}  // namespace picgen
