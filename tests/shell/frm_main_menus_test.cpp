// The main window's View, Tools, Window and Help menus and its toolbar, driven through their
// items; the desktop, the boxes and the error box are scripted.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <memory>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "document/frm_document.h"
#include "shell/frm_main.h"
#include "shell/maker.h"
#include "support/main_window_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "support/scripted_launcher.h"
#include "ui/busy_pointer.h"

namespace tovakin::gui {
namespace {

using testing::ScriptedLauncher;

class MainMenus : public testing::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    window = std::make_unique<frmMain>();  // loaded without a first document
  }
  void TearDown() override {
    window.reset();
    MainWindowTest::TearDown();
  }
  QAction* action(const char* name) { return window->findChild<QAction*>(name); }
  void open(const char* menu) { emit window->findChild<QMenu*>(menu)->aboutToShow(); }
  QAction* button(const char* key) { return window->findChild<QAction*>(QString::fromUtf8(key)); }
  void showWithDocuments(int count) {
    for (int i = 0; i < count; ++i) window->LoadNewDoc(NewDocMode::Numbered);
    window->showPlaced();
    window->resize(1000, 800);
  }

  std::unique_ptr<frmMain> window;
};

TEST_F(MainMenus, TheSpreadsheetItemsAreComputedAsTheMenuOpensAndStartOnlyWhatWasAnswered) {
  window->LoadNewDoc(NewDocMode::Numbered);
  open("mnuView");
  EXPECT_FALSE(action("mnuViewExcel")->isEnabled());
  desktop.programs["xlsx"] = {"calc.desktop", "/usr/bin/calc", {"%U"}};  // installed meanwhile
  open("mnuView");
  EXPECT_TRUE(action("mnuViewExcel")->isEnabled());
  EXPECT_EQ(action("mnuViewExcelKanzai")->text(), QStringLiteral("ﾃﾞｰﾀ編集中は管材情報を開けません"));
  window->mdiArea()->closeAllSubWindows();  // the last document goes
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  open("mnuView");
  EXPECT_TRUE(action("mnuViewExcelKanzai")->isEnabled());
  EXPECT_TRUE(desktop.started.empty());

  g_app.g_appPath = "/opt/my tools/Tovakin/";
  action("mnuViewExcel")->trigger();
  messages.answer(MsgAnswer::No);
  action("mnuViewExcelKanzai")->trigger();
  messages.answer(MsgAnswer::Yes);
  action("mnuViewExcelKanzai")->trigger();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, "管材データの変更は次回起動時より有効になります。\nExcel を起動しますか？");
  EXPECT_EQ(messages.shown[0].title, "Excelの起動");
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::YesNo);
  // No started nothing; the path with its blank is one argument.
  EXPECT_EQ(desktop.started,
            (std::vector<ScriptedLauncher::Started>{
                {"/usr/bin/calc", {}}, {"/usr/bin/calc", {"/opt/my tools/Tovakin/DATABASE/Tovakin.xlsx"}}}));
  desktop.starts = false;  // a program that will not start is the handler's error
  action("mnuViewExcel")->trigger();
  EXPECT_EQ(errors.shown, std::vector<std::string>{"ファイルが見つかりません。(53)\n in mnuViewExcel_Click"});
}

// A desktop that answers the look-up only when the test says so, as xdg-mime does a second later.
struct SlowDesktop final : Launcher {
  int waitedFor = 0;  // look-ups the caller waited for
  std::vector<ProgramAnswer> questions;
  bool openUrl(const std::string&) override { return false; }
  OpenOutcome openFile(const std::string&) override { return OpenOutcome::NoProgram; }
  std::optional<DesktopProgram> defaultProgramFor(const std::string&) override {
    ++waitedFor;
    return std::nullopt;
  }
  void findDefaultProgramFor(const std::string& extension, ProgramAnswer answer) override {
    EXPECT_EQ(extension, "xlsx");
    questions.push_back(std::move(answer));
  }
  bool startProgram(const std::string& program, const std::vector<std::string>&) override {
    started.push_back(program);
    return true;
  }
  std::vector<std::string> started;
  Installed<Launcher> installed = installLauncher(*this);
};

