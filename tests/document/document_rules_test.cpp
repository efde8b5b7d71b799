#include "document/document_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/number_format.h"
#include "platform/error_box.h"
#include "support/not_found.h"

namespace tovakin::gui {
namespace {

using L = DocRole;

// Every fixed list maps each entry both ways; a text that is no entry (exact: case, blanks,
// width) keeps the record's code, and a code without an entry is never shown as another entry:
// it raises, naming the list and the code.
TEST(FixedLists, MapEveryEntryBothWaysAndNameACodeWithoutOne) {
  EXPECT_EQ(fixedListDefault(L::KajuJoken), 25);
  EXPECT_EQ(fixedListDefault(L::BuruJoken), 3);
  for (const char* text : {"x", "", "t-25", "T-25 ", "Ｔ-25"})
    EXPECT_EQ(fixedListCode(L::KajuJoken, text), std::nullopt) << text;
  for (const DocumentList& list : documentLists()) {
    if (!list.items) continue;
    double unknown = 0.5;
    for (const ListItem& item : *list.items) {
      EXPECT_EQ(fixedListCode(list.role, item.text), item.code) << item.text;
      EXPECT_EQ(fixedListText(list.role, item.code), item.text);
      unknown = std::max(unknown, item.code + 0.5);
    }
    EXPECT_EQ(fixedListCode(list.role, "x"), std::nullopt) << list.name;
    EXPECT_EQ(fixedListEntry(list.role, unknown), std::nullopt) << list.name;
    EXPECT_THROW(fixedListText(list.role, unknown), platform::RuntimeError) << list.name;
    EXPECT_EQ(unknownListCodeText(list.role, unknown),
              std::string(list.name) + "のコード " + formatGeneral(unknown) + " は一覧にありません。");
  }
}

TEST(RigidFlexible, FollowsTheClassAndTheSupportExactly) {
  EXPECT_TRUE(kanshuSwitchFor(5, "自由支承").touseiPanel);
  EXPECT_FALSE(kanshuSwitchFor(5, "自由支承 ").touseiPanel);
  EXPECT_FALSE(kanshuSwitchFor(0, "自由支承").touseiPanel);
  EXPECT_FALSE(trenchControlsFor(1).enabled);
  EXPECT_STREQ(trenchControlsFor(9).caption, "矢板中心溝幅");
}

TEST(DesignThickness, FollowsTheClassRulesAtTheirEdges) {
  struct Case {
    std::int32_t kubun;
    double kanatuKeisan, gaikei;
    const char* box2;
  };
  for (const Case& c : {Case{1, 9.00, 818.00, "8.18"},  // D = 800: 管厚 / 1.1
                        Case{1, 8.99, 817.90, "6.99"},  // D just below 800, 管厚 < 9: 管厚 - 2
                        Case{1, 8.99, 818.00, "7.99"},  // D above 800, 管厚 < 9: 管厚 - 1
                        Case{1, 10.0, 818.00, "8.09"},  // D = 798: 管厚 / 1.1 - 1
                        Case{2, 10.0, 820.00, "10.00"}, Case{2, 10.0, 819.00, "8.00"},
                        Case{0, 10.0, 300.00, "10.00"}, Case{5, 10.0, 300.00, "10.00"},
                        Case{-1, 10.0, 300.00, "10.00"}})
    EXPECT_EQ(showNumber(designWallThickness(c.kubun, c.kanatuKeisan, c.gaikei), "0.00"), c.box2)
        << c.kubun << c.kanatuKeisan;
  const PipeBoxes b = pipeBoxesFor(calc::PipeDimensions{818.0, 9.0, 1.0, 1.0}, 1, 71.0);
  // Named as the record: kanatu the design thickness (box 2), kanatuKeisan the catalogue one (box 21).
  EXPECT_EQ(showNumber(b.kanatu, "0.00"), "8.18");
  EXPECT_EQ(b.kanatuKeisan, 9.0);
  EXPECT_EQ(showNumber(b.chushinHankei, "0.00"), "404.91");  // from the design thickness
  // A row without 外径 or 管厚 is no pipe.
  EXPECT_EQ(pipeBoxesFor(calc::PipeDimensions{std::nullopt, 10.0, 1.0, 1.0}, 0, 24.5).unitWeight, 0.0);
  EXPECT_EQ(pipeBoxesFor(calc::PipeDimensions{300.0, std::nullopt, 1.0, 1.0}, 0, 24.5).gaikei, 0.0);
  EXPECT_EQ(nominalSizeValue(""), 0.0);
  EXPECT_EQ(nominalSizeValue("100以下"), std::nullopt);
}

TEST(ReadBox, ReadsOneNumberAsDisplayedAndNothingElse) {
  struct Case {
    const char *text, *pattern;
    std::optional<double> value;
  };
  for (const Case& c : {Case{"", "0.00", 0}, Case{"１２．５", "0.00", 12.5}, Case{"－３", "0.0", -3},
                        Case{"12abc", "0.00", std::nullopt}, Case{"abc", "0.00", std::nullopt},
                        Case{"12,5", "0.00", std::nullopt}, Case{"１。５", "0.00", 1.5},
                        Case{"0.6005", "0.000", 0.601}, Case{"2.5", "0", 3}, Case{"1 5", "0.00", std::nullopt},
                        Case{"1e999abc", "0.00", std::nullopt}, Case{"1e-999", "0.00", 0}})
    EXPECT_EQ(readNumberBox(c.text, c.pattern), c.value) << c.text;
  // Beyond a double's range the box says so (overflow); it is never held to the largest double.
  EXPECT_THROW(readNumberBox("1e999", "0.00"), RuntimeError);
  EXPECT_THROW(readNumberBox("-1e999", "0.00"), RuntimeError);
  EXPECT_EQ(caterpillarCount(2.5), 2);
  EXPECT_EQ(caterpillarCount(3.5), 4);
  EXPECT_EQ(caterpillarCount(2147483647.0), INT32_MAX);
  EXPECT_EQ(caterpillarCount(-2147483648.0), INT32_MIN);
  EXPECT_EQ(showNumber(std::numeric_limits<double>::quiet_NaN(), "0.00"), "0.00");
  EXPECT_EQ(boxPattern(9), "0.0");
  EXPECT_TRUE(isReadOnlyBox(19));
}

// What the record takes from a box nobody sees: a number, or the runtime's error, never a 0 or a
// bound the box does not show.
TEST(ReadBox, IntoTheRecordTakesOnlyANumberAndFailsOtherwise) {
  struct Case {
    const char* text;
    double value;  // for number == 0
    int number;    // the error raised, 0 for none
  };
  const Case cases[] = {{"", 0, 0},          {"   ", 0, 0},        {"　", 0, 0},         {"１２．５", 12.5, 0},
                        {"－３", -3, 0},      {" 7 ", 7, 0},        {"0.6005", 0.601, 0}, {"+2", 2, 0},
                        {"1e-999", 0, 0},    {"１。５", 1.5, 0},    {"abc", 0, 13},       {"12abc", 0, 13},
                        {"12,5", 0, 13},     {"inf", 0, 13},       {"nan", 0, 13},       {"-", 0, 13},
                        {"1 5", 0, 13},      {"1e999abc", 0, 13},  {"1e999", 0, 6},      {"-1e999", 0, 6}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.number == 0) {
      EXPECT_EQ(recordNumber(c.text, "0.000"), c.value);
      continue;
    }
    try {
      recordNumber(c.text, "0.000");
      ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), c.number);
    }
  }
  for (double beyond : {2147483647.5 + 1, -2147483649.0, 99999999999.0, DBL_MAX, std::nan("")}) {
    try {
      caterpillarCount(beyond);
      ADD_FAILURE() << beyond;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), 6) << beyond;
    }
  }
  EXPECT_THROW(surchargeToRecord("abc"), RuntimeError);
  EXPECT_EQ(surchargeToRecord("  "), "0");
}

