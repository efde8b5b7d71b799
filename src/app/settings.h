#pragma once
// The calculation constants and the settings file TOVAKIN.INI in the program folder:
// section [Tovakin] with 38 numeric keys (and the recent files FILE0 to FILE3).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/calc_settings.h"
#include "app/layer.h"
#include "platform/private_profile.h"

namespace tovakin::app {

inline constexpr const char* kSettingsFileName = "TOVAKIN.INI";
inline constexpr const char* kSettingsSection = "Tovakin";
// Values of the calculation keys are read with at most this many bytes.
inline constexpr std::size_t kIniValueMaxBytes = 99;
// Recent-file paths are read with room for real paths.
inline constexpr std::size_t kIniPathMaxBytes = 4096;

// The built-in values of every member (members without one hold 0).
CalcSettings builtInCalcSettings();

// One numeric key of the settings file and the member it stands for.
struct SettingsKey {
  const char* key;
  double& (*member)(CalcSettings&);
};
// The 38 keys in the order in which they are read and written.
const std::vector<SettingsKey>& settingsKeys();

// g_appPath + "TOVAKIN.INI".
std::string settingsFilePath();

// Start-up: built-in values into g_calcSettings, a copy into g_calcSettingsDefault, then the file.
void myAppSetting();

// Creates the settings file with the section line and the 38 keys holding the built-in values.
void APP初期値ファイルの作成();

// Reads the settings file once and takes the 38 keys over g_calcSettings (a key without a value
// takes the built-in value) and the recent-file list. A missing file is created empty first
// (its failure shown under "myINIRead"). A file larger than platform::kProfileMaxBytes is no
// settings file: the error box shows "メモリが不足しています。" (7) with what to do (move the
// file aside, then Retry), and Ignore keeps the built-in values and an empty recent-file list.
void APP初期値ファイルの読み込み();

// Writes the 38 keys from g_calcSettings in one replacement of the file; other keys and
// sections stay as they are. A failed write is shown under "APP初期値ファイルの書き込み".
void APP初期値ファイルの書き込み();

// The value of a key, "" when there is none; a missing file is created empty first.
// The value is cut to maxBytes bytes of the file's code page on a character boundary.
std::string myINIRead(const std::string& file, const std::string& section, const std::string& key,
                      std::size_t maxBytes = kIniValueMaxBytes);

// Writes key=value into the section; a missing file is created first. A failed write is shown
// under "myINIWrite" with the runtime's error for its cause (see platform::writeErrorNumber);
// a file too large to be a settings file is left as it is, with the reader's message.
void myINIWrite(const std::string& file, const std::string& section, const std::string& key,
                const std::string& value);

// Writes several keys of the section in one replacement of the file, as myINIWrite writes one;
// a failed write is shown under `label`, the procedure that writes them, with `note` (what was
// done before and what could not be written) in place of the cause's own detail. True when
// written.
bool myINIWriteKeys(const std::string& file, const std::string& section, const platform::ProfileEntries& entries,
                    const std::string& label, const std::string& note = {});

}  // namespace tovakin::app
