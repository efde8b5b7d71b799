#include "ui/boxes.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>

#include "ui/abort_boundary.h"
#include "ui/busy_pointer.h"

namespace tovakin::gui {
namespace {

// The texts of the standard buttons as Qt's own translation gives them ("はい(&Y)", "キャンセル"),
// so they read the same as the buttons of Qt's file dialog.
QString standardText(MsgAnswer answer) {
  switch (answer) {
    case MsgAnswer::OK: return QCoreApplication::translate("QPlatformTheme", "OK");
    case MsgAnswer::Cancel: return QCoreApplication::translate("QPlatformTheme", "Cancel");
    case MsgAnswer::Abort: return QCoreApplication::translate("QPlatformTheme", "Abort");
    case MsgAnswer::Retry: return QCoreApplication::translate("QPlatformTheme", "Retry");
    case MsgAnswer::Ignore: return QCoreApplication::translate("QPlatformTheme", "Ignore");
    case MsgAnswer::Yes: return QCoreApplication::translate("QPlatformTheme", "&Yes");
    case MsgAnswer::No: return QCoreApplication::translate("QPlatformTheme", "&No");
  }
  return {};
}

std::vector<MsgAnswer> answersOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OK: return {MsgAnswer::OK};
    case MsgButtons::OKCancel: return {MsgAnswer::OK, MsgAnswer::Cancel};
    case MsgButtons::AbortRetryIgnore: return {MsgAnswer::Abort, MsgAnswer::Retry, MsgAnswer::Ignore};
    case MsgButtons::YesNoCancel: return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo: return {MsgAnswer::Yes, MsgAnswer::No};
    case MsgButtons::RetryCancel: return {MsgAnswer::Retry, MsgAnswer::Cancel};
  }
  return {MsgAnswer::OK};
}

std::optional<MsgAnswer> escapeOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::OK: return MsgAnswer::OK;
    case MsgButtons::OKCancel:
    case MsgButtons::YesNoCancel:
    case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoDefaultNo:
    case MsgButtons::AbortRetryIgnore: return std::nullopt;
  }
  return std::nullopt;
}

QMessageBox::Icon iconOf(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

BoxContent messageBoxContent(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
  BoxContent content;
  content.text = QString::fromStdString(text);
  content.title = QString::fromStdString(title);
  content.icon = iconOf(icon);
  for (MsgAnswer a : answersOf(buttons)) content.buttons.push_back({a, standardText(a)});
  content.escape = escapeOf(buttons);
  if (buttons == MsgButtons::YesNoDefaultNo) content.defaultAnswer = MsgAnswer::No;
  return content;
}

BoxContent errorBoxContent(const std::string& text, const std::string& title) {
  BoxContent content;
  content.text = QString::fromStdString(text);
  content.title = QString::fromStdString(title);
  content.icon = QMessageBox::Critical;
  content.buttons = {{MsgAnswer::Abort, QStringLiteral("中止(&A)")},
                  {MsgAnswer::Retry, QStringLiteral("再試行(&R)")},
                  {MsgAnswer::Ignore, QStringLiteral("無視(&I)")}};
  return content;
}

QString buttonObjectName(MsgAnswer answer) {
  switch (answer) {
    case MsgAnswer::OK: return QStringLiteral("cmdOK");
    case MsgAnswer::Cancel: return QStringLiteral("cmdCancel");
    case MsgAnswer::Abort: return QStringLiteral("cmdAbort");
    case MsgAnswer::Retry: return QStringLiteral("cmdRetry");
    case MsgAnswer::Ignore: return QStringLiteral("cmdIgnore");
    case MsgAnswer::Yes: return QStringLiteral("cmdYes");
    case MsgAnswer::No: return QStringLiteral("cmdNo");
  }
  return {};
}

ErrorAnswer errorAnswerOf(MsgAnswer answer) {
  switch (answer) {
    case MsgAnswer::Retry: return ErrorAnswer::Retry;
    case MsgAnswer::Ignore: return ErrorAnswer::Ignore;
    case MsgAnswer::Abort:  // and what the error box does not offer, as closing it
    case MsgAnswer::OK:
    case MsgAnswer::Cancel:
    case MsgAnswer::Yes:
    case MsgAnswer::No: return ErrorAnswer::Abort;
  }
  return ErrorAnswer::Abort;
}

namespace {
QPointer<QWidget>& lastResortOwner() {
  static QPointer<QWidget> owner;
  return owner;
}
}  // namespace

void setBoxOwnerOfLastResort(QWidget* window) { lastResortOwner() = window; }

QWidget* boxOwner() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  if (QWidget* active = QApplication::activeWindow()) return active;
  return lastResortOwner().data();
}

namespace {
MsgAnswer showBox(const BoxContent& content, const QString& objectName) {
  QMessageBox box(content.icon, content.title, content.text, QMessageBox::NoButton, boxOwner());
  box.setObjectName(objectName);
  box.setTextFormat(Qt::PlainText);  // a path or a message holding "<" is shown as it is
  // One role for every button keeps them in the program's order; the box then finds no escape
  // button of its own, so Escape and the close button do nothing unless one is named below.
  std::vector<QPushButton*> made;
  for (const BoxButton& b : content.buttons) {
    QPushButton* p = box.addButton(b.text, QMessageBox::ActionRole);
    p->setObjectName(buttonObjectName(b.answer));
    made.push_back(p);
  }
  for (std::size_t i = 0; i < made.size(); ++i)
    if (i == 0 || content.defaultAnswer == content.buttons[i].answer) box.setDefaultButton(made[i]);
  for (std::size_t i = 0; i < content.buttons.size(); ++i)
    if (content.escape == content.buttons[i].answer) box.setEscapeButton(made[i]);

  {
    ModalPointer arrow;
    execModal(box);
  }
  for (std::size_t i = 0; i < made.size(); ++i)
    if (box.clickedButton() == made[i]) return content.buttons[i].answer;
  // Closed without a button (the program ending after 中止 closes every box): the harmless
  // answer, never Yes.
  if (content.escape) return *content.escape;
  for (const BoxButton& b : content.buttons)
    if (b.answer == MsgAnswer::No) return MsgAnswer::No;
  return content.buttons.front().answer;
}
}  // namespace

MsgAnswer QtMessageBox::show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
  return showBox(messageBoxContent(text, buttons, icon, title), QString::fromLatin1(kMessageBoxObjectName));
}

ErrorAnswer QtErrorBox::show(const std::string& text, const std::string& title) {
  return errorAnswerOf(showBox(errorBoxContent(text, title), QString::fromLatin1(kErrorBoxObjectName)));
}

}  // namespace tovakin::gui
