#pragma once
// A throw-away application folder for the foundation tests: MyFlagSet points g_appPath at a
// fresh temporary folder with DATA/ and DATABASE/, the settings are the built-in values, the
// recent-file list is empty, and a scripted error box and message box are installed.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/app_state.h"
#include "app/calc_settings.h"
#include "app/recent_files.h"
#include "app/settings.h"
#include "platform/cp932.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"

namespace tovakin::testing {
using namespace tovakin::app;

inline std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

class FoundationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "tovakin-app-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    root_ = tmpl;
    std::filesystem::create_directories(root_ + "/DATA");
    std::filesystem::create_directories(root_ + "/DATABASE");
    setAppFolderOverride(root_);
    MyFlagSet();
    g_calcSettings = builtInCalcSettings();
    g_calcSettingsDefault = g_calcSettings;
    g_recentFiles = {};
  }
  void TearDown() override {
    setAppFolderOverride(std::nullopt);
    std::error_code ec;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(root_, ec);
  }

  // g_appPath, with its trailing "/".
  const std::string& app() const { return g_app.g_appPath; }
  std::string iniPath() const { return app() + "TOVAKIN.INI"; }
  // The settings file as UTF-8 text.
  std::string iniText() const { return fromCp932(readAll(iniPath())); }
  // Writes the settings file from UTF-8 text (stored as CP932).
  void writeIni(const std::string& utf8) const { writeAll(iniPath(), toCp932(utf8)); }

  std::string root_;
  ScriptedErrorBox errors_{ErrorAnswer::Ignore};
  testing::ScriptedMessageBox messages_;
  Installed<MessageBoxService> messageScope_ = installMessageBox(messages_);
};

}  // namespace tovakin::testing
