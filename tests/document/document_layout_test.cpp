#include "document/document_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "document/document_rules.h"
#include "platform/error_box.h"

namespace tovakin::gui {
namespace {

TEST(DocumentLayout, HasEveryControlOnceWithItsIndex) {
  std::map<std::string, std::set<int>> indices;
  std::map<std::string, int> count;
  for (const DesignedControl& c : documentControls()) {
    indices[c.name].insert(c.index);
    ++count[c.name];
  }
  const auto range = [](int n, int skip = -1) {
    std::set<int> s;
    for (int i = 0; i < n; ++i)
      if (i != skip) s.insert(i);
    return s;
  };
  EXPECT_EQ(indices["txtTextBox"], range(kTextBoxCount));
  EXPECT_EQ(indices["lblLabel"], range(*indices["lblLabel"].rbegin() + 1, 9));  // no index 9, no other gap
  EXPECT_EQ(indices["picTanni"], range(kUnitCaptionCount));
  for (const char* array : {"txtTextBox", "lblLabel", "picTanni"})
    EXPECT_EQ(static_cast<std::size_t>(count[array]), indices[array].size()) << array;
  for (const char* single : {"cbKanshu", "cbKikaku", "cbYobina", "cbMaisetu", "cbKiso", "cbKajuJoken",
                             "cbBuruJoken", "cbDoroJoken", "lblAppTitle", "lblKanshu", "lblMizohaba",
                             "lblMyFilename", "lblMyCommand", "picMyForm", "picTouseiField", "picCommand",
                             "cmdKisozaiSet", "cmdNaigaiatuSet"})
    EXPECT_EQ(count[single], 1) << single;
}

// Each box with the caption at the left of its row and the unit text at its right.
TEST(DocumentLayout, EveryBoxHasItsCaptionAndUnitBesideIt) {
  struct Row {
    int box;
    const char* caption;
    const char* unit;
  };
  const Row rows[] = {{0, "計算書タイトル", ""},       {1, "管外径", "mm"},          {2, "管厚計算値", "mm"},
                      {3, "管厚中心半径", "mm"},       {4, "管材単位体積重量", "kN/m^3"}, {5, "管頂部溝幅", "m"},
                      {6, "設計支持角(2θ)", "^o"},    {7, "土かぶり", "m"},         {8, "水の単位体積重量", "kN/m^3"},
                      {9, "沈下比", ""},               {10, "土の単位体積重量", "kN/m^3"},
                      {11, "飽和土単位体積重量", "kN/m^3"}, {12, "内部摩擦角", "^o"}, {13, "上載荷重名称", ""},
                      {14, "上載荷重", "kN/m^2"},      {15, "キャタピラ数", ""},       {16, "施工時衝撃係数", ""},
                      {17, "静水圧", "Mpa"},           {18, "水撃圧", "Mpa"},         {19, "基礎材の反力係数", "kN/m^2"},
                      {20, "変形遅れ係数(F1)", ""},    {21, "管厚", "mm"},            {22, "変形遅れ係数(F2)", ""},
                      {23, "設計たわみ率", "％"}};
  for (const Row& row : rows) {
    const DesignedControl* caption = boxCaption(row.box);
    const DesignedControl* unit = boxUnit(row.box);
    ASSERT_NE(caption, nullptr) << row.box;
    EXPECT_STREQ(caption->caption, row.caption) << row.box;
    EXPECT_EQ(unit ? unitTextOf(unit->index) : "", row.unit) << row.box;
  }
}

// The window keeps each control by its role: one name per role, one role per name, and each list
// its own role, in the list table's order.
TEST(DocumentLayout, GivesEachDesignedNameOneRole) {
  std::map<std::string, std::set<DocRole>> rolesOfName;
  std::map<DocRole, std::set<std::string>> namesOfRole;
  for (const DesignedControl& c : documentControls()) {
    rolesOfName[c.name].insert(c.role);
    namesOfRole[c.role].insert(c.name);
  }
  for (const auto& [name, roles] : rolesOfName) EXPECT_EQ(roles.size(), 1u) << name;
  for (const auto& [role, names] : namesOfRole) EXPECT_EQ(names.size(), 1u) << *names.begin();
  const std::pair<const char*, DocRole> lists[] = {
      {"cbKanshu", DocRole::Kanshu},   {"cbKikaku", DocRole::Kikaku},       {"cbYobina", DocRole::Yobina},
      {"cbMaisetu", DocRole::Maisetu}, {"cbKiso", DocRole::Kiso},           {"cbKajuJoken", DocRole::KajuJoken},
      {"cbBuruJoken", DocRole::BuruJoken}, {"cbDoroJoken", DocRole::DoroJoken}};
  for (std::size_t i = 0; i < std::size(lists); ++i) {
    const auto& [name, list] = lists[i];
    const DesignedControl& c = designedControl(list);
    EXPECT_STREQ(c.name, name);
    EXPECT_EQ(listIndexOf(list), static_cast<int>(i)) << name;
    EXPECT_EQ(c.kind(), DocKind::Combo) << name;
  }
  std::size_t combos = 0;
  for (const DesignedControl& c : documentControls()) {
    if (c.kind() == DocKind::Combo) {
      EXPECT_EQ(documentList(c.role).role, c.role) << c.name;
    } else {
      EXPECT_THROW(listIndexOf(c.role), platform::RuntimeError) << c.name;
    }
    combos += c.kind() == DocKind::Combo;
  }
  EXPECT_EQ(combos, documentLists().size());
  EXPECT_EQ(documentLists().size(), static_cast<std::size_t>(kListCount));
  EXPECT_STREQ(designedControl(DocRole::CommandPanel).name, "picCommand");
  EXPECT_STREQ(designedControl(DocRole::Command, 1).caption, "計算する(&C)");
  EXPECT_THROW(designedControl(DocRole::Command), platform::RuntimeError);  // an array needs its index
}

// Every control the Enter links and the Tab order name is one the window has: a link to a renamed
// or unknown control would otherwise move the focus nowhere.
TEST(DocumentLayout, EveryEnterLinkAndTabStopIsADesignedControl) {
  std::map<std::string, const DesignedControl*> designed;
  for (const DesignedControl& c : documentControls()) designed[objectNameOf(c)] = &c;
  const auto designedControlNamed = [&](const std::string& name) {
    const auto found = designed.find(name);
    return found == designed.end() ? nullptr : found->second;
  };
  std::set<std::string> named;
  for (const std::string& name : tabOrder()) {
    EXPECT_NE(designedControlNamed(name), nullptr) << name;
    EXPECT_TRUE(named.insert(name).second) << name << " twice";
  }
  std::vector<std::string> inputs;
  for (const DesignedControl& c : documentControls()) {
    if (c.kind() != DocKind::TextBox && c.kind() != DocKind::Combo) continue;
    inputs.push_back(objectNameOf(c));
  }
  for (const std::string& from : inputs) {
    for (const EnterState state : {EnterState{true, true, true}, EnterState{false, false, true},
                                   EnterState{true, false, false}}) {
      const std::string target = enterTarget(from, state);
      EXPECT_FALSE(target.empty()) << from;
      EXPECT_NE(designedControlNamed(target), nullptr) << from << " -> " << target;
    }
  }
  EXPECT_EQ(designedControlNamed("txtTextBox_" + std::to_string(kTextBoxCount)), nullptr);
  EXPECT_EQ(designedControlNamed("txtTextBox"), nullptr);
  EXPECT_EQ(designedControlNamed("cbKanshu")->role, DocRole::Kanshu);
}

}  // namespace
}  // namespace tovakin::gui
