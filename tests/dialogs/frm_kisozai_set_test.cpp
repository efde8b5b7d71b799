#include "dialogs/frm_kisozai_set.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "app/app_state.h"
#include "app/input_limits.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "ui/numeric_box.h"
#include "ui/unit_caption.h"

namespace tovakin::gui {
namespace {

// A flexible case as a document would hand it over, e' by the standard formula.
DesignData formulaCase() {
  DesignData d;
  d.hanryokuKeisu = 4770;
  d.hanryokuKeisuHoho = 1;
  d.hanryokuKeisuNyuryoku = 5000;
  d.kijunHanryokuKeisu = 5000;
  d.kisozaiMizohaba = 1.2;
  d.hyojunMizohaba = 800;
  d.alphaA = 1.06;
  d.alphaB = 0.9;
  d.katameDo = 90;
  d.alphaW = 1.0;
  d.hanryokuKeisuHyojunshiki = 4770;
  d.hanryokuKeisuSemento = 7000;
  d.hanryokuKeisuShokokei = 3000;
  d.tawamiF1 = 1.0;
  d.tawamiI = 8.333e-8;
  d.yobikei = "400";
  d.shijikaku = 90;
  return d;
}

class KisozaiDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    savedPath_ = g_app.g_appPath;
    g_app.g_appPath = std::string(TOVAKIN_APPDIR) + "/";
    g_designDataWork = formulaCase();
  }
  void TearDown() override { g_app.g_appPath = savedPath_; }

  // Opens the dialog on the exchange copy, shown and active so that the focus moves.
  std::unique_ptr<frmKisozaiSet> open() {
    auto dialog = std::make_unique<frmKisozaiSet>(nullptr, flag_);
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    return dialog;
  }
  static void type(DialogNumericBox* box, const char* text) {
    box->focusAndSelect();
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
  }
  static bool okAndApplyEnabled(const frmKisozaiSet& d) {
    return d.cmdCommand(ConditionDialog::kOk)->isEnabled() && d.cmdCommand(ConditionDialog::kApply)->isEnabled();
  }

  bool flag_ = false;
  std::string savedPath_;
  testing::ScriptedMessageBox messages_;
  Installed<MessageBoxService> installedBox_ = installMessageBox(messages_);
  testing::ScriptedErrorBox errors_{ErrorAnswer::Ignore};
};

