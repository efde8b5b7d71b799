#pragma once
// Run-time errors and the program's error box.
//
// A procedure that fails raises a RuntimeError with the number and text the user knows from
// the original runtime. The step guard shows the error box (description "(" number ")",
// a line break, " in " label; title "エラーが発生しました"; Abort / Retry / Ignore):
// Retry repeats the failing step, Ignore goes on with the next one, Abort ends the program.
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "platform/service.h"

namespace tovakin::platform {

// Error numbers of the original runtime that the program reproduces.
namespace err {
inline constexpr int kInvalidCall = 5;      // プロシージャの呼び出し、または引数が不正です。
inline constexpr int kOverflow = 6;         // オーバーフローしました。
inline constexpr int kOutOfMemory = 7;      // メモリが不足しています。
inline constexpr int kOutOfRange = 9;       // インデックスが有効範囲にありません。
inline constexpr int kDivisionByZero = 11;  // 0 で除算しました。
inline constexpr int kTypeMismatch = 13;    // 型が一致しません。
inline constexpr int kFileNotFound = 53;    // ファイルが見つかりません。
inline constexpr int kDiskFull = 61;        // ディスクの空き容量が不足しています。
inline constexpr int kPermissionDenied = 70;  // 書き込みできません。
inline constexpr int kPathFileAccess = 75;  // パス名が無効です。
inline constexpr int kPathNotFound = 76;    // パスが見つかりません。
inline constexpr int kApplication = 1004;   // an error reported by a library of our own, with its own text
}  // namespace err

// The runtime's description of an error number ("" for a number it does not know).
std::string errorDescription(int number);

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number, std::string description = {});
  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

[[noreturn]] void raiseError(int number, std::string description = {});
// A look-up that finds nothing raises subscript out of range (9), its description naming what was
// looked for, so that the error box and a failing test say it: "インデックスが有効範囲にありません。
// （txtTextBox_24）".
[[noreturn]] void raiseNotFound(std::string_view what);

// Thrown when the user chooses Abort; the program's entry point ends the run on it.
class ProgramAborted : public std::exception {
 public:
  const char* what() const noexcept override { return "program aborted by the user"; }
};

enum class ErrorAnswer { Abort, Retry, Ignore };

// The box itself: the windows install a real one, tests a scripted one.
class ErrorBox {
 public:
  virtual ~ErrorBox() = default;
  // text: description "(" number ")" "\n" " in " label.  title: "エラーが発生しました" (or "" where asked).
  virtual ErrorAnswer show(const std::string& text, const std::string& title) = 0;
};

// The installed box; without one, the default answers Abort after writing the text to standard
// error.
ErrorBox& errorBox();
// Installs a box until the guard goes out of scope.
Installed<ErrorBox> installErrorBox(ErrorBox& box);

// The text of the box for an error raised under a label.
std::string errorBoxText(const RuntimeError& e, const std::string& label);
inline constexpr const char* kErrorBoxTitle = "エラーが発生しました";

// Shows the box for an error; throws ProgramAborted on Abort.
ErrorAnswer reportError(const RuntimeError& e, const std::string& label, const std::string& title = kErrorBoxTitle);

// Runs one step under the error box. Returns true when the step completed, false when it
// failed and the user chose Ignore. Retry runs the step again. Abort throws ProgramAborted.
// Any std::exception other than RuntimeError is reported as error 1004 with its what().
template <class Step>
bool guardStep(const std::string& label, Step&& step) {
  for (;;) {
    try {
      std::forward<Step>(step)();
      return true;
    } catch (const RuntimeError& e) {
      if (reportError(e, label) == ErrorAnswer::Ignore) return false;
    } catch (const ProgramAborted&) {
      throw;
    } catch (const std::exception& e) {
      if (reportError(RuntimeError(err::kApplication, e.what()), label) == ErrorAnswer::Ignore) return false;
    }
  }
}

// Floating-point faults the original runtime raised and C++ lets through as inf or NaN.
// checked(): a result that is not finite raises overflow (6).
inline double checked(double v) {
  if (!std::isfinite(v)) raiseError(err::kOverflow);
  return v;
}
// vbDiv(): x / 0 raises division by zero (11), 0 / 0 overflow (6), as the runtime did.
inline double vbDiv(double a, double b) {
  if (b == 0.0) raiseError(a == 0.0 ? err::kOverflow : err::kDivisionByZero);
  return checked(a / b);
}
// vbSqrt(): a negative argument raises an invalid procedure call (5).
inline double vbSqrt(double v) {
  if (v < 0.0 || std::isnan(v)) raiseError(err::kInvalidCall);
  return std::sqrt(v);
}

}  // namespace tovakin::platform
