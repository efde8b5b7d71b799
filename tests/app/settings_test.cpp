#include "app/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>

#include "app/number_format.h"
#include "app/foundation_fixture.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "support/write_faults.h"

namespace tovakin::app {
namespace {

using testing::readAll;

class SettingsTest : public testing::FoundationTest {
 protected:
  // The box's description for a settings file too large to be one: what it is and what to do.
  std::string tooLarge() const {
    return "メモリが不足しています。（設定ファイル '" + iniPath() +
           "' は 1 MB を超えているため、読み書きできません。このファイルを別の場所へ移すか削除してから、[再試行] "
           "を押して下さい。）";
  }
  // A settings file of several gigabytes that takes no room: only the head has bytes.
  void writeHugeIni(const std::string& head) const {
    writeIni(head);
    std::filesystem::resize_file(iniPath(), std::uintmax_t{4} << 30);
  }
  // Reads the file the way start-up does, from zeroed settings.
  void load() {
    g_calcSettings = CalcSettings{};
    g_calcSettingsDefault = CalcSettings{};
    myAppSetting();
  }
};

TEST_F(SettingsTest, EveryKeyStandsForItsOwnMember) {
  const double n = static_cast<double>(settingsKeys().size());
  CalcSettings probe{};
  for (std::size_t i = 0; i < settingsKeys().size(); ++i) settingsKeys()[i].member(probe) = static_cast<double>(i + 1);
  double sum = 0;
  for (const SettingsKey& k : settingsKeys()) sum += k.member(probe);
  EXPECT_EQ(sum, n * (n + 1) / 2.0);  // no two keys share a member
}

TEST_F(SettingsTest, CreatedFileHoldsTheSectionAndTheBuiltInValues) {
  APP初期値ファイルの作成();
  const std::string text = iniText();
  EXPECT_EQ(text.substr(0, 11), "[Tovakin]\r\n");
  EXPECT_NE(text.find("\r\n土の単位体積重量=18\r\n水の単位体積重量=9.8\r\n飽和土単位体積重量=20\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n車両占有幅=2.75\r\n浮上検討安全率=1.2\r\nK0=0.11\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 13), "Kp180=0.131\r\n");
  EXPECT_EQ(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')), settingsKeys().size() + 1);
  load();
  EXPECT_EQ(g_calcSettings, builtInCalcSettings());
  EXPECT_TRUE(errors_.shown.empty());
}

TEST_F(SettingsTest, MissingFileIsCreatedEmptyAndGivesBuiltInValues) {
  g_recentFiles = {"a", "b", "c", "d"};
  load();
  EXPECT_EQ(g_calcSettings, builtInCalcSettings());
  EXPECT_EQ(g_recentFiles, (std::array<std::string, 4>{}));
  EXPECT_TRUE(fileExists(iniPath()));
  EXPECT_EQ(readAll(iniPath()), "");
}

TEST_F(SettingsTest, SectionLineOnlyGivesBuiltInValues) {
  writeIni("[Tovakin]\r\n");
  load();
  EXPECT_EQ(g_calcSettings, builtInCalcSettings());
  EXPECT_EQ(g_recentFiles, (std::array<std::string, 4>{}));
}

TEST_F(SettingsTest, ValuesAreTrimmedAndEmptyValuesKeepTheBuiltIn) {
  writeIni(
      "[Tovakin]\r\n"
      "土の単位体積重量=\r\n"            // empty: built-in
      "水の単位体積重量=0\r\n"           // zero is a value
      "飽和土単位体積重量=  21.5  \r\n"
      "内部摩擦角=　35　\r\n"             // full-width blanks
      "荷重分布角=\t40\t\r\n"
      "k30=0.5\r\n"                      // key names ignore ASCII case
      "βT25時=-0.25\r\n"
      "後輪荷重T25=1E+3\r\n");
  load();
  CalcSettings expected = builtInCalcSettings();
  expected.mizuTanniJuryo = 0;
  expected.howadoTanniJuryo = 21.5;
  expected.naibuMasatukaku = 35;
  expected.kajuBunpukaku = 40;
  expected.shijikakuKeisu[1][0] = 0.5;
  expected.betaT25 = -0.25;
  expected.korinKaju[0] = 1000;
  EXPECT_EQ(g_calcSettings, expected);
  EXPECT_EQ(g_calcSettingsDefault, builtInCalcSettings());
  EXPECT_TRUE(errors_.shown.empty());
}

TEST_F(SettingsTest, MembersWithoutAKeyKeepTheirBuiltInValues) {
  std::string text = "[Tovakin]\r\n";
  for (const SettingsKey& k : settingsKeys()) text += std::string(k.key) + "=7\r\n";
  text += "kajuA=9\r\nbuRuBunpukaku=9\r\nK360=9\r\nKo150=9\r\n";
  writeIni(text);
  load();
  for (const SettingsKey& k : settingsKeys()) EXPECT_EQ(k.member(g_calcSettings), 7.0) << k.key;
  EXPECT_EQ(g_calcSettings.kajuA, 0.2);
  EXPECT_EQ(g_calcSettings.buruBunpukaku, 45);
  EXPECT_EQ(g_calcSettings.buruKaju, builtInCalcSettings().buruKaju);
  EXPECT_EQ(g_calcSettings.korinKaju[5], 0);
  for (double v : g_calcSettings.shijikakuKeisu[6]) EXPECT_EQ(v, 0);
}

TEST_F(SettingsTest, ANonNumberShowsTheErrorBoxAndKeepsTheBuiltInValue) {
  writeIni("[Tovakin]\r\n土の単位体積重量=abc\r\n水の単位体積重量=1,5\r\n飽和土単位体積重量=19\r\nK0=nan\r\n");
  errors_.answer(ErrorAnswer::Retry);  // Retry repeats the conversion, which fails again
  load();
  ASSERT_EQ(errors_.shown.size(), 4u);
  for (const std::string& text : errors_.shown) EXPECT_EQ(text, "型が一致しません。(13)\n in APP初期値ファイルの読み込み");
  EXPECT_EQ(g_calcSettings.tuchiTanniJuryo, 18);
  EXPECT_EQ(g_calcSettings.mizuTanniJuryo, 9.8);
  EXPECT_EQ(g_calcSettings.howadoTanniJuryo, 19);  // the keys after a bad one are still read
  EXPECT_EQ(g_calcSettings.shijikakuKeisu[0][0], 0.110);
}

TEST_F(SettingsTest, AbortOnABadValueEndsTheProgram) {
  writeIni("[Tovakin]\r\n土の単位体積重量=x\r\n");
  errors_.answer(ErrorAnswer::Abort);
  EXPECT_THROW(load(), ProgramAborted);
}

TEST_F(SettingsTest, AFileLargerThanAnySettingsFileShowsTheBoxAndKeepsTheBuiltInValues) {
  writeIni("[Tovakin]\r\n土の単位体積重量=5\r\nFILE0=/a.PIPEDATA\r\n" + std::string(16u << 20, '\n'));
  g_recentFiles = {"x", "", "", ""};
  load();
  EXPECT_EQ(errors_.shown, std::vector<std::string>{tooLarge() + "(7)\n in APP初期値ファイルの読み込み"});
  EXPECT_EQ(g_calcSettings, builtInCalcSettings());
  EXPECT_EQ(g_recentFiles, (std::array<std::string, 4>{}));
}

// Every writer refuses such a file as the reader does, under its own label, and leaves it as it
// is; the working copy and the recent-file list keep what the program has.
TEST_F(SettingsTest, EveryWriterRefusesAFileLargerThanAnySettingsFileAndLeavesIt) {
  writeHugeIni("[Tovakin]\r\nK0=0.5\r\n");
  g_calcSettings.tuchiTanniJuryo = 17;
  APP初期値ファイルの書き込み();
  myINIWrite(iniPath(), "Tovakin", "K0", "1");
  履歴ファイル更新("/d/a.PIPEDATA");
  EXPECT_EQ(errors_.shown, (std::vector<std::string>{tooLarge() + "(7)\n in APP初期値ファイルの書き込み",
                                                     tooLarge() + "(7)\n in myINIWrite",
                                                     tooLarge() + "(7)\n in 履歴ファイル更新"}));
  EXPECT_EQ(std::filesystem::file_size(iniPath()), std::uintmax_t{4} << 30);
  EXPECT_EQ(readFileBytes(iniPath(), 17), "[Tovakin]\r\nK0=0.5");
  EXPECT_EQ(g_calcSettings.tuchiTanniJuryo, 17);
  EXPECT_EQ(g_recentFiles[0], "/d/a.PIPEDATA");
}

// The user, doing what the box says: moves the file aside while the box is up, then Retry.
class MovingAsideBox final : public ErrorBox {
 public:
  explicit MovingAsideBox(std::string file) : file_(std::move(file)) {}
  ErrorAnswer show(const std::string& text, const std::string& /*title*/) override {
    shown.push_back(text);
    std::filesystem::rename(file_, file_ + ".too-large");
    return ErrorAnswer::Retry;
  }
  std::vector<std::string> shown;

 private:
  std::string file_;
  Installed<ErrorBox> installed_ = installErrorBox(*this);
};

// What the message asks for works: with the file moved aside, Retry writes a new one, which holds
// the recent files of this run, and the oversized file is kept as it was.
TEST_F(SettingsTest, RetryAfterTheOversizedFileIsMovedAsideWritesANewOne) {
  writeHugeIni("[Tovakin]\r\n");
  g_recentFiles = {"/d/old.PIPEDATA", "", "", ""};
  MovingAsideBox user(iniPath());
  履歴ファイル更新("/d/new.PIPEDATA");
  EXPECT_EQ(user.shown, std::vector<std::string>{tooLarge() + "(7)\n in 履歴ファイル更新"});
  EXPECT_EQ(myINIRead(iniPath(), "Tovakin", "FILE0", kIniPathMaxBytes), "/d/new.PIPEDATA");
  EXPECT_EQ(myINIRead(iniPath(), "Tovakin", "FILE1", kIniPathMaxBytes), "/d/old.PIPEDATA");
  EXPECT_EQ(std::filesystem::file_size(iniPath() + ".too-large"), std::uintmax_t{4} << 30);
}

// A link in place of the settings file whose file is gone is followed by every writer and the
// reader, as a replacement follows it: the file is made where the link points, the link stays.
TEST_F(SettingsTest, ADanglingLinkInPlaceOfTheFileGetsItsFile) {
  std::filesystem::create_directory(app() + "store");
  const std::string target = app() + "store/TOVAKIN.INI";
  const struct {
    const char* what;
    std::function<void()> use;
  } cases[] = {
      {"recent files", [] { 履歴ファイル更新("/d/a.PIPEDATA"); }},
      {"options", [] { APP初期値ファイルの書き込み(); }},
      {"one key", [&] { myINIWrite(iniPath(), "Tovakin", "FILE0", "/d/a.PIPEDATA"); }},
      {"reader", [&] { EXPECT_EQ(myINIRead(iniPath(), "Tovakin", "K0"), ""); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(target);
    std::filesystem::remove(iniPath());
    std::filesystem::create_symlink("store/TOVAKIN.INI", iniPath());
    c.use();
    EXPECT_TRUE(errors_.shown.empty()) << errors_.shown.front();
    EXPECT_TRUE(std::filesystem::is_symlink(iniPath()));
    EXPECT_TRUE(fileExists(target));
  }
  EXPECT_EQ(myINIRead(iniPath(), "Tovakin", "FILE0", kIniPathMaxBytes), "");  // the reader made it empty
  履歴ファイル更新("/d/b.PIPEDATA");
  EXPECT_EQ(myINIRead(target, "Tovakin", "FILE0", kIniPathMaxBytes), "/d/b.PIPEDATA");
}

TEST_F(SettingsTest, ValuesAreCutAfter99BytesOnACharacterBoundary) {
  const std::string ascii(120, '1');
  std::string kanji;
  for (int i = 0; i < 60; ++i) kanji += "管";  // two bytes each in the file
  writeIni("[Tovakin]\r\nLONG=" + ascii + "\r\nJP=a" + kanji + "\r\n");
  EXPECT_EQ(myINIRead(iniPath(), "Tovakin", "LONG"), ascii.substr(0, 99));
  const std::string jp = myINIRead(iniPath(), "Tovakin", "JP");
  EXPECT_EQ(toCp932(jp).size(), 99u);  // "a" and 49 characters
  EXPECT_EQ(jp.substr(0, 4), "a管");
  // A calculation key holding more than 99 digits is read from its first 99 bytes.
  writeIni("[Tovakin]\r\n土の単位体積重量=12." + std::string(150, '5') + "\r\n");
  load();
  EXPECT_DOUBLE_EQ(g_calcSettings.tuchiTanniJuryo, 12.555555555555555);
}

TEST_F(SettingsTest, RecentFilePathsAreReadWhole) {
  const std::string longPath = "/" + std::string(300, 'p') + "/設計ケース.PIPEDATA";
  writeIni("[Tovakin]\r\nFILE0=" + longPath + "\r\nFILE2=/b.PIPEDATA\r\nFILE3=\r\n");
  load();
  EXPECT_EQ(g_recentFiles, (std::array<std::string, 4>{longPath, "", "/b.PIPEDATA", ""}));
}

TEST_F(SettingsTest, WritingKeepsOtherKeysSectionsAndLines) {
  const std::string before =
      "; settings\r\n"
      "[Other]\r\n"
      "K0=keep\r\n"
      "[tovakin]\r\n"
      "FILE0=/x/a.PIPEDATA\r\n"
      "K0 = 0.5\r\n"
      "comment line\r\n"
      "[Last]\r\n"
      "z=1\r\n";
  writeIni(before);
  g_calcSettings.shijikakuKeisu[0][0] = 0.1 + 0.2;
  g_calcSettings.tuchiTanniJuryo = 1e-5;
  g_calcSettings.korinKaju[0] = 123456789012345678.0;
  APP初期値ファイルの書き込み();
  const std::string after = iniText();
  const std::string kept =
      "; settings\r\n[Other]\r\nK0=keep\r\n[tovakin]\r\nFILE0=/x/a.PIPEDATA\r\nK0=0.3\r\ncomment line\r\n";
  EXPECT_EQ(after.substr(0, kept.size()), kept);
  EXPECT_NE(after.find("[Last]\r\nz=1\r\n"), std::string::npos);
  EXPECT_NE(after.find("\r\n土の単位体積重量=1E-05\r\n"), std::string::npos);
  EXPECT_NE(after.find("\r\n後輪荷重T25=1.23456789012346E+17\r\n"), std::string::npos);
  for (const SettingsKey& k : settingsKeys())
    EXPECT_EQ(myINIRead(iniPath(), "Tovakin", k.key), formatGeneral(k.member(g_calcSettings))) << k.key;
  // All keys land in the program's own section, before the next section.
  EXPECT_LT(after.find("Kp180="), after.find("[Last]"));
  // The written values read back as the working copy.
  const CalcSettings written = g_calcSettings;
  load();
  EXPECT_EQ(g_calcSettings.shijikakuKeisu[0][0], 0.3);
  EXPECT_EQ(g_calcSettings.tuchiTanniJuryo, written.tuchiTanniJuryo);
  EXPECT_EQ(g_recentFiles[0], "/x/a.PIPEDATA");
}

TEST_F(SettingsTest, WritingIntoAMissingSectionAppendsIt) {
  writeIni("[Other]\r\na=1\r\n");
  myINIWrite(iniPath(), "Tovakin", "FILE1", "/設計/管.PIPEDATA");
  EXPECT_EQ(iniText(), "[Other]\r\na=1\r\n[Tovakin]\r\nFILE1=/設計/管.PIPEDATA\r\n");
  EXPECT_EQ(readAll(iniPath()).find("\x8A\xC7"), readAll(iniPath()).size() - 13);  // 管 in code page 932
}

TEST_F(SettingsTest, AFileThatCannotBeCreatedShowsTheErrorBox) {
  const std::string nowhere = app() + "missing-folder/TOVAKIN.INI";
  EXPECT_EQ(myINIRead(nowhere, "Tovakin", "K0"), "");
  myINIWrite(nowhere, "Tovakin", "K0", "1");
  ASSERT_EQ(errors_.shown.size(), 2u);
  EXPECT_EQ(errors_.shown[0], "パスが見つかりません。（" + nowhere + "）(76)\n in myINIRead");
  EXPECT_EQ(errors_.shown[1], "パスが見つかりません。（" + nowhere + "）(76)\n in myINIWrite");
  EXPECT_FALSE(fileExists(nowhere));
}

// Every writer of the settings file reports under its own label, with the number of the cause.
TEST_F(SettingsTest, WriteFailuresCarryTheCallersLabelAndTheCausesNumber) {
  const struct {
    const char* what;
    int error;  // of the replacement's temporary file; 0: the file cannot even be created
    std::string number;
  } cases[] = {
      {"full disk", ENOSPC, "(61)"},
      {"read-only folder", EACCES, "(70)"},
      {"other cause", EIO, "(75)"},
      {"folder in the way", 0, "(75)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    errors_.shown.clear();
    std::filesystem::remove_all(iniPath());
    if (c.error == 0) {
      std::filesystem::create_directory(iniPath());
    } else {
      writeIni("[Tovakin]\r\n");
    }
    testing::RefusedWrites refused(WriteStage::Create, c.error == 0 ? EIO : c.error);
    APP初期値ファイルの書き込み();
    EXPECT_FALSE(myINIWriteKeys(iniPath(), "Tovakin", {{"FILE0", "/a.PIPEDATA"}}, "myRecentSave"));
    ASSERT_EQ(errors_.shown.size(), 2u);
    EXPECT_TRUE(errors_.shown[0].ends_with(c.number + "\n in APP初期値ファイルの書き込み")) << errors_.shown[0];
    EXPECT_TRUE(errors_.shown[1].ends_with(c.number + "\n in myRecentSave")) << errors_.shown[1];
  }
  std::filesystem::remove_all(iniPath());
}

TEST_F(SettingsTest, CreationInAMissingFolderShowsTheErrorBox) {
  setAppFolderOverride(app() + "missing-folder");
  MyFlagSet();
  APP初期値ファイルの作成();
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_EQ(errors_.shown[0], "パスが見つかりません。(76)\n in APP初期値ファイルの作成");
}

}  // namespace
}  // namespace tovakin::app
