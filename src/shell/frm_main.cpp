#include "shell/frm_main.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <vector>

#include "app/app_state.h"
#include "document/frm_document.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "shell/form_helpers.h"
#include "shell/single_instance.h"

namespace tovakin::gui {

namespace {

// One menu item: its designed caption is a string-table id where the table has its text.
QAction* item(QMenu& menu, const char* name, const QString& caption, const QKeySequence& shortcut = {},
              bool visible = true) {
  QAction* a = menu.addAction(caption);
  a->setObjectName(name);
  if (!shortcut.isEmpty()) a->setShortcut(shortcut);
  a->setVisible(visible);
  return a;
}

QAction* separator(QMenu& menu, const char* name, bool visible = true) {
  QAction* a = menu.addSeparator();
  a->setObjectName(name);
  a->setVisible(visible);
  return a;
}

QMenu* menu(QMenuBar& bar, const char* name, const QString& caption) {
  QMenu* m = bar.addMenu(caption);
  m->setObjectName(name);
  m->menuAction()->setObjectName(name);
  return m;
}

}  // namespace

QString statusDateText(const QDateTime& now) { return now.toString(QStringLiteral("yyyy/MM/dd")); }
QString statusTimeText(const QDateTime& now) { return now.toString(QStringLiteral("H:mm")); }

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName("frmMain");
  setWindowTitle(QStringLiteral("Tovakin"));
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName("mdiArea");
  setCentralWidget(mdi_);
  buildMenus();
  buildToolBar();
  buildStatusBar();
  myCommandLineOpen = [](frmMain& window, const QStringList& files) { window.openFiles(files); };
  connectFileCommands();
}

frmMain::~frmMain() { setInstanceRaiseHook({}); }

void frmMain::buildMenus() {
  QMenuBar& bar = *menuBar();
  QMenu* file = menu(bar, "mnuFile", "1000");
  QAction* fileNew = item(*file, "mnuFileNew", "1001", QKeySequence(Qt::CTRL | Qt::Key_N));
  item(*file, "mnuFileOpen", "1002", QKeySequence(Qt::CTRL | Qt::Key_O));
  item(*file, "mnuFileClose", "1003");
  separator(*file, "mnuFileBar0");
  item(*file, "mnuFileSave", "1004");
  item(*file, "mnuFileSaveAs", "1005");
  item(*file, "mnuFileSaveAll", "1006");
  separator(*file, "mnuFileBar1");
  for (int i = 0; i < 4; ++i) {
    const QByteArray name = "mnuFileMRU_" + QByteArray::number(i);
    item(*file, name.constData(), QString(), {}, false);
  }
  separator(*file, "mnuMRUBar", false);
  QAction* exit = item(*file, "mnuFileExit", "1012");

  QMenu* edit = menu(bar, "mnuEdit", "1013");
  item(*edit, "mnuEditUndo", "1014", {}, false);
  separator(*edit, "mnuEditBar0", false);
  item(*edit, "mnuEditCut", "1015", QKeySequence(Qt::CTRL | Qt::Key_X), false);
  item(*edit, "mnuEditCopy", "1016", QKeySequence(Qt::CTRL | Qt::Key_C), false);
  item(*edit, "mnuEditPaste", "1017", QKeySequence(Qt::CTRL | Qt::Key_V), false);
  separator(*edit, "mnuEditBar1", false);
  item(*edit, "mnuEditCalc", QStringLiteral("計算する(&C)"));

  QMenu* view = menu(bar, "mnuView", "1019");
  item(*view, "mnuViewToolbar", "1020")->setCheckable(true);
  item(*view, "mnuViewStatusBar", "1021")->setCheckable(true);
  for (QAction* a : view->actions()) a->setChecked(true);
  separator(*view, "mnuViewBar0");
  item(*view, "mnuViewOptions", "1023");
  separator(*view, "mnuViewBar1");
  item(*view, "mnuViewExcel", QStringLiteral("Microsoft Excel を起動(&E)"));
  item(*view, "mnuViewExcelKanzai", QStringLiteral("Excelで管材情報を開く(&K)"));

  QMenu* tools = menu(bar, "mnuTools", "1025");
  item(*tools, "mnuToolsOptions", "1026");

  QMenu* window = menu(bar, "mnuWindow", "1027");
  QAction* newWindow = item(*window, "mnuWindowNewWindow", "1028");
  separator(*window, "mnuWindowBar0");
  QAction* cascade = item(*window, "mnuWindowCascade", "1029");
  QAction* tileHorizontal = item(*window, "mnuWindowTileHorizontal", "1030");
  QAction* tileVertical = item(*window, "mnuWindowTileVertical", "1031");
  item(*window, "mnuWindowArrangeIcons", "1032");

  QMenu* help = menu(bar, "mnuHelp", "1033");
  item(*help, "mnuHelpContents", "1034");
  item(*help, "mnuHelpSearchForHelpOn", "1035");
  separator(*help, "mnuHelpBar0");
  item(*help, "mnuQuirnWeb", "1075");
  separator(*help, "mnuHelpBar1");
  item(*help, "mnuHelpAbout", "1036");

  connect(fileNew, &QAction::triggered, this,
          [this] { runHandler("mnuFileNew_Click", [this] { LoadNewDoc(NewDocMode::Numbered); }); });
  connect(newWindow, &QAction::triggered, this,
          [this] { runHandler("mnuWindowNewWindow_Click", [this] { LoadNewDoc(NewDocMode::Numbered); }); });
  connect(exit, &QAction::triggered, this, [this] { close(); });
  connect(cascade, &QAction::triggered, this,
          [this] { runHandler("mnuWindowCascade_Click", [this] { mdi_->cascadeSubWindows(); }); });
  const auto tile = [this](bool horizontal) {
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::StackingOrder))
      if (!sub->isHidden() && !sub->isMinimized()) shown.push_back(sub);
    const auto rects = tiledRects(mdi_->viewport()->rect(), int(shown.size()), horizontal);
    for (qsizetype i = 0; i < shown.size(); ++i) {
      shown[i]->showNormal();
      shown[i]->setGeometry(rects[size_t(i)]);
    }
  };
  connect(tileHorizontal, &QAction::triggered, this,
          [this, tile] { runHandler("mnuWindowTileHorizontal_Click", [&] { tile(true); }); });
  connect(tileVertical, &QAction::triggered, this,
          [this, tile] { runHandler("mnuWindowTileVertical_Click", [&] { tile(false); }); });

  // The open document windows at the end of the Window menu, the active one checked.
  auto* listed = new QActionGroup(window);
  connect(window, &QMenu::aboutToShow, this, [this, window, listed] {
    for (QAction* a : listed->actions()) {
      window->removeAction(a);
      delete a;
    }
    const auto subs = mdi_->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty()) return;
    listed->addAction(window->addSeparator());
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
      QAction* a = window->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->windowTitle()));
      a->setCheckable(true);
      a->setChecked(sub == mdi_->activeSubWindow());
      listed->addAction(a);
      QPointer<QMdiSubWindow> target(sub);
      connect(a, &QAction::triggered, this, [this, target] {
        if (target) mdi_->setActiveSubWindow(target);
      });
    }
  });
}

