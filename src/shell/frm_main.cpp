#include "shell/frm_main.h"

#include <QAction>
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
#include <QShortcutEvent>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <algorithm>
#include <vector>

#include "app/app_state.h"
#include "calc/pipe_database.h"
#include "dialogs/frm_options.h"
#include "document/calculation_run.h"
#include "document/frm_document.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "shell/frm_about.h"
#include "shell/frm_help.h"
#include "shell/maker.h"
#include "shell/single_instance.h"
#include "ui/boxes.h"
#include "ui/document_focus.h"
#include "ui/form_helpers.h"
#include "ui/launcher.h"

namespace tovakin::gui {

namespace {

const QKeySequence kCloseDocumentKey(Qt::CTRL | Qt::Key_F4);

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
  // A document reaching past the area can be scrolled to, as in every MDI program.
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // Closing the active document brings back the one that was in front before it, not the next
  // one made.
  mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
  // A document brought back (window list, Ctrl+Tab, Ctrl+F6, a click on its frame) is worked in
  // where it was left.
  keepFocusPerDocument(*mdi_);
  setCentralWidget(mdi_);
  buildMenus();
  menuBar()->installEventFilter(this);
  buildToolBar();
  buildStatusBar();
  myCommandLineOpen = [](frmMain& window, const QStringList& files) { window.openFiles(files); };
  connectFileCommands();
  // Ctrl+F4 closes the active document, as in every MDI program; not a menu shortcut, so the
  // File menu shows its items as designed.
  auto* closeDocument = new QAction(this);
  closeDocument->setObjectName("actCloseDocument");
  closeDocument->setShortcut(kCloseDocumentKey);
  closeDocument->setShortcutContext(Qt::WindowShortcut);
  addAction(closeDocument);
  connect(closeDocument, &QAction::triggered, this, [this] { runFileItem(menus_.fileClose); });
  // Ctrl+F6 and Ctrl+Shift+F6 go round the documents, as in every MDI program; the area itself
  // knows only Ctrl+Tab.
  for (const bool forward : {true, false}) {
    auto* neighbour = new QAction(this);
    neighbour->setObjectName(forward ? "actNextDocument" : "actPreviousDocument");
    neighbour->setShortcut(forward ? QKeySequence(Qt::CTRL | Qt::Key_F6) : QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6));
    neighbour->setShortcutContext(Qt::WindowShortcut);
    addAction(neighbour);
    connect(neighbour, &QAction::triggered, this,
            [this, forward] { runHandler("MDIForm_KeyDown", [&] { activateNeighbourDocument(forward); }); });
  }
  // Ctrl+F10 maximizes the active document and Ctrl+F5 restores it, as in every MDI program: the
  // keyboard's road to the buttons of a document's frame.
  for (const bool maximize : {true, false}) {
    auto* state = new QAction(this);
    state->setObjectName(maximize ? "actMaximizeDocument" : "actRestoreDocument");
    state->setShortcut(maximize ? QKeySequence(Qt::CTRL | Qt::Key_F10) : QKeySequence(Qt::CTRL | Qt::Key_F5));
    state->setShortcutContext(Qt::WindowShortcut);
    addAction(state);
    connect(state, &QAction::triggered, this, [this, maximize] {
      runHandler("MDIForm_KeyDown", [&] {
        QMdiSubWindow* active = mdi_->activeSubWindow() ? mdi_->activeSubWindow() : mdi_->currentSubWindow();
        if (!active) return;
        if (maximize) active->showMaximized();
        else active->showNormal();
      });
    });
  }
  // A box asked for while no window of the program is active (between two questions, or for a
  // file a later start handed over) opens over this window.
  setBoxOwnerOfLastResort(this);
  // The 表示 menu shows the answer as it opens; the desktop takes its time to give it.
  askForSpreadsheet();
  // New constants reach every open document at once; clearing the history empties the items.
  showOptionsDialog = [this](QWidget& owner) {
    OptionsOpener opener;
    opener.refreshDocuments = [this] {
      for (frmDocument* document : documents()) document->myKanDataReFresh();
    };
    opener.hideRecentFiles = [this] { myFormEdit(); };
    frmOptions dialog(&owner, std::move(opener));
    execModal(dialog);
  };
}

