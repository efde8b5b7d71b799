// Every path of the calculation run against a stand-in document, with the message windows, the
// file dialog, the boxes and the desktop answered from scripts, the busy pointer recorded and
// the notices caught as they are painted.
#include "document/calculation_run.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/app_state.h"
#include "app/input_limits.h"
#include "calc/reaction_modulus.h"
#include "report/xlsx_report_book.h"
#include "support/calc_fixture.h"
#include "support/fake_pipe_source.h"
#include "support/recording_cursor.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_launcher.h"
#include "support/scripted_message_windows.h"
#include "support/temp_dir.h"

namespace tovakin::testing {
namespace {

using gui::CheckTarget;
using gui::RunOutcome;

// A document whose controls hold `typed`; it records where the check put the focus.
struct FakeDocument final : gui::CalculationDocument {
  DesignData& myData() override { return data; }
  CalcResult& myCalcResult() override { return result; }
  bool myForm2Data() override {
    data = typed;
    return taken;
  }
  void focusCheckTarget(const CheckTarget& target) override { focused.push_back(target); }
  QString lblMyFilename() const override { return path; }
  CommonDialog& dlgCommonDialog() override { return dialog; }
  QWidget* messageOwner() const override { return const_cast<QWidget*>(&owner); }

  QWidget owner;
  DesignData typed, data;
  bool taken = true;  // false: a box refused its text
  CalcResult result;
  QString path;
  std::vector<CheckTarget> focused;
  struct : ScriptedCommonDialog {
    std::function<void()> during;
    DialogOutcome ShowSave() override {
      if (during) during();
      return ScriptedCommonDialog::ShowSave();
    }
  } dialog;
};

// Records the texts of the notice as they reach the screen.
struct NoticePaints final : QObject {
  NoticePaints() { qApp->installEventFilter(this); }
  ~NoticePaints() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* label = event->type() == QEvent::Paint ? qobject_cast<QLabel*>(watched) : nullptr;
    auto* window = label ? qobject_cast<gui::frmMessage*>(label->window()) : nullptr;
    if (window && window->frmMessageSrc == gui::kMessageNotice) {
      const std::string text = window->lblMessage()->text().toStdString();
      if (texts.empty() || texts.back() != text) texts.push_back(text);
    }
    return false;
  }
  std::vector<std::string> texts;
};

struct CalculationRun : CalcTest {
  void SetUp() override {
    CalcTest::SetUp();
    g_app.g_appPath = dir.path() + "/";
    std::filesystem::create_directories(dir.path() + "/DATA");
    g_app.g_templatePath = std::string(TOVAKIN_APPDIR) + "/DATABASE/QXWork.xlsx";
    g_app.g_excelVersion = 12;
    g_app.g_docCount = 1;
    doc.typed = makeDesign(rigidCase());
    doc.result.wv = -1.0;  // no calculation of the case gives it
    // The pointer while a message or the file dialog waits.
    windows.during = [this](gui::frmMessage&) { busyWhileWaiting.push_back(cursor.switches.back()); };
    doc.dialog.during = [this] { busyWhileWaiting.push_back(cursor.switches.back()); };
  }
  void TearDown() override {
    g_app = saved;
    CalcTest::TearDown();
  }
  // After every path: the ordinary pointer, no message window, no run going on.
  void expectCleanEnd() {
    EXPECT_TRUE(cursor.switches.front());
    EXPECT_FALSE(cursor.switches.back());
    EXPECT_EQ(liveMessageWindows(), 0);
    EXPECT_FALSE(gui::calculationRunning());
  }