TEST_F(MainMenus, TheViewMenuOpensWithoutWaitingForTheDesktopAndFollowsItsAnswer) {
  SlowDesktop slow;
  auto main = std::make_unique<frmMain>();
  ASSERT_EQ(slow.questions.size(), 1u) << "asked at the start, beside the windows";
  const auto item = [&](const char* name) { return main->findChild<QAction*>(name); };
  const auto openView = [&] { emit main->findChild<QMenu*>("mnuView")->aboutToShow(); };

  openView();  // no answer yet: the items as designed, and no second question while one is out
  EXPECT_TRUE(item("mnuViewExcel")->isEnabled());
  EXPECT_EQ(item("mnuViewExcel")->text(), QStringLiteral("Microsoft Excel を起動(&E)"));
  EXPECT_EQ(slow.questions.size(), 1u);

  std::exchange(slow.questions, {}).front()(std::nullopt);  // the open menu follows the answer
  EXPECT_FALSE(item("mnuViewExcel")->isEnabled());
  EXPECT_EQ(item("mnuViewExcel")->text(), QStringLiteral("Excelが見つかりません"));
  EXPECT_EQ(item("mnuViewExcelKanzai")->text(), QStringLiteral("Excelが見つからないので管材情報を開けません"));

  openView();  // the last answer at once; the desktop asked again
  EXPECT_FALSE(item("mnuViewExcel")->isEnabled());
  ASSERT_EQ(slow.questions.size(), 1u);
  std::exchange(slow.questions, {}).front()(DesktopProgram{"calc.desktop", "/usr/bin/calc", {"%U"}});
  EXPECT_TRUE(item("mnuViewExcel")->isEnabled());
  EXPECT_TRUE(item("mnuViewExcelKanzai")->isEnabled());
  EXPECT_EQ(slow.waitedFor, 0) << "no menu opening waited for the desktop";

  openView();  // an answer that comes after the window has gone changes nothing
  ASSERT_EQ(slow.questions.size(), 1u);
  main.reset();
  slow.questions.front()(std::nullopt);
}

// Starting the spreadsheet program uses the answer the desktop gave; before any answer it waits
// for one with the busy pointer, the windows repainting, and never asks the desktop in a way
// that blocks them.
TEST_F(MainMenus, StartingTheSpreadsheetProgramNeverWaitsForTheDesktopBlocked) {
  SlowDesktop slow;
  auto main = std::make_unique<frmMain>();
  QAction* excel = main->findChild<QAction*>("mnuViewExcel");
  bool busyWhileWaiting = false;
  QTimer::singleShot(0, [&] {
    busyWhileWaiting = busyPointerShown();
    for (Launcher::ProgramAnswer& answer : std::exchange(slow.questions, {}))
      answer(DesktopProgram{"calc.desktop", "/usr/bin/calc", {"%U"}});
  });
  excel->trigger();  // no answer yet: waits for the one it asks for
  EXPECT_TRUE(busyWhileWaiting);
  EXPECT_FALSE(busyPointerShown());
  excel->trigger();  // the answer known: at once
  EXPECT_TRUE(slow.questions.empty());
  EXPECT_EQ(slow.started, (std::vector<std::string>{"/usr/bin/calc", "/usr/bin/calc"}));
  EXPECT_EQ(slow.waitedFor, 0);
}

