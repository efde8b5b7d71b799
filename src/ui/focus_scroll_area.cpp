#include "ui/focus_scroll_area.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QScrollBar>

#include "ui/abort_boundary.h"
#include "ui/form_helpers.h"
#include "ui/scroll_rules.h"

namespace tovakin::gui {
namespace {

// The room kept between a control brought into view and the frame's edge: the designed gap at
// a window's left edge.
constexpr int kMarginTwips = 120;

}  // namespace

FocusScrollArea::FocusScrollArea(QWidget* content, QWidget* parent) : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  // The frame is no stop of the Tab order; its controls are.
  setFocusPolicy(Qt::NoFocus);
  setWidgetResizable(false);
  setWidget(content);
  settle_.setSingleShot(true);
  settle_.setInterval(0);
  connect(&settle_, &QTimer::timeout, this, [this] { shielded([this] { settle(); }); });
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* now) { shielded([&] { focusMoved(now); }); });
}

bool FocusScrollArea::focusNextPrevChild(bool next) { return QWidget::focusNextPrevChild(next); }

void FocusScrollArea::keyPressEvent(QKeyEvent* event) {
  // The keys QAbstractScrollArea scrolls on.
  const int key = event->key();
  const bool scrolling = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right ||
                         event->matches(QKeySequence::MoveToPreviousPage) ||
                         event->matches(QKeySequence::MoveToNextPage);
  event->setAccepted(scrolling);
}

void FocusScrollArea::focusMoved(QWidget* now) {
  if (!now || !widget() || !widget()->isAncestorOf(now)) return;
  secondTurn_ = false;
  settle_.start();
}

void FocusScrollArea::settle() {
  if (!secondTurn_) {
    secondTurn_ = true;
    settle_.start();
    return;
  }
  secondTurn_ = false;
  // The focus of the active window, and only while it is one of ours and can be seen.
  QWidget* focused = QApplication::focusWidget();
  if (focused && widget() && widget()->isAncestorOf(focused) && focused->isVisible()) showControl(focused);
}

void FocusScrollArea::showInItsFrame(QWidget* control) {
  for (QWidget* up = control ? control->parentWidget() : nullptr; up; up = up->parentWidget()) {
    if (auto* frame = dynamic_cast<FocusScrollArea*>(up)) {
      frame->showControl(control);
      return;
    }
  }
}

void FocusScrollArea::showControl(QWidget* control) {
  if (!control || !widget() || !widget()->isAncestorOf(control)) return;
  // The line of an editable list is part of the list.
  if (auto* list = qobject_cast<QComboBox*>(control->parentWidget())) control = list;
  const QPoint at = control->mapTo(widget(), QPoint(0, 0));
  const int margin = twipsToPixels(kMarginTwips);
  // A box too wide for the frame needs its start in view, about as long as it is high.
  const int lead = control->height();
  const QSize view = viewport()->size();
  const QSize content = widget()->size();
  horizontalScrollBar()->setValue(offsetShowing(
      {horizontalScrollBar()->value(), view.width(), content.width(), at.x(), control->width()}, margin, lead));
  verticalScrollBar()->setValue(offsetShowing(
      {verticalScrollBar()->value(), view.height(), content.height(), at.y(), control->height()}, margin, lead));
}

}  // namespace tovakin::gui
