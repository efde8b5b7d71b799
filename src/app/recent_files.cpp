#include "app/recent_files.h"

#include "app/layer.h"
#include "app/settings.h"
#include "platform/error_box.h"

namespace tovakin::app {

std::array<std::string, 4> g_recentFiles;

void 履歴ファイル更新(const std::string& path) {
  const char* label = "履歴ファイル更新";
  guardStep(label, [&] {
    if (path.empty()) return;
    std::array<std::string, 4> work;
    work[0] = path;
    std::size_t next = 1;
    for (const std::string& old : g_recentFiles) {
      if (next >= work.size()) break;
      if (old != path && !old.empty()) work[next++] = old;
    }
    g_recentFiles = work;
  });
  platform::ProfileEntries entries;
  for (std::size_t i = 0; i < g_recentFiles.size(); ++i)
    entries.emplace_back("FILE" + std::to_string(i), g_recentFiles[i]);
  myINIWriteKeys(settingsFilePath(), kSettingsSection, entries, label);
}

}  // namespace tovakin::app
