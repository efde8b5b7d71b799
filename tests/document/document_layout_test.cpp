#include "document/document_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace tovakin::gui {
namespace {

std::vector<const DesignedControl*> ofKind(DocKind kind, std::string_view name = {}) {
  std::vector<const DesignedControl*> out;
  for (const DesignedControl& c : documentControls())
    if (c.kind == kind && (name.empty() || name == c.name)) out.push_back(&c);
  return out;
}

std::set<int> indices(const std::vector<const DesignedControl*>& controls) {
  std::set<int> out;
  for (const DesignedControl* c : controls) out.insert(c->index);
  return out;
}

TEST(DocumentLayout, HasEveryControlOnceWithItsIndex) {
  std::set<int> boxes, labels, units;
  for (int i = 0; i < 24; ++i) boxes.insert(i);
  for (int i = 0; i <= 35; ++i)
    if (i != 9) labels.insert(i);  // the label array has no index 9
  for (int i = 0; i < 18; ++i) units.insert(i);
  EXPECT_EQ(ofKind(DocKind::TextBox).size(), 24u);
  EXPECT_EQ(indices(ofKind(DocKind::TextBox)), boxes);
  EXPECT_EQ(ofKind(DocKind::Label, "lblLabel").size(), 35u);
  EXPECT_EQ(indices(ofKind(DocKind::Label, "lblLabel")), labels);
  EXPECT_EQ(ofKind(DocKind::Unit).size(), 18u);
  EXPECT_EQ(indices(ofKind(DocKind::Unit)), units);
  EXPECT_EQ(ofKind(DocKind::Combo).size(), 8u);
  EXPECT_EQ(ofKind(DocKind::Button).size(), 4u);
  for (const char* single : {"lblAppTitle", "lblKanshu", "lblMizohaba", "lblMyFilename", "lblMyCommand", "picMyForm",
                             "picTouseiField", "picCommand", "cmdKisozaiSet", "cmdNaigaiatuSet"})
    EXPECT_NE(designedControl(single), nullptr) << single;
}

// What stands beside each box: the caption at the left of its row and the unit at its right.
struct BoxRow {
  int box;
  const char* caption;
  int unit;  // -1 none
};

TEST(DocumentLayout, EveryBoxHasItsCaptionAndUnitBesideIt) {
  const BoxRow rows[] = {{0, "計算書タイトル", -1}, {1, "管外径", 1},       {2, "管厚計算値", 2},
                         {3, "管厚中心半径", 3},     {4, "管材単位体積重量", 4}, {5, "管頂部溝幅", 7},
                         {6, "設計支持角(2θ)", 11}, {7, "土かぶり", 6},       {8, "水の単位体積重量", 8},
                         {9, "沈下比", -1},          {10, "土の単位体積重量", 9}, {11, "飽和土単位体積重量", 14},
                         {12, "内部摩擦角", 10},     {13, "上載荷重名称", -1},   {14, "上載荷重", 5},
                         {15, "キャタピラ数", -1},   {16, "施工時衝撃係数", -1}, {17, "静水圧", 12},
                         {18, "水撃圧", 13},         {19, "基礎材の反力係数", 15}, {20, "変形遅れ係数(F1)", -1},
                         {21, "管厚", 16},           {22, "変形遅れ係数(F2)", -1}, {23, "設計たわみ率", 17}};
  for (const BoxRow& row : rows) {
    const DesignedControl* box = designedControl("txtTextBox", row.box);
    ASSERT_NE(box, nullptr);
    const DesignedControl* caption = nullptr;
    const DesignedControl* unit = nullptr;
    for (const DesignedControl& c : documentControls()) {
      if (c.container != box->container || c.top != box->top) continue;
      // The caption is the nearest label to the left, the unit the nearest unit to the right.
      if (c.kind == DocKind::Label && c.left < box->left && (!caption || c.left > caption->left)) caption = &c;
      if (c.kind == DocKind::Unit && c.left > box->left && (!unit || c.left < unit->left)) unit = &c;
    }
    ASSERT_NE(caption, nullptr) << "box " << row.box;
    EXPECT_STREQ(caption->caption, row.caption) << "box " << row.box;
    EXPECT_EQ(unit ? unit->index : -1, row.unit) << "box " << row.box;
  }
}

TEST(DocumentLayout, TheUnitTextsFollowTheirBoxes) {
  const std::map<int, std::string> unitOfBox = {{1, "mm"},      {2, "mm"},      {3, "mm"},     {21, "mm"},
                                                {4, "kN/m^3"},  {8, "kN/m^3"},  {10, "kN/m^3"}, {11, "kN/m^3"},
                                                {14, "kN/m^2"}, {19, "kN/m^2"}, {5, "m"},      {7, "m"},
                                                {6, "^o"},      {12, "^o"},     {17, "Mpa"},   {18, "Mpa"},
                                                {23, "％"}};
  for (const auto& [box, text] : unitOfBox) {
    const DesignedControl* b = designedControl("txtTextBox", box);
    const DesignedControl* found = nullptr;
    for (const DesignedControl& c : documentControls())
      if (c.kind == DocKind::Unit && c.container == b->container && c.top == b->top && c.left > b->left &&
          (!found || c.left < found->left))
        found = &c;
    ASSERT_NE(found, nullptr) << "box " << box;
    EXPECT_EQ(unitTextOf(found->index), text) << "box " << box;
  }
  EXPECT_EQ(unitTextOf(0), "mm");  // beside the nominal-size list
  EXPECT_EQ(unitTextOf(18), "");
}

bool overlap(const DesignedControl& a, const DesignedControl& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

TEST(DocumentLayout, NothingOverlapsOrLeavesItsPanel) {
  const std::map<DocContainer, const DesignedControl*> panels = {
      {DocContainer::Form, designedControl("picMyForm")},
      {DocContainer::Tousei, designedControl("picTouseiField")},
      {DocContainer::Command, designedControl("picCommand")}};
  const auto& all = documentControls();
  for (std::size_t i = 0; i < all.size(); ++i) {
    const DesignedControl& a = all[i];
    if (a.container == DocContainer::Window) continue;  // the window's own lie over the panel by design
    const DesignedControl* panel = panels.at(a.container);
    EXPECT_LE(a.left + a.width, panel->width) << a.name << a.index;
    EXPECT_LE(a.top + a.height, panel->height) << a.name << a.index;
    for (std::size_t j = i + 1; j < all.size(); ++j) {
      const DesignedControl& b = all[j];
      if (b.container != a.container || b.kind == DocKind::Panel || a.kind == DocKind::Panel) continue;
      // As designed, the pipe-class label starts 15 twips inside the end of the short 管種 label.
      if (std::string_view(b.name) == "lblKanshu" && a.index == 3) {
        EXPECT_EQ(a.left + a.width - b.left, 15);
        continue;
      }
      EXPECT_FALSE(overlap(a, b)) << a.name << a.index << " / " << b.name << b.index;
    }
  }
  // The combination-formula button lies over the panel's empty right column, above the
  // flexible-pipe panel.
  const DesignedControl* button = designedControl("cmdNaigaiatuSet");
  const DesignedControl* tousei = designedControl("picTouseiField");
  EXPECT_LE(button->top + button->height, tousei->top);
}

TEST(DocumentLayout, HeadingsAndPipeClassCarryTheirColours) {
  for (int heading : {0, 1, 11, 22}) EXPECT_EQ(designedControl("lblLabel", heading)->backColour, 0x00C0C0FFu);
  EXPECT_EQ(designedControl("lblKanshu")->backColour, 0x00FFFFC0u);
  EXPECT_EQ(designedControl("lblLabel", 3)->backColour, kNoColour);
}

}  // namespace
}  // namespace tovakin::gui
