#include "ui/boxes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>
#include <optional>
#include <vector>

#include "ui/busy_pointer.h"
#include "support/row_name.h"

namespace tovakin::gui {
namespace {

// Runs `act` on the modal box as soon as it is up; the box's own event loop runs the timer.
void whenBoxIsUp(std::function<void(QMessageBox&)> act) {
  auto* poll = new QTimer;
  poll->setInterval(0);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(*box);
  });
  poll->start();
}

void click(QMessageBox& box, const QString& buttonName) {
  auto* b = box.findChild<QPushButton*>(buttonName);
  ASSERT_NE(b, nullptr) << buttonName.toStdString();
  b->click();
}

struct ButtonsCase {
  MsgButtons buttons;
  std::vector<QString> texts;  // left to right, in Qt's Japanese
  std::optional<MsgAnswer> escape;
};

class MessageBoxButtons : public ::testing::TestWithParam<ButtonsCase> {};

TEST_P(MessageBoxButtons, StandInTheProgramsOrderInJapanese) {
  const BoxContent content = messageBoxContent("本文", GetParam().buttons, MsgIcon::Question, "確認");
  std::vector<QString> texts;
  for (const BoxButton& b : content.buttons) texts.push_back(b.text);
  EXPECT_EQ(texts, GetParam().texts);
  EXPECT_EQ(content.escape, GetParam().escape);
  EXPECT_EQ(content.icon, QMessageBox::Question);
  EXPECT_EQ(content.title, "確認");
}

INSTANTIATE_TEST_SUITE_P(
    Sets, MessageBoxButtons,
    ::testing::Values(ButtonsCase{MsgButtons::OK, {"OK"}, MsgAnswer::OK},
                      ButtonsCase{MsgButtons::OKCancel, {"OK", "キャンセル"}, MsgAnswer::Cancel},
                      ButtonsCase{MsgButtons::YesNo, {"はい(&Y)", "いいえ(&N)"}, std::nullopt},
                      ButtonsCase{MsgButtons::YesNoDefaultNo, {"はい(&Y)", "いいえ(&N)"}, std::nullopt},
                      ButtonsCase{MsgButtons::YesNoCancel, {"はい(&Y)", "いいえ(&N)", "キャンセル"}, MsgAnswer::Cancel},
                      ButtonsCase{MsgButtons::RetryCancel, {"再試行", "キャンセル"}, MsgAnswer::Cancel},
                      ButtonsCase{MsgButtons::AbortRetryIgnore, {"中止", "再試行", "無視"}, std::nullopt}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.texts.empty() ? std::string() : info.param.texts.front().toStdString() + " " + std::to_string(info.param.texts.size())); });

struct ErrorCase {
  const char* button;
  ErrorAnswer answer;
};

class ErrorBoxAnswers : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorBoxAnswers, EachButtonGivesItsAnswer) {
  std::vector<QString> seen;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  whenBoxIsUp([&](QMessageBox& box) {
    for (QAbstractButton* b : box.buttons()) seen.push_back(b->text());
    title = box.windowTitle();
    icon = box.icon();
    click(box, GetParam().button);
  });
  QtErrorBox errors;
  EXPECT_EQ(errors.show("0 で除算しました。(11)\n in funcPipeCalc", kErrorBoxTitle), GetParam().answer);
  EXPECT_EQ(seen, (std::vector<QString>{"中止(&A)", "再試行(&R)", "無視(&I)"}));
  EXPECT_EQ(title, "エラーが発生しました");
  EXPECT_EQ(icon, QMessageBox::Critical);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ErrorBoxAnswers,
                         ::testing::Values(ErrorCase{"cmdAbort", ErrorAnswer::Abort},
                                           ErrorCase{"cmdRetry", ErrorAnswer::Retry},
                                           ErrorCase{"cmdIgnore", ErrorAnswer::Ignore}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.button); });

TEST(ErrorBox, EscapeAndTheCloseButtonDoNotEndTheProgram) {
  bool stillUp = false;
  whenBoxIsUp([&](QMessageBox& box) {
    QTest::keyClick(&box, Qt::Key_Escape);
    box.close();
    stillUp = box.isVisible();
    click(box, "cmdIgnore");
  });
  QtErrorBox errors;
  EXPECT_EQ(errors.show("text", kErrorBoxTitle), ErrorAnswer::Ignore);
  EXPECT_TRUE(stillUp);
}

