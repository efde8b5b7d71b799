#include "dialogs/frm_naigaiatu_set.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <tuple>
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/input_limits.h"
#include "app/document_file.h"
#include "support/scripted_dialogs.h"
#include "ui/form_helpers.h"
#include "ui/numeric_box.h"

namespace tovakin::gui {
namespace {

// One document's side: its record as its controls left it, and its take-over flag.
struct Document {
  DesignData record;
  bool flag = false;
  explicit Document(double s = 2.0, double n = 2.0) {
    record.naigaiatuAnzenritu = s;
    record.naigaiatuKeisuN = n;
    record.kanshu = "ダクタイル鋳鉄管";  // a field the dialog does not edit
  }
};

class NaigaiatuSet : public ::testing::Test {
 protected:
  void SetUp() override { g_app.g_appPath = std::string(TOVAKIN_APPDIR) + "/"; }

  // Opens the dialog from a document as its button does; `drive` plays the user.
  bool open(Document& doc, const std::function<void(frmNaigaiatuSet&)>& drive) {
    return runNaigaiatuSet(&mainWindow, doc.record, doc.flag, [&](QDialog& shown) {
      auto& dialog = dynamic_cast<frmNaigaiatuSet&>(shown);
      dialog.show();
      QApplication::setActiveWindow(&dialog);
      drive(dialog);
    });
  }
  // Typed over the whole text, as the input method commits it (full-width text included).
  static void type(frmNaigaiatuSet& dialog, int box, const char* text) {
    dialog.txtTextBox(box)->focusAndSelect();
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8(text));
    QApplication::sendEvent(dialog.txtTextBox(box), &commit);
  }
  static void press(frmNaigaiatuSet& dialog, ConditionDialog::Command command) { dialog.cmdCommand(command)->click(); }

