#include "document/document_rules.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <type_traits>
#include <utility>

#include "app/load_classes.h"
#include "app/number_format.h"
#include "app/std_io.h"
#include "platform/cp932.h"
#include "platform/error_box.h"

namespace tovakin::gui {

std::string_view recordFieldName(const RecordField& field) {
  return std::visit(
      [](auto member) -> std::string_view {
        if constexpr (std::is_same_v<decltype(member), std::monostate>) return "(no field)";
        else return app::designFieldName(member);
      },
      field);
}

namespace {

const std::vector<ListItem> kMaisetu{{"溝型", 0}, {"突出型", 1}, {"矢板施工", 2}};
const std::vector<ListItem> kKiso{{"自由支承", 0}, {"固定支承", 1}};
// The load classes are the calculation's own tables: the list shows what the calculation knows.
template <class Classes>
std::vector<ListItem> itemsOf(Classes classes) {
  std::vector<ListItem> items;
  for (const auto& c : classes) items.push_back({c.text, c.code});
  return items;
}
const std::vector<ListItem> kKajuJoken = itemsOf(app::truckClasses());
const std::vector<ListItem> kBuruJoken = itemsOf(app::bulldozerClasses());
const std::vector<ListItem> kDoroJoken{{"未舗装道路", 0}, {"舗装道路", 1}};

// The entry of a code, when the code has one of its own.
const ListItem* entryOf(const std::vector<ListItem>& items, double code) {
  for (const ListItem& item : items)
    if (item.code == code) return &item;
  return nullptr;
}

int decimalsOf(std::string_view pattern) {
  const std::size_t point = pattern.find('.');
  return point == std::string_view::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
}

}  // namespace

const std::vector<DocumentList>& documentLists() {
  using D = DesignData;
  using R = DocRole;
  static const std::vector<DocumentList> kLists{
      {R::Kanshu, &D::kanshu, nullptr, "管種"},
      {R::Kikaku, &D::kikaku, nullptr, "管規格"},
      {R::Yobina, &D::yobikei, nullptr, "呼び径"},
      {R::Maisetu, &D::maisetuKeishiki, &kMaisetu, "埋設形式"},
      {R::Kiso, &D::kisoKeishiki, &kKiso, "基礎形式"},
      {R::KajuJoken, &D::kajuJoken, &kKajuJoken, "輪荷重規格"},
      {R::BuruJoken, &D::buruJoken, &kBuruJoken, "ブルドーザー規格"},
      {R::DoroJoken, &D::doroJoken, &kDoroJoken, "道路の状態"},
  };
  return kLists;
}

int listIndexOf(DocRole role) {
  const std::vector<DocumentList>& lists = documentLists();
  for (std::size_t i = 0; i < lists.size(); ++i)
    if (lists[i].role == role) return static_cast<int>(i);
  raiseNoControl(role);
}

const DocumentList& documentList(DocRole role) { return documentLists()[static_cast<std::size_t>(listIndexOf(role))]; }

const std::vector<ListItem>& fixedListItems(DocRole list) {
  const DocumentList& l = documentList(list);
  if (!l.items) raiseNoControl(list);  // the pipe lists come from the database
  return *l.items;
}

double fixedListDefault(DocRole list) { return fixedListItems(list).front().code; }

std::optional<std::string> fixedListEntry(DocRole list, double code) {
  const ListItem* own = entryOf(fixedListItems(list), code);
  if (!own) return std::nullopt;
  return own->text;
}

std::string fixedListText(DocRole list, double code) {
  if (std::optional<std::string> text = fixedListEntry(list, code)) return *text;
  raiseError(err::kOutOfRange, unknownListCodeText(list, code));
}

std::string unknownListCodeText(DocRole list, double code) {
  return app::unknownCodeText(documentList(list).name, code);
}

std::optional<double> fixedListCode(DocRole list, std::string_view text) {
  for (const ListItem& item : fixedListItems(list))
    if (text == item.text) return item.code;
  return std::nullopt;
}

KanshuSwitch kanshuSwitchFor(std::int32_t kanzaiKubun, std::string_view kisoText) {
  const bool free = kisoText == kFreeSupport;
  if (kanzaiKubun == 0) return {true, false, kRigidCaption};
  if (kanzaiKubun == 5) return {true, free, kFlexibleCaption};
  return {false, free, kFlexibleCaption};
}

TrenchControls trenchControlsFor(double maisetuKeishiki) {
  if (maisetuKeishiki == 0.0) return {"管頂部溝幅", true};
  if (maisetuKeishiki == 1.0) return {"管頂部溝幅", false};
  return {"矢板中心溝幅", true};
}

double designWallThickness(std::int32_t kanzaiKubun, double kanatuKeisan, double gaikei) {
  const double innerDiameter = gaikei - 2.0 * kanatuKeisan;
  const bool large = innerDiameter >= 800.0;
  if (kanzaiKubun == 1) {
    if (kanatuKeisan >= 9.0) return large ? kanatuKeisan / 1.1 : kanatuKeisan / 1.1 - 1.0;
    return large ? kanatuKeisan - 1.0 : kanatuKeisan - 2.0;
  }
  if (kanzaiKubun == 2) return large ? kanatuKeisan : kanatuKeisan - 2.0;
  return kanatuKeisan;
}

PipeBoxes pipeBoxesFor(const std::optional<calc::PipeDimensions>& row, std::int32_t kanzaiKubun,
                       double unitWeight) {
  if (!row || !row->gaikei || !row->kanatu) return {};
  PipeBoxes boxes;
  boxes.gaikei = *row->gaikei;
  boxes.kanatuKeisan = *row->kanatu;
  boxes.kanatu = designWallThickness(kanzaiKubun, boxes.kanatuKeisan, boxes.gaikei);
  boxes.chushinHankei = (boxes.gaikei - boxes.kanatu) / 2.0;
  boxes.unitWeight = unitWeight;
  return boxes;
}

std::optional<double> nominalSizeValue(std::string_view text) {
  if (text.empty()) return 0.0;
  double value = 0.0;
  if (!parseDecimal(myTrim(text), value) || !std::isfinite(value)) return std::nullopt;
  return value;
}

const std::vector<DocumentBox>& documentBoxes() {
  using K = BoxKind;
  using D = DesignData;
  static const std::vector<DocumentBox> kBoxes{
      {0, &D::keisanshoTitle, K::Text, "", false, "cbKanshu", kTitleBytes},
      {1, &D::gaikei, K::Pipe, "0.00", true, "cbKajuJoken"},
      {2, &D::kanatu, K::Pipe, "0.00", true, "cbKajuJoken"},
      {3, &D::chushinHankei, K::Pipe, "0.00", true, "cbKajuJoken"},
      {4, {}, K::Weight, "0.00", true, "cbKajuJoken"},
      {5, &D::mizohaba, K::Number, "0.000", false, "txtTextBox_12"},
      {6, &D::shijikaku, K::Number, "0", false, "txtTextBox_8"},
      {7, &D::dokaburi, K::Number, "0.000", false, ""},
      {8, &D::mizuTanniJuryo, K::Number, "0.00", false, "txtTextBox_10"},
      {9, &D::chinkahi, K::Number, "0.0", false, ""},
      {10, &D::tuchiTanniJuryo, K::Number, "0.00", false, "txtTextBox_11"},
      {11, &D::howadoTanniJuryo, K::Number, "0.00", false, "txtTextBox_9"},
      {12, &D::naibuMasatukaku, K::Number, "0", false, "txtTextBox_6"},
      {13, &D::josaiKajuMeisho, K::Text, "", false, "txtTextBox_14", kSurchargeNameBytes},
      {14, &D::josaiKaju, K::Surcharge, "0.00", false, "cbBuruJoken"},
      {15, &D::kyatapiraSu, K::Count, "0", false, "txtTextBox_16"},
      {16, &D::sekojiShogekiKeisu, K::Number, "0.0", false, "txtTextBox_17"},
      {17, &D::seisuiatu, K::Number, "0.000", false, "txtTextBox_18"},
      {18, &D::suigekiatu, K::Number, "0.000", false, "cbMaisetu"},
      {19, &D::hanryokuKeisu, K::Number, "0.00", true, "txtTextBox_20"},
      {20, &D::henkeiOkureF1, K::Number, "0.0", false, "txtTextBox_22"},
      {21, &D::kanatuKeisan, K::Pipe, "0.00", true, "cbKajuJoken"},
      {22, &D::henkeiOkureF2, K::Number, "0.0", false, "txtTextBox_23"},
      {23, &D::sekkeiTawamiritu, K::Number, "0.0", false, "cmdCommand_1"},
  };
  return kBoxes;
}

const DocumentBox& documentBox(int index) {
  const std::vector<DocumentBox>& boxes = documentBoxes();
  if (index < 0 || static_cast<std::size_t>(index) >= boxes.size()) raiseNoControl(DocRole::TextBox, index);
  return boxes[static_cast<std::size_t>(index)];
}

const DocumentBox& boxOf(const RecordField& field) {
  if (!std::holds_alternative<std::monostate>(field))
    for (const DocumentBox& box : documentBoxes())
      if (field == box.field) return box;
  raiseNotFound(recordFieldName(field));
}

const DocumentBox& trenchBox() { return boxOf(&DesignData::mizohaba); }
const DocumentBox& adoptedModulusBox() { return boxOf(&DesignData::hanryokuKeisu); }

std::optional<std::string> pipeBoxText(const PipeBoxes& pipe, const DocumentBox& box) {
  using D = DesignData;
  static const std::pair<double D::*, double PipeBoxes::*> kPipeFields[] = {
      {&D::gaikei, &PipeBoxes::gaikei},
      {&D::kanatu, &PipeBoxes::kanatu},
      {&D::kanatuKeisan, &PipeBoxes::kanatuKeisan},
      {&D::chushinHankei, &PipeBoxes::chushinHankei}};
  switch (box.kind) {
    case BoxKind::Weight: return showNumber(pipe.unitWeight, box.pattern);
    case BoxKind::Pipe:
      for (const auto& [field, value] : kPipeFields)
        if (box.field == RecordField(field)) return showNumber(pipe.*value, box.pattern);
      raiseNotFound(recordFieldName(box.field));  // a pipe box of a field the pipe table does not give
    case BoxKind::Text:
    case BoxKind::Number:
    case BoxKind::Surcharge:
    case BoxKind::Count: return std::nullopt;
  }
  return std::nullopt;
}

std::string_view boxPattern(int index) { return documentBox(index).pattern; }

bool isReadOnlyBox(int index) { return documentBox(index).readOnly; }

bool isTextBox(int index) { return documentBox(index).kind == BoxKind::Text; }

std::optional<double> readNumberBox(std::string_view text, std::string_view pattern) {
  const TypedNumber read = readTypedNumber(text);
  switch (read.kind) {
    case TypedNumber::Blank: return 0.0;
    case TypedNumber::Unreadable: return std::nullopt;
    // Never held to the largest double: the box says so, as every window's box does.
    case TypedNumber::Overflow: raiseError(err::kOverflow);
    case TypedNumber::Number: break;
  }
  // Beyond 15 digits a pattern of at most five decimals has nothing left to round.
  if (std::fabs(read.value) >= 1e15) return read.value;
  return roundTo(read.value, decimalsOf(pattern));
}

double recordNumber(std::string_view text, std::string_view pattern) {
  // The box check's own reading: the record takes exactly what the box shows.
  const std::optional<double> value = readNumberBox(text, pattern);
  if (!value) raiseError(err::kTypeMismatch);
  return *value;
}

std::int32_t caterpillarCount(double value) {
  const double r = std::nearbyint(value);  // halves to the even neighbour
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) raiseError(err::kOverflow);
  return static_cast<std::int32_t>(r);
}

