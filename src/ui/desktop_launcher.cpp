#include "ui/desktop_launcher.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QTimer>
#include <QStringList>
#include <memory>
#include <utility>

#include "platform/file_system.h"
#include "ui/abort_boundary.h"
#include "ui/desktop_entry.h"

namespace tovakin::gui {
namespace {

QStringList toQt(const std::vector<std::string>& list) {
  QStringList out;
  for (const std::string& s : list) out << QString::fromStdString(s);
  return out;
}

// The first line of a tool's answer, without blanks and without parameters after ";".
std::string firstWord(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  line = line.substr(0, line.find(';'));
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = line.find_last_not_of(" \t\r");
  return line.substr(first, last - first + 1);
}

std::vector<std::string> splitList(const std::string& value) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t colon = value.find(':', pos);
    std::string part = value.substr(pos, colon == std::string::npos ? std::string::npos : colon - pos);
    if (!part.empty()) out.push_back(std::move(part));
    if (colon == std::string::npos) break;
    pos = colon + 1;
  }
  return out;
}

bool isExecutableFile(const std::string& path) {
  const QFileInfo info(QString::fromStdString(path));
  return info.isFile() && info.isExecutable();
}

// What the shared MIME database says a name of this extension is; "" when it does not know.
std::string mimeTypeOfExtension(const std::string& extension) {
  const QMimeType type =
      QMimeDatabase().mimeTypeForFile(QStringLiteral("file.") + QString::fromStdString(extension),
                                      QMimeDatabase::MatchExtension);
  if (!type.isValid() || type.isDefault()) return {};
  return type.name().toStdString();
}

}  // namespace

std::optional<std::string> QProcessRunner::output(const std::string& program,
                                                  const std::vector<std::string>& arguments) {
  QProcess process;
  process.setProcessChannelMode(QProcess::SeparateChannels);
  process.start(QString::fromStdString(program), toQt(arguments), QIODevice::ReadOnly);
  if (!process.waitForFinished(10000)) {
    process.kill();
    process.waitForFinished(1000);
    return std::nullopt;
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) return std::nullopt;
  return process.readAllStandardOutput().toStdString();
}

QProcessRunner::~QProcessRunner() {
  for (const QPointer<QProcess>& process : running_) {
    if (!process) continue;
    process->disconnect();
    process->kill();
    process->waitForFinished(1000);
    delete process.data();
  }
}

void QProcessRunner::outputLater(const std::string& program, const std::vector<std::string>& arguments,
                                 OutputDone done) {
  std::erase_if(running_, [](const QPointer<QProcess>& p) { return p.isNull(); });
  auto* process = new QProcess;
  running_.emplace_back(process);
  process->setProcessChannelMode(QProcess::SeparateChannels);
  auto finish = std::make_shared<OutputDone>(std::move(done));
  const auto answer = [process, finish](std::optional<std::string> result) {
    if (!*finish) return;  // answered already: a process killed at the time limit still reports its end
    const OutputDone call = std::exchange(*finish, nullptr);
    process->deleteLater();
    shielded([&] { call(std::move(result)); });
  };
  QObject::connect(process, &QProcess::finished, process, [process, answer](int code, QProcess::ExitStatus status) {
    if (status != QProcess::NormalExit || code != 0) answer(std::nullopt);
    else answer(process->readAllStandardOutput().toStdString());
  });
  QObject::connect(process, &QProcess::errorOccurred, process, [answer](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) answer(std::nullopt);
  });
  QTimer::singleShot(10000, process, [process, answer] {
    process->kill();
    answer(std::nullopt);
  });
  process->start(QString::fromStdString(program), toQt(arguments), QIODevice::ReadOnly);
}

bool QProcessRunner::startDetached(const std::string& program, const std::vector<std::string>& arguments) {
  return QProcess::startDetached(QString::fromStdString(program), toQt(arguments));
}

