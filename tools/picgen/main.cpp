// Build-time tool: draws the explanation pictures the dialogs show and writes them as .BMP files.
//
//   picgen OUTPUT-FOLDER
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "pictures.h"

namespace picgen {
// One line per picture: its file name and the function that draws it.
constexpr Picture kPictures[] = {
    {"H9-4-11.BMP", drawKijunHanryoku},
    {"S9-4-14.BMP", drawMizohabaHosei},
    {"H9-4-13.BMP", drawKatameHosei},
    {"S9-4-15.BMP", drawChikasuiHosei},
    {"S9-4-17.BMP", drawTawamiGyakusan},
    {"S9-4-1.BMP", drawCombinationFormula},
};
}  // namespace picgen

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: picgen OUTPUT-FOLDER\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(".")) {
    std::fprintf(stderr, "picgen: cannot create %s\n", argv[1]);
    return 1;
  }
  for (const picgen::Picture& picture : picgen::kPictures) {
    if (!picture.fileName) continue;
    const QString path = folder.filePath(QString::fromLatin1(picture.fileName));
    if (!picture.draw().save(path, "BMP")) {
      std::fprintf(stderr, "picgen: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
