// Every path of the calculation run against a stand-in document: the check, the calculation, the
// report file, the report and the offer to open it, with the message windows answered from a
// script, the busy pointer recorded and the notices caught as they are painted.
#include "document/calculation_run.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QTimer>
#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/app_state.h"
#include "calc/calc_fixture.h"
#include "document/frm_message.h"
#include "platform/temp_dir.h"
#include "report/xlsx_report_book.h"
#include "support/recording_cursor.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_launcher.h"
#include "support/scripted_message_windows.h"

namespace tovakin::testing {
namespace {

using gui::CheckTarget;
using gui::RunOutcome;

// A document with the controls the check messages point at; its "controls" hold `typed`, which
// myForm2Data copies into the record.
class FakeDocument final : public gui::CalculationDocument {
 public:
  FakeDocument() {
    owner.resize(600, 400);
    for (int i = 0; i < 24; ++i) {
      boxes[i] = new QLineEdit(QStringLiteral("1.00"), &owner);
      boxes[i]->setObjectName(QStringLiteral("txtTextBox_%1").arg(i));
    }
    for (QComboBox*& c : combos) {
      c = new QComboBox(&owner);
      c->setEditable(true);
    }
    owner.show();
  }

  DesignData& myData() override { return data; }
  CalcResult& myCalcResult() override { return result; }
  void myForm2Data() override {
    ++form2DataCalls;
    data = typed;
  }
  void focusCheckTarget(const CheckTarget& target) override {
    focused.push_back(target);
    // What the message window said when the focus moved: the focus comes first.
    for (QWidget* w : QApplication::allWidgets())
      if (auto* m = qobject_cast<gui::frmMessage*>(w)) textAtFocus = m->lblMessage()->text();
    QWidget* control = nullptr;
    switch (target.kind) {
      case CheckTarget::Kind::TextBox: control = boxes.at(static_cast<std::size_t>(target.textBox)); break;
      case CheckTarget::Kind::Kanshu: control = combos[0]; break;
      case CheckTarget::Kind::Kikaku: control = combos[1]; break;
      case CheckTarget::Kind::Yobina: control = combos[2]; break;
    }
    control->setFocus();
    if (auto* box = qobject_cast<QLineEdit*>(control)) box->selectAll();
  }
  QString lblMyFilename() const override { return path; }
  CommonDialog& dlgCommonDialog() override { return *dialog; }
  QWidget* messageOwner() const override { return const_cast<QWidget*>(&owner); }

  QWidget owner;
  std::array<QLineEdit*, 24> boxes{};
  std::array<QComboBox*, 3> combos{};
  DesignData typed, data;
  CalcResult result;
  int form2DataCalls = 0;
  QString path;
  CommonDialog* dialog = nullptr;
  std::vector<CheckTarget> focused;
  QString textAtFocus;
};

// The save dialog, recording what the program looked like while it was up.
class WatchedDialog final : public ScriptedCommonDialog {
 public:
  DialogOutcome ShowSave() override {
    busyWhileShown.push_back(cursor && !cursor->switches.empty() && cursor->switches.back());
    windowsWhileShown.push_back(liveMessageWindows());
    if (during) during();
    return ScriptedCommonDialog::ShowSave();
  }
  const RecordingBusyCursor* cursor = nullptr;
  std::function<void()> during;
  std::vector<bool> busyWhileShown;
  std::vector<int> windowsWhileShown;
};

// Catches the texts of the notice as they reach the screen.
class NoticePaints final : public QObject {
 public:
  NoticePaints() { qApp->installEventFilter(this); }
  ~NoticePaints() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->objectName() == QLatin1String("lblMessage")) {
      auto* window = qobject_cast<gui::frmMessage*>(static_cast<QWidget*>(watched)->window());
      const QString text = static_cast<QLabel*>(watched)->text();
      if (window && window->frmMessageSrc == gui::kMessageNotice && (texts.empty() || texts.back() != text.toStdString()))
        texts.push_back(text.toStdString());
    }
    return false;
  }
  std::vector<std::string> texts;
};

