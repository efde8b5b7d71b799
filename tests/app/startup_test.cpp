#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cursor.h"
#include "app/foundation_fixture.h"
#include "platform/file_system.h"
#include "support/recording_cursor.h"

namespace tovakin::app {
namespace {

using testing::readAll;
using testing::writeAll;

class StartupTest : public testing::FoundationTest {
 protected:
  void SetUp() override {
    FoundationTest::SetUp();
    setAppFolderOverride(root_);
    g_calcSettings = CalcSettings{};
    g_calcSettingsDefault = CalcSettings{};
  }
  testing::RecordingBusyCursor cursor_;
  static void noRebuild() {}
};

TEST_F(StartupTest, AMissingSettingsFileIsCreatedAndLoaded) {
  std::vector<std::string> steps;
  EXPECT_EQ(runStartup([&] { steps.push_back("rebuild"); }, [&](const std::string& text) { steps.push_back(text); }),
            StartupOutcome::Ready);
  EXPECT_EQ(steps, (std::vector<std::string>{"初期設定を行っています。しばらくお待ち下さい。",
                                             "作業ファイル設定を確認しています。しばらくお待ち下さい。",
                                             "データベース設定を行っています。しばらくお待ち下さい。", "rebuild",
                                             "プログラムの動作設定を行っています。しばらくお待ち下さい。",
                                             "メイン画面を呼び出しています。しばらくお待ち下さい。"}));
  EXPECT_EQ(g_app.g_appPath, root_ + "/");
  EXPECT_EQ(iniText().substr(0, 11), "[Tovakin]\r\n");
  EXPECT_EQ(g_calcSettings, builtInCalcSettings());
  EXPECT_EQ(g_calcSettingsDefault, builtInCalcSettings());
  EXPECT_EQ(cursor_.switches, std::vector<bool>{true});  // the caller switches it off after the main window
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_TRUE(errors_.shown.empty());
}

TEST_F(StartupTest, AnExistingSettingsFileIsNeverRewritten) {
  const std::string ini = "[Tovakin]\r\n土の単位体積重量=16\r\n";
  writeAll(root_ + "/TOVAKIN.INI", toCp932(ini));
  EXPECT_EQ(runStartup(noRebuild), StartupOutcome::Ready);
  EXPECT_EQ(readAll(root_ + "/TOVAKIN.INI"), toCp932(ini));
  EXPECT_EQ(g_calcSettings.tuchiTanniJuryo, 16);
  EXPECT_EQ(g_calcSettingsDefault.tuchiTanniJuryo, 18);
}

TEST_F(StartupTest, AHeldWorkbookStopsTheStart) {
  writeAll(root_ + "/DATABASE/Tovakin.xlsx", "workbook");
  writeAll(root_ + "/DATABASE/.~lock.Tovakin.xlsx#", "someone");
  bool rebuilt = false;
  EXPECT_EQ(runStartup([&] { rebuilt = true; }), StartupOutcome::WorkbookInUse);
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "管材データベースファイルが他のアプリケーションで使用中です。\n終了してから、Tovakinを起動して下さい。");
  EXPECT_EQ(messages_.shown[0].buttons, MsgButtons::OK);
  EXPECT_EQ(messages_.shown[0].icon, MsgIcon::None);
  EXPECT_EQ(messages_.shown[0].title, "Tovakin");
  EXPECT_FALSE(rebuilt);
  EXPECT_EQ(g_calcSettings, CalcSettings{});  // the settings are not loaded
  EXPECT_FALSE(fileExists(root_ + "/DATABASE/Tovakin.MDB"));
}

TEST_F(StartupTest, FileCheckResults) {
  MyFlagSet();
  EXPECT_EQ(MyFileCheck(), 0);  // no workbook counts as free
  EXPECT_TRUE(fileExists(iniPath()));
  writeAll(root_ + "/DATABASE/Tovakin.xlsx", "workbook");
  EXPECT_EQ(MyFileCheck(), 0);
  writeAll(root_ + "/DATABASE/.~lock.Tovakin.xlsx#", "someone");
  EXPECT_EQ(MyFileCheck(), 1);
}

TEST_F(StartupTest, AbortInAnErrorBoxEndsTheStart) {
  writeIni("[Tovakin]\r\nK0=bad\r\n");
  errors_.answer(ErrorAnswer::Abort);
  EXPECT_THROW(runStartup(noRebuild), ProgramAborted);
}

}  // namespace
}  // namespace tovakin::app
