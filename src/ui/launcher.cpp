#include "ui/launcher.h"

#include <QEventLoop>
#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "ui/busy_pointer.h"
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

// Who waits for the answer to one question.
using Waiting = std::vector<Launcher::ProgramAnswer>;

// The answers given, by extension, the questions still out, and the launcher asked: another
// launcher installed (a test's double) knows nothing yet.
struct KnownPrograms {
  const Launcher* from = nullptr;
  std::map<std::string, std::optional<DesktopProgram>> answers;
  std::map<std::string, std::shared_ptr<Waiting>> asking;
};
KnownPrograms g_known;

KnownPrograms& knownOfLauncher(const Launcher& l) {
  if (g_known.from != &l) g_known = KnownPrograms{&l, {}, {}};
  return g_known;
}

}  // namespace

Launcher& launcher() { return g_launcher ? *g_launcher : g_headless; }

void askDefaultProgramFor(const std::string& extension, Launcher::ProgramAnswer answer) {
  Launcher& asked = launcher();
  KnownPrograms& known = knownOfLauncher(asked);
  // The question already out answers this one too: a second one would only take as long again.
  if (const auto out = known.asking.find(extension); out != known.asking.end()) {
    if (answer) out->second->push_back(std::move(answer));
    return;
  }
  auto waiting = std::make_shared<Waiting>();
  if (answer) waiting->push_back(std::move(answer));
  known.asking[extension] = waiting;
  const auto settle = [&asked, extension, waiting] {
    // Questions of a launcher since replaced are not its successor's.
    if (&asked != &launcher()) return;
    KnownPrograms& now = knownOfLauncher(asked);
    if (const auto out = now.asking.find(extension); out != now.asking.end() && out->second == waiting)
      now.asking.erase(out);
  };
  try {
    asked.findDefaultProgramFor(extension, [&asked, extension, waiting, settle](std::optional<DesktopProgram> program) {
      // An answer of a launcher since replaced is not kept.
      if (&asked == &launcher()) knownOfLauncher(asked).answers[extension] = program;
      settle();
      for (const Launcher::ProgramAnswer& each : std::exchange(*waiting, {})) each(program);
    });
  } catch (...) {
    settle();  // a question that never went out is asked again next time
    throw;
  }
}

std::optional<DesktopProgram> knownDefaultProgram(const std::string& extension) {
  {
    const KnownPrograms& known = knownOfLauncher(launcher());
    // A program known is used at once; "none" is asked again (one may have been installed since),
    // without blocking the windows.
    if (const auto it = known.answers.find(extension); it != known.answers.end() && it->second) return it->second;
  }
  struct Wait {
    bool answered = false;
    std::optional<DesktopProgram> program;
    QEventLoop* loop = nullptr;
  };
  // The answer may come after this call has given up (never: the runner ends every question).
  auto wait = std::make_shared<Wait>();
  askDefaultProgramFor(extension, [wait](std::optional<DesktopProgram> program) {
    wait->answered = true;
    wait->program = std::move(program);
    if (wait->loop) wait->loop->quit();
  });
  if (!wait->answered) {
    const bool wasBusy = busyPointerWanted();
    setBusyPointer(true);
    QEventLoop loop;
    wait->loop = &loop;
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    wait->loop = nullptr;
    setBusyPointer(wasBusy);
  }
  return wait->program;
}

Installed<Launcher> installLauncher(Launcher& l) {
  g_known = KnownPrograms{};
  return {g_launcher, &l};
}

bool startDesktopProgram(const DesktopProgram& program, const std::vector<std::string>& files) {
  return launcher().startProgram(program.program, expandExecArguments(program.arguments, files));
}

}  // namespace tovakin::gui