void frmMain::buildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("tbToolBar"));
  toolBar_->setObjectName("tbToolBar");
  toolBar_->setMovable(false);
  toolBar_->setIconSize(QSize(16, 16));
  struct Button {
    const char* key;
    const char* tip;
    QStyle::StandardPixmap picture;
  };
  for (const Button& b : {Button{"新規作成", "1037", QStyle::SP_FileIcon},
                          Button{"開く", "1038", QStyle::SP_DirOpenIcon},
                          Button{"上書き保存", "1039", QStyle::SP_DialogSaveButton}}) {
    QAction* a = toolBar_->addAction(style()->standardIcon(b.picture), QString::fromUtf8(b.key));
    a->setObjectName(QString::fromUtf8(b.key));
    a->setData(QString::fromUtf8(b.key));
    a->setToolTip(b.tip);
  }
  connect(toolBar_, &QToolBar::actionTriggered, this, [this](QAction* a) {
    const QString key = a->data().toString();
    runHandler("tbToolBar_ButtonClick", [this, key] {
      if (key == QStringLiteral("新規作成")) LoadNewDoc(NewDocMode::Numbered);
      else if (key == QStringLiteral("開く")) mnuFileOpen_Click();
      else if (key == QStringLiteral("上書き保存")) mnuFileSave_Click();
    });
  });
}

void frmMain::buildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("sbStatusBar");
  auto* text = new QLabel(bar);
  text->setObjectName("sbPanelText");
  datePanel_ = new QLabel(bar);
  datePanel_->setObjectName("sbPanelDate");
  timePanel_ = new QLabel(bar);
  timePanel_->setObjectName("sbPanelTime");
  for (QLabel* panel : {datePanel_, timePanel_}) {
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setAlignment(Qt::AlignCenter);
    panel->setMinimumWidth(twipsToPixels(1300));
  }
  bar->addWidget(text, 1);
  bar->addPermanentWidget(datePanel_);
  bar->addPermanentWidget(timePanel_);
  clock_ = new QTimer(this);
  clock_->setObjectName("sbClock");
  clock_->setInterval(1000);
  connect(clock_, &QTimer::timeout, this, &frmMain::updateClock);
  clock_->start();
  updateClock();
}

void frmMain::updateClock() {
  const QDateTime now = QDateTime::currentDateTime();
  datePanel_->setText(statusDateText(now));
  timePanel_->setText(statusTimeText(now));
}

void frmMain::MDIForm_Load(const QStringList& commandLineFiles) {
  guardStep("MDIForm_Load", [&] { myFormResString(*this); });
  setMyIcon(*this);
  guardStep("MDIForm_Load", [&] { myFormEdit(); });
  // The help file comes with the Help menu.
  guardStep("MDIForm_Load", [&] {
    if (g_app.g_excelVersion < kFirstUsableExcel) msgBox(noExcelMessage().toStdString(), MsgButtons::OK, MsgIcon::None, "");
  });
  guardStep("MDIForm_Load", [&] {
    if (!commandLineFiles.isEmpty()) myCommandLineOpen(*this, commandLineFiles);
    else LoadNewDoc(NewDocMode::Numbered);
  });
  if (QAction* saveAll = findChild<QAction*>("mnuFileSaveAll")) {
    saveAll->setEnabled(false);
    saveAll->setVisible(false);
  }
}

