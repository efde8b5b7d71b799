// The settings file: any bytes as TOVAKIN.INI are read the way start-up reads them, then one
// key is written in place and one in a section of its own, and each reads back as written
// without changing what the other keys read.
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/calc_settings.h"
#include "app/recent_files.h"
#include "app/settings.h"
#include "fuzz/fuzz_target.h"
#include "platform/private_profile.h"

namespace {

using namespace tovakin::app;
using tovakin::platform::profileRead;
using tovakin::platform::profileWrite;

// The program folder is the scratch folder, set once per process: the settings file lives there.
bool pointProgramFolderAtScratch() {
  g_app.g_appPath = tovakin::fuzz::ScratchFolder::path() + "/";
  return true;
}

struct Reading {
  std::vector<std::uint64_t> values;  // bit patterns, in the order of settingsKeys()
  std::array<std::string, 4> recent;
};

// Reads the file as start-up does, from the built-in values.
Reading readSettings() {
  g_calcSettings = builtInCalcSettings();
  g_calcSettingsDefault = g_calcSettings;
  g_recentFiles = {};
  APP初期値ファイルの読み込み();
  Reading r;
  for (const SettingsKey& k : settingsKeys()) r.values.push_back(std::bit_cast<std::uint64_t>(k.member(g_calcSettings)));
  r.recent = g_recentFiles;
  return r;
}

}  // namespace

TOVAKIN_FUZZ_TARGET(ini) {
  static const bool ready = pointProgramFolderAtScratch();
  (void)ready;
  tovakin::fuzz::QuietErrorBox quiet;
  const auto installed = tovakin::platform::installErrorBox(quiet);

  const std::string path = settingsFilePath();
  if (!tovakin::fuzz::writeInput(path, data, size)) return 0;

  const Reading before = readSettings();
  // A value that is not one finite number is refused and leaves the built-in value.
  for (const SettingsKey& k : settingsKeys()) TOVAKIN_FUZZ_CHECK(std::isfinite(k.member(g_calcSettings)));

  // One of the program's own keys, in place (or added when the file lacks it).
  const std::size_t written = size % settingsKeys().size();
  const std::string key = settingsKeys()[written].key;
  const std::string value = "１２．５ テスト値 " + std::to_string(size);
  if (profileWrite(path, kSettingsSection, key, value))
    TOVAKIN_FUZZ_CHECK(profileRead(path, kSettingsSection, key, kIniPathMaxBytes) == value);

  // A key in a section the program does not read, appended when missing.
  const std::string otherSection = "Fuzz追加";
  const std::string otherValue = "C:\\DATA\\ﾃｽﾄ.PIPEDATA";
  if (profileWrite(path, otherSection, "最後のファイル", otherValue))
    TOVAKIN_FUZZ_CHECK(profileRead(path, otherSection, "最後のファイル", kIniPathMaxBytes) == otherValue);

  const Reading after = readSettings();
  for (std::size_t i = 0; i < before.values.size(); ++i)
    if (i != written) TOVAKIN_FUZZ_CHECK(after.values[i] == before.values[i]);
  TOVAKIN_FUZZ_CHECK(after.recent == before.recent);
  return 0;
}
