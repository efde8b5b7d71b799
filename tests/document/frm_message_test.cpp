#include "document/frm_message.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest/QTest>

namespace tovakin::gui {
namespace {

struct Shown {
  bool left, right;
  QString leftText, rightText;
};

Shown buttonsOf(const frmMessage& m) {
  auto* left = m.findChild<QPushButton*>("cmdCommand_1");
  auto* right = m.findChild<QPushButton*>("cmdCommand_0");
  return {!left->isHidden() && left->isEnabled(), !right->isHidden() && right->isEnabled(), left->text(),
          right->text()};
}

TEST(MessageWindow, TheNoticeHasNoButtonAndOnlyItsText) {
  frmMessage notice(kMessageNotice);
  notice.setMessage(QStringLiteral("入力データをチェックしています。"));
  const Shown b = buttonsOf(notice);
  EXPECT_FALSE(b.left);
  EXPECT_FALSE(b.right);
  EXPECT_EQ(notice.windowTitle(), QStringLiteral("計算中です"));
  EXPECT_EQ(notice.lblMessage()->text(), QStringLiteral("入力データをチェックしています。"));
  EXPECT_TRUE(notice.lblMessage()->wordWrap());
}

TEST(MessageWindow, TheNoticeIsShownWithoutTheFocusAndNeitherEscapeNorCloseEndsIt) {
  QWidget owner;
  owner.show();
  auto* notice = new frmMessage(kMessageNotice, &owner);
  notice->showNotice();
  EXPECT_TRUE(notice->isVisible());
  EXPECT_TRUE(notice->testAttribute(Qt::WA_ShowWithoutActivating));
  QTest::keyClick(notice, Qt::Key_Escape);
  EXPECT_TRUE(notice->isVisible());
  EXPECT_FALSE(notice->close());  // the window manager's close
  EXPECT_TRUE(notice->isVisible());
  notice->setMessage(QStringLiteral("計算書を作成しています。"));
  EXPECT_TRUE(notice->isVisible());
  notice->unload();  // the program takes it down
  EXPECT_FALSE(notice->isVisible());
  delete notice;
}

TEST(MessageWindow, TheQuestionAnswersSixForYesAndSevenForNo) {
  for (const auto& [name, answer] : {std::pair{"cmdCommand_1", kAnswerYes}, std::pair{"cmdCommand_0", kAnswerNo}}) {
    frmMessage question(kMessageYesNo);
    const Shown b = buttonsOf(question);
    EXPECT_TRUE(b.left && b.right);
    EXPECT_EQ(b.leftText, QStringLiteral("はい(&Y)"));
    EXPECT_EQ(b.rightText, QStringLiteral("いいえ(&N)"));
    question.show();
    g_messageAnswer = 0;
    question.findChild<QPushButton*>(name)->click();
    EXPECT_EQ(g_messageAnswer, answer) << name;
    EXPECT_FALSE(question.isVisible());
    EXPECT_EQ(question.result(), QDialog::Accepted);
  }
}

TEST(MessageWindow, TheQuestionStartsOnYesAndItsAccessKeysAnswer) {
  for (const auto& [key, answer] : {std::pair{Qt::Key_Y, kAnswerYes}, std::pair{Qt::Key_N, kAnswerNo}}) {
    frmMessage question(kMessageYesNo);
    question.show();
    question.activateWindow();
    if (!QTest::qWaitForWindowActive(&question)) GTEST_SKIP() << "no window activation on this platform";
    EXPECT_EQ(QApplication::focusWidget(), question.cmdCommand(1)) << "はい is first in the tab order";
    g_messageAnswer = 0;
    QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    // An access key presses its button the animated way, a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&, want = answer] { return g_messageAnswer == want; }, 2000));
  }
}

TEST(MessageWindow, ThePlainLettersTheButtonsShowAnswerAsTheirAccessKeysDo) {
  const struct {
    int mode;
    Qt::Key key;
    std::int32_t answer;  // -1: no answer, the window stays
  } cases[] = {
      {kMessageYesNo, Qt::Key_Y, kAnswerYes}, {kMessageYesNo, Qt::Key_N, kAnswerNo},
      {kMessageYesNo, Qt::Key_Q, -1},  // 閉じる is not shown in a question
      {kMessageClose, Qt::Key_Q, 0},   {kMessageClose, Qt::Key_Y, -1},  // はい is hidden
  };
  for (const auto& c : cases) {
    frmMessage message(c.mode);
    message.show();
    g_messageAnswer = -1;
    // Sent to the focused button, from where an unused key travels to the window.
    QWidget* focused = message.cmdCommand(c.mode == kMessageYesNo ? 1 : 0);
    QTest::keyClick(focused, c.key);
    EXPECT_EQ(g_messageAnswer, c.answer) << c.mode << " " << c.key;
    EXPECT_EQ(message.isVisible(), c.answer == -1) << c.mode << " " << c.key;
  }
}

TEST(MessageWindow, EscapeDoesNotAnswerTheQuestion) {
  frmMessage question(kMessageYesNo);
  question.show();
  g_messageAnswer = 0;
  QTest::keyClick(&question, Qt::Key_Escape);
  EXPECT_TRUE(question.isVisible());
  EXPECT_FALSE(question.close());
  EXPECT_EQ(g_messageAnswer, 0);
}

TEST(MessageWindow, TheCloseMessageShowsOnlyCloseOnTheRightAndAnswersZero) {
  frmMessage message(kMessageClose);
  const Shown b = buttonsOf(message);
  EXPECT_FALSE(b.left);
  EXPECT_TRUE(b.right);
  EXPECT_EQ(b.rightText, QStringLiteral("閉じる(&Q)"));
  EXPECT_GT(message.cmdCommand(0)->x(), message.width() / 2);
  message.show();
  g_messageAnswer = 6;
  message.cmdCommand(0)->click();
  EXPECT_EQ(g_messageAnswer, 0);
  EXPECT_FALSE(message.isVisible());
}

TEST(MessageWindow, AnyOtherModeShowsCloseButAnswersNo) {
  frmMessage message(3);
  EXPECT_EQ(buttonsOf(message).rightText, QStringLiteral("閉じる(&Q)"));
  EXPECT_FALSE(buttonsOf(message).left);
  message.show();
  message.cmdCommand(0)->click();
  EXPECT_EQ(g_messageAnswer, kAnswerNo);
}

TEST(MessageWindow, TheModeSetLaterKeepsTheButtonsButDecidesTheAnswer) {
  frmMessage message(kMessageYesNo);
  message.frmMessageSrc = kMessageClose;
  EXPECT_TRUE(buttonsOf(message).left);
  EXPECT_EQ(buttonsOf(message).rightText, QStringLiteral("いいえ(&N)"));
  message.show();
  g_messageAnswer = 6;
  message.cmdCommand(1)->click();
  EXPECT_EQ(g_messageAnswer, 0);
  EXPECT_EQ(messageAnswerFor(kMessageYesNo, 1), kAnswerYes);
  EXPECT_EQ(messageAnswerFor(kMessageClose, 0), 0);
}

TEST(MessageWindow, HasNoWindowManagerBoxesAndShowsItsOwnCaption) {
  for (int mode : {kMessageNotice, kMessageYesNo, kMessageClose}) {
    frmMessage message(mode);
    const Qt::WindowFlags flags = message.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint)) << mode;
    for (Qt::WindowType box : {Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint})
      EXPECT_FALSE(flags.testFlag(box)) << mode;
    EXPECT_EQ(message.captionBar()->text(), QStringLiteral("計算中です"));
    message.setWindowTitle(QStringLiteral("確認して下さい。"));
    EXPECT_EQ(message.captionBar()->text(), QStringLiteral("確認して下さい。"));
    // The text and the buttons stand below the caption bar.
    EXPECT_GE(message.lblMessage()->y(), message.captionBar()->geometry().bottom());
  }
}

