#pragma once
// Facts about the installation and the run that the whole program reads: filled once at
// start-up by MyFlagSet.
#include <cstdint>
#include <optional>
#include <string>

#include "app/layer.h"
#include "platform/service.h"

namespace tovakin::app {

struct AppState {
  std::string g_appPath;            // the program's folder, with a trailing "/"
  std::string g_tempDir;            // $TEMP with a trailing "/", else g_appPath
  std::int16_t g_excelVersion = 0;  // 8 or more: reports can be written; -1: they cannot
  std::string g_templatePath;       // the report template workbook
  std::string g_reportPath;         // the report written last ("" before the first)
  std::int16_t g_excelVisible = 0;  // Boolean (-1 / 0); has no effect on the report writer
  std::int32_t g_docCount = 0;      // document windows created in this run
};

extern AppState g_app;

// Fills g_app: document counter 0, program folder, temporary folder, report-writer version,
// template path, Excel not visible, no report yet.
void MyFlagSet();

// Makes MyFlagSet take this folder in place of the executable's (tests and tools); nullopt
// goes back to the executable's folder.
void setAppFolderOverride(std::optional<std::string> folder);

// The folder named by "TEMP" with a trailing "/", or `folder` unchanged when TEMP is unset or empty.
std::string Temp_DirCustom(const std::string& folder);

// The value of an environment variable (exact, case-sensitive name); "" when it is absent or
// the name is "".
std::string Set_Env(const std::string& name);

// The version of the report writer. Reports are written as Office Open XML by the program
// itself, so the writer is always there: 12, the first spreadsheet version of that format.
// An installed probe answers instead (tests reach the runs without a usable writer this way).
std::int16_t funcExcelVersion();

// What funcExcelVersion asks when one is installed: the version, or -1 for none.
class ExcelProbe {
 public:
  virtual ~ExcelProbe() = default;
  virtual std::int16_t version() = 0;
};

// Installs a probe until the guard goes out of scope.
Installed<ExcelProbe> installExcelProbe(ExcelProbe& probe);

}  // namespace tovakin::app