class CalculationRun : public CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    saved_ = g_app;
    g_app.g_appPath = dir.path() + "/";
    std::filesystem::create_directories(dir.path() + "/DATA");
    g_app.g_templatePath = std::string(TOVAKIN_APPDIR) + "/DATABASE/QXWork.xlsx";
    g_app.g_excelVersion = 12;
    g_app.g_docCount = 1;
    g_app.g_reportPath.clear();
    doc.typed = makeDesign(rigidCase());
    doc.dialog = &dialog;
    dialog.cursor = &cursor;
    doc.result.wv = -1.0;  // a value no calculation of the case gives
  }
  void TearDown() override {
    g_app = saved_;
    CalcTest::TearDown();
  }

  // After every path: the ordinary pointer, no message window, no run going on.
  void expectCleanEnd() {
    ASSERT_FALSE(cursor.switches.empty());
    EXPECT_TRUE(cursor.switches.front()) << "busy while the program works";
    EXPECT_FALSE(cursor.switches.back());
    EXPECT_EQ(liveMessageWindows(), 0);
    EXPECT_FALSE(gui::calculationRunning());
  }

  std::string reportPath(const std::string& name = "report.xlsx") { return dir.file(name); }

  test::TempDir dir;
  report::XlsxReportTemplateOpener opener;
  Installed<report::ReportTemplateOpener> openerInstalled = report::installReportTemplateOpener(opener);
  ScriptedMessageWindows windows;
  RecordingBusyCursor cursor;
  ScriptedMessageBox messages;
  Installed<MessageBoxService> messagesInstalled = installMessageBox(messages);
  ScriptedLauncher desktop;
  WatchedDialog dialog;
  NoticePaints notices;
  FakeDocument doc;

 private:
  AppState saved_;
};

const std::string kChecking = gui::kNoticeChecking, kCalculating = gui::kNoticeCalculating,
                  kChoose = gui::kNoticeChooseReport, kWriting = gui::kNoticeWriting;

// ---- The check ----------------------------------------------------------------------------

TEST_F(CalculationRun, ACheckCodeFocusesTheControlWithItsTextSelectedAndStopsBeforeTheCalculation) {
  const struct {
    const char* what;
    void (*change)(DesignData&);
    CheckTarget target;
    const char* text;
  } rows[] = {
      {"friction angle 0", [](DesignData& d) { d.naibuMasatukaku = 0.0; }, CheckTarget::box(12),
       "内部摩擦角を0以下にすることは出来ません。"},
      {"no pipe type", [](DesignData& d) { d.kanshu = "　"; }, CheckTarget::combo(CheckTarget::Kind::Kanshu),
       "管種を選択して下さい。\r\n目的の管種類データが選択できない場合、管材情報を追加して下さい。"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    doc.typed = makeDesign(rigidCase());
    row.change(doc.typed);
    doc.boxes[12]->setText(QStringLiteral("0.0"));
    doc.focused.clear();
    windows.shown.clear();
    notices.texts.clear();
    cursor.switches.clear();

    EXPECT_EQ(gui::runCalculation(doc), RunOutcome::CheckFailed);

    ASSERT_EQ(windows.shown.size(), 1u);
    EXPECT_EQ(windows.shown[0].mode, gui::kMessageClose);
    EXPECT_EQ(windows.shown[0].title, QStringLiteral("確認して下さい。"));
    EXPECT_EQ(windows.shown[0].text, QString::fromUtf8(row.text));
    EXPECT_EQ(windows.shown[0].liveWindows, 1) << "the notice is gone before the message comes";
    EXPECT_EQ(windows.shown[0].owner, &doc.owner);
    EXPECT_EQ(doc.focused, std::vector<CheckTarget>{row.target});
    EXPECT_EQ(doc.textAtFocus, QString::fromUtf8(gui::kMessageDesignedText)) << "focus before text";
    EXPECT_EQ(notices.texts, std::vector<std::string>{kChecking}) << "no calculating notice";
    EXPECT_EQ(doc.result.wv, -1.0) << "the earlier result stays";
    EXPECT_TRUE(dialog.calls.empty());
    EXPECT_EQ(cursor.switches, (std::vector<bool>{true, false, false}));
    expectCleanEnd();
  }
  EXPECT_EQ(doc.owner.focusWidget(), doc.combos[0]);
  // The box of the first row was focused with its text selected: typing replaces the wrong value.
  doc.typed = makeDesign(rigidCase());
  doc.typed.naibuMasatukaku = 0.0;
  gui::runCalculation(doc);
  EXPECT_EQ(doc.owner.focusWidget(), doc.boxes[12]);
  EXPECT_EQ(doc.boxes[12]->selectedText(), QStringLiteral("0.0"));
  EXPECT_EQ(doc.form2DataCalls, 3);
}

// ---- The calculation ----------------------------------------------------------------------

TEST_F(CalculationRun, AnIncompleteCalculationSaysSoAndWritesNoReport) {
  doc.typed.josaiKaju = "abc";  // the check lets it through, the calculation cannot read it
  dialog.answerOk(reportPath());
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::CalculationFailed);
  EXPECT_FALSE(box.shown.empty());
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_EQ(windows.shown[0].mode, gui::kMessageClose);
  EXPECT_EQ(windows.shown[0].title.toStdString(), gui::kNotCompletedCaption);
  EXPECT_EQ(windows.shown[0].text.toStdString(), gui::kNotCompletedText);
  EXPECT_EQ(windows.shown[0].liveWindows, 1);
  EXPECT_TRUE(dialog.calls.empty()) << "no report file is asked for";
  EXPECT_FALSE(std::filesystem::exists(reportPath()));
  EXPECT_EQ(notices.texts, (std::vector<std::string>{kChecking, kCalculating}));
  expectCleanEnd();
}