std::string showNumber(double value, std::string_view pattern) {
  return formatPattern(std::isfinite(value) ? value : 0.0, pattern);
}

std::string surchargeToRecord(std::string_view boxText) {
  if (boxText.empty()) return "0";
  return formatGeneral(recordNumber(boxText, "0.00"));
}

std::string surchargeToBox(std::string_view stored) {
  const std::string text = myTrim(stored);
  double value = 0.0;
  if (parseDecimal(text, value) && std::isfinite(value)) return formatPattern(value, "0.00");
  return text;
}

bool fitsRecordText(std::string_view utf8, std::size_t maxBytes) {
  // The wave dash and its kin are held as their CP932 counterparts: they stay as typed.
  return !platform::firstCharNotInCp932(utf8) && platform::toCp932(utf8).size() <= maxBytes;
}

std::string refusedTextHint(std::string_view utf8, std::size_t maxBytes) {
  if (const auto refused = platform::firstCharNotInCp932(utf8))
    return "「" + platform::describeChar(*refused) + "」は入力できない文字です。";
  if (platform::toCp932(utf8).size() <= maxBytes) return {};
  // A full-width character takes two of the field's bytes, a half-width one.
  return "この欄に入力できるのは半角 " + std::to_string(maxBytes) + " 文字（全角 " + std::to_string(maxBytes / 2) +
         " 文字）までです。";
}