TEST(MessageWindow, AModalMessageKeepsItsOwnerOnScreen) {
  // The modality double minimizes the owner while the message waits, as a window manager's
  // button or key would, and answers once the owner is back.
  struct Minimizing : MessageModality {
    void runModal(frmMessage& window) override {
      QWidget* owner = window.parentWidget();
      owner->showMinimized();
      minimized = owner->isMinimized();
      restored = QTest::qWaitFor([owner] { return !owner->isMinimized(); }, 2000);
      window.cmdCommand(0)->click();
    }
    bool minimized = false;
    bool restored = false;
  } modality;
  const auto installed = installMessageModality(modality);
  QWidget owner;
  owner.show();
  frmMessage message(kMessageClose, &owner);
  message.showModal();
  EXPECT_TRUE(modality.minimized);
  EXPECT_TRUE(modality.restored);
  // Once the message is answered, minimizing is the user's again.
  owner.showMinimized();
  QTest::qWait(50);
  EXPECT_TRUE(owner.isMinimized());
}

TEST(MessageWindow, ALongMessageGrowsTheWindowInsteadOfBeingCut) {
  frmMessage message(kMessageYesNo);
  const int designed = message.height();
  message.setMessage(QStringLiteral("計算が終了しました。計算結果を Excel の計算書に出力します。"
                                    "出力には時間がかかる場合があります。よろしいですか？"
                                    "（出力しない場合は「いいえ」を選んで下さい。）"));
  QLabel* label = message.lblMessage();
  EXPECT_GE(label->height(), label->heightForWidth(label->width()));
  EXPECT_GT(message.height(), designed);
  EXPECT_GE(message.cmdCommand(1)->y(), label->geometry().bottom());
  EXPECT_LE(message.cmdCommand(1)->geometry().bottom(), message.height());
}

}  // namespace
}  // namespace tovakin::gui
