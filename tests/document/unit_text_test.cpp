#include "document/unit_text.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include "document/unit_caption.h"
#include "platform/error_box.h"

namespace tovakin::gui {
namespace {

// A measure without a font: a half-width character is half its size wide, any other a full size.
double fakeWidth(std::u16string_view text, double size) {
  double w = 0;
  for (char16_t c : text) w += c < 0x80 ? size / 2 : size;
  return w;
}

std::vector<UnitPiece> layout(std::u16string_view text, float size = 9, int align = 0, double box = 100) {
  return layoutUnitText(text, size, align, box, fakeWidth);
}

using Pieces = std::vector<UnitPiece>;

TEST(ReducedFontSize, IsTheSizeOver1Point6HalvesToEven) {
  const std::pair<float, int> cases[] = {{11, 7}, {10, 6}, {9, 6}, {8, 5}, {4, 2},   {20, 12},
                                         {12, 8}, {2, 1},  {1.6f, 1}, {1.5f, 1}, {0, 1}, {-3, 1}};
  for (const auto& [size, reduced] : cases) EXPECT_EQ(reducedFontSize(size), reduced) << size;
  EXPECT_THROW(reducedFontSize(60000.0f), RuntimeError);
}

TEST(DummyTanni, ReplacesEachMarkerWithABlank) {
  EXPECT_EQ(dummyTanni(u"kN/m^3"), u"kN/m 3");
  EXPECT_EQ(dummyTanni(u"~^o"), u"  o");
  EXPECT_EQ(dummyTanni(u""), u"");
  EXPECT_EQ(dummyTanni(u"％"), u"％");
}

TEST(UnitLayout, RaisesTheCharacterAfterAMarkerFromTheTopLine) {
  // kN/m in size 9, then the 3 in size 6 where the marker stood.
  EXPECT_EQ(layout(u"kN/m^3"), (Pieces{{u"kN/m", 0, 9, false}, {u"3", 18, 6, true}}));
  // Only a small o at the left edge.
  EXPECT_EQ(layout(u"^o"), (Pieces{{u"o", 0, 6, true}}));
  // "~" is a marker like "^".
  EXPECT_EQ(layout(u"m~2"), layout(u"m^2"));
  EXPECT_EQ(layout(u"％"), (Pieces{{u"％", 0, 9, false}}));
}

TEST(UnitLayout, TheTextGoesOnAfterTheRaisedCharacterAsDrawn) {
  // /m follows the small 4 by the 4's own width at size 6, not by a full em.
  EXPECT_EQ(layout(u"m^4/m"), (Pieces{{u"m", 0, 9, false}, {u"4", 4.5, 6, true}, {u"/m", 7.5, 9, false}}));
}

TEST(UnitLayout, MarkersAtTheEndOrInARow) {
  EXPECT_TRUE(layout(u"").empty());
  // A final marker draws nothing more; the text after it would have been normal size.
  EXPECT_EQ(layout(u"m^"), (Pieces{{u"m", 0, 9, false}}));
  // The second marker is the raised character; the 2 then follows in the normal size.
  EXPECT_EQ(layout(u"^^2"), (Pieces{{u"^", 0, 6, true}, {u"2", 3, 9, false}}));
}

TEST(UnitLayout, SmallSizesRaiseInSizeOne) {
  EXPECT_EQ(layout(u"^2", 1.5f), (Pieces{{u"2", 0, 1, true}}));
  EXPECT_EQ(layout(u"^2", 1.6f), (Pieces{{u"2", 0, 1, true}}));
}

TEST(UnitLayout, RightAlignmentMeasuresTheMarkerAsABlankAndTheRaisedCharacterAtFullSize) {
  // The measuring text "kN/m 3" is 6 half-width characters of size 9: 27 wide.
  EXPECT_EQ(layout(u"kN/m^3", 9, 1, 100), (Pieces{{u"kN/m", 73, 9, false}, {u"3", 91, 6, true}}));
  // Any other alignment starts at 0.
  EXPECT_EQ(layout(u"kN/m^3", 9, 2, 100), layout(u"kN/m^3", 9, 0, 100));
}

TEST(UnitCaptionBox, DrawsTheSamePictureWhenPrintedTwice) {
  UnitCaption box;
  QFont font = box.font();
  font.setPointSizeF(9);
  box.setFont(font);
  box.resize(41, 17);
  TanniPrint(box, QStringLiteral("m^4/m"), 11, 0);
  const QImage once = box.grab().toImage();
  TanniPrint(box, QStringLiteral("m^4/m"), 11, 0);
  EXPECT_EQ(box.grab().toImage(), once);
  TanniPrint(box, QString(), 11, 0);
  EXPECT_NE(box.grab().toImage(), once);  // a new text clears what was drawn
  EXPECT_TRUE(box.pieces().empty());
  EXPECT_EQ(dummyTanni(QStringLiteral("kN/m^2")), QStringLiteral("kN/m 2"));
}

TEST(UnitCaptionBox, LeavesNoGapAfterARaisedCharacter) {
  UnitCaption box;
  QFont font = box.font();
  font.setPointSizeF(9);
  box.setFont(font);
  box.resize(41, 17);
  TanniPrint(box, QStringLiteral("m^4/m"), 11, 0);
  const std::vector<UnitPiece> pieces = box.pieces();
  ASSERT_EQ(pieces.size(), 3u);
  // The small 4 is narrower than an m of the normal size, and /m starts right after it.
  const double small4 = pieces[2].x - pieces[1].x;
  EXPECT_GT(small4, 0.0);
  EXPECT_LT(small4, pieces[1].x);
  EXPECT_EQ(pieces[1].size, 6);
}

}  // namespace
}  // namespace tovakin::gui