TEST_F(MainMenus, TheBarsToggleIndependentlyAndBothOptionsItemsShowTheOneDialog) {
  showWithDocuments(0);
  auto* toolbar = window->findChild<QToolBar*>("tbToolBar");
  action("mnuViewToolbar")->trigger();
  EXPECT_TRUE(toolbar->isHidden());
  EXPECT_FALSE(action("mnuViewToolbar")->isChecked());
  EXPECT_FALSE(window->statusBar()->isHidden());
  action("mnuViewStatusBar")->trigger();
  action("mnuViewToolbar")->trigger();
  EXPECT_FALSE(toolbar->isHidden());
  EXPECT_TRUE(window->statusBar()->isHidden());
  EXPECT_EQ(window->createPopupMenu(), nullptr);  // no second way to hide them

  std::vector<QWidget*> owners;
  window->showOptionsDialog = [&](QWidget& owner) { owners.push_back(&owner); };
  action("mnuViewOptions")->trigger();
  action("mnuToolsOptions")->trigger();
  EXPECT_EQ(owners, (std::vector<QWidget*>{window.get(), window.get()}));
}

TEST_F(MainMenus, TheWindowMenuOffersArrangementsOnlyWithADocumentAndListsTheDocuments) {
  const auto arrangementsEnabled = [&] {
    int n = 0;
    for (const char* name :
         {"mnuWindowCascade", "mnuWindowTileHorizontal", "mnuWindowTileVertical", "mnuWindowArrangeIcons"})
      n += action(name)->isEnabled();
    return n;
  };
  open("mnuWindow");
  EXPECT_EQ(arrangementsEnabled(), 0);
  action("mnuWindowNewWindow")->trigger();
  action("mnuWindowNewWindow")->trigger();
  open("mnuWindow");
  EXPECT_EQ(arrangementsEnabled(), 4);
  QAction* first = action("mnuWindowList_1");
  EXPECT_EQ(first->text(), QStringLiteral("&1 管設計 1"));
  EXPECT_FALSE(first->isChecked());
  EXPECT_TRUE(action("mnuWindowList_2")->isChecked());  // the current one
  first->trigger();
  open("mnuWindow");
  EXPECT_TRUE(action("mnuWindowList_1")->isChecked());  // the list is made afresh
}

TEST_F(MainMenus, TheFourArrangementsOfThreeWindows) {
  showWithDocuments(3);
  const QRect area = window->mdiArea()->viewport()->rect();
  const auto subs = window->mdiArea()->subWindowList(QMdiArea::CreationOrder);  // the last made in front
  action("mnuWindowCascade")->trigger();
  const int step = window->style()->pixelMetric(QStyle::PM_TitleBarHeight);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(subs[i]->geometry(), QRect(i * step, i * step, area.width() * 3 / 4, area.height() * 3 / 4)) << i;
  EXPECT_EQ(window->mdiArea()->subWindowList(QMdiArea::StackingOrder).back(), subs[2]);

  // Tiled, the front window takes the first place; every window full width (full height).
  action("mnuWindowTileHorizontal")->trigger();
  EXPECT_EQ(subs[2]->geometry(), QRect(0, 0, area.width(), area.height() / 3));
  EXPECT_EQ(subs[0]->geometry().bottom(), area.bottom());
  EXPECT_EQ(subs[1]->y(), subs[2]->geometry().bottom() + 1);
  action("mnuWindowTileVertical")->trigger();
  EXPECT_EQ(subs[2]->geometry(), QRect(0, 0, area.width() / 3, area.height()));

  // Minimized windows line up along the bottom; the others keep clear of them.
  subs[0]->showMinimized();
  subs[2]->showMinimized();
  subs[0]->move(300, 40);
  subs[2]->move(10, 10);
  const QRect normal = subs[1]->geometry();
  action("mnuWindowArrangeIcons")->trigger();
  EXPECT_EQ(subs[0]->geometry().bottomLeft(), QPoint(0, area.bottom()));
  EXPECT_EQ(subs[2]->geometry().bottomLeft(), QPoint(subs[0]->width(), area.bottom()));
  EXPECT_EQ(subs[1]->geometry(), normal);
  action("mnuWindowTileHorizontal")->trigger();
  EXPECT_EQ(subs[1]->geometry(), QRect(0, 0, area.width(), subs[0]->y()));
}

