#include "shell/startup_benchmark.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace tovakin::gui {

StartupBenchmark::StartupBenchmark(QWidget& mainWindow, std::chrono::steady_clock::time_point began)
    : window_(mainWindow), began_(began) {
  // The main window's own area may be covered by its children, which then get the first paint:
  // watch every widget of the window.
  QCoreApplication::instance()->installEventFilter(this);
}

StartupBenchmark::~StartupBenchmark() { QCoreApplication::instance()->removeEventFilter(this); }

bool StartupBenchmark::eventFilter(QObject* watched, QEvent* event) {
  const auto* widget = event->type() == QEvent::Paint ? qobject_cast<QWidget*>(watched) : nullptr;
  if (!reported_ && widget && widget->window() == &window_) {
    reported_ = true;
    const auto now = std::chrono::system_clock::now();
    const auto sinceMain = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began_);
    const long long wall =
        std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
    std::printf("%s %lld %.1f\n", kLinePrefix, wall, sinceMain.count());
    std::fflush(stdout);
    // Ends after this paint has reached the screen.
    QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace tovakin::gui