TEST(ErrorBox, ShowsAnOrdinaryPointerAndTheBusyOneAgainAfterwards) {
  setBusyPointer(true);
  bool busyWhileUp = true;
  whenBoxIsUp([&](QMessageBox& box) {
    busyWhileUp = QGuiApplication::overrideCursor() != nullptr;
    click(box, "cmdRetry");
  });
  QtErrorBox errors;
  errors.show("text", kErrorBoxTitle);
  EXPECT_FALSE(busyWhileUp);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  setBusyPointer(false);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

struct KeyCase {
  const char* name;
  MsgButtons buttons;
  std::function<void(QMessageBox&)> act;
  MsgAnswer answer;
};

class MessageBoxKeys : public ::testing::TestWithParam<KeyCase> {};

TEST_P(MessageBoxKeys, AnswerAsTheUserChose) {
  whenBoxIsUp(GetParam().act);
  QtMessageBox box;
  EXPECT_EQ(box.show("データは変更されています。保存しますか？", GetParam().buttons, MsgIcon::Exclamation, "Tovakin"),
            GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MessageBoxKeys,
    ::testing::Values(
        KeyCase{"YesClicked", MsgButtons::YesNo, [](QMessageBox& b) { click(b, "cmdYes"); }, MsgAnswer::Yes},
        KeyCase{"NoClicked", MsgButtons::YesNo, [](QMessageBox& b) { click(b, "cmdNo"); }, MsgAnswer::No},
        KeyCase{"EnterTakesTheFirst", MsgButtons::YesNoCancel,
                [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Return); }, MsgAnswer::Yes},
        // a question that guards a slip: Enter alone adopts nothing
        KeyCase{"EnterTakesNoWhereNoIsTheDefault", MsgButtons::YesNoDefaultNo,
                [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Return); }, MsgAnswer::No},
        KeyCase{"YesClickedWhereNoIsTheDefault", MsgButtons::YesNoDefaultNo,
                [](QMessageBox& b) { click(b, "cmdYes"); }, MsgAnswer::Yes},
        KeyCase{"EscapeCancels", MsgButtons::YesNoCancel,
                [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); }, MsgAnswer::Cancel},
        KeyCase{"EscapeClosesAnOkBox", MsgButtons::OK,
                [](QMessageBox& b) { QTest::keyClick(&b, Qt::Key_Escape); }, MsgAnswer::OK},
        KeyCase{"EscapeLeavesAYesNoBoxUp", MsgButtons::YesNo,
                [](QMessageBox& b) {
                  QTest::keyClick(&b, Qt::Key_Escape);
                  if (b.isVisible()) click(b, "cmdYes");  // an Escape that answered would give No
                },
                MsgAnswer::Yes}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(MessageBox, ShowsTheTextAsItIs) {
  QString shown;
  Qt::TextFormat format = Qt::AutoText;
  whenBoxIsUp([&](QMessageBox& box) {
    auto* label = box.findChild<QLabel*>("qt_msgbox_label");
    if (label) {
      shown = label->text();
      format = label->textFormat();
    }
    click(box, "cmdOK");
  });
  QtMessageBox box;
  box.show("'<b>報告書</b>.xlsx'は他のアプリケーションが使用中です", MsgButtons::OK, MsgIcon::None, "");
  EXPECT_EQ(shown, "'<b>報告書</b>.xlsx'は他のアプリケーションが使用中です");
  EXPECT_EQ(format, Qt::PlainText);
}

TEST(MessageBox, OpensOverTheMainWindowWhenNoWindowIsActive) {
  QWidget mainWindow;
  mainWindow.setGeometry(200, 150, 600, 400);
  mainWindow.show();
  QApplication::setActiveWindow(nullptr);
  setBoxOwnerOfLastResort(&mainWindow);
  QWidget* owner = nullptr;
  whenBoxIsUp([&](QMessageBox& box) {
    owner = box.parentWidget();
    click(box, "cmdOK");
  });
  QtMessageBox messages;
  messages.show("text", MsgButtons::OK, MsgIcon::None, "");
  EXPECT_EQ(owner, &mainWindow);
  setBoxOwnerOfLastResort(nullptr);
  EXPECT_EQ(boxOwner(), QApplication::activeWindow());
}

}  // namespace
}  // namespace tovakin::gui
