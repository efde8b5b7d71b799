#include "shell/file_menu_rules.h"

#include <gtest/gtest.h>

namespace tovakin::gui {
namespace {

TEST(OpeningNames, TheCommandLineSplitterAndTheUnquotingOfNames) {
  const std::pair<const char*, QStringList> cases[] = {
      {R"("/data/my cases/a.PIPEDATA" /data/b.PIPEDATA)", {"/data/my cases/a.PIPEDATA", "/data/b.PIPEDATA"}},
      {"a.PIPEDATA   b.PIPEDATA", {"a.PIPEDATA", "b.PIPEDATA"}},           // a run of blanks separates once
      {R"("/data/my cases/a.PIPEDATA)", {"/data/my cases/a.PIPEDATA"}},  // an unclosed quote
      {R"(ab"cd ef"gh)", {R"(ab"cd ef"gh)"}},                              // quotes inside stay
      {R"("a b"c d)", {"a b", "d"}},                                       // text after the closing quote
      {"a|b", {"a", "b"}}, {"a\tb", {"a\tb"}}, {" a ", {"", "a", ""}}, {"", {}}};
  for (const auto& [line, names] : cases) EXPECT_EQ(splitCommandLine(QString::fromUtf8(line)), names) << line;
  EXPECT_EQ(commandLineFileNames({"a", "", "b c"}), (QStringList{"a", "b c"}));
  const QList<QUrl> urls{QUrl::fromLocalFile("/d/1.PIPEDATA"), QUrl("https://example.org/x.PIPEDATA"),
                         QUrl::fromLocalFile(R"(/d/"q r".PIPEDATA)")};
  EXPECT_EQ(droppedFileNames(urls), (QStringList{"/d/1.PIPEDATA", R"(/d/"q r".PIPEDATA)"}));
  EXPECT_EQ(documentPathKey("/d//x/../a.PIPEDATA"), "/d/a.PIPEDATA");
  EXPECT_EQ(documentPathKey(""), "");
}

TEST(RecentItems, NumberedWithoutGapsShownAsThemselvesAndShortened) {
  const std::string longPath = "/srv/engineer/projects/pipeline/2024/case.PIPEDATA";
  const RecentMenu menu = recentMenu({"/d/a.PIPEDATA", "", "/d/b & c.PIPEDATA", longPath});
  EXPECT_TRUE(menu.separator);
  EXPECT_EQ(menu.items[0].caption, "&1 /d/a.PIPEDATA");
  EXPECT_FALSE(menu.items[1].visible);
  EXPECT_EQ(menu.items[2].caption, "&2 /d/b && c.PIPEDATA");  // shows one "&"
  EXPECT_EQ(menu.items[2].path, "/d/b & c.PIPEDATA");
  EXPECT_EQ(menu.items[3].caption, "&3 .../projects/pipeline/2024/case.PIPEDATA");
  EXPECT_EQ(menu.items[3].path, QString::fromStdString(longPath));
  EXPECT_FALSE(recentMenu({}).separator);
}

}  // namespace
}  // namespace tovakin::gui
