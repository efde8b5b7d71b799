#include "report/report_file.h"

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "support/xlsx_test_util.h"

namespace tovakin::report {
namespace {

class ReportFileChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = g_app;
    g_app.g_appPath = dir_.path().string() + "/";
    g_app.g_docCount = 1;
    std::filesystem::create_directories(dir_.file("DATA"));
  }
  void TearDown() override { g_app = saved_; }

  std::string app() const { return g_app.g_appPath; }
  void touch(const std::string& path) const { testing::writeFile(path, "x"); }

  testing::TempDir dir_;
  AppState saved_;
  testing::ScriptedCommonDialog dialog_;
  testing::ScriptedMessageBox messages_;
  Installed<MessageBoxService> scope_ = installMessageBox(messages_);
  testing::ScriptedErrorBox errors_{ErrorAnswer::Abort};
};

TEST_F(ReportFileChoice, NeverSavedProposesNumberedNameInData) {
  dialog_.Flags = cdl::kNoChangeDir;
  dialog_.answerOk(app() + "DATA/QX0001.xlsx");
  std::string fileName;
  EXPECT_TRUE(myUserExcelSave(dialog_, fileName));
  ASSERT_EQ(dialog_.calls.size(), 1u);
  const auto& call = dialog_.calls[0];
  EXPECT_EQ(call.kind, testing::ScriptedCommonDialog::Kind::Save);
  EXPECT_EQ(call.fileName, app() + "DATA/QX0001.xlsx");
  EXPECT_EQ(call.initDir, app() + "DATA/");
  EXPECT_EQ(call.filter, "Microsoft Excel (*.xlsx)|*.xlsx");
  EXPECT_EQ(call.title, "ファイルの保存");
  EXPECT_EQ(call.flags, cdl::kNoChangeDir | cdl::kHideReadOnly);
  EXPECT_EQ(fileName, app() + "DATA/QX0001.xlsx");
  EXPECT_EQ(dialog_.FileName, fileName);
  EXPECT_TRUE(dialog_.CancelError);
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ReportFileChoice, DefaultNameKeepsTheLastFourDigitsOfTheCount) {
  g_app.g_docCount = 12345;
  EXPECT_EQ(defaultReportName(""), app() + "DATA/QX2345.xlsx");
  g_app.g_docCount = 7;
  EXPECT_EQ(defaultReportName(""), app() + "DATA/QX0007.xlsx");
  // a data file deleted meanwhile is no data file
  EXPECT_EQ(defaultReportName(app() + "gone.PIPEDATA"), app() + "DATA/QX0007.xlsx");
}

TEST_F(ReportFileChoice, SavedCaseProposesItsOwnNameBesideIt) {
  std::filesystem::create_directories(dir_.file("work.d"));
  const std::string data = dir_.file("work.d/case1.PIPEDATA");
  touch(data);
  std::string fileName = data;
  dialog_.answerOk(dir_.file("work.d/case1.xlsx"));
  EXPECT_TRUE(myUserExcelSave(dialog_, fileName));
  EXPECT_EQ(dialog_.calls[0].fileName, dir_.file("work.d/case1.xlsx"));
  EXPECT_EQ(dialog_.calls[0].initDir, dir_.file("work.d") + "/");
  EXPECT_EQ(fileName, dir_.file("work.d/case1.xlsx"));
}

TEST_F(ReportFileChoice, CancelReturnsFalseAndClearsTheName) {
  dialog_.answerCancel();
  std::string fileName = "keep";
  EXPECT_FALSE(myUserExcelSave(dialog_, fileName));
  EXPECT_EQ(dialog_.FileName, "");
  EXPECT_FALSE(dialog_.CancelError);
  EXPECT_EQ(fileName, "keep");
  EXPECT_TRUE(messages_.shown.empty());
  EXPECT_TRUE(errors_.shown.empty());
}

TEST_F(ReportFileChoice, OverwriteIsAskedOnce) {
  const std::string target = app() + "DATA/old.xlsx";
  touch(target);
  for (MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
    messages_.shown.clear();
    messages_.answer(answer);
    dialog_.answerOk(target);
    std::string fileName;
    const bool ok = myUserExcelSave(dialog_, fileName);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].text, "ファイル 'old.xlsx' は作成されています。\n上書きしますか？");
    EXPECT_EQ(messages_.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages_.shown[0].icon, MsgIcon::None);
    EXPECT_EQ(messages_.shown[0].title, "確認");
    if (answer == MsgAnswer::Yes) {
      EXPECT_TRUE(ok);
      EXPECT_EQ(dialog_.FileName, target);
    } else {
      EXPECT_FALSE(ok);
      EXPECT_EQ(dialog_.FileName, "");
      EXPECT_TRUE(dialog_.CancelError);
    }
  }
}

TEST_F(ReportFileChoice, FileHeldByAnotherProgramIsRefused) {
  const std::string target = app() + "DATA/open.xlsx";
  touch(target);
  touch(app() + "DATA/.~lock.open.xlsx#");
  messages_.answer(MsgAnswer::Yes);  // overwrite? yes
  dialog_.answerOk(target);
  std::string fileName;
  EXPECT_FALSE(myUserExcelSave(dialog_, fileName));
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[1].text, "'" + target + "'は他のアプリケーションが使用中です");
  EXPECT_EQ(messages_.shown[1].buttons, MsgButtons::OK);
  EXPECT_EQ(messages_.shown[1].title, kAppTitle);  // no title of its own
}

TEST_F(ReportFileChoice, MissingFileIsNeverInUse) {
  touch(app() + "DATA/.~lock.new.xlsx#");  // a stale lock beside a file that is not there
  dialog_.answerOk(app() + "DATA/new.xlsx");
  std::string fileName;
  EXPECT_TRUE(myUserExcelSave(dialog_, fileName));
  EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ReportFileChoice, NameWithoutExtensionGetsXlsx) {
  dialog_.answerOk(app() + "DATA/report");
  std::string fileName;
  EXPECT_TRUE(myUserExcelSave(dialog_, fileName));
  EXPECT_EQ(fileName, app() + "DATA/report.xlsx");
  EXPECT_EQ(dialog_.FileName, fileName);

  // the overwrite question is asked about the name with its extension
  touch(app() + "DATA/again.xlsx");
  messages_.answer(MsgAnswer::No);
  dialog_.answerOk(app() + "DATA/again");
  EXPECT_FALSE(myUserExcelSave(dialog_, fileName));
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_NE(messages_.shown[0].text.find("'again.xlsx'"), std::string::npos);
}

// Points in a name are part of it; only the workbook extension, in any case, stands as one.
TEST_F(ReportFileChoice, EveryNameNotEndingWithXlsxGetsIt) {
  const struct {
    const char* typed;
    const char* written;
  } cases[] = {
      {"rep 1.5m", "rep 1.5m.xlsx"}, {"No.3", "No.3.xlsx"},   {"old.xls", "old.xls.xlsx"},
      {"rep.XLSX", "rep.XLSX"},      {"rep.Xlsx", "rep.Xlsx"}, {"rep.", "rep.xlsx"},
  };
  for (const auto& c : cases) {
    dialog_.answerOk(app() + "DATA/" + c.typed);
    std::string fileName;
    EXPECT_TRUE(myUserExcelSave(dialog_, fileName)) << c.typed;
    EXPECT_EQ(fileName, app() + "DATA/" + c.written) << c.typed;
  }
}

}  // namespace
}  // namespace tovakin::report