Placement frmMain::storedPlacement() {
  Placement placement = defaultPlacement();
  const bool read = guardStep("MDIForm_Load", [&] {
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.beginGroup(kPlacementGroup);
    Placement p = defaultPlacement();
    const auto value = [&](const char* key, double& into) {
      if (!settings.contains(key)) return;
      const auto number = placementNumber(settings.value(key).toString());
      if (!number) raiseError(err::kTypeMismatch);
      into = *number;
    };
    value(kKeyLeft, p.left);
    value(kKeyTop, p.top);
    value(kKeyWidth, p.width);
    value(kKeyHeight, p.height);
    if (p.width <= 0 || p.height <= 0) raiseError(err::kInvalidCall);
    placement = p;
  });
  if (!read) placement = defaultPlacement();
  return placement;
}

void frmMain::showPlaced() {
  std::vector<QRect> screens;
  if (QScreen* primary = QGuiApplication::primaryScreen()) screens.push_back(primary->availableGeometry());
  for (QScreen* screen : QGuiApplication::screens())
    if (screen != QGuiApplication::primaryScreen()) screens.push_back(screen->availableGeometry());
  const QRect frame = keptOnScreen(placementPixels(storedPlacement()), screens);
  // The stored rectangle is the outer one; Qt sizes the inside, so the frame is taken off once
  // the window manager has put one round the window.
  move(frame.topLeft());
  resize(frame.size());
  show();
  const QSize border = frameGeometry().size() - size();
  if (!border.isEmpty()) resize(frame.size() - border);
  // From now on a later start of the program brings this window, or its open dialog, to the
  // front (set only once shown, so a hand-over during start-up never shows it early).
  setInstanceRaiseHook([this] { raiseRunningInstanceWindow(this); });
}

void frmMain::storePlacement() {
  guardStep("MDIForm_Unload", [&] {
    const auto placement = placementToStore(isMinimized(), frameGeometry());
    if (!placement) return;
    QSettings settings(kSettingsOrganization, kSettingsApplication);
    settings.beginGroup(kPlacementGroup);
    settings.setValue(kKeyLeft, placementText(placement->left));
    settings.setValue(kKeyTop, placementText(placement->top));
    settings.setValue(kKeyWidth, placementText(placement->width));
    settings.setValue(kKeyHeight, placementText(placement->height));
  });
}

frmDocument* frmMain::LoadNewDoc(NewDocMode mode) {
  frmDocument* made = nullptr;
  guardStep("LoadNewDoc", [&] {
    const auto caption = countNewDocument(mode, g_app.g_docCount, numbered_);
    if (!caption) {
      msgBox(documentLimitMessage().toStdString(), MsgButtons::OK, MsgIcon::None, "");
      return;
    }
    auto* document = new frmDocument;
    if (!caption->isEmpty()) document->setWindowTitle(*caption);
    QMdiSubWindow* sub = mdi_->addSubWindow(document);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // Before the main window is shown the area has no size yet and would squeeze the new window
    // down to its caption: give it the document's own size.
    sub->resize(document->size() + (sub->size() - sub->contentsRect().size()));
    sub->showNormal();
    // Nor can it place the window sensibly then: the first windows start at the top left.
    if (!isVisible()) sub->move(0, 0);
    // The caller gets the window itself: the area's active window is not set before the main
    // window is shown and while it is inactive.
    mdi_->setActiveSubWindow(sub);
    made = document;
  });
  return made;
}

QList<frmDocument*> frmMain::documents() const {
  QList<frmDocument*> list;
  for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder))
    if (auto* document = qobject_cast<frmDocument*>(sub->widget())) list.push_back(document);
  return list;
}

void frmMain::runHandler(const char* label, const std::function<void()>& handler) {
  try {
    guardStep(label, handler);
  } catch (const ProgramAborted&) {
    // 中止: the program ends the normal way, asking about each changed document first.
    emit programAborted();
    QTimer::singleShot(0, this, [this] { close(); });
  } catch (...) {
    // guardStep reports every std::exception; nothing else may leave an event handler.
  }
}

void frmMain::closeEvent(QCloseEvent* event) {
  bool closed = false;
  try {
    std::vector<std::function<bool()>> closers;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
      QPointer<QMdiSubWindow> target(sub);
      closers.emplace_back([target] { return !target || target->close(); });
    }
    closed = closeEachInTurn(closers);
    if (closed) storePlacement();
  } catch (const ProgramAborted&) {
    closed = true;  // 中止 while storing the placement: the window was closing anyway
  } catch (...) {
    closed = false;
  }
  if (closed) event->accept();
  else event->ignore();
}

std::unique_ptr<frmMain> createMainWindow(const QStringList& commandLineFiles) {
  auto window = std::make_unique<frmMain>();
  window->MDIForm_Load(commandLineFiles);
  return window;
}

}  // namespace tovakin::gui
