#include "document/frm_message.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "ui/abort_boundary.h"
#include "ui/button_keys.h"
#include "ui/form_helpers.h"

namespace tovakin::gui {

std::int32_t g_messageAnswer = 0;

namespace {
MessageModality* g_modality = nullptr;
}  // namespace

Installed<MessageModality> installMessageModality(MessageModality& modality) { return {g_modality, &modality}; }

std::int32_t messageAnswerFor(int mode, int buttonIndex) {
  if (mode == kMessageClose) return 0;
  return buttonIndex == 0 ? kAnswerNo : kAnswerYes;
}

Qt::WindowFlags messageWindowFlags() { return Qt::Dialog | Qt::FramelessWindowHint; }

namespace {

constexpr int kBorder = 1;  // the window's own frame line, pixels

// Restores a window the moment it is minimized, for as long as the guard lives.
class ProgramKeptShown final : public QObject {
 public:
  explicit ProgramKeptShown(QWidget* window) : window_(window) {
    if (window_) window_->installEventFilter(this);
  }
  ~ProgramKeptShown() override {
    if (window_) window_->removeEventFilter(this);
  }
  ProgramKeptShown(const ProgramKeptShown&) = delete;
  ProgramKeptShown& operator=(const ProgramKeptShown&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::WindowStateChange && window_->isMinimized()) {
      // Tied to the guard: once the message is answered, a restore still pending is dropped.
      QTimer::singleShot(0, this, [this] {
        if (window_) window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
      });
    }
    return false;
  }

 private:
  QPointer<QWidget> window_;
};

// Designed layout, twips.
constexpr int kClientWidth = 5325, kClientHeight = 1560;
constexpr int kLabelLeft = 240, kLabelTop = 120, kLabelWidth = 4935, kLabelHeight = 735;
constexpr int kButtonTop = 960, kButtonWidth = 1935, kButtonHeight = 495;
constexpr int kLeftButtonLeft = 1200, kRightButtonLeft = 3240;

void showButton(QPushButton& button, bool shown, const QString& caption = {}) {
  button.setVisible(shown);
  button.setEnabled(shown);
  if (!caption.isEmpty()) button.setText(caption);
}
}  // namespace

frmMessage::frmMessage(int mode, QWidget* parent)
    : QDialog(parent, messageWindowFlags()), frmMessageSrc(mode) {
  setObjectName("frmMessage");
  setAttribute(Qt::WA_DeleteOnClose, false);
  QPalette white = palette();
  white.setColor(QPalette::Window, designColour(0x00FFFFFF));
  setPalette(white);
  setAutoFillBackground(true);

  // The caption, drawn by the window itself: window managers that keep a close box (or minimize
  // and maximize boxes) on every framed window would otherwise give it buttons it must not have.
  caption_ = new QLabel(this);
  caption_->setObjectName("captionBar");
  caption_->setIndent(6);
  caption_->setAutoFillBackground(true);
  QPalette band = caption_->palette();
  band.setColor(QPalette::Window, palette().color(QPalette::Active, QPalette::Highlight));
  band.setColor(QPalette::WindowText, palette().color(QPalette::Active, QPalette::HighlightedText));
  caption_->setPalette(band);
  QFont bold = caption_->font();
  bold.setBold(true);
  caption_->setFont(bold);
  caption_->installEventFilter(this);
  connect(this, &QWidget::windowTitleChanged, caption_, &QLabel::setText);
  setWindowTitle(kMessageCaption);

  message_ = new QLabel(kMessageDesignedText, this);
  message_->setObjectName("lblMessage");
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  message_->setAutoFillBackground(true);

  left_ = new QPushButton(QStringLiteral("はい(&Y)"), this);
  left_->setObjectName("cmdCommand_1");
  right_ = new QPushButton(QStringLiteral("閉じる(&Q)"), this);
  right_->setObjectName("cmdCommand_0");
  setTabOrder(left_, right_);
  connect(left_, &QPushButton::clicked, this, [this] { clicked(1); });
  connect(right_, &QPushButton::clicked, this, [this] { clicked(0); });

  if (mode == kMessageNotice) {
    showButton(*right_, false);
    showButton(*left_, false);
  } else if (mode == kMessageYesNo) {
    showButton(*right_, true, QStringLiteral("いいえ(&N)"));
    showButton(*left_, true, QStringLiteral("はい(&Y)"));
  } else {
    showButton(*right_, true, QStringLiteral("閉じる(&Q)"));
    showButton(*left_, false);
  }
  relayout();
}

