#include "app/document_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <bit>
#include <cstring>
#include <filesystem>
#include <string>

#include "support/recording_cursor.h"
#include "app/std_io.h"
#include "app/foundation_fixture.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/ole_date.h"

namespace tovakin::app {
namespace {

using testing::readAll;
using testing::writeAll;

double doubleAt(const std::string& b, std::size_t off) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < 8; ++i) v |= std::uint64_t{static_cast<unsigned char>(b[off + i])} << (8 * i);
  return std::bit_cast<double>(v);
}
std::string padded(const std::string& s, std::size_t n) { return s + std::string(n - s.size(), ' '); }

class DocumentFileTest : public testing::FoundationTest {
 protected:
  std::string dataPath(const std::string& name) const { return app() + "DATA/" + name; }
};

TEST_F(DocumentFileTest, NewRecordGoldenBytes) {
  g_calcSettings.tuchiTanniJuryo = 17;
  DesignData d = newDesignData({"ダクタイル鋳鉄管", "K形", "300", 5});
  d.ganbanFlg = -1;
  const std::string b = encodeDesignData(d);
  ASSERT_EQ(b.size(), 2800u);
  EXPECT_EQ(b.substr(0, 32), padded("Tovakin_A_1_00_00", 32));
  EXPECT_EQ(b.substr(32, 128), std::string(128, ' '));
  EXPECT_EQ(b.substr(180, 128), padded(toCp932("ダクタイル鋳鉄管"), 128));
  EXPECT_EQ(b.substr(548, 32), std::string(32, ' '));
  EXPECT_EQ(b.substr(580, 32), padded("0", 32));
  EXPECT_EQ(b.substr(948, 2), "\xFF\xFF");
  EXPECT_EQ(b.substr(974), std::string(1826, '\0'));
  EXPECT_EQ(doubleAt(b, 428), 90.0);
  EXPECT_EQ(b.substr(428, 8), std::string("\x00\x00\x00\x00\x00\x80\x56\x40", 8));  // 90.0 little-endian
  EXPECT_EQ(doubleAt(b, 436), 0.6);
  EXPECT_EQ(doubleAt(b, 492), 17.0);
  EXPECT_EQ(doubleAt(b, 532), -0.1);  // not a rigid pipe
  EXPECT_EQ(doubleAt(b, 820), 7000.0);
  EXPECT_EQ(doubleAt(b, 828), 3000.0);
  EXPECT_EQ(doubleAt(b, 950), 3.0);
  EXPECT_EQ(doubleAt(b, 966), 2.0);
  EXPECT_EQ(doubleAt(b, 160), doubleAt(b, 168));
  EXPECT_NEAR(doubleAt(b, 160), oleDateNow(), 2.0 / 86400);
  EXPECT_EQ(newDesignData({"", "", "", 0}).chinkahi, 0.7);
  d.ganbanFlg = 0;
  EXPECT_EQ(encodeDesignData(d).substr(948, 2), std::string(2, '\0'));
}

TEST_F(DocumentFileTest, NumbersAreLittleEndianAtTheirOffsets) {
  DesignData d;
  d.spare1 = -2;
  d.kyatapiraSu = 0x01020304;
  d.hanryokuKeisuHoho = 4;
  d.naigaiatuKeisuN = 1.5;
  const std::string b = encodeDesignData(d);
  EXPECT_EQ(b.substr(176, 4), "\xFE\xFF\xFF\xFF");
  EXPECT_EQ(b.substr(620, 4), "\x04\x03\x02\x01");
  EXPECT_EQ(b.substr(760, 4), std::string("\x04\0\0\0", 4));
  EXPECT_EQ(doubleAt(b, 966), 1.5);
  EXPECT_EQ(doubleAt(b, 950), 0.0);  // no gap after the two bytes of ganbanFlg
  // A record never assigned has NUL text fields.
  EXPECT_EQ(b.substr(0, 32), std::string(32, '\0'));
}

TEST_F(DocumentFileTest, TextIsCutOnACharacterBoundary) {
  DesignData d = newDesignData();
  std::string title;
  for (int i = 0; i < 100; ++i) title += "設";  // 100 characters fit the field, 200 bytes do not
  d.keisanshoTitle = "a" + title;
  d.kikaku = "0123456789012345678901234567890123456789";  // 40 characters, cut to 32 on assignment
  const std::string b = encodeDesignData(d);
  std::string expected = "a";
  for (int i = 0; i < 63; ++i) expected += "\x90\xDD";  // 設
  EXPECT_EQ(b.substr(32, 128), expected + " ");
  EXPECT_EQ(b.substr(308, 32), "01234567890123456789012345678901");
  EXPECT_EQ(d.kikaku.str().size(), 32u);
}

