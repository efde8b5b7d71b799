#include "dialogs/condition_dialog.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QShortcutEvent>
#include <QWidget>

#include "platform/error_box.h"
#include "ui/button_keys.h"
#include "ui/abort_boundary.h"
#include "ui/form_helpers.h"
#include "ui/numeric_box.h"

namespace tovakin::gui {

DesignData g_designDataWork;

namespace {

struct CommandDesign {
  const char* tag;  // the string-table id of its caption
  const char* caption;
  int left;
};
// Designed in twips inside the bar; every button 1095 x 375.
constexpr CommandDesign kCommands[] = {{"1059", "OK(&O)", 0}, {"1058", "ｷｬﾝｾﾙ(&C)", 1200}, {"1057", "適用(&A)", 2400}};
constexpr int kBarWidth = 3735, kBarHeight = 555, kButtonWidth = 1095, kButtonHeight = 375;

}  // namespace

ConditionDialog::ConditionDialog(QWidget* parent, bool& takeOverFlag) : QDialog(parent), takeOverFlag_(takeOverFlag) {
  setModal(true);
  setAttribute(Qt::WA_DeleteOnClose, false);
}

QWidget* ConditionDialog::buildCommandBar(int left, int top) {
  auto* bar = new QWidget(this);
  bar->setObjectName(QStringLiteral("picCommand"));
  bar->setGeometry(twipsRect(left, top, kBarWidth, kBarHeight));
  for (int i = 0; i < 3; ++i) {
    auto* button = new QPushButton(QString::fromUtf8(kCommands[i].caption), bar);
    button->setObjectName(QStringLiteral("cmdCommand_%1").arg(i));
    setTag(*button, QString::fromLatin1(kCommands[i].tag));
    button->setGeometry(twipsRect(kCommands[i].left, 0, kButtonWidth, kButtonHeight));
    // No button is the default or the cancel button: Enter elsewhere and Escape press none. Enter
    // on the focused button presses it, as Space does.
    button->setAutoDefault(false);
    button->setDefault(false);
    button->installEventFilter(this);
    pressOnEnter(*button);
    connect(button, &QPushButton::clicked, this, [this, i] { shielded([this, i] { cmdCommand_Click(i); }); });
    commands_[static_cast<std::size_t>(i)] = button;
  }
  return bar;
}

void ConditionDialog::myFormInit() {
  guardStep("myFormInit", [&] {
    unchanged_ = true;
    if (commands_[kOk]) commands_[kOk]->setEnabled(false);
    if (commands_[kApply]) commands_[kApply]->setEnabled(false);
    loadFromExchange(g_designDataWork);
  });
}

void ConditionDialog::markEdited() {
  unchanged_ = false;
  if (commands_[kOk]) commands_[kOk]->setEnabled(true);
  if (commands_[kApply]) commands_[kApply]->setEnabled(true);
}

void ConditionDialog::myData2KanData() {
  guardStep("myData2KanData", [&] {
    storeToExchange(g_designDataWork);
    takeOverFlag_ = true;
  });
}

bool ConditionDialog::eventFilter(QObject* watched, QEvent* event) {
  // An access key (Alt+A) presses its button now, as a click does: a button left to press itself
  // would run its command only some 100 ms later.
  if (event->type() == QEvent::Shortcut) {
    auto* button = qobject_cast<QPushButton*>(watched);
    const auto* shortcut = static_cast<QShortcutEvent*>(event);
    if (button && !shortcut->isAmbiguous() && button->isEnabled()) {
      button->click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ConditionDialog::cmdCommand_Click(int index) {
  guardStep("cmdCommand_Click", [&] {
    // An access key leaves the focus in the box: its raw text is re-formatted before it is read.
    if (index == kOk || index == kApply) {
      if (auto* box = qobject_cast<DialogNumericBox*>(focusWidget())) box->txtTextBoxCheck();
    }
    switch (index) {
      case kOk:
        if (!myForm2Data()) return;
        myData2KanData();
        accept();
        break;
      case kCancel:
        reject();
        break;
      case kApply:
        if (!myForm2Data()) return;
        myData2KanData();
        unchanged_ = true;
        commands_[kApply]->setEnabled(false);
        break;
      default:
        break;
    }
  });
}

bool swallowCommandKey(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return true;
    default:
      return false;
  }
}

void ConditionDialog::keyPressEvent(QKeyEvent* event) {
  // QDialog would press the default button on Enter and reject on Escape: here neither does
  // anything (Enter inside a box moves the focus; the box handles it before it gets here).
  if (!swallowCommandKey(event)) QDialog::keyPressEvent(event);
}

void showModal(QDialog& dialog) { execModal(dialog); }

bool runConditionExchange(DesignData& record, bool& flag, const std::function<void()>& showDialog) {
  flag = false;
  g_designDataWork = record;
  showDialog();
  if (!flag) return false;
  record = g_designDataWork;
  return true;
}

}  // namespace tovakin::gui
