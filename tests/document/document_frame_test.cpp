// A document window smaller than its layout scrolls to the control the focus settles on, and only
// there: keys never scroll it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "document/frm_document.h"
#include "support/scripted_message_windows.h"
#include "ui/focus_scroll_area.h"

namespace tovakin::gui::testing {
namespace {

// Shown about a fifth of a screen's width, as five documents tiled side by side, and active.
bool showTiled(frmDocument& d) {
  d.resize(250, 300);
  d.show();
  d.activateWindow();
  return QTest::qWaitForWindowActive(&d);
}

void settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

TEST(DocumentFrame, ShowsTheBoxTheFocusSettlesInAndItsTopLeftForTheFirstBox) {
  frmDocument d;
  if (!showTiled(d)) GTEST_SKIP() << "no window activation on this platform";
  QWidget* view = d.layoutFrame()->viewport();
  QScrollBar* across = d.layoutFrame()->horizontalScrollBar();
  QScrollBar* down = d.layoutFrame()->verticalScrollBar();
  ASSERT_GT(across->maximum(), 0);
  ASSERT_GT(down->maximum(), 0);
  // A check points at a box out of sight, at the bottom right.
  QLineEdit* far = d.txtTextBox(22);
  far->setFocus(Qt::OtherFocusReason);
  settle();
  EXPECT_TRUE(view->rect().contains(QRect(far->mapTo(view, QPoint(0, 0)), far->size())));
  d.txtTextBox(0)->setFocus(Qt::TabFocusReason);
  settle();
  EXPECT_EQ(QPoint(across->value(), down->value()), QPoint(0, 0));
  // A box the focus only passes on its way (hiding, activating) is not scrolled to.
  QSignalSpy movedAcross(across, &QScrollBar::valueChanged);
  QSignalSpy movedDown(down, &QScrollBar::valueChanged);
  far->setFocus(Qt::OtherFocusReason);
  d.txtTextBox(0)->setFocus(Qt::OtherFocusReason);
  settle();
  EXPECT_EQ(movedAcross.count() + movedDown.count(), 0);
}

TEST(DocumentFrame, ArrowAndPageKeysMoveNeitherTheViewNorABoxAndAListStillTakesThem) {
  frmDocument d;
  if (!showTiled(d)) GTEST_SKIP() << "no window activation on this platform";
  QScrollBar* down = d.layoutFrame()->verticalScrollBar();
  QComboBox* list = d.cbMaisetu();
  list->setCurrentIndex(0);
  for (QWidget* control : {static_cast<QWidget*>(d.txtTextBox(12)), static_cast<QWidget*>(list)}) {
    control->setFocus(Qt::TabFocusReason);
    settle();
    down->setValue(down->maximum() / 2);  // the wheel left the view where either way is open
    const QString text = d.txtTextBox(12)->text();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp}) QTest::keyClick(control, key);
    EXPECT_EQ(down->value(), down->maximum() / 2) << control->objectName().toStdString();
    EXPECT_EQ(d.txtTextBox(12)->text(), text);
  }
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->currentIndex(), 1);
}

TEST(DocumentFrame, ACheckMessageWaitsWithItsControlInView) {
  frmDocument d;
  if (!showTiled(d)) GTEST_SKIP() << "no window activation on this platform";
  tovakin::testing::ScriptedMessageWindows windows;
  std::vector<int> scrolledDown;  // the check points at the pipe type, in the top row
  windows.during = [&](frmMessage&) { scrolledDown.push_back(d.layoutFrame()->verticalScrollBar()->value()); };
  d.cmdCommand(1)->setFocus(Qt::TabFocusReason);  // the view at the bottom
  settle();
  ASSERT_GT(d.layoutFrame()->verticalScrollBar()->value(), 0);
  DocumentCommand(d, QString::fromUtf8(kWordCalc));
  EXPECT_EQ(scrolledDown, std::vector<int>{0});
}

}  // namespace
}  // namespace tovakin::gui::testing
