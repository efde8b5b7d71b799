#include "shell/main_menu_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace tovakin::gui {
namespace {

TEST(MainMenuRules, TheSpreadsheetItemsFollowTheProgramAndTheDocuments) {
  const QString start = QStringLiteral("Microsoft Excel を起動(&E)");
  const QString none = QStringLiteral("Excelが見つかりません");
  const QString noneKanzai = QStringLiteral("Excelが見つからないので管材情報を開けません");
  struct Row {
    bool found, documentOpen;
    ViewMenuState expected;
  };
  for (const Row& row : {Row{false, false, {none, false, noneKanzai, false}},
                         Row{false, true, {none, false, noneKanzai, false}},
                         Row{true, false, {start, true, QStringLiteral("Excelで管材情報を開く(&K)"), true}},
                         Row{true, true, {start, true, QStringLiteral("ﾃﾞｰﾀ編集中は管材情報を開けません"), false}}})
    EXPECT_EQ(viewMenuState(row.found, row.documentOpen), row.expected) << row.found << row.documentOpen;
}

TEST(MainMenuRules, AToolbarKeyOfNoCommandRunsNothing) {
  for (const char* other : {"", "開く ", "新規作成(&N)", "印刷"})
    EXPECT_EQ(toolbarCommand(QString::fromUtf8(other)), ToolbarCommand::None) << other;
}

TEST(MainMenuRules, CascadeStepsDownTheDiagonalAndStartsAgainBeforeLeavingTheArea) {
  auto rects = cascadeRects(QRect(10, 20, 800, 600), 3, 24);
  EXPECT_EQ(rects, (std::vector<QRect>{{10, 20, 600, 450}, {34, 44, 600, 450}, {58, 68, 600, 450}}));
  // 150 pixels of room below a window of 450: seven steps (0 to 144), then the top again.
  rects = cascadeRects(QRect(0, 0, 800, 600), 9, 24);
  EXPECT_EQ(rects[6].topLeft(), QPoint(144, 144));
  EXPECT_EQ(rects[7].topLeft(), QPoint(0, 0));
  EXPECT_TRUE(cascadeRects(QRect(0, 0, 800, 600), 0, 24).empty());
  EXPECT_TRUE(cascadeRects(QRect(), 3, 24).empty());
}

TEST(MainMenuRules, IconsLineUpAlongTheBottomAndAFullRowContinuesAbove) {
  const QSize icon(300, 30);
  const auto layout = iconLayout(QRect(10, 0, 700, 600), {icon, icon, icon, icon, icon});
  EXPECT_EQ(layout.positions, (std::vector<QPoint>{{10, 570}, {310, 570}, {10, 540}, {310, 540}, {10, 510}}));
  EXPECT_EQ(layout.top, 510);
  // An icon wider than the area still takes a row of its own; no icons take nothing.
  EXPECT_EQ(iconLayout(QRect(0, 0, 100, 600), {QSize(150, 30), QSize(150, 30)}).positions,
            (std::vector<QPoint>{{0, 570}, {0, 540}}));
  EXPECT_EQ(iconLayout(QRect(0, 0, 800, 600), {}).top, 600);
}

}  // namespace
}  // namespace tovakin::gui
