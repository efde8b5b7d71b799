#include "shell/frm_main.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QSignalSpy>
#include <QToolBar>
#include <memory>
#include <utility>

#include "app/app_state.h"
#include "document/calculation_run.h"
#include "document/frm_document.h"
#include "support/main_window_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"

namespace tovakin::gui {
namespace {

using testing::ScriptedErrorBox;
using testing::ScriptedMessageBox;

class MainWindow : public testing::MainWindowTest {
 protected:
  void store(const char* key, const QString& value) {
    QSettings s(kSettingsOrganization, kSettingsApplication);
    s.setValue(QStringLiteral("Settings/") + key, value);
  }
  QString stored(const char* key) {
    QSettings s(kSettingsOrganization, kSettingsApplication);
    return s.value(QStringLiteral("Settings/") + key).toString();
  }
};

TEST_F(MainWindow, MenusAndToolbarShowTheStringTableTexts) {
  auto window = createMainWindow();
  const frmMain::MenuItems& m = window->menuItems();
  ASSERT_NE(m.file, nullptr);
  EXPECT_EQ(m.file->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
  ASSERT_NE(m.fileNew, nullptr);
  EXPECT_EQ(m.fileNew->text(), QStringLiteral("新規作成(&N)"));
  EXPECT_EQ(m.fileNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
  EXPECT_EQ(m.fileOpen->text(), QStringLiteral("開く(&O)..."));
  EXPECT_EQ(m.fileExit->text(), QStringLiteral("終了(&X)"));
  EXPECT_EQ(m.editCalc->text(), QStringLiteral("計算する(&C)"));  // a caption of its own, no id
  EXPECT_EQ(m.window->title(), QStringLiteral("ｳｨﾝﾄﾞｳ(&W)"));
  EXPECT_EQ(m.windowNewWindow->text(), QStringLiteral("新しいｳｨﾝﾄﾞｳを開く(&N)"));
  EXPECT_EQ(m.quirnWeb->text(), QStringLiteral("QuirnのWebSiteを表示(&W)"));
  for (QAction* a : m.file->actions()) {
    if (a->isSeparator()) {
      EXPECT_EQ(a->text(), QString()) << a->objectName().toStdString();
    }
  }
  EXPECT_FALSE(m.fileSaveAll->isVisible());
  EXPECT_FALSE(window->findChild<QAction*>("mnuEditCopy")->isVisible());
  EXPECT_FALSE(m.mruBar->isVisible());

  auto* bar = window->findChild<QToolBar*>("tbToolBar");
  ASSERT_NE(bar, nullptr);
  QStringList tips;
  for (QAction* a : bar->actions()) tips << a->data().toString() + "=" + a->toolTip();
  EXPECT_EQ(tips, (QStringList{"新規作成=新規作成", "開く=開く", "上書き保存=上書き保存"}));
}

// The window wires and enables its menus through typed members: each carries the designed name
// the string table, the tests and the menus' users know it by, is the only item of that name, and
// stands in its own menu. A renamed item fails here instead of losing its handler.
TEST_F(MainWindow, EveryMenuMemberCarriesItsDesignedNameInItsOwnMenu) {
  auto window = createMainWindow();
  const frmMain::MenuItems& m = window->menuItems();
  const std::pair<QMenu*, const char*> menus[] = {{m.file, "mnuFile"},   {m.edit, "mnuEdit"},
                                                  {m.view, "mnuView"},   {m.tools, "mnuTools"},
                                                  {m.window, "mnuWindow"}, {m.help, "mnuHelp"}};
  for (const auto& [menu, name] : menus) {
    ASSERT_NE(menu, nullptr) << name;
    EXPECT_EQ(window->findChildren<QMenu*>(name), QList<QMenu*>{menu}) << name;
    EXPECT_TRUE(window->menuBar()->actions().contains(menu->menuAction())) << name;
  }
  struct Item {
    QAction* action;
    QMenu* menu;
    const char* name;
  };
  const Item items[] = {
      {m.fileNew, m.file, "mnuFileNew"},
      {m.fileOpen, m.file, "mnuFileOpen"},
      {m.fileClose, m.file, "mnuFileClose"},
      {m.fileSave, m.file, "mnuFileSave"},
      {m.fileSaveAs, m.file, "mnuFileSaveAs"},
      {m.fileSaveAll, m.file, "mnuFileSaveAll"},
      {m.fileMRU[0], m.file, "mnuFileMRU_0"},
      {m.fileMRU[1], m.file, "mnuFileMRU_1"},
      {m.fileMRU[2], m.file, "mnuFileMRU_2"},
      {m.fileMRU[3], m.file, "mnuFileMRU_3"},
      {m.mruBar, m.file, "mnuMRUBar"},
      {m.fileExit, m.file, "mnuFileExit"},
      {m.editCalc, m.edit, "mnuEditCalc"},
      {m.viewToolbar, m.view, "mnuViewToolbar"},
      {m.viewStatusBar, m.view, "mnuViewStatusBar"},
      {m.viewOptions, m.view, "mnuViewOptions"},
      {m.viewExcel, m.view, "mnuViewExcel"},
      {m.viewExcelKanzai, m.view, "mnuViewExcelKanzai"},
      {m.toolsOptions, m.tools, "mnuToolsOptions"},
      {m.windowNewWindow, m.window, "mnuWindowNewWindow"},
      {m.windowCascade, m.window, "mnuWindowCascade"},
      {m.windowTileHorizontal, m.window, "mnuWindowTileHorizontal"},
      {m.windowTileVertical, m.window, "mnuWindowTileVertical"},
      {m.windowArrangeIcons, m.window, "mnuWindowArrangeIcons"},
      {m.helpContents, m.help, "mnuHelpContents"},
      {m.helpSearchForHelpOn, m.help, "mnuHelpSearchForHelpOn"},
      {m.quirnWeb, m.help, "mnuQuirnWeb"},
      {m.helpAbout, m.help, "mnuHelpAbout"},
  };
  for (const Item& item : items) {
    ASSERT_NE(item.action, nullptr) << item.name;
    EXPECT_EQ(window->findChildren<QAction*>(item.name), QList<QAction*>{item.action}) << item.name;
    EXPECT_TRUE(item.menu->actions().contains(item.action)) << item.name;
  }
}

TEST_F(MainWindow, StatusBarShowsTodaysDateAndTime) {
  auto window = createMainWindow();
  const QDateTime now = QDateTime::currentDateTime();
  EXPECT_EQ(window->findChild<QLabel*>("sbPanelDate")->text(), statusDateText(now));
  EXPECT_EQ(window->findChild<QLabel*>("sbPanelTime")->text().isEmpty(), false);
  EXPECT_TRUE(window->findChild<QTimer*>("sbClock")->isActive());
  EXPECT_EQ(statusDateText(QDateTime(QDate(2024, 3, 5), QTime(9, 7))), "2024/03/05");
  EXPECT_EQ(statusTimeText(QDateTime(QDate(2024, 3, 5), QTime(9, 7))), "9:07");
}

TEST_F(MainWindow, StartWithoutArgumentsOpensDocumentOneAndNewOpensTwo) {
  auto window = createMainWindow();
  ASSERT_EQ(window->documents().size(), 1);
  EXPECT_EQ(window->documents()[0]->windowTitle(), QStringLiteral("管設計 1"));
  EXPECT_TRUE(messages.shown.empty());  // a usable report writer: no warning
  // Made before the main window is shown, it still has its own size and stands at the top left.
  const QMdiSubWindow* first = window->mdiArea()->subWindowList()[0];
  EXPECT_GE(first->height(), window->documents()[0]->height());
  EXPECT_EQ(first->pos(), QPoint(0, 0));
  EXPECT_FALSE(first->isMinimized());
  window->findChild<QAction*>("mnuFileNew")->trigger();
  ASSERT_EQ(window->documents().size(), 2);
  EXPECT_EQ(window->documents()[1]->windowTitle(), QStringLiteral("管設計 2"));
  EXPECT_EQ(window->mdiArea()->subWindowList()[1]->windowTitle(), QStringLiteral("管設計 2"));
  // The toolbar's 新規作成 makes one more.
  window->findChild<QToolBar*>("tbToolBar")->actions()[0]->trigger();
  EXPECT_EQ(window->documents().size(), 3);
  EXPECT_EQ(g_app.g_docCount, 3);
}

TEST_F(MainWindow, AFileOpenedBetweenCountsButDoesNotTakeANumber) {
  auto window = createMainWindow();
  frmDocument* forFile = window->LoadNewDoc(NewDocMode::ForFile);
  ASSERT_NE(forFile, nullptr);
  EXPECT_EQ(forFile->windowTitle(), QString());
  frmDocument* second = window->LoadNewDoc(NewDocMode::Numbered);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->windowTitle(), QStringLiteral("管設計 2"));
  EXPECT_EQ(g_app.g_docCount, 3);
}

TEST_F(MainWindow, AtTheLimitNoWindowIsMadeAndTheCallerGetsNone) {
  auto window = createMainWindow();
  g_app.g_docCount = kDocumentLimit;
  for (int attempt = 0; attempt < 2; ++attempt) EXPECT_EQ(window->LoadNewDoc(NewDocMode::Numbered), nullptr);
  EXPECT_EQ(window->documents().size(), 1);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, documentLimitMessage().toStdString());
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::OK);
}

TEST_F(MainWindow, NoUsableReportWriterIsWarnedBeforeTheFirstDocument) {
  g_app.g_excelVersion = -1;
  auto window = createMainWindow();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, noExcelMessage().toStdString());
  EXPECT_EQ(window->documents().size(), 1);
}

