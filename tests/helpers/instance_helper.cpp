// The start-up tests' second program: the program's Main in the application folder named on the
// command line, with the headless boxes (no box is ever shown; what a box would say goes to
// standard error). It prints one line per event on standard output:
//   recent <path>    (with --say-recent, before ready) the newest recent file the start read
//   ready            Main has shown the main window (the event loop runs next)
//   ended <status>   Main ended the start (handed over, or refused)
//   raised <name>    a later start handed over; <name> is the object name of the window that
//                    came to the front
//   waiting          (with --say-waiting) the running instance did not take the start at once
//   closing          (with --hold-close) the main window's close is decided; the helper holds
//                    there, before the window's last writes, until a line comes on standard input
// Options after the folder:
//   --modal          opens a modal dialog over the main window before the loop
//   --say-recent     prints the recent line
//   --say-waiting    prints the waiting line
//   --hold-close     closes the main window (as 終了 does) once raised, and holds in the close
//   --last-write P   enters P in the recent-file list when the main window goes at the end of the
//                    run: the last write of the settings file
//   --instance-cache C  the cache folder in which the instance's private folder is found should
//                    another account hold its name (in place of the account's own)
// The helper ends the run as the program does (endRun) after being raised, or after 30 seconds.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "app/app_state.h"
#include "app/recent_files.h"
#include "calc/pipe_database.h"
#include "platform/error_box.h"
#include "shell/program_main.h"
#include "shell/single_instance.h"
#include "ui/application.h"

namespace {
void say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv) {
  using namespace tovakin::gui;
  if (argc < 2) {
    std::fprintf(stderr, "usage: tovakin_instance_helper APPFOLDER [--modal] [--say-recent] [--last-write PATH]\n");
    return 64;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  prepareApplication(application);
  const std::string folder = argv[1];
  bool modal = false;
  bool sayRecent = false;
  bool sayWaiting = false;
  bool holdClose = false;
  std::string lastWrite;
  std::string instanceCache;
  for (int i = 2; i < argc; ++i) {
    if (std::strcmp(argv[i], "--modal") == 0) modal = true;
    else if (std::strcmp(argv[i], "--say-recent") == 0) sayRecent = true;
    else if (std::strcmp(argv[i], "--say-waiting") == 0) sayWaiting = true;
    else if (std::strcmp(argv[i], "--hold-close") == 0) holdClose = true;
    else if (std::strcmp(argv[i], "--last-write") == 0 && i + 1 < argc) lastWrite = argv[++i];
    else if (std::strcmp(argv[i], "--instance-cache") == 0 && i + 1 < argc) instanceCache = argv[++i];
  }
  setAppFolderOverride(folder);

  MainParts parts;
  parts.appFolder = QString::fromStdString(folder);
  parts.rebuildDatabase = [] { CreateMyDatabase(g_app.g_appPath); };
  if (sayWaiting) parts.waitingForInstance = [] { say("waiting"); };
  if (!instanceCache.empty()) {
    parts.instanceFolder = [cache = QString::fromStdString(instanceCache)] {
      return privateRuntimeFolder(static_cast<unsigned>(::geteuid()), {}, {cache});
    };
  }
  try {
    MainOutcome started = Main(parts);
    if (started.exitStatus) {
      say("ended " + std::to_string(*started.exitStatus));
      return *started.exitStatus;
    }
    if (sayRecent) say("recent " + g_recentFiles[0]);
    if (!lastWrite.empty())
      QObject::connect(started.window.get(), &QObject::destroyed, [lastWrite] { 履歴ファイル更新(lastWrite); });
    if (holdClose) {
      // Connected after Main's own handler of the decided close, as any later one is.
      QObject::connect(started.window.get(), &frmMain::closeDecided, [] {
        say("closing");
        char line[16];
        if (!std::fgets(line, sizeof line, stdin)) std::fprintf(stderr, "no line on standard input\n");
      });
    }
    auto dialog = std::make_unique<QDialog>(started.window.get());
    dialog->setObjectName(QStringLiteral("helperDialog"));
    if (modal) dialog->open();
    const RaiseHook windowHook = instanceRaiseHook();
    setInstanceRaiseHook([windowHook, holdClose, window = started.window.get()] {
      if (windowHook) windowHook();
      QWidget* front = QApplication::activeModalWidget();
      if (!front) front = QApplication::activeWindow();
      say("raised " + (front ? front->objectName().toStdString() : std::string("none")));
      if (holdClose) {
        QTimer::singleShot(0, window, &QWidget::close);
      } else {
        QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
      }
    });
    QTimer::singleShot(30000, QCoreApplication::instance(), &QCoreApplication::quit);
    say("ready");
    const int status = application.exec();
    dialog.reset();
    endRun(started);
    return status;
  } catch (const ProgramAborted&) {
    say("ended 1");
    return 1;
  }
}
