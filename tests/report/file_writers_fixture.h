#pragma once
// The program's file writers side by side, for the tests that hold them all to the same rules:
// the design file, the settings and the recent files in TOVAKIN.INI, the report and the pipe
// database. They live with the report tests because only these see every layer. Each writer
// runs the program's own procedure in an application folder of its own, with the shipped
// workbook and report template.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/document_file.h"
#include "app/recent_files.h"
#include "app/settings.h"
#include "calc/pipe_database.h"
#include "report/report_writer.h"
#include "report/xlsx_report_book.h"
#include "report_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "support/xlsx_test_util.h"

namespace tovakin::testing {
using namespace tovakin::report;

struct FileWriter {
  std::string name;
  std::string file;   // the file it writes
  std::string label;  // the label of its error boxes
  // Writes the file, its content depending on `round`; the procedure's result where it gives one.
  std::function<std::optional<bool>(int round)> write;
  // The text its error box gives for a failed write with the runtime's error `number`.
  std::function<std::string(int number)> box;
};

class FileWritersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    saved_ = g_app;
    app_ = dir_.path().string() + "/";
    fs::create_directories(app_ + "DATA");
    fs::create_directories(app_ + "DATABASE");
    for (const char* file : {"Tovakin.xlsx", "QXWork.xlsx"})
      fs::copy_file(std::string(TOVAKIN_APPDIR "/DATABASE/") + file, app_ + "DATABASE/" + file);
    setAppFolderOverride(app_);
    MyFlagSet();
    g_calcSettings = builtInCalcSettings();
    g_calcSettingsDefault = g_calcSettings;
    g_recentFiles = {};
    APP初期値ファイルの作成();  // as the start-up leaves it
  }
  void TearDown() override {
    setAppFolderOverride(std::nullopt);
    g_app = saved_;
  }

  std::vector<FileWriter> writers() {
    const auto plain = [](const std::string& label) {
      return [label](int number) {
        return errorDescription(number) + "(" + std::to_string(number) + ")\n in " + label;
      };
    };
    const auto naming = [](const std::string& file, const std::string& label, const std::string& after = {}) {
      return [=](int number) {
        return errorDescription(number) + "（" + file + "）" + after + "(" + std::to_string(number) + ")\n in " + label;
      };
    };
    const std::string design = app_ + "DATA/case.PIPEDATA", report = app_ + "DATA/case.xlsx";
    const std::string ini = settingsFilePath(), database = calc::pipeDatabasePath(app_);
    return {
        {"design file", design, "データの書き出し",
         [design](int round) -> std::optional<bool> {
           DesignData d = newDesignData();
           d.keisanshoTitle = "ケース " + std::to_string(round);
           return データの書き出し(d, design);
         },
         plain("データの書き出し")},
        {"settings", ini, "APP初期値ファイルの書き込み",
         [](int round) -> std::optional<bool> {
           g_calcSettings.tuchiTanniJuryo = 18 + round;
           APP初期値ファイルの書き込み();
           return std::nullopt;
         },
         plain("APP初期値ファイルの書き込み")},
        {"recent files", ini, "履歴ファイル更新",
         [this](int round) -> std::optional<bool> {
           履歴ファイル更新(app_ + "DATA/" + std::to_string(round) + ".PIPEDATA");
           return std::nullopt;
         },
         plain("履歴ファイル更新")},
        {"report", report, "subExcelSheetCreate",
         [report](int round) -> std::optional<bool> {
           XlsxReportTemplateOpener opener;
           const auto installed = installReportTemplateOpener(opener);
           ReportCase c = largestCase();
           c.design.keisanshoTitle = "ケース " + std::to_string(round);
           ScriptedCommonDialog dialog;
           dialog.FileName = report;
           return subExcelSheetCreate(c.design, c.result, dialog);
         },
         naming(report, "subExcelSheetCreate")},
        {"database", database, "CreateMyDatabase",
         [this](int) -> std::optional<bool> {
           calc::CreateMyDatabase(app_);
           return std::nullopt;
         },
         naming(database, "CreateMyDatabase", " 前回のデータベース '" + database + "' をそのまま使います。")},
    };
  }

  // What is at a path: its bytes and inode, so that a file replaced by an equal one differs.
  struct Snapshot {
    std::string bytes;
    ino_t inode = 0;
    bool operator==(const Snapshot&) const = default;
  };
  static Snapshot snapshot(const std::string& path) {
    struct stat st;
    return {readFile(path), ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0};
  }

  // The temporary files beside a file.
  static std::vector<std::string> temporaries(const std::string& file) {
    const std::filesystem::path path(file);
    const std::string prefix = "." + path.filename().string() + ".tovakin-tmp.";
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(path.parent_path()))
      if (e.path().filename().string().rfind(prefix, 0) == 0) out.push_back(e.path().filename().string());
    return out;
  }

  TempDir dir_;
  std::string app_;
  AppState saved_;
  ScriptedErrorBox errors_{ErrorAnswer::Ignore};
};

}  // namespace tovakin::testing