std::string enterTarget(std::string_view from, const EnterState& state) {
  static const std::vector<std::pair<std::string_view, std::string_view>> kLinks{
      {"cbKanshu", "cbKikaku"},           {"cbKikaku", "cbYobina"},
      {"cbYobina", "cbKajuJoken"},        {"cbKajuJoken", "cbDoroJoken"},
      {"cbDoroJoken", "txtTextBox_13"},   {"cbBuruJoken", "txtTextBox_15"},
      {"cbMaisetu", "cbKiso"},            {"cbKiso", "txtTextBox_7"}};
  if (from == "txtTextBox_7") return state.trenchEnabled ? "txtTextBox_5" : "txtTextBox_12";
  if (from == "txtTextBox_9") {
    if (state.naigaiatuButton) return "cmdNaigaiatuSet";
    return state.touseiPanel ? "cmdKisozaiSet" : "cmdCommand_1";
  }
  for (const auto& [source, target] : kLinks)
    if (source == from) return std::string(target);
  for (const DocumentBox& box : documentBoxes())
    if (from == objectNameOf(DocRole::TextBox, box.index)) return box.enter;
  return {};
}

const std::vector<std::string>& tabOrder() {
  static const std::vector<std::string> kOrder{
      "txtTextBox_0",  "cbKanshu",      "cbKikaku",        "cbYobina",      "cbKajuJoken",   "cbDoroJoken",
      "txtTextBox_13", "txtTextBox_14", "cbBuruJoken",     "txtTextBox_15", "txtTextBox_16", "txtTextBox_17",
      "txtTextBox_18", "cbMaisetu",     "cbKiso",          "txtTextBox_7",  "txtTextBox_5",  "txtTextBox_12",
      "txtTextBox_6",  "txtTextBox_8",  "txtTextBox_10",   "txtTextBox_11", "txtTextBox_9",  "cmdNaigaiatuSet",
      "cmdKisozaiSet", "txtTextBox_19", "txtTextBox_20",   "txtTextBox_22", "txtTextBox_23", "cmdCommand_1",
      "cmdCommand_0"};
  return kOrder;
}