  AppState saved = g_app;
  test::TempDir dir;
  std::string report = dir.file("my report 1.xlsx");
  report::XlsxReportTemplateOpener opener;
  Installed<report::ReportTemplateOpener> openerInstalled = report::installReportTemplateOpener(opener);
  ScriptedMessageWindows windows;
  RecordingBusyCursor cursor;
  ScriptedMessageBox messages;
  Installed<MessageBoxService> messagesInstalled = installMessageBox(messages);
  ScriptedLauncher desktop;
  NoticePaints notices;
  FakeDocument doc;
  std::vector<bool> busyWhileWaiting;
  struct : ExcelProbe {
    std::int16_t answer = 12;
    std::int16_t version() override { return answer; }
  } probe;
  Installed<ExcelProbe> probeInstalled = installExcelProbe(probe);
};

struct Path {
  const char* name;
  std::function<void(CalculationRun&)> arrange;
  RunOutcome outcome;
  int notices;                 // how many of the four notices were painted, in order
  const char* message;         // the one modal message, "" for none
  bool reportWritten;
  std::vector<ScriptedLauncher::Started> started;  // REPORT: the report's path
  QString (*box)(const QString&) = nullptr;        // the message box that follows, of the path
};

const std::vector<std::string> kNotices{gui::kNoticeChecking, gui::kNoticeCalculating, gui::kNoticeChooseReport,
                                        gui::kNoticeWriting};

void writeReport(CalculationRun& t, int answer) {
  t.doc.dialog.answerOk(t.report);
  t.windows.answer(answer);
}

const Path kPaths[] = {
    {"check", [](CalculationRun& t) { t.doc.typed.naibuMasatukaku = 0.0; }, RunOutcome::CheckFailed, 1,
     "内部摩擦角を0以下にすることは出来ません。", false, {}},
    {"incomplete calculation", [](CalculationRun& t) { t.doc.typed.josaiKaju = "abc"; },
     RunOutcome::CalculationFailed, 2, gui::kNotCompletedText, false, {}},
    {"no report writer", [](CalculationRun& t) { t.probe.answer = -1; }, RunOutcome::NoReportWriter, 2,
     gui::kNoWriterText, false, {}},
    {"report file cancelled", [](CalculationRun& t) { t.doc.dialog.answerCancel(); }, RunOutcome::ReportCancelled, 3,
     "", false, {}},
    {"はい", [](CalculationRun& t) {
       writeReport(t, 1);
       t.desktop.programs["xlsx"] = DesktopProgram{"sheets.desktop", "/usr/bin/sheets", {"--view", "%f"}};
     },
     RunOutcome::ReportOpened, 4, gui::kOpenQuestion, true, {{"/usr/bin/sheets", {"--view", "REPORT"}}}},
    {"いいえ", [](CalculationRun& t) { writeReport(t, 0); }, RunOutcome::ReportKept, 4, gui::kOpenQuestion, true, {}},
    {"no program for .xlsx", [](CalculationRun& t) { writeReport(t, 1); }, RunOutcome::NoProgram, 4,
     gui::kOpenQuestion, true, {}, gui::noReportProgramText},
    {"the program does not start", [](CalculationRun& t) {
       writeReport(t, 1);
       t.desktop.programs["xlsx"] = DesktopProgram{"s.desktop", "/usr/bin/s", {"%f"}};
       t.desktop.starts = false;
     },
     RunOutcome::ProgramNotStarted, 4, gui::kOpenQuestion, true, {{"/usr/bin/s", {"REPORT"}}},
     gui::reportProgramFailedText},
    {"report not written",
     [](CalculationRun& t) {
       std::ofstream(t.report) << "earlier report";
       t.messages.answer(MsgAnswer::Yes);  // overwrite
       g_app.g_templatePath = t.dir.file("missing.xlsx");
       writeReport(t, 1);
     },
     RunOutcome::ReportNotWritten, 4, gui::kNotWrittenText, false, {}},
};

struct RunPath : CalculationRun, ::testing::WithParamInterface<Path> {};

TEST_P(RunPath, ShowsOneMessageWindowAtATimeAndEndsWithTheOrdinaryPointer) {
  const Path& p = GetParam();
  p.arrange(*this);
  g_app.g_excelVersion = funcExcelVersion();  // as the start-up asks it
  EXPECT_EQ(gui::runCalculation(doc), p.outcome);
  EXPECT_EQ(notices.texts, std::vector<std::string>(kNotices.begin(), kNotices.begin() + p.notices));
  ASSERT_EQ(windows.shown.size(), std::string(p.message).empty() ? 0u : 1u);
  for (const auto& shown : windows.shown) {
    EXPECT_EQ(shown.text.toStdString(), p.message);
    EXPECT_EQ(shown.liveWindows, 1) << "the notice is gone before the message comes";
    EXPECT_EQ(shown.owner, &doc.owner);
  }
  EXPECT_EQ(busyWhileWaiting, std::vector<bool>(windows.shown.size() + doc.dialog.calls.size(), false));
  EXPECT_EQ(doc.dialog.calls.size(), p.notices >= 3 ? 1u : 0u);
  EXPECT_EQ(std::filesystem::exists(report) && std::filesystem::file_size(report) > 100, p.reportWritten);
  auto started = p.started;
  for (auto& s : started) std::replace(s.arguments.begin(), s.arguments.end(), std::string("REPORT"), report);
  EXPECT_EQ(desktop.started, started) << "the path with blanks is one argument";
  if (p.box) {
    EXPECT_EQ(messages.shown.at(0).text, p.box(QString::fromStdString(report)).toStdString());
  }
  const bool checked = p.outcome == RunOutcome::CheckFailed;
  EXPECT_EQ(doc.focused, checked ? std::vector<CheckTarget>{CheckTarget::box(12)} : std::vector<CheckTarget>{});
  EXPECT_EQ(doc.result.wv > 0.0, !checked) << "a stopped check keeps the last result";
  expectCleanEnd();
}
INSTANTIATE_TEST_SUITE_P(Paths, RunPath, ::testing::ValuesIn(kPaths), [](const auto& info) {
  return "path" + std::to_string(info.index);
});

// ---- the e' question before the report --------------------------------------------------------

TEST(ReactionModulusQuestion, AskedWhereTheReportWouldStateAnEThatNoLongerHolds) {
  struct Row {
    const char* name;
    std::function<void(DesignData&)> change;
    const char* asks;  // the head of the question, nullptr for none
  };
  const auto formula = [](DesignData& d) {
    d.hanryokuKeisuHoho = 1;
    d.kisozaiMizohaba = 1.0;
    d.hyojunMizohaba = 800;
    d.alphaA = 1.02;  // computed for B 1.0 m
  };
  const Row rows[] = {
      {"an entered e'", [](DesignData&) {}, nullptr},
      {"αa computed for this trench", formula, nullptr},
      {"the trench widened since",
       [&](DesignData& d) {
         formula(d);
         d.kisozaiMizohaba = 1.5;
       },
       "基礎材の反力係数ｅ’の溝幅による補正係数αａ（1.02）は、現在の溝幅Ｂ＝1.500mと標準溝幅BS値＝800.000mmから"
       "求まる値（1.07）と異なります。"},
      {"αa typed",
       [&](DesignData& d) {
         formula(d);
         d.alphaA = 1.05;
       },
       "基礎材の反力係数ｅ’の溝幅による補正係数αａ（1.05）"},
      {"rock ground: αa is not corrected",
       [&](DesignData& d) {
         formula(d);
         d.alphaA = 1.0;
         d.kisozaiMizohaba = 1.5;
         d.ganbanFlg = -1;
       },
       nullptr},
      {"the small-bore value on a 600 pipe", [](DesignData& d) { d.hanryokuKeisuHoho = 3; },
       "基礎材の反力係数ｅ’を「口径300mm以下として3000とする」としていますが、呼び径は600です。"},
      {"the small-bore value on a 300 pipe",
       [](DesignData& d) {
         d.hanryokuKeisuHoho = 3;
         d.yobikei = "300";
       },
       nullptr},
      {"fixed support: no e' sheet",
       [](DesignData& d) {
         d.hanryokuKeisuHoho = 3;
         d.kisoKeishiki = 1;
       },
       nullptr},
      {"a rigid pipe: no e' sheet",
       [](DesignData& d) {
         d.hanryokuKeisuHoho = 3;
         d.kanzaiKubun = 0;
       },
       nullptr},
  };
  for (const Row& row : rows) {
    DesignData d = makeDesign(flexibleCase());
    CalcResult r;
    r.kanzaiKubun = static_cast<std::int32_t>(d.kanzaiKubun);
    row.change(d);
    const std::optional<QString> question = gui::reactionModulusQuestion(d, r);
    ASSERT_EQ(question.has_value(), row.asks != nullptr) << row.name;
    if (!question) continue;
    const std::string text = question->toStdString();
    EXPECT_TRUE(text.starts_with(row.asks)) << text;
    EXPECT_TRUE(text.ends_with(std::string("\r\n計算書をこのまま作成しますか？\r\n") + gui::kReactionModulusBack)) << text;
  }
}

// BS is the other input of αa: one filled for another nominal size gives an αa, and an e', of
// that size.
TEST(ReactionModulusQuestion, AskedWhereBSIsNotTheStandardWidthOfTheCurrentSize) {
  FakePipeSource source;
  source.trenches = {{"300", 700}, {"400", 800}, {"600", 1000}};
  Installed<PipeDataSource> installed = installPipeDataSource(&source);
  struct Row {
    const char* name;
    std::function<void(DesignData&)> change;
    const char* asks;  // the head of the question, nullptr for none
  };
  const Row rows[] = {
      {"BS of the current size", [](DesignData&) {}, nullptr},
      {"BS 700 of VU300 kept after the size became 400",
       [](DesignData& d) {
         d.yobikei = "400";
         d.hyojunMizohaba = 700;
       },
       "基礎材の反力係数ｅ’の標準溝幅BS値（700.000mm）は、現在の呼び径400の標準溝幅（800.000mm）と異なります。"},
      {"a size the table does not hold", [](DesignData& d) { d.yobikei = "350"; }, nullptr},
      {"rock ground: BS corrects nothing", [](DesignData& d) {
         d.yobikei = "400";
         d.ganbanFlg = -1;
       },
       nullptr},
      {"突出型: αa is entered", [](DesignData& d) {
         d.yobikei = "400";
         d.maisetuKeishiki = 1;
       },
       nullptr},
      {"an entered e'", [](DesignData& d) {
         d.yobikei = "400";
         d.hanryokuKeisuHoho = 0;
       },
       nullptr},
  };
  for (const Row& row : rows) {
    DesignData d = makeDesign(flexibleCase());
    d.hanryokuKeisuHoho = 1;
    d.kisozaiMizohaba = 1.2;
    d.hyojunMizohaba = 1000;
    row.change(d);
    d.alphaA = calc::trenchWidthFactor(d.kisozaiMizohaba, d.hyojunMizohaba);  // αa follows B and BS
    CalcResult r;
    r.kanzaiKubun = static_cast<std::int32_t>(d.kanzaiKubun);
    const std::optional<QString> question = gui::reactionModulusQuestion(d, r);
    ASSERT_EQ(question.has_value(), row.asks != nullptr) << row.name;
    if (question) {
      EXPECT_TRUE(question->toStdString().starts_with(row.asks)) << question->toStdString();
    }
  }
}

// A case without a trench has no αa to follow from B: whatever αa it holds is entered, and the
// run does not ask about it at every calculation.
TEST(ReactionModulusQuestion, NotAskedAboutAlphaAWithoutATrench) {
  for (const auto& [burial, width] : {std::pair{1.0, 0.0}, std::pair{1.0, 1.2}, std::pair{0.0, 0.0}}) {
    DesignData d = makeDesign(flexibleCase());
    d.hanryokuKeisuHoho = 1;
    d.maisetuKeishiki = burial;
    d.kisozaiMizohaba = width;
    d.hyojunMizohaba = 800;
    d.alphaA = 1.10;
    CalcResult r;
    r.kanzaiKubun = static_cast<std::int32_t>(d.kanzaiKubun);
    EXPECT_FALSE(gui::reactionModulusQuestion(d, r)) << burial << " " << width;
  }
}

struct ReactionModulusRun : CalculationRun {
  void SetUp() override {
    CalculationRun::SetUp();
    doc.typed = makeDesign(flexibleCase());
    doc.typed.hanryokuKeisuHoho = 3;  // 3000 for a bore of 300 mm or less, on a 600 pipe
  }
};

TEST_F(ReactionModulusRun, NoGoesBackBeforeTheReportFileIsChosen) {
  windows.answer(0);  // いいえ
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReactionModulusQuestioned);
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_EQ(windows.shown[0].mode, gui::kMessageYesNo);
  EXPECT_EQ(windows.shown[0].title.toStdString(), gui::kCheckCaption);
  EXPECT_EQ(windows.shown[0].text, *gui::reactionModulusQuestion(doc.data, doc.result));
  EXPECT_EQ(windows.shown[0].focused, "cmdCommand_0") << "いいえ: Enter alone writes no report";
  EXPECT_EQ(windows.shown[0].liveWindows, 1);
  EXPECT_TRUE(doc.dialog.calls.empty());
  EXPECT_EQ(notices.texts, std::vector<std::string>(kNotices.begin(), kNotices.begin() + 2));
  EXPECT_EQ(doc.focused, std::vector<CheckTarget>{CheckTarget::kisozaiSet()});
  EXPECT_FALSE(std::filesystem::exists(report));
  EXPECT_GT(doc.result.wv, 0.0) << "the calculation itself ran";
  expectCleanEnd();
}

