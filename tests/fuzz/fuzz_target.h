#pragma once
// What every fuzz target shares: how its entry point is declared, how an invariant fails, a
// quiet error box and one scratch folder per process.
//
// A target is written once and compiled two ways:
//   TOVAKIN_FUZZ_TARGET(name) { ... uses data and size ... return 0; }
// - with TOVAKIN_FUZZ_LIBFUZZER defined (the fuzz build, one executable per target) it is
//   libFuzzer's entry point LLVMFuzzerTestOneInput;
// - without it (the replay test, all targets in one executable) it is a function registered
//   under its name, so that the test can feed it the committed corpus of that name.
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error_box.h"

namespace tovakin::fuzz {

using Target = int (*)(const std::uint8_t* data, std::size_t size);

// The targets linked into this executable, by name.
inline std::map<std::string, Target, std::less<>>& targets() {
  static std::map<std::string, Target, std::less<>> all;
  return all;
}
inline bool registerTarget(const char* name, Target target) {
  targets().emplace(name, target);
  return true;
}

// A broken invariant is a finding: say which, then stop the way libFuzzer recognises as a crash.
[[noreturn]] inline void invariantFailed(const char* expression, const char* file, int line) {
  std::fprintf(stderr, "fuzz invariant failed: %s (%s:%d)\n", expression, file, line);
  std::fflush(stderr);
  __builtin_trap();
}

// The error box the code under test reaches through guardStep: Ignore, and nothing on stderr
// (the default box writes there and answers Abort, which would end the run on a refusal).
class QuietErrorBox final : public platform::ErrorBox {
 public:
  platform::ErrorAnswer show(const std::string&, const std::string&) override { return platform::ErrorAnswer::Ignore; }
};

// A folder of this process's own under the system's temporary folder, made on first use and
// removed at the end of the run. Targets that need files reuse fixed names inside it, so that a
// long fuzzing run does not fill the disk. A process that crashes (what the fuzzer is after, and
// -minimize_crash or -fork run many) cannot remove its folder; the name carries the process id,
// and the next process removes the folders of processes that are gone.
class ScratchFolder {
 public:
  static const std::string& path() {
    static ScratchFolder folder;
    return folder.path_;
  }
  static std::string file(std::string_view name) { return path() + "/" + std::string(name); }

 private:
  static constexpr std::string_view kPrefix = "tovakin-fuzz-";

  static void removeLeftovers(const std::filesystem::path& temp) {
    std::error_code ec;
    std::vector<std::filesystem::path> gone;
    for (const auto& entry : std::filesystem::directory_iterator(temp, ec)) {
      const std::string name = entry.path().filename().string();
      if (name.compare(0, kPrefix.size(), kPrefix) != 0) continue;
      const std::string rest = name.substr(kPrefix.size());
      const std::size_t dash = rest.find('-');
      if (dash == 0 || dash == std::string::npos || rest.find_first_not_of("0123456789") != dash) continue;
      const long pid = std::strtol(rest.c_str(), nullptr, 10);
      if (pid <= 0 || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
      gone.push_back(entry.path());
    }
    for (const auto& folder : gone) std::filesystem::remove_all(folder, ec);
  }

  ScratchFolder() {
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    removeLeftovers(temp);
    std::string pattern = (temp / (std::string(kPrefix) + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      std::fprintf(stderr, "fuzz: cannot make a scratch folder in %s\n", pattern.c_str());
      std::abort();
    }
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string path_;
};

// Replaces the file with the bytes; false when it could not be written.
inline bool writeInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  return static_cast<bool>(out);
}

// The input as the text of a file read into memory: a pointer to a buffer, even when empty.
inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
  static const char kEmpty[1] = {};
  return std::string_view(data != nullptr ? reinterpret_cast<const char*>(data) : kEmpty, size);
}

}  // namespace tovakin::fuzz

#define TOVAKIN_FUZZ_CHECK(condition) \
  ((condition) ? void(0) : ::tovakin::fuzz::invariantFailed(#condition, __FILE__, __LINE__))

#ifdef TOVAKIN_FUZZ_LIBFUZZER
#define TOVAKIN_FUZZ_TARGET(name) \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
#else
#define TOVAKIN_FUZZ_TARGET(name)                                                          \
  static int tovakinFuzzTarget_##name(const std::uint8_t* data, std::size_t size);         \
  [[maybe_unused]] static const bool tovakinFuzzRegistered_##name =                        \
      ::tovakin::fuzz::registerTarget(#name, &tovakinFuzzTarget_##name);                    \
  static int tovakinFuzzTarget_##name(const std::uint8_t* data, std::size_t size)
#endif
