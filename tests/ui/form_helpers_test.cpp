#include "ui/form_helpers.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/app_state.h"
#include "support/scripted_error_box.h"
#include "support/scripted_launcher.h"

#include <unistd.h>

namespace tovakin::gui {
namespace {

QPushButton* button(QWidget& parent, const QString& name, const QString& caption, const QString& tag) {
  auto* b = new QPushButton(caption, &parent);
  b->setObjectName(name);
  setTag(*b, tag);
  return b;
}

// The options dialog as designed: its tag names its caption, the three buttons carry ids.
class OptionsDialog : public QDialog {
 public:
  OptionsDialog() {
    setObjectName("frmOptions");
    setWindowTitle("frmOptions");
    setTag(*this, "1052");
    ok = button(*this, "cmdCommand_0", "OK(&O)", "1059");
    cancel = button(*this, "cmdCommand_1", "ｷｬﾝｾﾙ(&C)", "1058");
    apply = button(*this, "cmdCommand_2", "適用(&A)", "1057");
  }
  QPushButton* ok;
  QPushButton* cancel;
  QPushButton* apply;
};

TEST(MyFormResString, TheOptionsDialogTakesItsCaptionAndButtonTextsThenTheirTooltips) {
  OptionsDialog dialog;
  myFormResString(dialog);
  EXPECT_EQ(dialog.windowTitle(), "ｵﾌﾟｼｮﾝ");
  EXPECT_EQ(dialog.ok->text(), "OK");
  EXPECT_EQ(dialog.cancel->text(), "ｷｬﾝｾﾙ");
  EXPECT_EQ(dialog.apply->text(), "適用(&A)");
  ToolTip2Caption(dialog);
  EXPECT_EQ(dialog.ok->toolTip(), "OK");
  EXPECT_EQ(dialog.cancel->toolTip(), "ｷｬﾝｾﾙ");
  EXPECT_EQ(dialog.apply->toolTip(), "適用(ALT+A)");
}

// The rule on any main window, with what the program's own has not (a submenu, one action on a
// menu and the toolbar); the program's menus are checked through frmMain::menuItems() in
// tests/shell (MainWindow.MenusAndToolbarShowTheStringTableTexts).
TEST(MyFormResString, TheMainWindowsMenusAndToolbarTakeTheirTextsAndTheRestKeepTheirs) {
  QMainWindow main;
  main.setWindowTitle("Tovakin");  // no tag: the caption stays as designed
  QMenu* file = main.menuBar()->addMenu("1000");
  QAction* open = file->addAction("1002");
  QAction* calculate = file->addAction("計算する(&C)");
  QAction* separator = file->addSeparator();
  QMenu* window = main.menuBar()->addMenu("1027");
  QMenu* sub = window->addMenu("1028");
  QToolBar* toolbar = main.addToolBar("tbToolBar");
  QAction* newDoc = toolbar->addAction("新規作成");
  newDoc->setToolTip("1037");
  QAction* shared = new QAction("1004", &main);  // one action on both: caption and tooltip by their own ids
  shared->setToolTip("1039");
  file->addAction(shared);
  toolbar->addAction(shared);

  myFormResString(main);
  EXPECT_EQ(main.windowTitle(), "Tovakin");
  EXPECT_EQ(file->title(), "ﾌｧｲﾙ(&F)");
  EXPECT_EQ(open->text(), "開く(&O)...");
  EXPECT_EQ(calculate->text(), "計算する(&C)");
  EXPECT_EQ(separator->text(), "");
  EXPECT_EQ(window->title(), "ｳｨﾝﾄﾞｳ(&W)");
  EXPECT_EQ(sub->title(), "新しいｳｨﾝﾄﾞｳを開く(&N)");
  EXPECT_EQ(newDoc->toolTip(), "新規作成");
  EXPECT_EQ(newDoc->text(), "新規作成");
  EXPECT_EQ(shared->text(), "上書き保存(&S)");
  EXPECT_EQ(shared->toolTip(), "上書き保存");
}

TEST(MyFormResString, LabelsNeedAnIdFromAThousandOtherControlsAnyIdInTheTable) {
  QDialog form;
  setTag(form, "frmDocument");  // a word: the caption stays
  form.setWindowTitle("管設計 1");
  auto* version = new QLabel("lblVersion", &form);
  setTag(*version, "1047");
  auto* low = new QLabel("9", &form);
  setTag(*low, "999");
  auto* thousand = new QLabel("x", &form);
  setTag(*thousand, "1000");
  auto* unknown = button(form, "cmdUnknown", "閉じる(&Q)", "5");
  auto* frame = new QGroupBox("fraFrame", &form);
  setTag(*frame, "1059");
  auto* box = new QLineEdit(&form);
  box->setToolTip("3本以上");  // a tooltip whose leading number is no id of the table
  auto* hinted = new QLineEdit(&form);
  hinted->setToolTip("1038");
  auto* tabs = new QTabWidget(&form);
  tabs->addTab(new QWidget, "tab");
  tabs->tabBar()->setTabData(0, "1052");
  tabs->setTabToolTip(0, "1060");

  myFormResString(form);
  EXPECT_EQ(form.windowTitle(), "管設計 1");
  EXPECT_EQ(version->text(), "ﾊﾞｰｼﾞｮﾝ");
  EXPECT_EQ(low->text(), "9");
  EXPECT_EQ(thousand->text(), "ﾌｧｲﾙ(&F)");
  EXPECT_EQ(unknown->text(), "閉じる(&Q)");
  EXPECT_EQ(frame->title(), "OK");
  EXPECT_EQ(box->toolTip(), "3本以上");
  EXPECT_EQ(hinted->toolTip(), "開く");
  EXPECT_EQ(tabs->tabText(0), "ｵﾌﾟｼｮﾝ");
  EXPECT_EQ(tabs->tabToolTip(0), "ﾊﾞｰｼﾞｮﾝ情報 Tovakin");
}

TEST(FormHelpers, DoNotReachIntoTheWindowsInsideAWindow) {
  QMainWindow main;
  auto* area = new QMdiArea(&main);
  main.setCentralWidget(area);
  auto* document = new QWidget;
  auto* inner = button(*document, "cmdCommand_1", "計算する(&C)", "1059");
  area->addSubWindow(document);
  auto* own = button(main, "cmdOwn", "閉じる(&Q)", "1058");

  myFormResString(main);
  ToolTip2Caption(main);
  EXPECT_EQ(inner->text(), "計算する(&C)");
  EXPECT_EQ(inner->toolTip(), "");
  EXPECT_EQ(own->text(), "ｷｬﾝｾﾙ");
  EXPECT_EQ(own->toolTip(), "ｷｬﾝｾﾙ");
}

TEST(ToolTip2Caption, AGraphicalButtonKeepsItsOwnTooltip) {
  QDialog form;
  auto* standard = button(form, "cmdOK", "OK(&O)", "");
  auto* graphical = button(form, "cmdPicture", "開く(&O)", "");
  QPixmap picture(16, 16);
  picture.fill(Qt::blue);
  graphical->setIcon(QIcon(picture));
  graphical->setToolTip("ファイルを開く");
  ToolTip2Caption(form);
  EXPECT_EQ(standard->toolTip(), "OK(ALT+O)");
  EXPECT_EQ(graphical->toolTip(), "ファイルを開く");
}

class AppFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = g_app;
    folder_ = std::filesystem::temp_directory_path() / ("tovakin-gui-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_ / "IMAGE");
    g_app.g_appPath = folder_.string() + "/";
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    g_app = saved_;
  }
  void copyShippedIcon() {
    std::filesystem::copy_file(std::string(TOVAKIN_APPDIR) + "/" + kIconFile, folder_ / kIconFile);
  }
  std::filesystem::path folder_;
  AppState saved_;
};

TEST_F(AppFolderTest, SetMyIconLoadsTheShippedIcon) {
  copyShippedIcon();
  testing::ScriptedErrorBox errors;
  QDialog form;
  setMyIcon(form);
  EXPECT_TRUE(errors.shown.empty());
  ASSERT_FALSE(form.windowIcon().isNull());
  EXPECT_EQ(form.windowIcon().pixmap(64, 64).width(), 64);
  // Each size the file holds, drawn at that size, rather than one picture scaled down.
  EXPECT_EQ(form.windowIcon().availableSizes(),
            (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)}));
}