frmMain::~frmMain() { setInstanceRaiseHook({}); }

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == menuBar() && event->type() == QEvent::Shortcut) {
    bool pressed = false;
    const QKeySequence key = static_cast<QShortcutEvent*>(event)->key();
    shielded([&] {
      if (frmDocument* document = activeDocument()) pressed = document->pressAccessKey(key);
    });
    if (pressed) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmMain::buildMenus() {
  QMenuBar& bar = *menuBar();
  MenuItems& m = menus_;
  m.file = menu(bar, "mnuFile", "1000");
  m.fileNew = item(*m.file, "mnuFileNew", "1001", QKeySequence(Qt::CTRL | Qt::Key_N));
  m.fileOpen = item(*m.file, "mnuFileOpen", "1002", QKeySequence(Qt::CTRL | Qt::Key_O));
  m.fileClose = item(*m.file, "mnuFileClose", "1003");
  separator(*m.file, "mnuFileBar0");
  m.fileSave = item(*m.file, "mnuFileSave", "1004");
  m.fileSaveAs = item(*m.file, "mnuFileSaveAs", "1005");
  m.fileSaveAll = item(*m.file, "mnuFileSaveAll", "1006");
  separator(*m.file, "mnuFileBar1");
  for (std::size_t i = 0; i < m.fileMRU.size(); ++i) {
    const QByteArray name = "mnuFileMRU_" + QByteArray::number(qulonglong(i));
    m.fileMRU[i] = item(*m.file, name.constData(), QString(), {}, false);
  }
  m.mruBar = separator(*m.file, "mnuMRUBar", false);
  m.fileExit = item(*m.file, "mnuFileExit", "1012");

  m.edit = menu(bar, "mnuEdit", "1013");
  item(*m.edit, "mnuEditUndo", "1014", {}, false);
  separator(*m.edit, "mnuEditBar0", false);
  item(*m.edit, "mnuEditCut", "1015", QKeySequence(Qt::CTRL | Qt::Key_X), false);
  item(*m.edit, "mnuEditCopy", "1016", QKeySequence(Qt::CTRL | Qt::Key_C), false);
  item(*m.edit, "mnuEditPaste", "1017", QKeySequence(Qt::CTRL | Qt::Key_V), false);
  separator(*m.edit, "mnuEditBar1", false);
  m.editCalc = item(*m.edit, "mnuEditCalc", QStringLiteral("計算する(&C)"));

  m.view = menu(bar, "mnuView", "1019");
  m.viewToolbar = item(*m.view, "mnuViewToolbar", "1020");
  m.viewStatusBar = item(*m.view, "mnuViewStatusBar", "1021");
  for (QAction* a : {m.viewToolbar, m.viewStatusBar}) {
    a->setCheckable(true);
    a->setChecked(true);
  }
  separator(*m.view, "mnuViewBar0");
  m.viewOptions = item(*m.view, "mnuViewOptions", "1023");
  separator(*m.view, "mnuViewBar1");
  m.viewExcel = item(*m.view, "mnuViewExcel", QStringLiteral("Microsoft Excel を起動(&E)"));
  m.viewExcelKanzai = item(*m.view, "mnuViewExcelKanzai", QStringLiteral("Excelで管材情報を開く(&K)"));

  m.tools = menu(bar, "mnuTools", "1025");
  m.toolsOptions = item(*m.tools, "mnuToolsOptions", "1026");

  m.window = menu(bar, "mnuWindow", "1027");
  m.windowNewWindow = item(*m.window, "mnuWindowNewWindow", "1028");
  separator(*m.window, "mnuWindowBar0");
  m.windowCascade = item(*m.window, "mnuWindowCascade", "1029");
  m.windowTileHorizontal = item(*m.window, "mnuWindowTileHorizontal", "1030");
  m.windowTileVertical = item(*m.window, "mnuWindowTileVertical", "1031");
  m.windowArrangeIcons = item(*m.window, "mnuWindowArrangeIcons", "1032");

  m.help = menu(bar, "mnuHelp", "1033");
  m.helpContents = item(*m.help, "mnuHelpContents", "1034");
  m.helpSearchForHelpOn = item(*m.help, "mnuHelpSearchForHelpOn", "1035");
  separator(*m.help, "mnuHelpBar0");
  m.quirnWeb = item(*m.help, "mnuQuirnWeb", "1075");
  separator(*m.help, "mnuHelpBar1");
  m.helpAbout = item(*m.help, "mnuHelpAbout", "1036");

  connect(m.fileNew, &QAction::triggered, this,
          [this] { runHandler("mnuFileNew_Click", [this] { LoadNewDoc(NewDocMode::Numbered); }); });
  connect(m.fileExit, &QAction::triggered, this, [this] { runHandler("mnuFileExit_Click", [this] { close(); }); });
  connect(m.view, &QMenu::aboutToShow, this, [this] { runHandler("mnuView_Click", [this] { mnuView_Click(); }); });
  onItem(m.viewToolbar, "mnuViewToolbar_Click", &frmMain::mnuViewToolbar_Click);
  onItem(m.viewStatusBar, "mnuViewStatusBar_Click", &frmMain::mnuViewStatusBar_Click);
  onItem(m.viewOptions, "mnuViewOptions_Click", &frmMain::mnuToolsOptions_Click);
  onItem(m.viewExcel, "mnuViewExcel_Click", &frmMain::mnuViewExcel_Click);
  onItem(m.viewExcelKanzai, "mnuViewExcelKanzai_Click", &frmMain::mnuViewExcelKanzai_Click);
  onItem(m.toolsOptions, "mnuToolsOptions_Click", &frmMain::mnuToolsOptions_Click);
  connect(m.window, &QMenu::aboutToShow, this,
          [this] { runHandler("mnuWindow_Click", [this] { mnuWindow_Click(); }); });
  connect(m.windowNewWindow, &QAction::triggered, this,
          [this] { runHandler("mnuWindowNewWindow_Click", [this] { LoadNewDoc(NewDocMode::Numbered); }); });
  const auto arrange = [this](QAction* a, const char* label, Arrangement arrangement) {
    connect(a, &QAction::triggered, this,
            [this, label, arrangement] { runHandler(label, [this, arrangement] { Arrange(arrangement); }); });
  };
  arrange(m.windowCascade, "mnuWindowCascade_Click", Arrangement::Cascade);
  arrange(m.windowTileHorizontal, "mnuWindowTileHorizontal_Click", Arrangement::TileHorizontal);
  arrange(m.windowTileVertical, "mnuWindowTileVertical_Click", Arrangement::TileVertical);
  arrange(m.windowArrangeIcons, "mnuWindowArrangeIcons_Click", Arrangement::ArrangeIcons);
  onItem(m.helpContents, "mnuHelpContents_Click", &frmMain::mnuHelpContents_Click);
  onItem(m.helpSearchForHelpOn, "mnuHelpSearchForHelpOn_Click", &frmMain::mnuHelpSearchForHelpOn_Click);
  onItem(m.quirnWeb, "mnuQuirnWeb_Click", &frmMain::mnuQuirnWeb_Click);
  onItem(m.helpAbout, "mnuHelpAbout_Click", &frmMain::mnuHelpAbout_Click);
}

// Each item runs its handler under the error box, labelled with the handler's name.
void frmMain::onItem(QAction* item, const char* label, void (frmMain::*handler)()) {
  connect(item, &QAction::triggered, this,
          [this, label, handler] { runHandler(label, [this, handler] { (this->*handler)(); }); });
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
    runHandler("tbToolBar_ButtonClick", [this, key] { tbToolBar_ButtonClick(key); });
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
  connect(clock_, &QTimer::timeout, this, [this] { shielded([this] { updateClock(); }); });
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
  // Placed before any document or box, so that a box of the load opens where the window will.
  placeFromStore();
  guardStep("MDIForm_Load", [&] { myFormEdit(); });
  // Every later window takes the same icon: documents, dialogs, boxes and the help viewer.
  if (!windowIcon().isNull()) QApplication::setWindowIcon(windowIcon());
  guardStep("MDIForm_Load", [&] {
    if (g_app.g_excelVersion < kFirstUsableExcel) msgBox(noExcelMessage().toStdString(), MsgButtons::OK, MsgIcon::None, "");
  });
  guardStep("MDIForm_Load", [&] {
    if (!commandLineFiles.isEmpty()) myCommandLineOpen(*this, commandLineFiles);
    else LoadNewDoc(NewDocMode::Numbered);
  });
  menus_.fileSaveAll->setEnabled(false);
  menus_.fileSaveAll->setVisible(false);
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

void frmMain::placeFromStore() {
  placed_ = true;
  std::vector<QRect> screens;
  if (QScreen* primary = QGuiApplication::primaryScreen()) screens.push_back(primary->availableGeometry());
  for (QScreen* screen : QGuiApplication::screens())
    if (screen != QGuiApplication::primaryScreen()) screens.push_back(screen->availableGeometry());
  const Placement stored = storedPlacement();
  restored_ = stored;
  wantedFrame_ = keptOnScreen(placementPixels(stored), screens);
  // move() places the outer corner; resize() sizes the inside, fitted again once framed.
  move(wantedFrame_.topLeft());
  resize(wantedFrame_.size());
}

void frmMain::showPlaced() {
  if (!placed_) placeFromStore();
  show();
  // A window manager frames the window only some time after it is shown: until then its frame is
  // unknown. Wait for it a little, then take the frame off the stored outer size once.
  if (!frameWait_) {
    frameWait_ = new QTimer(this);
    frameWait_->setObjectName("frameWait");
    frameWait_->setInterval(10);
    connect(frameWait_, &QTimer::timeout, this, [this] { shielded([this] { fitToFrame(); }); });
  }
  frameWaitTicks_ = 0;
  fitToFrame();
  if (placed_ && !wantedFrame_.isNull()) frameWait_->start();
  // From now on a later start of the program brings this window, or its open dialog, to the
  // front (set only once shown, so a hand-over during start-up never shows it early).
  setInstanceRaiseHook([this] { raiseRunningInstanceWindow(this); });
}

void frmMain::fitToFrame() {
  const QSize margins = frameGeometry().size() - size();
  const bool framed = margins.width() > 0 || margins.height() > 0;
  // Without a window manager there is no frame: the inside is the whole rectangle already. The
  // user's own changes (maximizing) win over a late frame.
  if (framed && !isMaximized() && !isMinimized() && !isFullScreen()) {
    resize(insideSizeFor(wantedFrame_.size(), margins));
    move(wantedFrame_.topLeft());
  }
  if (framed || ++frameWaitTicks_ >= 200 || isHidden()) {
    if (frameWait_) frameWait_->stop();
    wantedFrame_ = {};
  }
}

void frmMain::storePlacement() {
  guardStep("MDIForm_Unload", [&] {
    // The window's own frame is asked afresh: the widget keeps the frame it had at its last move
    // or resize, and a window manager may change the frame after that (a window just maximized
    // loses its borders a moment later).
    const QRect frame = windowHandle() ? windowHandle()->frameGeometry() : frameGeometry();
    const auto placement = placementToStore(isMinimized(), frame, restored_);
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
    // Ctrl+F4 is the main window's one shortcut for closing the active document: a second one in
    // each document's own window menu would make the key ambiguous, and then it does nothing.
    if (QMenu* own = sub->systemMenu())
      for (QAction* a : own->actions()) {
        QList<QKeySequence> keys = a->shortcuts();
        if (keys.removeAll(kCloseDocumentKey) > 0) a->setShortcuts(keys);
      }
    // Before the main window is shown the area has no size yet and would squeeze the new window
    // down to its caption: give it the document's own size.
    sub->resize(document->size() + (sub->size() - sub->contentsRect().size()));
    sub->showNormal();
    // Where it can be seen: cascaded from the top left of the area's visible part (before the
    // main window is shown the area has no size, and the first windows start at the top left).
    const int others = int(mdi_->subWindowList().size()) - 1;
    sub->move(newDocumentPosition(mdi_->viewport()->rect(), sub->size(), others,
                                  style()->pixelMetric(QStyle::PM_TitleBarHeight)));
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

void frmMain::closeEvent(QCloseEvent* event) {
  bool closed = false;
  shielded([&] {
    std::vector<std::function<bool()>> closers;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
      QPointer<QMdiSubWindow> target(sub);
      // Each document comes to the front before it closes, so that its save question is seen to
      // be about it.
      closers.emplace_back([this, target] {
        if (!target) return true;
        mdi_->setActiveSubWindow(target);
        return target->close();
      });
    }
    {
      // A start made while the questions are asked is told to wait for their outcome: with
      // the answer given, the close is decided before the start is answered.
      const HandOverAnswersHeld held;
      closed = closeEachInTurn(closers);
      if (closed) emit closeDecided();
    }
    if (closed) storePlacement();
    if (closed && help_) help_->close();
  });
  if (closed) event->accept();
  else event->ignore();
}

// The menus and the toolbar that act on no single document.

void frmMain::mnuView_Click() {
  showSpreadsheetItems();
  // Asked afresh each time, beside the open menu: a spreadsheet program may have been installed
  // or removed meanwhile.
  askForSpreadsheet();
}

void frmMain::askForSpreadsheet() {
  if (askingSpreadsheet_) return;
  askingSpreadsheet_ = true;
  try {
    askDefaultProgramFor(kWorkbookExtension, [window = QPointer<frmMain>(this)](std::optional<DesktopProgram> program) {
      if (!window) return;
      window->askingSpreadsheet_ = false;
      window->spreadsheetFound_ = program.has_value();
      runHandler("mnuView_Click", [&] { window->showSpreadsheetItems(); });
    });
  } catch (...) {
    askingSpreadsheet_ = false;  // a question that never went out is asked again at the next opening
    throw;
  }
}

void frmMain::showSpreadsheetItems() {
  const ViewMenuState state =
      viewMenuState(spreadsheetFound_.value_or(true), !mdi_->subWindowList().isEmpty());
  menus_.viewExcel->setText(state.excelCaption);
  menus_.viewExcel->setEnabled(state.excelEnabled);
  menus_.viewExcelKanzai->setText(state.kanzaiCaption);
  menus_.viewExcelKanzai->setEnabled(state.kanzaiEnabled);
}

void frmMain::mnuViewToolbar_Click() {
  // The item checks and unchecks itself; the bar follows it.
  toolBar_->setVisible(menus_.viewToolbar->isChecked());
}

void frmMain::mnuViewStatusBar_Click() {
  statusBar()->setVisible(menus_.viewStatusBar->isChecked());
}

namespace {

// Starts the desktop's program for workbooks on the files (none: the program alone). No program,
// or one that cannot be started, is an error of the calling handler. The program is the one the
// desktop named when last asked (the 表示 menu asks as it opens): asking again would freeze the
// window for as long as the desktop takes.
void startSpreadsheet(const std::vector<std::string>& files) {
  const auto program = knownDefaultProgram(kWorkbookExtension);
  if (!program || !startDesktopProgram(*program, files)) raiseError(err::kFileNotFound);
}

}  // namespace

void frmMain::mnuViewExcel_Click() { startSpreadsheet({}); }

void frmMain::mnuViewExcelKanzai_Click() {
  const MsgAnswer answer =
      msgBox(kanzaiQuestion().toStdString(), MsgButtons::YesNo, MsgIcon::None, kKanzaiQuestionTitle);
  if (answer != MsgAnswer::Yes) return;
  // Retry starts again without asking again. Whether the workbook is there the spreadsheet
  // program says itself.
  guardStep("mnuViewExcelKanzai_Click", [] { startSpreadsheet({pipeWorkbookPath(g_app.g_appPath)}); });
}

void frmMain::mnuToolsOptions_Click() {
  if (showOptionsDialog) showOptionsDialog(*this);
}

void frmMain::mnuWindow_Click() {
  const qsizetype open = mdi_->subWindowList().size();
  const bool enabled = arrangementsEnabled(int(open));
  for (QAction* a : {menus_.windowCascade, menus_.windowTileHorizontal, menus_.windowTileVertical,
                     menus_.windowArrangeIcons})
    a->setEnabled(enabled);

  // The open document windows at the end of the menu, the current one checked.
  for (QAction* a : std::as_const(windowList_)) {
    menus_.window->removeAction(a);
    delete a;
  }
  windowList_.clear();
  const auto subs = mdi_->subWindowList(QMdiArea::CreationOrder);
  if (subs.isEmpty()) return;
  QAction* bar = menus_.window->addSeparator();
  bar->setObjectName("mnuWindowListBar");
  windowList_.push_back(bar);
  // The area's active window is null while the main window is inactive; its current one is not.
  const QMdiSubWindow* current = mdi_->activeSubWindow() ? mdi_->activeSubWindow() : mdi_->currentSubWindow();
  int n = 0;
  for (QMdiSubWindow* sub : subs) {
    QAction* a = menus_.window->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->windowTitle()));
    a->setObjectName(QStringLiteral("mnuWindowList_%1").arg(n));
    a->setCheckable(true);
    a->setChecked(sub == current);
    windowList_.push_back(a);
    QPointer<QMdiSubWindow> target(sub);
    connect(a, &QAction::triggered, this, [this, target] {
      if (!target) return;
      // Chosen to be worked in: a minimized document comes back to its size.
      if (target->isMinimized()) target->showNormal();
      mdi_->setActiveSubWindow(target);
    });
  }
}

void frmMain::activateNeighbourDocument(bool forward) {
  const auto subs = mdi_->subWindowList(QMdiArea::CreationOrder);
  if (subs.isEmpty()) return;
  QMdiSubWindow* current = mdi_->activeSubWindow() ? mdi_->activeSubWindow() : mdi_->currentSubWindow();
  const qsizetype count = subs.size();
  const qsizetype at = subs.indexOf(current);  // -1 without one: forward starts at the first
  const qsizetype next = at < 0 ? (forward ? 0 : count - 1) : (at + (forward ? 1 : count - 1)) % count;
  if (subs[next] != current) mdi_->setActiveSubWindow(subs[next]);
}

void frmMain::Arrange(Arrangement arrangement) {
  const QRect area = mdi_->viewport()->rect();
  QList<QMdiSubWindow*> normal;
  QList<QMdiSubWindow*> minimized;
  for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::StackingOrder)) {
    if (sub->isHidden()) continue;
    (sub->isMinimized() ? minimized : normal).push_back(sub);
  }
  // The minimized windows along the bottom, in the order they were made; the others keep clear
  // of them.
  std::sort(minimized.begin(), minimized.end(), [this](QMdiSubWindow* a, QMdiSubWindow* b) {
    const auto order = mdi_->subWindowList(QMdiArea::CreationOrder);
    return order.indexOf(a) < order.indexOf(b);
  });
  std::vector<QSize> sizes;
  for (QMdiSubWindow* sub : std::as_const(minimized)) sizes.push_back(sub->size());
  const IconLayout icons = iconLayout(area, sizes);
  for (qsizetype i = 0; i < minimized.size(); ++i) minimized[i]->move(icons.positions[size_t(i)]);
  if (arrangement == Arrangement::ArrangeIcons || normal.isEmpty()) return;

  QRect free = area;
  if (!minimized.isEmpty()) free.setHeight(std::max(1, icons.top - area.y()));
  std::vector<QRect> rects;
  if (arrangement == Arrangement::Cascade) {
    // Back to front, so that the window in front stands last, lowest and rightmost, still in front.
    rects = cascadeRects(free, int(normal.size()), style()->pixelMetric(QStyle::PM_TitleBarHeight));
  } else {
    // The window in front takes the first place, at the top or on the left.
    std::reverse(normal.begin(), normal.end());
    rects = tiledRects(free, int(normal.size()), arrangement == Arrangement::TileHorizontal);
  }
  for (qsizetype i = 0; i < normal.size(); ++i) {
    if (normal[i]->isMaximized()) normal[i]->showNormal();
    normal[i]->setGeometry(rects[size_t(i)]);
  }
  if (arrangement == Arrangement::Cascade)
    for (QMdiSubWindow* sub : std::as_const(normal)) sub->raise();
}

