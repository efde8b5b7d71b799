#include "ui/launcher.h"

#include <cstdio>

#include "ui/desktop_entry.h"

namespace tovakin::gui {
namespace {

class HeadlessLauncher final : public Launcher {
 public:
  bool openUrl(const std::string& url) override {
    std::fprintf(stderr, "[launcher] not opened (no desktop): %s\n", url.c_str());
    return false;
  }
  OpenOutcome openFile(const std::string& path) override {
    std::fprintf(stderr, "[launcher] not opened (no desktop): %s\n", path.c_str());
    return OpenOutcome::NoProgram;
  }
  std::optional<DesktopProgram> defaultProgramFor(const std::string&) override { return std::nullopt; }
  bool startProgram(const std::string& program, const std::vector<std::string>&) override {
    std::fprintf(stderr, "[launcher] not started (no desktop): %s\n", program.c_str());
    return false;
  }
};

HeadlessLauncher g_headless;
Launcher* g_launcher = nullptr;

}  // namespace

Launcher& launcher() { return g_launcher ? *g_launcher : g_headless; }

Installed<Launcher> installLauncher(Launcher& l) { return {g_launcher, &l}; }

bool startDesktopProgram(const DesktopProgram& program, const std::vector<std::string>& files) {
  return launcher().startProgram(program.program, expandExecArguments(program.arguments, files));
}

}  // namespace tovakin::gui