TEST_F(KisozaiDialog, OpensOnTheStoredMethodsPanelAlreadyEdited) {
  for (int method = 0; method < kKisozaiMethods; ++method) {
    g_designDataWork.hanryokuKeisuHoho = method;
    auto dialog = open();
    for (int i = 0; i < kKisozaiMethods; ++i) {
      EXPECT_EQ(dialog->optKisozaiSet(i)->isChecked(), i == method) << method;
      EXPECT_EQ(!dialog->picOptions(i)->isHidden(), i == method) << method;
    }
    // the stored method's option has the focus and explains itself, so Space keeps the method
    EXPECT_EQ(QApplication::focusWidget(), dialog->optKisozaiSet(method)) << method;
    const KisozaiExplanation shown = optionExplanation(method);
    if (shown.kind == KisozaiExplanation::Picture) EXPECT_EQ(dialog->picImage()->pictureName(), shown.content) << method;
    else {
      QStringList lines;
      for (const std::string& line : explanationLines(shown.content)) lines.push_back(QString::fromStdString(line));
      EXPECT_EQ(dialog->picImage()->lines(), lines) << method;
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(dialog->selectedMethod(), method);
    // selecting the stored method is a choice like any other: OK and Apply are enabled at once
    EXPECT_FALSE(dialog->blnUnchanged()) << method;
    EXPECT_TRUE(okAndApplyEnabled(*dialog)) << method;
  }
  EXPECT_TRUE(errors_.shown.empty());
}

TEST_F(KisozaiDialog, EveryOptionAndItsPanelsFrameCarryTheMethodsCaption) {
  auto dialog = open();
  for (ReactionModulusMethod method : kReactionModulusMethods) {
    const int i = codeOf(method);
    const QString caption = QString::fromStdString(kisozaiMethodCaption(method));
    EXPECT_EQ(dialog->optKisozaiSet(i)->text(), caption) << i;
    const auto* frame = dialog->findChild<QGroupBox*>(QStringLiteral("fraFrame_%1").arg(i));
    ASSERT_NE(frame, nullptr) << i;
    EXPECT_EQ(frame->title(), caption) << i;
  }
}

TEST_F(KisozaiDialog, EveryUnitIsTheSharedUnitCaptionWithItsDesignedText) {
  auto dialog = open();
  int found = 0;
  for (std::size_t i = 0; i < kKisozaiUnits.size(); ++i) {
    const auto* unit = dialog->findChild<QWidget*>(QStringLiteral("picTanni_%1").arg(i));
    if (!unit) continue;  // a unit no row of the panels uses
    const auto* caption = dynamic_cast<const UnitCaption*>(unit);
    ASSERT_NE(caption, nullptr) << i;
    EXPECT_EQ(caption->unitText(), QString::fromUtf8(kKisozaiUnits[i])) << i;
    ++found;
  }
  EXPECT_GT(found, 0);
}

TEST_F(KisozaiDialog, AStoredMethodOutsideTheFiveSelectsNone) {
  for (int method : {7, -1}) {
    g_designDataWork.hanryokuKeisuHoho = method;
    auto dialog = open();
    EXPECT_FALSE(dialog->selectedMethod()) << method;
    for (int i = 0; i < kKisozaiMethods; ++i) EXPECT_TRUE(dialog->picOptions(i)->isHidden()) << i;
    EXPECT_TRUE(dialog->blnUnchanged());
    EXPECT_FALSE(dialog->cmdCommand(ConditionDialog::kOk)->isEnabled());
    // choosing a method then works as usual
    dialog->optKisozaiSet(3)->click();
    EXPECT_FALSE(dialog->picOptions(3)->isHidden());
    EXPECT_TRUE(okAndApplyEnabled(*dialog));
  }
}

TEST_F(KisozaiDialog, ShowsTheRecordAndKeepsTheComputedBoxesReadOnly) {
  g_designDataWork.hanryokuKeisuSemento = 0;  // a record that never had the defaults
  g_designDataWork.ganbanFlg = -1;
  auto dialog = open();
  EXPECT_EQ(dialog->txtTextBox(6)->text(), "7000.00");
  EXPECT_EQ(dialog->txtTextBox(14)->text(), "8.333E-08");
  EXPECT_TRUE(dialog->chkCheck()->isChecked());
  for (int box = 0; box < kKisozaiBoxes; ++box)
    EXPECT_EQ(dialog->txtTextBox(box)->isReadOnly(), box == 5 || box == 6 || box == 7 || box == 15) << box;
}

TEST_F(KisozaiDialog, SwitchingMethodsKeepsTheOtherPanelsValues) {
  auto dialog = open();
  type(dialog->txtTextBox(1), "6000");
  dialog->optKisozaiSet(4)->click();
  EXPECT_TRUE(dialog->picOptions(1)->isHidden());
  type(dialog->txtTextBox(12), "0.3");
  dialog->optKisozaiSet(1)->click();
  EXPECT_EQ(dialog->txtTextBox(1)->text(), "6000.00");
  EXPECT_EQ(dialog->txtTextBox(12)->text(), "0.3");  // R keeps the digits typed, no more
}

TEST_F(KisozaiDialog, ALongNumberShowsItsLeadingDigitsOnceLeft) {
  g_designDataWork.hanryokuKeisuHoho = 4;
  auto dialog = open();
  EXPECT_EQ(dialog->txtTextBox(13)->cursorPosition(), 0);
  type(dialog->txtTextBox(13), "206000000");  // steel; Enter moves on to I
  EXPECT_EQ(dialog->txtTextBox(13)->text(), "206000000.000");
  EXPECT_EQ(dialog->txtTextBox(13)->cursorPosition(), 0);
  EXPECT_EQ(QApplication::focusWidget(), dialog->txtTextBox(14));
}

TEST_F(KisozaiDialog, OkStoresEveryMethodsInputsAndTheAdoptedValue) {
  auto dialog = open();
  type(dialog->txtTextBox(2), "1.04");
  dialog->cmdCommand(ConditionDialog::kOk)->click();
  EXPECT_TRUE(flag_);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(g_designDataWork.hanryokuKeisu, 4680);  // 5000 × 1.04 × 0.90 × 1.00
  EXPECT_EQ(g_designDataWork.alphaA, 1.04);
  EXPECT_EQ(g_designDataWork.hanryokuKeisuHoho, 1);
  EXPECT_EQ(g_designDataWork.tawamiI, 8.333e-8);
  EXPECT_EQ(dialog->txtTextBox(5)->text(), "4680.00");
}

TEST_F(KisozaiDialog, ANegativeValueIsRefusedAndNothingIsStored) {
  auto dialog = open();
  type(dialog->txtTextBox(4), "-0.5");
  dialog->cmdCommand(ConditionDialog::kApply)->click();
  EXPECT_FALSE(flag_);
  EXPECT_EQ(g_designDataWork.hanryokuKeisu, 4770);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, negativeReactionModulusMessage(-2385));
  EXPECT_EQ(QApplication::focusWidget(), dialog->txtTextBox(1));  // e'0: the e' box is computed
  EXPECT_EQ(dialog->txtTextBox(5)->text(), "4770.00");           // the e' that stays stored
  EXPECT_TRUE(dialog->cmdCommand(ConditionDialog::kApply)->isEnabled());

  // put right, it is stored
  type(dialog->txtTextBox(4), "0.9");
  dialog->cmdCommand(ConditionDialog::kApply)->click();
  EXPECT_TRUE(flag_);
  EXPECT_EQ(g_designDataWork.hanryokuKeisu, 4293);
}

