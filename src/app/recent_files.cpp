#include "app/recent_files.h"

#include "app/layer.h"
#include "app/settings.h"
#include "platform/error_box.h"

namespace tovakin::app {

std::array<std::string, 4> g_recentFiles;

namespace {

void update(const std::string& path, const std::string& note) {
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
  myINIWriteKeys(settingsFilePath(), kSettingsSection, entries, label, note);
}

}  // namespace

void 履歴ファイル更新(const std::string& path) { update(path, {}); }

void 履歴ファイル更新(const std::string& path, RecentFileCause cause) {
  update(path, recentFilesWriteNote(path, cause, settingsFilePath()));
}

std::string recentFilesWriteNote(const std::string& path, RecentFileCause cause, const std::string& settingsFile) {
  const char* done = cause == RecentFileCause::Saved ? "は保存しました" : "は読み込みました";
  return "設計データ '" + path + "' " + done + "。設定ファイル '" + settingsFile +
         "' に最近使ったファイルの一覧を書き込めませんでした。";
}

}  // namespace tovakin::app
