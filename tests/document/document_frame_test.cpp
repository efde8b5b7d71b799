// The document window smaller than its layout: it scrolls, and the control the focus settles on
// is brought into view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "document/frm_document.h"
#include "ui/focus_scroll_area.h"

namespace tovakin::gui::testing {
namespace {

class DocumentFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    // About a fifth of a screen's width, as five documents tiled side by side.
    d.resize(250, 300);
    d.show();
    d.activateWindow();
    if (!QTest::qWaitForWindowActive(&d)) GTEST_SKIP() << "no window activation on this platform";
    settle();
  }
  // The focus counts once it has settled: two turns of the event loop.
  static void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  QPoint offset() const {
    return {d.layoutFrame()->horizontalScrollBar()->value(), d.layoutFrame()->verticalScrollBar()->value()};
  }
  // Wholly in view, or, wider than the view, its start.
  ::testing::AssertionResult inView(QWidget* control) const {
    if (auto* list = qobject_cast<QComboBox*>(control->parentWidget())) control = list;
    QWidget* viewport = d.layoutFrame()->viewport();
    const QRect at(control->mapTo(viewport, QPoint(0, 0)), control->size());
    const QRect start(at.topLeft(), QSize(std::min(at.width(), at.height()), at.height()));
    if (viewport->rect().contains(at.width() <= viewport->width() ? at : start)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << control->objectName().toStdString() << " out of view";
  }

  frmDocument d;
};

TEST_F(DocumentFrame, ScrollsBothWaysAndShowsItsTopLeftWithTheFocusInTheFirstBox) {
  EXPECT_GT(d.layoutFrame()->horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(d.layoutFrame()->verticalScrollBar()->maximum(), 0);
  d.txtTextBox(0)->setFocus(Qt::TabFocusReason);
  settle();
  EXPECT_EQ(offset(), QPoint(0, 0));
}

TEST_F(DocumentFrame, TabBringsEveryStopIntoView) {
  d.txtTextBox(0)->setFocus(Qt::TabFocusReason);
  settle();
  QSet<QWidget*> visited;
  QPoint farthest;
  while (!visited.contains(d.focusWidget())) {
    visited.insert(d.focusWidget());
    EXPECT_TRUE(inView(d.focusWidget()));
    farthest = {std::max(farthest.x(), offset().x()), std::max(farthest.y(), offset().y())};
    QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
    settle();
  }
  EXPECT_GE(visited.size(), 20);
  EXPECT_GT(farthest.x(), 0);
  EXPECT_GT(farthest.y(), 0);
  // Round to the first box again: the top left.
  EXPECT_EQ(d.focusWidget(), d.txtTextBox(0));
  EXPECT_EQ(offset(), QPoint(0, 0));
}

TEST_F(DocumentFrame, AFocusSetByTheProgramIsShownWhereItSettlesOnly) {
  // A check points at a box out of sight.
  QLineEdit* far = d.txtTextBox(22);
  ASSERT_FALSE(inView(far));
  far->setFocus(Qt::OtherFocusReason);
  settle();
  EXPECT_TRUE(inView(far));
  // A box the focus only passes on its way (hiding, activating) is not scrolled to.
  d.txtTextBox(0)->setFocus(Qt::OtherFocusReason);
  settle();
  ASSERT_EQ(offset(), QPoint(0, 0));
  QSignalSpy across(d.layoutFrame()->horizontalScrollBar(), &QScrollBar::valueChanged);
  QSignalSpy down(d.layoutFrame()->verticalScrollBar(), &QScrollBar::valueChanged);
  far->setFocus(Qt::OtherFocusReason);
  d.txtTextBox(0)->setFocus(Qt::OtherFocusReason);
  settle();
  EXPECT_EQ(across.count() + down.count(), 0);
}

}  // namespace
}  // namespace tovakin::gui::testing
