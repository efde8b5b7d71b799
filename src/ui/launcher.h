#pragma once
// What the program asks of the desktop: open a web page, open a file with the program the desktop
// uses for its type, find that program for a type, start a program. A service like the boxes:
// main() installs the desktop's, tests a scripted double, so no test starts a browser or a
// spreadsheet program. Programs are started with argument lists, never through a shell.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/service.h"
#include "ui/layer.h"

namespace tovakin::gui {

// The program the desktop uses for a type, from its desktop entry.
struct DesktopProgram {
  std::string entry;                   // the desktop entry's id ("sheets.desktop")
  std::string program;                 // the program's full path
  std::vector<std::string> arguments;  // the entry's arguments after the program, field codes kept
  bool operator==(const DesktopProgram&) const = default;
};

enum class OpenOutcome {
  Started,    // the type's program was started on the file
  NoProgram,  // the desktop has no program for the file's type
  Failed,     // a program is named but could not be started
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Opens a web page (or any URL) the desktop's way; false when nothing could be started.
  virtual bool openUrl(const std::string& url) = 0;
  // Opens an existing file with the program the desktop uses for its type.
  virtual OpenOutcome openFile(const std::string& path) = 0;
  // The program the desktop uses for files with this extension ("XLS", "xlsx"); nullopt when
  // there is none. No file is created or read for the look-up.
  virtual std::optional<DesktopProgram> defaultProgramFor(const std::string& extension) = 0;
  // The same look-up without waiting for it: `answer` runs once, on the windows' thread, when the
  // desktop has answered (at once, by default). For what a window shows as it opens, such as a
  // menu, where asking the desktop can take a second.
  using ProgramAnswer = std::function<void(std::optional<DesktopProgram>)>;
  virtual void findDefaultProgramFor(const std::string& extension, ProgramAnswer answer) {
    answer(defaultProgramFor(extension));
  }
  // Starts a program with its arguments, without waiting for it.
  virtual bool startProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

// The installed launcher; without one (headless runs), a launcher that starts nothing and finds
// no program.
Launcher& launcher();
// Installs a launcher until the guard goes out of scope.
Installed<Launcher> installLauncher(Launcher& launcher);

// The program for an extension asked without waiting, through the installed launcher; the answer
// is kept for knownDefaultProgram. While a question for the extension is out, no other is asked:
// its answer answers every caller.
void askDefaultProgramFor(const std::string& extension, Launcher::ProgramAnswer answer);
// The program for an extension, for a command the user chose: the program the installed launcher
// last named, without asking again. With none named yet it asks (or joins the question already
// out) and waits for the answer with the busy pointer, the windows repainting (user input waits):
// a slow desktop never freezes them.
std::optional<DesktopProgram> knownDefaultProgram(const std::string& extension);

// Starts a desktop program on files, with the files where its entry puts them.
bool startDesktopProgram(const DesktopProgram& program, const std::vector<std::string>& files);

}  // namespace tovakin::gui
