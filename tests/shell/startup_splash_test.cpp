// Main and the splash: the refusal while another program holds the pipe-material workbook, the
// progress texts reaching the splash in order, and the splash's layout and texts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLocalServer>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "calc/pipe_database.h"
#include "platform/message_box.h"
#include "shell/frm_splash.h"
#include "shell/program_main.h"
#include "shell/single_instance.h"
#include "shell/version.h"
#include "support/scripted_error_box.h"
#include "ui/form_helpers.h"

namespace tovakin::gui {
namespace {

const std::vector<QString> kProgressTexts{
    QStringLiteral("初期設定を行っています。しばらくお待ち下さい。"),
    QStringLiteral("作業ファイル設定を確認しています。しばらくお待ち下さい。"),
    QStringLiteral("データベース設定を行っています。しばらくお待ち下さい。"),
    QStringLiteral("プログラムの動作設定を行っています。しばらくお待ち下さい。"),
    QStringLiteral("メイン画面を呼び出しています。しばらくお待ち下さい。"),
};

std::vector<QWidget*> visibleWindows() {
  std::vector<QWidget*> shown;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) shown.push_back(w);
  return shown;
}

// Records what a box would have shown, and which windows were visible when it came up.
class WatchingMessageBox final : public MessageBoxService {
 public:
  struct Shown {
    std::string text, title;
    MsgButtons buttons;
    MsgIcon icon;
    std::vector<QWidget*> visible;
  };
  MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override {
    shown.push_back({text, title, buttons, icon, visibleWindows()});
    return safeAnswer(buttons);
  }
  std::vector<Shown> shown;
};

// Paints of the progress label, by the text each paint showed.
class PaintRecorder final : public QObject {
 public:
  std::vector<QString> painted;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const QString text = static_cast<QLabel*>(watched)->text();
      if (painted.empty() || painted.back() != text) painted.push_back(text);
    }
    return false;
  }
};

class StartupMain : public ::testing::Test {
 protected:
  void SetUp() override {
    QDir(dir.path()).mkpath(QStringLiteral("DATABASE"));
    setAppFolderOverride(dir.path().toStdString());
    parts.appFolder = dir.path();
    parts.rebuildDatabase = [this] {
      ++rebuilds;
      CreateMyDatabase(g_app.g_appPath);
    };
    parts.createWindow = [this] {
      ++windowsCreated;
      splashShownAtWindow = splash && splash->isVisible();
      return createMainWindow();
    };
    parts.splashShown = [this](frmSplash& s) {
      splash = &s;
      s.findChild<QLabel*>(QStringLiteral("lblMsg"))->installEventFilter(&recorder);
    };
  }
  void TearDown() override { setAppFolderOverride(std::nullopt); }
  QString path(const char* relative) const { return dir.filePath(QString::fromUtf8(relative)); }
  // The pipe-material workbook and the window icon the build made.
  void copyWorkbook() {
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOVAKIN_APPDIR "/DATABASE/Tovakin.xlsx"), path("DATABASE/Tovakin.xlsx")));
    QDir(dir.path()).mkpath(QStringLiteral("IMAGE"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOVAKIN_APPDIR "/IMAGE/KANA.ico"), path("IMAGE/KANA.ico")));
  }

  QTemporaryDir dir;
  MainParts parts;
  int rebuilds = 0;
  int windowsCreated = 0;
  bool splashShownAtWindow = false;
  frmSplash* splash = nullptr;
  PaintRecorder recorder;
  WatchingMessageBox box;
  Installed<MessageBoxService> boxInstalled = installMessageBox(box);
  testing::ScriptedErrorBox errors{ErrorAnswer::Abort};
};

