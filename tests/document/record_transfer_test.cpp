// The document window's changes of its record, without a window: what the controls show goes into
// the record step by step, the record comes back into the controls' texts, filling a list writes
// its field, and a new case keeps the codes its lists were filled with.
#include "document/record_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/document_file.h"
#include "app/number_format.h"
#include "platform/error_box.h"
#include "support/scripted_dialogs.h"

namespace tovakin::gui {
namespace {

// The texts of a new window's controls for a ductile pipe of 300 mm: every box in its pattern.
ControlTexts shownCase() {
  ControlTexts t;
  const std::pair<int, const char*> boxes[] = {
      {0, "北幹線 No.3  "}, {1, "320.00"}, {2, "6.50"},   {3, "156.75"}, {4, "71.00"},   {5, "1.250"},
      {6, "90"},            {7, "1.200"},  {8, "9.80"},   {9, "-0.1"},   {10, "18.00"},  {11, "20.00"},
      {12, "30"},           {13, "盛土 "}, {14, "12.50"}, {15, "2"},     {16, "0.3"},    {17, "0.750"},
      {18, "0.450"},        {19, "4770.00"}, {20, "1.5"}, {21, "7.50"},  {22, "2.0"},    {23, "5.0"}};
  for (const auto& [index, text] : boxes) t.boxes[static_cast<std::size_t>(index)] = text;
  t.lists = {"ダクタイル鋳鉄管", "K形", "300", "矢板施工", "固定支承", "T-14", "11ton級", "舗装道路"};
  return t;
}

// Runs every step and records the error of each step that raised, as Ignore would go on.
struct Steps {
  std::vector<std::string> errors;
  int count = 0;
  TransferStepRunner runner() {
    return [this](const std::function<void()>& step) {
      ++count;
      try {
        step();
      } catch (const platform::RuntimeError& e) {
        errors.push_back(std::to_string(count) + ":" + std::to_string(e.number()));
      }
    };
  }
};

std::int32_t ductileClass(const std::string& kanshu) { return kanshu == "ダクタイル鋳鉄管" ? 1 : -1; }

TEST(ControlsToRecord, StoresEveryControlInItsFieldAndUnit) {
  DesignData r = app::newDesignData();
  Steps steps;
  controlsToRecord(r, shownCase(), 45000.5, ductileClass, steps.runner());
  EXPECT_TRUE(steps.errors.empty());
  EXPECT_EQ(steps.count, 4 + kTextBoxCount + 2);  // four list steps, one per box, two derived
  EXPECT_EQ(r.dataTag.str(), app::kDataTag);
  EXPECT_EQ(r.keisanshoTitle.str(), "北幹線 No.3  ");  // untrimmed, as typed
  EXPECT_EQ(r.updateDate, 45000.5);
  EXPECT_EQ(r.kanshu.str() + "/" + r.kikaku.str() + "/" + r.yobikei.str(), "ダクタイル鋳鉄管/K形/300");
  EXPECT_EQ(std::vector<double>({r.maisetuKeishiki, r.kisoKeishiki, r.kajuJoken, r.buruJoken, r.doroJoken}),
            std::vector<double>({2, 1, 14, 11, 1}));
  // The pipe boxes show millimetres, the record keeps metres; the unit weight is never read back.
  EXPECT_DOUBLE_EQ(r.gaikei, 0.32);
  EXPECT_DOUBLE_EQ(r.kanatu, 0.0065);
  EXPECT_DOUBLE_EQ(r.chushinHankei, 0.15675);
  EXPECT_DOUBLE_EQ(r.kanatuKeisan, 0.0075);
  EXPECT_DOUBLE_EQ(r.naikei, 0.32 - 2 * 0.0065);
  EXPECT_DOUBLE_EQ(r.naikeiKeisan, 0.32 - 2 * 0.0075);
  EXPECT_EQ(std::vector<double>({r.mizohaba, r.kisozaiMizohaba, r.shijikaku, r.dokaburi, r.mizuTanniJuryo,
                                 r.chinkahi, r.tuchiTanniJuryo, r.howadoTanniJuryo, r.naibuMasatukaku,
                                 r.sekojiShogekiKeisu, r.seisuiatu, r.suigekiatu, r.hanryokuKeisu, r.henkeiOkureF1,
                                 r.henkeiOkureF2, r.sekkeiTawamiritu}),
            std::vector<double>({1.25, 1.25, 90, 1.2, 9.8, -0.1, 18, 20, 30, 0.3, 0.75, 0.45, 4770, 1.5, 2, 5}));
  EXPECT_EQ(r.josaiKajuMeisho.str(), "盛土 ");
  EXPECT_EQ(r.josaiKaju.str(), "12.5");
  EXPECT_EQ(r.kyatapiraSu, 2);
  EXPECT_EQ(r.kanzaiKubun, 1);
}

TEST(ControlsToRecord, ASpareOrAFieldNoControlShowsIsWrittenOnlyWhereTheTransferOwnsIt) {
  DesignData r = app::newDesignData();
  r.spare18 = 7;
  r.spare19 = 8;
  r.hyojunMizohaba = 800;       // the foundation-material dialog's
  r.naigaiatuKeisuN = 2.5;      // the combination-formula dialog's
  r.createDate = 40000;
  Steps steps;
  controlsToRecord(r, shownCase(), 45000.5, ductileClass, steps.runner());
  EXPECT_EQ(std::vector<double>({r.spare18, r.spare19, r.hyojunMizohaba, r.naigaiatuKeisuN, r.createDate}),
            std::vector<double>({0, 0, 800, 2.5, 40000}));
}

// Each failing box is its own step: it keeps its field, and the steps after it still run.
TEST(ControlsToRecord, ABoxThatHoldsNoNumberFailsItsOwnStepOnly) {
  DesignData r = app::newDesignData();
  r.dokaburi = 1.5;
  r.kyatapiraSu = 3;
  r.josaiKaju = "7";
  ControlTexts t = shownCase();
  t.boxes[7] = "abc";
  t.boxes[14] = "1e999";
  t.boxes[15] = "99999999999";
  t.boxes[1] = "３２０．００";  // full-width digits are one number
  Steps steps;
  controlsToRecord(r, t, 1, ductileClass, steps.runner());
  // The steps are numbered from 1: four list steps, then box n is step 5 + n.
  EXPECT_EQ(steps.errors, (std::vector<std::string>{"12:13", "19:6", "20:6"}));
  EXPECT_EQ(r.dokaburi, 1.5);
  EXPECT_EQ(r.josaiKaju.str(), "7");
  EXPECT_EQ(r.kyatapiraSu, 3);
  EXPECT_DOUBLE_EQ(r.gaikei, 0.32);
  EXPECT_EQ(r.kisozaiMizohaba, 1.25);
  EXPECT_EQ(r.kanzaiKubun, 1);
}

TEST(ControlsToRecord, ReadsEmptyBoxesAsZeroAndRoundsTheCountHalfToEven) {
  struct Case {
    const char* count;
    std::int32_t stored;
  };
  for (const Case& c : {Case{"2.5", 2}, Case{"3.5", 4}, Case{"-2.5", -2}, Case{"", 0}}) {
    DesignData r = app::newDesignData();
    ControlTexts t = shownCase();
    t.boxes[15] = c.count;
    t.boxes[14] = "";
    t.boxes[5] = "";
    Steps steps;
    controlsToRecord(r, t, 1, ductileClass, steps.runner());
    EXPECT_TRUE(steps.errors.empty()) << c.count;
    EXPECT_EQ(r.kyatapiraSu, c.stored) << c.count;
    EXPECT_EQ(r.josaiKaju.str(), "0");
    EXPECT_EQ(r.mizohaba, 0);
  }
}

// A list text that is no entry keeps the code, in every list: none is taken for another entry.
TEST(ControlsToRecord, AListTextThatIsNoEntryKeepsItsCode) {
  DesignData r = app::newDesignData();
  r.maisetuKeishiki = 1;
  r.kisoKeishiki = 1;
  r.kajuJoken = 20;
  r.buruJoken = 6;
  r.doroJoken = 1;
  ControlTexts t = shownCase();
  for (DocRole list : {DocRole::Maisetu, DocRole::Kiso, DocRole::KajuJoken, DocRole::BuruJoken, DocRole::DoroJoken})
    t.list(list) = "T-25 ";
  Steps steps;
  controlsToRecord(r, t, 1, [](const std::string&) { return -1; }, steps.runner());
  EXPECT_EQ(std::vector<double>({r.maisetuKeishiki, r.kisoKeishiki, r.kajuJoken, r.buruJoken, r.doroJoken}),
            std::vector<double>({1, 1, 20, 6, 1}));
  EXPECT_EQ(r.kanzaiKubun, -1);
}

TEST(FixedListOf, NamesTheFiveFixedListsAndNoPipeList) {
  for (DocRole fixed : {DocRole::Maisetu, DocRole::Kiso, DocRole::KajuJoken, DocRole::BuruJoken, DocRole::DoroJoken}) {
    EXPECT_NE(documentList(fixed).items, nullptr) << objectNameOf(fixed);
    EXPECT_FALSE(fixedListItems(fixed).empty()) << objectNameOf(fixed);
  }
  for (DocRole pipe : {DocRole::Kanshu, DocRole::Kikaku, DocRole::Yobina}) {
    EXPECT_EQ(documentList(pipe).items, nullptr) << objectNameOf(pipe);
    EXPECT_THROW(fixedListItems(pipe), platform::RuntimeError) << objectNameOf(pipe);
  }
}

TEST(NewCaseRecord, KeepsTheCodesTheListsWereFilledWithAndTakesThePipesClass) {
  DesignData filled;
  filled.maisetuKeishiki = 2;
  filled.kisoKeishiki = 1;
  filled.kajuJoken = 10;
  filled.buruJoken = 15;
  filled.doroJoken = 1;
  filled.mizohaba = 3;  // anything else of the record before is not kept
  filled.keisanshoTitle = "old";
  struct Case {
    double kanzaiKubun;
    double chinkahi;
  };
  for (const Case& c : {Case{0, 0.7}, Case{1, -0.1}, Case{-1, -0.1}}) {
    const DesignData r = newCaseRecord({"ヒューム管", "1種", "1000", c.kanzaiKubun}, filled);
    EXPECT_EQ(std::vector<double>({r.maisetuKeishiki, r.kisoKeishiki, r.kajuJoken, r.buruJoken, r.doroJoken}),
              std::vector<double>({2, 1, 10, 15, 1}));
    EXPECT_EQ(r.kanzaiKubun, c.kanzaiKubun);
    EXPECT_EQ(r.chinkahi, c.chinkahi) << c.kanzaiKubun;
    EXPECT_EQ(r.mizohaba, 0);
    EXPECT_EQ(r.keisanshoTitle.str(), "");
    EXPECT_EQ(r.kanshu.str() + r.kikaku.str() + r.yobikei.str(), "ヒューム管1種1000");
    EXPECT_EQ(r.shijikaku, 90);
  }
}

// The record as the controls show it: every box by its field in its pattern, the free texts
// trimmed, the lists' entries of the codes; the pipe boxes and the unit weight are the pipe table's.
TEST(RecordToControls, ShowsEveryFieldInItsControlAndLeavesThePipeBoxesToThePipeTable) {
  DesignData r = app::newDesignData({"ダクタイル鋳鉄管 ", " K形", "300 ", 1});
  r.keisanshoTitle = "  北幹線 ";
  r.josaiKajuMeisho = "盛土 ";
  r.josaiKaju = "12.5";
  r.kyatapiraSu = 2;
  r.mizohaba = 1.25;
  r.chinkahi = -0.1;
  r.hanryokuKeisu = 4770;
  r.gaikei = 0.32;
  r.maisetuKeishiki = 2;
  r.kajuJoken = 14;
  r.buruJoken = 11;
  r.doroJoken = 1;
  r.mizuTanniJuryo = 9.8;
  r.tuchiTanniJuryo = 18;
  r.howadoTanniJuryo = 20;
  r.naibuMasatukaku = 30;
  const char* const boxes[] = {"北幹線", "-",     "-",     "-",       "-",   "1.250", "90",  "0.600",
                               "9.80",   "-0.1",  "18.00", "20.00",   "30",  "盛土",  "12.50", "2",
                               "0.0",    "0.000", "0.000", "4770.00", "1.0", "-",     "1.0",   "3.0"};
  for (int i = 0; i < static_cast<int>(std::size(boxes)); ++i)
    EXPECT_EQ(boxTextOf(r, documentBox(i)).value_or("-"), boxes[i]) << i;
  const char* const lists[] = {"ダクタイル鋳鉄管", "K形", "300", "矢板施工", "自由支承", "T-14", "11ton級", "舗装道路"};
  for (std::size_t i = 0; i < std::size(lists); ++i) EXPECT_EQ(listTextOf(r, documentLists()[i].role), lists[i]) << i;
}

// The window as showing a record sees it, logged: a pipe list refilled shows its first entry
// and, as every fill, writes it into the record.
class FakeShown final : public ShownControls {
 public:
  explicit FakeShown(DesignData& record) : record_(record) {}
  std::map<DocRole, std::string> lists;
  std::map<int, std::string> boxes;
  std::vector<std::string> log;

