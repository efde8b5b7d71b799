#include "document/frm_message.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <algorithm>

#include "ui/abort_boundary.h"
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

namespace {
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
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), frmMessageSrc(mode) {
  setObjectName("frmMessage");
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(kMessageCaption);
  QPalette white = palette();
  white.setColor(QPalette::Window, designColour(0x00FFFFFF));
  setPalette(white);
  setAutoFillBackground(true);

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
  const int labelWidth = twipsToPixels(kLabelWidth);
  const int designedHeight = twipsToPixels(kLabelHeight);
  const int labelHeight = std::max(designedHeight, message_->heightForWidth(labelWidth));
  const int extra = labelHeight - designedHeight;
  message_->setGeometry(twipsToPixels(kLabelLeft), twipsToPixels(kLabelTop), labelWidth, labelHeight);
  const int buttonTop = twipsToPixels(kButtonTop) + extra;
  left_->setGeometry(twipsToPixels(kLeftButtonLeft), buttonTop, twipsToPixels(kButtonWidth),
                     twipsToPixels(kButtonHeight));
  right_->setGeometry(twipsToPixels(kRightButtonLeft), buttonTop, twipsToPixels(kButtonWidth),
                      twipsToPixels(kButtonHeight));
  setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight) + extra);
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
  if (left_->isEnabled()) left_->setFocus();
  else if (right_->isEnabled()) right_->setFocus();
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