TEST_F(MainWindow, CommandLineFilesTakeThePlaceOfTheEmptyDocument) {
  auto window = std::make_unique<frmMain>();
  QStringList opened;
  window->myCommandLineOpen = [&](frmMain&, const QStringList& files) { opened = files; };
  window->MDIForm_Load({"a.PIPEDATA"});
  EXPECT_EQ(opened, QStringList{"a.PIPEDATA"});
  EXPECT_TRUE(window->documents().isEmpty());
}

TEST_F(MainWindow, FirstStartPlacesTheWindowAtTheDefaultsAndClosingStoresItsPlace) {
  auto window = createMainWindow();
  window->showPlaced();
  EXPECT_EQ(window->frameGeometry(), QRect(67, 67, 433, 433));
  window->move(150, 90);
  ASSERT_TRUE(window->close());
  EXPECT_EQ(stored(kKeyLeft), "2250");
  EXPECT_EQ(stored(kKeyTop), "1350");
  EXPECT_EQ(stored(kKeyWidth), "6495");
  EXPECT_EQ(stored(kKeyHeight), "6495");
}

TEST_F(MainWindow, AStoredPlacementIsRestoredAndOneOffTheDesktopIsBroughtBack) {
  store(kKeyLeft, "1500");
  store(kKeyTop, "3000");
  store(kKeyWidth, "12000");
  store(kKeyHeight, "9000");
  auto window = createMainWindow();
  window->showPlaced();
  EXPECT_EQ(window->frameGeometry(), QRect(100, 200, 800, 600));
  window->close();

  store(kKeyLeft, "900000");
  store(kKeyWidth, "6000");
  store(kKeyHeight, "4500");
  auto away = createMainWindow();
  away->showPlaced();
  EXPECT_TRUE(away->screen()->availableGeometry().intersects(away->frameGeometry()));
  EXPECT_EQ(away->frameGeometry().size(), QSize(400, 300));
}

