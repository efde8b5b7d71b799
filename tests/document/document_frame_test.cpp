// A document window smaller than its layout scrolls to the control the focus settles on.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "document/frm_document.h"
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

}  // namespace
}  // namespace tovakin::gui::testing
