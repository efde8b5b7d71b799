#pragma once
// The four data files written or read last, newest first, kept in TOVAKIN.INI as FILE0 to FILE3.
#include <array>
#include <string>
#include "app/layer.h"

namespace tovakin::app {

// Index 0 is the newest; "" is no entry.
extern std::array<std::string, 4> g_recentFiles;

// With a path: the path becomes entry 0 (its old place and empty entries are dropped, the
// oldest falls off). With "": the list stays as it is. Either way all four keys are written,
// in one replacement of the settings file; a failed write is shown under "履歴ファイル更新".
void 履歴ファイル更新(const std::string& path);

// What was done with the file just before its entry: a failed write of the settings file then
// says that the design file itself was saved (or read) and that only the settings file, named,
// could not be written, so that nobody takes the box for a failed save.
enum class RecentFileCause { Saved, Opened };
void 履歴ファイル更新(const std::string& path, RecentFileCause cause);

// The note of such a box.
std::string recentFilesWriteNote(const std::string& path, RecentFileCause cause, const std::string& settingsFile);

}  // namespace tovakin::app
