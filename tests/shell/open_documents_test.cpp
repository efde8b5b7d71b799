// Opening documents in the main window by every way, with real files in a temporary folder, and
// the File and Edit menus' commands on the current document.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTemporaryDir>
#include <QToolBar>
#include <algorithm>

#include "app/app_state.h"
#include "app/document_file.h"
#include "app/recent_files.h"
#include "document/frm_document.h"
#include "platform/file_system.h"
#include "shell/file_menu_rules.h"
#include "shell/frm_main.h"
#include "support/main_window_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"

namespace tovakin::gui {
namespace {

using Outcome = frmMain::OpenOutcome;
using Texts = std::vector<std::string>;

struct CountedWrites final : WriteFaults {
  int before(WriteStage stage, const std::string& target) override {
    if (stage == WriteStage::Create) written.push_back(target);
    return 0;
  }
  std::vector<std::string> written;
  Installed<WriteFaults> installed = installWriteFaults(*this);
};

class OpenDocuments : public testing::MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // The temporary folder is the application folder: the recent files go to its settings file.
    QFile::link(QStringLiteral(TOVAKIN_APPDIR "/IMAGE"), dir.filePath("IMAGE"));
    g_app.g_appPath = dir.path().toStdString() + "/";
    app::g_recentFiles = {};
  }
  void TearDown() override {
    app::g_recentFiles = savedRecent_;
    MainWindowTest::TearDown();
  }

  QString file(const QString& name, bool data = true) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data ? QByteArray::fromStdString(app::encodeDesignData(app::newDesignData())) : "a,b\n");
    return f.fileName();
  }
  static QStringList paths(const frmMain& w) {
    QStringList list;
    for (frmDocument* d : w.documents()) list << d->lblMyFilename();
    return list;
  }
  static QAction* item(const frmMain& w, const QString& name) { return w.findChild<QAction*>(name); }
  static void openMenu(const frmMain& w, const char* name) { emit w.findChild<QMenu*>(name)->aboutToShow(); }
  static void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  static bool drop(frmMain& w, const QStringList& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& f : files) urls << QUrl::fromLocalFile(f);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &enter);
    QDropEvent dropped(QPointF(50, 50), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &dropped);
    settle();
    return enter.isAccepted() && dropped.isAccepted() && dropped.dropAction() == Qt::CopyAction;
  }
  Texts shown() const {
    Texts texts;
    for (const auto& m : messages.shown) texts.push_back(m.text);
    return texts;
  }

  QTemporaryDir dir;

 private:
  std::array<std::string, 4> savedRecent_ = app::g_recentFiles;
};

TEST_F(OpenDocuments, TheOpenDialogsChoiceOpensAndACancelOrAVanishedChoiceSaysNothing) {
  const QString a = file("a.PIPEDATA");
  auto window = createMainWindow();
  dialog.answerOk(a.toStdString());
  item(*window, "mnuFileOpen")->trigger();
  dialog.answerCancel();
  item(*window, "開く")->trigger();  // the toolbar's 開く asks the same way
  dialog.answerOk(dir.filePath("gone.PIPEDATA").toStdString());
  item(*window, "mnuFileOpen")->trigger();
  EXPECT_EQ(paths(*window), (QStringList{"", a}));
  EXPECT_EQ(window->documents()[1]->windowTitle(), a);
  EXPECT_EQ(window->activeDocument(), window->documents()[1]);
  ASSERT_EQ(dialog.calls.size(), 3u);
  EXPECT_EQ(dialog.calls[0].title, "ファイルを開く");
  EXPECT_TRUE(messages.shown.empty() && errors.shown.empty());
  EXPECT_EQ(item(*window, "mnuFileMRU_0")->text(), recentItemCaption(1, a.toStdString()));
  EXPECT_TRUE(item(*window, "mnuMRUBar")->isVisible());
}

