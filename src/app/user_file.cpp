#include "app/user_file.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "app/app_state.h"
#include "app/document_file.h"
#include "app/file_in_use.h"
#include "app/layer.h"
#include "app/std_io.h"
#include "platform/cp932.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

namespace tovakin::app {

namespace {

// Runs a procedure under the error box: Retry runs it again, Ignore gives `fallback`.
template <class T, class Body>
T trapped(const char* label, T fallback, Body&& body) {
  T result = fallback;
  if (!guardStep(label, [&] { result = body(); })) return fallback;
  return result;
}

}  // namespace

std::string dataFolder() { return g_app.g_appPath + "DATA/"; }

namespace {
bool endsWithNoCase(const std::string& text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - std::ptrdiff_t(tail.size()), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}
}  // namespace

std::string withDataFileExtension(const std::string& path) { return withFileExtension(path, kDataFileExtension); }

std::string withFileExtension(const std::string& path, std::string_view extension) {
  const std::string name = myFilenameFilename(path);
  if (myTrim(name).empty() || name.back() == '/') return path;
  if (endsWithNoCase(name, extension)) return path;
  // Points in a name ("case 1.5m", "No.3") are part of it, not an extension: only the data
  // files' own extension stands. A final point typed before nothing is taken as its start.
  std::string stem = path;
  while (!stem.empty() && stem.back() == '.' && stem.size() > path.size() - name.size() + 1) stem.pop_back();
  return stem + std::string(extension);
}

std::string nameNotKeptMessage(const std::string& path) {
  const std::string name = myFilenameFilename(path);
  const auto refused = firstCharNotInCp932(name);
  if (!refused) return {};
  return "ファイル名 '" + name + "' の「" + describeChar(*refused) +
         "」は設定ファイルに書けない文字です。\n別の名前を付けて下さい。";
}

bool myUserSave(DesignData& data, CommonDialog& dialog, std::string& path, bool& quiet) {
  return trapped("myUserSave", false, [&]() -> bool {
    dialog.CancelError = true;
    if (!path.empty()) {
      dialog.FileName = path;
      if (!fileExists(path)) quiet = false;
    } else {
      dialog.FileName = kNewDocumentFileName;
      quiet = false;
    }

    if (!quiet) {
      dialog.Filter = kDataFileFilter;
      dialog.Flags |= cdl::kHideReadOnly;
      dialog.InitDir = dataFolder();
      dialog.DialogTitle = "ファイルの保存";
      if (dialog.ShowSave() == DialogOutcome::Cancelled) {
        dialog.CancelError = false;
        return false;
      }
      // A name typed without an extension is a design file all the same: it gets the data
      // files' extension before anything (the question, the write, the recent list) uses it.
      path = withDataFileExtension(dialog.FileName);
      dialog.FileName = path;
      // Its recent entry would name another file, and the list would call it deleted.
      if (const std::string refusal = nameNotKeptMessage(path); !refusal.empty()) {
        msgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, "");
        return false;
      }
      if (fileExists(path)) {
        const std::string question =
            "ファイル '" + myFilenameFilename(path) + "' は作成されています。\n上書きしますか？";
        if (msgBox(question, MsgButtons::YesNo, MsgIcon::None, "確認") == MsgAnswer::No) return false;
      }
    }

    // Nothing to write to: the document stays unsaved.
    if (myTrim(path).empty()) return false;
    if (myFileInUseCheck(path) == 1) {
      msgBox("'" + path + "'は他のアプリケーションが使用中です", MsgButtons::OK, MsgIcon::None, "");
      return false;
    }
    return データの書き出し(data, path);
  });
}

bool myUserLoad(DesignData& data, CommonDialog& dialog, std::string& path) {
  return trapped("myUserLoad", false, [&]() -> bool {
    if (path.empty()) {
      path = myShowOpen(dialog);
      if (path.empty()) return false;
    }
    if (!fileExists(path)) {
      msgBox("指定ファイル '" + path + "' から読み込み出来ません。", MsgButtons::OK, MsgIcon::None, "");
      return false;
    }
    dialog.FileName = path;
    return データの呼び出し(data, path);
  });
}

std::string myShowOpen(CommonDialog& dialog) {
  return trapped("myShowOpen", std::string(), [&]() -> std::string {
    dialog.CancelError = true;
    dialog.Filter = std::string(kDataFileFilter) + kAllFilesFilter;
    dialog.Flags |= cdl::kHideReadOnly;
    dialog.InitDir = dataFolder();
    dialog.DialogTitle = "ファイルを開く";
    if (dialog.ShowOpen() == DialogOutcome::Cancelled) {
      dialog.CancelError = false;
      return {};
    }
    std::string result = dialog.FileName;
    dialog.CancelError = false;
    return result;
  });
}

}  // namespace tovakin::app