TEST_F(MainWindow, AStoredValueThatIsNoNumberIsReportedAndTheDefaultsStand) {
  store(kKeyWidth, "wide");
  auto window = createMainWindow();
  window->showPlaced();
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_NE(errors.shown[0].find("MDIForm_Load"), std::string::npos);
  EXPECT_EQ(window->frameGeometry(), QRect(67, 67, 433, 433));
}

TEST_F(MainWindow, MinimizedClosingLeavesTheStoredPlacement) {
  store(kKeyLeft, "1500");
  auto window = createMainWindow();
  window->showPlaced();
  window->showMinimized();
  window->move(300, 300);
  if (!window->isMinimized()) GTEST_SKIP() << "the platform does not minimize";
  window->close();
  EXPECT_EQ(stored(kKeyLeft), "1500");
}

TEST_F(MainWindow, ClosingAsksEachChangedDocumentAndStopsAtTheFirstCancel) {
  auto window = createMainWindow();
  frmDocument* first = window->documents()[0];
  frmDocument* second = window->LoadNewDoc(NewDocMode::Numbered);
  frmDocument* third = window->LoadNewDoc(NewDocMode::Numbered);
  first->setUnchanged(false);
  second->setUnchanged(false);
  third->setUnchanged(false);
  window->show();
  messages.answer(MsgAnswer::No);      // the first closes without saving
  messages.answer(MsgAnswer::Cancel);  // the second stays, and so does the main window
  EXPECT_FALSE(window->close());
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, kSaveQuestion);
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_FALSE(stored(kKeyLeft).size());  // nothing stored: the window did not close
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->documents().size(), 2);
  EXPECT_TRUE(window->isVisible());
}

