// The design document window over a pipe database: the new case, the pipe cascade, the two
// transfers and the lists the user cannot type into.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QValidator>
#include <QWheelEvent>
#include <climits>

#include "app/document_file.h"
#include "calc/data_check.h"
#include "document/document_window_fixture.h"
#include "document/unit_caption.h"
#include "shell/form_helpers.h"

namespace tovakin::gui::testing {
namespace {

using DocumentDefaults = DocumentWindowTest;

TEST_F(DocumentDefaults, ANewRigidCaseShowsTheDefaultsOfANewCase) {
  frmDocument d;
  EXPECT_TRUE(d.blnUnchanged());
  EXPECT_EQ(d.windowTitle(), QString());
  // The first pipe of the lists, sizes in numeric order.
  EXPECT_EQ(d.cbKanshu()->currentText(), "ヒューム管");
  EXPECT_EQ(d.cbKikaku()->currentText(), "1種");
  EXPECT_EQ(items(d.cbYobina()), (QStringList{"75", "100", "1000"}));
  EXPECT_EQ(d.cbYobina()->currentText(), "75");
  EXPECT_EQ(pipeBoxes(d), (QStringList{"95.00", "10.00", "10.00", "42.50", "24.50"}));
  // The fixed lists and the boxes.
  EXPECT_EQ(d.cbKajuJoken()->currentText(), "T-25");
  EXPECT_EQ(d.cbBuruJoken()->currentText(), "3ton級");
  EXPECT_EQ(d.cbDoroJoken()->currentText(), "未舗装道路");
  EXPECT_EQ(d.cbMaisetu()->currentText(), "溝型");
  EXPECT_EQ(d.cbKiso()->currentText(), "自由支承");
  const std::pair<int, const char*> shown[] = {
      {0, ""},      {5, "0.000"},  {6, "90"},   {7, "0.600"}, {8, "9.80"},   {9, "0.7"},   {10, "18.00"},
      {11, "20.00"}, {12, "30"},   {13, ""},    {14, "0.00"}, {15, "0"},     {16, "0.0"},  {17, "0.000"},
      {18, "0.000"}, {19, "0.00"}, {20, "1.0"}, {22, "1.0"},  {23, "3.0"}};
  for (const auto& [index, text] : shown) EXPECT_EQ(box(d, index), QString::fromUtf8(text)) << "box " << index;
  // Rigid: the combination-formula button, no flexible-pipe panel.
  EXPECT_EQ(d.lblKanshu()->text(), "不とう性管");
  EXPECT_FALSE(d.cmdNaigaiatuSet()->isHidden());
  EXPECT_TRUE(d.picTouseiField()->isHidden());
  EXPECT_EQ(d.lblMizohaba()->text(), "管頂部溝幅");
  EXPECT_TRUE(d.txtTextBox(5)->isEnabled());

  const DesignData& r = d.myData();
  EXPECT_EQ(r.dataTag.str(), "Tovakin_A_1_00_00");
  EXPECT_EQ(r.kanshu.str(), "ヒューム管");
  EXPECT_EQ(r.kikaku.str(), "1種");
  EXPECT_EQ(r.yobikei.str(), "75");
  EXPECT_EQ(r.kanzaiKubun, 0);
  EXPECT_EQ(r.chinkahi, 0.7);
  EXPECT_EQ(r.shijikaku, 90);
  EXPECT_EQ(r.dokaburi, 0.6);
  EXPECT_EQ(r.mizuTanniJuryo, 9.8);
  EXPECT_EQ(r.tuchiTanniJuryo, 18);
  EXPECT_EQ(r.howadoTanniJuryo, 20);
  EXPECT_EQ(r.naibuMasatukaku, 30);
  EXPECT_EQ(r.josaiKaju.str(), "0");
  EXPECT_EQ(r.kajuJoken, 25);
  EXPECT_EQ(r.buruJoken, 3);
  EXPECT_EQ(r.doroJoken, 0);
  EXPECT_EQ(r.maisetuKeishiki, 0);
  EXPECT_EQ(r.kisoKeishiki, 0);
  EXPECT_EQ(r.henkeiOkureF1, 1.0);
  EXPECT_EQ(r.henkeiOkureF2, 1.0);
  EXPECT_EQ(r.sekkeiTawamiritu, 3.0);
  EXPECT_EQ(r.naigaiatuAnzenritu, 2.0);
  EXPECT_EQ(r.naigaiatuKeisuN, 2.0);
  EXPECT_EQ(r.hanryokuKeisuSemento, 7000);
  EXPECT_EQ(r.hanryokuKeisuShokokei, 3000);
  EXPECT_GT(r.createDate, 0.0);
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(DocumentDefaults, ANewFlexibleCaseSettlesAtMinusOneTenth) {
  Sheets sheets = windowSheets();
  sheetOf(sheets, "不とう性管").resize(1);  // no rigid pipe, and of the flexible ones only 鋼管
  Sheet& flexibleRows = sheetOf(sheets, "とう性管");
  std::erase_if(flexibleRows, [](const std::vector<std::string>& row) { return row[0] != "管種" && row[0] != "鋼管"; });
  PipeDatabaseFolder flexibleOnly(sheets);
  SqlitePipeDataSource flexible(flexibleOnly.path());
  const auto scope = installPipeDataSource(&flexible);
  frmDocument d;
  EXPECT_EQ(d.cbKanshu()->currentText(), "鋼管");
  EXPECT_EQ(d.myData().kanzaiKubun, 2);
  EXPECT_EQ(d.myData().chinkahi, -0.1);
  EXPECT_EQ(box(d, 9), "-0.1");
  EXPECT_EQ(d.lblKanshu()->text(), "とう性管");
  EXPECT_TRUE(d.cmdNaigaiatuSet()->isHidden());  // class 2: no combination formula
  EXPECT_FALSE(d.picTouseiField()->isHidden());  // free support: the flexible-pipe values
  EXPECT_TRUE(d.blnUnchanged());
}

TEST_F(DocumentDefaults, TheSoilValuesAreASnapshotOfTheSettingsAtCreation) {
  g_calcSettings.tuchiTanniJuryo = 17;
  g_calcSettings.howadoTanniJuryo = 19;
  g_calcSettings.mizuTanniJuryo = 9.81;
  g_calcSettings.naibuMasatukaku = 25;
  frmDocument before;
  g_calcSettings.tuchiTanniJuryo = 16;
  before.myKanDataReFresh();  // what the options dialog does after new settings
  before.myForm2Data();
  EXPECT_EQ(before.myData().tuchiTanniJuryo, 17);
  EXPECT_EQ(before.myData().howadoTanniJuryo, 19);
  EXPECT_EQ(before.myData().mizuTanniJuryo, 9.81);
  EXPECT_EQ(before.myData().naibuMasatukaku, 25);
  frmDocument after;
  EXPECT_EQ(after.myData().tuchiTanniJuryo, 16);
  EXPECT_EQ(box(after, 10), "16.00");
}

TEST_F(DocumentDefaults, AnEmptyDatabaseGivesEmptyListsAndNoMessage) {
  Sheets sheets = windowSheets();
  sheetOf(sheets, "不とう性管").resize(1);
  sheetOf(sheets, "とう性管").resize(1);
  PipeDatabaseFolder empty(sheets);
  SqlitePipeDataSource none(empty.path());
  const auto scope = installPipeDataSource(&none);
  frmDocument d;
  for (QComboBox* list : {d.cbKanshu(), d.cbKikaku(), d.cbYobina()}) {
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(list->currentText(), QString());
  }
  EXPECT_EQ(pipeBoxes(d), (QStringList{"0.00", "0.00", "0.00", "0.00", "0.00"}));
  EXPECT_EQ(d.myData().kanshu.str(), "");
  EXPECT_EQ(d.myData().kanzaiKubun, -1);
  EXPECT_EQ(d.lblKanshu()->text(), "とう性管");
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(DocumentDefaults, TheWindowIsThePanelWithTheButtonsInItsCorner) {
  frmDocument d;
  // Qt sizes the inside: the panel fills it exactly, with no band below or beside it.
  EXPECT_EQ(d.size(), twipsSize(9495, 7455));
  EXPECT_EQ(d.picMyForm()->geometry(), twipsRect(0, 0, 9495, 7455));
  EXPECT_EQ(d.picCommand()->geometry(), twipsRect(5520, 6720, 3975, 735));
  const QRect close = d.cmdCommand(0)->geometry().translated(d.picCommand()->pos());
  EXPECT_EQ(close.bottomRight(), twipsRect(5520 + 1920, 6720, 1695, 495).bottomRight());
  EXPECT_EQ(d.cmdCommand(0)->text(), "閉じる(&Q)");
  EXPECT_EQ(d.cmdCommand(1)->text(), "計算する(&C)");
  EXPECT_EQ(d.cmdCommand(2), nullptr);
  // Controls carry their names; arrays the index after an underscore.
  EXPECT_EQ(d.txtTextBox(19)->objectName(), "txtTextBox_19");
  EXPECT_EQ(d.findChild<QLabel*>("lblLabel_32")->text(), "管厚");
  EXPECT_EQ(d.findChild<QLabel*>("lblLabel_8")->text(), "管厚計算値");
  EXPECT_EQ(d.findChild<QLabel*>("lblAppTitle")->text(), "管路の構造計算 とう性管／不とう性管の検討");
  EXPECT_EQ(d.picTanni(4)->unitText(), "kN/m^3");
  EXPECT_TRUE(d.findChild<QLabel*>("lblMyCommand")->isHidden());
  EXPECT_TRUE(d.findChild<QLabel*>("lblMyFilename")->isHidden());
  // The read-only boxes on light yellow.
  for (int i : {1, 2, 3, 4, 19, 21}) {
    EXPECT_TRUE(d.txtTextBox(i)->isReadOnly()) << i;
    EXPECT_EQ(d.txtTextBox(i)->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0)) << i;
  }
  EXPECT_FALSE(d.txtTextBox(7)->isReadOnly());
}

// ---- The pipe cascade ----

using PipeCascade = DocumentWindowTest;

TEST_F(PipeCascade, ANewTypeRefillsTheStandardsAndSizesAndShowsTheFirstPipe) {
  frmDocument d;
  choose(d.cbKanshu(), "鋳鉄管");
  EXPECT_EQ(items(d.cbKikaku()), QStringList{"K"});
  EXPECT_EQ(items(d.cbYobina()), (QStringList{"780", "790", "800"}));
  EXPECT_EQ(d.cbYobina()->currentText(), "780");
  // 管厚 10 with D = 798: 10 / 1.1 - 1, though 外径 - 2T would be above 800.
  EXPECT_EQ(pipeBoxes(d), (QStringList{"818.00", "10.00", "8.09", "404.95", "71.00"}));
  EXPECT_EQ(d.lblKanshu()->text(), "とう性管");
  EXPECT_TRUE(d.cmdNaigaiatuSet()->isHidden());
  EXPECT_FALSE(d.blnUnchanged());
  // The record is not touched by the refresh but by the list fills.
  EXPECT_EQ(d.myData().kikaku.str(), "K");
  EXPECT_EQ(d.myData().yobikei.str(), "780");
}

struct PipeCase {
  const char* kanshu;
  const char* size;
  std::vector<const char*> boxes;  // 1, 21, 2, 3, 4
};

TEST_F(PipeCascade, TheDesignThicknessFollowsTheClassRules) {
  const PipeCase cases[] = {
      {"鋳鉄管", "800", {"818.00", "9.00", "8.18", "404.91", "71.00"}},    // D = 800: 管厚 / 1.1
      {"鋳鉄管", "790", {"817.90", "8.99", "6.99", "405.46", "71.00"}},    // D < 800, 管厚 < 9
      {"鋼管", "800", {"820.00", "10.00", "10.00", "405.00", "77.00"}},    // class 2, D = 800
      {"鋼管", "700", {"720.00", "10.00", "8.00", "356.00", "77.00"}},     // class 2, D < 800
      {"強化プラスチック管", "200", {"220.00", "10.00", "10.00", "105.00", "20.00"}},  // class 5
      {"未登録管", "100", {"110.00", "5.00", "5.00", "52.50", "0.00"}},    // not in 管材データ
  };
  frmDocument d;
  for (const PipeCase& c : cases) {
    choose(d.cbKanshu(), QString::fromUtf8(c.kanshu));
    choose(d.cbYobina(), QString::fromUtf8(c.size));
    QStringList expected;
    for (const char* b : c.boxes) expected << QString::fromUtf8(b);
    EXPECT_EQ(pipeBoxes(d), expected) << c.kanshu << " " << c.size;
  }
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(PipeCascade, ChoosingTheSameTypeAgainStartsOverAtTheFirstPipe) {
  frmDocument d;
  choose(d.cbKikaku(), "2種");
  EXPECT_EQ(items(d.cbYobina()), (QStringList{"62.5", "300"}));
  EXPECT_EQ(pipeBoxes(d)[0], "80.00");  // a fractional size is matched as a number
  choose(d.cbYobina(), "300");
  d.setUnchanged(true);
  choose(d.cbKanshu(), "ヒューム管");
  EXPECT_EQ(d.cbKikaku()->currentText(), "1種");
  EXPECT_EQ(d.cbYobina()->currentText(), "75");
  EXPECT_EQ(pipeBoxes(d)[0], "95.00");
  EXPECT_FALSE(d.blnUnchanged());
}

TEST_F(PipeCascade, ClassFiveShowsTheCombinationButtonAndUnknownTypesHideIt) {
  frmDocument d;
  choose(d.cbKanshu(), "強化プラスチック管");
  EXPECT_EQ(d.lblKanshu()->text(), "とう性管");
  EXPECT_FALSE(d.cmdNaigaiatuSet()->isHidden());
  EXPECT_FALSE(d.picTouseiField()->isHidden());
  d.cbKiso()->setCurrentIndex(1);  // 固定支承
  d.myFormKanshuEdit();
  EXPECT_FALSE(d.cmdNaigaiatuSet()->isHidden());
  EXPECT_TRUE(d.picTouseiField()->isHidden());
  choose(d.cbKanshu(), "未登録管");
  EXPECT_EQ(d.lblKanshu()->text(), "とう性管");
  EXPECT_TRUE(d.cmdNaigaiatuSet()->isHidden());
  EXPECT_TRUE(d.picTouseiField()->isHidden());  // still 固定支承
  choose(d.cbKanshu(), "ヒューム管");
  EXPECT_EQ(d.lblKanshu()->text(), "不とう性管");
  EXPECT_TRUE(d.picTouseiField()->isHidden());
}

TEST_F(PipeCascade, APipeTypeWithAQuoteIsAnOrdinaryKey) {
  frmDocument d;
  choose(d.cbKanshu(), "ポリ\"管");
  EXPECT_EQ(d.cbKikaku()->currentText(), "A\"B");
  EXPECT_EQ(d.cbYobina()->currentText(), "150");
  EXPECT_EQ(pipeBoxes(d), (QStringList{"160.00", "5.00", "5.00", "77.50", "13.50"}));
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(PipeCascade, ARowWithoutDiameterOrThicknessLeavesNoOldPipeBehind) {
  frmDocument d;
  choose(d.cbKanshu(), "中空管");
  // The standard list holds an empty cell: the box names the fill, Ignore leaves it out.
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_NE(errors.shown[0].find("in cbKikakuEdit"), std::string::npos) << errors.shown[0];
  EXPECT_EQ(items(d.cbKikaku()), QStringList{"X"});
  const QStringList none{"0.00", "0.00", "0.00", "0.00", "0.00"};
  EXPECT_EQ(d.cbYobina()->currentText(), "100");  // 外径 empty
  EXPECT_EQ(pipeBoxes(d), none);
  choose(d.cbYobina(), "200");  // 管厚 empty
  EXPECT_EQ(pipeBoxes(d), none);
  // So the input check stops a calculation of it.
  d.myForm2Data();
  EXPECT_EQ(d.myData().gaikei, 0.0);
  EXPECT_EQ(MyDataCheck(d.myData()), 17);
}

TEST_F(PipeCascade, TheRefreshReadsTheBoxesAgainAndLeavesTheChangedStateAlone) {
  frmDocument d;
  d.txtTextBox(1)->setText("1.00");
  d.myKanDataReFresh();
  EXPECT_EQ(box(d, 1), "95.00");
  EXPECT_TRUE(d.blnUnchanged());
  d.setUnchanged(false);
  d.myKanDataReFresh();
  EXPECT_FALSE(d.blnUnchanged());
}

// ---- The transfers ----

using RecordTransfer = DocumentWindowTest;

// A case as a file would bring it: a non-first standard and size, every code off its default.
DesignData storedCase() {
  DesignData r = newDesignData({"ヒューム管", "2種", "300", 0});
  r.keisanshoTitle = "北幹線 No.3  ";
  r.maisetuKeishiki = 2;
  r.kisoKeishiki = 1;
  r.kajuJoken = 14;
  r.buruJoken = 11;
  r.doroJoken = 1;
  r.mizohaba = 1.25;
  r.shijikaku = 120;
  r.dokaburi = 1.5;
  r.chinkahi = 0.5;
  r.josaiKajuMeisho = "盛土";
  r.josaiKaju = "12.5";
  r.kyatapiraSu = 2;
  r.sekojiShogekiKeisu = 0.3;
  r.seisuiatu = 0.35;
  r.suigekiatu = 0.45;
  r.hanryokuKeisu = 4500;
  r.henkeiOkureF1 = 1.5;
  r.henkeiOkureF2 = 2.0;
  r.sekkeiTawamiritu = 5.0;
  return r;
}

TEST_F(RecordTransfer, ACaseWithItsSecondStandardReopensWithIt) {
  frmDocument d;
  // As opening a file does: the record replaced through the file's bytes, then shown.
  d.myData() = decodeDesignData(encodeDesignData(storedCase()));
  d.setUnchanged(true);
  d.myFormTenki();
  EXPECT_EQ(d.cbKanshu()->currentText(), "ヒューム管");
  EXPECT_EQ(d.cbKikaku()->currentText(), "2種");
  EXPECT_EQ(d.cbYobina()->currentText(), "300");
  EXPECT_EQ(pipeBoxes(d), (QStringList{"360.00", "30.00", "30.00", "165.00", "24.50"}));
  EXPECT_EQ(d.cbMaisetu()->currentText(), "矢板施工");
  EXPECT_EQ(d.lblMizohaba()->text(), "矢板中心溝幅");
  EXPECT_EQ(d.cbKiso()->currentText(), "固定支承");
  EXPECT_EQ(d.cbKajuJoken()->currentText(), "T-14");
  EXPECT_EQ(d.cbBuruJoken()->currentText(), "11ton級");
  EXPECT_EQ(d.cbDoroJoken()->currentText(), "舗装道路");
  EXPECT_EQ(box(d, 0), "北幹線 No.3");  // shown trimmed
  EXPECT_EQ(box(d, 13), "盛土");
  EXPECT_EQ(box(d, 14), "12.50");
  EXPECT_EQ(box(d, 5), "1.250");
  EXPECT_EQ(box(d, 19), "4500.00");
  EXPECT_TRUE(d.blnUnchanged());
  // The record still holds the pipe it was opened with.
  EXPECT_EQ(d.myData().kikaku.str(), "2種");
  EXPECT_EQ(d.myData().yobikei.str(), "300");

  d.myForm2Data();
  const DesignData& r = d.myData();
  const DesignData before = storedCase();
  EXPECT_EQ(r.kanshu.str(), "ヒューム管");
  EXPECT_EQ(r.kikaku.str(), "2種");
  EXPECT_EQ(r.yobikei.str(), "300");
  EXPECT_EQ(r.keisanshoTitle.str(), "北幹線 No.3");
  EXPECT_EQ(r.maisetuKeishiki, 2);
  EXPECT_EQ(r.kisoKeishiki, 1);
  EXPECT_EQ(r.kajuJoken, 14);
  EXPECT_EQ(r.buruJoken, 11);
  EXPECT_EQ(r.doroJoken, 1);
  EXPECT_EQ(r.mizohaba, before.mizohaba);
  EXPECT_EQ(r.kisozaiMizohaba, before.mizohaba);
  EXPECT_EQ(r.shijikaku, 120);
  EXPECT_EQ(r.dokaburi, 1.5);
  EXPECT_EQ(r.chinkahi, 0.5);
  EXPECT_EQ(r.josaiKajuMeisho.str(), "盛土");
  EXPECT_EQ(r.josaiKaju.str(), "12.5");
  EXPECT_EQ(r.kyatapiraSu, 2);
  EXPECT_EQ(r.sekojiShogekiKeisu, 0.3);
  EXPECT_EQ(r.seisuiatu, 0.35);
  EXPECT_EQ(r.suigekiatu, 0.45);
  EXPECT_EQ(r.hanryokuKeisu, 4500);
  EXPECT_EQ(r.henkeiOkureF1, 1.5);
  EXPECT_EQ(r.henkeiOkureF2, 2.0);
  EXPECT_EQ(r.sekkeiTawamiritu, 5.0);
  // The pipe from the boxes, in metres.
  EXPECT_DOUBLE_EQ(r.gaikei, 0.36);
  EXPECT_DOUBLE_EQ(r.kanatu, 0.03);
  EXPECT_DOUBLE_EQ(r.kanatuKeisan, 0.03);
  EXPECT_DOUBLE_EQ(r.chushinHankei, 0.165);
  EXPECT_DOUBLE_EQ(r.naikei, 0.36 - 2 * 0.03);
  EXPECT_DOUBLE_EQ(r.naikeiKeisan, 0.36 - 2 * 0.03);
  EXPECT_EQ(r.kanzaiKubun, 0);
  EXPECT_EQ(r.dataTag.str(), "Tovakin_A_1_00_00");
  EXPECT_TRUE(d.blnUnchanged());
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(RecordTransfer, APipeNoLongerInTheDatabaseIsKeptAndCaughtByTheInputCheck) {
  frmDocument d;
  DesignData r = storedCase();
  r.kanshu = "廃番管";
  r.kikaku = "Z";
  r.yobikei = "123";
  d.myData() = r;
  d.myFormTenki();
  EXPECT_EQ(d.cbKanshu()->currentText(), "廃番管");
  EXPECT_EQ(d.cbKikaku()->currentText(), "Z");
  EXPECT_EQ(d.cbYobina()->currentText(), "123");
  EXPECT_EQ(d.cbKanshu()->findText("廃番管"), -1);
  EXPECT_EQ(d.cbKikaku()->count(), 0);
  EXPECT_EQ(pipeBoxes(d), (QStringList{"0.00", "0.00", "0.00", "0.00", "0.00"}));
  d.myForm2Data();
  EXPECT_EQ(d.myData().kanshu.str(), "廃番管");
  EXPECT_EQ(d.myData().kikaku.str(), "Z");
  EXPECT_EQ(d.myData().yobikei.str(), "123");
  EXPECT_EQ(d.myData().kanzaiKubun, -1);
  EXPECT_EQ(MyDataCheck(d.myData()), 17);  // no outer diameter
}

TEST_F(RecordTransfer, UnknownCodesShowTheirFallbackEntriesAndComeBackAsThem) {
  frmDocument d;
  DesignData r = storedCase();
  r.maisetuKeishiki = 7;
  r.kisoKeishiki = 0.5;
  r.kajuJoken = 12;
  r.buruJoken = 4;
  r.doroJoken = 3;
  d.myData() = r;
  d.myFormTenki();
  EXPECT_EQ(d.cbMaisetu()->currentText(), "矢板施工");
  EXPECT_EQ(d.cbKiso()->currentText(), "固定支承");
  EXPECT_EQ(d.cbKajuJoken()->currentText(), "なし");
  EXPECT_EQ(d.cbBuruJoken()->currentText(), "なし");
  EXPECT_EQ(d.cbDoroJoken()->currentText(), "舗装道路");
  d.myForm2Data();
  EXPECT_EQ(d.myData().maisetuKeishiki, 2);
  EXPECT_EQ(d.myData().kisoKeishiki, 1);
  EXPECT_EQ(d.myData().kajuJoken, 0);
  EXPECT_EQ(d.myData().buruJoken, 0);
  EXPECT_EQ(d.myData().doroJoken, 1);
}

TEST_F(RecordTransfer, AProjectingBurialDisablesTheTrenchBoxButStoresIt) {
  frmDocument d;
  DesignData r = storedCase();
  r.maisetuKeishiki = 1;
  d.myData() = r;
  d.myFormTenki();
  EXPECT_EQ(d.lblMizohaba()->text(), "管頂部溝幅");
  EXPECT_FALSE(d.lblMizohaba()->isEnabled());
  EXPECT_FALSE(d.txtTextBox(5)->isEnabled());
  EXPECT_EQ(box(d, 5), "1.250");
  d.myForm2Data();
  EXPECT_EQ(d.myData().mizohaba, 1.25);
  EXPECT_EQ(d.myData().kisozaiMizohaba, 1.25);
}

TEST_F(RecordTransfer, ABoxThatIsNoNumberNeverFailsTheTransfer) {
  frmDocument d;
  d.txtTextBox(7)->setText("abc");
  d.txtTextBox(10)->setText("１７．５");
  d.txtTextBox(8)->setText("9.8kN");
  d.txtTextBox(12)->setText("");
  d.txtTextBox(14)->setText("");
  d.txtTextBox(16)->setText("1e999");
  d.myForm2Data();
  EXPECT_EQ(d.myData().dokaburi, 0.0);
  EXPECT_EQ(d.myData().tuchiTanniJuryo, 17.5);
  EXPECT_EQ(d.myData().mizuTanniJuryo, 9.8);
  EXPECT_EQ(d.myData().naibuMasatukaku, 0.0);
  EXPECT_EQ(d.myData().josaiKaju.str(), "0");
  EXPECT_TRUE(std::isfinite(d.myData().sekojiShogekiKeisu));
  EXPECT_TRUE(errors.shown.empty());
  EXPECT_EQ(MyDataCheck(d.myData()), 1);  // the friction angle is reported, not a crash
}

TEST_F(RecordTransfer, TheCaterpillarCountIsRoundedToEvenAndHeldTo32Bits) {
  frmDocument d;
  d.txtTextBox(5)->setText("1.000");  // a trench wider than the pipe
  const std::pair<const char*, std::int32_t> counts[] = {
      {"2.5", 2}, {"3.5", 4}, {"2", 2}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}};
  for (const auto& [text, count] : counts) {
    d.txtTextBox(15)->setText(QString::fromUtf8(text));
    d.myForm2Data();
    EXPECT_EQ(d.myData().kyatapiraSu, count) << text;
  }
  EXPECT_TRUE(errors.shown.empty());
  // With a bulldozer chosen, the absurd count is the input check's code 6, which focuses box 15.
  EXPECT_EQ(MyDataCheck(d.myData()), 6);
}

TEST_F(RecordTransfer, NoFillTransferOrRefreshMarksTheCaseChanged) {
  frmDocument d;
  ASSERT_TRUE(d.blnUnchanged());
  d.cbMaisetuEdit();
  d.cbKisoEdit();
  d.cbKajuJokenEdit();
  d.cbBuruJokenEdit();
  d.cbDoroJokenEdit();
  d.cbKanshuEdit();
  d.cbKikakuEdit();
  d.cbYobinaEdit();
  d.myKanDataReFresh();
  d.myFormKanshuEdit();
  d.myFormTenki();
  d.myForm2Data();
  EXPECT_TRUE(d.blnUnchanged());
  d.setUnchanged(false);
  d.myFormTenki();
  d.myForm2Data();
  EXPECT_FALSE(d.blnUnchanged());  // the transfers leave the state to their callers
  d.myDataInit();
  EXPECT_TRUE(d.blnUnchanged());
}

TEST_F(RecordTransfer, TheFreeTextsHoldNoMoreThanTheFileKeeps) {
  frmDocument d;
  QLineEdit* title = d.txtTextBox(0);
  QLineEdit* name = d.txtTextBox(13);
  QTest::keyClicks(title, QString(130, QLatin1Char('a')));
  EXPECT_EQ(title->text().size(), 128);
  for (int i = 0; i < 20; ++i)  // 管: two bytes each
    QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(QChar(0x7BA1)), Qt::NoModifier);
  EXPECT_EQ(name->text(), QString(16, QChar(0x7BA1)));
  QString emoji = QStringLiteral("盛土😀");
  int pos = 0;
  EXPECT_EQ(name->validator()->validate(emoji, pos), QValidator::Invalid);
  QString plain = QStringLiteral("盛土");
  EXPECT_EQ(name->validator()->validate(plain, pos), QValidator::Acceptable);
  d.myForm2Data();
  EXPECT_EQ(encodeDesignData(d.myData()).substr(32, 128), std::string(128, 'a'));
}

// ---- The lists the user cannot type into ----

using ChoiceLists = DocumentWindowTest;

TEST_F(ChoiceLists, TypingDeletingAndPastingChangeNoList) {
  frmDocument d;
  d.show();
  QApplication::clipboard()->setText(QStringLiteral("T-99"));
  for (QComboBox* list : {d.cbKanshu(), d.cbKajuJoken(), d.cbBuruJoken()}) {
    const QString before = list->currentText();
    QSignalSpy chosen(list, &QComboBox::activated);
    list->setFocus();
    QTest::keyClicks(list, "x");
    QTest::keyClick(list, Qt::Key_Backspace);
    QTest::keyClick(list, Qt::Key_Delete);
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_T);  // no search by letter
    EXPECT_EQ(list->currentText(), before);
    EXPECT_TRUE(list->lineEdit()->isReadOnly());
    EXPECT_EQ(chosen.count(), 0);
  }
  EXPECT_EQ(d.cbBuruJoken()->currentText(), "3ton級");
  EXPECT_TRUE(d.blnUnchanged());
}

TEST_F(ChoiceLists, TheWheelOverAClosedUnfocusedListChangesNothing) {
  frmDocument d;
  d.show();
  d.txtTextBox(7)->setFocus();
  QComboBox* list = d.cbKajuJoken();
  QSignalSpy chosen(list, &QComboBox::activated);
  const QPointF at(list->width() / 2.0, list->height() / 2.0);
  QWheelEvent wheel(at, list->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(list, &wheel);
  EXPECT_EQ(list->currentText(), "T-25");
  EXPECT_EQ(chosen.count(), 0);
  EXPECT_TRUE(d.blnUnchanged());
}

TEST_F(ChoiceLists, FillingAListFromCodeIsNoChoice) {
  frmDocument d;
  QSignalSpy kanshu(d.cbKanshu(), &QComboBox::activated);
  QSignalSpy kikaku(d.cbKikaku(), &QComboBox::activated);
  d.cbKanshuEdit();
  d.cbKikakuEdit();
  d.myFormTenki();
  EXPECT_EQ(kanshu.count(), 0);
  EXPECT_EQ(kikaku.count(), 0);
  EXPECT_TRUE(d.blnUnchanged());
}

TEST_F(ChoiceLists, TheConditionButtonsDoNothingYet) {
  frmDocument d;
  d.cmdKisozaiSet()->click();
  d.cmdNaigaiatuSet()->click();
  EXPECT_TRUE(d.blnUnchanged());
  EXPECT_FALSE(d.blnKisozaiWorkFlg);
  EXPECT_FALSE(d.blnNaigaiatuWorkFlg);
  EXPECT_TRUE(errors.shown.empty());
}

}  // namespace
}  // namespace tovakin::gui::testing
