#include "app/settings.h"

#include <cmath>
#include <optional>
#include <utility>

#include "app/app_state.h"
#include "app/layer.h"
#include "app/number_format.h"
#include "app/recent_files.h"
#include "app/std_io.h"
#include "platform/cp932.h"
#include "platform/error_box.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace tovakin::app {

CalcSettings g_calcSettings;
CalcSettings g_calcSettingsDefault;

CalcSettings builtInCalcSettings() {
  CalcSettings s;
  s.fujoKentoAnzenritu = 1.2;
  s.tuchiTanniJuryo = 18;
  s.howadoTanniJuryo = 20;
  s.mizuTanniJuryo = 9.8;
  s.naibuMasatukaku = 30;
  s.korinKaju = {100, 78, 55, 39, 0, 0};
  s.betaT25 = 0.9;
  s.betaT25Igai = 1;
  s.kajuBunpukaku = 45;
  s.sharyoSenyuHaba = 2.75;
  // Columns 0°, 30°, 60°, 90°, 120°, 180°; the 360° column has no values.
  s.shijikakuKeisu = {{{0.110, 0.107, 0.215},
                       {0.108, 0.104, 0.208},
                       {0.103, 0.096, 0.191},
                       {0.096, 0.085, 0.169},
                       {0.089, 0.075, 0.149},
                       {0.083, 0.065, 0.131},
                       {0.0, 0.0, 0.0}}};
  s.shogekiKeisu = {{{0.4, 0.3, 0.2}, {0.3, 0.2, 0.1}}};
  s.buruKaju = {{{32.3, 0.30, 0.0}, {45.1, 0.35, 0.0}, {47, 0.41, 0.0}, {56.8, 0.46, 0.0}, {58.8, 0.51, 0.0}}};
  s.kajuA = 0.2;
  s.buruBunpukaku = 45;
  return s;
}

const std::vector<SettingsKey>& settingsKeys() {
#define TOVAKIN_KEY(name, expr) SettingsKey{name, [](CalcSettings& s) -> double& { return s.expr; }}
  static const std::vector<SettingsKey> keys = {
      TOVAKIN_KEY("土の単位体積重量", tuchiTanniJuryo),
      TOVAKIN_KEY("水の単位体積重量", mizuTanniJuryo),
      TOVAKIN_KEY("飽和土単位体積重量", howadoTanniJuryo),
      TOVAKIN_KEY("後輪荷重T25", korinKaju[0]),
      TOVAKIN_KEY("後輪荷重T20", korinKaju[1]),
      TOVAKIN_KEY("後輪荷重T14", korinKaju[2]),
      TOVAKIN_KEY("後輪荷重T10", korinKaju[3]),
      TOVAKIN_KEY("後輪荷重T0", korinKaju[4]),
      TOVAKIN_KEY("βT25時", betaT25),
      TOVAKIN_KEY("βT25以外時", betaT25Igai),
      TOVAKIN_KEY("衝撃係数未舗装A", shogekiKeisu[0].a),
      TOVAKIN_KEY("衝撃係数未舗装B", shogekiKeisu[0].b),
      TOVAKIN_KEY("衝撃係数未舗装C", shogekiKeisu[0].c),
      TOVAKIN_KEY("衝撃係数舗装A", shogekiKeisu[1].a),
      TOVAKIN_KEY("衝撃係数舗装B", shogekiKeisu[1].b),
      TOVAKIN_KEY("衝撃係数舗装C", shogekiKeisu[1].c),
      TOVAKIN_KEY("荷重分布角", kajuBunpukaku),
      TOVAKIN_KEY("内部摩擦角", naibuMasatukaku),
      TOVAKIN_KEY("車両占有幅", sharyoSenyuHaba),
      TOVAKIN_KEY("浮上検討安全率", fujoKentoAnzenritu),
      TOVAKIN_KEY("K0", shijikakuKeisu[0][0]),
      TOVAKIN_KEY("K30", shijikakuKeisu[1][0]),
      TOVAKIN_KEY("K60", shijikakuKeisu[2][0]),
      TOVAKIN_KEY("K90", shijikakuKeisu[3][0]),
      TOVAKIN_KEY("K120", shijikakuKeisu[4][0]),
      TOVAKIN_KEY("K180", shijikakuKeisu[5][0]),
      TOVAKIN_KEY("Ko0", shijikakuKeisu[0][1]),
      TOVAKIN_KEY("Ko30", shijikakuKeisu[1][1]),
      TOVAKIN_KEY("Ko60", shijikakuKeisu[2][1]),
      TOVAKIN_KEY("Ko90", shijikakuKeisu[3][1]),
      TOVAKIN_KEY("Ko120", shijikakuKeisu[4][1]),
      TOVAKIN_KEY("Ko180", shijikakuKeisu[5][1]),
      TOVAKIN_KEY("Kp0", shijikakuKeisu[0][2]),
      TOVAKIN_KEY("Kp30", shijikakuKeisu[1][2]),
      TOVAKIN_KEY("Kp60", shijikakuKeisu[2][2]),
      TOVAKIN_KEY("Kp90", shijikakuKeisu[3][2]),
      TOVAKIN_KEY("Kp120", shijikakuKeisu[4][2]),
      TOVAKIN_KEY("Kp180", shijikakuKeisu[5][2]),
  };
#undef TOVAKIN_KEY
  return keys;
}

