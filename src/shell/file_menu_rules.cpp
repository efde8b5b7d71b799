#include "shell/file_menu_rules.h"

#include <QDir>
#include <QFileInfo>

#include "app/document_file.h"
#include "app/std_io.h"

namespace tovakin::gui {

QString unquotedName(const QString& name) {
  if (!name.startsWith(QLatin1Char('"'))) return name;
  const qsizetype closing = name.indexOf(QLatin1Char('"'), 1);
  return closing < 0 ? name.mid(1) : name.mid(1, closing - 1);
}

QStringList splitCommandLine(const QString& commandLine) {
  const QChar quote = QLatin1Char('"');
  const QChar blank = QLatin1Char(' ');
  const QChar separator = QLatin1Char('|');
  QString collected;
  bool inQuotes = false;
  bool afterBlank = false;  // the previous character counts as a blank
  for (const QChar c : commandLine) {
    if (c == quote) {
      inQuotes = !inQuotes;
      collected += c;
      afterBlank = false;
    } else if (c == blank && inQuotes) {
      collected += c;
      afterBlank = true;
    } else if (c == blank) {
      if (afterBlank) continue;  // a run of blanks separates once
      collected += separator;
      afterBlank = true;
    } else {
      collected += c;
      afterBlank = c == separator;
    }
  }
  if (inQuotes) collected += quote;
  if (collected.isEmpty()) return {};
  QStringList names;
  for (const QString& piece : collected.split(separator)) names << unquotedName(piece);
  return names;
}

QStringList commandLineFileNames(const QStringList& arguments) {
  QStringList names;
  for (const QString& argument : arguments)
    if (!argument.isEmpty()) names << argument;
  return names;
}

QStringList droppedFileNames(const QList<QUrl>& urls) {
  QStringList names;
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) continue;
    const QString name = unquotedName(url.toLocalFile());
    if (!name.isEmpty()) names << name;
  }
  return names;
}

QString documentPathKey(const QString& path) {
  if (path.isEmpty()) return {};
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

QString recentItemCaption(int number, const std::string& path) {
  QString shown = QString::fromStdString(app::myPathTrim(path, kRecentCaptionWidth));
  shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(number).arg(shown);
}

RecentMenu recentMenu(const std::array<std::string, 4>& recentFiles) {
  RecentMenu menu;
  int number = 1;
  for (std::size_t i = 0; i < recentFiles.size(); ++i) {
    if (recentFiles[i].empty()) continue;
    RecentItem& item = menu.items[i];
    item.visible = true;
    item.caption = recentItemCaption(number++, recentFiles[i]);
    item.path = QString::fromStdString(recentFiles[i]);
    menu.separator = true;
  }
  return menu;
}

OpenRoute openRoute(const QString& name, bool alreadyOpen, bool fileExists, int kind) {
  if (!name.isEmpty() && alreadyOpen) return OpenRoute::Activate;
  if (!name.isEmpty() && !fileExists) return OpenRoute::Missing;
  switch (kind) {
    case -1: return OpenRoute::AskDialog;
    case 0: return OpenRoute::NotData;
    case 1:
    case 2:
    case 3: return OpenRoute::HandOver;
    default: return OpenRoute::Nothing;
  }
}

QString missingFileMessage(const QString& name) { return QStringLiteral("ファイルは削除されています\n") + name; }

QString notDataFileMessage(const QString& name) {
  return QString::fromStdString(app::notDataFileMessage(name.toStdString()));
}

DocumentCommandsEnabled documentCommandsEnabled(bool hasDocument) {
  return {hasDocument, hasDocument, hasDocument, hasDocument, hasDocument};
}

}  // namespace tovakin::gui
