#include "shell/help_rules.h"

#include <QStringList>

namespace tovakin::gui {

QString helpFilePath(const QString& appPath, const QString& name) {
  return appPath + QString::fromLatin1(kHelpFolder) + name;
}

std::vector<HelpKeyword> parseHelpKeywords(const QString& text) {
  std::vector<HelpKeyword> keywords;
  for (QString line : text.split(QLatin1Char('\n'))) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    if (tab < 0) continue;
    HelpKeyword entry{line.left(tab).trimmed(), line.mid(tab + 1).trimmed()};
    if (entry.keyword.isEmpty() || entry.target.isEmpty()) continue;
    keywords.push_back(std::move(entry));
  }
  return keywords;
}

QString foldedForSearch(const QString& text) {
  // Compatibility form: half-width katakana become full-width, full-width letters and digits
  // become ASCII; then one case and one kana.
  QString folded = text.normalized(QString::NormalizationForm_KC).toCaseFolded();
  for (QChar& c : folded) {
    const char16_t u = c.unicode();
    if (u >= 0x30A1 && u <= 0x30F6) c = QChar(static_cast<char16_t>(u - 0x60));  // katakana to hiragana
  }
  return folded;
}

bool keywordMatches(const QString& keyword, const QString& filter) {
  const QString folded = foldedForSearch(keyword);
  // Full-width blanks separate words as well as ASCII ones (NFKC makes them ASCII).
  const QStringList words = foldedForSearch(filter).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (const QString& word : words)
    if (!folded.contains(word)) return false;
  return true;
}

HelpLinkKind helpLinkKind(const QUrl& link) {
  const QString scheme = link.scheme().toLower();
  if (scheme.isEmpty() || scheme == QStringLiteral("file")) return HelpLinkKind::Page;
  return HelpLinkKind::External;
}

QString helpMissingMessage(const QString& path) {
  return QStringLiteral("ヘルプファイルが見つかりません。\n") + path;
}

}  // namespace tovakin::gui
