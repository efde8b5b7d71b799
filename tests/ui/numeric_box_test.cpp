#include "ui/numeric_box.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <deque>
#include <limits>
#include <vector>

#include "platform/error_box.h"
#include "ui/abort_boundary.h"
#include "ui/box_style.h"
#include "support/scripted_dialogs.h"
#include "support/row_name.h"

namespace tovakin::gui {
namespace {

// A window with two editable boxes, a read-only one and OK / Cancel, shown so that focus moves.
struct Form {
  QWidget window;
  DialogNumericBox* first = new DialogNumericBox(0, "0.00", false, &window);
  DialogNumericBox* second = new DialogNumericBox(1, "0.000", false, &window);
  DialogNumericBox* computed = new DialogNumericBox(5, "0.00", true, &window);
  QPushButton* ok = new QPushButton("OK", &window);
  QPushButton* cancel = new QPushButton("Cancel", &window);

  Form() {
    first->setEnterSuccessor(second);
    second->setEnterSuccessorOk(ok, cancel);
    computed->setEnterSuccessorOk(ok, cancel);
    window.show();
    QApplication::setActiveWindow(&window);
  }
};

struct Reformat {
  const char* pattern;
  const char* typed;
  const char* shown;
};

class NumericBoxReformat : public ::testing::TestWithParam<Reformat> {};

// A text that is not one number stays as it stands: the box refuses it (below).
TEST_P(NumericBoxReformat, EnterAndLeavingShowTheNumberInThePattern) {
  const Reformat& row = GetParam();
  testing::ScriptedMessageBox messages;
  const auto installed = installMessageBox(messages);
  for (bool byEnter : {true, false}) {
    Form form;
    DialogNumericBox box(3, row.pattern, false, &form.window);
    box.show();
    box.focusAndSelect();
    box.setText(QString::fromUtf8(row.typed));
    if (byEnter) {
      QTest::keyClick(&box, Qt::Key_Return);
    } else {
      form.first->setFocus();  // leaving the box
    }
    EXPECT_EQ(box.text().toStdString(), row.shown) << row.typed << (byEnter ? " by Enter" : " on leaving");
  }
}

INSTANTIATE_TEST_SUITE_P(Patterns, NumericBoxReformat,
                         ::testing::Values(Reformat{"0.00", "１２．５", "12.50"}, Reformat{"0.00", "12abc", "12abc"},
                                           Reformat{"0.00", "１。５", "1.50"}, Reformat{"0.00", "1,234.5", "1,234.5"},
                                           Reformat{"0.00", "-3", "-3.00"}, Reformat{"0", "29.6", "30"},
                                           Reformat{"0.000", "3.14159", "3.142"}, Reformat{"0.000", "", "0.000"},
                                           Reformat{"0", "  ", "0"}, Reformat{"0.0", "2.25", "2.3"}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, std::string(info.param.pattern) + " " + info.param.typed); });

// "2,5" is neither 2 nor 2.5 to the box: Enter says so and stays; leaving says so once the focus
// has moved, and brings the focus back; the text stays as typed until it is put right.
TEST(NumericBox, ATextThatIsNotOneNumberIsRefusedAndKeepsTheFocus) {
  testing::ScriptedMessageBox messages;
  const auto installed = installMessageBox(messages);
  Form form;
  form.first->focusAndSelect();
  QTest::keyClicks(form.first, "2,5");
  QTest::keyClick(form.first, Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), form.first);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, unreadableNumberMessage("2,5"));
  EXPECT_EQ(messages.shown[0].text, "「2,5」は数値として読み取れません。\r\n数値だけを入力して下さい。");
  form.second->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), form.first);
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(form.first->text(), "2,5");
  // A command that has already said so takes the focus back first: no second notice.
  form.second->setFocus(Qt::TabFocusReason);
  refuseUnreadable(*form.first);
  QApplication::processEvents();
  EXPECT_EQ(messages.shown.size(), 3u);
}

TEST(NumericBox, EveryKindOfUserEditIsReportedAndNothingTheProgramDoes) {
  Form form;
  QSignalSpy edits(form.first, &DialogNumericBox::edited);
  form.first->setValue(12.5);
  form.first->setText("7");
  form.first->txtTextBoxCheck();
  EXPECT_EQ(edits.count(), 0);

  form.first->focusAndSelect();
  QTest::keyClicks(form.first, "4");
  EXPECT_EQ(edits.count(), 1);
  QTest::keyClick(form.first, Qt::Key_Backspace);
  EXPECT_EQ(edits.count(), 2);
  form.first->setText("55");
  form.first->setCursorPosition(0);
  QTest::keyClick(form.first, Qt::Key_Delete);
  EXPECT_EQ(edits.count(), 3);
  QApplication::clipboard()->setText("9");
  form.first->paste();  // as the context menu pastes
  EXPECT_EQ(edits.count(), 4);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("１２"));
  QApplication::sendEvent(form.first, &commit);
  EXPECT_EQ(edits.count(), 5);
  ASSERT_FALSE(edits.isEmpty());
  EXPECT_EQ(edits.last().at(0).toInt(), 0);  // the box's index
}