TEST_F(KisozaiDialog, AnEAboveTheLargestNamedValueIsAdoptedOnlyOnYes) {
  auto dialog = open();
  type(dialog->txtTextBox(4), "18.10");  // αw of a Pr typed as 950
  messages_.answer(MsgAnswer::Yes);      // αw above any derived value: asked first
  messages_.answer(MsgAnswer::No);
  dialog->cmdCommand(ConditionDialog::kOk)->click();
  EXPECT_FALSE(flag_);
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(g_designDataWork.hanryokuKeisu, 4770);
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_NE(messages_.shown[1].text.find("86337.00kN/m²で、7000.00kN/m²を超えています。"), std::string::npos);
  EXPECT_EQ(messages_.shown[1].buttons, MsgButtons::YesNoDefaultNo);  // Enter alone adopts nothing
  EXPECT_EQ(messages_.shown[1].title, app::kGuardTitle);
  EXPECT_EQ(QApplication::focusWidget(), dialog->txtTextBox(1));  // e'0: the e' box is computed
  EXPECT_EQ(dialog->txtTextBox(5)->text(), "4770.00");           // the e' that stays stored

  messages_.answer(MsgAnswer::Yes);
  messages_.answer(MsgAnswer::Yes);  // a value the engineer stands by
  dialog->cmdCommand(ConditionDialog::kApply)->click();
  EXPECT_TRUE(flag_);
  EXPECT_EQ(g_designDataWork.hanryokuKeisu, 86337);
}

TEST_F(KisozaiDialog, AMissedDecimalPointInAFactorIsAdoptedOnlyOnYes) {
  auto dialog = open();
  type(dialog->txtTextBox(1), "700");
  type(dialog->txtTextBox(2), "1.05");
  type(dialog->txtTextBox(4), "9.0");  // 0.90 without its point: e' 5953.50, below 7000
  messages_.answer(MsgAnswer::No);
  dialog->cmdCommand(ConditionDialog::kOk)->click();
  EXPECT_FALSE(flag_);
  EXPECT_EQ(g_designDataWork.alphaW, 1.0);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find("αwは9.00で、1.50を超えています。"), std::string::npos) << messages_.shown[0].text;
  EXPECT_EQ(messages_.shown[0].buttons, MsgButtons::YesNoDefaultNo);
  EXPECT_EQ(QApplication::focusWidget(), dialog->txtTextBox(4));

  messages_.answer(MsgAnswer::Yes);
  dialog->cmdCommand(ConditionDialog::kApply)->click();
  EXPECT_TRUE(flag_);
  EXPECT_EQ(g_designDataWork.alphaW, 9.0);
  EXPECT_EQ(g_designDataWork.hanryokuKeisu, 5953.5);
}

