#include "shell/frm_splash.h"

#include <QApplication>
#include <QEventLoop>
#include <QElapsedTimer>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QSysInfo>
#include <QWindow>
#include <algorithm>

#include "shell/maker.h"
#include "shell/version.h"
#include "ui/form_helpers.h"

namespace tovakin::gui {
namespace {

constexpr const char* kDesignedFace = "ＭＳ Ｐゴシック";
constexpr int kPictureWidth = 7335;
constexpr int kPictureHeight = 3135;
constexpr int kFormMargin = 300;  // the form is the picture box plus 300 twips each way
constexpr int kShadowOffset = 50;
// How long the first painting waits for the window to be mapped, at most.
constexpr int kExposeWaitMs = 500;

QFont designedFont(double points, bool bold) {
  QFont font(QString::fromUtf8(kDesignedFace));
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, QRect twips, const QColor* colour) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
  label->setAttribute(Qt::WA_TranslucentBackground);
  if (colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, *colour);
    label->setPalette(palette);
  }
  return label;
}

// Auto-size that keeps the label's right edge where it was designed (right-aligned labels).
void autoSizeRight(QLabel* label) {
  const int right = label->geometry().right();
  label->adjustSize();
  label->move(right - label->width() + 1, label->y());
}

// How much higher than the designed face a face draws its letters in an auto-sized label: its
// ascent beyond the designed face's, 0.86 of the em.
int tallerAscent(const QFont& font) {
  const int designed = qRound(0.86 * QFontInfo(font).pixelSize());
  return std::max(0, QFontMetrics(font).ascent() - designed);
}

// Auto-size that keeps the left edge.
void autoSizeLeft(QLabel* label) { label->adjustSize(); }

}  // namespace

frmSplash::frmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setAttribute(Qt::WA_ShowWithoutActivating);  // start-up takes no input
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);

  auto* picture = new QWidget(this);
  picture->setObjectName(QStringLiteral("picSplash"));
  picture->setGeometry(twipsRect(120, 120, kPictureWidth, kPictureHeight));
  QPalette system = picture->palette();
  system.setColor(QPalette::Window, QApplication::palette().color(QPalette::Base));
  system.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::Text));
  picture->setPalette(system);
  picture->setAutoFillBackground(true);

  auto* logo = new QLabel(picture);
  logo->setObjectName(QStringLiteral("imgQuirnLogo"));
  logo->move(twipsToPixels(120), twipsToPixels(240));

  const QColor blue(0, 0, 255), teal(0, 192, 192), grey(128, 128, 128), pink(255, 128, 128),
      lavender(128, 128, 255);
  auto* company = makeLabel(picture, "lblCompanyProduct", {2400, 120, 1875, 360}, &blue);
  company->setFont(designedFont(18, true));
  setTag(*company, QStringLiteral("1049"));
  // The shadow first, so the coloured name is drawn over it.
  auto* shadow = makeLabel(picture, "lblProductName1", {2880, 480, 1980, 645}, &grey);
  shadow->setFont(designedFont(32.25, true));
  setTag(*shadow, QStringLiteral("1050"));
  auto* name = makeLabel(picture, "lblProductName0", {2400, 480, 1980, 645}, &teal);
  name->setFont(designedFont(32.25, true));
  auto* edition = makeLabel(picture, "lblProductName2", {2520, 1200, 4455, 375}, &pink);
  edition->setFont(designedFont(12, true));
  auto* version = makeLabel(picture, "lblVersion", {6240, 1680, 900, 240}, nullptr);
  version->setFont(designedFont(12, true));
  version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setTag(*version, QStringLiteral("1047"));
  auto* copyright = makeLabel(picture, "lblCopyright", {2400, 1920, 4695, 255}, nullptr);
  copyright->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  copyright->setText(QString::fromLatin1(kMakerNotice));
  auto* platform = makeLabel(picture, "lblPlatform", {6840, 2160, 255, 195}, nullptr);
  platform->setFont(designedFont(9.75, false));
  platform->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setTag(*platform, QStringLiteral("1048"));
  auto* notice = makeLabel(picture, "lblCompany", {120, 2400, 7095, 255}, &lavender);
  notice->setText(QStringLiteral("この製品は使用許諾契約に基づいて使用を許諾されています。"));
  auto* message = makeLabel(picture, "lblMsg", {120, 2760, 5655, 255}, &grey);
  message->setText(designedProgressCaption());

  Form_Load();
}

QString frmSplash::splashVersionText() { return QStringLiteral("Version ") + versionNumbers(); }

QString frmSplash::designedProgressCaption() { return QStringLiteral("しばらくお待ち下さい"); }

QLabel* frmSplash::label(const char* name) const { return namedChild<QLabel>(*this, name); }

