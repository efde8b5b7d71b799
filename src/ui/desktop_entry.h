#pragma once
// Reading the desktop entries (freedesktop.org .desktop files) that name the program of a file
// type: where an entry lies, its Exec line split into arguments, and the file names put in
// place of its field codes. Plain text work, no Qt.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/layer.h"

namespace tovakin::gui {

// The Exec value of the [Desktop Entry] group of an entry's text; nullopt when there is none.
std::optional<std::string> desktopEntryExec(std::string_view text);

// An Exec value split into the program and its arguments: blanks separate, double quotes group
// (with "\" before '"', '`', '$' and '\' inside them), and the string escapes of the entry
// format ("\s", "\t", "\n", "\r", "\\") are undone first. nullopt for an unterminated quote
// or an empty line.
std::optional<std::vector<std::string>> splitExec(std::string_view exec);

// The arguments with the files in place of the field codes: "%f" and "%u" take the first file,
// "%F" and "%U" all of them, "%%" is "%", every other code is dropped; when the arguments hold
// no file code the files follow them.
std::vector<std::string> expandExecArguments(const std::vector<std::string>& arguments,
                                             const std::vector<std::string>& files);

// The paths at which an entry id may lie under an applications folder: "a-b.desktop" is
// "a-b.desktop" or, in a sub-folder, "a/b.desktop".
std::vector<std::string> entryPathsFor(const std::string& applicationsDir, const std::string& entryId);

}  // namespace tovakin::gui