TEST_F(KisozaiDialog, AnF1TenTimesItsValueIsAdoptedOnlyOnYes) {
  g_designDataWork.hanryokuKeisuHoho = 4;  // E and I left at 0, as a new case has them
  g_designDataWork.tawamiI = 0;
  auto dialog = open();
  for (const auto& [box, text] : {std::pair{8, "0.0417"}, std::pair{10, "0.096"}, std::pair{11, "30"},
                                  std::pair{12, "0.3"}, std::pair{9, "10"}})
    type(dialog->txtTextBox(box), text);
  messages_.answer(MsgAnswer::No);
  dialog->cmdCommand(ConditionDialog::kOk)->click();
  EXPECT_FALSE(flag_);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find("F1は10.0で、1.5を超えています。"), std::string::npos) << messages_.shown[0].text;
  EXPECT_EQ(QApplication::focusWidget(), dialog->txtTextBox(9));
  EXPECT_EQ(dialog->txtTextBox(15)->text(), "0.00");  // the e' that stays stored
}

TEST_F(KisozaiDialog, TheSmallBoreValueIsRefusedForA400Pipe) {
  auto dialog = open();  // the case is a 400 pipe
  dialog->optKisozaiSet(3)->click();
  dialog->cmdCommand(ConditionDialog::kOk)->click();
  EXPECT_FALSE(flag_);
  EXPECT_EQ(g_designDataWork.hanryokuKeisuHoho, 1);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, smallBoreRefusalMessage("400"));
  EXPECT_EQ(QApplication::focusWidget(), dialog->txtTextBox(7));
}

TEST_F(KisozaiDialog, MeasuredValuesKeepWhatWasTyped) {
  g_designDataWork.hanryokuKeisuHoho = 4;
  auto dialog = open();
  type(dialog->txtTextBox(8), "0.0034");
  type(dialog->txtTextBox(12), "0.1544");
  EXPECT_EQ(dialog->txtTextBox(8)->text(), "0.0034");
  EXPECT_EQ(dialog->txtTextBox(12)->text(), "0.1544");
  dialog->cmdCommand(ConditionDialog::kApply)->click();
  EXPECT_EQ(g_designDataWork.tawamiDeltaX, 0.0034);
  EXPECT_EQ(g_designDataWork.tawamiR, 0.1544);
}

TEST_F(KisozaiDialog, ValueButtonsFillTheirBoxWithoutMarkingAnEdit) {
  auto dialog = open();
  dialog->cmdCommand(ConditionDialog::kApply)->click();
  ASSERT_TRUE(dialog->blnUnchanged());
  dialog->cmdCommandSub(7)->click();
  EXPECT_EQ(dialog->txtTextBox(2)->text(), "1.04");
  dialog->cmdCommandSub(6)->click();
  EXPECT_EQ(dialog->txtTextBox(5)->text(), "4680.00");
  EXPECT_TRUE(dialog->blnUnchanged());
  EXPECT_FALSE(dialog->cmdCommand(ConditionDialog::kApply)->isEnabled());
  // the rock box is an edit: without it, the change could never be applied
  dialog->chkCheck()->click();
  EXPECT_TRUE(okAndApplyEnabled(*dialog));
}

TEST_F(KisozaiDialog, EnterRunsAlongThePanelToItsFirstButton) {
  auto dialog = open();
  dialog->txtTextBox(4)->focusAndSelect();
  QTest::keyClick(dialog->txtTextBox(4), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), dialog->cmdCommandSub(1));
  dialog->optKisozaiSet(0)->click();
  dialog->txtTextBox(0)->focusAndSelect();
  QTest::keyClick(dialog->txtTextBox(0), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), dialog->cmdCommand(ConditionDialog::kOk));
}

TEST_F(KisozaiDialog, TheFocusedBoxOrMethodIsExplained) {
  auto dialog = open();
  struct Row {
    int box;
    const char* picture;
  };
  for (const Row& row : {Row{17, "S9-4-15.BMP"}, Row{4, "S9-4-15.BMP"}, Row{16, "S9-4-14.BMP"}, Row{1, "H9-4-11.BMP"},
                         Row{3, "H9-4-13.BMP"}}) {
    dialog->txtTextBox(row.box)->focusAndSelect();
    EXPECT_EQ(dialog->picImage()->pictureName(), row.picture) << row.box;
  }
  // a read-only result box explains itself like any other
  dialog->txtTextBox(5)->setFocus();
  EXPECT_EQ(dialog->picImage()->lines().size(), 4);
  EXPECT_EQ(dialog->picImage()->lines()[2], " ");
  EXPECT_TRUE(dialog->picImage()->pictureName().isEmpty());
  dialog->optKisozaiSet(4)->setFocus();
  EXPECT_EQ(dialog->picImage()->pictureName(), "S9-4-17.BMP");
  dialog->optKisozaiSet(2)->setFocus();
  EXPECT_EQ(dialog->picImage()->lines().first(), " 【解説】　ソイルセメント基礎材料に使用の場合、");
  EXPECT_TRUE(errors_.shown.empty());
}

