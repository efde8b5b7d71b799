#include "platform/error_box.h"

#include <cstdio>

namespace tovakin::platform {

std::string errorDescription(int number) {
  switch (number) {
    case err::kInvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
    case err::kOverflow: return "オーバーフローしました。";
    case err::kOutOfMemory: return "メモリが不足しています。";
    case err::kOutOfRange: return "インデックスが有効範囲にありません。";
    case err::kDivisionByZero: return "0 で除算しました。";
    case err::kTypeMismatch: return "型が一致しません。";
    case err::kFileNotFound: return "ファイルが見つかりません。";
    case err::kDiskFull: return "ディスクの空き容量が不足しています。";
    case err::kPermissionDenied: return "書き込みできません。";
    case err::kPathFileAccess: return "パス名が無効です。";
    case err::kPathNotFound: return "パスが見つかりません。";
    default: return "アプリケーション定義またはオブジェクト定義のエラーです。";
  }
}

RuntimeError::RuntimeError(int number, std::string description)
    : std::runtime_error(description.empty() ? errorDescription(number) : description),
      number_(number),
      description_(description.empty() ? errorDescription(number) : std::move(description)) {}

void raiseError(int number, std::string description) { throw RuntimeError(number, std::move(description)); }

void raiseNotFound(std::string_view what) {
  raiseError(err::kOutOfRange, errorDescription(err::kOutOfRange) + "（" + std::string(what) + "）");
}

namespace {
class StderrErrorBox final : public ErrorBox {
 public:
  ErrorAnswer show(const std::string& text, const std::string& title) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return ErrorAnswer::Abort;
  }
};
StderrErrorBox g_defaultBox;
ErrorBox* g_box = nullptr;
}  // namespace

ErrorBox& errorBox() { return g_box ? *g_box : g_defaultBox; }

Installed<ErrorBox> installErrorBox(ErrorBox& box) { return {g_box, &box}; }

std::string errorBoxText(const RuntimeError& e, const std::string& label) {
  return e.description() + "(" + std::to_string(e.number()) + ")\n in " + label;
}

ErrorAnswer reportError(const RuntimeError& e, const std::string& label, const std::string& title) {
  ErrorAnswer a = errorBox().show(errorBoxText(e, label), title);
  if (a == ErrorAnswer::Abort) throw ProgramAborted();
  return a;
}

}  // namespace tovakin::platform