TEST_F(AppFolderTest, SetMyIconWithoutTheFileShowsTheErrorBoxAndKeepsTheIconOnIgnore) {
  testing::ScriptedErrorBox errors(ErrorAnswer::Ignore);
  QDialog form;
  QPixmap before(8, 8);
  before.fill(Qt::red);
  form.setWindowIcon(QIcon(before));
  const qint64 key = form.windowIcon().cacheKey();
  setMyIcon(form);
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_EQ(errors.shown[0], "ファイルが見つかりません。(53)\n in setMyIcon");
  EXPECT_EQ(errors.titles[0], "");
  EXPECT_EQ(form.windowIcon().cacheKey(), key);
}

// An error box that lets the test repair the cause while it is up, as a user would before Retry.
class RepairingErrorBox final : public ErrorBox {
 public:
  explicit RepairingErrorBox(std::function<void()> repair) : repair_(std::move(repair)) {}
  ErrorAnswer show(const std::string& text, const std::string&) override {
    shown.push_back(text);
    repair_();
    return ErrorAnswer::Retry;
  }
  std::vector<std::string> shown;

 private:
  std::function<void()> repair_;
  Installed<ErrorBox> installed_ = installErrorBox(*this);
};

TEST_F(AppFolderTest, SetMyIconRetriesAndLoadsTheIconPutInPlaceMeanwhile) {
  const std::filesystem::path icon = folder_ / kIconFile;
  { std::ofstream(icon) << "not a picture"; }
  RepairingErrorBox errors([&] {
    std::filesystem::remove(icon);
    copyShippedIcon();
  });
  QDialog form;
  setMyIcon(form);
  EXPECT_EQ(errors.shown, std::vector<std::string>{"ピクチャが不正です。(481)\n in setMyIcon"});
  EXPECT_FALSE(form.windowIcon().isNull());
}