TEST_F(CalculationRun, WithoutAReportWriterTheCaseIsCalculatedAndNoFileIsAsked) {
  struct NoWriter final : ExcelProbe {
    std::int16_t version() override { return -1; }
  } probe;
  const auto installed = installExcelProbe(probe);
  g_app.g_excelVersion = funcExcelVersion();
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::NoReportWriter);
  EXPECT_GT(doc.result.wv, 0.0) << "the result stays in the document";
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_EQ(windows.shown[0].title.toStdString(), gui::kFinishedCaption);
  EXPECT_EQ(windows.shown[0].text.toStdString(), gui::kNoWriterText);
  EXPECT_EQ(g_messageAnswer, 0);
  EXPECT_TRUE(dialog.calls.empty());
  expectCleanEnd();
}

// ---- The report file ----------------------------------------------------------------------

TEST_F(CalculationRun, CancellingTheReportFileEndsSilentlyWithTheResultKept) {
  dialog.answerCancel();
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReportCancelled);
  EXPECT_TRUE(windows.shown.empty());
  EXPECT_GT(doc.result.wv, 0.0);
  ASSERT_EQ(dialog.calls.size(), 1u);
  // A document never saved: the default name under the program's DATA folder.
  EXPECT_EQ(dialog.calls[0].fileName, dir.path() + "/DATA/QX0001.xlsx");
  EXPECT_EQ(dialog.busyWhileShown, std::vector<bool>{false}) << "ordinary pointer in the dialog";
  EXPECT_EQ(dialog.windowsWhileShown, std::vector<int>{1}) << "only the notice";
  EXPECT_EQ(notices.texts, (std::vector<std::string>{kChecking, kCalculating, kChoose}));
  expectCleanEnd();
}

TEST_F(CalculationRun, TheReportIsProposedBesideTheDataFileWhoseOwnPathStays) {
  const std::string dataFile = dir.file("case 1.PIPEDATA");
  std::ofstream(dataFile) << "x";
  doc.path = QString::fromStdString(dataFile);
  dialog.answerOk(reportPath("other.xlsx"));
  windows.answer(0);
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReportKept);
  EXPECT_EQ(dialog.calls.at(0).fileName, dir.file("case 1.xlsx"));
  EXPECT_EQ(doc.path.toStdString(), dataFile) << "the document keeps its own file";
  EXPECT_EQ(g_app.g_reportPath, reportPath("other.xlsx"));
}

// ---- The report and the offer to open it ----------------------------------------------------

TEST_F(CalculationRun, YesOpensTheWrittenReportWithTheDesktopsProgramAndItsPathAsOneArgument) {
  const std::string path = reportPath("my report 1.xlsx");
  dialog.answerOk(path);
  desktop.programs["xlsx"] = gui::DesktopProgram{"sheets.desktop", "/usr/bin/sheets", {"--view", "%f"}};
  windows.answer(1);
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReportOpened);

  EXPECT_TRUE(std::filesystem::exists(path));
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_EQ(windows.shown[0].mode, gui::kMessageYesNo);
  EXPECT_EQ(windows.shown[0].title.toStdString(), gui::kFinishedCaption);
  EXPECT_EQ(windows.shown[0].text.toStdString(), gui::kOpenQuestion);
  EXPECT_EQ(windows.shown[0].liveWindows, 1);
  EXPECT_FALSE(windows.shown[0].visibleOther);
  EXPECT_EQ(desktop.lookedUp, std::vector<std::string>{"xlsx"});
  EXPECT_EQ(desktop.started, (std::vector<ScriptedLauncher::Started>{{"/usr/bin/sheets", {"--view", path}}}));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(notices.texts, (std::vector<std::string>{kChecking, kCalculating, kChoose, kWriting}));
  // Busy while working, ordinary in the dialog, busy for the report, ordinary for the question.
  EXPECT_EQ(cursor.switches, (std::vector<bool>{true, false, true, false, false}));
  expectCleanEnd();
}

