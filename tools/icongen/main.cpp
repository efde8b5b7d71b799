// Build-time tool: draws the program's window icon, a buried pipe seen in cross-section with the
// character 管 in its bore, and writes it as one .ico file holding the icon at 16, 32, 48 and 64
// pixels, each drawn at its own size (the character only where it can be read).
//
//   icongen OUTPUT.ico
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImageWriter>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

QImage drawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const qreal s = size;

  // The soil around the pipe: a rounded square in earth brown, darker towards the bottom.
  QLinearGradient soil(0, 0, 0, s);
  soil.setColorAt(0.0, QColor(0xC8, 0x9B, 0x62));
  soil.setColorAt(1.0, QColor(0x8A, 0x5E, 0x33));
  p.setPen(Qt::NoPen);
  p.setBrush(soil);
  p.drawRoundedRect(QRectF(0, 0, s, s), s * 0.12, s * 0.12);
  // The ground surface.
  p.setBrush(QColor(0x5E, 0x9C, 0x3A));
  QPainterPath grass;
  grass.addRoundedRect(QRectF(0, 0, s, s * 0.16), s * 0.12, s * 0.12);
  p.drawPath(grass);

  // The pipe wall and its bore.
  const QPointF centre(s / 2, s * 0.58);
  const qreal outer = s * 0.38;
  const qreal wall = s * 0.09;
  p.setBrush(QColor(0x34, 0x4E, 0x7A));
  p.drawEllipse(centre, outer, outer);
  p.setBrush(QColor(0xE6, 0xF0, 0xFA));
  p.drawEllipse(centre, outer - wall, outer - wall);

  // 管 in the bore, where the bore is large enough to read it.
  if (size < 32) return image;
  QFont font(QStringLiteral("Noto Sans CJK JP"));
  font.setBold(true);
  font.setPixelSize(qRound((outer - wall) * 1.35));
  p.setFont(font);
  p.setPen(QColor(0x1F, 0x30, 0x4D));
  const QRectF bore(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
  p.drawText(bore, Qt::AlignCenter, QStringLiteral("管"));
  return image;
}

// One icon file of several images: each image is written as an icon file of its own, then the
// directory entries are gathered into one directory and the images' data follow it.
QByteArray iconFile(const QList<QImage>& images, QString* error) {
  constexpr int kHeader = 6, kEntry = 16;
  QByteArray directory, data;
  const int first = kHeader + kEntry * int(images.size());
  for (const QImage& image : images) {
    QBuffer single;
    single.open(QIODevice::WriteOnly);
    QImageWriter writer(&single, "ico");
    if (!writer.write(image)) {
      *error = writer.errorString();
      return {};
    }
    const QByteArray bytes = single.data();
    QByteArray entry = bytes.mid(kHeader, kEntry);
    const quint32 offset = quint32(first + data.size());
    for (int i = 0; i < 4; ++i) entry[12 + i] = char((offset >> (8 * i)) & 0xFF);
    directory += entry;
    data += bytes.mid(kHeader + kEntry);
  }
  QByteArray file(kHeader, '\0');
  file[2] = 1;  // an icon
  file[4] = char(images.size());
  return file + directory + data;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: icongen OUTPUT.ico\n");
    return 2;
  }
  // Drawing text needs a GUI application but never a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  QString error;
  const QByteArray bytes = iconFile({drawIcon(16), drawIcon(32), drawIcon(48), drawIcon(64)}, &error);
  QFile out(QString::fromLocal8Bit(argv[1]));
  if (bytes.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "icongen: %s\n", qPrintable(error.isEmpty() ? out.errorString() : error));
    return 1;
  }
  return 0;
}