void frmSplash::Form_Load() {
  myFormResString(*this);
  QWidget* picture = namedChild<QWidget>(*this, "picSplash");
  picture->move(twipsToPixels(100), twipsToPixels(100));
  // Frameless: the whole window is the client area, so the outer size is set directly.
  setFixedSize(twipsSize(kPictureWidth + kFormMargin, kPictureHeight + kFormMargin));
  label("lblProductName2")->setText(QStringLiteral("パイプライン管路の構造計算 統合版"));
  QLabel* logo = label("imgQuirnLogo");
  logo->setPixmap(QPixmap::fromImage(drawLogo()));
  logo->adjustSize();
  // "Version " and the numbers from the build, over the table's word the label took above.
  QLabel* version = label("lblVersion");
  version->setText(splashVersionText());
  autoSizeRight(version);
  // The table names a platform the program does not run on; the label names the real one.
  QLabel* platform = label("lblPlatform");
  platform->setText(platformName());
  autoSizeRight(platform);
  autoSizeLeft(label("lblCompanyProduct"));
  QLabel* name = label("lblProductName0");
  QLabel* shadow = label("lblProductName1");
  name->setText(QStringLiteral("Tovakin"));
  shadow->setText(QStringLiteral("Tovakin"));
  autoSizeLeft(name);
  autoSizeLeft(shadow);
  // The substituted face stands higher above its baseline than the designed one: the name goes up
  // by the difference, so that the name and its shadow end above the edition title as designed.
  name->move(name->x(), name->y() - tallerAscent(name->font()));
  shadow->move(name->pos() + QPoint(twipsToPixels(kShadowOffset), twipsToPixels(kShadowOffset)));
}

QString frmSplash::platformName() {
  QString name = QSysInfo::prettyProductName();
  if (name.isEmpty() || name == QStringLiteral("Unknown")) name = QSysInfo::kernelType();
  return name;
}

void frmSplash::showNow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  show();
  // The window can be painted only once the display has mapped it. Wait for that without
  // letting any user input through (and without socket notifications: a hand-over waits for
  // the main window).
  QElapsedTimer waited;
  waited.start();
  const auto mapped = [this] {
    return testAttribute(Qt::WA_Mapped) && windowHandle() && windowHandle()->isExposed();
  };
  while (!mapped() && waited.elapsed() < kExposeWaitMs)
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers |
                                        QEventLoop::WaitForMoreEvents,
                                    10);
  repaint();
}

void frmSplash::setProgress(const QString& text) {
  QLabel* message = label("lblMsg");
  message->setText(text);
  message->repaint();
}

QString frmSplash::progress() const { return label("lblMsg")->text(); }

void drawPipeLogo(QPainter& p, const PipeLogoShape& shape) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QRectF& ground = shape.ground;
  // Soil in earth brown, darker towards the bottom, under a strip of grass: the icon's motif.
  QLinearGradient soil(0, ground.top(), 0, ground.bottom());
  soil.setColorAt(0.0, QColor(0xC8, 0x9B, 0x62));
  soil.setColorAt(1.0, QColor(0x8A, 0x5E, 0x33));
  p.setPen(Qt::NoPen);
  p.setBrush(soil);
  p.drawRoundedRect(ground, shape.corner, shape.corner);
  QPainterPath grass;
  grass.addRoundedRect(QRectF(ground.left(), ground.top(), ground.width(), shape.grass), shape.corner, shape.corner);
  p.setBrush(QColor(0x5E, 0x9C, 0x3A));
  p.drawPath(grass);
  // The pipe wall and its bore, with 管 in it.
  const QPointF centre(ground.center().x(), shape.pipeCentreY);
  const qreal outer = shape.pipeRadius, wall = shape.wall;
  p.setBrush(QColor(0x34, 0x4E, 0x7A));
  p.drawEllipse(centre, outer, outer);
  p.setBrush(QColor(0xE6, 0xF0, 0xFA));
  p.drawEllipse(centre, outer - wall, outer - wall);
  QFont kanji(QString::fromLatin1("Noto Sans CJK JP"));
  kanji.setBold(true);
  kanji.setPixelSize(shape.kanjiPixels);
  p.setFont(kanji);
  p.setPen(QColor(0x1F, 0x30, 0x4D));
  p.drawText(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer), Qt::AlignCenter,
             QStringLiteral("管"));
}

QImage frmSplash::drawLogo() {
  // 129 × 110 pixels, the size of the designed logo picture.
  QImage image(129, 110, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  drawPipeLogo(p, {QRectF(10, 0, 109, 86), 12, 14, 50, 30, 7, 30});
  // The product name under the picture.
  QFont font(QString::fromLatin1("Noto Sans CJK JP"));
  font.setBold(true);
  font.setPixelSize(16);
  p.setFont(font);
  p.setPen(QColor(0x34, 0x4E, 0x7A));
  p.drawText(QRectF(0, 88, 129, 22), Qt::AlignCenter, QStringLiteral("Tovakin"));
  return image;
}

}  // namespace tovakin::gui