TEST_F(DocumentFileTest, ReadAndWriteAgainKeepsEveryByte) {
  std::string bytes(2800, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0x7F);
  // Texts that are valid code page 932, a NaN pattern and odd reserved values.
  std::memcpy(&bytes[0], "Tovakin_A_1_00_00\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 32);
  const std::string kanji = toCp932("管種の名前");
  std::memcpy(&bytes[180], kanji.data(), kanji.size());
  std::memcpy(&bytes[404], "\x01\x00\x00\x00\x00\x00\xF8\x7F", 8);  // spare2: a NaN with payload
  std::memcpy(&bytes[948], "\x34\x12", 2);
  for (std::size_t i = 974; i < 2800; ++i) bytes[i] = static_cast<char>(0x80 + (i % 0x7F));  // spare20: any bytes
  const std::string path = dataPath("roundtrip.PIPEDATA");
  writeAll(path, bytes);

  DesignData d;
  ASSERT_TRUE(データの呼び出し(d, path));
  EXPECT_EQ(myTrim(d.dataTag), "Tovakin_A_1_00_00");
  EXPECT_EQ(d.ganbanFlg, 0x1234);
  ASSERT_TRUE(データの書き出し(d, dataPath("copy.PIPEDATA")));
  EXPECT_EQ(readAll(dataPath("copy.PIPEDATA")), bytes);
  EXPECT_EQ(encodeDesignData(decodeDesignData(bytes)), bytes);
  // No bytes at all read as an all-zero record (the sanitizers check the empty view is safe).
  EXPECT_EQ(encodeDesignData(decodeDesignData(std::string_view{})), std::string(2800, '\0'));
}

TEST_F(DocumentFileTest, WritingOverALongerFileLeavesExactly2800Bytes) {
  const std::string path = dataPath("long.PIPEDATA");
  writeAll(path, std::string(5000, 'x'));
  DesignData d = newDesignData();
  ASSERT_TRUE(データの書き出し(d, path));
  const std::string b = readAll(path);
  EXPECT_EQ(b.size(), 2800u);
  EXPECT_EQ(b, encodeDesignData(d));
  EXPECT_EQ(g_recentFiles[0], path);
}

TEST_F(DocumentFileTest, AFailedWriteKeepsTheOldFileAndReturnsFalse) {
  // A folder in the target's place cannot be replaced by a file.
  const std::string path = dataPath("folder.PIPEDATA");
  ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
  g_recentFiles = {"/keep", "", "", ""};
  DesignData d = newDesignData();
  std::vector<bool> cursor;
  {
    testing::RecordingBusyCursor recording;
    EXPECT_FALSE(データの書き出し(d, path));
    cursor = recording.switches;
  }
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_EQ(errors_.shown[0], "パス名が無効です。(75)\n in データの書き出し");
  EXPECT_EQ(errors_.titles[0], "エラーが発生しました");
  EXPECT_EQ(g_recentFiles[0], "/keep");
  ASSERT_FALSE(cursor.empty());
  EXPECT_TRUE(cursor.front());
  EXPECT_FALSE(cursor.back());
  EXPECT_FALSE(fileExists(iniPath()));  // nothing was stored

  // Retry repeats the write; the second attempt succeeds once the way is free.
  const std::string file = dataPath("retry.PIPEDATA");
  ASSERT_EQ(::mkdir(file.c_str(), 0755), 0);
  errors_.answer(ErrorAnswer::Retry);
  {
    testing::RecordingBusyCursor freeTheWay([&](bool on) {
      if (!on) ::rmdir(file.c_str());  // the box resets the cursor before it is shown
    });
    EXPECT_TRUE(データの書き出し(d, file));
  }
  EXPECT_EQ(readAll(file).size(), 2800u);
}

TEST_F(DocumentFileTest, AFailedWriteGivesTheRuntimeErrorOfItsCause) {
  writeAll(dataPath("file"), "x");
  writeAll(dataPath("read-only.PIPEDATA"), "old");
  ::chmod(dataPath("read-only.PIPEDATA").c_str(), 0444);
  const struct {
    std::string path, box;
  } cases[] = {
      {dataPath("no-folder/a.PIPEDATA"), "パスが見つかりません。(76)"},
      {dataPath("file/a.PIPEDATA"), "パスが見つかりません。(76)"},
      {dataPath("read-only.PIPEDATA"), "書き込みできません。(70)"},
  };
  DesignData d = newDesignData();
  for (const auto& c : cases) {
    errors_.shown.clear();
    EXPECT_FALSE(データの書き出し(d, c.path));
    EXPECT_EQ(errors_.shown, std::vector<std::string>{c.box + "\n in データの書き出し"});
  }
  EXPECT_EQ(readAll(dataPath("read-only.PIPEDATA")), "old");
}

// A file that ends inside the record would open with its missing tail as zeros that look like
// values entered: it is refused as no design file, and nothing of it is taken.
TEST_F(DocumentFileTest, AFileShorterThanTheRecordIsRefusedAndNothingIsTaken) {
  const std::string path = dataPath("short.PIPEDATA");
  DesignData whole = newDesignData();
  whole.henkeiOkureF1 = 1.5;
  const std::string record = encodeDesignData(whole);
  g_recentFiles = {"/a.PIPEDATA", "", "", ""};
  for (std::size_t size : {std::size_t{0}, std::size_t{22}, std::size_t{600}, std::size_t{2799}}) {
    SCOPED_TRACE(size);
    messages_.shown.clear();
    writeAll(path, record.substr(0, size));
    DesignData d = newDesignData();
    d.shijikaku = 120;
    const std::string before = encodeDesignData(d);
    EXPECT_FALSE(データの呼び出し(d, path));
    EXPECT_EQ(encodeDesignData(d), before);
    EXPECT_EQ(myDataFileKind(path), 0);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "ﾌｧｲﾙ'" + path + "'は有効なpipedataではありません。");
    EXPECT_EQ(messages_.shown[0].buttons, MsgButtons::OK);
  }
  EXPECT_TRUE(errors_.shown.empty());
  EXPECT_EQ(g_recentFiles, (std::array<std::string, 4>{"/a.PIPEDATA", "", "", ""}));

  // The whole record reads as it is.
  writeAll(path, record);
  DesignData d;
  EXPECT_EQ(myDataFileKind(path), 3);
  ASSERT_TRUE(データの呼び出し(d, path));
  EXPECT_EQ(d.henkeiOkureF1, 1.5);
  EXPECT_EQ(g_recentFiles[0], path);
}

