// Cost of a settings file far larger than any settings file: the recent-file update after each
// design-file save and the options dialog's write refuse it after reading no more of it than
// start-up does, whatever its size; a normal file is written for comparison.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/app_state.h"
#include "app/calc_settings.h"
#include "app/recent_files.h"
#include "app/settings.h"
#include "platform/error_box.h"

namespace {

using namespace tovakin::app;
namespace fs = std::filesystem;

// Answers every box with Ignore, as nobody is there to move the file aside.
class IgnoringBox final : public ErrorBox {
 public:
  ErrorAnswer show(const std::string&, const std::string&) override {
    ++shown;
    return ErrorAnswer::Ignore;
  }
  int shown = 0;
};

// An application folder whose TOVAKIN.INI holds the section and then `size` bytes in all; the
// tail is a hole, so that a file of gigabytes takes no room.
class IniFolder {
 public:
  explicit IniFolder(std::uintmax_t size) {
    std::string pattern = (fs::temp_directory_path() / "tovakin-bench-ini-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    setAppFolderOverride(path_);
    MyFlagSet();
    g_calcSettings = builtInCalcSettings();
    std::ofstream(settingsFilePath(), std::ios::binary) << "[Tovakin]\r\nFILE0=/d/a.PIPEDATA\r\n";
    if (size > 0) fs::resize_file(settingsFilePath(), size);
  }
  ~IniFolder() {
    setAppFolderOverride(std::nullopt);
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  IgnoringBox box;

 private:
  std::string path_;
  Installed<ErrorBox> installed_ = installErrorBox(box);
};

// The recent-file update a design-file save ends with; range(0) the file's size in MiB (0: a
// normal settings file, written each time).
void BM_RecentFileUpdate(benchmark::State& state) {
  IniFolder folder(std::uintmax_t(state.range(0)) << 20);
  for (auto _ : state) 履歴ファイル更新("/d/b.PIPEDATA");
  state.counters["boxes"] = benchmark::Counter(folder.box.shown, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RecentFileUpdate)->Arg(0)->Arg(16)->Arg(2048)->Unit(benchmark::kMillisecond);

// The options dialog's OK: the 38 keys in one write.
void BM_OptionsWrite(benchmark::State& state) {
  IniFolder folder(std::uintmax_t(state.range(0)) << 20);
  for (auto _ : state) APP初期値ファイルの書き込み();
  state.counters["boxes"] = benchmark::Counter(folder.box.shown, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OptionsWrite)->Arg(0)->Arg(16)->Arg(2048)->Unit(benchmark::kMillisecond);

}  // namespace