TEST_F(OpenDocuments, AfterSavingUnderANewNameEachRecentItemOpensTheFileItNames) {
  const QString a = file("a.PIPEDATA"), c = file("c & d.PIPEDATA"), b = dir.filePath("b.PIPEDATA");
  app::g_recentFiles = {c.toStdString(), "", a.toStdString(), ""};
  auto window = createMainWindow();
  openMenu(*window, "mnuFile");
  EXPECT_FALSE(item(*window, "mnuFileMRU_1")->isVisible());
  EXPECT_EQ(item(*window, "mnuFileMRU_2")->text(), recentItemCaption(2, a.toStdString()));
  item(*window, "mnuFileMRU_2")->trigger();
  dialog.answerOk(b.toStdString());
  item(*window, "mnuFileSaveAs")->trigger();  // the document of a now holds b
  EXPECT_EQ(paths(*window), (QStringList{"", b}));
  openMenu(*window, "mnuFile");
  EXPECT_EQ(item(*window, "mnuFileMRU_0")->text(), recentItemCaption(1, b.toStdString()));
  EXPECT_EQ(item(*window, "mnuFileMRU_1")->text(), recentItemCaption(2, a.toStdString()));
  item(*window, "mnuFileMRU_0")->trigger();  // b is open: its window comes forward
  item(*window, "mnuFileMRU_1")->trigger();
  EXPECT_EQ(paths(*window), (QStringList{"", b, a}));
}

TEST_F(OpenDocuments, TheCommandLinesFilesTakeThePlaceOfTheEmptyDocumentEvenWhenNoneOpens) {
  const QString a = file("a.PIPEDATA"), b = file("b.PIPEDATA");
  const QString current = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  auto window = createMainWindow({"a.PIPEDATA", b, "./a.PIPEDATA"});  // a relative name is made absolute
  QDir::setCurrent(current);
  EXPECT_EQ(paths(*window), (QStringList{a, b}));
  EXPECT_EQ(window->activeDocument(), window->documents()[0]);  // made while the main window is hidden
  const QString gone = dir.filePath("gone.PIPEDATA"), csv = file("list.PIPEDATA", false);
  // A design file cut short: its tag is right, but the rest of the case is missing.
  const QString cut = file("cut.PIPEDATA");
  ASSERT_TRUE(QFile::resize(cut, 600));
  auto failing = createMainWindow({gone, csv, cut});
  EXPECT_TRUE(failing->documents().isEmpty());
  EXPECT_EQ(shown(), (Texts{"ファイルは削除されています\n" + gone.toStdString(),
                            "ﾌｧｲﾙ'" + csv.toStdString() + "'は有効なpipedataではありません。",
                            "ﾌｧｲﾙ'" + cut.toStdString() + "'は有効なpipedataではありません。"}));
  EXPECT_EQ(messages.shown[0].title, kAppTitle);
}

TEST_F(OpenDocuments, DroppedFilesOpenInTheirOrderButNotUnderAModalDialog) {
  const QStringList files{file("1.PIPEDATA"), file("2.PIPEDATA"), file("3.PIPEDATA")};
  auto window = createMainWindow();
  window->show();
  {
    QDialog question(window.get());
    question.setWindowModality(Qt::ApplicationModal);
    question.show();
    EXPECT_FALSE(drop(*window, files));
    EXPECT_EQ(window->documents().size(), 1);
  }
  EXPECT_TRUE(drop(*window, files));
  EXPECT_EQ(paths(*window), (QStringList{"", files[0], files[1], files[2]}));
  EXPECT_EQ(window->activeDocument(), window->documents()[3]);
  // Nothing of a document takes drops, so Qt gives one over a document to the main window.
  for (const QWidget* w : window->mdiArea()->findChildren<QWidget*>()) EXPECT_FALSE(w->acceptDrops());
}