TEST_F(DocumentFileTest, LongerFileReadsItsFirst2800Bytes) {
  const std::string path = dataPath("longer.PIPEDATA");
  DesignData d = newDesignData();
  d.naigaiatuKeisuN = 4.5;
  writeAll(path, encodeDesignData(d) + std::string(1000, 'z'));
  DesignData r;
  ASSERT_TRUE(データの呼び出し(r, path));
  EXPECT_EQ(r.naigaiatuKeisuN, 4.5);
  EXPECT_EQ(encodeDesignData(r), encodeDesignData(d));
  EXPECT_EQ(g_recentFiles[0], path);
}

TEST_F(DocumentFileTest, AnUnreadableFileLeavesTheRecordAndReturnsFalse) {
  DesignData d = newDesignData();
  d.dokaburi = 1.25;
  EXPECT_FALSE(データの呼び出し(d, dataPath("missing.PIPEDATA")));
  EXPECT_EQ(d.dokaburi, 1.25);
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_EQ(errors_.shown[0], "ファイルが見つかりません。(53)\n in データの呼び出し");
  EXPECT_EQ(g_recentFiles[0], "");
}

// A settings file too large to be one costs the save nothing: the design file is written whole
// and first, the recent-file update is refused in one box, and the settings file stays.
TEST_F(DocumentFileTest, AnOversizedSettingsFileNeitherStopsNorSpoilsASave) {
  writeAll(iniPath(), "[Tovakin]\r\nFILE0=/d/a.PIPEDATA\r\n");
  std::filesystem::resize_file(iniPath(), std::uintmax_t{4} << 30);
  const std::string path = dataPath("case.PIPEDATA");
  DesignData d = newDesignData();
  d.dokaburi = 1.75;
  EXPECT_TRUE(データの書き出し(d, path));
  EXPECT_EQ(readAll(path), encodeDesignData(d));
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_TRUE(errors_.shown[0].ends_with("(7)\n in 履歴ファイル更新")) << errors_.shown[0];
  EXPECT_EQ(g_recentFiles[0], path);
  EXPECT_EQ(std::filesystem::file_size(iniPath()), std::uintmax_t{4} << 30);
  DesignData r;
  EXPECT_TRUE(データの呼び出し(r, path));  // and it opens again
  EXPECT_EQ(r.dokaburi, 1.75);
}