void frmMessage::relayout() {
  // The designed height fits the designed face; the substituted Japanese face is wider, so the
  // label takes the height its wrapped text needs and the buttons and the window move down.
  // The designed client area stands below the caption bar, inside the border.
  const int band = captionBarHeight();
  const int labelWidth = twipsToPixels(kLabelWidth);
  const int designedHeight = twipsToPixels(kLabelHeight);
  const int labelHeight = std::max(designedHeight, message_->heightForWidth(labelWidth));
  const int extra = labelHeight - designedHeight;
  const int clientWidth = twipsToPixels(kClientWidth);
  caption_->setGeometry(kBorder, kBorder, clientWidth, band);
  const QPoint client(kBorder, kBorder + band);
  message_->setGeometry(QRect(client + QPoint(twipsToPixels(kLabelLeft), twipsToPixels(kLabelTop)),
                              QSize(labelWidth, labelHeight)));
  const int buttonTop = client.y() + twipsToPixels(kButtonTop) + extra;
  left_->setGeometry(client.x() + twipsToPixels(kLeftButtonLeft), buttonTop, twipsToPixels(kButtonWidth),
                     twipsToPixels(kButtonHeight));
  right_->setGeometry(client.x() + twipsToPixels(kRightButtonLeft), buttonTop, twipsToPixels(kButtonWidth),
                      twipsToPixels(kButtonHeight));
  setFixedSize(clientWidth + 2 * kBorder, band + twipsToPixels(kClientHeight) + extra + 2 * kBorder);
}

int frmMessage::captionBarHeight() const { return caption_->fontMetrics().height() + 8; }

void frmMessage::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  // The window's own frame, since the window manager draws none.
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Active, QPalette::Highlight).darker(150));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool frmMessage::eventFilter(QObject* watched, QEvent* event) {
  // The caption bar moves the window, as a caption does.
  if (watched == caption_ && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && windowHandle()) {
    windowHandle()->startSystemMove();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void frmMessage::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // A message is never minimized or maximized, whoever asks (a window manager's key, a desktop
  // "show the desktop"): it comes straight back as it was.
  if (event->type() == QEvent::WindowStateChange && (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
    QTimer::singleShot(0, this, [this] { setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)); });
}

void frmMessage::setMessage(const QString& text) {
  message_->setText(text);
  relayout();
}

void frmMessage::showNotice() {
  setAttribute(Qt::WA_ShowWithoutActivating, true);
  setModal(false);
  show();
  // Its own paint only: processing the queue would let a second command run inside the caller.
  repaint();
}

std::int32_t frmMessage::showModal() {
  g_messageAnswer = 0;
  if (left_->isEnabled() && !(noFocused_ && frmMessageSrc == kMessageYesNo)) left_->setFocus();
  else if (right_->isEnabled()) right_->setFocus();
  // While the message waits, the program's window stays on screen: minimizing it would hide the
  // one window that can be answered.
  ProgramKeptShown kept(parentWidget() ? parentWidget()->window() : nullptr);
  if (g_modality) g_modality->runModal(*this);
  else execModal(*this);
  return g_messageAnswer;
}

void frmMessage::unload() {
  unloading_ = true;
  close();
}

void frmMessage::clicked(int index) {
  g_messageAnswer = messageAnswerFor(frmMessageSrc, index);
  unloading_ = true;
  accept();
}

void frmMessage::keyPressEvent(QKeyEvent* event) {
  // Only the buttons end a message; Escape does not.
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  // The letter a button shows answers without Alt, as in every message box of the program.
  for (QPushButton* button : {left_, right_}) {
    if (button->isHidden() || !button->isEnabled() || !isPlainAccessKey(*event, button->text())) continue;
    event->accept();
    button->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void frmMessage::closeEvent(QCloseEvent* event) {
  // The window manager's close: the window has no close box and only the program closes it.
  if (unloading_) event->accept();
  else event->ignore();
}

void frmMessage::reject() {
  if (unloading_) QDialog::reject();
}

}  // namespace tovakin::gui