bool inTabOrder(int textBox) {
  const BoxKind kind = documentBox(textBox).kind;
  return kind != BoxKind::Pipe && kind != BoxKind::Weight;
}

namespace {
// A box the user types a number into, re-formatted to its pattern. The adopted e' (box 19) shows
// what the foundation-material dialog wrote; it is read with a pattern, never re-formatted.
bool reformattedNumberBox(int index) {
  return !isTextBox(index) && !boxPattern(index).empty() && index != adoptedModulusBox().index;
}
}  // namespace

std::string reformatBox(int index, std::string_view text) {
  if (isTextBox(index)) return myTrim(text);
  if (!reformattedNumberBox(index)) return std::string(text);
  const std::string_view pattern = boxPattern(index);
  // A number beyond a double's range raises (readNumberBox). A text that is not one number stays
  // as it is: the window refuses it.
  const std::optional<double> value = readNumberBox(text, pattern);
  return value ? showNumber(*value, pattern) : std::string(text);
}

bool unreadableNumberBox(int index, std::string_view text) {
  return reformattedNumberBox(index) && readTypedNumber(text).kind == TypedNumber::Unreadable;
}

TwipsSize documentOuterSize(TwipsSize panel) { return {panel.width, panel.height + kCaptionAllowance}; }

TwipsSize documentClientSize(TwipsSize outer) { return {outer.width, outer.height - kCaptionAllowance}; }

TwipsPoint commandPanelCorner(TwipsSize panel, TwipsSize buttons) {
  return {panel.width - buttons.width, panel.height - buttons.height};
}

}  // namespace tovakin::gui
