#include "shell/frm_about.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <algorithm>

#include "platform/error_box.h"
#include "ui/abort_boundary.h"
#include "shell/frm_splash.h"
#include "shell/maker.h"
#include "shell/version.h"
#include "ui/form_helpers.h"

namespace tovakin::gui {
namespace {

constexpr const char* kDesignedFace = "ＭＳ Ｐゴシック";
constexpr int kDesignedWidth = 5865;
constexpr int kDesignedHeight = 3630;
constexpr int kLineRight = 5657;  // where the etched lines end
constexpr int kMargin = 120;  // between the controls and the box's right edge, as designed

QFont designedFont(double points, bool bold, bool underline = false) {
  QFont font(QString::fromUtf8(kDesignedFace));
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setUnderline(underline);
  return font;
}

void setTextColour(QWidget& w, const QColor& colour) {
  QPalette palette = w.palette();
  palette.setColor(QPalette::WindowText, colour);
  w.setPalette(palette);
}

QLabel* makeLabel(QWidget* parent, const char* name, const char* tag, QRect twips) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
  label->setAttribute(Qt::WA_TranslucentBackground);
  setTag(*label, QString::fromLatin1(tag));
  return label;
}

// One of the two lines of the etched separator: a line of the colour, `width` pixels thick.
QFrame* makeLine(QWidget* parent, const char* name, int left, int top, int right, int width, const QColor& colour) {
  auto* line = new QFrame(parent);
  line->setObjectName(QString::fromLatin1(name));
  line->setFrameShape(QFrame::NoFrame);
  line->setAutoFillBackground(true);
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, colour);
  line->setPalette(palette);
  const int x = twipsToPixels(left);
  line->setGeometry(x, twipsToPixels(top), twipsToPixels(right) - x, width);
  return line;
}

}  // namespace

QString aboutCaption() { return QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報 Tovakin"); }
QString aboutTitleText() { return QStringLiteral("Tovakin\nﾊﾟｲﾌﾟﾗｲﾝ管路の構造計算 統合版"); }
QString aboutVersionText() { return QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + versionNumbers(); }
QString aboutDescriptionText() {
  return QStringLiteral("このプログラムは、以下を参考に作成されています。\n"
                        "土地改良事業計画設計基準・設計「パイプライン」\n"
                        "平成２１年３月");
}

std::vector<QRect> grownDownward(const std::vector<QRect>& designed, const std::vector<int>& needed, int& extra) {
  std::vector<QRect> grown(designed);
  std::vector<int> shift(designed.size(), 0);
  for (std::size_t i = 0; i < designed.size(); ++i) {
    const int want = i < needed.size() ? needed[i] : 0;
    const int growth = std::max(0, want - designed[i].height());
    if (growth == 0) continue;
    grown[i].setHeight(want);
    const int bottom = designed[i].y() + designed[i].height();
    for (std::size_t j = 0; j < designed.size(); ++j)
      if (j != i && designed[j].y() >= bottom) shift[j] += growth;
  }
  extra = 0;
  for (std::size_t i = 0; i < grown.size(); ++i) {
    grown[i].translate(0, shift[i]);
    extra = std::max(extra, (grown[i].y() + grown[i].height()) - (designed[i].y() + designed[i].height()));
  }
  return grown;
}

QImage drawAboutLogo() {
  // 56 × 47 pixels, the size of the designed logo picture: the splash logo's motif, smaller.
  QImage image(56, 47, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  drawPipeLogo(p, {QRectF(4, 0, 48, 47), 6, 8, 27, 16, 4, 15});
  return image;
}

frmAbout::frmAbout(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("frmAbout"));
  setTag(*this, QStringLiteral("1060"));
  setWindowTitle(aboutCaption());  // the designed caption, the same as the table's
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);
  setAutoFillBackground(true);

  auto* logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("picQuirnlogo"));
  logo->setGeometry(twipsRect(120, 120, 840, 700));

  QLabel* title = makeLabel(this, "lblTitle", "1065", {1200, 120, 4095, 600});
  title->setFont(designedFont(12, true));
  setTextColour(*title, QColor(0, 0, 255));
  makeLabel(this, "lblVersion", "1064", {1200, 780, 4095, 225});
  QLabel* description = makeLabel(this, "lblDescription", "1066", {1200, 1440, 4095, 810});
  setTextColour(*description, QColor(0, 0, 0));
  makeLine(this, "Line1_1", 225, 2430, kLineRight, 1, QColor(128, 128, 128));
  makeLine(this, "Line1_0", 240, 2445, kLineRight, 2, QColor(255, 255, 255));
  QLabel* disclaimer = makeLabel(this, "lblDisclaimer", "1063", {255, 2625, 3870, 225});
  disclaimer->setFont(designedFont(9.75, true));
  setTextColour(*disclaimer, QColor(0, 0, 255));

  auto* ok = new QPushButton(QStringLiteral("OK(&O)"), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setGeometry(twipsRect(4245, 2880, 1467, 585));
  ok->setDefault(true);
  ok->setAutoDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { shielded([this] { cmdOK_Click(); }); });

  QLabel* url = makeLabel(this, "lblQuirnURL", "1066", {240, 3120, 765, 180});
  url->setFont(designedFont(9, false, true));
  setTextColour(*url, QColor(0, 0, 0));
  url->setCursor(Qt::PointingHandCursor);
  url->setToolTip(QString::fromUtf8(kAboutUrlToolTip));
  url->installEventFilter(this);
  url_ = url;

  Form_Load();
  ok->setFocus(Qt::OtherFocusReason);  // tab index 0
}

