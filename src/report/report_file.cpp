#include "report/report_file.h"

#include "app/app_state.h"
#include "app/file_in_use.h"
#include "app/number_format.h"
#include "app/std_io.h"
#include "app/user_file.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "report/layer.h"

namespace tovakin::report {

namespace {
constexpr const char* kLabel = "myUserExcelSave";
}

std::string defaultReportName(const std::string& dataFile) {
  if (!dataFile.empty() && fileExists(dataFile)) return myFilenameNoExt(dataFile) + kReportExtension;
  const std::string counted = "0000" + formatPattern(g_app.g_docCount, "0");
  return g_app.g_appPath + "DATA/QX" + counted.substr(counted.size() - 4) + kReportExtension;
}

bool myUserExcelSave(CommonDialog& dialog, std::string& fileName) {
  bool result = true;
  guardStep(kLabel, [&] { dialog.CancelError = true; });
  guardStep(kLabel, [&] { dialog.FileName = defaultReportName(fileName); });
  guardStep(kLabel, [&] { dialog.InitDir = myFilenameDir(dialog.FileName); });
  dialog.Filter = kReportFilter;
  dialog.Flags |= cdl::kHideReadOnly;
  dialog.DialogTitle = "ファイルの保存";

  DialogOutcome outcome = DialogOutcome::Cancelled;
  guardStep(kLabel, [&] { outcome = dialog.ShowSave(); });
  // A dialog that comes back without a name is a cancel too: there is nothing to write to.
  if (outcome == DialogOutcome::Cancelled || myTrim(dialog.FileName).empty()) {
    dialog.CancelError = false;
    dialog.FileName = "";
    return false;
  }

  // The report is always a workbook file: a name that does not end with the workbook extension
  // gets it, also one holding points ("rep 1.5m"), so that the report dialog's filter shows it.
  dialog.FileName = withFileExtension(dialog.FileName, kReportExtension);
  fileName = dialog.FileName;

  if (fileExists(fileName)) {
    const std::string question =
        "ファイル '" + myFilenameFilename(fileName) + "' は作成されています。\n上書きしますか？";
    MsgAnswer answer = MsgAnswer::No;
    guardStep(kLabel, [&] { answer = msgBox(question, MsgButtons::YesNo, MsgIcon::None, "確認"); });
    if (answer != MsgAnswer::Yes) {
      dialog.FileName = "";
      return false;
    }
  }

  if (myFileInUseCheck(fileName) == 1) {
    msgBox("'" + fileName + "'は他のアプリケーションが使用中です", MsgButtons::OK, MsgIcon::None, "");
    result = false;
  }
  return result;
}

}  // namespace tovakin::report