TEST_F(ReactionModulusRun, YesWritesTheReportAsUsual) {
  windows.answer(1);  // はい: the engineer stands by the value
  writeReport(*this, 0);
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReportKept);
  ASSERT_EQ(windows.shown.size(), 2u);
  EXPECT_EQ(windows.shown[1].text.toStdString(), gui::kOpenQuestion);
  EXPECT_EQ(windows.shown[1].focused, "cmdCommand_1") << "はい: the offer to open the report guards nothing";
  EXPECT_EQ(notices.texts, kNotices);
  EXPECT_TRUE(std::filesystem::file_size(report) > 100);
  EXPECT_TRUE(doc.focused.empty());
  expectCleanEnd();
}

// 設計たわみ率 30 for 3.0 passes every deflection check: asked before the report file is chosen,
// where the report checks the deflection; a rigid pipe's report does not state it.
TEST_F(CalculationRun, ADeflectionRatioAboveItsLimitIsAskedBeforeTheReportFile) {
  doc.typed = makeDesign(flexibleCase());
  doc.typed.sekkeiTawamiritu = 30;
  windows.answer(0);  // いいえ
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::LimitQuestioned);
  ASSERT_EQ(windows.shown.size(), 1u);
  EXPECT_EQ(windows.shown[0].title.toStdString(), app::kGuardTitle);
  EXPECT_TRUE(windows.shown[0].text.startsWith(QStringLiteral("設計たわみ率は30.0％で、10.0％を超えています。")));
  EXPECT_EQ(windows.shown[0].focused, "cmdCommand_0") << "いいえ focused";
  EXPECT_TRUE(doc.dialog.calls.empty());
  EXPECT_EQ(doc.focused, std::vector<CheckTarget>{CheckTarget::box(23)});
  expectCleanEnd();

  doc.typed = makeDesign(rigidCase());
  doc.typed.sekkeiTawamiritu = 30;
  EXPECT_TRUE(gui::limitQuestions(doc.typed, CalcResult{}).empty());
}

