#include "shell/help_rules.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace tovakin::gui {
namespace {

TEST(HelpRules, TheKeywordFileKeepsItsOrderAndLeavesOutWhatIsNoEntry) {
  const auto keywords = parseHelpKeywords(QStringLiteral(
      "# keyword<TAB>target\r\n土かぶり\tinput.html#dokaburi\r\n\n   \nno tab\n\tloads.html\n空\t \n 溝型 \t burial.html \n"));
  EXPECT_EQ(keywords, (std::vector<HelpKeyword>{{"土かぶり", "input.html#dokaburi"}, {"溝型", "burial.html"}}));
  EXPECT_EQ(helpFilePath("/opt/T/", "index.html"), "/opt/T/HELP/index.html");
  EXPECT_EQ(helpLinkKind(QUrl("#top")), HelpLinkKind::Page);
  EXPECT_EQ(helpLinkKind(QUrl("HTTP://example.com")), HelpLinkKind::External);
  EXPECT_EQ(helpMissingMessage("/opt/T/HELP/index.html"),
            QStringLiteral("ヘルプファイルが見つかりません。\n/opt/T/HELP/index.html"));
}

TEST(HelpRules, TheFilterIgnoresWidthCaseAndKanaAndWantsEveryWord) {
  struct Row {
    const char *keyword, *filter;
    bool matches;
  };
  for (const Row& row : {Row{"土かぶり", "", true}, Row{"土かぶり", "カブリ", true}, Row{"土かぶり", "ｶﾌﾞﾘ", true},
                         Row{"ﾊﾞｰｼﾞｮﾝ情報", "バージョン", true}, Row{"T-25", "ｔ－２５", true},
                         Row{"基礎材の反力係数 e'", "反力　E'", true}, Row{"基礎材の反力係数", "反力 溝", false},
                         Row{"土かぶり", "土被り", false}})
    EXPECT_EQ(keywordMatches(QString::fromUtf8(row.keyword), QString::fromUtf8(row.filter)), row.matches)
        << row.keyword << " / " << row.filter;
}

// The shipped help set: every keyword and every link leads to a page that is there and to an
// anchor that page has, and every page can be reached from the contents.
const QString kHelp = QStringLiteral(TOVAKIN_APPDIR "/HELP/");

QString readText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList captured(const QString& text, const char* pattern) {
  QStringList all;
  for (const auto& m : QRegularExpression(QString::fromLatin1(pattern)).globalMatch(text)) all << m.captured(1);
  return all;
}

// "" when the target is there, else what is missing.
QString missing(const QString& from, const QString& target) {
  const QUrl url = QUrl::fromLocalFile(kHelp + from).resolved(QUrl(target));
  if (!QFileInfo(url.toLocalFile()).isFile()) return from + " -> " + target + ": no file";
  const QStringList anchors = captured(readText(url.toLocalFile()), "\\s(?:id|name)=\"([^\"]+)\"");
  if (url.hasFragment() && !anchors.contains(url.fragment()))
    return from + " -> " + target + ": no anchor";
  return {};
}

TEST(HelpSet, EveryKeywordAndEveryLinkLeadsToAPlaceThatIsThere) {
  const auto keywords = parseHelpKeywords(readText(kHelp + kHelpKeywordFile));
  ASSERT_GE(keywords.size(), 40u);
  QSet<QString> seen;
  for (const HelpKeyword& entry : keywords) {
    EXPECT_EQ(missing(QString(), entry.target), QString());
    EXPECT_FALSE(seen.contains(entry.keyword)) << "twice: " << entry.keyword.toStdString();
    seen.insert(entry.keyword);
  }
  const QStringList pages = QDir(kHelp).entryList({"*.html"}, QDir::Files);
  QSet<QString> reached{kHelpContentsPage};
  for (QStringList queue{kHelpContentsPage}; !queue.isEmpty();) {
    const QString page = queue.takeFirst();
    const QString html = readText(kHelp + page);
    EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
    for (const QString& link : captured(html, "href=\"([^\"]+)\"")) {
      if (helpLinkKind(QUrl(link)) == HelpLinkKind::External) continue;
      EXPECT_EQ(missing(page, link), QString());
      const QString target = QUrl(link).adjusted(QUrl::RemoveFragment).toString();
      if (!target.isEmpty() && target.endsWith(".html") && !reached.contains(target)) {
        reached.insert(target);
        queue << target;
      }
    }
  }
  EXPECT_EQ(QSet<QString>(pages.begin(), pages.end()), reached);
}

}  // namespace
}  // namespace tovakin::gui
