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

TEST(DocumentFrame, ShowsTheBoxTheFocusSettlesInAndItsTopLeftForTheFirstBox) {
  frmDocument d;
  d.resize(250, 300);  // about a fifth of a screen's width, as five documents tiled side by side
  d.show();
  d.activateWindow();
  if (!QTest::qWaitForWindowActive(&d)) GTEST_SKIP() << "no window activation on this platform";
  QWidget* view = d.layoutFrame()->viewport();
  QScrollBar* across = d.layoutFrame()->horizontalScrollBar();
  QScrollBar* down = d.layoutFrame()->verticalScrollBar();
  const auto settle = [] {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  };
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

struct TiledDocument : ::testing::Test {
  void SetUp() override {
    d.resize(250, 300);
    d.show();
    d.activateWindow();
    if (!QTest::qWaitForWindowActive(&d)) GTEST_SKIP() << "no window activation on this platform";
    settle();
  }
  static void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  QPoint scrolled() const {
    return {d.layoutFrame()->horizontalScrollBar()->value(), d.layoutFrame()->verticalScrollBar()->value()};
  }
  // In view as the frame shows a control: one wider than the window by its start, where typing
  // starts.
  bool inView(QWidget* control) const {
    QWidget* view = d.layoutFrame()->viewport();
    const int across = control->width() <= view->width() ? control->width() : control->height();
    return view->rect().contains(QRect(control->mapTo(view, QPoint(0, 0)), QSize(across, control->height())));
  }
  frmDocument d;
};

TEST_F(TiledDocument, ArrowAndPageKeysMoveNeitherTheViewNorAText) {
  QScrollBar* down = d.layoutFrame()->verticalScrollBar();
  QLineEdit* box = d.txtTextBox(12);
  QComboBox* list = d.cbMaisetu();
  ASSERT_GT(list->count(), 1);
  list->setCurrentIndex(0);
  for (QWidget* control : {static_cast<QWidget*>(box), static_cast<QWidget*>(list)}) {
    control->setFocus(Qt::TabFocusReason);
    settle();
    down->setValue(down->maximum() / 2);  // the wheel left the view where either way is open
    const QPoint before = scrolled();
    const QString text = box->text();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Right, Qt::Key_Left})
      QTest::keyClick(control, key);
    EXPECT_EQ(scrolled(), before) << control->objectName().toStdString();
    EXPECT_EQ(box->text(), text);
  }
  // A list still takes Up and Down for its entries.
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->currentIndex(), 1);
}

TEST_F(TiledDocument, ACheckMessageWaitsWithItsControlInView) {
  tovakin::testing::ScriptedMessageWindows windows;
  std::vector<bool> shownInView;
  windows.during = [&](frmMessage&) {
    QWidget* focused = d.focusWidget();
    shownInView.push_back(focused && inView(focused));
  };
  // The view at the bottom right; the check points at a list at the top left.
  d.cmdCommand(1)->setFocus(Qt::TabFocusReason);
  settle();
  ASSERT_FALSE(inView(d.cbKanshu()));
  DocumentCommand(d, QString::fromUtf8(kWordCalc));
  ASSERT_FALSE(shownInView.empty());
  EXPECT_TRUE(shownInView.front());
}

}  // namespace
}  // namespace tovakin::gui::testing
