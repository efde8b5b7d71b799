#include "ui/file_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <unistd.h>
#include "support/row_name.h"

namespace tovakin::gui {
namespace {

struct FilterCase {
  const char* filter;
  QStringList qt;
};

class NameFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(NameFilters, ShowTheDescriptionWithItsPatternsOnce) { EXPECT_EQ(qtNameFilters(GetParam().filter), GetParam().qt); }

INSTANTIATE_TEST_SUITE_P(
    Filters, NameFilters,
    ::testing::Values(
        FilterCase{"Microsoft Excel (*.xlsx)|*.xlsx", {"Microsoft Excel (*.xlsx)"}},
        FilterCase{"Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)|*.PIPEDATA|すべてのﾌｧｲﾙ(*.*)|*.*",
                   {"Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)", "すべてのﾌｧｲﾙ (*)"}},
        FilterCase{"ブック|*.xls;*.xlsx", {"ブック (*.xls *.xlsx)"}},
        FilterCase{"ブック (*.xls;*.xlsx)|*.xls;*.xlsx", {"ブック (*.xls *.xlsx)"}},
        FilterCase{"データ (旧形式)|*.dat", {"データ (旧形式) (*.dat)"}},  // a remark in parentheses stays
        FilterCase{"説明だけ", {"説明だけ (*)"}},
        FilterCase{"|*.txt", {"(*.txt)"}},
        FilterCase{"", {}}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.filter); });

TEST(BesideDialog, TheNoticeStandsClearOfTheDialogWhereTheScreenHasRoom) {
  const QRect screen(0, 0, 1280, 1024);
  const QSize notice(358, 131);
  const struct {
    const char* where;
    QRect dialog;
    QPoint expected;
  } cases[] = {
      {"room above", QRect(315, 251, 638, 443), QPoint(454, 112)},
      {"no room above: below", QRect(0, 0, 638, 443), QPoint(139, 451)},
      {"near the right edge", QRect(900, 400, 380, 300), QPoint(910, 261)},
      // A dialog as tall as the screen: beside it, on the side with room.
      {"tall, room on the right", QRect(100, 0, 600, 1024), QPoint(708, 446)},
      {"tall, room on the left only", QRect(600, 0, 680, 1024), QPoint(234, 446)},
      {"far right: kept on the screen", QRect(1100, 500, 180, 100), QPoint(922, 361)},
      {"the whole screen: at its top", QRect(0, 0, 1280, 1024), QPoint(460, 0)},
  };
  for (const auto& c : cases) {
    const QPoint at = besideDialog(c.dialog, notice, screen);
    EXPECT_EQ(at, c.expected) << c.where;
    const QRect placed(at, notice);
    EXPECT_TRUE(screen.contains(placed)) << c.where;
    if (c.dialog != screen) {
      EXPECT_FALSE(placed.intersects(c.dialog)) << c.where;
    }
  }
}

TEST(BesideDialog, AFrameNotYetToldIsTakenFromTheOwnersFrame) {
  const QRect owner(0, 20, 1270, 980), ownerFrame(-1, 0, 1272, 1001);  // a caption and a border
  const QRect dialog(316, 271, 636, 418);
  // Before the window manager has said: the bare window, framed like its owner.
  EXPECT_EQ(outerFrameOf(dialog, dialog, true, owner, ownerFrame), QRect(315, 251, 638, 439));
  // Once told, its own frame.
  const QRect told(315, 250, 638, 443);
  EXPECT_EQ(outerFrameOf(dialog, told, true, owner, ownerFrame), told);
  // Told wrong while the manager takes the window in: a pixel at its corner is no frame.
  EXPECT_EQ(outerFrameOf(dialog, QRect(316, 271, 1, 1), true, owner, ownerFrame), QRect(315, 251, 638, 439));
  EXPECT_EQ(outerFrameOf(dialog, dialog, false, owner, ownerFrame), dialog) << "a frameless dialog";
}

class TempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("tovakin-dialog-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root_ / "DATA");
    std::filesystem::create_directories(root_ / "other");
  }
  void TearDown() override { std::filesystem::remove_all(root_); }
  std::string path(const std::string& relative) const { return (root_ / relative).string(); }
  void touch(const std::string& relative) const { std::ofstream(root_ / relative) << "x"; }
  std::filesystem::path root_;
};

