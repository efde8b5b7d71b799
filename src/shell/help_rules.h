#pragma once
// The rules of the program's help: where its files lie in the application folder, how the keyword
// index is read and filtered, where a link in a help page leads, and the notice for a missing file.
// Plain functions, tested without a window; frm_help.h shows the pages.
#include <QString>
#include <QUrl>
#include <vector>

#include "ui/layer.h"

namespace tovakin::gui {

// The help set lies in HELP/ of the application folder: the contents page, the keyword index and
// the pages' style sheet.
inline constexpr const char* kHelpFolder = "HELP/";
inline constexpr const char* kHelpContentsPage = "index.html";
inline constexpr const char* kHelpKeywordFile = "keywords.txt";
inline constexpr const char* kHelpStyleSheet = "help.css";

// A file of the help set under the application folder (which ends with "/").
QString helpFilePath(const QString& appPath, const QString& name);

// One entry of the keyword index: the keyword and the page (with an anchor) that explains it.
struct HelpKeyword {
  QString keyword;
  QString target;  // "input.html#dokaburi", relative to the help folder
  bool operator==(const HelpKeyword&) const = default;
};

// The keyword index file: one entry a line, the keyword and its target separated by a tab; blank
// lines and lines starting with "#" are comments. A line without a tab, or with an empty keyword
// or target, is left out. The entries keep the file's order.
std::vector<HelpKeyword> parseHelpKeywords(const QString& text);

// Whether a keyword shows under the text typed into the index's filter box: the filter's words
// (separated by blanks) must each occur in the keyword. Half- and full-width forms, upper and
// lower case and katakana and hiragana count as the same, so "ｶﾌﾞﾘ", "かぶり" and "カブリ" all
// find "土かぶり". An empty filter shows every keyword.
bool keywordMatches(const QString& keyword, const QString& filter);
// The text in the form in which keywordMatches compares it.
QString foldedForSearch(const QString& text);

// Where a link in a help page leads: another page of the help set (or a place in the same page),
// or an address for the desktop's browser.
enum class HelpLinkKind { Page, External };
HelpLinkKind helpLinkKind(const QUrl& link);

// The notice when a file of the help set is missing.
QString helpMissingMessage(const QString& path);

}  // namespace tovakin::gui