TEST_F(KisozaiDialog, AMissingPictureIsReportedOncePerOpening) {
  QTemporaryDir empty;
  g_app.g_appPath = empty.path().toStdString() + "/";
  for (int opening = 1; opening <= 2; ++opening) {
    errors_.shown.clear();
    auto dialog = open();  // the missing icon has its own box
    ASSERT_EQ(errors_.shown.size(), 1u);
    EXPECT_EQ(errors_.shown[0], "ファイルが見つかりません。(53)\n in setMyIcon");
    for (int box : {1, 2, 3, 4, 14}) dialog->txtTextBox(box)->focusAndSelect();
    dialog->optKisozaiSet(4)->setFocus();
    ASSERT_EQ(errors_.shown.size(), 2u) << opening;
    EXPECT_EQ(errors_.shown[1], "ファイルが見つかりません。(53)\n in txtTextBoxKaisetuHyoji");
    EXPECT_TRUE(dialog->picImage()->pictureName().isEmpty());
    // the texts still show
    dialog->optKisozaiSet(1)->setFocus();
    EXPECT_EQ(dialog->picImage()->lines().size(), 4);
  }
}

// ---- the document's side --------------------------------------------------------------------

class KisozaiOpening : public KisozaiDialog {
 protected:
  // Runs the opening with `act` driving the modal dialog once it is up.
  bool runWith(const std::function<void(frmKisozaiSet&)>& act) {
    QTimer::singleShot(0, [this, act] {
      auto* dialog = qobject_cast<frmKisozaiSet*>(QApplication::activeModalWidget());
      if (!dialog) {
        ADD_FAILURE() << "no modal dialog";
        return;
      }
      parent_ = dialog->parentWidget();
      act(*dialog);
    });
    return runKisozaiSet(&mainWindow_, record_, flag_);
  }

  QWidget mainWindow_;
  QWidget* parent_ = nullptr;
  DesignData record_ = formulaCase();
};

TEST_F(KisozaiOpening, ApplyThenCancelKeepsTheAppliedValue) {
  flag_ = true;  // left over from an earlier opening: lowered first
  const bool takenOver = runWith([](frmKisozaiSet& d) {
    d.optKisozaiSet(0)->click();
    type(d.txtTextBox(0), "6500");
    d.cmdCommand(ConditionDialog::kApply)->click();
    type(d.txtTextBox(0), "9999");  // a later edit, lost with Cancel
    d.cmdCommand(ConditionDialog::kCancel)->click();
  });
  EXPECT_TRUE(takenOver);
  EXPECT_EQ(parent_, &mainWindow_);
  EXPECT_EQ(record_.hanryokuKeisu, 6500);
  EXPECT_EQ(record_.hanryokuKeisuHoho, 0);
}

TEST_F(KisozaiOpening, CancelAloneChangesNothing) {
  flag_ = true;
  const bool takenOver = runWith([](frmKisozaiSet& d) {
    type(d.txtTextBox(1), "9000");
    d.cmdCommand(ConditionDialog::kCancel)->click();
  });
  EXPECT_FALSE(takenOver);
  EXPECT_FALSE(flag_);
  EXPECT_EQ(record_.kijunHanryokuKeisu, 5000);
  EXPECT_EQ(record_.hanryokuKeisu, formulaCase().hanryokuKeisu);
}

TEST_F(KisozaiOpening, OkTakesTheWholeExchangeCopyBack) {
  record_.naigaiatuAnzenritu = 2.5;  // a field the dialog does not edit comes back as it went
  record_.yobikei = "300";            // a bore the small-bore value holds for
  const bool takenOver = runWith([](frmKisozaiSet& d) {
    d.optKisozaiSet(3)->click();
    d.cmdCommand(ConditionDialog::kOk)->click();
  });
  EXPECT_TRUE(takenOver);
  EXPECT_EQ(record_.hanryokuKeisu, 3000);
  EXPECT_EQ(record_.naigaiatuAnzenritu, 2.5);
}

}  // namespace
}  // namespace tovakin::gui
