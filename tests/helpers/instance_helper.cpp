// The start-up tests' second program: the program's Main in the application folder named on the
// command line, with the headless boxes (no box is ever shown). It prints one line per event on
// standard output:
//   ready            Main has shown the main window (the event loop runs next)
//   ended <status>   Main ended the start (handed over, or refused)
//   raised <name>    a later start handed over; <name> is the object name of the window that
//                    came to the front
// Options after the folder: --modal opens a modal dialog over the main window before the loop.
// The helper ends after being raised, or after 30 seconds.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app_state.h"
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
    std::fprintf(stderr, "usage: tovakin_instance_helper APPFOLDER [--modal]\n");
    return 64;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  prepareApplication(application);
  const std::string folder = argv[1];
  const bool modal = argc > 2 && std::strcmp(argv[2], "--modal") == 0;
  setAppFolderOverride(folder);

  MainParts parts;
  parts.appFolder = QString::fromStdString(folder);
  parts.rebuildDatabase = [] { CreateMyDatabase(g_app.g_appPath); };
  try {
    MainOutcome started = Main(parts);
    if (started.exitStatus) {
      say("ended " + std::to_string(*started.exitStatus));
      return *started.exitStatus;
    }
    QDialog dialog(started.window.get());
    dialog.setObjectName(QStringLiteral("helperDialog"));
    if (modal) dialog.open();
    const RaiseHook windowHook = instanceRaiseHook();
    setInstanceRaiseHook([windowHook] {
      if (windowHook) windowHook();
      QWidget* front = QApplication::activeModalWidget();
      if (!front) front = QApplication::activeWindow();
      say("raised " + (front ? front->objectName().toStdString() : std::string("none")));
      QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    });
    QTimer::singleShot(30000, QCoreApplication::instance(), &QCoreApplication::quit);
    say("ready");
    return application.exec();
  } catch (const ProgramAborted&) {
    say("ended 1");
    return 1;
  }
}
