#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/foundation_fixture.h"
#include "app/settings.h"

namespace tovakin::app {
namespace {

using List = std::array<std::string, 4>;

struct UpdateCase {
  const char* name;
  List before;
  std::string path;
  List after;
};

class RecentFilesTest : public testing::FoundationTest, public ::testing::WithParamInterface<UpdateCase> {};

TEST_P(RecentFilesTest, UpdatesTheListAndWritesAllFourKeys) {
  const UpdateCase& c = GetParam();
  writeIni("[Tovakin]\r\nFILE0=stale\r\nFILE1=stale\r\nFILE2=stale\r\nFILE3=stale\r\n");
  g_recentFiles = c.before;
  履歴ファイル更新(c.path);
  EXPECT_EQ(g_recentFiles, c.after);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(myINIRead(iniPath(), "Tovakin", "FILE" + std::to_string(i)), c.after[static_cast<std::size_t>(i)]);
  EXPECT_TRUE(errors_.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecentFilesTest,
    ::testing::Values(
        UpdateCase{"NewPathPushesTheOldestOut", {"A", "B", "C", "D"}, "E", {"E", "A", "B", "C"}},
        UpdateCase{"KnownPathMovesToTheFront", {"A", "B", "C", "D"}, "C", {"C", "A", "B", "D"}},
        UpdateCase{"GapsAreSqueezedOut", {"A", "", "B", ""}, "C", {"C", "A", "B", ""}},
        UpdateCase{"HeadStaysHead", {"A", "B", "", ""}, "A", {"A", "B", "", ""}},
        UpdateCase{"OtherDuplicatesStay", {"A", "B", "A", "B"}, "B", {"B", "A", "A", ""}},
        UpdateCase{"LetterCaseCounts", {"a/x.PIPEDATA", "A/X.PIPEDATA", "", ""}, "A/X.PIPEDATA",
                   {"A/X.PIPEDATA", "a/x.PIPEDATA", "", ""}},
        UpdateCase{"EmptyPathOnlyStores", {"A", "", "B", ""}, "", {"A", "", "B", ""}},
        UpdateCase{"ClearedListIsStoredEmpty", {"", "", "", ""}, "", {"", "", "", ""}}),
    [](const ::testing::TestParamInfo<UpdateCase>& info) { return std::string(info.param.name); });

class RecentFilesStoreTest : public testing::FoundationTest {};

TEST_F(RecentFilesStoreTest, ClearedListIsEmptyAtTheNextStart) {
  APP初期値ファイルの作成();
  g_recentFiles = {"/a/1.PIPEDATA", "/a/2.PIPEDATA", "", ""};
  履歴ファイル更新("/a/3.PIPEDATA");
  g_recentFiles = {};
  myAppSetting();
  EXPECT_EQ(g_recentFiles, (List{"/a/3.PIPEDATA", "/a/1.PIPEDATA", "/a/2.PIPEDATA", ""}));
  g_recentFiles = {};  // the options dialog's clear command
  履歴ファイル更新("");
  g_recentFiles = {"x", "x", "x", "x"};
  myAppSetting();
  EXPECT_EQ(g_recentFiles, List{});
  EXPECT_NE(iniText().find("FILE0=\r\nFILE1=\r\nFILE2=\r\nFILE3=\r\n"), std::string::npos);
}

TEST_F(RecentFilesStoreTest, MissingSettingsFileIsCreated) {
  履歴ファイル更新("/a/b.PIPEDATA");
  EXPECT_EQ(iniText(), "[Tovakin]\r\nFILE0=/a/b.PIPEDATA\r\nFILE1=\r\nFILE2=\r\nFILE3=\r\n");
}

}  // namespace
}  // namespace tovakin::app
