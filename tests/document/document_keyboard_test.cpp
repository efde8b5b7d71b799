// The document window at the keyboard: the Enter links and Tab, select-all however a box is
// reached, what marks the case changed and what does not, the lists' choices, the command words
// and the close question.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <cerrno>
#include <functional>
#include <tuple>

#include "app/app_state.h"
#include "app/recent_files.h"
#include "document/frm_document.h"
#include "platform/file_system.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "support/write_faults.h"
#include "ui/box_style.h"

namespace tovakin::gui::testing {
namespace {

using namespace tovakin::testing;

class DocumentKeyboard : public ::testing::Test {
 protected:
  // A save lists its file among the recent files, which live in the program's folder.
  void SetUp() override {
    ASSERT_TRUE(appDir_.isValid());
    g_app.g_appPath = appDir_.path().toStdString() + "/";
  }
  void TearDown() override {
    g_app = savedApp_;
    app::g_recentFiles = savedRecent_;
  }
  static QString focusName(const frmDocument& d) { return d.focusWidget() ? d.focusWidget()->objectName() : QString(); }
  // Shows the window and makes it the active one, where the platform can: only then do focus
  // events reach the boxes.
  static bool activate(QWidget& w) {
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
  }
  static void choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }

  QTemporaryDir appDir_;
  AppState savedApp_ = g_app;
  std::array<std::string, 4> savedRecent_ = app::g_recentFiles;
  ScriptedErrorBox errors;
  ScriptedMessageBox messages;
  ScriptedCommonDialog dialog;
  Installed<MessageBoxService> installedBox = installMessageBox(messages);
  Installed<CommonDialog> installedDialog = installCommonDialog(dialog);
};

TEST_F(DocumentKeyboard, EnterFollowsEveryLinkWhetherOrNotTheWindowIsShown) {
  struct Row {
    const char* from;
    const char* to;
    std::function<void(frmDocument&)> setUp;
  };
  const auto plain = [](frmDocument& d) {
    d.myMizohabaEdit(0);
    d.cmdNaigaiatuSet()->setVisible(true);
    d.picTouseiField()->setVisible(true);
  };
  const std::vector<Row> rows{
      {"cbKanshu", "cbKikaku", plain},           {"cbKikaku", "cbYobina", plain},
      {"cbYobina", "cbKajuJoken", plain},        {"cbKajuJoken", "cbDoroJoken", plain},
      {"cbDoroJoken", "txtTextBox_13", plain},   {"cbBuruJoken", "txtTextBox_15", plain},
      {"cbMaisetu", "cbKiso", plain},            {"cbKiso", "txtTextBox_7", plain},
      {"txtTextBox_0", "cbKanshu", plain},       {"txtTextBox_1", "cbKajuJoken", plain},
      {"txtTextBox_4", "cbKajuJoken", plain},    {"txtTextBox_21", "cbKajuJoken", plain},
      {"txtTextBox_7", "txtTextBox_5", plain},   {"txtTextBox_5", "txtTextBox_12", plain},
      {"txtTextBox_12", "txtTextBox_6", plain},  {"txtTextBox_6", "txtTextBox_8", plain},
      {"txtTextBox_8", "txtTextBox_10", plain},  {"txtTextBox_10", "txtTextBox_11", plain},
      {"txtTextBox_11", "txtTextBox_9", plain},  {"txtTextBox_13", "txtTextBox_14", plain},
      {"txtTextBox_14", "cbBuruJoken", plain},   {"txtTextBox_15", "txtTextBox_16", plain},
      {"txtTextBox_16", "txtTextBox_17", plain}, {"txtTextBox_17", "txtTextBox_18", plain},
      {"txtTextBox_18", "cbMaisetu", plain},     {"txtTextBox_19", "txtTextBox_20", plain},
      {"txtTextBox_20", "txtTextBox_22", plain}, {"txtTextBox_22", "txtTextBox_23", plain},
      {"txtTextBox_23", "cmdCommand_1", plain},  {"txtTextBox_9", "cmdNaigaiatuSet", plain},
      {"txtTextBox_7", "txtTextBox_12", [&](frmDocument& d) { plain(d); d.myMizohabaEdit(1); }},
      {"txtTextBox_9", "cmdKisozaiSet", [&](frmDocument& d) { plain(d); d.cmdNaigaiatuSet()->hide(); }},
      {"txtTextBox_9", "cmdCommand_1", [&](frmDocument& d) {
         plain(d);
         d.cmdNaigaiatuSet()->hide();
         d.picTouseiField()->hide();
       }}};
  for (bool shown : {false, true}) {
    frmDocument d;
    if (shown && !activate(d)) GTEST_SKIP() << "no window activation on this platform";
    QSignalSpy chosen(d.cbKajuJoken(), &QComboBox::activated);
    for (const Row& row : rows) {
      row.setUp(d);
      auto* from = d.findChild<QWidget*>(row.from);
      ASSERT_NE(from, nullptr) << row.from;
      from->setFocus();
      // Return on the main keys when shown, the keypad's Enter when not.
      if (shown) QTest::keyClick(from, Qt::Key_Return);
      else QTest::keyClick(from, Qt::Key_Enter, Qt::KeypadModifier);
      EXPECT_EQ(focusName(d), row.to) << row.from << (shown ? " shown" : " hidden");
    }
    EXPECT_EQ(chosen.count(), 0);  // moving on is no choice
    EXPECT_TRUE(d.blnUnchanged());
  }
}

TEST_F(DocumentKeyboard, EnterAndLeavingReformatTheBoxAndOnlyEnterOnTheButtonPressesIt) {
  frmDocument d;
  d.txtTextBox(8)->setText("１２。５");  // the kana-mode point
  QTest::keyClick(d.txtTextBox(8), Qt::Key_Return);
  EXPECT_EQ(d.txtTextBox(8)->text(), "12.50");
  d.txtTextBox(8)->setText("2,5");  // refused where it stands, never cut to 2
  QTest::keyClick(d.txtTextBox(8), Qt::Key_Return);
  EXPECT_EQ(d.txtTextBox(8)->text(), "2,5");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, unreadableNumberMessage("2,5"));
  QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
  using Left = std::tuple<int, const char*, const char*>;
  for (auto [index, typed, shown] : {Left{6, "", "0"}, Left{0, " 　題　", "題"}, Left{19, "x", "x"}, Left{7, "７．５ ", "7.500"}}) {
    d.txtTextBox(index)->setText(QString::fromUtf8(typed));
    QApplication::sendEvent(d.txtTextBox(index), &leave);
    EXPECT_EQ(d.txtTextBox(index)->text(), QString::fromUtf8(shown)) << index;
  }
  // Blanks inside a number are refused like any leftover; a number beyond a double is the box
  // check's overflow, as in a dialog's box: Ignore shows zero, never a clamped number.
  d.txtTextBox(10)->setText("１　５");
  QApplication::sendEvent(d.txtTextBox(10), &leave);
  EXPECT_EQ(d.txtTextBox(10)->text(), "１　５");
  d.txtTextBox(10)->setText("1e400");
  QApplication::sendEvent(d.txtTextBox(10), &leave);
  EXPECT_EQ(errors.shown, std::vector<std::string>{"オーバーフローしました。(6)\n in txtTextBoxCheck"});
  EXPECT_EQ(d.txtTextBox(10)->text(), "0.00");
  QFocusEvent menu(QEvent::FocusOut, Qt::PopupFocusReason);  // a context menu opening
  d.txtTextBox(8)->setText("7x");
  QApplication::sendEvent(d.txtTextBox(8), &menu);
  EXPECT_EQ(d.txtTextBox(8)->text(), "7x");
  EXPECT_TRUE(d.blnUnchanged());