TEST_F(AppFolderTest, MyApplicationAsksTheDesktopAndLeavesNoFileBehind) {
  testing::ScriptedLauncher desktop;
  desktop.programs["XLS"] = DesktopProgram{"sheets.desktop", "/opt/sheets/bin/sheets", {"--calc", "%U"}};
  std::string folder;
  EXPECT_EQ(myApplication("XLS", folder), "/opt/sheets/bin/sheets");
  EXPECT_EQ(folder, g_app.g_appPath);
  std::string other = "/somewhere/else/";
  EXPECT_EQ(myApplication("PDF", other), "");
  EXPECT_EQ(other, "/somewhere/else/");
  EXPECT_EQ(desktop.lookedUp, (std::vector<std::string>{"XLS", "PDF"}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);  // IMAGE only
}

TEST(JumpHyperLink, OpensTheAddressAndSaysNothingWhenItFails) {
  testing::ScriptedLauncher desktop;
  desktop.opens = false;
  testing::ScriptedErrorBox errors;
  JumpHyperLink("https://example.invalid/tovakin", nullptr);
  EXPECT_EQ(desktop.urls, std::vector<std::string>{"https://example.invalid/tovakin"});
  EXPECT_TRUE(errors.shown.empty());
}

TEST(DesignedMeasures, TwipsColoursAndTheCaptionHeight) {
  struct Twips {
    int twips, pixels;
  };
  for (const Twips& t : {Twips{0, 0}, Twips{15, 1}, Twips{7, 0}, Twips{8, 1}, Twips{1200, 80}, Twips{4815, 321}})
    EXPECT_EQ(twipsToPixels(t.twips), t.pixels) << t.twips;
  EXPECT_EQ(twipsRect(120, 240, 1200, 315), QRect(8, 16, 80, 21));
  EXPECT_EQ(captionHeightValue(18), 360);

  struct Colour {
    std::uint32_t bgr;
    QColor rgb;
  };
  for (const Colour& c : {Colour{0x00C0C0FF, QColor(0xFF, 0xC0, 0xC0)},   // light red headings
                          Colour{0x00FFC0C0, QColor(0xC0, 0xC0, 0xFF)},   // light blue title
                          Colour{0x00C0FFFF, QColor(0xFF, 0xFF, 0xC0)},   // light yellow read-only boxes
                          Colour{0x00E0E0E0, QColor(0xE0, 0xE0, 0xE0)}})
    EXPECT_EQ(designColour(c.bgr), c.rgb) << std::hex << c.bgr;
}

}  // namespace
}  // namespace tovakin::gui