// A box that refused its text has said so: the run checks nothing.
TEST_F(CalculationRun, ARefusedBoxEndsTheRunBeforeTheCheck) {
  doc.taken = false;
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::CheckFailed);
  EXPECT_TRUE(windows.shown.empty() && notices.texts.empty());
  EXPECT_FALSE(cursor.switches.back());
  EXPECT_EQ(liveMessageWindows(), 0);
}

TEST_F(CalculationRun, TheReportIsProposedFromACopyOfTheDocumentsPath) {
  const std::string dataFile = dir.file("case 1.PIPEDATA");
  std::ofstream(dataFile) << "x";
  doc.path = QString::fromStdString(dataFile);
  writeReport(*this, 0);
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReportKept);
  EXPECT_EQ(doc.dialog.calls.at(0).fileName, dir.file("case 1.xlsx"));
  EXPECT_EQ(doc.path.toStdString(), dataFile) << "the report never becomes the document's file";
}

// A run can be asked for again inside itself: by a timer in the event pass that paints a
// notice, from the file dialog, from a message. None of them starts.
TEST_F(CalculationRun, NoSecondRunStartsInsideARun) {
  std::vector<RunOutcome> inner;
  const auto again = [&] { inner.push_back(gui::runCalculation(doc)); };
  QTimer::singleShot(0, again);
  doc.dialog.during = again;
  windows.during = [&](gui::frmMessage&) { again(); };
  writeReport(*this, 0);
  EXPECT_EQ(gui::runCalculation(doc), RunOutcome::ReportKept);
  EXPECT_EQ(inner, std::vector<RunOutcome>(3, RunOutcome::Refused));
  expectCleanEnd();
}

TEST_F(CalculationRun, AbortEndsTheRunWithoutAWindowOrTheBusyPointerLeft) {
  doc.typed.josaiKaju = "abc";
  box.answer(ErrorAnswer::Abort);
  EXPECT_THROW(gui::runCalculation(doc), ProgramAborted);
  expectCleanEnd();
}

}  // namespace
}  // namespace tovakin::testing
