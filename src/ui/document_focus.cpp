#include "ui/document_focus.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/abort_boundary.h"
#include "ui/focus_rules.h"

namespace tovakin::gui {
namespace {

class DocumentFocus;

// The keepers alive, for the program's moves on the user's behalf to find the one of a control.
std::vector<DocumentFocus*>& keepers() {
  static std::vector<DocumentFocus*> all;
  return all;
}

bool plainNavigation(const QKeyEvent& key) {
  const int k = key.key();
  const bool moving = k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Return || k == Qt::Key_Enter;
  return moving && !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

class DocumentFocus final : public QObject {
 public:
  explicit DocumentFocus(QMdiArea& area) : QObject(&area), area_(area) {
    keepers().push_back(this);
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { shielded([&] { focusMoved(now); }); });
    connect(&area_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
      shielded([&] {
        if (!sub) return;
        // A document the user has not worked in yet starts where the area starts it.
        if (!boxes_.boxOf(sub)) record(FocusMove::OnUsersBehalf, sub, firstControl(*sub));
        giveBackSoon();
      });
    });
  }
  ~DocumentFocus() override { std::erase(keepers(), this); }
  DocumentFocus(const DocumentFocus&) = delete;
  DocumentFocus& operator=(const DocumentFocus&) = delete;

  // The document of the area whose content holds the widget; nullptr for any other widget, the
  // document's frame (its title bar) included.
  QMdiSubWindow* documentOf(const QWidget* widget) const {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
      if (w->isWindow()) return nullptr;
      auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
      if (sub && sub->mdiArea() == &area_) return w == sub->widget() ? sub : nullptr;
    }
    return nullptr;
  }

  void record(FocusMove how, QMdiSubWindow* sub, QWidget* control) {
    if (!sub || !control) return;
    if (!boxes_.boxOf(sub)) connect(sub, &QObject::destroyed, this, [this, sub] { boxes_.closed(sub); });
    boxes_.moved(how, sub, control);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ShortcutOverride:
      case QEvent::KeyPress:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::WindowActivate:
      case QEvent::WindowStateChange:
        shielded([&] { seen(watched, *event); });
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void seen(QObject* watched, QEvent& event) {
    switch (event.type()) {
      case QEvent::ShortcutOverride:
      case QEvent::KeyPress: {
        // The control a key reaches is the one the user works in.
        QWidget* focused = QApplication::focusWidget();
        QMdiSubWindow* sub = focused && focused->isVisible() ? documentOf(focused) : nullptr;
        if (!sub) return;
        record(FocusMove::UserKey, sub, focused);
        // Tab and Enter move on to the control the user goes to next.
        if (event.type() == QEvent::KeyPress && plainNavigation(static_cast<QKeyEvent&>(event))) {
          navigating_ = sub;
          QTimer::singleShot(0, this, [this, key = ++keys_] {
            if (key == keys_) navigating_ = nullptr;
          });
        }
        return;
      }
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        if (auto* widget = qobject_cast<QWidget*>(watched)) clicked(widget);
        return;
      case QEvent::WindowActivate:
        // A box, a dialog or another program handed the main window back.
        if (watched == area_.window()) giveBackSoon();
        return;
      case QEvent::WindowStateChange:
        // Maximizing and restoring hide and show the document, which moves its focus.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(watched); sub && sub->mdiArea() == &area_) giveBackSoon();
        return;
      default:
        return;
    }
  }

  // A press of the mouse focuses the first control from the one pressed outwards that takes the
  // focus by clicks, as Qt does.
  void clicked(QWidget* pressed) {
    QMdiSubWindow* sub = documentOf(pressed);
    if (!sub) return;
    for (QWidget* w = pressed; w && w != sub; w = w->parentWidget()) {
      if (!w->isEnabled() || !(w->focusPolicy() & Qt::ClickFocus)) continue;
      QWidget* target = w;
      while (target->focusProxy()) target = target->focusProxy();
      record(FocusMove::UserClick, sub, target);
      return;
    }
  }

  // The first move of the focus while the key is handled is the key's own; what follows is not.
  void focusMoved(QWidget* now) {
    QPointer<QMdiSubWindow> sub = std::exchange(navigating_, nullptr);
    if (sub && now && now->isVisible() && documentOf(now) == sub) record(FocusMove::UserTab, sub, now);
  }

  // The first control of the document's Tab chain: where the area puts the focus of a document
  // that has none.
  static QWidget* firstControl(QMdiSubWindow& sub) {
    for (QWidget* w = sub.nextInFocusChain(); w && w != &sub; w = w->nextInFocusChain())
      if (w->focusPolicy() != Qt::NoFocus && sub.widget() && sub.widget()->isAncestorOf(w)) return w;
    return nullptr;
  }

  static bool canTake(QMdiSubWindow* sub, QWidget* control) {
    return control && sub->isAncestorOf(control) && control->isVisibleTo(sub) && control->isEnabled() &&
           (control->focusPolicy() & Qt::ClickFocus);
  }

  // Qt finishes an activation with moves of its own (the window's remembered control, the
  // document's stored focus child), some of them queued: the user's control is given back after
  // them, and once more after what they queued in turn.
  void giveBackSoon() {
    if (pending_) return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] {
      shielded([&] {
        giveBack();
        QTimer::singleShot(0, this, [this] {
          shielded([&] {
            pending_ = false;
            giveBack();
          });
        });
      });
    });
  }

  void giveBack() {
    QMdiSubWindow* sub = area_.activeSubWindow();
    QWidget* window = area_.window();
    // While a menu or list is open, or another window has the keyboard, the focus stays theirs.
    if (!sub || QApplication::activeWindow() != window || QApplication::activePopupWidget()) return;
    QWidget* focused = QApplication::focusWidget();
    const bool ours = !focused || focused == window || area_.isAncestorOf(focused);
    QPointer<QWidget> box = boxes_.giveBack(sub, focused, ours);
    if (canTake(sub, box)) box->setFocus(Qt::OtherFocusReason);
  }

  QMdiArea& area_;
  UsersBoxes<QMdiSubWindow*, QPointer<QWidget>> boxes_;
  QPointer<QMdiSubWindow> navigating_;  // a plain Tab or Enter of the user is being handled in it
  unsigned keys_ = 0;                    // the navigation keys seen
  bool pending_ = false;
};

}  // namespace

void keepFocusPerDocument(QMdiArea& area) { new DocumentFocus(area); }

void focusOnUsersBehalf(QWidget& control) {
  control.setFocus(Qt::OtherFocusReason);
  for (DocumentFocus* keeper : keepers()) keeper->record(FocusMove::OnUsersBehalf, keeper->documentOf(&control), &control);
}

}  // namespace tovakin::gui
