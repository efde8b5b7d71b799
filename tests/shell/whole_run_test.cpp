// The calculation run in the real program's windows: the main window with its document over the
// pipe database the program ships, a case typed into the controls, 計算する, and the report
// read back from its file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

#include "app/app_state.h"
#include "app/settings.h"
#include "calc/pipe_db_sqlite.h"
#include "document/calculation_run.h"
#include "document/frm_document.h"
#include "platform/xlsx.h"
#include "report/sheet_plan.h"
#include "report/xlsx_report_book.h"
#include "shell/frm_main.h"
#include "support/main_window_fixture.h"
#include "support/pipe_db_workbook.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "support/scripted_launcher.h"
#include "support/scripted_message_windows.h"

namespace tovakin::gui::testing {
namespace {

using namespace tovakin::testing;

// The program's folder with the shipped pipe-material workbook, rebuilt once for every test,
// and the windows' icon; removed when the test program ends.
std::string shippedFolder() {
  static const TestApp app;
  static const bool built = [] {
    std::filesystem::copy_file(TOVAKIN_APPDIR "/DATABASE/Tovakin.xlsx", app.workbook());
    std::filesystem::create_directories(app.path() + "IMAGE");
    std::filesystem::copy_file(TOVAKIN_APPDIR "/IMAGE/KANA.ico", app.path() + "IMAGE/KANA.ico");
    EXPECT_EQ(app.rebuild(), std::vector<std::string>{});
    return true;
  }();
  (void)built;
  return app.path();
}

class WholeRun : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    savedSettings_ = g_calcSettings;
    g_calcSettings = builtInCalcSettings();
    g_app.g_appPath = shippedFolder();
    g_app.g_templatePath = std::string(TOVAKIN_APPDIR) + "/DATABASE/QXWork.xlsx";
    main_ = createMainWindow();
    main_->show();
    ASSERT_EQ(main_->documents().size(), 1);
    doc_ = main_->documents().front();
  }
  void TearDown() override {
    if (doc_) doc_->setUnchanged(true);
    main_.reset();
    g_calcSettings = savedSettings_;
    MainWindowTest::TearDown();
  }

  // The user chooses an entry of a list, as a click in the open list does.
  static void choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  // The user clicks into a box, selects its text and types (Japanese through the input method).
  void type(int box, const QString& text, bool japanese = false) {
    QLineEdit* edit = doc_->txtTextBox(box);
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QInputMethodEvent commit;
    commit.setCommitString(text);
    if (japanese) QApplication::sendEvent(edit, &commit);
    else QTest::keyClicks(edit, text);
  }
  void pressCalculate() { QTest::mouseClick(doc_->cmdCommand(1), Qt::LeftButton); }

  // A free flexible pipe in a trench with the cover above He: the report with the most sheets.
  void typeLargestCase() {
    choose(doc_->cbKanshu(), QStringLiteral("ダクタイル鋳鉄管"));
    choose(doc_->cbKikaku(), QStringLiteral("1種"));
    choose(doc_->cbYobina(), QStringLiteral("300"));
    type(0, QStringLiteral("第1幹線 試験計算書"), true);
    type(7, QStringLiteral("2.5"));   // 土かぶり
    type(15, QStringLiteral("2"));    // キャタピラ数
    type(17, QStringLiteral("0.5"));  // 静水圧
    type(18, QStringLiteral("0.25"));  // 水撃圧
  }

  ScriptedMessageWindows windows;
  SqlitePipeDataSource source{shippedFolder()};
  Installed<PipeDataSource> sourceInstalled = installPipeDataSource(&source);
  report::XlsxReportTemplateOpener opener;
  Installed<report::ReportTemplateOpener> openerInstalled = report::installReportTemplateOpener(opener);
  QTemporaryDir reports;
  std::unique_ptr<frmMain> main_;
  QPointer<frmDocument> doc_;

 private:
  CalcSettings savedSettings_;
};

