#pragma once
// Setting up the Qt application the windows run in: is there a desktop at all, Qt's own texts in
// Japanese, the designed Japanese faces, numbers read the same in every locale.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <optional>
#include <string>

#include "ui/layer.h"

class QApplication;
class QCoreApplication;

namespace tovakin::gui {

// The exit status of a start without a desktop.
inline constexpr int kNoDesktopStatus = 3;

// What to tell the user, in Japanese and English, when the program cannot show windows: a
// desktop (X11 or Wayland) is needed, or Xvfb; `program` is how to start it again.
std::string noDesktopText(const std::string& program);

// The same text when the environment names no display (DISPLAY and WAYLAND_DISPLAY empty, and
// no Qt platform chosen with QT_QPA_PLATFORM); nullopt when it names one. `environment` reads a
// variable (nullptr when unset).
std::optional<std::string> noDesktopMessage(const std::string& program,
                                            const std::function<const char*(const char*)>& environment);

// While it lives, a Qt start that fails for good (a display that is named but cannot be reached)
// ends the program with noDesktopText and kNoDesktopStatus instead of Qt's plug-in error.
class DesktopStartGuard {
 public:
  explicit DesktopStartGuard(std::string program);
  ~DesktopStartGuard();
  DesktopStartGuard(const DesktopStartGuard&) = delete;
  DesktopStartGuard& operator=(const DesktopStartGuard&) = delete;

 private:
  QtMessageHandler previous_;
};

// Loads Qt's own Japanese texts ("qtbase_ja": the buttons of boxes and the file dialog) into the
// application; false when the translation is not installed.
bool loadQtTranslations(QCoreApplication& application);

// The faces the windows were designed in, which no Linux desktop has.
const QStringList& designedFaces();
// The Japanese face that stands in for them, and for the application's default face.
inline constexpr const char* kJapaneseFace = "Noto Sans CJK JP";
// Makes every designed face resolve to the Japanese face.
void substituteDesignedFaces();

// Everything above for the running application, and the application's default face; the
// C library's numbers are put back to "." as the decimal point after QApplication took them
// from the user's locale.
void prepareApplication(QApplication& application);

}  // namespace tovakin::gui