TEST_F(StartupMain, ALockedWorkbookIsRefusedWithoutDatabaseSettingsOrWindow) {
  copyWorkbook();
  QFile lock(path("DATABASE/.~lock.Tovakin.xlsx#"));
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write(",someone,host,01.01.2024 10:00,file:///home/someone;\n");
  lock.close();

  MainOutcome outcome = Main(parts);

  ASSERT_TRUE(outcome.exitStatus.has_value());
  EXPECT_EQ(*outcome.exitStatus, kWorkbookInUseStatus);
  EXPECT_EQ(outcome.window, nullptr);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text,
            "管材データベースファイルが他のアプリケーションで使用中です。\n終了してから、Tovakinを起動して下さい。");
  EXPECT_EQ(box.shown[0].title, "Tovakin");
  EXPECT_EQ(box.shown[0].buttons, MsgButtons::OK);
  EXPECT_EQ(box.shown[0].icon, MsgIcon::None);
  EXPECT_TRUE(box.shown[0].visible.empty()) << "the splash would hide the box";
  EXPECT_EQ(rebuilds, 0);
  EXPECT_FALSE(QFile::exists(path("DATABASE/Tovakin.MDB")));
  EXPECT_EQ(windowsCreated, 0);
  EXPECT_TRUE(visibleWindows().empty());
  EXPECT_TRUE(errors.shown.empty());
  // The progress stopped at the check of the working files.
  ASSERT_FALSE(recorder.painted.empty());
  EXPECT_EQ(recorder.painted.back(), kProgressTexts[1]);
}

TEST_F(StartupMain, EachProgressTextIsPaintedOnTheSplashBeforeItsStep) {
  copyWorkbook();
  QString atRebuild;
  parts.rebuildDatabase = [&] {
    atRebuild = splash->progress();
    CreateMyDatabase(g_app.g_appPath);
  };

  MainOutcome outcome = Main(parts);

  ASSERT_FALSE(outcome.exitStatus.has_value());
  ASSERT_NE(outcome.window, nullptr);
  // (The designed caption was painted when the splash came up, before the recorder was in place.)
  EXPECT_EQ(recorder.painted, kProgressTexts);
  EXPECT_EQ(atRebuild, kProgressTexts[2]);
  EXPECT_TRUE(splashShownAtWindow) << "the main window is loaded while the splash shows";
  EXPECT_TRUE(QFile::exists(path("DATABASE/Tovakin.MDB")));
  EXPECT_TRUE(QFile::exists(path("TOVAKIN.INI")));
  const auto shown = visibleWindows();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], outcome.window.get());
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(StartupMain, AnErrorBoxDuringStartUpIsNotBehindTheSplash) {
  // No workbook: the rebuild reports its error; Ignore goes on.
  std::vector<QWidget*> visibleAtError;
  struct Watching final : ErrorBox {
    std::vector<std::vector<QWidget*>>* seen;
    ErrorAnswer show(const std::string&, const std::string&) override {
      seen->push_back(visibleWindows());
      return ErrorAnswer::Ignore;
    }
  };
  std::vector<std::vector<QWidget*>> seen;
  Watching watching;
  watching.seen = &seen;
  const auto installed = installErrorBox(watching);

  MainOutcome outcome = Main(parts);

  ASSERT_FALSE(seen.empty());
  for (const auto& visible : seen) EXPECT_TRUE(visible.empty());
  ASSERT_NE(outcome.window, nullptr);
  // The splash came back for the steps after the box.
  EXPECT_EQ(recorder.painted.back(), kProgressTexts[4]);
}

// A running instance that never answers is waited for as long as the patience lasts (the clock
// passes it at the first wait); the start then says once, before the splash, that it goes on
// without the guard, and goes on.
TEST_F(StartupMain, AStartThatCannotBeGuardedSaysSoOnceAndGoesOn) {
  copyWorkbook();
  QLocalServer silent;
  silent.setSocketOptions(QLocalServer::AbstractNamespaceOption);
  ASSERT_TRUE(silent.listen(instanceName(dir.path())));
  auto now = std::chrono::steady_clock::now();
  parts.instanceClock = [&] { return now; };
  parts.waitingForInstance = [&] { now += std::chrono::hours(1); };

  MainOutcome outcome = Main(parts);

  ASSERT_NE(outcome.window, nullptr);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text,
            "起動中の本プログラムが応答しないため、二重起動を確認できません。\n"
            "このまま起動しますが、応答しない本プログラムを終了してから作業して下さい。");
  EXPECT_EQ(box.shown[0].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(box.shown[0].visible.empty());
  EXPECT_EQ(rebuilds, 1);
}