TEST_F(WholeRun, ATypedCaseIsCheckedCorrectedCalculatedAndItsReportWrittenAndOpened) {
  typeLargestCase();
  // The trench width is still 0: the check stops the run at its box, the value selected.
  pressCalculate();
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_EQ(windows.shown[0].title, QStringLiteral("確認して下さい。"));
  EXPECT_EQ(windows.shown[0].text, QStringLiteral("溝幅が小さすぎます。少なくとも管外径値以上にして下さい。"));
  EXPECT_EQ(windows.shown[0].owner, main_.get());
  QLineEdit* width = doc_->txtTextBox(5);
  EXPECT_EQ(doc_->focusWidget(), width);
  EXPECT_EQ(width->selectedText(), width->text());
  QTest::keyClicks(width, QStringLiteral("1.2"));
  EXPECT_EQ(width->text(), QStringLiteral("1.2")) << "the typed correction replaced the wrong value";
  EXPECT_TRUE(dialog.calls.empty());

  const std::string path = reports.filePath(QStringLiteral("第1幹線 計算書.xlsx")).toStdString();
  dialog.answerOk(path);
  desktop.programs["xlsx"] = DesktopProgram{"sheets.desktop", "/usr/bin/sheets", {"%f"}};
  windows.answer(1);
  const bool unchanged = doc_->blnUnchanged();
  pressCalculate();

  EXPECT_TRUE(errors.shown.empty()) << errors.shown.front();
  ASSERT_EQ(windows.shown.size(), 2u);
  EXPECT_EQ(windows.shown[1].text.toStdString(), kOpenQuestion);
  EXPECT_EQ(desktop.started, (std::vector<ScriptedLauncher::Started>{{"/usr/bin/sheets", {path}}}));
  EXPECT_EQ(doc_->lblMyFilename(), QString()) << "the report never becomes the document's file";
  EXPECT_EQ(doc_->blnUnchanged(), unchanged);
  EXPECT_EQ(liveMessageWindows(), 0);

  // The report as the file holds it: the sheets of the case's plan, the title on the cover.
  const auto book = platform::xlsx::Workbook::open(path);
  const report::SheetPlan plan =
      report::computeSheetPlan(report::PlanFacts::of(doc_->myData(), doc_->myCalcResult()));
  EXPECT_EQ(book.sheetNames(), plan.resultNames());
  EXPECT_EQ(book.sheetNames().size(), 16u);
  EXPECT_TRUE(plan.facts.freeFlexible() && plan.facts.aboveHe());
  const auto cover = book.rows("表紙");
  ASSERT_GE(cover.size(), 19u);
  ASSERT_GE(cover[18].size(), 8u);
  EXPECT_EQ(cover[18][7].text, "第1幹線 試験計算書");  // H19
  ASSERT_GE(cover[8].size(), 5u);
  EXPECT_EQ(cover[8][4].text, "管路の構造計算（とう性管）");  // E9
}

// e' by the standard formula with αa computed for a trench of 1.2 m; the trench then widened to
// 1.5 m. 計算する says so before the report file is chosen; いいえ leaves the focus on the button
// of the e' dialog.
TEST_F(WholeRun, AnAlphaAOfAnEarlierTrenchWidthIsAskedAboutBeforeTheReport) {
  typeLargestCase();
  type(5, QStringLiteral("1.2"));
  DesignData& d = doc_->myData();
  d.hanryokuKeisuHoho = 1;
  d.kijunHanryokuKeisu = 5000;
  d.hyojunMizohaba = 800;
  d.alphaA = 1.04;  // 1 + 0.1 × (1200 − 800) / 1000
  d.alphaB = 0.9;
  d.katameDo = 95;
  d.alphaW = 1.0;
  d.hanryokuKeisu = 4680;
  type(5, QStringLiteral("1.5"));
  windows.answer(0);  // いいえ
  pressCalculate();

  EXPECT_TRUE(errors.shown.empty()) << errors.shown.front();
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_TRUE(windows.shown[0].text.startsWith(QStringLiteral(
      "基礎材の反力係数ｅ’の溝幅による補正係数αａ（1.04）は、現在の溝幅Ｂ＝1.500mと標準溝幅BS値＝800.000mmから"
      "求まる値（1.07）と異なります。")))
      << windows.shown[0].text.toStdString();
  EXPECT_TRUE(dialog.calls.empty()) << "no report file is asked for";
  EXPECT_EQ(doc_->focusWidget(), doc_->cmdKisozaiSet());
  EXPECT_EQ(liveMessageWindows(), 0);
}

TEST_F(WholeRun, WhileARunWaitsNoCommandAndNoClosingStartsAndAfterwards閉じるAsks) {
  typeLargestCase();
  type(5, QStringLiteral("1.2"));
  dialog.answerOk(reports.filePath(QStringLiteral("r.xlsx")).toStdString());
  auto* sub = qobject_cast<QMdiSubWindow*>(doc_->parentWidget());
  windows.during = [&](frmMessage&) {
    DocumentCommand(*doc_, QStringLiteral("名前を付けて保存"));
    DocumentCommand(*doc_, QStringLiteral("計算する"));
    EXPECT_FALSE(sub->close());
    EXPECT_FALSE(main_->close());
  };
  pressCalculate();
  EXPECT_EQ(dialog.calls.size(), 1u) << "only the report file was asked for";
  EXPECT_EQ(windows.shown.size(), 1u);
  EXPECT_TRUE(messages.shown.empty()) << "no save question while the run went on";
  EXPECT_FALSE(sub->isHidden());

  // 閉じる: the changed case asks first (Cancel keeps it), a saved one closes at once.
  messages.answer(MsgAnswer::Cancel);
  QTest::mouseClick(doc_->cmdCommand(0), Qt::LeftButton);
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_FALSE(sub->isHidden());
  doc_->setUnchanged(true);
  QTest::mouseClick(doc_->cmdCommand(0), Qt::LeftButton);
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_TRUE(sub->isHidden());
}

}  // namespace
}  // namespace tovakin::gui::testing
