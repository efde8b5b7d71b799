// Every test program runs in a home of its own: before main, each process gets a new folder and
// HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME, XDG_STATE_HOME and XDG_RUNTIME_DIR point
// into it, so that no test reads or writes the developer's own settings (the window placement
// of QSettings, a settings file, the recent files) and no instance of the program run by a test
// meets the developer's running one. The processes a test starts inherit the folders. The folder
// goes when the process ends normally.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class TestHome {
 public:
  TestHome() : owner_(::getpid()) {
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec) temp = "/tmp";
    std::string pattern = (temp / "tovakin-test-home-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();  // never fall back on the real home
    root_ = pattern;
    const auto folder = [&](const char* variable, const char* name) {
      const std::filesystem::path path = root_ / name;
      std::filesystem::create_directories(path);
      std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
      ::setenv(variable, path.c_str(), 1);
    };
    folder("HOME", "home");
    folder("XDG_CONFIG_HOME", "home/.config");
    folder("XDG_DATA_HOME", "home/.local/share");
    folder("XDG_STATE_HOME", "home/.local/state");
    folder("XDG_CACHE_HOME", "home/.cache");
    folder("XDG_RUNTIME_DIR", "run");
  }
  ~TestHome() {
    // A forked child that ends through exit() must not take its parent's folder with it.
    if (::getpid() != owner_) return;
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

 private:
  pid_t owner_;
  std::filesystem::path root_;
};

const TestHome testHome;

}  // namespace