TEST(Splash, LayoutFollowsThePictureBox) {
  frmSplash splash;
  auto* picture = splash.findChild<QWidget*>(QStringLiteral("picSplash"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->pos(), QPoint(twipsToPixels(100), twipsToPixels(100)));
  EXPECT_EQ(splash.size(), picture->size() + twipsSize(300, 300));
  auto* name = splash.findChild<QLabel*>(QStringLiteral("lblProductName0"));
  auto* shadow = splash.findChild<QLabel*>(QStringLiteral("lblProductName1"));
  EXPECT_EQ(shadow->pos() - name->pos(), QPoint(twipsToPixels(50), twipsToPixels(50)));
  EXPECT_EQ(name->text(), QStringLiteral("Tovakin"));
  EXPECT_EQ(shadow->text(), QStringLiteral("Tovakin"));
}

TEST(Splash, TextsComeFromTheTableAndTheBuild) {
  frmSplash splash;
  const auto text = [&](const char* name) { return splash.findChild<QLabel*>(QString::fromLatin1(name))->text(); };
  // The splash says "Version" (the About box says ﾊﾞｰｼﾞｮﾝ), whatever the table's word.
  EXPECT_EQ(text("lblVersion"), QStringLiteral("Version 1.1.0"));
  EXPECT_EQ(text("lblCompanyProduct"), QStringLiteral("Quirn"));
  EXPECT_EQ(text("lblProductName2"), QStringLiteral("パイプライン管路の構造計算 統合版"));
  EXPECT_EQ(text("lblMsg"), QStringLiteral("しばらくお待ち下さい"));
  // The platform the program really runs on, never the table's.
  EXPECT_EQ(text("lblPlatform"), frmSplash::platformName());
  EXPECT_FALSE(text("lblPlatform").contains(QStringLiteral("Windows")));
  EXPECT_FALSE(text("lblPlatform").isEmpty());
}

TEST(Splash, VersionNumbersAreNotPadded) {
  EXPECT_EQ(versionNumbers(1, 1, 12), QStringLiteral("1.1.12"));
  EXPECT_EQ(versionNumbers(), QStringLiteral("1.1.0"));
}

TEST(Splash, TheShadowedNameEndsAboveTheEditionTitle) {
  frmSplash splash;
  auto* shadow = splash.findChild<QLabel*>(QStringLiteral("lblProductName1"));
  auto* edition = splash.findChild<QLabel*>(QStringLiteral("lblProductName2"));
  const QFontMetrics name(shadow->font()), title(edition->font());
  // The shadow's baseline (its letters have no descenders) stands above the title's letters.
  const int shadowBaseline = shadow->y() + (shadow->height() - name.height()) / 2 + name.ascent();
  const int titleTop = edition->y() + (edition->height() - title.height()) / 2 + title.ascent() - title.capHeight();
  EXPECT_LE(shadowBaseline, titleTop);
}

TEST(Splash, IsNotAStayOnTopWindowAndTakesNoFocus) {
  frmSplash splash;
  EXPECT_FALSE(splash.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  // A splash window: the desktop lists it in no task bar.
  EXPECT_EQ(splash.windowType(), Qt::SplashScreen);
  EXPECT_TRUE(splash.testAttribute(Qt::WA_ShowWithoutActivating));
}

TEST(Splash, TheLogoIsTheDesignedSize) {
  const QImage logo = frmSplash::drawLogo();
  EXPECT_EQ(logo.size(), QSize(129, 110));
}

}  // namespace
}  // namespace tovakin::gui
