#include "ui/application.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace tovakin::gui {
namespace {

std::string g_guardedProgram;
QtMessageHandler g_previousHandler = nullptr;

void fatalEndsWithDesktopText(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    if (g_previousHandler) g_previousHandler(type, context, message);
    else std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    return;
  }
  // Qt's own text here speaks of re-installing the program, which would not help.
  (void)message;
  std::fputs(noDesktopText(g_guardedProgram).c_str(), stderr);
  std::_Exit(kNoDesktopStatus);
}

bool isSet(const std::function<const char*(const char*)>& environment, const char* name) {
  const char* value = environment(name);
  return value && *value;
}

}  // namespace

std::string noDesktopText(const std::string& program) {
  return "Tovakin は画面(デスクトップ)で使うプログラムです。表示できる画面(X11 または Wayland)が見つかりません。\n"
         "デスクトップの中から起動して下さい。画面のない環境では Xvfb の下で起動できます:\n"
         "  xvfb-run -a " + program + "\n"
         "Tovakin is a desktop program and found no display (X11 or Wayland) it can show its windows on.\n"
         "Start it from a desktop session, or, where there is none, under Xvfb:\n"
         "  xvfb-run -a " + program + "\n";
}

std::optional<std::string> noDesktopMessage(const std::string& program,
                                            const std::function<const char*(const char*)>& environment) {
  if (isSet(environment, "QT_QPA_PLATFORM") || isSet(environment, "DISPLAY") ||
      isSet(environment, "WAYLAND_DISPLAY"))
    return std::nullopt;
  return noDesktopText(program);
}

DesktopStartGuard::DesktopStartGuard(std::string program) {
  g_guardedProgram = std::move(program);
  previous_ = qInstallMessageHandler(fatalEndsWithDesktopText);
  g_previousHandler = previous_;
}

DesktopStartGuard::~DesktopStartGuard() { qInstallMessageHandler(previous_); }

bool loadQtTranslations(QCoreApplication& application) {
  auto* translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

const QStringList& designedFaces() {
  static const QStringList faces{
      QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ 明朝"),
      QStringLiteral("ＭＳ Ｐ明朝"),     QStringLiteral("ＭＳ ＵＩ ゴシック"),
      // The same faces under the names a form written on an English system carries.
      QStringLiteral("MS PGothic"), QStringLiteral("MS Gothic"), QStringLiteral("MS Mincho"),
      QStringLiteral("MS PMincho"), QStringLiteral("MS UI Gothic"), QStringLiteral("MS Sans Serif")};
  return faces;
}

void substituteDesignedFaces() {
  for (const QString& face : designedFaces()) QFont::insertSubstitution(face, QString::fromLatin1(kJapaneseFace));
}

void prepareApplication(QApplication& application) {
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("Tovakin"));
  loadQtTranslations(application);
  substituteDesignedFaces();
  QFont font = QApplication::font();
  font.setFamilies({QString::fromLatin1(kJapaneseFace)});
  QApplication::setFont(font);
}

}  // namespace tovakin::gui