TEST_F(OpenDocuments, AnOpenFileComesForwardAndOneThatCannotBeLoadedClosesItsWindow) {
  const QString a = file("a.PIPEDATA"), upper = file("A.PIPEDATA");
  auto window = createMainWindow({a});
  window->LoadNewDoc(NewDocMode::Numbered);
  EXPECT_EQ(window->myFilesOpen(dir.filePath("x/../a.PIPEDATA")), Outcome::Activated);
  EXPECT_EQ(window->activeDocument(), window->documents()[0]);
  EXPECT_EQ(g_app.g_docCount, 2);
  EXPECT_EQ(window->myFilesOpen(upper), Outcome::HandedOver);  // another file
  EXPECT_EQ(paths(*window), (QStringList{a, "", upper}));
  // A file that cannot be loaded closes the window made for it, without a save question.
  QPointer<frmDocument> forFile = window->LoadNewDoc(NewDocMode::ForFile);
  forFile->setMyFilename(dir.filePath("gone.PIPEDATA"));
  DocumentCommand(*forFile, QString::fromUtf8(kWordOpen));
  settle();
  EXPECT_FALSE(forFile);
  EXPECT_EQ(messages.shown.size(), 1u);  // the load's own message only
}

TEST_F(OpenDocuments, AtTheDocumentLimitNoWindowTakesTheFileAndTheMessageComesOnce) {
  const QStringList files{file("1.PIPEDATA"), file("2.PIPEDATA"), file("3.PIPEDATA")};
  auto window = createMainWindow();
  g_app.g_docCount = kDocumentLimit;
  EXPECT_EQ(window->myFilesOpen(files[0]), Outcome::AtLimit);
  EXPECT_EQ(paths(*window), QStringList{""});  // not handed to the window that was there
  g_app.g_docCount = kDocumentLimit - 1;
  EXPECT_TRUE(drop(*window, files));
  EXPECT_EQ(paths(*window), (QStringList{"", files[0]}));
  EXPECT_EQ(shown(), Texts(2, documentLimitMessage().toStdString()));
}

TEST_F(OpenDocuments, TheCommandsAreEnabledWithADocumentAndTheToolbarNeverDisabled) {
  auto window = createMainWindow({dir.filePath("gone.PIPEDATA")});
  const auto enabled = [&] {
    openMenu(*window, "mnuFile");
    openMenu(*window, "mnuEdit");
    QList<bool> states;
    // すべて保存 is enabled with them but hidden, which Qt reports as disabled: never offered.
    for (const char* name : {"mnuFileClose", "mnuFileSave", "mnuFileSaveAs", "mnuEditCalc"})
      states << item(*window, name)->isEnabled();
    for (QAction* a : window->findChild<QToolBar*>("tbToolBar")->actions()) EXPECT_TRUE(a->isEnabled());
    return states;
  };
  EXPECT_EQ(enabled(), QList<bool>(4, false));
  item(*window, "上書き保存")->trigger();  // 上書き保存 without a document does nothing
  EXPECT_TRUE(dialog.calls.empty());
  for (int documents = 1; documents <= 2; ++documents) {
    window->LoadNewDoc(NewDocMode::Numbered);
    EXPECT_EQ(enabled(), QList<bool>(4, true));
  }
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(OpenDocuments, SaveTwiceWritesTwiceAndCloseAsksTheDocumentWhileTheMainWindowIsInactive) {
  const QString a = file("a.PIPEDATA");
  auto window = createMainWindow({a});
  window->LoadNewDoc(NewDocMode::Numbered);
  window->show();
  window->mdiArea()->setActiveSubWindow(window->mdiArea()->subWindowList()[0]);
  for (QWidget* w : window->findChildren<QWidget*>()) {
    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(w, &deactivate);
  }
  ASSERT_EQ(window->mdiArea()->activeSubWindow(), nullptr);  // the area has no active window now
  CountedWrites writes;
  item(*window, "mnuFileSave")->trigger();
  item(*window, "上書き保存")->trigger();
  EXPECT_EQ(std::count(writes.written.begin(), writes.written.end(), a.toStdString()), 2);
  EXPECT_TRUE(dialog.calls.empty());

  window->documents()[0]->setUnchanged(false);
  messages.answer(MsgAnswer::Cancel);
  messages.answer(MsgAnswer::No);
  item(*window, "mnuFileClose")->trigger();
  settle();
  EXPECT_EQ(shown(), Texts{kSaveQuestion});
  EXPECT_EQ(paths(*window), (QStringList{a, ""}));
  item(*window, "mnuFileClose")->trigger();
  settle();
  EXPECT_EQ(paths(*window), QStringList{""});
  EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);  // no empty frame is left
}

}  // namespace
}  // namespace tovakin::gui