// Notes which document stood in front when each question was asked.
class FrontRecordingBox : public ScriptedMessageBox {
 public:
  explicit FrontRecordingBox(const QMdiArea& area) : area_(area) {}
  MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override {
    const QMdiSubWindow* front = area_.currentSubWindow();
    inFront.push_back(front ? front->windowTitle() : QString());
    return ScriptedMessageBox::show(text, buttons, icon, title);
  }
  QStringList inFront;

 private:
  const QMdiArea& area_;
};

TEST_F(MainWindow, ClosingBringsEachChangedDocumentToTheFrontBeforeItsQuestion) {
  auto window = createMainWindow();
  window->LoadNewDoc(NewDocMode::Numbered);
  window->LoadNewDoc(NewDocMode::Numbered);
  for (frmDocument* document : window->documents()) document->setUnchanged(false);
  window->show();
  FrontRecordingBox box(*window->mdiArea());
  Installed<MessageBoxService> installed = installMessageBox(box);
  for (int i = 0; i < 3; ++i) box.answer(MsgAnswer::No);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(box.inFront, (QStringList{"管設計 1", "管設計 2", "管設計 3"}));
}

TEST_F(MainWindow, CtrlF4ClosesTheActiveDocumentAskingItsQuestion) {
  auto window = createMainWindow();
  window->LoadNewDoc(NewDocMode::Numbered)->setUnchanged(false);
  window->show();
  QApplication::setActiveWindow(window.get());
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  messages.answer(MsgAnswer::No);
  QTest::keyClick(focus, Qt::Key_F4, Qt::ControlModifier);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kSaveQuestion);
  ASSERT_EQ(window->documents().size(), 1);
  EXPECT_EQ(window->documents()[0]->windowTitle(), QStringLiteral("管設計 1"));
}

TEST_F(MainWindow, CtrlF10MaximizesTheActiveDocumentAndCtrlF5RestoresIt) {
  auto window = createMainWindow();
  window->LoadNewDoc(NewDocMode::Numbered);
  window->show();
  QApplication::setActiveWindow(window.get());
  QMdiSubWindow* active = window->mdiArea()->activeSubWindow();
  ASSERT_NE(active, nullptr);
  for (const auto& [key, maximized] : {std::pair{Qt::Key_F10, true}, std::pair{Qt::Key_F5, false}}) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, Qt::ControlModifier);
    EXPECT_EQ(active->isMaximized(), maximized) << QKeySequence(key | Qt::ControlModifier).toString().toStdString();
  }
}

TEST_F(MainWindow, NewDocumentsStandInsideTheAreaAndTheAreaScrollsToWhatReachesPast) {
  auto window = createMainWindow();
  window->showPlaced();
  window->resize(800, 600);
  QMdiArea* area = window->mdiArea();
  EXPECT_EQ(area->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  EXPECT_EQ(area->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  QCoreApplication::processEvents();
  for (int i = 0; i < 6; ++i) window->LoadNewDoc(NewDocMode::Numbered);
  for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
    // the caption's left end, at least, lies in the visible part of the area
    EXPECT_TRUE(area->viewport()->rect().contains(sub->geometry().topLeft())) << sub->windowTitle().toStdString();
  }
}

TEST_F(MainWindow, AnAbortedCommandClosesTheMainWindowTheNormalWay) {
  auto window = createMainWindow();
  window->show();
  errors.answer(ErrorAnswer::Abort);
  runHandler("mnuTest_Click", [] { raiseError(err::kInvalidCall); });
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(endedByAbort());
  EXPECT_EQ(stored(kKeyLeft).isEmpty(), false);
  resetAbortState();
}

TEST_F(MainWindow, WindowMenuListsTheDocumentsAndTilesThem) {
  auto window = createMainWindow();
  window->LoadNewDoc(NewDocMode::Numbered);
  window->showPlaced();
  window->resize(900, 700);
  auto* menu = window->findChild<QMenu*>("mnuWindow");
  emit menu->aboutToShow();
  QStringList listed;
  for (QAction* a : menu->actions())
    if (a->text().contains(QStringLiteral("管設計"))) listed << a->text();
  EXPECT_EQ(listed, (QStringList{"&1 管設計 1", "&2 管設計 2"}));
  window->findChild<QAction*>("mnuWindowTileVertical")->trigger();
  const auto subs = window->mdiArea()->subWindowList(QMdiArea::CreationOrder);
  EXPECT_EQ(subs[0]->height(), window->mdiArea()->viewport()->height());
  EXPECT_EQ(subs[0]->width() + subs[1]->width(), window->mdiArea()->viewport()->width());
}

}  // namespace
}  // namespace tovakin::gui