frmHelp& frmMain::help() {
  if (!help_) help_ = new frmHelp(this);
  return *help_;
}

void frmMain::mnuHelpContents_Click() { help().showContents(); }

void frmMain::mnuHelpSearchForHelpOn_Click() { help().showIndex(); }

void frmMain::mnuQuirnWeb_Click() { JumpHyperLink(kMakerWebPage, this); }

void frmMain::mnuHelpAbout_Click() { frmAbout::showModal(*this); }

void frmMain::runFileItem(QAction* item) {
  // The item's own handler, whether or not the menu left the item enabled when it last opened.
  emit item->triggered(false);
}

void frmMain::tbToolBar_ButtonClick(const QString& key) {
  switch (toolbarCommand(key)) {
    case ToolbarCommand::NewDocument:
      LoadNewDoc(NewDocMode::Numbered);
      break;
    case ToolbarCommand::Open:
      runFileItem(menus_.fileOpen);
      break;
    case ToolbarCommand::Save:
      runFileItem(menus_.fileSave);
      break;
    case ToolbarCommand::None:
      break;
  }
}

std::unique_ptr<frmMain> createMainWindow(const QStringList& commandLineFiles) {
  auto window = std::make_unique<frmMain>();
  window->MDIForm_Load(commandLineFiles);
  return window;
}

}  // namespace tovakin::gui