  // Enter at the end of the links presses the button it reached (its dialog left out here).
  QObject::disconnect(d.cmdNaigaiatuSet(), &QPushButton::clicked, &d, nullptr);
  QSignalSpy pressed(d.cmdNaigaiatuSet(), &QPushButton::clicked);
  QTest::keyClick(d.cmdNaigaiatuSet(), Qt::Key_Return);
  EXPECT_EQ(pressed.count(), 1);
  for (QPushButton* b : {d.cmdCommand(0), d.cmdCommand(1), d.cmdKisozaiSet(), d.cmdNaigaiatuSet()})
    EXPECT_TRUE(b->autoDefault()) << b->objectName().toStdString();
}

TEST_F(DocumentKeyboard, AnAccessKeyPressesTheConditionButtonOnlyWhileTheWindowShowsIt) {
  frmDocument d;
  // The dialogs are left out: only the press counts here.
  for (QPushButton* b : {d.cmdKisozaiSet(), d.cmdNaigaiatuSet()}) QObject::disconnect(b, &QPushButton::clicked, &d, nullptr);
  QSignalSpy kisozai(d.cmdKisozaiSet(), &QPushButton::clicked);
  QSignalSpy naigaiatu(d.cmdNaigaiatuSet(), &QPushButton::clicked);
  const QKeySequence altE(Qt::ALT | Qt::Key_E), altH(Qt::ALT | Qt::Key_H), altC(Qt::ALT | Qt::Key_C);
  const struct {
    bool flexiblePanel;  // the e' button stands on the flexible-pipe panel
    bool naigaiatuShown;
    bool enabled;
    QKeySequence key;
    bool pressed;
    int kisozaiPresses;
    int naigaiatuPresses;
  } rows[] = {
      {true, true, true, altE, true, 1, 0},    {true, true, true, altH, true, 0, 1},
      {false, true, true, altE, false, 0, 0},  {true, false, true, altH, false, 0, 0},
      {true, true, false, altE, false, 0, 0},  {true, true, false, altH, false, 0, 0},
      {true, true, true, altC, false, 0, 0},  // 計算する(&C) is the menu's here
  };
  int row = 0;
  for (const auto& r : rows) {
    kisozai.clear();
    naigaiatu.clear();
    d.picTouseiField()->setVisible(r.flexiblePanel);
    d.cmdNaigaiatuSet()->setVisible(r.naigaiatuShown);
    d.cmdKisozaiSet()->setEnabled(r.enabled);
    d.cmdNaigaiatuSet()->setEnabled(r.enabled);
    EXPECT_EQ(d.pressAccessKey(r.key), r.pressed) << row;
    EXPECT_EQ(kisozai.count(), r.kisozaiPresses) << row;
    EXPECT_EQ(naigaiatu.count(), r.naigaiatuPresses) << row;
    ++row;
  }
}

