#include "app/app_state.h"

#include <unistd.h>

#include <cstring>
#include <utility>

#include "app/layer.h"
#include "app/std_io.h"
#include "platform/error_box.h"
#include "platform/file_system.h"

namespace tovakin::app {

AppState g_app;

namespace {
std::optional<std::string>& appFolderOverride() {
  static std::optional<std::string> folder;
  return folder;
}
ExcelProbe* g_probe = nullptr;
}  // namespace

void setAppFolderOverride(std::optional<std::string> folder) { appFolderOverride() = std::move(folder); }

std::int16_t funcExcelVersion() {
  // The probe shows no message: a failure is the answer -1, as for a writer that is not there.
  if (!g_probe) return 12;
  try {
    return g_probe->version();
  } catch (...) {
    return -1;
  }
}

Installed<ExcelProbe> installExcelProbe(ExcelProbe& probe) { return {g_probe, &probe}; }

void MyFlagSet() {
  const char* label = "MyFlagSet";
  guardStep(label, [] { g_app.g_docCount = 0; });
  guardStep(label, [] { g_app.g_appPath = myPathEdit(appFolderOverride() ? *appFolderOverride() : executableDir()); });
  guardStep(label, [] { g_app.g_tempDir = Temp_DirCustom(g_app.g_appPath); });
  guardStep(label, [] { g_app.g_excelVersion = funcExcelVersion(); });
  guardStep(label, [] { g_app.g_templatePath = g_app.g_appPath + "DATABASE/" + "QXWork.xlsx"; });
  guardStep(label, [] { g_app.g_excelVisible = 0; });
  guardStep(label, [] { g_app.g_reportPath.clear(); });
}

std::string Temp_DirCustom(const std::string& folder) {
  std::string result = folder;
  guardStep("Temp_DirCustom", [&] {
    const std::string v = Set_Env("TEMP");
    result = v.empty() ? folder : myPathEdit(v);
  });
  return result;
}

std::string Set_Env(const std::string& name) {
  std::string result;
  guardStep("Set_Env", [&] {
    result.clear();
    if (name.empty()) return;
    for (char** e = environ; e && *e; ++e) {
      const char* entry = *e;
      if (std::strncmp(entry, name.c_str(), name.size()) == 0 && entry[name.size()] == '=') {
        result = entry + name.size() + 1;
        return;
      }
    }
  });
  return result;
}

}  // namespace tovakin::app
