#include "ui/form_helpers.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <functional>

#include "app/app_state.h"
#include "app/std_io.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "ui/form_rules.h"
#include "ui/launcher.h"

namespace tovakin::gui {
namespace {

constexpr int kInvalidPicture = 481;  // the runtime's "invalid picture"

std::string text(const QString& s) { return s.toStdString(); }
QString qtext(const std::string& s) { return QString::fromStdString(s); }

// A control of the window, as opposed to another window inside it. Menus are windows of their
// own to Qt but belong to the window that holds them.
bool belongsToForm(const QWidget& w) {
  if (qobject_cast<const QMdiSubWindow*>(&w)) return false;
  return !w.isWindow() || qobject_cast<const QMenu*>(&w);
}

// Every control of the window, depth first in creation order.
void forEachControl(QWidget& parent, const std::function<void(QWidget&)>& visit) {
  for (QObject* child : parent.children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (!w || !belongsToForm(*w)) continue;
    visit(*w);
    forEachControl(*w, visit);
  }
}

void applyTabs(QTabWidget& tabs) {
  QTabBar* bar = tabs.tabBar();
  for (int i = 0; i < bar->count(); ++i) {
    if (auto t = textForWholeId(text(bar->tabData(i).toString()))) bar->setTabText(i, qtext(*t));
    if (auto t = textForWholeId(text(bar->tabToolTip(i)))) bar->setTabToolTip(i, qtext(*t));
  }
}

// A control that is neither a label, a menu, a toolbar nor a tab strip: a caption where it has
// one (buttons, group boxes), and a tooltip.
void applyControl(QWidget& w) {
  // Toolbar and menu buttons take their texts from their actions.
  if (auto* tool = qobject_cast<QToolButton*>(&w); tool && tool->defaultAction()) return;
  if (qobject_cast<QTabBar*>(&w)) return;
  if (auto t = textForLeadingId(text(tagOf(w)))) {
    if (auto* button = qobject_cast<QAbstractButton*>(&w)) button->setText(qtext(*t));
    else if (auto* box = qobject_cast<QGroupBox*>(&w)) box->setTitle(qtext(*t));
  }
  if (auto t = textForLeadingId(text(w.toolTip()))) w.setToolTip(qtext(*t));
}

}  // namespace

void setTag(QObject& object, const QString& tag) { object.setProperty(kTagProperty, tag); }
QString tagOf(const QObject& object) { return object.property(kTagProperty).toString(); }

void myFormResString(QWidget& form) {
  if (auto t = formCaptionFor(text(tagOf(form)))) form.setWindowTitle(qtext(*t));
  QSet<QAction*> menuItems;
  QSet<QAction*> toolbarButtons;
  forEachControl(form, [&](QWidget& w) {
    if (auto* label = qobject_cast<QLabel*>(&w)) {
      if (auto t = labelCaptionFor(text(tagOf(*label)))) label->setText(qtext(*t));
    } else if (qobject_cast<QMenuBar*>(&w) || qobject_cast<QMenu*>(&w)) {
      for (QAction* a : w.actions()) menuItems.insert(a);
    } else if (qobject_cast<QToolBar*>(&w)) {
      for (QAction* a : w.actions()) toolbarButtons.insert(a);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(&w)) {
      applyTabs(*tabs);
    } else {
      applyControl(w);
    }
  });
  // A menu item's caption first: an action shared with the toolbar then keeps its own tooltip id.
  for (QAction* a : std::as_const(menuItems))
    if (auto t = textForWholeId(text(a->text()))) a->setText(qtext(*t));
  for (QAction* a : std::as_const(toolbarButtons))
    if (auto t = textForWholeId(text(a->toolTip()))) a->setToolTip(qtext(*t));
}

void ToolTip2Caption(QWidget& form) {
  guardStep("ToolTip2Caption", [&] {
    forEachControl(form, [](QWidget& w) {
      auto* button = qobject_cast<QPushButton*>(&w);
      if (button && button->icon().isNull()) button->setToolTip(qtext(toolTipFromCaption(text(button->text()))));
    });
  });
}

void myFormRefresh(QWidget& form) {
  guardStep("myFormRefresh", [&] {
    forEachControl(form, [](QWidget& w) {
      if (qobject_cast<QPushButton*>(&w) || qobject_cast<QLabel*>(&w)) return;
      w.repaint();
    });
  });
}

void setMyIcon(QWidget& form) {
  for (;;) {
    try {
      const std::string path = g_app.g_appPath + kIconFile;
      if (!fileExists(path)) raiseError(err::kFileNotFound);
      // Every size the file holds, so that title bars and task lists need not scale one.
      QImageReader reader(qtext(path));
      QIcon icon;
      const int count = std::max(1, reader.imageCount());
      for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) break;
        const QImage image = reader.read();
        if (image.isNull()) break;
        icon.addPixmap(QPixmap::fromImage(image));
      }
      if (icon.isNull()) raiseError(kInvalidPicture, "ピクチャが不正です。");
      form.setWindowIcon(icon);
      return;
    } catch (const RuntimeError& e) {
      if (reportError(e, "setMyIcon", "") == ErrorAnswer::Ignore) return;
    }
  }
}

void JumpHyperLink(const std::string& address, QWidget* /*form: the desktop opens its own window*/) {
  guardStep("JumpHyperLink", [&] { launcher().openUrl(address); });
}

std::string myApplication(const std::string& extension, std::string& folder) {
  std::string result;
  guardStep("myApplication", [&] {
    if (folder.empty()) folder = myPathEdit(g_app.g_appPath);
    if (const auto program = launcher().defaultProgramFor(extension)) result = program->program;
  });
  return result;
}

std::int32_t captionHeightValue(int pixels) { return static_cast<std::int32_t>(pixels) * 20; }

std::int32_t SystemInformationCaptionHeight() {
  std::int32_t result = 0;
  guardStep("SystemInformationCaptionHeight", [&] {
    result = captionHeightValue(QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight));
  });
  return result;
}

int twipsToPixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

QSize twipsSize(int width, int height) { return {twipsToPixels(width), twipsToPixels(height)}; }

QRect twipsRect(int left, int top, int width, int height) {
  return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

QColor designColour(std::uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

void selectAllAfterFocus(QLineEdit& box) {
  QTimer::singleShot(0, &box, [b = &box] {
    if (b->hasFocus()) b->selectAll();
  });
}

void deselectOnLeaving(QLineEdit& box, Qt::FocusReason reason) {
  if (reason == Qt::PopupFocusReason) return;
  const QWidget* now = QApplication::focusWidget();
  if (now && now != &box && now->window() == box.window()) box.deselect();
}

}  // namespace tovakin::gui
