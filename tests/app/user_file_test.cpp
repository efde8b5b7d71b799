#include "app/user_file.h"

#include <gtest/gtest.h>

#include <string>

#include "app/document_file.h"
#include "app/foundation_fixture.h"
#include "app/std_io.h"
#include "platform/file_system.h"

namespace tovakin::app {
namespace {

using testing::readAll;
using testing::writeAll;
using Kind = testing::ScriptedCommonDialog::Kind;

class UserFileTest : public testing::FoundationTest {
 protected:
  std::string dataPath(const std::string& name) const { return app() + "DATA/" + name; }
  // A file another program holds: a spreadsheet program's lock file stands beside it.
  void holdOpen(const std::string& name) const { writeAll(app() + "DATA/.~lock." + name + "#", "user"); }

  DesignData record_ = newDesignData();
  testing::ScriptedCommonDialog dialog_;
};

TEST_F(UserFileTest, SavingANewDocumentAsksAndCancelWritesNothing) {
  std::string path;
  bool quiet = true;
  dialog_.Flags = cdl::kNoChangeDir;
  EXPECT_FALSE(myUserSave(record_, dialog_, path, quiet));
  EXPECT_FALSE(quiet);
  EXPECT_EQ(path, "");
  ASSERT_EQ(dialog_.calls.size(), 1u);
  const auto& call = dialog_.calls[0];
  EXPECT_EQ(call.kind, Kind::Save);
  EXPECT_EQ(call.title, "ファイルの保存");
  EXPECT_EQ(call.filter, "Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)|*.PIPEDATA");
  EXPECT_EQ(call.initDir, app() + "DATA/");
  EXPECT_EQ(call.fileName, "noname.PIPEDATA");
  EXPECT_EQ(call.flags, cdl::kNoChangeDir | cdl::kHideReadOnly);
  EXPECT_FALSE(dialog_.CancelError);
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_FALSE(fileExists(iniPath()));  // no recent-file update either
}

TEST_F(UserFileTest, SavingANewDocumentWritesTheChosenFile) {
  std::string path;
  bool quiet = true;
  dialog_.answerOk(dataPath("case1.PIPEDATA"));
  EXPECT_TRUE(myUserSave(record_, dialog_, path, quiet));
  EXPECT_EQ(path, dataPath("case1.PIPEDATA"));
  EXPECT_EQ(dialog_.FileName, path);
  EXPECT_TRUE(dialog_.CancelError);  // stays set after a successful save
  EXPECT_EQ(readAll(path), encodeDesignData(record_));
  EXPECT_EQ(g_recentFiles[0], path);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST(DataFileExtension, EveryNameGetsTheDataFilesExtensionUnlessItEndsWithIt) {
  const struct {
    const char* typed;
    const char* written;
  } cases[] = {
      {"/a/DATA/caseA", "/a/DATA/caseA.PIPEDATA"},
      {"/a/DATA/caseA.PIPEDATA", "/a/DATA/caseA.PIPEDATA"},
      {"/a/DATA/caseA.pipedata", "/a/DATA/caseA.pipedata"},  // the extension in any case stands
      {"/a/DATA/caseA.PipeData", "/a/DATA/caseA.PipeData"},
      // Points inside a name are part of it: a design file is always found by the filter again.
      {"/a/DATA/case 1.5m", "/a/DATA/case 1.5m.PIPEDATA"},
      {"/a/DATA/No.3", "/a/DATA/No.3.PIPEDATA"},
      {"/a/DATA/H21.3", "/a/DATA/H21.3.PIPEDATA"},
      {"/a/DATA/caseA.dat", "/a/DATA/caseA.dat.PIPEDATA"},
      {"/a/DATA/caseA.PIPEDATA.bak", "/a/DATA/caseA.PIPEDATA.bak.PIPEDATA"},
      {"/a/DATA/caseAPIPEDATA", "/a/DATA/caseAPIPEDATA.PIPEDATA"},  // no point, no extension
      {"/a/DATA/caseA.", "/a/DATA/caseA.PIPEDATA"},  // a final point starts no second one
      {"/a/DATA/caseA..", "/a/DATA/caseA.PIPEDATA"},
      {"/a/DATA/.caseA", "/a/DATA/.caseA.PIPEDATA"},
      {"/a/my.data/caseA", "/a/my.data/caseA.PIPEDATA"},  // a point in a folder is no extension
      {"caseA", "caseA.PIPEDATA"},
      {"", ""},
      {"  ", "  "},  // no name at all: nothing is written
  };
  for (const auto& c : cases) EXPECT_EQ(withDataFileExtension(c.typed), c.written) << c.typed;
}

// The filter and the new file's name are made from the one extension, into the texts the dialogs
// have always shown.
TEST(DataFileExtension, TheFilterAndTheNewNameAreMadeFromIt) {
  EXPECT_STREQ(kDataFileFilter, "Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)|*.PIPEDATA");
  EXPECT_STREQ(kNewDocumentFileName, "noname.PIPEDATA");
  EXPECT_EQ(std::string(kDataFileFilter).size() + 1, kDataFileFilterText.size());  // one closing NUL
}

// The recent-file list is kept in CP932: a name it would keep altered is refused, named; the
// wave dash of input methods is kept (as its CP932 counterpart) and saved.
TEST_F(UserFileTest, ANameTheRecentListCannotKeepIsRefusedNamingTheCharacter) {
  std::string path;
  bool quiet = false;
  dialog_.answerOk(dataPath("café 1〜3"));
  EXPECT_FALSE(myUserSave(record_, dialog_, path, quiet));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text,
            "ファイル名 'café 1〜3.PIPEDATA' の「é (U+00E9)」は設定ファイルに書けない文字です。\n別の名前を付けて下さい。");
  EXPECT_FALSE(fileExists(dataPath("café 1〜3.PIPEDATA")));
  EXPECT_EQ(g_recentFiles[0], "");

  dialog_.answerOk(dataPath("区間1〜3"));
  EXPECT_TRUE(myUserSave(record_, dialog_, path, quiet));
  EXPECT_TRUE(fileExists(dataPath("区間1〜3.PIPEDATA")));
  EXPECT_EQ(g_recentFiles[0], path);
}

TEST_F(UserFileTest, ANameWithoutTheExtensionIsSavedListedAndAskedAboutWithIt) {
  // Points in a name are part of it, not an extension.
  for (const std::string name : {"caseA", "case 1.5m"}) {
    SCOPED_TRACE(name);
    messages_.shown.clear();
    std::string path;
    bool quiet = false;
    dialog_.answerOk(dataPath(name));
    EXPECT_TRUE(myUserSave(record_, dialog_, path, quiet));
    EXPECT_EQ(path, dataPath(name + ".PIPEDATA"));
    EXPECT_EQ(dialog_.FileName, path);
    EXPECT_EQ(readAll(path), encodeDesignData(record_));
    EXPECT_FALSE(fileExists(dataPath(name)));
    EXPECT_EQ(g_recentFiles[0], path);

    // The second time the file of the final name exists: the question names it, and No keeps it.
    std::string again;
    dialog_.answerOk(dataPath(name));
    messages_.answer(MsgAnswer::No);
    EXPECT_FALSE(myUserSave(record_, dialog_, again, quiet));
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "ファイル '" + name + ".PIPEDATA' は作成されています。\n上書きしますか？");
  }
}

TEST_F(UserFileTest, QuietSaveReplacesTheFileWithoutAsking) {
  const std::string path0 = dataPath("quiet.PIPEDATA");
  writeAll(path0, std::string(4000, 'q'));
  g_recentFiles = {"/other", "", "", ""};
  std::string path = path0;
  bool quiet = true;
  record_.dokaburi = 2.5;
  EXPECT_TRUE(myUserSave(record_, dialog_, path, quiet));
  EXPECT_TRUE(quiet);
  EXPECT_TRUE(dialog_.calls.empty());
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(readAll(path0), encodeDesignData(record_));
  EXPECT_EQ(g_recentFiles, (std::array<std::string, 4>{path0, "/other", "", ""}));
}

TEST_F(UserFileTest, QuietSaveAfterTheFileVanishedOpensTheDialogWithTheOldName) {
  std::string path = dataPath("gone.PIPEDATA");
  bool quiet = true;
  dialog_.answerOk(path);
  EXPECT_TRUE(myUserSave(record_, dialog_, path, quiet));
  EXPECT_FALSE(quiet);
  ASSERT_EQ(dialog_.calls.size(), 1u);
  EXPECT_EQ(dialog_.calls[0].fileName, dataPath("gone.PIPEDATA"));
  EXPECT_TRUE(messages_.shown.empty());  // the file is not there, so nothing to overwrite
  EXPECT_EQ(readAll(path).size(), 2800u);
}

TEST_F(UserFileTest, DecliningToOverwriteKeepsTheFile) {
  const std::string target = dataPath("exists.PIPEDATA");
  writeAll(target, "old content");
  std::string path = dataPath("mine.PIPEDATA");
  bool quiet = false;
  dialog_.answerOk(target);
  messages_.answer(MsgAnswer::No);
  EXPECT_FALSE(myUserSave(record_, dialog_, path, quiet));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "ファイル 'exists.PIPEDATA' は作成されています。\n上書きしますか？");
  EXPECT_EQ(messages_.shown[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(messages_.shown[0].icon, MsgIcon::None);
  EXPECT_EQ(messages_.shown[0].title, "確認");
  EXPECT_EQ(readAll(target), "old content");
  EXPECT_EQ(g_recentFiles[0], "");
}

TEST_F(UserFileTest, OverwritingAfterYes) {
  const std::string target = dataPath("exists.PIPEDATA");
  writeAll(target, "old content");
  std::string path = target;
  bool quiet = false;  // save as onto the document's own file
  dialog_.answerOk(target);
  messages_.answer(MsgAnswer::Yes);
  EXPECT_TRUE(myUserSave(record_, dialog_, path, quiet));
  EXPECT_EQ(readAll(target), encodeDesignData(record_));
}

TEST_F(UserFileTest, AFileInUseIsRefusedAfterTheOverwriteQuestion) {
  const std::string target = dataPath("held.PIPEDATA");
  writeAll(target, "held");
  holdOpen("held.PIPEDATA");
  std::string path;
  bool quiet = false;
  dialog_.answerOk(target);
  messages_.answer(MsgAnswer::Yes);
  EXPECT_FALSE(myUserSave(record_, dialog_, path, quiet));
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[1].text, "'" + target + "'は他のアプリケーションが使用中です");
  EXPECT_EQ(messages_.shown[1].buttons, MsgButtons::OK);
  EXPECT_EQ(messages_.shown[1].icon, MsgIcon::None);
  EXPECT_EQ(messages_.shown[1].title, "Tovakin");
  EXPECT_EQ(readAll(target), "held");

  // A quiet save to a held file is refused the same way, without any question.
  messages_.shown.clear();
  path = target;
  quiet = true;
  EXPECT_FALSE(myUserSave(record_, dialog_, path, quiet));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(readAll(target), "held");
}

TEST_F(UserFileTest, NoPathChosenIsNotASave) {
  std::string path;
  bool quiet = false;
  dialog_.answerOk("  ");
  EXPECT_FALSE(myUserSave(record_, dialog_, path, quiet));
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(g_recentFiles[0], "");
}

TEST_F(UserFileTest, AFailedWriteIsNotASave) {
  std::string path;
  bool quiet = false;
  dialog_.answerOk(app() + "no-such-folder/case.PIPEDATA");
  EXPECT_FALSE(myUserSave(record_, dialog_, path, quiet));
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_EQ(errors_.shown[0], "パスが見つかりません。(76)\n in データの書き出し");
  EXPECT_EQ(g_recentFiles[0], "");
}

TEST_F(UserFileTest, OpenWithACancelledDialog) {
  DesignData before = record_;
  std::string path;
  dialog_.FileName = dataPath("last.PIPEDATA");
  dialog_.CancelError = false;
  EXPECT_FALSE(myUserLoad(record_, dialog_, path));
  EXPECT_EQ(path, "");
  ASSERT_EQ(dialog_.calls.size(), 1u);
  const auto& call = dialog_.calls[0];
  EXPECT_EQ(call.kind, Kind::Open);
  EXPECT_EQ(call.title, "ファイルを開く");
  EXPECT_EQ(call.filter, "Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)|*.PIPEDATA|すべてのﾌｧｲﾙ(*.*)|*.*");
  EXPECT_EQ(call.initDir, app() + "DATA/");
  EXPECT_EQ(call.fileName, dataPath("last.PIPEDATA"));  // the name the dialog held last
  EXPECT_EQ(call.flags & cdl::kHideReadOnly, cdl::kHideReadOnly);
  EXPECT_FALSE(dialog_.CancelError);
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_EQ(encodeDesignData(record_), encodeDesignData(before));
}

TEST_F(UserFileTest, OpenOfAMissingFileReportsIt) {
  DesignData before = record_;
  g_recentFiles = {"/a", "/b", "", ""};
  std::string path = dataPath("missing.PIPEDATA");
  EXPECT_FALSE(myUserLoad(record_, dialog_, path));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(messages_.shown[0].text, "指定ファイル '" + path + "' から読み込み出来ません。");
  EXPECT_EQ(messages_.shown[0].buttons, MsgButtons::OK);
  EXPECT_EQ(messages_.shown[0].title, "Tovakin");
  EXPECT_EQ(encodeDesignData(record_), encodeDesignData(before));
  EXPECT_EQ(g_recentFiles, (std::array<std::string, 4>{"/a", "/b", "", ""}));
  EXPECT_TRUE(dialog_.calls.empty());
}

TEST_F(UserFileTest, OpenThroughTheDialogReadsTheFile) {
  DesignData saved = newDesignData();
  saved.keisanshoTitle = "第一工区";
  const std::string file = dataPath("第一工区.pipedata");
  writeAll(file, encodeDesignData(saved));
  std::string path;
  dialog_.answerOk(file);
  EXPECT_TRUE(myUserLoad(record_, dialog_, path));
  EXPECT_EQ(path, file);
  EXPECT_EQ(dialog_.FileName, file);
  EXPECT_EQ(myTrim(record_.keisanshoTitle), "第一工区");
  EXPECT_EQ(g_recentFiles[0], file);
  EXPECT_EQ(myShowOpen(dialog_), "");  // nothing more scripted: cancelled
}

TEST_F(UserFileTest, OpenOfANamedFileNeedsNoDialog) {
  const std::string file = dataPath("named.PIPEDATA");
  writeAll(file, encodeDesignData(record_));
  std::string path = file;
  DesignData r;
  EXPECT_TRUE(myUserLoad(r, dialog_, path));
  EXPECT_TRUE(dialog_.calls.empty());
  EXPECT_EQ(dialog_.FileName, file);
  EXPECT_EQ(encodeDesignData(r), encodeDesignData(record_));
}

}  // namespace
}  // namespace tovakin::app