TEST_F(DocumentKeyboard, TypingReplacesTheValueHoweverTheBoxWasReached) {
  frmDocument d;
  if (!activate(d)) GTEST_SKIP() << "no window activation on this platform";
  QLineEdit* box8 = d.txtTextBox(8);
  const std::vector<std::pair<const char*, std::function<void()>>> ways{
      {"Enter", [&] { d.txtTextBox(6)->setFocus(); QTest::keyClick(d.txtTextBox(6), Qt::Key_Return); }},
      {"Tab", [&] { d.txtTextBox(6)->setFocus(); QTest::keyClick(d.txtTextBox(6), Qt::Key_Tab); }},
      {"mouse", [&] { d.txtTextBox(6)->setFocus(); QTest::mouseClick(box8, Qt::LeftButton, {}, QPoint(4, 4)); }},
      {"code", [&] { d.txtTextBox(6)->setFocus(); box8->setFocus(); }}};
  for (const auto& [way, reach] : ways) {
    box8->setText("9.81");
    reach();
    QCoreApplication::processEvents();  // the selection made after the focusing event
    ASSERT_EQ(d.focusWidget(), box8) << way;
    QTest::keyClicks(box8, "5");
    EXPECT_EQ(box8->text(), "5") << way;
  }
}

TEST_F(DocumentKeyboard, EveryKindOfUserEditMarksTheCaseChanged) {
  frmDocument d;
  QLineEdit* box = d.txtTextBox(7);
  QApplication::clipboard()->setText("3.5");
  const std::vector<std::pair<const char*, std::function<void()>>> edits{
      {"typing", [&] { QTest::keyClicks(box, "4"); }},
      {"Backspace", [&] { box->end(false); QTest::keyClick(box, Qt::Key_Backspace); }},
      {"Delete", [&] { box->home(false); QTest::keyClick(box, Qt::Key_Delete); }},
      {"cut", [&] { box->selectAll(); QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier); }},
      {"paste", [&] { QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); }},
      {"context paste", [&] { box->paste(); }},
      {"undo", [&] {
         QTest::keyClicks(box, "8");
         d.setUnchanged(true);  // as after a save
         QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
       }},
      {"input method", [&] {
         box->clear();
         QInputMethodEvent commit;
         commit.setCommitString(QStringLiteral("１２．５"));
         QApplication::sendEvent(box, &commit);
       }}};
  for (const auto& [kind, edit] : edits) {
    box->setText("1.000");
    d.setUnchanged(true);
    edit();
    EXPECT_FALSE(d.blnUnchanged()) << kind;
  }
  QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(box, &leave);
  EXPECT_EQ(box->text(), "12.500");  // the full-width commit, re-formatted
}

