#pragma once
// The launcher of a freedesktop.org desktop: xdg-open for web pages, xdg-mime for the type of a
// file and the desktop entry of its program, the entry's Exec line for how to start it. Every
// program runs through a ProcessRunner, so that tests see the command lines without running them.
#include <QPointer>
#include <QProcess>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/launcher.h"
#include "ui/layer.h"

namespace tovakin::gui {

class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // Runs a program to its end and returns what it wrote to standard output; nullopt when it
  // could not be started, did not finish in time or ended with a non-zero status.
  virtual std::optional<std::string> output(const std::string& program, const std::vector<std::string>& arguments) = 0;
  // Starts a program without waiting for it; false when it could not be started.
  virtual bool startDetached(const std::string& program, const std::vector<std::string>& arguments) = 0;
  // Runs a program to its end without waiting for it: `done` gets what output() would return, on
  // the windows' thread, once (at once, by default).
  using OutputDone = std::function<void(std::optional<std::string>)>;
  virtual void outputLater(const std::string& program, const std::vector<std::string>& arguments, OutputDone done) {
    done(output(program, arguments));
  }
};

// The runner over QProcess.
class QProcessRunner final : public ProcessRunner {
 public:
  QProcessRunner() = default;
  QProcessRunner(const QProcessRunner&) = delete;
  QProcessRunner& operator=(const QProcessRunner&) = delete;
  // A process still running is ended without its answer: whoever waited for it may be gone.
  ~QProcessRunner() override;
  std::optional<std::string> output(const std::string& program, const std::vector<std::string>& arguments) override;
  bool startDetached(const std::string& program, const std::vector<std::string>& arguments) override;
  // The process runs beside the windows' event loop; one that has not ended in 10 s is killed.
  void outputLater(const std::string& program, const std::vector<std::string>& arguments, OutputDone done) override;

 private:
  std::vector<QPointer<QProcess>> running_;
};

// Where desktop entries and programs are looked for, in order of precedence.
struct DesktopPaths {
  std::vector<std::string> applicationDirs;  // "<data dir>/applications"
  std::vector<std::string> programDirs;      // the folders of PATH
  // From XDG_DATA_HOME, XDG_DATA_DIRS and PATH, with the defaults of the freedesktop.org rules.
  static DesktopPaths fromEnvironment();
};

class XdgLauncher final : public Launcher {
 public:
  explicit XdgLauncher(ProcessRunner& runner, DesktopPaths paths = DesktopPaths::fromEnvironment());

  bool openUrl(const std::string& url) override;
  OpenOutcome openFile(const std::string& path) override;
  std::optional<DesktopProgram> defaultProgramFor(const std::string& extension) override;
  // xdg-mime, a script that takes a second or more, runs beside the windows.
  void findDefaultProgramFor(const std::string& extension, ProgramAnswer answer) override;
  bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override;

  // The desktop's program for a MIME type ("application/pdf"); nullopt when it names none, or
  // names one whose entry or program is not there.
  std::optional<DesktopProgram> defaultProgramForType(const std::string& mimeType);

 private:
  // The program of the desktop entry xdg-mime named in its answer.
  std::optional<DesktopProgram> programOfAnswer(const std::optional<std::string>& answer) const;
  std::optional<std::string> findEntry(const std::string& entryId) const;
  std::optional<std::string> findProgram(const std::string& name) const;

  ProcessRunner& runner_;
  DesktopPaths paths_;
};

}  // namespace tovakin::gui
