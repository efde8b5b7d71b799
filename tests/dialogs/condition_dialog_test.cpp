#include "dialogs/condition_dialog.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/numeric_box.h"

namespace tovakin::gui {
namespace {

// The smallest condition dialog: one box for the safety factor S, refusing values <= 0.
class OneBoxDialog : public ConditionDialog {
 public:
  OneBoxDialog(QWidget* parent, bool& flag) : ConditionDialog(parent, flag) {
    box = new DialogNumericBox(0, "0.00", false, this);
    buildCommandBar(0, 600);
    box->setEnterSuccessorOk(cmdCommand(kOk), cmdCommand(kCancel));
    connect(box, &DialogNumericBox::edited, this, [this] { markEdited(); });
    myFormInit();
    box->setValue(s);
  }
  DialogNumericBox* box;
  double s = 0;

 protected:
  void loadFromExchange(const DesignData& work) override { s = work.naigaiatuAnzenritu; }
  void storeToExchange(DesignData& work) const override { work.naigaiatuAnzenritu = s; }
  bool myForm2Data() override {
    box->txtTextBoxCheck();
    if (box->value() <= 0) return false;
    s = box->value();
    return true;
  }
};

class ConditionExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    g_designDataWork = DesignData{};
    g_designDataWork.naigaiatuAnzenritu = 2.0;
  }
  void type(OneBoxDialog& dialog, const char* text) {
    dialog.box->focusAndSelect();
    QTest::keyClicks(dialog.box, text);
  }
  bool flag = false;
};

TEST_F(ConditionExchange, OpensUnchangedWithOkAndApplyDisabledUntilTheFirstEdit) {
  OneBoxDialog dialog(nullptr, flag);
  EXPECT_EQ(dialog.box->text(), "2.00");
  EXPECT_TRUE(dialog.blnUnchanged());
  EXPECT_FALSE(dialog.cmdCommand(ConditionDialog::kOk)->isEnabled());
  EXPECT_FALSE(dialog.cmdCommand(ConditionDialog::kApply)->isEnabled());
  EXPECT_TRUE(dialog.cmdCommand(ConditionDialog::kCancel)->isEnabled());
  type(dialog, "3");
  EXPECT_FALSE(dialog.blnUnchanged());
  EXPECT_TRUE(dialog.cmdCommand(ConditionDialog::kOk)->isEnabled());
  EXPECT_TRUE(dialog.cmdCommand(ConditionDialog::kApply)->isEnabled());
}

TEST_F(ConditionExchange, ApplyThenCancelKeepsTheAppliedValuesAndRaisesTheOpenersFlag) {
  OneBoxDialog dialog(nullptr, flag);
  type(dialog, "3");
  dialog.cmdCommand(ConditionDialog::kApply)->click();
  EXPECT_TRUE(flag);
  EXPECT_DOUBLE_EQ(g_designDataWork.naigaiatuAnzenritu, 3.0);
  EXPECT_TRUE(dialog.blnUnchanged());
  EXPECT_FALSE(dialog.cmdCommand(ConditionDialog::kApply)->isEnabled());
  EXPECT_TRUE(dialog.cmdCommand(ConditionDialog::kOk)->isEnabled());
  type(dialog, "4");  // a later edit, then Cancel: lost
  dialog.cmdCommand(ConditionDialog::kCancel)->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_DOUBLE_EQ(g_designDataWork.naigaiatuAnzenritu, 3.0);
}

TEST_F(ConditionExchange, CancelAloneStoresNothing) {
  OneBoxDialog dialog(nullptr, flag);
  type(dialog, "5");
  dialog.cmdCommand(ConditionDialog::kCancel)->click();
  EXPECT_FALSE(flag);
  EXPECT_DOUBLE_EQ(g_designDataWork.naigaiatuAnzenritu, 2.0);
}

TEST_F(ConditionExchange, ARefusedValueStoresNothingAndKeepsTheDialogOpen) {
  OneBoxDialog dialog(nullptr, flag);
  dialog.show();
  type(dialog, "0");
  dialog.cmdCommand(ConditionDialog::kOk)->click();
  EXPECT_FALSE(flag);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_DOUBLE_EQ(g_designDataWork.naigaiatuAnzenritu, 2.0);
}

TEST_F(ConditionExchange, EnterAndEscapePressNoButtonButEnterPressesTheFocusedOne) {
  OneBoxDialog dialog(nullptr, flag);
  dialog.show();
  type(dialog, "3");
  dialog.cmdCommand(ConditionDialog::kCancel)->setFocus();
  // No default and no cancel button: Enter and Escape that reach the dialog press nothing.
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) QTest::keyClick(&dialog, key);
  QTest::keyClick(dialog.cmdCommand(ConditionDialog::kCancel), Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(flag);
  // Enter on the focused OK presses it, as a click does.
  dialog.cmdCommand(ConditionDialog::kOk)->setFocus();
  QTest::keyClick(dialog.cmdCommand(ConditionDialog::kOk), Qt::Key_Return);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(flag);
  EXPECT_DOUBLE_EQ(g_designDataWork.naigaiatuAnzenritu, 3.0);
}

}  // namespace
}  // namespace tovakin::gui