TEST(NumericBox, AReadOnlyBoxTakesNoEditButDeleteMarksTheDialog) {
  Form form;
  form.computed->setValue(4770);
  QSignalSpy edits(form.computed, &DialogNumericBox::edited);
  form.computed->focusAndSelect();
  QTest::keyClicks(form.computed, "12");
  QTest::keyClick(form.computed, Qt::Key_Backspace);
  QApplication::clipboard()->setText("0");
  QTest::keyClick(form.computed, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(form.computed, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(form.computed->text(), "4770.00");
  EXPECT_EQ(edits.count(), 0);
  QTest::keyClick(form.computed, Qt::Key_Delete);
  EXPECT_EQ(form.computed->text(), "4770.00");
  EXPECT_EQ(edits.count(), 1);
  EXPECT_FALSE(form.computed->acceptDrops());
}

TEST(NumericBox, EnterMovesAlongTheChainAndEndsOnOkOrCancel) {
  Form form;
  form.second->setText("1.5");
  form.first->focusAndSelect();
  QTest::keyClick(form.first, Qt::Key_Enter);  // the keypad's Enter
  EXPECT_TRUE(form.second->hasFocus());
  QApplication::processEvents();
  EXPECT_EQ(form.second->selectedText(), "1.5");  // the whole text, so typing replaces it
  form.ok->setEnabled(false);
  QTest::keyClick(form.second, Qt::Key_Return);
  EXPECT_TRUE(form.cancel->hasFocus());
  form.ok->setEnabled(true);
  form.second->focusAndSelect();
  QTest::keyClick(form.second, Qt::Key_Return);
  EXPECT_TRUE(form.ok->hasFocus());
}

TEST(NumericBox, AFocusFromCodeSelectsTheWholeTextSoTypingReplacesIt) {
  Form form;
  form.first->setValue(3);
  form.second->setFocus();
  form.first->setFocus(Qt::MouseFocusReason);
  QApplication::processEvents();
  QTest::keyClicks(form.first, "8");
  EXPECT_EQ(form.first->text(), "8");
}

TEST(NumericBox, ANonFiniteValueShowsAsZero) {
  Form form;
  form.first->setValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(form.first->text(), "0.00");
  form.first->setText("2.345");
  EXPECT_DOUBLE_EQ(form.first->value(), 2.35);  // as displayed: the pattern's decimals
}

// An error box that, as the real modal box does, takes the keyboard focus while it is up.
class FocusTakingErrorBox final : public ErrorBox {
 public:
  explicit FocusTakingErrorBox(std::deque<ErrorAnswer> answers) : answers_(std::move(answers)) {}
  ErrorAnswer show(const std::string& text, const std::string&) override {
    shown.push_back(text);
    if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    if (answers_.empty()) return ErrorAnswer::Ignore;
    const ErrorAnswer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  std::vector<std::string> shown;

 private:
  std::deque<ErrorAnswer> answers_;
  Installed<ErrorBox> installed_ = installErrorBox(*this);
};

TEST(NumericBox, AFailingReformatShowsOneErrorBoxPerStepAndRetryRepeatsIt) {
  struct Row {
    bool byEnter;
    std::deque<ErrorAnswer> answers;
    std::size_t boxes;
  };
  const Row rows[] = {
      {true, {ErrorAnswer::Ignore}, 1},
      {false, {ErrorAnswer::Ignore}, 1},
      {true, {ErrorAnswer::Retry, ErrorAnswer::Retry, ErrorAnswer::Ignore}, 3},
      {false, {ErrorAnswer::Retry, ErrorAnswer::Ignore}, 2},
  };
  for (const Row& row : rows) {
    Form form;
    FocusTakingErrorBox errors(row.answers);
    form.first->focusAndSelect();
    form.first->setText(QStringLiteral("1e400"));
    if (row.byEnter) QTest::keyClick(form.first, Qt::Key_Return);
    else form.second->setFocus();
    EXPECT_EQ(errors.shown.size(), row.boxes) << (row.byEnter ? "Enter" : "leaving");
    ASSERT_FALSE(errors.shown.empty());
    EXPECT_NE(errors.shown.front().find("(6)"), std::string::npos);
    EXPECT_EQ(form.first->text(), QStringLiteral("0.00"));  // Ignore: no number read, so 0
  }
}

TEST(NumericBox, AbortInTheReformatLeavesNoExceptionAndNoFocusMove) {
  Form form;
  FocusTakingErrorBox errors({ErrorAnswer::Abort});
  form.first->focusAndSelect();
  form.first->setText(QStringLiteral("1e400"));
  QTest::keyClick(form.first, Qt::Key_Return);
  EXPECT_EQ(errors.shown.size(), 1u);
  EXPECT_TRUE(endedByAbort());  // no main window here: the run ends at once
  EXPECT_FALSE(form.second->hasFocus());
  resetAbortState();
}

}  // namespace
}  // namespace tovakin::gui
