#include "document/document_layout.h"

#include <array>
#include <string>

#include "platform/error_box.h"

namespace tovakin::gui {

namespace {

using R = DocRole;
using C = DocContainer;

// Designed sizes of the usual controls.
constexpr int kLabelW = 1695, kLabelH = 255;
constexpr int kBoxW = 1815, kBoxH = 270;
constexpr int kComboW = 1815, kComboH = 300;
constexpr int kUnitW = 615, kUnitH = 255;
// Columns of the input panel and of the flexible-pipe panel.
constexpr int kLeftCaption = 120, kLeftInput = 1920, kLeftUnit = 3840;
constexpr int kRightCaption = 4800, kRightInput = 6600, kRightUnit = 8520;
constexpr int kToCaption = 0, kToInput = 1800, kToUnit = 3720;

DesignedControl label(int index, C c, int left, int top, const char* caption, int width = kLabelW,
                      std::uint32_t colour = kNoColour) {
  return {"lblLabel", index, R::Caption, c, left, top, width, kLabelH, caption, colour};
}
DesignedControl heading(int index, int left, int top, int width, const char* caption) {
  return label(index, C::Form, left, top, caption, width, kHeadingColour);
}
DesignedControl box(int index, C c, int left, int top, int width = kBoxW) {
  return {"txtTextBox", index, R::TextBox, c, left, top, width, kBoxH, ""};
}
DesignedControl combo(const char* name, R role, int left, int top, int width = kComboW) {
  return {name, -1, role, C::Form, left, top, width, kComboH, ""};
}
DesignedControl unit(int index, C c, int left, int top) {
  return {"picTanni", index, R::Unit, c, left, top, kUnitW, kUnitH, ""};
}

std::vector<DesignedControl> build() {
  std::vector<DesignedControl> v;
  // The window's own controls. The combination-formula button lies over the input panel.
  v.push_back({"picMyForm", -1, R::FormPanel, C::Window, 0, 0, 9495, 7455, ""});
  v.push_back({"cmdNaigaiatuSet", -1, R::NaigaiatuSet, C::Window, 4800, 4740, 3615, 315, "内外圧合成式の設定(&H)"});
  v.push_back({"lblMyFilename", -1, R::FileName, C::Window, 9600, 480, 3375, 255, ""});
  v.push_back({"lblMyCommand", -1, R::CommandWord, C::Window, 9600, 120, 3375, 255, ""});
  // The panels inside the input panel, and the buttons.
  v.push_back({"picTouseiField", -1, R::TouseiPanel, C::Form, 4800, 5100, 4455, 1575, ""});
  v.push_back({"picCommand", -1, R::CommandPanel, C::Form, 5280, 120, 3975, 735, ""});
  v.push_back({"cmdCommand", 1, R::Command, C::Command, 0, 0, 1695, 495, "計算する(&C)"});
  v.push_back({"cmdCommand", 0, R::Command, C::Command, 1920, 0, 1695, 495, "閉じる(&Q)"});

  // The input panel, row by row.
  v.push_back({"lblAppTitle", -1, R::AppTitle, C::Form, kLeftCaption, 120, 9015, kLabelH, "不とう性管の検討"});
  v.push_back(label(19, C::Form, kLeftCaption, 420, "計算書タイトル"));
  v.push_back(box(0, C::Form, kLeftInput, 420, 6495));
  v.push_back(heading(0, kLeftCaption, 720, 9015, "形状・寸法"));
  v.push_back(label(3, C::Form, kLeftCaption, 1020, "管種", 735));
  v.push_back({"lblKanshu", -1, R::KanshuCaption, C::Form, 840, 1020, 975, kLabelH, "不とう性管", kKanshuColour});
  v.push_back(combo("cbKanshu", R::Kanshu, kLeftInput, 1020, 6495));
  v.push_back(label(20, C::Form, kLeftCaption, 1380, "管規格"));
  v.push_back(combo("cbKikaku", R::Kikaku, kLeftInput, 1380));
  v.push_back(heading(1, kRightCaption, 1380, 4335, "埋設条件"));
  v.push_back(label(4, C::Form, kLeftCaption, 1680, "呼び径"));
  v.push_back(combo("cbYobina", R::Yobina, kLeftInput, 1680));
  v.push_back(unit(0, C::Form, kLeftUnit, 1680));
  v.push_back(label(2, C::Form, kRightCaption, 1680, "埋設形式"));
  v.push_back(combo("cbMaisetu", R::Maisetu, kRightInput, 1680));
  v.push_back(label(7, C::Form, kLeftCaption, 1980, "管外径"));
  v.push_back(box(1, C::Form, kLeftInput, 1980));
  v.push_back(unit(1, C::Form, kLeftUnit, 1980));
  v.push_back(label(14, C::Form, kRightCaption, 1980, "基礎形式"));
  v.push_back(combo("cbKiso", R::Kiso, kRightInput, 1980));
  v.push_back(label(32, C::Form, kLeftCaption, 2280, "管厚"));
  v.push_back(box(21, C::Form, kLeftInput, 2280));
  v.push_back(unit(16, C::Form, kLeftUnit, 2280));
  v.push_back(label(6, C::Form, kRightCaption, 2280, "土かぶり"));
  v.push_back(box(7, C::Form, kRightInput, 2280));
  v.push_back(unit(6, C::Form, kRightUnit, 2280));
  v.push_back(label(8, C::Form, kLeftCaption, 2580, "管厚計算値"));
  v.push_back(box(2, C::Form, kLeftInput, 2580));
  v.push_back(unit(2, C::Form, kLeftUnit, 2580));
  v.push_back({"lblMizohaba", -1, R::MizohabaCaption, C::Form, kRightCaption, 2580, kLabelW, kLabelH, "管頂部溝幅"});
  v.push_back(box(5, C::Form, kRightInput, 2580));
  v.push_back(unit(7, C::Form, kRightUnit, 2580));
  v.push_back(label(33, C::Form, kLeftCaption, 2880, "管厚中心半径"));
  v.push_back(box(3, C::Form, kLeftInput, 2880));
  v.push_back(unit(3, C::Form, kLeftUnit, 2880));
  v.push_back(label(21, C::Form, kRightCaption, 2880, "内部摩擦角"));
  v.push_back(box(12, C::Form, kRightInput, 2880));
  v.push_back(unit(10, C::Form, kRightUnit, 2880));
  v.push_back(label(10, C::Form, kLeftCaption, 3180, "管材単位体積重量"));
  v.push_back(box(4, C::Form, kLeftInput, 3180));
  v.push_back(unit(4, C::Form, kLeftUnit, 3180));
  v.push_back(label(5, C::Form, kRightCaption, 3180, "設計支持角(2θ)"));
  v.push_back(box(6, C::Form, kRightInput, 3180));
  v.push_back(unit(11, C::Form, kRightUnit, 3180));
  v.push_back(heading(22, kLeftCaption, 3480, 4335, "荷重条件"));
  v.push_back(label(13, C::Form, kRightCaption, 3480, "水の単位体積重量"));
  v.push_back(box(8, C::Form, kRightInput, 3480));
  v.push_back(unit(8, C::Form, kRightUnit, 3480));
  v.push_back(label(18, C::Form, kLeftCaption, 3780, "輪荷重規格"));
  v.push_back(combo("cbKajuJoken", R::KajuJoken, kLeftInput, 3780));
  v.push_back(label(15, C::Form, kRightCaption, 3780, "土の単位体積重量"));
  v.push_back(box(10, C::Form, kRightInput, 3780));
  v.push_back(unit(9, C::Form, kRightUnit, 3780));
  v.push_back(label(23, C::Form, kLeftCaption, 4080, "道路の状態"));
  v.push_back(combo("cbDoroJoken", R::DoroJoken, kLeftInput, 4080));
  v.push_back(label(16, C::Form, kRightCaption, 4080, "飽和土単位体積重量"));
  v.push_back(box(11, C::Form, kRightInput, 4080));
  v.push_back(unit(14, C::Form, kRightUnit, 4080));
  v.push_back(label(26, C::Form, kLeftCaption, 4380, "上載荷重名称"));
  v.push_back(box(13, C::Form, kLeftInput, 4380));
  v.push_back(label(17, C::Form, kRightCaption, 4380, "沈下比"));
  v.push_back(box(9, C::Form, kRightInput, 4380));
  v.push_back(label(25, C::Form, kLeftCaption, 4680, "上載荷重"));
  v.push_back(box(14, C::Form, kLeftInput, 4680));
  v.push_back(unit(5, C::Form, kLeftUnit, 4680));
  v.push_back(label(28, C::Form, kLeftCaption, 4980, "ブルドーザー規格"));
  v.push_back(combo("cbBuruJoken", R::BuruJoken, kLeftInput, 4980));
  v.push_back(label(29, C::Form, kLeftCaption, 5280, "キャタピラ数"));
  v.push_back(box(15, C::Form, kLeftInput, 5280));
  v.push_back(label(30, C::Form, kLeftCaption, 5580, "施工時衝撃係数"));
  v.push_back(box(16, C::Form, kLeftInput, 5580));
  v.push_back(heading(11, kLeftCaption, 5880, 4335, "水圧条件"));
  v.push_back(label(24, C::Form, kLeftCaption, 6180, "静水圧"));
  v.push_back(box(17, C::Form, kLeftInput, 6180));
  v.push_back(unit(12, C::Form, kLeftUnit, 6180));
  v.push_back(label(27, C::Form, kLeftCaption, 6480, "水撃圧"));
  v.push_back(box(18, C::Form, kLeftInput, 6480));
  v.push_back(unit(13, C::Form, kLeftUnit, 6480));

  // The flexible-pipe panel.
  v.push_back({"cmdKisozaiSet", -1, R::KisozaiSet, C::Tousei, kToCaption, 0, 3615, 315, "基礎材の反力係数(e')設定(&E)"});
  v.push_back(label(12, C::Tousei, kToCaption, 360, "基礎材の反力係数"));
  v.push_back(box(19, C::Tousei, kToInput, 360));
  v.push_back(unit(15, C::Tousei, kToUnit, 360));
  v.push_back(label(31, C::Tousei, kToCaption, 660, "変形遅れ係数(F1)"));
  v.push_back(box(20, C::Tousei, kToInput, 660));
  v.push_back(label(34, C::Tousei, kToCaption, 960, "変形遅れ係数(F2)"));
  v.push_back(box(22, C::Tousei, kToInput, 960));
  v.push_back(label(35, C::Tousei, kToCaption, 1260, "設計たわみ率"));
  v.push_back(box(23, C::Tousei, kToInput, 1260));
  v.push_back(unit(17, C::Tousei, kToUnit, 1260));
  return v;
}

constexpr std::array<const char*, kUnitCaptionCount> kUnits{
    "mm", "mm", "mm", "mm", "kN/m^3", "kN/m^2", "m", "m", "kN/m^3",
    "kN/m^3", "^o", "^o", "Mpa", "Mpa", "kN/m^3", "kN/m^2", "mm", "％"};

}  // namespace

const std::vector<DesignedControl>& documentControls() {
  static const std::vector<DesignedControl> controls = build();
  return controls;
}

const DesignedControl& designedControl(DocRole role, int index) {
  for (const DesignedControl& c : documentControls())
    if (c.role == role && c.index == index) return c;
  raiseNoControl(role, index);
}

void raiseNoControl(DocRole role, int index) {
  // The name of the role's controls, and the index where they form an array or one was asked for.
  for (const DesignedControl& c : documentControls()) {
    if (c.role != role) continue;
    platform::raiseNotFound(c.index >= 0 || index >= 0 ? std::string(c.name) + "_" + std::to_string(index) : c.name);
  }
  platform::raiseNotFound("DocRole " + std::to_string(static_cast<int>(role)) +
                          (index >= 0 ? "_" + std::to_string(index) : std::string()));
}

std::string objectNameOf(const DesignedControl& control) {
  std::string name = control.name;
  if (control.index >= 0) name += "_" + std::to_string(control.index);
  return name;
}

std::string objectNameOf(DocRole role, int index) { return objectNameOf(designedControl(role, index)); }

DocKind kindOf(DocRole role) {
  switch (role) {
    case R::FormPanel:
    case R::TouseiPanel:
    case R::CommandPanel: return DocKind::Panel;
    case R::Caption:
    case R::AppTitle:
    case R::KanshuCaption:
    case R::MizohabaCaption:
    case R::FileName:
    case R::CommandWord: return DocKind::Label;
    case R::TextBox: return DocKind::TextBox;
    case R::Unit: return DocKind::Unit;
    case R::Kanshu:
    case R::Kikaku:
    case R::Yobina:
    case R::Maisetu:
    case R::Kiso:
    case R::KajuJoken:
    case R::BuruJoken:
    case R::DoroJoken: return DocKind::Combo;
    case R::KisozaiSet:
    case R::NaigaiatuSet:
    case R::Command: return DocKind::Button;
  }
  raiseNoControl(role);
}

namespace {
// The control of a kind nearest to the box in its row, on the left or on the right of it.
const DesignedControl* besideBox(int index, DocKind kind, bool left) {
  const DesignedControl& box = designedControl(DocRole::TextBox, index);
  const DesignedControl* nearest = nullptr;
  for (const DesignedControl& c : documentControls()) {
    if (c.kind() != kind || c.container != box.container || c.top != box.top) continue;
    if (left ? c.left < box.left && (!nearest || c.left > nearest->left)
             : c.left > box.left && (!nearest || c.left < nearest->left))
      nearest = &c;
  }
  return nearest;
}
}  // namespace

const DesignedControl* boxCaption(int index) { return besideBox(index, DocKind::Label, true); }
const DesignedControl* boxUnit(int index) { return besideBox(index, DocKind::Unit, false); }

std::string_view unitTextOf(int index) {
  if (index < 0 || index >= kUnitCaptionCount) raiseNoControl(R::Unit, index);
  return kUnits[static_cast<std::size_t>(index)];
}

}  // namespace tovakin::gui
