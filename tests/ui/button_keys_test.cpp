#include "ui/button_keys.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QShortcutEvent>
#include <QSignalSpy>
#include <QTest>

namespace tovakin::gui {
namespace {

TEST(ButtonKeys, EnterIsReturnOrTheKeypadsEnterWithoutCtrlAltOrMeta) {
  const struct {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool autoRepeat;
    bool presses;
  } cases[] = {
      {Qt::Key_Return, Qt::NoModifier, false, true},
      {Qt::Key_Enter, Qt::KeypadModifier, false, true},
      {Qt::Key_Return, Qt::ShiftModifier, false, true},
      {Qt::Key_Return, Qt::ControlModifier, false, false},
      {Qt::Key_Return, Qt::AltModifier, false, false},
      {Qt::Key_Return, Qt::NoModifier, true, false},  // a held key presses once
      {Qt::Key_Space, Qt::NoModifier, false, false},  // Qt's own
      {Qt::Key_Escape, Qt::NoModifier, false, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(isButtonEnterKey(c.key, c.modifiers, c.autoRepeat), c.presses) << c.key << " " << c.modifiers.toInt();
}

TEST(ButtonKeys, TheAccessKeyIsTheLetterAfterASingleAmpersand) {
  const struct {
    const char* caption;
    QChar key;
  } cases[] = {
      {"基礎材の反力係数(e')設定(&E)", QLatin1Char('E')},
      {"内外圧合成式の設定(&h)", QLatin1Char('H')},
      {"R&&D(&A)", QLatin1Char('A')},
      {"&OK", QLatin1Char('O')},
  };
  for (const auto& c : cases) {
    const auto key = accessKeyOf(QString::fromUtf8(c.caption));
    ASSERT_TRUE(key.has_value()) << c.caption;
    EXPECT_EQ(*key, c.key) << c.caption;
  }
  for (const char* none : {"計算", "R&&D", "end&", ""}) EXPECT_FALSE(accessKeyOf(QString::fromUtf8(none))) << none;
  EXPECT_EQ(accessKeySequence(QLatin1Char('e')), QKeySequence(Qt::ALT | Qt::Key_E));
}

TEST(ButtonKeys, ALetterTypedAloneIsTheAccessKeyOfTheCaptionThatShowsIt) {
  const QString yes = QStringLiteral("はい(&Y)");
  const struct {
    int key;
    const char* text;
    Qt::KeyboardModifiers modifiers;
    bool autoRepeat;
    const char* caption;
    bool presses;
  } cases[] = {
      {Qt::Key_Y, "y", Qt::NoModifier, false, "はい(&Y)", true},
      {Qt::Key_Y, "Y", Qt::ShiftModifier, false, "はい(&Y)", true},
      {Qt::Key_N, "n", Qt::NoModifier, false, "いいえ(&N)", true},
      {Qt::Key_N, "n", Qt::NoModifier, false, "はい(&Y)", false},
      {Qt::Key_Y, "", Qt::AltModifier, false, "はい(&Y)", false},  // the shortcut's, not this
      {Qt::Key_Y, "", Qt::ControlModifier, false, "はい(&Y)", false},
      {Qt::Key_Y, "y", Qt::NoModifier, true, "はい(&Y)", false},  // a held key answers once
      {Qt::Key_Y, "y", Qt::NoModifier, false, "はい", false},     // a caption without a letter
      {Qt::Key_unknown, "q", Qt::NoModifier, false, "閉じる(&Q)", true},  // an input method's key
      {Qt::Key_unknown, "", Qt::NoModifier, false, "閉じる(&Q)", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(isPlainAccessKey(c.key, QString::fromUtf8(c.text), c.modifiers, c.autoRepeat, QString::fromUtf8(c.caption)),
              c.presses)
        << c.caption << " " << c.text << " " << c.modifiers.toInt();
  EXPECT_TRUE(isPlainAccessKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, QStringLiteral("y")), yes));
}

// A dialog whose buttons are neither default nor auto-default, as the program's dialogs are.
struct TwoButtons {
  QDialog dialog;
  QPushButton* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  QPushButton* other = new QPushButton(QStringLiteral("other"), &dialog);
  TwoButtons() {
    for (QPushButton* b : {ok, other}) {
      b->setAutoDefault(false);
      b->setDefault(false);
    }
    pressOnEnter(*ok);
  }
};

TEST(ButtonKeys, EnterPressesTheFocusedButtonOnceAndOnlyWhileItIsEnabled) {
  TwoButtons w;
  QSignalSpy pressed(w.ok, &QPushButton::clicked);
  QSignalSpy otherPressed(w.other, &QPushButton::clicked);
  QTest::keyClick(w.ok, Qt::Key_Return);
  QTest::keyClick(w.ok, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(pressed.count(), 2);
  QTest::keyClick(w.ok, Qt::Key_Return, Qt::ControlModifier);
  w.ok->setEnabled(false);
  QTest::keyClick(w.ok, Qt::Key_Return);
  EXPECT_EQ(pressed.count(), 2);
  // A button not given the rule stays as Qt leaves it in such a dialog: Enter does not press it.
  QTest::keyClick(w.other, Qt::Key_Return);
  EXPECT_EQ(otherPressed.count(), 0);
}

TEST(ButtonKeys, AnAccessKeyPressesTheButtonAtOnceAlsoWhenAnotherControlClaimsIt) {
  QDialog dialog;
  auto* button = new QPushButton(QStringLiteral("設定(&E)"), &dialog);
  pressOnAccessKey(*button);
  QSignalSpy pressed(button, &QPushButton::clicked);
  for (bool ambiguous : {false, true}) {
    QShortcutEvent shortcut(QKeySequence(Qt::ALT | Qt::Key_E), 0, ambiguous);
    QCoreApplication::sendEvent(button, &shortcut);
  }
  EXPECT_EQ(pressed.count(), 2);  // at once, not some 100 ms later, and not just focused
  button->setEnabled(false);
  QShortcutEvent shortcut(QKeySequence(Qt::ALT | Qt::Key_E), 0, true);
  QCoreApplication::sendEvent(button, &shortcut);
  EXPECT_EQ(pressed.count(), 2);
}

}  // namespace
}  // namespace tovakin::gui
