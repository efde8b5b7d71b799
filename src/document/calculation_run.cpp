#include "document/calculation_run.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "app/cursor.h"
#include "app/input_limits.h"
#include "app/number_format.h"
#include "app/std_io.h"
#include "calc/data_check.h"
#include "calc/pipe_calc.h"
#include "calc/pipe_lookups.h"
#include "calc/reaction_modulus.h"
#include "dialogs/kisozai_rules.h"
#include "document/document_rules.h"
#include "document/frm_message.h"
#include "platform/error_box.h"
#include "platform/message_box.h"
#include "report/report_file.h"
#include "report/report_writer.h"
#include "report/sheet_plan.h"
#include "ui/file_dialog.h"
#include "ui/launcher.h"

namespace tovakin::gui {

namespace {

constexpr const char* kLabel = "cmdCommand_Click";

bool g_running = false;

// One run. The message window in use is the only one: every change of mode takes the old window
// down before the new one is made. Leaving the run by any path (the end of a branch, or Abort in
// an error box) takes the last window down and puts the ordinary pointer back.
class Run {
 public:
  explicit Run(CalculationDocument& document) : doc_(document) { g_running = true; }
  ~Run() {
    closeMessage();
    砂時計(false);
    g_running = false;
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  RunOutcome go();

 private:
  frmMessage& newMessage(int mode) {
    closeMessage();
    message_ = new frmMessage(mode, doc_.messageOwner());
    return *message_;
  }
  void closeMessage() {
    if (!message_) return;
    message_->unload();
    delete message_;
    message_ = nullptr;
  }
  // The notice's text, painted before the next step goes on; the first notice of the run makes
  // the window. A new window reaches the screen only through the event queue (the window system
  // maps and exposes it there), so each text is followed by one pass over the queue that leaves
  // the user's input (keys, mouse, closing) waiting until the run is over; whatever else runs in
  // that pass finds calculationRunning() true and starts nothing.
  void notice(const char* text) {
    if (!message_ || message_->frmMessageSrc != kMessageNotice) {
      newMessage(kMessageNotice).showNotice();
    }
    message_->setMessage(QString::fromUtf8(text));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (message_) message_->repaint();
  }
  // A close-button message or a question, with the ordinary pointer; the notice goes first.
  // A question that guards a slip opens with いいえ focused.
  std::int32_t modal(int mode, const char* caption, const QString& text, bool noFocused = false) {
    砂時計(false);
    frmMessage& message = newMessage(mode);
    message.setWindowTitle(QString::fromUtf8(caption));
    message.setMessage(text);
    message.setNoFocused(noFocused);
    const std::int32_t answer = message.showModal();
    closeMessage();
    return answer;
  }
  std::optional<RunOutcome> check();
  std::optional<RunOutcome> calculate();
  std::optional<RunOutcome> confirmReactionModulus();
  std::optional<RunOutcome> confirmLimits();
  std::optional<RunOutcome> chooseReport();
  std::optional<RunOutcome> writeReport();
  RunOutcome offerReport();
  RunOutcome openReport();

  CalculationDocument& doc_;
  QPointer<frmMessage> message_;  // the program's g_msgForm
};

// The steps in their order; the first that stops the run says how it ended.
RunOutcome Run::go() {
  for (const auto step : {&Run::check, &Run::calculate, &Run::confirmReactionModulus, &Run::confirmLimits,
                          &Run::chooseReport, &Run::writeReport}) {
    if (const std::optional<RunOutcome> stop = (this->*step)()) return *stop;
  }
  return offerReport();
}

std::optional<RunOutcome> Run::check() {
  // Without a usable pipe database nothing is calculated: one message says why.
  if (const auto why = calc::pipeDataUnavailable()) {
    modal(kMessageClose, kNotCompletedCaption, QString::fromStdString(*why));
    return RunOutcome::CalculationFailed;
  }
  // A box that refuses its text has said so and holds the focus: nothing is checked.
  bool taken = true;
  guardStep(kLabel, [&] { taken = doc_.myForm2Data(); });
  if (!taken) return RunOutcome::CheckFailed;
  砂時計(true);

  notice(kNoticeChecking);
  std::int32_t code = 0;
  guardStep(kLabel, [&] { code = calc::MyDataCheck(doc_.myData()); });
  if (code == 0) return std::nullopt;
  砂時計(false);
  closeMessage();
  frmMessage& message = newMessage(kMessageClose);
  message.setWindowTitle(QString::fromUtf8(kCheckCaption));
  計算エラー処理(code, doc_, message);
  message.showModal();
  closeMessage();
  return RunOutcome::CheckFailed;
}

std::optional<RunOutcome> Run::calculate() {
  notice(kNoticeCalculating);
  bool completed = false;
  guardStep(kLabel, [&] { completed = calc::funcPipeCalc(doc_.myData(), doc_.myCalcResult()); });
  if (!completed) {
    // Members of this case that could not be calculated hold an earlier case's values: a report
    // of them would show that case's numbers and verdicts as this one's.
    modal(kMessageClose, kNotCompletedCaption, QString::fromUtf8(kNotCompletedText));
    return RunOutcome::CalculationFailed;
  }
  if (g_app.g_excelVersion < kFirstUsableExcel) {
    modal(kMessageClose, kFinishedCaption, QString::fromUtf8(kNoWriterText));
    return RunOutcome::NoReportWriter;
  }
  return std::nullopt;
}

// The e' is what passes or fails every flexible pipe: a report must not state one that no
// longer follows from the case without the user having seen why.
std::optional<RunOutcome> Run::confirmReactionModulus() {
  std::optional<QString> question;
  guardStep(kLabel, [&] { question = reactionModulusQuestion(doc_.myData(), doc_.myCalcResult()); });
  if (!question || modal(kMessageYesNo, kCheckCaption, *question, true) == kAnswerYes) return std::nullopt;
  guardStep(kLabel, [&] { doc_.focusCheckTarget(CheckTarget::kisozaiSet()); });
  return RunOutcome::ReactionModulusQuestioned;
}

// A value beyond its limit (設計たわみ率 30 for 3.0) passes checks it should fail: each is
// confirmed before a report states it.
std::optional<RunOutcome> Run::confirmLimits() {
  std::vector<LimitQuestion> questions;
  guardStep(kLabel, [&] { questions = limitQuestions(doc_.myData(), doc_.myCalcResult()); });
  for (const LimitQuestion& question : questions) {
    if (modal(kMessageYesNo, kGuardTitle, question.text, true) == kAnswerYes) continue;
    guardStep(kLabel, [&] { doc_.focusCheckTarget(CheckTarget::box(question.box)); });
    return RunOutcome::LimitQuestioned;
  }
  return std::nullopt;
}

// The dialog starts from a copy of the document's path, so the choice never becomes the
// document's own file (the next quiet save would write the case over the report). The choice
// stays in the dialog, where the writer reads it.
std::optional<RunOutcome> Run::chooseReport() {
  notice(kNoticeChooseReport);
  std::string startFrom = doc_.lblMyFilename().toStdString();
  bool chosen = false;
  砂時計(false);
  {
    // The notice says what to choose: it stays in sight beside the file dialog, not under it.
    const KeepBesideFileDialog keep(message_);
    guardStep(kLabel, [&] { chosen = report::myUserExcelSave(doc_.dlgCommonDialog(), startFrom); });
  }
  if (!chosen) return RunOutcome::ReportCancelled;
  砂時計(true);
  return std::nullopt;
}

// The writer records the file it wrote in g_app.g_reportPath, which the offer to open the
// report reads: the file opened is always the file written.
std::optional<RunOutcome> Run::writeReport() {
  notice(kNoticeWriting);
  bool written = false;
  guardStep(kLabel, [&] { written = report::subExcelSheetCreate(doc_.myData(), doc_.myCalcResult(), doc_.dlgCommonDialog()); });
  if (written) return std::nullopt;
  // The file at the path, if any, is not this case's report: never offer to open it.
  modal(kMessageClose, kFinishedCaption, QString::fromUtf8(kNotWrittenText));
  return RunOutcome::ReportNotWritten;
}

RunOutcome Run::offerReport() {
  if (modal(kMessageYesNo, kFinishedCaption, QString::fromUtf8(kOpenQuestion)) != kAnswerYes) {
    return RunOutcome::ReportKept;
  }
  RunOutcome outcome = RunOutcome::ProgramNotStarted;
  guardStep(kLabel, [&] { outcome = openReport(); });
  return outcome;
}

// The report with the program the desktop uses for its type; the path is one argument, blanks
// and all.
RunOutcome Run::openReport() {
  const std::string path = g_app.g_reportPath;
  const std::string extension = std::string(report::kReportExtension).substr(1);
  // The answer the main window had from the desktop: asking again would freeze the windows.
  const auto program = knownDefaultProgram(extension);
  if (!program) {
    msgBox(noReportProgramText(QString::fromStdString(path)).toStdString(), MsgButtons::OK, MsgIcon::Information);
    return RunOutcome::NoProgram;
  }
  if (!startDesktopProgram(*program, {path})) {
    msgBox(reportProgramFailedText(QString::fromStdString(path)).toStdString(), MsgButtons::OK, MsgIcon::Exclamation);
    return RunOutcome::ProgramNotStarted;
  }
  return RunOutcome::ReportOpened;
}

// The standard trench width of the case's nominal size, 0 where the table has none.
double standardWidthOf(const DesignData& d) {
  const calc::PipeDataAction action;
  std::string size = myTrim(d.yobikei);
  const double width = calc::func標準溝幅(size);
  return action.failed() ? 0.0 : width;
}

}  // namespace

RunOutcome runCalculation(CalculationDocument& document) {
  if (g_running) return RunOutcome::Refused;
  Run run(document);
  return run.go();
}

bool calculationRunning() { return g_running; }

void 計算エラー処理(std::int32_t code, CalculationDocument& document, frmMessage& message) {
  const CheckMessage row = checkMessage(code);
  const char* label = "計算エラー処理";
  // The focus first: the text is what the user reads once the control is ready for the fix.
  if (row.focus) guardStep(label, [&] { document.focusCheckTarget(*row.focus); });
  if (row.text) guardStep(label, [&] { message.setMessage(*row.text); });
}

std::optional<QString> reactionModulusQuestion(const DesignData& d, const CalcResult& r) {
  if (!report::computeSheetPlan(d, r).find(report::Section::ReactionModulus)) return std::nullopt;
  // αa follows from the trench width and BS, and BS from the nominal size; a case without a
  // trench takes αa as entered.
  const std::optional<ReactionModulusMethod> method = reactionModulusMethodOf(d.hanryokuKeisuHoho);
  const bool derivedAlphaA = method == ReactionModulusMethod::Formula && d.ganbanFlg == 0 &&
                             !calc::withoutTrench(d.maisetuKeishiki, d.kisozaiMizohaba);
  std::string why;
  double standardWidth = 0.0;
  if (derivedAlphaA && !calc::trenchWidthFactorFollows(d.kisozaiMizohaba, d.hyojunMizohaba, d.alphaA)) {
    why = "基礎材の反力係数ｅ’の溝幅による補正係数αａ（" + formatPattern(d.alphaA, "0.00") + "）は、現在の溝幅Ｂ＝" +
          formatPattern(d.kisozaiMizohaba, "0.000") + "mと標準溝幅BS値＝" + formatPattern(d.hyojunMizohaba, "0.000") +
          "mmから求まる値（" + formatPattern(calc::trenchWidthFactor(d.kisozaiMizohaba, d.hyojunMizohaba), "0.00") +
          "）と異なります。";
  } else if (derivedAlphaA && (standardWidth = standardWidthOf(d)) != 0.0 &&
             formatPattern(standardWidth, "0.000") != formatPattern(d.hyojunMizohaba, "0.000")) {
    why = "基礎材の反力係数ｅ’の標準溝幅BS値（" + formatPattern(d.hyojunMizohaba, "0.000") + "mm）は、現在の呼び径" +
          myTrim(d.yobikei) + "の標準溝幅（" + formatPattern(standardWidth, "0.000") + "mm）と異なります。";
  } else if (method == ReactionModulusMethod::SmallBore && calc::beyondSmallBore(d.yobikei.str())) {
    why = "基礎材の反力係数ｅ’を「" + kisozaiMethodCaption(ReactionModulusMethod::SmallBore) + "」としていますが、呼び径は" +
          myTrim(d.yobikei) + "です。";
  } else {
    return std::nullopt;
  }
  return QString::fromStdString(why + "\r\n計算書をこのまま作成しますか？\r\n" + kReactionModulusBack);
}

namespace {
// Whether the report states a field: the allowed deflection and the deformation-lag factors only
// where it checks the deflection or the EI of a flexible pipe (a rigid pipe's window does not
// even show them).
bool reportUses(double DesignData::*field, const report::SheetPlan& plan) {
  using D = DesignData;
  for (double D::*flexible : {&D::sekkeiTawamiritu, &D::henkeiOkureF1, &D::henkeiOkureF2})
    if (field == flexible) return plan.find(report::Section::DeflectionOrEi) != nullptr;
  return true;
}
}  // namespace

std::vector<LimitQuestion> limitQuestions(const DesignData& d, const CalcResult& r) {
  const report::SheetPlan plan = report::computeSheetPlan(d, r);
  std::vector<LimitQuestion> questions;
  for (const InputLimit& row : inputLimits()) {
    if (row.place != LimitPlace::Calculation || !beyondLimit(row, d) || !reportUses(row.field, plan))
      continue;
    // A row of the run names a field the window shows: boxOf raises for any other.
    questions.push_back({boxOf(RecordField(row.field)).index, QString::fromStdString(limitQuestion(row, d))});
  }
  return questions;
}

QString noExcelMessage() {
  return QStringLiteral("本プログラムでは Excel 97 以降が必要です。\nインストールされていない場合、データ入力のみ可能です。");
}

QString noReportProgramText(const QString& reportPath) {
  return QStringLiteral("計算書を開くプログラムが見つかりません。\n計算書は次の場所に保存されています。\n") + reportPath;
}

QString reportProgramFailedText(const QString& reportPath) {
  return QStringLiteral("計算書を開くプログラムを起動できませんでした。\n計算書は次の場所に保存されています。\n") +
         reportPath;
}

}  // namespace tovakin::gui