TEST_F(MainMenus, ToolbarButtonsRunTheirItemsWhateverTheirEnablingAndExitAsksEachDocument) {
  QSignalSpy opened(action("mnuFileOpen"), &QAction::triggered);
  QSignalSpy saved(action("mnuFileSave"), &QAction::triggered);
  action("mnuFileOpen")->setEnabled(false);
  action("mnuFileSave")->setEnabled(false);
  button("開く")->trigger();
  button("上書き保存")->trigger();
  button("新規作成")->trigger();
  EXPECT_EQ(opened.count(), 1);
  EXPECT_EQ(saved.count(), 1);
  ASSERT_EQ(window->documents().size(), 1);

  showWithDocuments(0);
  window->documents()[0]->setUnchanged(false);
  messages.answer(MsgAnswer::Cancel);
  action("mnuFileExit")->trigger();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(messages.shown.at(0).text, kSaveQuestion);
  messages.answer(MsgAnswer::No);
  action("mnuFileExit")->trigger();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainMenus, HelpShowsTheContentsAndAnIndexWhoseFilterLeadsToATopic) {
  showWithDocuments(0);
  action("mnuHelpContents")->trigger();
  frmHelp* help = window->helpWindow();
  ASSERT_NE(help, nullptr);
  EXPECT_FALSE(help->isHidden());
  EXPECT_EQ(help->currentPage(), QUrl::fromLocalFile(TOVAKIN_APPDIR "/HELP/index.html"));

  action("mnuHelpSearchForHelpOn")->trigger();
  auto* filter = help->findChild<QLineEdit*>("txtFilter");
  EXPECT_EQ(help->focusWidget(), filter);
  const QStringList all = help->listedKeywords();
  QInputMethodEvent typed;  // half-width kana through the input method
  typed.setCommitString(QStringLiteral("ｶﾌﾞﾘ"));
  QApplication::sendEvent(filter, &typed);
  EXPECT_EQ(help->listedKeywords(), QStringList{QStringLiteral("土かぶり")});
  QTest::keyClick(filter, Qt::Key_Return);
  EXPECT_EQ(help->currentPage().fileName() + "#" + help->currentPage().fragment(), "input.html#dokaburi");
  action("mnuHelpSearchForHelpOn")->trigger();  // again: the filter starts empty
  EXPECT_EQ(help->listedKeywords(), all);
  window->close();
  EXPECT_TRUE(help->isHidden());  // the viewer closes with the main window
}

TEST_F(MainMenus, AMissingHelpFileGivesANoticeNamingItAndTheMakersPageOpensQuietly) {
  QTemporaryDir empty;
  g_app.g_appPath = empty.path().toStdString() + "/";
  action("mnuHelpContents")->trigger();
  action("mnuHelpSearchForHelpOn")->trigger();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, "ヘルプファイルが見つかりません。\n" + g_app.g_appPath + "HELP/index.html");
  EXPECT_EQ(messages.shown[1].text, "ヘルプファイルが見つかりません。\n" + g_app.g_appPath + "HELP/keywords.txt");
  EXPECT_EQ(messages.shown[0].buttons, MsgButtons::OK);
  EXPECT_TRUE(window->helpWindow()->isHidden());

  desktop.opens = false;
  action("mnuQuirnWeb")->trigger();
  EXPECT_EQ(desktop.urls, std::vector<std::string>{kMakerWebPage});
  EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(MainMenus, EveryLaterWindowTakesTheProgramsIcon) {
  window->MDIForm_Load();
  EXPECT_EQ(QApplication::windowIcon().cacheKey(), window->windowIcon().cacheKey());
}

}  // namespace
}  // namespace tovakin::gui