TEST_F(TempFolder, StartsInTheFolderOfTheFileNameOrElseInTheInitialFolder) {
  struct Case {
    std::string fileName, initDir;
    StartLocation expected;
  };
  const QString data = QString::fromStdString(path("DATA"));
  const QString other = QString::fromStdString(path("other"));
  for (const Case& c : {
           Case{path("other/管設計 1.PIPEDATA"), path("DATA"), {other, "管設計 1.PIPEDATA"}},
           Case{path("gone/a.PIPEDATA"), path("DATA"), {data, "a.PIPEDATA"}},  // its folder is not there
           Case{"管設計 1.PIPEDATA", path("DATA"), {data, "管設計 1.PIPEDATA"}},
           Case{"", path("DATA"), {data, ""}},
           Case{"", "", {"", ""}},
       }) {
    const StartLocation s = startLocation(c.fileName, c.initDir);
    EXPECT_EQ(s.directory, c.expected.directory) << c.fileName;
    EXPECT_EQ(s.fileName, c.expected.fileName) << c.fileName;
  }
}

// Runs `act` on the file dialog as soon as it is up.
void whenDialogIsUp(std::function<void(QFileDialog&)> act) {
  auto* poll = new QTimer;
  poll->setInterval(0);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(*dialog);
  });
  poll->start();
}

// Types a name into the dialog's name box (nothing: keeps what it proposes) and presses Enter.
void typeFileName(QFileDialog& d, const QString& name) {
  auto* edit = d.findChild<QLineEdit*>("fileNameEdit");
  ASSERT_NE(edit, nullptr);
  if (!name.isEmpty()) edit->setText(name);
  QTest::keyClick(edit, Qt::Key_Return);
}

TEST_F(TempFolder, OpenChoosesAFileAndKeepsItForTheNextUse) {
  touch("DATA/case.PIPEDATA");
  QtCommonDialog dialog;
  dialog.Filter = "Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)|*.PIPEDATA|すべてのﾌｧｲﾙ(*.*)|*.*";
  dialog.InitDir = path("DATA");
  dialog.DialogTitle = "ファイルを開く";
  QString title, folder, objectName;
  QStringList filters;
  bool native = true;
  whenDialogIsUp([&](QFileDialog& d) {
    title = d.windowTitle();
    folder = d.directory().absolutePath();
    filters = d.nameFilters();
    native = !d.testOption(QFileDialog::DontUseNativeDialog);
    objectName = d.objectName();
    typeFileName(d, "case.PIPEDATA");
  });
  ASSERT_EQ(dialog.ShowOpen(), DialogOutcome::Ok);
  EXPECT_EQ(dialog.FileName, path("DATA/case.PIPEDATA"));
  EXPECT_EQ(title, "ファイルを開く");
  EXPECT_EQ(folder.toStdString(), path("DATA"));
  EXPECT_EQ(filters, (QStringList{"Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)", "すべてのﾌｧｲﾙ (*)"}));
  EXPECT_FALSE(native);
  EXPECT_EQ(objectName, kFileDialogObjectName);

  // The next use proposes the file chosen last, in its folder.
  QString proposedFolder;
  whenDialogIsUp([&](QFileDialog& d) {
    proposedFolder = d.directory().absolutePath();
    d.reject();
  });
  dialog.InitDir = path("other");
  EXPECT_EQ(dialog.ShowOpen(), DialogOutcome::Cancelled);
  EXPECT_EQ(proposedFolder.toStdString(), path("DATA"));
  EXPECT_EQ(dialog.FileName, path("DATA/case.PIPEDATA"));  // a cancel leaves it
}

TEST_F(TempFolder, SaveOverAnExistingFileAsksNothingOfItsOwn) {
  touch("DATA/report.xlsx");
  QtCommonDialog dialog;
  dialog.Filter = "Microsoft Excel (*.xlsx)|*.xlsx";
  dialog.FileName = path("DATA/report.xlsx");
  auto questionShown = std::make_shared<bool>(false);
  whenDialogIsUp([questionShown](QFileDialog& d) {
    // A question of the dialog's own would run inside accept(): answer it from a timer.
    QTimer::singleShot(50, [questionShown] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        *questionShown = true;
        box->done(QMessageBox::Yes);
      }
    });
    typeFileName(d, "");
  });
  ASSERT_EQ(dialog.ShowSave(), DialogOutcome::Ok);
  QTest::qWait(100);
  EXPECT_FALSE(*questionShown);
  EXPECT_EQ(dialog.FileName, path("DATA/report.xlsx"));
}

}  // namespace
}  // namespace tovakin::gui
