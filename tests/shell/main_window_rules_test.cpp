#include "shell/main_window_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tovakin::gui {
namespace {

TEST(MainWindowPlacement, FirstStartStandsAtTheDesignedTwips) {
  EXPECT_EQ(defaultPlacement(), (Placement{1000, 1000, 6500, 6500}));
  // 15 twips to a pixel, rounded: 1000 twips are 67 pixels, 6500 are 433.
  EXPECT_EQ(placementPixels(defaultPlacement()), QRect(67, 67, 433, 433));
}

TEST(MainWindowPlacement, PixelsGoBackToTwipsExactly) {
  const QRect frame(120, 45, 1024, 768);
  EXPECT_EQ(placementTwips(frame), (Placement{1800, 675, 15360, 11520}));
  EXPECT_EQ(placementPixels(placementTwips(frame)), frame);
}

TEST(MainWindowPlacement, StoredTextIsReadWhateverItsBlanksAndRejectedWhenNotANumber) {
  EXPECT_EQ(placementNumber("6500"), 6500.0);
  EXPECT_EQ(placementNumber(" 1234.5 "), 1234.5);
  EXPECT_EQ(placementNumber("-300"), -300.0);
  EXPECT_FALSE(placementNumber("abc").has_value());
  EXPECT_FALSE(placementNumber("").has_value());
  EXPECT_FALSE(placementNumber("12,5").has_value());
}

TEST(MainWindowPlacement, WrittenAsASinglePrecisionNumber) {
  EXPECT_EQ(placementText(1800), "1800");
  EXPECT_EQ(placementText(15360), "15360");
  EXPECT_EQ(placementText(0.1), "0.1");
}

TEST(MainWindowPlacement, MinimizedStoresNothingMaximizedStoresItsRectangle) {
  EXPECT_FALSE(placementToStore(true, QRect(0, 0, 100, 100)).has_value());
  EXPECT_EQ(placementToStore(false, QRect(0, 0, 1280, 1000)), (Placement{0, 0, 19200, 15000}));
}

const std::vector<QRect> kTwoScreens{QRect(0, 0, 1280, 1000), QRect(1280, 0, 1920, 1080)};

TEST(MainWindowPlacement, AWindowOnSomeScreenStaysWhereItIs) {
  EXPECT_EQ(keptOnScreen(QRect(67, 67, 433, 433), kTwoScreens), QRect(67, 67, 433, 433));
  EXPECT_EQ(keptOnScreen(QRect(2000, 100, 800, 600), kTwoScreens), QRect(2000, 100, 800, 600));
  // Partly off the desktop but with enough showing to take hold of.
  EXPECT_EQ(keptOnScreen(QRect(-300, 900, 400, 400), kTwoScreens), QRect(-300, 900, 400, 400));
}

TEST(MainWindowPlacement, AWindowOffEveryScreenComesBackOntoTheFirst) {
  // Stored on a screen that is no longer there.
  EXPECT_EQ(keptOnScreen(QRect(4000, 200, 800, 600), kTwoScreens), QRect(480, 200, 800, 600));
  EXPECT_EQ(keptOnScreen(QRect(-5000, -5000, 400, 300), kTwoScreens), QRect(0, 0, 400, 300));
  // Only a sliver showing is not enough.
  EXPECT_EQ(keptOnScreen(QRect(100, 990, 400, 300), kTwoScreens), QRect(100, 700, 400, 300));
}

TEST(MainWindowPlacement, AWindowLargerThanTheScreenIsShrunkToIt) {
  EXPECT_EQ(keptOnScreen(QRect(9000, 9000, 5000, 4000), kTwoScreens), QRect(0, 0, 1280, 1000));
  EXPECT_EQ(keptOnScreen(QRect(9000, 9000, 5000, 4000), {}), QRect(9000, 9000, 5000, 4000));
  // On a screen, but taller than it (stored while maximized with a frame round it): the status bar
  // comes back into reach on that screen.
  EXPECT_EQ(keptOnScreen(QRect(0, 0, 1290, 1040), kTwoScreens), QRect(0, 0, 1280, 1000));
  EXPECT_EQ(keptOnScreen(QRect(1300, 50, 800, 1200), kTwoScreens), QRect(1300, 0, 800, 1080));
}

TEST(MainWindowPlacement, CloseAndStartIsAFixedPoint) {
  // The outer rectangle is stored and restored: the inside is what the frame leaves of it.
  const Placement first = defaultPlacement();
  const QRect outer = placementPixels(first);
  const QSize margins(2, 25);  // a title bar and thin borders
  const QSize inside = insideSizeFor(outer.size(), margins);
  EXPECT_EQ(inside, QSize(431, 408));
  const QRect framed(outer.topLeft(), inside + margins);
  // Untouched, the stored twips come back as they were, pixel rounding notwithstanding.
  EXPECT_EQ(placementToStore(false, framed, first), first);
  Placement again = *placementToStore(false, framed, first);
  for (int run = 0; run < 3; ++run) again = *placementToStore(false, placementPixels(again), again);
  EXPECT_EQ(again, first);
  // Moved or resized, the new rectangle is stored; minimized, nothing.
  EXPECT_EQ(placementToStore(false, framed.translated(10, 0), first), placementTwips(framed.translated(10, 0)));
  EXPECT_FALSE(placementToStore(true, framed, first).has_value());
  // A frame as large as the window still leaves an inside to show.
  EXPECT_EQ(insideSizeFor(QSize(20, 20), QSize(30, 30)), QSize(1, 1));
  EXPECT_EQ(insideSizeFor(QSize(400, 300), QSize(0, 0)), QSize(400, 300));
}

TEST(NewDocuments, EachNewWindowStandsWhereItsCaptionCanBeSeen) {
  const QRect area(0, 0, 1284, 700);
  const QSize document(1000, 500);
  struct Row {
    int others;
    QPoint expected;
  };
  // (700 - 500) / 25 = 8 steps down: nine places, then the top left again.
  for (const Row& row : {Row{0, {0, 0}}, Row{1, {25, 25}}, Row{3, {75, 75}}, Row{8, {200, 200}}, Row{9, {0, 0}},
                         Row{10, {25, 25}}}) {
    const QPoint at = newDocumentPosition(area, document, row.others, 25);
    EXPECT_EQ(at, row.expected) << row.others;
    EXPECT_TRUE(area.contains(QRect(at, document))) << row.others;
  }
  // A window larger than the area, or an area not laid out yet: the top left, always.
  EXPECT_EQ(newDocumentPosition(QRect(0, 0, 300, 200), document, 4, 25), QPoint(0, 0));
  EXPECT_EQ(newDocumentPosition(QRect(0, 0, 100, 30), document, 0, 25), QPoint(0, 0));
  EXPECT_EQ(newDocumentPosition(QRect(10, 20, 1284, 700), document, 1, 25), QPoint(35, 45));
}

TEST(NewDocuments, NumberedCaptionsCountOnlyNewDocumentsTheCounterCountsBoth) {
  std::int32_t docCount = 0, numbered = 0;
  EXPECT_EQ(countNewDocument(NewDocMode::Numbered, docCount, numbered), QStringLiteral("管設計 1"));
  EXPECT_EQ(countNewDocument(NewDocMode::ForFile, docCount, numbered), QString());
  EXPECT_EQ(countNewDocument(NewDocMode::Numbered, docCount, numbered), QStringLiteral("管設計 2"));
  EXPECT_EQ(docCount, 3);
  EXPECT_EQ(numbered, 2);
}

TEST(NewDocuments, AtTheLimitNothingIsCountedAndEveryAttemptIsRefused) {
  std::int32_t docCount = kDocumentLimit - 1, numbered = 7;
  EXPECT_EQ(countNewDocument(NewDocMode::Numbered, docCount, numbered), QStringLiteral("管設計 8"));
  for (int attempt = 0; attempt < 2; ++attempt) {
    EXPECT_FALSE(countNewDocument(NewDocMode::Numbered, docCount, numbered).has_value());
    EXPECT_FALSE(countNewDocument(NewDocMode::ForFile, docCount, numbered).has_value());
  }
  EXPECT_EQ(docCount, kDocumentLimit);
  EXPECT_EQ(numbered, 8);
}

TEST(NewDocuments, LimitMessageHasItsTwoLines) {
  EXPECT_EQ(documentLimitMessage(),
            QStringLiteral("これ以上文書を新規に開くことは出来ません。\n本アプリケーションを再起動して作業して下さい。"));
}

TEST(ClosingTheMainWindow, AsksEachDocumentInTurnAndStopsAtTheFirstRefusal) {
  std::vector<int> asked;
  const auto doc = [&](int n, bool closes) {
    return [&asked, n, closes] {
      asked.push_back(n);
      return closes;
    };
  };
  EXPECT_FALSE(closeEachInTurn({doc(1, true), doc(2, false), doc(3, true)}));
  EXPECT_EQ(asked, (std::vector<int>{1, 2}));
  asked.clear();
  EXPECT_TRUE(closeEachInTurn({doc(1, true), doc(2, true)}));
  EXPECT_EQ(asked, (std::vector<int>{1, 2}));
  EXPECT_TRUE(closeEachInTurn({}));
}

TEST(WindowArrangement, TilesShareTheAreaWithoutGapOrOverlap) {
  const auto stacked = tiledRects(QRect(0, 0, 900, 700), 3, true);
  ASSERT_EQ(stacked.size(), 3u);
  EXPECT_EQ(stacked[0], QRect(0, 0, 900, 233));
  EXPECT_EQ(stacked[1], QRect(0, 233, 900, 233));
  EXPECT_EQ(stacked[2], QRect(0, 466, 900, 234));
  const auto sideBySide = tiledRects(QRect(10, 20, 900, 700), 2, false);
  ASSERT_EQ(sideBySide.size(), 2u);
  EXPECT_EQ(sideBySide[0], QRect(10, 20, 450, 700));
  EXPECT_EQ(sideBySide[1], QRect(460, 20, 450, 700));
  EXPECT_TRUE(tiledRects(QRect(0, 0, 10, 10), 0, true).empty());
}

}  // namespace
}  // namespace tovakin::gui