  QWidget mainWindow;
  testing::ScriptedMessageBox messages;
  platform::Installed<platform::MessageBoxService> installed = platform::installMessageBox(messages);
};

TEST_F(NaigaiatuSet, OpensOverTheMainWindowWithTheCaseValuesUnchangedAndTheFocusOnCancel) {
  Document doc(2.126, 2.0);
  open(doc, [&](frmNaigaiatuSet& d) {
    EXPECT_TRUE(d.parentWidget() == &mainWindow && d.isModal());
    EXPECT_EQ(d.txtTextBox(0)->text(), "2.13");
    EXPECT_EQ(d.txtTextBox(1)->text(), "2.00");
    EXPECT_TRUE(d.blnUnchanged());
    EXPECT_FALSE(d.cmdCommand(ConditionDialog::kOk)->isEnabled() || d.cmdCommand(ConditionDialog::kApply)->isEnabled());
    EXPECT_TRUE(d.cmdCommand(ConditionDialog::kCancel)->hasFocus());
    EXPECT_EQ(d.cmdCommand(ConditionDialog::kApply)->toolTip(), "適用(ALT+A)");
    // The picture at its own size fits the area inside its frame.
    const QSize area = d.picImage()->contentsRect().size();
    ASSERT_FALSE(d.picImage()->pixmap().isNull());
    EXPECT_EQ(area.expandedTo(d.picImage()->pixmap().size()), area);
    press(d, ConditionDialog::kCancel);
  });
  frmNaigaiatuSet dialog(&mainWindow, doc.flag);
  EXPECT_EQ(dialog.size(), twipsSize(6405, 5145));
  EXPECT_EQ(dialog.txtTextBox(1)->geometry(), twipsRect(3600, 660, 1095, 270));
}

TEST_F(NaigaiatuSet, ApplyThenCancelTakesTheAppliedValuesOverAndALaterEditIsLost) {
  Document doc;
  EXPECT_TRUE(open(doc, [&](frmNaigaiatuSet& d) {
    type(d, 0, "3");
    press(d, ConditionDialog::kApply);
    EXPECT_TRUE(d.isVisible() && d.cmdCommand(ConditionDialog::kOk)->isEnabled());
    EXPECT_FALSE(d.cmdCommand(ConditionDialog::kApply)->isEnabled());
    type(d, 1, "5");
    press(d, ConditionDialog::kCancel);
  }));
  EXPECT_DOUBLE_EQ(doc.record.naigaiatuAnzenritu, 3.0);
  EXPECT_DOUBLE_EQ(doc.record.naigaiatuKeisuN, 2.0);
}

TEST_F(NaigaiatuSet, OkStoresTheShownValuesAndCancelOrTheCloseBoxAloneChangesNothing) {
  Document doc;
  EXPECT_TRUE(open(doc, [&](frmNaigaiatuSet& d) {
    type(d, 1, "1.555");
    press(d, ConditionDialog::kOk);
  }));
  EXPECT_DOUBLE_EQ(doc.record.naigaiatuKeisuN, 1.56);  // as the box shows it
  EXPECT_EQ(doc.record.kanshu.str(), "ダクタイル鋳鉄管");
  for (bool closeBox : {false, true}) {
    const std::string before = encodeDesignData(doc.record);
    doc.flag = true;  // left raised by the earlier opening
    EXPECT_FALSE(open(doc, [&](frmNaigaiatuSet& d) {
      type(d, 0, "9");
      closeBox ? void(d.close()) : press(d, ConditionDialog::kCancel);
    }));
    EXPECT_EQ(encodeDesignData(doc.record), before) << (closeBox ? "close box" : "Cancel");
  }
}

TEST_F(NaigaiatuSet, TwoDocumentsOneAfterTheOtherEachSeeAndChangeOnlyTheirOwnCase) {
  Document first(2.0, 2.0), second(1.5, 3.0);
  EXPECT_TRUE(open(first, [&](frmNaigaiatuSet& d) {
    type(d, 0, "4");
    press(d, ConditionDialog::kOk);
  }));
  EXPECT_FALSE(open(second, [&](frmNaigaiatuSet& d) {
    EXPECT_EQ(d.txtTextBox(0)->text(), "1.50");  // not the first document's 4.00
    press(d, ConditionDialog::kCancel);
  }));
  EXPECT_DOUBLE_EQ(first.record.naigaiatuAnzenritu, 4.0);
  EXPECT_DOUBLE_EQ(second.record.naigaiatuAnzenritu, 1.5);
}

TEST_F(NaigaiatuSet, ADialogKeptBetweenOpeningsLoadsTheExchangeCopyAtEveryShowing) {
  bool flag = false;
  frmNaigaiatuSet dialog(&mainWindow, flag);
  g_designDataWork.naigaiatuAnzenritu = 3.0;
  dialog.show();
  type(dialog, 0, "7");
  press(dialog, ConditionDialog::kCancel);
  g_designDataWork.naigaiatuAnzenritu = 4.0;
  dialog.show();
  EXPECT_EQ(dialog.txtTextBox(0)->text(), "4.00");
  EXPECT_FALSE(dialog.cmdCommand(ConditionDialog::kOk)->isEnabled());
  EXPECT_EQ(dialog.focusWidget(), dialog.cmdCommand(ConditionDialog::kCancel));
}

TEST_F(NaigaiatuSet, EscapePressesNoButtonAndEnterOnlyTheFocusedOne) {
  Document doc;
  EXPECT_TRUE(open(doc, [&](frmNaigaiatuSet& d) {
    // Enter through both boxes of an unedited dialog ends on Cancel; Escape there presses nothing.
    d.txtTextBox(0)->focusAndSelect();
    QTest::keyClick(d.txtTextBox(0), Qt::Key_Return);
    QTest::keyClick(d.txtTextBox(1), Qt::Key_Enter);
    EXPECT_TRUE(d.cmdCommand(ConditionDialog::kCancel)->hasFocus());
    QTest::keyClick(d.cmdCommand(ConditionDialog::kCancel), Qt::Key_Escape);
    // After an edit the chain ends on OK; Escape there, and Enter or Escape in a box, press none.
    type(d, 1, "3");
    QTest::keyClick(d.txtTextBox(1), Qt::Key_Return);
    EXPECT_TRUE(d.cmdCommand(ConditionDialog::kOk)->hasFocus());
    QTest::keyClick(d.cmdCommand(ConditionDialog::kOk), Qt::Key_Escape);
    QTest::keyClick(d.txtTextBox(0), Qt::Key_Escape);
    QTest::keyClick(&d, Qt::Key_Return);  // Enter that reaches the dialog itself
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(doc.flag);
    // Enter on the focused OK presses it: stored and closed.
    QTest::keyClick(d.cmdCommand(ConditionDialog::kOk), Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  }));
  EXPECT_DOUBLE_EQ(doc.record.naigaiatuKeisuN, 3.0);

  // Enter on a focused Apply stores and stays; on a focused Cancel it closes.
  Document other;
  EXPECT_TRUE(open(other, [&](frmNaigaiatuSet& d) {
    type(d, 0, "2.5");
    d.cmdCommand(ConditionDialog::kApply)->setFocus();
    QTest::keyClick(d.cmdCommand(ConditionDialog::kApply), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(d.cmdCommand(ConditionDialog::kApply)->isEnabled());
    d.cmdCommand(ConditionDialog::kCancel)->setFocus();
    QTest::keyClick(d.cmdCommand(ConditionDialog::kCancel), Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
  }));
  EXPECT_DOUBLE_EQ(other.record.naigaiatuAnzenritu, 2.5);
}

TEST_F(NaigaiatuSet, AltAStoresTheTypedTextAsTheBoxShowsItOnceReformatted) {
  const struct {
    const char* typed;
    const char* shown;
    double stored;
  } rows[] = {{"２．５", "2.50", 2.5}, {"１。５", "1.50", 1.5}, {"2.126", "2.13", 2.13},
              {"1,234.5", "1,234.5", 2.0}};  // not one number: refused, nothing stored
  for (const auto& row : rows) {
    Document doc;
    open(doc, [&](frmNaigaiatuSet& d) {
      type(d, 1, row.typed);
      QTest::keyClick(d.txtTextBox(1), Qt::Key_A, Qt::AltModifier);  // the focus stays in the box
      EXPECT_TRUE(d.txtTextBox(1)->hasFocus() && d.isVisible());
      EXPECT_EQ(d.txtTextBox(1)->text().toStdString(), row.shown);
      press(d, ConditionDialog::kCancel);
    });
    EXPECT_DOUBLE_EQ(doc.record.naigaiatuKeisuN, row.stored) << row.typed;
  }
}

TEST_F(NaigaiatuSet, OkAndApplyRefuseSOrNNotAboveZeroWithANoticeStoreNothingAndFocusTheBox) {
  const struct {
    const char* s;
    const char* n;
    int box;
    const char* message;
  } rows[] = {{"-1", "2", 0, kNaigaiatuSRefused}, {"0.004", "2", 0, kNaigaiatuSRefused},  // 0.004 shows 0.00
              {"　", "2", 0, kNaigaiatuSRefused}, {"2", "0", 1, kNaigaiatuNRefused}, {"2", "-0.5", 1, kNaigaiatuNRefused}};
  for (const auto& row : rows) {
    for (auto command : {ConditionDialog::kOk, ConditionDialog::kApply}) {
      SCOPED_TRACE(std::string("S ") + row.s + ", n " + row.n);
      Document doc(1.5, 2.5);
      messages.shown.clear();
      EXPECT_FALSE(open(doc, [&](frmNaigaiatuSet& d) {
        type(d, 0, row.s);
        type(d, 1, row.n);
        press(d, command);
        EXPECT_TRUE(d.isVisible() && d.txtTextBox(row.box)->hasFocus());
        press(d, ConditionDialog::kCancel);
      }));
      ASSERT_EQ(messages.shown.size(), 1u);
      const auto& shown = messages.shown[0];  // a plain notice: OK, no icon, the program's title
      EXPECT_EQ(shown.text, row.message);
      EXPECT_TRUE(shown.buttons == platform::MsgButtons::OK && shown.icon == platform::MsgIcon::None);
      EXPECT_EQ(shown.title, "Tovakin");
      EXPECT_TRUE(doc.record.naigaiatuAnzenritu == 1.5 && doc.record.naigaiatuKeisuN == 2.5);
    }
  }
}

TEST_F(NaigaiatuSet, OkAndApplyStoreAValueBeyondItsLimitOnlyOnYesAndNoReturnsToItsBox) {
  for (const auto& [box, typed, value] : {std::tuple{0, "0.25", 0.25}, std::tuple{1, "15", 15.0}}) {
    for (auto command : {ConditionDialog::kOk, ConditionDialog::kApply}) {
      SCOPED_TRACE(typed);
      Document doc(2.5, 1.75);
      messages.shown.clear();
      messages.answer(platform::MsgAnswer::No);
      EXPECT_FALSE(open(doc, [&](frmNaigaiatuSet& d) {
        type(d, box, typed);
        press(d, command);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(d.txtTextBox(box)->hasFocus());
        EXPECT_EQ(d.txtTextBox(box)->selectedText(), d.txtTextBox(box)->text()) << "typing replaces it";
        press(d, ConditionDialog::kCancel);
      }));
      ASSERT_EQ(messages.shown.size(), 1u);
      EXPECT_EQ(messages.shown[0].buttons, platform::MsgButtons::YesNoDefaultNo);
      EXPECT_EQ(messages.shown[0].title, app::kGuardTitle);
      EXPECT_TRUE(doc.record.naigaiatuAnzenritu == 2.5 && doc.record.naigaiatuKeisuN == 1.75);

      messages.answer(platform::MsgAnswer::Yes);  // the engineer stands by it
      EXPECT_TRUE(open(doc, [&](frmNaigaiatuSet& d) {
        type(d, box, typed);
        press(d, command);
        if (d.isVisible()) press(d, ConditionDialog::kCancel);
      }));
      EXPECT_EQ(box == 0 ? doc.record.naigaiatuAnzenritu : doc.record.naigaiatuKeisuN, value);
    }
  }
}

}  // namespace
}  // namespace tovakin::gui