// A settings file that cannot be written after the design file was: the box says that the design
// file itself was saved (or read) and names the settings file, so that nobody takes it for a
// failed save; the design file is there and the call succeeds.
class SettingsFileRefused final : public WriteFaults {
 public:
  explicit SettingsFileRefused(int error) : error_(error) {}
  int before(WriteStage stage, const std::string& path) override {
    return stage == WriteStage::Create && path.find("TOVAKIN.INI") != std::string::npos ? error_ : 0;
  }

 private:
  int error_;
  Installed<WriteFaults> installed_ = installWriteFaults(*this);
};

TEST_F(DocumentFileTest, ASettingsWriteThatFailsAfterASaveSaysTheDesignFileWasSaved) {
  const struct {
    const char* what;
    int error;
    int number;
  } causes[] = {{"full disk", ENOSPC, err::kDiskFull}, {"read-only", EACCES, err::kPermissionDenied}};
  const std::string path = dataPath("case.PIPEDATA");
  for (const auto& cause : causes) {
    for (const bool save : {true, false}) {
      SCOPED_TRACE(std::string(cause.what) + (save ? ", save" : ", open"));
      errors_.shown.clear();
      DesignData d = newDesignData();
      if (!save) {
        ASSERT_TRUE(データの書き出し(d, path));
      }
      SettingsFileRefused refused(cause.error);
      EXPECT_TRUE(save ? データの書き出し(d, path) : データの呼び出し(d, path));
      EXPECT_EQ(readAll(path), encodeDesignData(d));
      const std::string done = save ? "は保存しました" : "は読み込みました";
      EXPECT_EQ(errors_.shown, std::vector<std::string>{
                                   errorDescription(cause.number) + "（設計データ '" + path + "' " + done +
                                   "。設定ファイル '" + iniPath() + "' に最近使ったファイルの一覧を書き込めませんでした。）(" +
                                   std::to_string(cause.number) + ")\n in 履歴ファイル更新"});
    }
  }
}

struct KindCase {
  const char* name;
  std::string content;
  int kind;
};
class FileKindTest : public DocumentFileTest, public ::testing::WithParamInterface<KindCase> {};
TEST_P(FileKindTest, TagDecides) {
  const std::string path = dataPath("kind.PIPEDATA");
  std::string content = GetParam().content;
  if (!content.empty()) content.resize(2800, '\0');  // the tag decides only in a whole record
  writeAll(path, content);
  EXPECT_EQ(myDataFileKind(path), GetParam().kind);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, FileKindTest,
    ::testing::Values(KindCase{"Empty", "", 0}, KindCase{"Short", "Tovakin_", 0},
                      KindCase{"EditionA", "Tovakin_A_1_00_00", 3}, KindCase{"EditionLowerA", "Tovakin_a", 3},
                      KindCase{"EditionF", "Tovakin_F_9", 1}, KindCase{"EditionLowerF", "Tovakin_f", 1},
                      KindCase{"EditionT", "Tovakin_T", 2}, KindCase{"EditionLowerT", "Tovakin_t", 2},
                      KindCase{"OtherEdition", "Tovakin_B_1_00_00", 0}, KindCase{"LowerPrefix", "tovakin_A_1_00_00", 0},
                      KindCase{"DoubleByteNinth", "Tovakin_\x82\x60", 0}, KindCase{"Text", "hello world, not data", 0}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST_F(DocumentFileTest, FileKindOfPathsThatAreNoDataFiles) {
  EXPECT_EQ(myDataFileKind(""), -1);
  EXPECT_EQ(myDataFileKind(dataPath("none.PIPEDATA")), 0);
  const std::string hidden = dataPath(".hidden.PIPEDATA");
  writeAll(hidden, "Tovakin_A_1_00_00");
  EXPECT_EQ(myDataFileKind(hidden), 0);
  EXPECT_EQ(myDataFileKind(app() + "DATA"), 0);  // a folder
  EXPECT_TRUE(errors_.shown.empty());
  EXPECT_TRUE(messages_.shown.empty());
}

}  // namespace
}  // namespace tovakin::app