// A character the design file cannot hold is refused where it is typed, named in a tool tip at
// the box; the wave dash of input methods is taken as typed.
TEST_F(DocumentKeyboard, ACharacterTheFileCannotHoldIsRefusedNamedAndNothingElseIsLost) {
  frmDocument d;
  d.show();
  QLineEdit* title = d.txtTextBox(0);
  for (const char* typed : {"caf", "é", " 1", "〜", "3"}) {
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8(typed));
    QApplication::sendEvent(title, &commit);
  }
  EXPECT_EQ(title->text(), QStringLiteral("caf 1〜3"));
  EXPECT_EQ(QToolTip::text(), QStringLiteral("「é (U+00E9)」は入力できない文字です。"));
}

TEST_F(DocumentKeyboard, ReadOnlyBoxesTakeNoInputAndNoInputTakesADrop) {
  frmDocument d;
  QApplication::clipboard()->setText("77");
  for (int i : {1, 2, 3, 4, 19, 21}) {
    QLineEdit* box = d.txtTextBox(i);
    box->setText("5.00");
    EXPECT_TRUE(box->isReadOnly()) << i;
    EXPECT_FALSE(box->testAttribute(Qt::WA_InputMethodEnabled)) << i;
    QTest::keyClicks(box, "9");
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete}) QTest::keyClick(box, key);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "5.00") << i;
  }
  EXPECT_TRUE(d.blnUnchanged());
  for (const DocumentBox& box : documentBoxes()) EXPECT_FALSE(d.txtTextBox(box.index)->acceptDrops()) << box.index;
  for (const DocumentList& list : documentLists()) {
    auto* combo = qobject_cast<QComboBox*>(d.control(objectNameOf(list.role)));
    ASSERT_NE(combo, nullptr) << objectNameOf(list.role);
    EXPECT_FALSE(combo->acceptDrops()) << objectNameOf(list.role);
    EXPECT_FALSE(combo->lineEdit()->acceptDrops()) << objectNameOf(list.role);
  }
}