DesktopPaths DesktopPaths::fromEnvironment() {
  DesktopPaths paths;
  const QString home = qEnvironmentVariable("HOME");
  QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
  if (dataHome.isEmpty() && !home.isEmpty()) dataHome = home + QStringLiteral("/.local/share");
  if (!dataHome.isEmpty()) paths.applicationDirs.push_back(dataHome.toStdString() + "/applications");
  QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
  if (dataDirs.isEmpty()) dataDirs = QStringLiteral("/usr/local/share/:/usr/share/");
  for (const std::string& dir : splitList(dataDirs.toStdString()))
    paths.applicationDirs.push_back((dir.back() == '/' ? dir : dir + "/") + "applications");
  paths.programDirs = splitList(qEnvironmentVariable("PATH").toStdString());
  return paths;
}

XdgLauncher::XdgLauncher(ProcessRunner& runner, DesktopPaths paths) : runner_(runner), paths_(std::move(paths)) {}

bool XdgLauncher::openUrl(const std::string& url) { return runner_.startDetached("xdg-open", {url}); }

OpenOutcome XdgLauncher::openFile(const std::string& path) {
  std::string type;
  if (const auto answer = runner_.output("xdg-mime", {"query", "filetype", path})) type = firstWord(*answer);
  // Without an answer from xdg-mime the shared MIME database still knows the type by content.
  if (type.empty()) {
    const QMimeType t = QMimeDatabase().mimeTypeForFile(QString::fromStdString(path));
    if (t.isValid() && !t.isDefault()) type = t.name().toStdString();
  }
  if (type.empty()) return OpenOutcome::NoProgram;
  const auto program = defaultProgramForType(type);
  if (!program) return OpenOutcome::NoProgram;
  return runner_.startDetached(program->program, expandExecArguments(program->arguments, {path}))
             ? OpenOutcome::Started
             : OpenOutcome::Failed;
}

std::optional<DesktopProgram> XdgLauncher::defaultProgramFor(const std::string& extension) {
  const std::string type = mimeTypeOfExtension(extension);
  if (type.empty()) return std::nullopt;
  return defaultProgramForType(type);
}

bool XdgLauncher::startProgram(const std::string& program, const std::vector<std::string>& arguments) {
  return runner_.startDetached(program, arguments);
}

void XdgLauncher::findDefaultProgramFor(const std::string& extension, ProgramAnswer answer) {
  const std::string type = mimeTypeOfExtension(extension);
  if (type.empty()) {
    answer(std::nullopt);
    return;
  }
  runner_.outputLater("xdg-mime", {"query", "default", type},
                      [this, answer = std::move(answer)](std::optional<std::string> named) {
                        answer(programOfAnswer(named));
                      });
}

std::optional<DesktopProgram> XdgLauncher::defaultProgramForType(const std::string& mimeType) {
  return programOfAnswer(runner_.output("xdg-mime", {"query", "default", mimeType}));
}

std::optional<DesktopProgram> XdgLauncher::programOfAnswer(const std::optional<std::string>& answer) const {
  if (!answer) return std::nullopt;
  const std::string entryId = firstWord(*answer);
  if (entryId.empty()) return std::nullopt;
  const auto entryPath = findEntry(entryId);
  if (!entryPath) return std::nullopt;
  const auto text = readFileBytes(*entryPath, 1 << 20);
  if (!text) return std::nullopt;
  const auto exec = desktopEntryExec(*text);
  if (!exec) return std::nullopt;
  const auto words = splitExec(*exec);
  if (!words) return std::nullopt;
  const auto program = findProgram(words->front());
  if (!program) return std::nullopt;
  return DesktopProgram{entryId, *program, std::vector<std::string>(words->begin() + 1, words->end())};
}

std::optional<std::string> XdgLauncher::findEntry(const std::string& entryId) const {
  for (const std::string& dir : paths_.applicationDirs)
    for (const std::string& path : entryPathsFor(dir, entryId))
      if (QFileInfo(QString::fromStdString(path)).isFile()) return path;
  return std::nullopt;
}

std::optional<std::string> XdgLauncher::findProgram(const std::string& name) const {
  if (name.find('/') != std::string::npos) {
    if (isExecutableFile(name)) return name;
    return std::nullopt;
  }
  for (const std::string& dir : paths_.programDirs) {
    const std::string path = (dir.back() == '/' ? dir : dir + "/") + name;
    if (isExecutableFile(path)) return path;
  }
  return std::nullopt;
}

}  // namespace tovakin::gui
