#pragma once
// The choice of the report file after a calculation.
#include <string>

#include "platform/common_dialog.h"
#include "report/layer.h"

namespace tovakin::report {

inline constexpr const char* kReportFilter = "Microsoft Excel (*.xlsx)|*.xlsx";
inline constexpr const char* kReportExtension = ".xlsx";

// The name the save dialog proposes: beside the data file under its name when that file
// exists, else DATA/QX and the last four digits of the document count under the program folder.
std::string defaultReportName(const std::string& dataFile);

// Lets the user choose the report file. On entry `fileName` is the document's data file ("" when
// never saved). True: the chosen path stands in `fileName` and the dialog's FileName. False: the
// dialog was cancelled (FileName ""), an overwrite was declined (FileName "") or the file is
// held by another program.
bool myUserExcelSave(CommonDialog& dialog, std::string& fileName);

}  // namespace tovakin::report