TEST_F(CalculationRun, NoStartsNothingAndLeavesTheReportWritten) {
  dialog.answerOk(reportPath());
  windows.answer(0);
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReportKept);
  EXPECT_TRUE(std::filesystem::exists(reportPath()));
  EXPECT_TRUE(desktop.lookedUp.empty());
  EXPECT_TRUE(desktop.started.empty());
  EXPECT_EQ(g_messageAnswer, gui::kAnswerNo);
  expectCleanEnd();
}

TEST_F(CalculationRun, WhenTheReportCannotBeOpenedTheUserIsToldWhereItIs) {
  const struct {
    const char* what;
    bool hasProgram;
    bool starts;
    RunOutcome outcome;
    QString (*text)(const QString&);
  } rows[] = {
      {"no program for the type", false, true, RunOutcome::NoProgram, gui::noReportProgramText},
      {"the program does not start", true, false, RunOutcome::ProgramNotStarted, gui::reportProgramFailedText},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    desktop.programs.clear();
    if (row.hasProgram) desktop.programs["xlsx"] = gui::DesktopProgram{"s.desktop", "/usr/bin/s", {"%f"}};
    desktop.starts = row.starts;
    messages.shown.clear();
    dialog.answerOk(reportPath());
    if (std::filesystem::exists(reportPath())) messages.answer(MsgAnswer::Yes);  // overwrite
    windows.answer(1);
    EXPECT_EQ(gui::runCalculation(doc), row.outcome);
    const auto& last = messages.shown.back();
    EXPECT_EQ(last.text, row.text(QString::fromStdString(reportPath())).toStdString());
    EXPECT_NE(last.text.find(reportPath()), std::string::npos);
    EXPECT_EQ(last.buttons, MsgButtons::OK);
    expectCleanEnd();
  }
}

TEST_F(CalculationRun, AReportThatWasNotWrittenIsNeverOfferedAndTheEarlierFileStays) {
  std::ofstream(reportPath()) << "earlier report";
  g_app.g_templatePath = dir.file("DATABASE/missing.xlsx");
  dialog.answerOk(reportPath());
  messages.answer(MsgAnswer::Yes);  // overwrite
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReportNotWritten);
  ASSERT_FALSE(box.shown.empty());
  EXPECT_NE(box.shown[0].find("subExcelSheetCreate"), std::string::npos);
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_EQ(windows.shown[0].mode, gui::kMessageClose) << "no question";
  EXPECT_EQ(windows.shown[0].text.toStdString(), gui::kNotWrittenText);
  std::stringstream kept;
  kept << std::ifstream(reportPath()).rdbuf();
  EXPECT_EQ(kept.str(), "earlier report");
  EXPECT_TRUE(desktop.started.empty());
  expectCleanEnd();
}

// ---- One run at a time ----------------------------------------------------------------------

// A run can be asked for again from inside itself: a timer in the event pass that paints a
// notice, the file dialog's and the messages' own loops. None of them starts a second run.
TEST_F(CalculationRun, NoSecondRunStartsInsideARun) {
  std::vector<RunOutcome> inner;
  QTimer::singleShot(0, [&] { inner.push_back(gui::runCalculation(doc)); });
  dialog.during = [&] {
    EXPECT_TRUE(gui::calculationRunning());
    inner.push_back(gui::runCalculation(doc));
  };
  windows.during = [&](gui::frmMessage&) { inner.push_back(gui::runCalculation(doc)); };
  dialog.answerOk(reportPath());
  windows.answer(0);
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReportKept);
  EXPECT_EQ(inner, (std::vector<RunOutcome>{RunOutcome::Refused, RunOutcome::Refused, RunOutcome::Refused}));
  EXPECT_EQ(doc.form2DataCalls, 1);
  expectCleanEnd();
}

TEST_F(CalculationRun, AbortEndsTheRunWithoutAWindowOrTheBusyPointerLeft) {
  doc.typed.josaiKaju = "abc";
  box.answer(ErrorAnswer::Abort);
  EXPECT_THROW(gui::runCalculation(doc), ProgramAborted);
  expectCleanEnd();
  EXPECT_TRUE(windows.shown.empty());
}

}  // namespace
}  // namespace tovakin::testing
