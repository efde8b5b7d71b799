#pragma once
// Saving a design case to and opening it from a .PIPEDATA file, with the shared file dialog.
#include <string>

#include "app/design_data.h"
#include "app/layer.h"
#include "platform/common_dialog.h"

namespace tovakin::app {

inline constexpr const char* kDataFileFilter = "Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*.PIPEDATA)|*.PIPEDATA";
inline constexpr const char* kAllFilesFilter = "|すべてのﾌｧｲﾙ(*.*)|*.*";
inline constexpr const char* kNewDocumentFileName = "noname.PIPEDATA";

// g_appPath + "DATA/": where the file dialogs start.
std::string dataFolder();

// The path a save writes to: the name gets ".PIPEDATA" unless it already ends with it (in any
// case), whatever points it holds ("case 1.5m" -> "case 1.5m.PIPEDATA"); trailing points of the
// name go ("caseA." -> "caseA.PIPEDATA"). An empty name stands as it is: nothing is written.
inline constexpr const char* kDataFileExtension = ".PIPEDATA";
std::string withDataFileExtension(const std::string& path);

// Saves the record. quiet true writes straight to `path` when that file exists; otherwise the
// save dialog asks (quiet becomes false) and an existing file is overwritten only after a Yes.
// A file held by another program is refused. On true `path` (and dialog.FileName) is the file
// written. False when the user cancelled or declined, the file is in use, no path was given
// or the file could not be written.
bool myUserSave(DesignData& data, CommonDialog& dialog, std::string& path, bool& quiet);

// Opens a file into the record; an empty path asks with the open dialog first. A missing file
// is reported and leaves the record untouched. True when the record was read.
bool myUserLoad(DesignData& data, CommonDialog& dialog, std::string& path);

// The open dialog; the chosen path, "" when cancelled.
std::string myShowOpen(CommonDialog& dialog);

}  // namespace tovakin::app
