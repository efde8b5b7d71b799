#pragma once
// The explanation pictures of the condition dialogs, drawn at build time. One function per
// picture, each in its own source file; the table in main.cpp names the file each one becomes.
#include <QImage>

namespace picgen {

struct Picture {
  const char* fileName;  // under IMAGE/
  QImage (*draw)();
};

// IMAGE/S9-4-1.BMP: the combination formula of the internal/external pressures, S and n.
QImage drawCombinationFormula();

}  // namespace picgen