TEST(Surcharge, IsKeptAsAShortNumberTextAndShownWithTwoDecimals) {
  EXPECT_EQ(surchargeToRecord(""), "0");
  EXPECT_EQ(surchargeToRecord("12.50"), "12.5");
  EXPECT_EQ(surchargeToRecord("10.00"), "10");
  EXPECT_EQ(surchargeToBox("12.5     "), "12.50");
  EXPECT_EQ(surchargeToBox("abc"), "abc");
}

TEST(RecordText, FitsInTheBytesOfCodePage932) {
  EXPECT_TRUE(fitsRecordText(std::string(128, 'a'), kTitleBytes));
  EXPECT_FALSE(fitsRecordText(std::string(129, 'a'), kTitleBytes));
  std::string kanji;
  for (int i = 0; i < 16; ++i) kanji += "管";
  EXPECT_TRUE(fitsRecordText(kanji, kSurchargeNameBytes));  // 16 characters, 32 bytes
  EXPECT_FALSE(fitsRecordText(kanji + "a", kSurchargeNameBytes));
  EXPECT_TRUE(fitsRecordText("ｱｲｳ①㈱", 7));
  EXPECT_FALSE(fitsRecordText("😀", kTitleBytes));
  EXPECT_FALSE(fitsRecordText("ä", kTitleBytes));
  // The wave dash an input method types is held as its CP932 counterpart; a yen sign would come
  // back as a backslash and is refused, named.
  EXPECT_TRUE(fitsRecordText("区間1〜3 −5", kTitleBytes));
  EXPECT_FALSE(fitsRecordText("¥100", kTitleBytes));
  EXPECT_EQ(refusedTextHint("区間1〜3", kTitleBytes), "");
  EXPECT_EQ(refusedTextHint("café", kTitleBytes), "「é (U+00E9)」は入力できない文字です。");
  EXPECT_EQ(refusedTextHint("¥100", kTitleBytes), "「¥ (U+00A5)」は入力できない文字です。");
  // A text too long says how much the box holds; a character it lacks is named first.
  EXPECT_EQ(refusedTextHint(kanji + "a", kSurchargeNameBytes), "この欄に入力できるのは半角 32 文字（全角 16 文字）までです。");
  EXPECT_EQ(refusedTextHint(kanji + "é", kSurchargeNameBytes), "「é (U+00E9)」は入力できない文字です。");
}

