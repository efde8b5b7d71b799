#pragma once
// The calculation run of a document: the input check, the calculation, the choice of the
// report file, the report and the offer to open it, with a notice on screen while the program
// works and a modal message where the user must read or answer something.
//
// The run sees its document only through CalculationDocument, so that it runs the same against
// the real window and against a small stand-in. It is one pass on the UI thread: it never runs
// the event queue on its own (the notices are painted directly), and while it runs no second run
// starts anywhere in the program; the document refuses to close and to run other commands while
// calculationRunning() is true.
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/design_data.h"
#include "app/input_limits.h"
#include "calc/calc_result.h"
#include "document/check_messages.h"
#include "platform/common_dialog.h"
#include "ui/layer.h"

class QWidget;

namespace tovakin::gui {

class frmMessage;

// What the run needs of its document.
class CalculationDocument {
 public:
  virtual ~CalculationDocument() = default;
  // The document's own records, which the run checks, calculates and reports.
  virtual DesignData& myData() = 0;
  virtual CalcResult& myCalcResult() = 0;
  // Copies the controls into myData; false when a box refused its text (it said so and has the
  // focus) and nothing was copied.
  virtual bool myForm2Data() = 0;
  // Gives the control the focus and selects its whole text, so that typing the correction
  // replaces the wrong value.
  virtual void focusCheckTarget(const CheckTarget& target) = 0;
  // The path of the document's data file ("" while it has none).
  virtual QString lblMyFilename() const = 0;
  // The program's open / save dialog, through which the report file is chosen.
  virtual CommonDialog& dlgCommonDialog() = 0;
  // The window the message windows are shown over (the main window).
  virtual QWidget* messageOwner() const = 0;
};

// How a run ended.
enum class RunOutcome {
  Refused,            // another run was going on: nothing was done
  CheckFailed,        // the input check returned a code; the focus is on the control
  CalculationFailed,  // a statement of the calculation was passed by Ignore: no report
  NoReportWriter,     // calculated; no usable report writer, so no report
  ReactionModulusQuestioned,  // calculated; the user went back to the e' settings: no report
  LimitQuestioned,    // calculated; the user went back to a value beyond its limit: no report
  ReportCancelled,    // calculated; no report file chosen
  ReportNotWritten,   // calculated; writing the report failed
  ReportKept,         // report written; the user did not want it opened
  ReportOpened,       // report written and its program started on it
  NoProgram,          // report written; the desktop has no program for it (the user was told)
  ProgramNotStarted,  // report written; its program could not be started (the user was told)
};

// The run of button 1 (計算する). Busy pointer while the program works, never while a message
// or the file dialog waits for the user; after every path the pointer is the ordinary one and
// no message window is left. Abort in an error box ends the run with ProgramAborted.
RunOutcome runCalculation(CalculationDocument& document);

// True while a run is going on.
bool calculationRunning();

// What the calculation run asks before it writes a report whose e' sheet would state an e' that
// no longer holds for the case: a method-1 e' in a trench, off rock ground, whose αa is not the
// factor the trench width and BS give (typed, or computed for an earlier trench width) or whose
// BS is not the standard trench width of the current nominal size (where the table has one); a
// method-3 e' on a bore above 300 mm. A case without a trench takes its αa as entered. nullopt
// when there is nothing to ask, and always when the report has no e' sheet. The question opens
// with いいえ focused. Raises overflow for widths beyond any number.
std::optional<QString> reactionModulusQuestion(const DesignData& design, const CalcResult& result);

// The questions the run asks before the report file is chosen: the input limits of the run
// (app/input_limits.h) the case goes beyond where its report uses the field, each with the box
// いいえ returns to. Asked with いいえ focused.
struct LimitQuestion {
  int box;
  QString text;
};
std::vector<LimitQuestion> limitQuestions(const DesignData& design, const CalcResult& result);

// Focuses the offending control of a check code and writes its text into the message window;
// code 0 does neither.
void 計算エラー処理(std::int32_t code, CalculationDocument& document, frmMessage& message);

// The texts of the run.
inline constexpr const char* kNoticeChecking = "入力データをチェックしています。しばらくお待ち下さい。";
inline constexpr const char* kNoticeCalculating = "計算しています。しばらくお待ち下さい。";
inline constexpr const char* kNoticeChooseReport = "計算が終わりました。Excel保存ファイルを指定して下さい。";
inline constexpr const char* kNoticeWriting = "Excelファイルを作成しています。しばらくお待ち下さい。";
inline constexpr const char* kCheckCaption = kGuardTitle;  // the title of every guarding question
inline constexpr const char* kFinishedCaption = "計算が終了しました。";
inline constexpr const char* kNoWriterText = "計算が終了しました。Excelが見つかりませんので、処理を終了します。";
inline constexpr const char* kOpenQuestion = "計算が終了しました。Excelを起動しますか？";
inline constexpr const char* kNotCompletedCaption = "計算が完了しませんでした。";
inline constexpr const char* kNotCompletedText =
    "計算中にエラーが発生したため、計算は完了していません。計算書は作成しません。";
// The close of the e' question: what いいえ does and where to put the e' right.
inline constexpr const char* kReactionModulusBack =
    "「いいえ」を選ぶと計算書を作成せずに終わります。[基礎材の反力係数(e')設定]より確認して下さい。";
inline constexpr const char* kNotWrittenText = "計算は終了しましたが、計算書を作成できませんでした。";

// The report writer: the first usable version, and the message the main window shows at its load
// when none is installed.
inline constexpr int kFirstUsableExcel = 8;
QString noExcelMessage();

// The message when the report cannot be opened: none of the desktop's programs is for its
// type, or the one named could not be started. Both give the report's path.
QString noReportProgramText(const QString& reportPath);
QString reportProgramFailedText(const QString& reportPath);

}  // namespace tovakin::gui
