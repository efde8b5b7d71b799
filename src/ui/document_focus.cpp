#include "ui/document_focus.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "ui/abort_boundary.h"

namespace tovakin::gui {
namespace {

class DocumentFocus final : public QObject {
 public:
  explicit DocumentFocus(QMdiArea& area) : QObject(&area), area_(area) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { shielded([&] { remember(now); }); });
  }

 private:
  struct Kept {
    QPointer<QMdiSubWindow> document;
    QPointer<QWidget> control;
    bool displaced = false;  // Qt is moving the focus about; a give-back is waiting
  };

  // The document of the area that holds the widget (or is it); nullptr for any other widget.
  QMdiSubWindow* documentOf(QWidget* widget) const {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
      if (w->isWindow()) return nullptr;
      if (auto* sub = qobject_cast<QMdiSubWindow*>(w); sub && sub->mdiArea() == &area_) return sub;
    }
    return nullptr;
  }

  Kept& keptOf(QMdiSubWindow* sub) {
    std::erase_if(kept_, [](const Kept& k) { return k.document.isNull(); });
    for (Kept& k : kept_)
      if (k.document == sub) return k;
    // Emitted as the document becomes the active one, before the area moves the focus into it.
    connect(sub, &QMdiSubWindow::aboutToActivate, this, [this, sub] { shielded([&] { giveBack(sub); }); });
    // Maximizing, restoring and minimizing hide and show the document, which moves its focus.
    // (Its activation changes its state too, and moves nothing.)
    connect(sub, &QMdiSubWindow::windowStateChanged, this, [this, sub](Qt::WindowStates before, Qt::WindowStates now) {
      shielded([&] {
        const bool resized = (before ^ now) & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized);
        if (resized && !(now & Qt::WindowMinimized) && sub == area_.activeSubWindow()) displaced(sub);
      });
    });
    return kept_.emplace_back(Kept{sub, nullptr});
  }

  void remember(QWidget* now) {
    QMdiSubWindow* sub = now ? documentOf(now) : nullptr;
    // The document's frame itself holds the focus only on its way to a control.
    if (!sub || now == sub) return;
    // A control that cannot be seen got the focus from Qt, not from the user: hiding a document
    // that holds the focus (switching maximized documents, maximizing) hands it on to the next
    // box, and showing it again to its first one.
    if (!now->isVisible()) {
      displaced(sub);
      return;
    }
    Kept& kept = keptOf(sub);
    if (!kept.displaced || !kept.control) kept.control = now;
  }

  static bool canTake(QMdiSubWindow* sub, QWidget* control) {
    return control && sub->isAncestorOf(control) && control->isVisibleTo(sub) && control->isEnabled() &&
           (control->focusPolicy() & Qt::ClickFocus);
  }

  void giveBack(QMdiSubWindow* sub) {
    Kept& kept = keptOf(sub);
    // A click into one of its controls has put the focus where the user wants it already, and
    // that control is the kept one.
    QWidget* focused = QApplication::focusWidget();
    if (!(focused && sub->isAncestorOf(focused)) && canTake(sub, kept.control))
      kept.control->setFocus(Qt::ActiveWindowFocusReason);
    // Among maximized documents the area now hides the one left and shows this one again.
    if (sub->isMaximized() || sub->isHidden()) displaced(sub);
  }

  // Qt moves the document's focus about until the area's switch or the document's new state is
  // done; the kept control stands meanwhile, and has the focus again afterwards.
  void displaced(QMdiSubWindow* sub) {
    Kept& kept = keptOf(sub);
    if (kept.displaced) return;
    kept.displaced = true;
    QTimer::singleShot(0, this, [this, document = QPointer<QMdiSubWindow>(sub)] {
      shielded([&] {
        if (!document) return;
        Kept& k = keptOf(document);
        k.displaced = false;
        if (document != area_.activeSubWindow() || !canTake(document, k.control) || k.control->hasFocus()) return;
        // The user has gone on to another window (a box of the program).
        QWidget* now = QApplication::focusWidget();
        if (now && now->window() != document->window()) return;
        k.control->setFocus(Qt::ActiveWindowFocusReason);
      });
    });
  }

  QMdiArea& area_;
  std::vector<Kept> kept_;
};

}  // namespace

void keepFocusPerDocument(QMdiArea& area) { new DocumentFocus(area); }

}  // namespace tovakin::gui
