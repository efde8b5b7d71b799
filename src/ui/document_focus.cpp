#include "ui/document_focus.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
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
    return kept_.emplace_back(Kept{sub, nullptr});
  }

  void remember(QWidget* now) {
    QMdiSubWindow* sub = now ? documentOf(now) : nullptr;
    // The document's frame itself holds the focus only on its way to a control.
    if (sub && now != sub) keptOf(sub).control = now;
  }

  void giveBack(QMdiSubWindow* sub) {
    // A click into one of its controls has put the focus where the user wants it already.
    QWidget* focused = QApplication::focusWidget();
    if (focused && sub->isAncestorOf(focused)) return;
    QWidget* control = keptOf(sub).control;
    if (!control || !sub->isAncestorOf(control) || !control->isVisibleTo(sub) || !control->isEnabled() ||
        !(control->focusPolicy() & Qt::ClickFocus))
      return;
    control->setFocus(Qt::ActiveWindowFocusReason);
  }

  QMdiArea& area_;
  std::vector<Kept> kept_;
};

}  // namespace

void keepFocusPerDocument(QMdiArea& area) { new DocumentFocus(area); }

}  // namespace tovakin::gui
