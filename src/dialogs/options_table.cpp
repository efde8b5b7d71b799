#include "dialogs/options_table.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "app/load_classes.h"
#include "app/number_format.h"
#include "app/std_io.h"
#include "platform/error_box.h"

namespace tovakin::gui {
namespace {

// Rows of the pages (twips from the frame's top) and the columns of the support-angle grid and
// of the impact-coefficient table.
constexpr int kRow0 = 240, kRow1 = 600, kRow2 = 960, kRow3 = 1320, kRow4 = 1680;
constexpr int kBoxColumn = 3360;    // pages 1 and 3
constexpr int kAngleColumn0 = 1800;  // 0°; each further angle 1200 to the right
constexpr int kImpactColumn0 = 7200;  // H < 1.5; each further column 1200 to the right
constexpr int kColumnStep = 1200;
constexpr int kImpactPavedRow = 1440;
constexpr int kGridRowStep = 360;

// Enter runs through the support-angle grid row by row and leaves its last box for OK.
constexpr int gridNext(int row, int col) { return row == 2 && col == 5 ? kEnterOk : 13 + 6 * row + col + 1; }

// The rear-wheel loads korinKaju[0] to [3] stand in boxes 5 to 8.
constexpr int kFirstRearWheelLoadBox = 5;
int rearWheelLoadBox(std::size_t load) { return kFirstRearWheelLoadBox + static_cast<int>(load); }

// The truck class whose rear-wheel load is korinKaju[load].
std::string truckOfLoad(std::size_t load) {
  for (const app::TruckClass& truck : app::truckClasses())
    if (truck.load == load) return truck.text;
  raiseNotFound("korinKaju[" + std::to_string(load) + "]");
}

// The class with a reduction factor β of its own, and the caption of every other class's.
const std::string& ownBetaClass() {
  static const std::string text = [] {
    for (const app::TruckClass& truck : app::truckClasses())
      if (truck.beta == &CalcSettings::betaT25) return std::string(truck.text);
    raiseNotFound("betaT25");
  }();
  return text;
}
const std::string& otherBetaClasses() {
  static const std::string text = ownBetaClass() + "以外";
  return text;
}

}  // namespace

const std::array<OptionsBox, kOptionsBoxCount>& optionsBoxes() {
#define M(expr) [](CalcSettings& s) -> double& { return s.expr; }
  // The support-angle grid: the first index of shijikakuKeisu is the angle column, the second
  // the row (K, Ko, Kp); box 13 + i is K at column i, 19 + i Ko, 25 + i Kp.
#define K_BOX(row, col, key)                                                                 \
  OptionsBox {                                                                               \
    kPageSupportAngle, "0.000", key, M(shijikakuKeisu[col][row]), gridNext(row, col),        \
        kAngleColumn0 + kColumnStep * (col), kRow1 + kGridRowStep * (row), nullptr           \
  }
#define IMPACT_BOX(road, member, col, key, next)                                             \
  OptionsBox {                                                                               \
    kPageLoads, "0.0", key, M(shogekiKeisu[road].member), next,                              \
        kImpactColumn0 + kColumnStep * (col), (road) == 0 ? kRow2 : kImpactPavedRow, nullptr \
  }
  static const std::array<OptionsBox, kOptionsBoxCount> boxes = {{
      /* 0 */ {kPageUnitWeights, "0.00", "土の単位体積重量", M(tuchiTanniJuryo), 1, kBoxColumn, kRow0, "kN/m^3"},
      /* 1 */ {kPageUnitWeights, "0.00", "飽和土単位体積重量", M(howadoTanniJuryo), 2, kBoxColumn, kRow1, "kN/m^3"},
      /* 2 */ {kPageUnitWeights, "0.00", "水の単位体積重量", M(mizuTanniJuryo), kEnterOk, kBoxColumn, kRow2, "kN/m^3"},
      /* 3 */ {kPageConditions, "0", "荷重分布角", M(kajuBunpukaku), 4, kBoxColumn, kRow0, "^o"},
      /* 4 */ {kPageConditions, "0.00", "車両占有幅", M(sharyoSenyuHaba), 12, kBoxColumn, kRow1, "m"},
      /* 5 */ {kPageLoads, "0.00", "後輪荷重T25", M(korinKaju[0]), 6, 1680, kRow1, nullptr},
      /* 6 */ {kPageLoads, "0.00", "後輪荷重T20", M(korinKaju[1]), 7, 1680, kRow2, nullptr},
      /* 7 */ {kPageLoads, "0.00", "後輪荷重T14", M(korinKaju[2]), 8, 1680, kRow3, nullptr},
      /* 8 */ {kPageLoads, "0.00", "後輪荷重T10", M(korinKaju[3]), 9, 1680, kRow4, nullptr},
      /* 9 */ {kPageLoads, "0.00", "βT25時", M(betaT25), 10, 4440, kRow1, nullptr},
      /* 10 */ {kPageLoads, "0.00", "βT25以外時", M(betaT25Igai), 31, 4440, kRow2, nullptr},
      /* 11 */ {kPageConditions, "0", "内部摩擦角", M(naibuMasatukaku), kEnterOk, kBoxColumn, kRow3, "^o"},
      /* 12 */ {kPageConditions, "0.0", "浮上検討安全率", M(fujoKentoAnzenritu), 11, kBoxColumn, kRow2, nullptr},
      /* 13 to 18 */ K_BOX(0, 0, "K0"), K_BOX(0, 1, "K30"), K_BOX(0, 2, "K60"),
      K_BOX(0, 3, "K90"), K_BOX(0, 4, "K120"), K_BOX(0, 5, "K180"),
      /* 19 to 24 */ K_BOX(1, 0, "Ko0"), K_BOX(1, 1, "Ko30"), K_BOX(1, 2, "Ko60"),
      K_BOX(1, 3, "Ko90"), K_BOX(1, 4, "Ko120"), K_BOX(1, 5, "Ko180"),
      /* 25 to 30 */ K_BOX(2, 0, "Kp0"), K_BOX(2, 1, "Kp30"), K_BOX(2, 2, "Kp60"),
      K_BOX(2, 3, "Kp90"), K_BOX(2, 4, "Kp120"), K_BOX(2, 5, "Kp180"),
      /* 31 to 33 */ IMPACT_BOX(0, a, 0, "衝撃係数未舗装A", 32), IMPACT_BOX(0, b, 1, "衝撃係数未舗装B", 33),
      IMPACT_BOX(0, c, 2, "衝撃係数未舗装C", 34),
      /* 34 to 36 */ IMPACT_BOX(1, a, 0, "衝撃係数舗装A", 35), IMPACT_BOX(1, b, 1, "衝撃係数舗装B", 36),
      IMPACT_BOX(1, c, 2, "衝撃係数舗装C", kEnterOk),
  }};
#undef IMPACT_BOX
#undef K_BOX
#undef M
  return boxes;
}

const std::array<OptionsPageDesign, kOptionsPageCount>& optionsPages() {
  static const std::array<OptionsPageDesign, kOptionsPageCount> pages = {{
      {"単位体積重量", "単位体積重量", 5640, 1425},
      {"設計支持角係数", "設計支持角", 9120, 1755},
      {"計算条件", "計算条件", 5640, 3225},
      {"荷重規格", "荷重規格", 10800, 2505},
      {"プログラムオプション", "プログラムオプション", 5640, 3225},
  }};
  return pages;
}

namespace {

constexpr int kLabelHeight = 255;
constexpr int kCaptionLeft = 120;                   // the labels in front of the rows
constexpr int kCaptionWidth = 3135;                 // pages 1 and 3
constexpr int kAngleCaptionWidth = 1560;            // page 2
constexpr int kLoadCaptionWidth = 1440;             // page 4
constexpr int kUnitLeft = 4560, kUnitWidth = 855, kUnitHeight = 255;
constexpr int kButtonWidth = 1095, kButtonHeight = 375;

std::vector<OptionsControl> buildControls() {
  using enum OptionsKind;
  using enum OptionsText;
  std::vector<OptionsControl> v;
  // Label1 is one array across pages 1, 2 and 4, numbered in the order below.
  int label1 = 0;
  const auto label = [&](int page, const char* caption, int left, int top, int width, OptionsText text = Left,
                         int height = kLabelHeight) {
    v.push_back({"Label1", label1++, Label, page, left, top, width, height, caption, text});
  };
  const auto boxTop = [](int box) { return optionsBoxes()[static_cast<std::size_t>(box)].top; };

  // Page 1: the three unit weights.
  label(kPageUnitWeights, "土の単位体積重量", kCaptionLeft, kRow0, kCaptionWidth);
  label(kPageUnitWeights, "飽和土単位体積重量", kCaptionLeft, kRow1, kCaptionWidth);
  label(kPageUnitWeights, "水の単位体積重量", kCaptionLeft, kRow2, kCaptionWidth);

  // Page 2: K, Ko and Kp by the design support angle.
  label(kPageSupportAngle, "基礎の設計支持角", kCaptionLeft, kRow0, kAngleCaptionWidth);
  const char* angles[] = {"0°", "30°", "60°", "90°", "120°", "180°"};
  for (int col = 0; col < 6; ++col)
    label(kPageSupportAngle, angles[col], kAngleColumn0 + kColumnStep * col, kRow0, kOptionsBoxWidth, Centred);
  label(kPageSupportAngle, "K", kCaptionLeft, kRow1, kAngleCaptionWidth);
  label(kPageSupportAngle, "Ko", kCaptionLeft, kRow2, kAngleCaptionWidth);
  label(kPageSupportAngle, "Kp", kCaptionLeft, kRow3, kAngleCaptionWidth);

  // Page 3: the calculation conditions, labels of their own array numbered like their boxes
  // (the friction angle's label is number 0), each in its box's row.
  const auto condition = [&](int index, int box, const char* caption, const char* tip) {
    v.push_back({"lblLabel", index, Label, kPageConditions, kCaptionLeft, boxTop(box), kCaptionWidth, kLabelHeight,
                 caption, Left, nullptr, tip});
  };
  condition(3, 3, "荷重分布角", "自動車荷重考慮時の荷重分布角を入力します。標準値は45°です。");
  condition(4, 4, "車両占有幅", "自動車荷重考慮時の車両占有幅を入力します。標準値は2.75です。");
  condition(12, 12, "浮上検討時の安全率(S)", "浮上検討時の安全率を入力します。標準は1.2です。");
  condition(0, 11, "内部摩擦角の標準値", nullptr);

  // Page 4: wheel loads, reduction factors and impact coefficients.
  label(kPageLoads, "荷重条件", kCaptionLeft, kRow0, kLoadCaptionWidth);
  // Each truck class's caption stands in the row of its rear-wheel load's box.
  for (const app::TruckClass& truck : app::truckClasses())
    if (truck.code != app::kNoLoadClass)
      label(kPageLoads, truck.text, kCaptionLeft, boxTop(rearWheelLoadBox(truck.load)), kLoadCaptionWidth);
  label(kPageLoads, "後輪荷重", 1680, kRow0, kOptionsBoxWidth, Centred);
  label(kPageLoads, "断面力の低減係数β", 2880, kRow0, 2655);
  label(kPageLoads, ownBetaClass().c_str(), 2880, boxTop(9), kLoadCaptionWidth);
  label(kPageLoads, otherBetaClasses().c_str(), 2880, boxTop(10), kLoadCaptionWidth);
  label(kPageLoads, "衝撃係数（自動車荷重） ｉ の標準値", 5640, kRow0, 5055);
  label(kPageLoads, "状態/土かぶり", 5640, kRow1, 1500);
  // The column headings stand a little left of their boxes, centred over them.
  const char* depths[] = {"1.5未満", "1.5～2.5未満", "2.5以上"};
  for (int col = 0; col < 3; ++col)
    label(kPageLoads, depths[col], kImpactColumn0 + kColumnStep * col - 52, kRow1, kColumnStep, Centred);
  label(kPageLoads, "未舗装道路", 5640, boxTop(31), 1500);
  // Two lines, broken between the words: a wrap would split the half-width katakana.
  label(kPageLoads, "ｺﾝｸﾘｰﾄおよび\nｱｽﾌｧﾙﾄ舗装道路", 5640, boxTop(34), 1500, TwoLines, 480);

  // Page 5: clearing the recent-file list.
  v.push_back({"cmdMRUClear", -1, Button, kPageProgram, 120, 240, 2415, 495, "ファイル履歴の削除(&D)"});
  v.push_back({"lblHistoryFileClearInfo", -1, Label, kPageProgram, 120, 840, 5175, 495,
               "ファイル読み込み履歴を削除する場合、このボタンを押してください。元には戻せません。", Wrapped});

  // The unit captions beside their boxes on pages 1 and 3.
  int unit = 0;
  for (int box : {0, 1, 2, 3, 4, 11}) {
    const OptionsBox& b = optionsBoxes()[static_cast<std::size_t>(box)];
    v.push_back({"picTanni", unit++, Unit, b.page, kUnitLeft, b.top, kUnitWidth, kUnitHeight, b.unit});
  }

  // OK, Cancel and Apply in picCommand.
  v.push_back({"cmdCommand", 0, Button, kOnCommandBar, 0, 0, kButtonWidth, kButtonHeight, "OK(&O)", Left, "1059"});
  v.push_back({"cmdCommand", 1, Button, kOnCommandBar, 1200, 0, kButtonWidth, kButtonHeight, "ｷｬﾝｾﾙ(&C)", Left, "1058"});
  v.push_back({"cmdCommand", 2, Button, kOnCommandBar, 2400, 0, kButtonWidth, kButtonHeight, "適用(&A)", Left, "1057"});
  return v;
}

}  // namespace

const std::vector<OptionsControl>& optionsControls() {
  static const std::vector<OptionsControl> controls = buildControls();
  return controls;
}

const std::array<int, kOptionsBoxCount>& optionsTabOrder() {
  static const std::array<int, kOptionsBoxCount> order = {0,  1,  2,  13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                                                          23, 24, 25, 26, 27, 28, 29, 30, 3,  4,  12, 11, 5,
                                                          6,  7,  8,  9,  10, 31, 32, 33, 34, 35, 36};
  return order;
}

const std::array<int, kOptionsBoxCount>& optionsReadOrder() {
  static const std::array<int, kOptionsBoxCount> order = {0,  2,  1,  3,  11, 4,  12, 5,  6,  7,  8,  9,  10,
                                                          31, 32, 33, 34, 35, 36, 13, 14, 15, 16, 17, 18, 19,
                                                          20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
  return order;
}

std::string optionsBoxText(const CalcSettings& settings, int index) {
  const OptionsBox& box = optionsBoxes().at(static_cast<std::size_t>(index));
  CalcSettings copy = settings;
  const double v = box.member(copy);
  return formatPattern(std::isfinite(v) ? v : 0.0, box.pattern);
}

std::optional<double> optionsBoxValue(std::string_view text) {
  if (text.empty()) return 0.0;
  double v = 0.0;
  if (!parseDecimal(text, v) || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> optionsForm2Data(const std::array<std::string, kOptionsBoxCount>& texts, CalcSettings& data) {
  CalcSettings work = data;
  for (int index : optionsReadOrder()) {
    const std::optional<double> v = optionsBoxValue(texts[static_cast<std::size_t>(index)]);
    if (!v) return index;
    optionsBoxes()[static_cast<std::size_t>(index)].member(work) = *v;
  }
  data = work;
  return std::nullopt;
}

namespace {

// What a box may hold: above 0, not below 0, or an angle strictly between 0 and 90 degrees.
enum class Allowed { Positive, NotNegative, Angle };

struct BoxLimit {
  Allowed allowed;
  std::string name;  // the box as the dialog's captions name it
};

const std::array<BoxLimit, kOptionsBoxCount>& boxLimits() {
  using enum Allowed;
  static const std::array<BoxLimit, kOptionsBoxCount> limits = {{
      /* 0 */ {Positive, "土の単位体積重量"},
      /* 1 */ {Positive, "飽和土単位体積重量"},
      /* 2 */ {Positive, "水の単位体積重量"},
      /* 3 */ {Angle, "荷重分布角"},
      /* 4 */ {Positive, "車両占有幅"},
      /* 5 */ {Positive, "後輪荷重(" + truckOfLoad(0) + ")"},
      /* 6 */ {Positive, "後輪荷重(" + truckOfLoad(1) + ")"},
      /* 7 */ {Positive, "後輪荷重(" + truckOfLoad(2) + ")"},
      /* 8 */ {Positive, "後輪荷重(" + truckOfLoad(3) + ")"},
      /* 9 */ {Positive, "断面力の低減係数β(" + ownBetaClass() + ")"},
      /* 10 */ {Positive, "断面力の低減係数β(" + otherBetaClasses() + ")"},
      /* 11 */ {Angle, "内部摩擦角の標準値"},
      /* 12 */ {Positive, "浮上検討時の安全率(S)"},
      /* 13 to 18 */ {Positive, "設計支持角係数K(0°)"}, {Positive, "設計支持角係数K(30°)"},
      {Positive, "設計支持角係数K(60°)"}, {Positive, "設計支持角係数K(90°)"},
      {Positive, "設計支持角係数K(120°)"}, {Positive, "設計支持角係数K(180°)"},
      /* 19 to 24 */ {Positive, "設計支持角係数Ko(0°)"}, {Positive, "設計支持角係数Ko(30°)"},
      {Positive, "設計支持角係数Ko(60°)"}, {Positive, "設計支持角係数Ko(90°)"},
      {Positive, "設計支持角係数Ko(120°)"}, {Positive, "設計支持角係数Ko(180°)"},
      /* 25 to 30 */ {Positive, "設計支持角係数Kp(0°)"}, {Positive, "設計支持角係数Kp(30°)"},
      {Positive, "設計支持角係数Kp(60°)"}, {Positive, "設計支持角係数Kp(90°)"},
      {Positive, "設計支持角係数Kp(120°)"}, {Positive, "設計支持角係数Kp(180°)"},
      /* 31 to 33 */ {NotNegative, "衝撃係数(未舗装道路・1.5未満)"},
      {NotNegative, "衝撃係数(未舗装道路・1.5～2.5未満)"}, {NotNegative, "衝撃係数(未舗装道路・2.5以上)"},
      /* 34 to 36 */ {NotNegative, "衝撃係数(舗装道路・1.5未満)"},
      {NotNegative, "衝撃係数(舗装道路・1.5～2.5未満)"}, {NotNegative, "衝撃係数(舗装道路・2.5以上)"},
  }};
  return limits;
}

// Why the value may not stand, or "" when it may. A value that is not a number never stands.
std::string refusalText(const BoxLimit& limit, double value) {
  const std::string name = limit.name;
  switch (limit.allowed) {
    case Allowed::Positive:
      if (!(value > 0)) return name + "を0以下にすることは出来ません。";
      break;
    case Allowed::NotNegative:
      if (!(value >= 0)) return name + "を負の値にすることは出来ません。";
      break;
    case Allowed::Angle:
      if (!(value > 0)) return name + "を0以下にすることは出来ません。";
      if (!(value < 90)) return name + "を90以上にすることは出来ません。";
      break;
  }
  return {};
}

}  // namespace

std::optional<OptionsRefusal> optionsRefusal(const CalcSettings& settings) {
  CalcSettings read = settings;  // the members are reached through their mutable accessors
  for (int index : optionsReadOrder()) {
    const auto i = static_cast<std::size_t>(index);
    std::string why = refusalText(boxLimits()[i], optionsBoxes()[i].member(read));
    if (!why.empty()) return OptionsRefusal{index, std::move(why)};
  }
  return std::nullopt;
}

bool historyClearEnabled(const std::array<std::string, 4>& recentFiles) {
  return std::any_of(recentFiles.begin(), recentFiles.end(), [](const std::string& f) { return !f.empty(); });
}

OptionsLayout optionsLayout(const std::array<std::pair<int, int>, kOptionsPageCount>& frames, int commandWidth) {
  std::optional<double> w = 0.0;
  std::optional<double> h = 0.0;
  for (const auto& [width, height] : frames) {
    w = UserMax(w, width);
    h = UserMax(h, height);
  }
  OptionsLayout l;
  l.frameWidth = static_cast<int>(*w);
  l.tabLeft = 120;
  l.tabTop = 120;
  l.tabWidth = static_cast<int>(*w) + 480;
  l.tabHeight = static_cast<int>(*h) + 1000;
  l.formWidth = l.tabWidth + 240;
  l.formHeight = l.tabHeight + 1000;
  l.commandLeft = l.tabWidth - commandWidth;
  l.commandTop = l.tabHeight + 240;
  return l;
}

OptionsLayout optionsLayout() {
  std::array<std::pair<int, int>, kOptionsPageCount> frames{};
  for (int page = 0; page < kOptionsPageCount; ++page) {
    const OptionsPageDesign& p = optionsPages()[static_cast<std::size_t>(page)];
    frames[static_cast<std::size_t>(page)] = {p.width, p.height};
  }
  return optionsLayout(frames, kOptionsBarWidth);
}

}  // namespace tovakin::gui