  std::string listText(DocRole list) const override { return lists.contains(list) ? lists.at(list) : ""; }
  void setListText(DocRole list, const std::string& text) override { lists[list] = text; }
  void setBoxText(int index, const std::string& text) override { boxes[index] = text; }
  void refillPipeList(DocRole list) override {
    log.push_back("refill " + objectNameOf(list) + " of " + lists[DocRole::Kanshu] + "/" + lists[DocRole::Kikaku]);
    lists[list] = list == DocRole::Kikaku ? "1種" : "75";
    listFilled(record_, list, lists[list]);
  }
  void showPipeBoxes() override { log.push_back("pipe " + lists[DocRole::Kikaku] + "/" + lists[DocRole::Yobina]); }
  void showKanshuSwitch() override { log.push_back("switch " + lists[DocRole::Kiso]); }
  void showTrench(double code) override { log.push_back("trench " + std::to_string(static_cast<int>(code))); }

 private:
  DesignData& record_;
};

// A file's code its list has no entry for, in each fixed list: the list shows the code itself,
// never another entry, one notice names every such list and code, and the record keeps the codes
// through the controls and back.
TEST(RecordToControls, ShowsAndNamesAFileCodeItsListLacksAndKeepsIt) {
  testing::ScriptedMessageBox messages;
  const auto installed = installMessageBox(messages);
  DesignData r = app::newDesignData({"ヒューム管", "2種", "300", 0});
  std::vector<std::string> named;
  std::map<DocRole, double> unknown;
  for (const DocumentList& list : documentLists()) {
    if (!list.items) continue;
    double code = 0.5;  // beyond every entry, whatever the table holds
    for (const ListItem& item : *list.items) code = std::max(code, item.code + 1.5);
    unknown[list.role] = code;
    r.*std::get<double DesignData::*>(list.field) = code;
    named.push_back(unknownListCodeText(list.role, code));
  }
  FakeShown shown(r);
  Steps steps;
  recordToControls(r, shown, steps.runner());
  EXPECT_TRUE(steps.errors.empty());
  for (const auto& [role, code] : unknown) EXPECT_EQ(shown.lists[role], app::formatGeneral(code)) << objectNameOf(role);
  ASSERT_EQ(messages.shown.size(), 1u);
  for (const std::string& line : named) EXPECT_NE(messages.shown[0].text.find(line), std::string::npos) << line;

  ControlTexts back = shownCase();
  for (const auto& [role, code] : unknown) back.list(role) = shown.lists[role];
  DesignData stored = r;
  controlsToRecord(stored, back, 1, ductileClass, steps.runner());
  for (const auto& [role, code] : unknown)
    EXPECT_EQ(stored.*std::get<double DesignData::*>(documentList(role).field), code) << objectNameOf(role);
}

// The pipe texts are taken before any refill, each list is shown before the one below it is
// refilled, and the record keeps its pipe, not the refills' first entries.
TEST(RecordToControls, ShowsThePipeBeforeTheRefillsAndKeepsItInTheRecord) {
  DesignData r = app::newDesignData({"ヒューム管", "2種", "300", 0});
  r.kisoKeishiki = 1;
  r.maisetuKeishiki = 2;
  r.keisanshoTitle = " 北幹線 ";
  FakeShown shown(r);
  Steps steps;
  recordToControls(r, shown, steps.runner());
  EXPECT_TRUE(steps.errors.empty());
  EXPECT_EQ(shown.log, (std::vector<std::string>{"refill cbKikaku of ヒューム管/", "refill cbYobina of ヒューム管/2種",
                                                 "pipe 2種/300", "switch 固定支承", "trench 2"}));
  EXPECT_EQ(r.kikaku.str() + "/" + r.yobikei.str(), "2種/300");
  EXPECT_EQ(shown.lists[DocRole::Maisetu] + shown.lists[DocRole::DoroJoken], "矢板施工未舗装道路");
  EXPECT_EQ(shown.boxes[0], "北幹線");
  EXPECT_FALSE(shown.boxes.contains(1));  // the pipe boxes are the pipe table's
}

// What the controls show of a record goes back into the same record: every box and list reads the
// field it shows.
TEST(RecordToControls, WhatIsShownGoesBackIntoTheSameFields) {
  ControlTexts t = shownCase();
  DesignData first = app::newDesignData();
  Steps steps;
  controlsToRecord(first, t, 1, ductileClass, steps.runner());
  ASSERT_TRUE(steps.errors.empty());
  ControlTexts again;
  for (const DocumentBox& box : documentBoxes())
    again.boxes[static_cast<std::size_t>(box.index)] = boxTextOf(first, box).value_or(t.box(box.index));
  for (const DocumentList& list : documentLists()) again.list(list.role) = listTextOf(first, list.role);
  DesignData second = app::newDesignData();
  controlsToRecord(second, again, 1, ductileClass, steps.runner());
  ASSERT_TRUE(steps.errors.empty());
  second.keisanshoTitle = first.keisanshoTitle.str();  // shown trimmed, the one text that differs
  second.josaiKajuMeisho = first.josaiKajuMeisho.str();
  EXPECT_EQ(app::encodeDesignData(second), app::encodeDesignData(first));
}

// Filling a list writes its field: a fixed list its first code, whatever it shows; a pipe list the
// text it shows, untrimmed.
TEST(ListFilled, WritesTheFirstCodeOfAFixedListAndTheShownTextOfAPipeList) {
  DesignData r = app::newDesignData();
  r.maisetuKeishiki = 2;
  r.kisoKeishiki = 1;
  r.kajuJoken = 10;
  r.buruJoken = 15;
  r.doroJoken = 1;
  for (DocRole fixed : {DocRole::Maisetu, DocRole::Kiso, DocRole::KajuJoken, DocRole::BuruJoken, DocRole::DoroJoken})
    listFilled(r, fixed, "");  // the road list shows no entry once filled
  EXPECT_EQ(std::vector<double>({r.maisetuKeishiki, r.kisoKeishiki, r.kajuJoken, r.buruJoken, r.doroJoken}),
            std::vector<double>({0, 0, 25, 3, 0}));
  listFilled(r, DocRole::Kanshu, "ヒューム管 ");
  listFilled(r, DocRole::Kikaku, "");
  storePipeText(r, DocRole::Yobina, " 600");
  EXPECT_EQ(r.kanshu.str() + "/" + r.kikaku.str() + "/" + r.yobikei.str(), "ヒューム管 // 600");
  EXPECT_THROW(storePipeText(r, DocRole::Kiso, "固定支承"), platform::RuntimeError);  // a code, not a text
  EXPECT_THROW(listFilled(r, DocRole::TextBox, ""), platform::RuntimeError);
}

// The two free texts are kept within their record fields by the validator the table names.
TEST(DocumentBoxTable, NamesTheByteLimitOfEachFreeTextAndOfNoOtherBox) {
  for (const DocumentBox& box : documentBoxes()) {
    if (box.index == 0) EXPECT_EQ(box.textBytes, kTitleBytes);
    else if (box.index == 13) EXPECT_EQ(box.textBytes, kSurchargeNameBytes);
    else EXPECT_EQ(box.textBytes, 0u) << box.index;
    EXPECT_EQ(box.textBytes > 0, box.kind == BoxKind::Text) << box.index;
  }
  EXPECT_EQ(kTitleBytes, app::DesignData{}.keisanshoTitle.width);
  EXPECT_EQ(kSurchargeNameBytes, app::DesignData{}.josaiKajuMeisho.width);
}

}  // namespace
}  // namespace tovakin::gui