QLabel* frmAbout::label(const char* name) const { return namedChild<QLabel>(*this, name); }

void frmAbout::Form_Load() {
  guardStep("Form_Load", [&] { myFormResString(*this); });
  setMyIcon(*this);
  ToolTip2Caption(*this);
  guardStep("Form_Load", [&] {
    label("lblVersion")->setText(aboutVersionText());
    label("lblTitle")->setText(aboutTitleText());
    label("lblDescription")->setText(aboutDescriptionText());
    label("lblDisclaimer")->setText(QString::fromLatin1(kMakerNotice));
    QLabel* url = label("lblQuirnURL");
    url->setText(QString::fromLatin1(kMakerWebPage));
    url->adjustSize();  // auto-size
    QLabel* logo = label("picQuirnlogo");
    logo->setPixmap(QPixmap::fromImage(drawAboutLogo()));
    logo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layOut();
  });
}

void frmAbout::layOut() {
  // The designed places, grown where the Japanese face needs more height than was designed.
  const QList<QWidget*> controls = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  std::vector<QRect> designed;
  std::vector<int> needed;
  int width = twipsToPixels(kDesignedWidth);
  for (QWidget* w : controls) {
    const auto* l = qobject_cast<QLabel*>(w);
    const bool text = l && !l->text().isEmpty();
    // A text wider than designed widens its label to the right, and the box with it.
    if (text && l->sizeHint().width() > w->width()) w->resize(l->sizeHint().width(), w->height());
    width = std::max(width, w->geometry().right() + 1 + twipsToPixels(kMargin));
    designed.push_back(w->geometry());
    needed.push_back(text ? l->sizeHint().height() : 0);
  }
  int extra = 0;
  const auto grown = grownDownward(designed, needed, extra);
  for (qsizetype i = 0; i < controls.size(); ++i) controls[i]->setGeometry(grown[size_t(i)]);
  // The etched lines keep their designed distance from the right edge of a widened box.
  for (auto* line : findChildren<QFrame*>(QString(), Qt::FindDirectChildrenOnly))
    if (line->objectName().startsWith(QStringLiteral("Line1_")))
      line->resize(width - twipsToPixels(kDesignedWidth - kLineRight) - line->x(), line->height());
  setFixedSize(width, twipsToPixels(kDesignedHeight) + extra);
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::reject() { cmdOK_Click(); }

void frmAbout::lblQuirnURL_Click() {
  // The box stays open; a failure of the desktop to open the page is not reported.
  shielded([this] { JumpHyperLink(kMakerWebPage, this); });
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == url_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    lblQuirnURL_Click();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void frmAbout::showModal(QWidget& owner) {
  frmAbout box(&owner);
  execModal(box);
}

}  // namespace tovakin::gui