TEST_F(DocumentKeyboard, TabbingThroughEveryFieldFollowsTheLinksAndMarksNothing) {
  frmDocument d;
  d.txtTextBox(8)->setText("１２");  // as a case shows it, never typed
  if (!activate(d)) GTEST_SKIP() << "no window activation on this platform";
  d.txtTextBox(0)->setFocus();
  QStringList visited{focusName(d)};
  for (int i = 0; i < 26; ++i) {
    QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
    visited << focusName(d);
  }
  // No pipe database: an unknown pipe class, the support panel shown, the rigid button not.
  const QStringList expected{"txtTextBox_0",  "cbKanshu",      "cbKikaku",      "cbYobina",      "cbKajuJoken",
                             "cbDoroJoken",   "txtTextBox_13", "txtTextBox_14", "cbBuruJoken",   "txtTextBox_15",
                             "txtTextBox_16", "txtTextBox_17", "txtTextBox_18", "cbMaisetu",     "cbKiso",
                             "txtTextBox_7",  "txtTextBox_5",  "txtTextBox_12", "txtTextBox_6",  "txtTextBox_8",
                             "txtTextBox_10", "txtTextBox_11", "txtTextBox_9",  "cmdKisozaiSet", "txtTextBox_19",
                             "txtTextBox_20", "txtTextBox_22"};
  EXPECT_EQ(visited, expected);
  EXPECT_EQ(d.txtTextBox(8)->text(), "12.00");  // left, so re-formatted
  EXPECT_TRUE(d.blnUnchanged());
  EXPECT_TRUE(d.queryClose());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DocumentKeyboard, EveryChoiceAndBoxEditChangesTheCaseAndTheBurialSwitchesTheTrench) {
  frmDocument d;
  for (const DocumentList& list : documentLists()) {
    auto* combo = qobject_cast<QComboBox*>(d.control(objectNameOf(list.role)));
    d.setUnchanged(true);
    emit combo->activated(combo->currentIndex());  // the entry shown
    EXPECT_FALSE(d.blnUnchanged()) << objectNameOf(list.role);
  }
  for (const DocumentBox& box : documentBoxes()) {
    d.setUnchanged(true);
    emit d.txtTextBox(box.index)->textEdited(d.txtTextBox(box.index)->text());
    EXPECT_FALSE(d.blnUnchanged()) << box.index;
  }
  d.txtTextBox(5)->setText("1.200");
  using Trench = std::tuple<const char*, const char*, bool>;
  for (auto [burial, caption, enabled] : {Trench{"突出型", "管頂部溝幅", false}, Trench{"矢板施工", "矢板中心溝幅", true},
                                          Trench{"突出型", "管頂部溝幅", false}, Trench{"溝型", "管頂部溝幅", true}}) {
    choose(d.cbMaisetu(), QString::fromUtf8(burial));
    EXPECT_EQ(d.lblMizohaba()->text(), QString::fromUtf8(caption)) << burial;
    EXPECT_EQ(d.lblMizohaba()->isEnabled(), enabled) << burial;
    EXPECT_EQ(d.txtTextBox(5)->isEnabled(), enabled) << burial;
    EXPECT_FALSE(d.txtTextBox(5)->isHidden());
    EXPECT_EQ(d.txtTextBox(5)->text(), "1.200");
  }
  choose(d.cbKiso(), QStringLiteral("固定支承"));  // the flexible panel follows the support
  EXPECT_TRUE(d.picTouseiField()->isHidden());
  choose(d.cbKiso(), QStringLiteral("自由支承"));
  EXPECT_FALSE(d.picTouseiField()->isHidden());
}

// A menu, a toolbar button or an access key leaves the focus in the box being typed in: its raw
// text is read as leaving would show it, with no error box and no lost digits.
TEST_F(DocumentKeyboard, TheFocusedBoxIsReadAsLeavingItWouldShowIt) {
  frmDocument d;
  if (!activate(d)) GTEST_SKIP() << "no window activation on this platform";
  d.txtTextBox(7)->setFocus();
  d.txtTextBox(7)->clear();
  QTest::keyClicks(d.txtTextBox(7), "12.5m");
  ASSERT_EQ(d.focusWidget(), d.txtTextBox(7));
  // Not one number: said so, the focus kept, nothing stored.
  EXPECT_FALSE(d.myForm2Data());
  EXPECT_EQ(d.myData().dokaburi, 0.6);
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(d.focusWidget(), d.txtTextBox(7));
  d.txtTextBox(7)->clear();
  QTest::keyClicks(d.txtTextBox(7), "12.5 ");
  EXPECT_TRUE(d.myForm2Data());
  EXPECT_TRUE(errors.shown.empty());
  EXPECT_EQ(d.myData().dokaburi, 12.5);
  EXPECT_EQ(d.txtTextBox(7)->text(), "12.500");
  EXPECT_FALSE(d.blnUnchanged());
}