std::string settingsFilePath() { return g_app.g_appPath + kSettingsFileName; }

namespace {

// Creates the file empty when the directory search does not find it; a failure is raised with
// the number of its cause and names the file.
void ensureFile(const std::string& file) {
  if (fileExists(file)) return;
  if (WriteResult created = createEmptyFileIfMissing(file); !created) raiseWriteError(created, file);
}

// A file larger than any settings file is neither read nor written: the runtime ran out of
// memory on what it could not hold, and so does this message. It says how to go on: with the
// file moved aside, Retry reads or writes a new one.
[[noreturn]] void raiseTooLarge(const std::string& file) {
  raiseError(err::kOutOfMemory, errorDescription(err::kOutOfMemory) + "（設定ファイル '" + file + "' は " +
                                    std::to_string(kProfileMaxBytes >> 20) +
                                    " MB を超えているため、読み書きできません。このファイルを別の場所へ移すか"
                                    "削除してから、[再試行] を押して下さい。）");
}

// The settings file read once.
Profile loadIni(const std::string& file) {
  std::optional<Profile> profile = profileLoad(file);
  if (!profile) raiseTooLarge(file);
  return std::move(*profile);
}

}  // namespace

void myAppSetting() {
  g_calcSettings = builtInCalcSettings();
  g_calcSettingsDefault = g_calcSettings;
  APP初期値ファイルの読み込み();
}

void APP初期値ファイルの作成() {
  guardStep("APP初期値ファイルの作成", [] {
    CalcSettings builtIn = builtInCalcSettings();
    std::string bytes = "[" + std::string(kSettingsSection) + "]\r\n";
    for (const SettingsKey& k : settingsKeys())
      bytes += toCp932(k.key) + "=" + formatGeneral(k.member(builtIn)) + "\r\n";
    if (WriteResult written = writeFileAtomically(settingsFilePath(), bytes); !written) raiseWriteError(written);
  });
}

void APP初期値ファイルの読み込み() {
  const char* label = "APP初期値ファイルの読み込み";
  const std::string path = settingsFilePath();
  Profile ini;
  guardStep("myINIRead", [&] { ensureFile(path); });
  guardStep(label, [&] { ini = loadIni(path); });
  for (const SettingsKey& k : settingsKeys()) {
    const std::string s = ini.value(kSettingsSection, k.key, kIniValueMaxBytes);
    double& member = k.member(g_calcSettings);
    member = k.member(g_calcSettingsDefault);
    if (s.empty()) continue;
    guardStep(label, [&] { member = numberFromText(myTrim(s)); });
  }
  for (std::size_t i = 0; i < g_recentFiles.size(); ++i)
    g_recentFiles[i] = pathOnDiskFromCp932(ini.value(kSettingsSection, "FILE" + std::to_string(i), kIniPathMaxBytes));
}

void APP初期値ファイルの書き込み() {
  const char* label = "APP初期値ファイルの書き込み";
  ProfileEntries entries;
  for (const SettingsKey& k : settingsKeys()) {
    std::string text;
    if (!guardStep(label, [&] { text = formatGeneral(k.member(g_calcSettings)); })) continue;
    entries.emplace_back(k.key, std::move(text));
  }
  if (!entries.empty()) myINIWriteKeys(settingsFilePath(), kSettingsSection, entries, label);
}

std::string myINIRead(const std::string& file, const std::string& section, const std::string& key,
                      std::size_t maxBytes) {
  std::string value;
  guardStep("myINIRead", [&] { ensureFile(file); });
  guardStep("myINIRead", [&] { value = loadIni(file).value(section, key, maxBytes); });
  return value;
}

void myINIWrite(const std::string& file, const std::string& section, const std::string& key,
                const std::string& value) {
  myINIWriteKeys(file, section, {{key, value}}, "myINIWrite");
}

bool myINIWriteKeys(const std::string& file, const std::string& section, const ProfileEntries& entries,
                    const std::string& label, const std::string& note) {
  // The note replaces the cause's detail, which would name the file a second time; the advice
  // about an oversized file stays.
  const auto noted = [&](auto&& step) {
    return [&, step] {
      try {
        step();
      } catch (const RuntimeError& e) {
        if (note.empty()) throw;
        const std::string& own = e.number() == err::kOutOfMemory ? e.description() : std::string();
        raiseError(e.number(), (own.empty() ? errorDescription(e.number()) : own) + "（" + note + "）");
      }
    };
  };
  if (!guardStep(label, noted([&] { ensureFile(file); }))) return false;  // one cause, one box
  return guardStep(label, noted([&] {
    WriteResult written = profileWrite(file, section, entries);
    if (!written && written.error() == kProfileTooLarge) raiseTooLarge(file);
    if (!written) raiseWriteError(written);
  }));
}

}  // namespace tovakin::app