TEST(WindowSize, TheInsideIsThePanelAndTheButtonsSitInItsCorner) {
  const TwipsSize panel{9495, 7455};
  EXPECT_EQ(documentOuterSize(panel), (TwipsSize{9495, 7855}));
  EXPECT_EQ(documentClientSize(documentOuterSize(panel)), panel);
  EXPECT_EQ(commandPanelCorner(panel, {3975, 735}), (TwipsPoint{5520, 6720}));
}

}  // namespace
}  // namespace tovakin::gui

namespace tovakin::gui {
namespace {

std::string box(int i) { return "txtTextBox_" + std::to_string(i); }

TEST(EnterLinks, NineDependsOnTheButtonBeforeThePanelAndButtonsHaveNoLink) {
  EXPECT_EQ(enterTarget("txtTextBox_9", {true, true, false}), "cmdNaigaiatuSet");
  EXPECT_EQ(enterTarget("txtTextBox_9", {true, false, true}), "cmdKisozaiSet");
  EXPECT_EQ(enterTarget("txtTextBox_9", {true, false, false}), "cmdCommand_1");
  for (const std::string& none : {std::string("cmdCommand_1"), box(kTextBoxCount), std::string()})
    EXPECT_EQ(enterTarget(none, {}), "") << none;
}

TEST(EnterLinks, TabFollowsEveryEnterLinkAndPassesOverThePipeBoxes) {
  const std::vector<std::string>& order = tabOrder();
  for (std::size_t i = 0; i + 1 < order.size(); ++i) {
    const std::string target = enterTarget(order[i], EnterState{});
    // Buttons press themselves on Enter; every input hands on to the control Tab reaches next.
    if (!target.empty()) {
      EXPECT_EQ(target, order[i + 1]) << order[i];
    }
  }
  for (int i = 0; i < kTextBoxCount; ++i) {
    const bool listed = std::find(order.begin(), order.end(), box(i)) != order.end();
    EXPECT_EQ(listed, inTabOrder(i)) << i;
    EXPECT_EQ(inTabOrder(i), !isReadOnlyBox(i) || i == 19) << i;
  }
  // The lists, the boxes Tab reaches, and the four buttons.
  const auto reached = std::count_if(documentBoxes().begin(), documentBoxes().end(),
                                     [](const DocumentBox& b) { return inTabOrder(b.index); });
  EXPECT_EQ(order.size(), documentLists().size() + static_cast<std::size_t>(reached) + 4u);
}

TEST(BoxTable, EachBoxOnceInIndexOrderWithTheRecordFieldItsKindNeeds) {
  const std::vector<DocumentBox>& boxes = documentBoxes();
  ASSERT_EQ(boxes.size(), static_cast<std::size_t>(kTextBoxCount));
  const std::vector<std::string>& order = tabOrder();
  for (int i = 0; i < kTextBoxCount; ++i) {
    const DocumentBox& b = boxes[static_cast<std::size_t>(i)];
    EXPECT_EQ(b.index, i);
    const bool numberField = b.kind == BoxKind::Number || b.kind == BoxKind::Pipe;
    EXPECT_EQ(std::holds_alternative<double DesignData::*>(b.field), numberField) << i;
    EXPECT_EQ(std::holds_alternative<std::int32_t DesignData::*>(b.field), b.kind == BoxKind::Count) << i;
    EXPECT_EQ(std::holds_alternative<std::monostate>(b.field), b.kind == BoxKind::Weight) << i;
    EXPECT_EQ(std::string_view(b.pattern).empty(), b.kind == BoxKind::Text) << i;
    // The pipe boxes are filled by the program; the user types into every other box but 19.
    if (b.kind == BoxKind::Pipe || b.kind == BoxKind::Weight) {
      EXPECT_TRUE(b.readOnly) << i;
    }
    if (b.kind != BoxKind::Weight) {
      EXPECT_EQ(&boxOf(b.field), &b) << i;
    }
    // Enter leads to a control the window has: one Tab reaches, or the buttons after box 9.
    if (*b.enter) {
      EXPECT_NE(std::find(order.begin(), order.end(), b.enter), order.end()) << i;
    }
  }
}

// A look-up that finds nothing raises subscript out of range (9) at once, naming what it looked
// for: no other box instead.
TEST(BoxTable, ALookUpThatFindsNothingRaisesOutOfRangeNamingIt) {
  const std::string past = "txtTextBox_" + std::to_string(documentBoxes().size());
  const int pastIndex = static_cast<int>(documentBoxes().size());
  const std::tuple<const char*, std::function<void()>, std::string> lookUps[] = {
      {"box -1", [] { documentBox(-1); }, "txtTextBox_-1"},
      {"box past the table", [&] { documentBox(pastIndex); }, past},
      {"pattern past the table", [&] { boxPattern(pastIndex); }, past},
      {"read-only -1", [] { isReadOnlyBox(-1); }, "txtTextBox_-1"},
      {"text past the table", [&] { isTextBox(pastIndex); }, past},
      {"no field", [] { boxOf({}); }, "(no field)"},
      {"a list's field", [] { boxOf(&DesignData::kanshu); }, "kanshu"},
      {"a field no box shows", [] { boxOf(&DesignData::kisozaiMizohaba); }, "kisozaiMizohaba"},
      {"a role that is no list", [] { listIndexOf(DocRole::TextBox); }, "txtTextBox_-1"},
      {"a pipe list's fixed entries", [] { fixedListItems(DocRole::Kikaku); }, "cbKikaku"},
      {"a unit past the table", [] { unitTextOf(kUnitCaptionCount); }, "picTanni_" + std::to_string(kUnitCaptionCount)},
      {"the label array's gap", [] { designedControl(DocRole::Caption, 9); }, "lblLabel_9"}};
  for (const auto& [what, lookUp, name] : lookUps) EXPECT_TRUE(testing::raisesNotFound(lookUp, name)) << what;
}

// The pipe table fills the four pipe boxes and the unit weight, each by its field.
TEST(BoxTable, ThePipeValuesGoIntoTheBoxesOfTheirFields) {
  PipeBoxes pipe;
  pipe.gaikei = 320;
  pipe.kanatu = 6.5;
  pipe.kanatuKeisan = 7.5;
  pipe.chushinHankei = 156.75;
  pipe.unitWeight = 71;
  const std::map<int, std::string> filled{{1, "320.00"}, {2, "6.50"}, {3, "156.75"}, {4, "71.00"}, {21, "7.50"}};
  for (const DocumentBox& box : documentBoxes()) {
    const auto shown = filled.find(box.index);
    EXPECT_EQ(pipeBoxText(pipe, box), shown == filled.end() ? std::nullopt : std::optional(shown->second)) << box.index;
  }
}

TEST(BoxReformat, TrimsTheTextsShowsNumbersInTheirPatternAndLeavesBox19) {
  struct Row {
    int index;
    const char* typed;
    const char* shown;
  };
  for (const Row& row : {Row{8, "12abc", "12abc"}, Row{8, "2。5", "2.50"}, Row{7, "１２．５", "12.500"},
                         Row{6, "", "0"}, Row{12, "29.6", "30"}, Row{16, "2.25", "2.3"}, Row{17, " -3 ", "-3.000"},
                         Row{0, "", ""}, Row{0, " 　題 名　 ", "題 名"}, Row{13, "　盛土 ", "盛土"},
                         Row{19, " 7,000 kN ", " 7,000 kN "}, Row{1, "95", "95.00"}})
    EXPECT_EQ(reformatBox(row.index, row.typed), row.shown) << row.index << " " << row.typed;
  // Beyond a double's range the box check raises overflow, never shows a clamped number; with
  // leftovers the text is refused like any other.
  EXPECT_THROW(reformatBox(14, "1e400"), RuntimeError);
  EXPECT_EQ(reformatBox(14, "1e999abc"), "1e999abc");
  EXPECT_TRUE(unreadableNumberBox(14, "1e999abc"));
  EXPECT_FALSE(unreadableNumberBox(14, "1e400"));
}

}  // namespace
}  // namespace tovakin::gui
