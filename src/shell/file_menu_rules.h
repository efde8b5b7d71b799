#pragma once
// The rules behind opening documents and the File menu's document commands, as plain functions
// so that each is tested without a window: how names come from a command line and from a drop,
// when two names are the same document, what the recent-file items show, which way one name is
// opened and what the commands' enabling is.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <array>
#include <string>

#include "ui/layer.h"

namespace tovakin::gui {

// One command-line text split into file names: a blank separates (a run of blanks once), so does
// a "|"; double quotes group a name with blanks, and an unclosed quote is closed at the end of
// the text. A name that begins with a quote is the text up to the next quote; quotes elsewhere
// stay in the name. Blanks at either end give empty names; an empty text gives none.
QStringList splitCommandLine(const QString& commandLine);

// A name that begins with a double quote becomes the text between it and the next quote (the
// rest when there is no second one); any other name stands as it is.
QString unquotedName(const QString& name);

// The program's arguments (without the program itself) as file names: each argument is one name
// already; empty ones are skipped.
QStringList commandLineFileNames(const QStringList& arguments);

// The files of a drop, in their order: local files only, each name unquoted as above.
QStringList droppedFileNames(const QList<QUrl>& urls);

// The form in which the paths of documents are compared, and handed to a document: absolute,
// with "." and ".." and doubled separators resolved; letter case is kept (two names that differ
// only in case are two files). "" stays "".
QString documentPathKey(const QString& path);

// The recent-file items of the File menu from the list (index 0 the newest): an item for each
// entry that is not empty, numbered 1, 2, ... without gaps, captioned "&n path" with the path
// shortened to 32 characters and an "&" in it doubled so that it shows as itself. The separator
// below them shows when any item does.
struct RecentItem {
  bool visible = false;
  QString caption;
  QString path;  // the entry the item opens
};
struct RecentMenu {
  std::array<RecentItem, 4> items;
  bool separator = false;
};
inline constexpr int kRecentCaptionWidth = 32;
RecentMenu recentMenu(const std::array<std::string, 4>& recentFiles);
QString recentItemCaption(int number, const std::string& path);

// The way one name is opened, in the order the checks are made: a document already shows it; no
// such file; an empty name asks with the open dialog; a file that is not a data file; a data file
// is handed to a new window. `kind` is myDataFileKind of the name.
enum class OpenRoute { Nothing, Activate, Missing, AskDialog, NotData, HandOver };
OpenRoute openRoute(const QString& name, bool alreadyOpen, bool fileExists, int kind);

QString missingFileMessage(const QString& name);
QString notDataFileMessage(const QString& name);
inline constexpr const char* kSaveAllMessage = "全て保存時のコードを追加します。";

// The document commands of the File and Edit menus, enabled when their menu opens: all of them
// with a current document, none without.
struct DocumentCommandsEnabled {
  bool close = false;
  bool save = false;
  bool saveAs = false;
  bool saveAll = false;
  bool calc = false;
  bool operator==(const DocumentCommandsEnabled&) const = default;
};
DocumentCommandsEnabled documentCommandsEnabled(bool hasDocument);

}  // namespace tovakin::gui
