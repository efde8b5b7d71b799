#pragma once
// Saving a design case to and opening it from a .PIPEDATA file, with the shared file dialog.
#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "app/design_data.h"
#include "app/layer.h"
#include "platform/common_dialog.h"

namespace tovakin::app {

namespace detail {
// Texts joined at compile time into one NUL-terminated text.
template <std::size_t... N>
constexpr auto joinTexts(const char (&... parts)[N]) {
  std::array<char, (N + ...) - sizeof...(N) + 1> joined{};
  std::size_t at = 0;
  ((std::copy_n(parts, N - 1, joined.begin() + at), at += N - 1), ...);
  return joined;
}
}  // namespace detail

// The extension of a design file, the one spelling the file filter and the new file's name
// are made from.
inline constexpr char kDataFileExtension[] = ".PIPEDATA";
inline constexpr auto kDataFileFilterText =
    detail::joinTexts("Tovakinﾕｰｻﾞｰﾃﾞｰﾀ (*", kDataFileExtension, ")|*", kDataFileExtension);
inline constexpr const char* kDataFileFilter = kDataFileFilterText.data();
inline constexpr const char* kAllFilesFilter = "|すべてのﾌｧｲﾙ(*.*)|*.*";
inline constexpr auto kNewDocumentFileNameText = detail::joinTexts("noname", kDataFileExtension);
inline constexpr const char* kNewDocumentFileName = kNewDocumentFileNameText.data();

// g_appPath + "DATA/": where the file dialogs start.
std::string dataFolder();

// The path a save writes to: the name gets kDataFileExtension unless it already ends with it (in
// any case), whatever points it holds ("case 1.5m" -> "case 1.5m.PIPEDATA"); trailing points of
// the name go ("caseA." -> "caseA.PIPEDATA"). An empty name stands as it is: nothing is written.
std::string withDataFileExtension(const std::string& path);
// The same rule for any file the program writes under its own extension (".xlsx" for reports).
std::string withFileExtension(const std::string& path, std::string_view extension);

// The refusal of a name the settings file cannot keep in the recent-file list (it is written in
// CP932): names the file and its first character CP932 lacks; "" for a name it can keep.
std::string nameNotKeptMessage(const std::string& path);

// Saves the record. quiet true writes straight to `path` when that file exists; otherwise the
// save dialog asks (quiet becomes false) and an existing file is overwritten only after a Yes.
// A file held by another program is refused, and so is a chosen name the recent-file list could
// not keep (nameNotKeptMessage). On true `path` (and dialog.FileName) is the file
// written. False when the user cancelled or declined, the file is in use, no path was given
// or the file could not be written.
bool myUserSave(DesignData& data, CommonDialog& dialog, std::string& path, bool& quiet);

// Opens a file into the record; an empty path asks with the open dialog first. A missing file
// is reported and leaves the record untouched. True when the record was read.
bool myUserLoad(DesignData& data, CommonDialog& dialog, std::string& path);

// The open dialog; the chosen path, "" when cancelled.
std::string myShowOpen(CommonDialog& dialog);

}  // namespace tovakin::app