TEST_F(DocumentKeyboard, TheSaveWordsRunOncePerNewWordAndTrustTheWrite) {
  QTemporaryDir dir;
  const QString path = dir.filePath("a.PIPEDATA");
  frmDocument d;
  d.setWindowTitle("Document1");
  d.setUnchanged(false);
  dialog.answerCancel();
  DocumentCommand(d, QStringLiteral("上書き保存"));  // no file yet: the dialog, cancelled
  ASSERT_EQ(dialog.calls.size(), 1u);
  EXPECT_EQ(dialog.calls[0].fileName, "noname.PIPEDATA");
  EXPECT_EQ(d.windowTitle(), "Document1");
  EXPECT_EQ(d.lblMyFilename(), "");
  EXPECT_FALSE(d.blnUnchanged());

  {  // a folder that refuses the file: no save, whatever the dialog said
    RefusedWrites refused(WriteStage::Create, EACCES);
    dialog.answerOk(path.toStdString());
    DocumentCommand(d, QStringLiteral("名前を付けて保存"));
  }
  EXPECT_FALSE(d.blnUnchanged());
  EXPECT_EQ(d.lblMyFilename(), "");
  EXPECT_EQ(d.windowTitle(), "Document1");

  dialog.answerOk(path.toStdString());
  d.txtTextBox(7)->setText("2.5");
  DocumentCommand(d, QStringLiteral("名前を付けて保存"));
  EXPECT_TRUE(d.blnUnchanged());
  EXPECT_EQ(d.lblMyFilename(), path);
  EXPECT_EQ(d.windowTitle(), path);
  EXPECT_EQ(d.txtTextBox(7)->text(), "2.5");

  const std::size_t asked = dialog.calls.size();
  d.setUnchanged(false);
  d.lblMyCommand(QStringLiteral("名前を付けて保存"));  // the same word again, without "": nothing
  EXPECT_EQ(dialog.calls.size(), asked);
  EXPECT_FALSE(d.blnUnchanged());
  DocumentCommand(d, QStringLiteral("上書き保存"));  // its own file: written without a dialog
  EXPECT_EQ(dialog.calls.size(), asked);
  EXPECT_TRUE(d.blnUnchanged());
  DocumentCommand(d, QStringLiteral("ほか"));  // any other word: the caption refresh only
  EXPECT_EQ(d.windowTitle(), path);

  frmDocument opened;
  opened.setMyFilename(path);
  DocumentCommand(opened, QStringLiteral("開く"));
  EXPECT_EQ(opened.txtTextBox(7)->text(), "2.500");
  EXPECT_EQ(opened.windowTitle(), path);
  EXPECT_TRUE(opened.blnUnchanged());
}

TEST_F(DocumentKeyboard, AFailedOpenClosesTheSubWindowAfterTheSenderWithoutAQuestion) {
  QMdiArea area;
  auto* d = new frmDocument;
  QPointer<QMdiSubWindow> sub = area.addSubWindow(d);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  d->setMyFilename("/nonexistent/x.PIPEDATA");
  DocumentCommand(*d, QStringLiteral("開く"));
  EXPECT_FALSE(sub.isNull());  // the sender is still on the stack
  ASSERT_EQ(messages.shown.size(), 1u);  // the missing file, and no save question
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(sub.isNull());
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(DocumentKeyboard, TheCloseQuestionsAnswersAndAFailedSaveKeepTheWindow) {
  QTemporaryDir dir;
  QMdiArea area;
  const auto open = [&](QPointer<QMdiSubWindow>& sub) {
    auto* d = new frmDocument;
    sub = area.addSubWindow(d);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    d->setUnchanged(false);
    return d;
  };
  const auto closed = [](QPointer<QMdiSubWindow>& sub) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return sub.isNull();
  };
  QPointer<QMdiSubWindow> sub;
  frmDocument* d = open(sub);
  d->txtTextBox(8)->setText("１２");
  messages.answer(MsgAnswer::Cancel);
  sub->close();
  EXPECT_FALSE(closed(sub));
  EXPECT_EQ(d->txtTextBox(8)->text(), "12.00");  // every box re-formatted before the question
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kSaveQuestion);
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNoCancel);  // Yes first, the default

  messages.answer(MsgAnswer::Yes);
  {
    RefusedWrites refused(WriteStage::Create, EACCES);
    dialog.answerOk(dir.filePath("b.PIPEDATA").toStdString());
    d->cmdCommand(0)->click();  // 閉じる closes the sub-window, through the question
  }
  EXPECT_FALSE(closed(sub));
  EXPECT_FALSE(d->blnUnchanged());

  messages.answer(MsgAnswer::Yes);
  dialog.answerOk(dir.filePath("b.PIPEDATA").toStdString());
  d->cmdCommand(0)->click();
  EXPECT_TRUE(closed(sub));
  EXPECT_TRUE(platform::fileExists(dir.filePath("b.PIPEDATA").toStdString()));

  d = open(sub);
  messages.answer(MsgAnswer::No);
  sub->close();
  EXPECT_TRUE(closed(sub));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // nothing written
}

}  // namespace
}  // namespace tovakin::gui::testing
