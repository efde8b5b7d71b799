#pragma once
// The start-up benchmark's probe: when the main window is painted for the first time, it prints
// the time and ends the program. bench/startup_bench.py reads the line.
#include <QObject>
#include <chrono>

#include "ui/layer.h"

class QWidget;

namespace tovakin::gui {

class StartupBenchmark final : public QObject {
 public:
  StartupBenchmark(QWidget& mainWindow, std::chrono::steady_clock::time_point began);
  ~StartupBenchmark() override;

  // "startup-shown <wall clock ns since the epoch> <ms since main began>"
  static constexpr const char* kLinePrefix = "startup-shown";

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& window_;
  std::chrono::steady_clock::time_point began_;
  bool reported_ = false;
};

}  // namespace tovakin::gui
