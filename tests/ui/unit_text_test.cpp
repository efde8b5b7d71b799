#include "ui/unit_text.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

#include "platform/error_box.h"
#include "ui/unit_caption.h"

namespace tovakin::gui {
namespace {

// A measure without a font: a half-width character is half its size wide, any other a full size.
double fakeWidth(std::u16string_view text, double size) {
  double w = 0;
  for (char16_t c : text) w += c < 0x80 ? size / 2 : size;
  return w;
}

std::vector<UnitPiece> layout(std::u16string_view text, float size = 9, int align = 0) {
  return layoutUnitText(text, size, align, 100, fakeWidth);
}
using Pieces = std::vector<UnitPiece>;

TEST(UnitText, TheRaisedSizeIsTheSizeOver1Point6HalvesToEven) {
  for (const auto& [size, reduced] : {std::pair<float, int>{11, 7}, {10, 6}, {9, 6}, {8, 5}, {4, 2}, {20, 12},
                                      {12, 8}, {1.6f, 1}, {1.5f, 1}})
    EXPECT_EQ(reducedFontSize(size), reduced) << size;
  EXPECT_THROW(reducedFontSize(60000.0f), RuntimeError);
  EXPECT_EQ(dummyTanni(u"~^o3"), u"  o3");
}

TEST(UnitText, RaisesTheCharacterAfterAMarkerFromTheTopLine) {
  // kN/m in size 9, then the 3 in size 6 where the marker stood; after it the normal size.
  EXPECT_EQ(layout(u"kN/m^3"), (Pieces{{u"kN/m", 0, 9, false}, {u"3", 18, 6, true}}));
  EXPECT_EQ(layout(u"^o"), (Pieces{{u"o", 0, 6, true}}));
  EXPECT_EQ(layout(u"m~2"), layout(u"m^2"));
  // A full-width character after either marker is raised and small like any other.
  EXPECT_EQ(layout(u"a~２"), (Pieces{{u"a", 0, 9, false}, {u"２", 4.5, 6, true}}));
  // /m follows the small 4 by the 4's own width, not by an average width of the face.
  EXPECT_EQ(layout(u"m^4/m"), (Pieces{{u"m", 0, 9, false}, {u"4", 4.5, 6, true}, {u"/m", 7.5, 9, false}}));
  EXPECT_TRUE(layout(u"").empty());
  EXPECT_EQ(layout(u"m^"), (Pieces{{u"m", 0, 9, false}}));
  // The second marker is the raised character; the 2 follows in the normal size.
  EXPECT_EQ(layout(u"^^2"), (Pieces{{u"^", 0, 6, true}, {u"2", 3, 9, false}}));
  EXPECT_EQ(layout(u"^2", 1.5f), (Pieces{{u"2", 0, 1, true}}));
}

TEST(UnitText, RightAlignmentMeasuresTheMarkerAsABlankAndTheRaisedCharacterAtFullSize) {
  // "kN/m 3" is 6 half-width characters of size 9: 27 wide in a box of 100.
  EXPECT_EQ(layout(u"kN/m^3", 9, 1), (Pieces{{u"kN/m", 73, 9, false}, {u"3", 91, 6, true}}));
}

TEST(UnitText, TheCaptionDrawsTheSamePictureTwiceAndLeavesNoGap) {
  UnitCaption box;
  QFont font = box.font();
  font.setPointSizeF(9);
  box.setFont(font);
  box.resize(41, 17);
  TanniPrint(box, QStringLiteral("m^4/m"), 11, 0);
  const QImage once = box.grab().toImage();
  TanniPrint(box, QStringLiteral("m^4/m"), 11, 0);
  EXPECT_EQ(box.grab().toImage(), once);
  const std::vector<UnitPiece> pieces = box.pieces();
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_LT(pieces[2].x - pieces[1].x, pieces[1].x);  // the small 4 is narrower than an m
  TanniPrint(box, QString(), 11, 0);
  EXPECT_NE(box.grab().toImage(), once);  // a new text clears the box
}

}  // namespace
}  // namespace tovakin::gui
