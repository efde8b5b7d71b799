// The design document window over a pipe database: the new case, the pipe cascade, the two
// transfers and the lists the user cannot type into.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QValidator>
#include <QWheelEvent>
#include <climits>

#include "app/calc_settings.h"
#include "app/document_file.h"
#include "app/settings.h"
#include "app/std_io.h"
#include "calc/data_check.h"
#include "calc/pipe_calc.h"
#include "dialogs/frm_kisozai_set.h"
#include "dialogs/frm_naigaiatu_set.h"
#include "document/frm_document.h"
#include "support/pipe_db_workbook.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "ui/box_style.h"
#include "ui/form_helpers.h"
#include "ui/numeric_box.h"

namespace tovakin::gui::testing {
namespace {

using namespace tovakin::testing;

// Pipe classes: ヒューム管 0 (rigid), 鋳鉄管 1, 鋼管 2, 強化プラスチック管 5, 中空管 3, ポリ"管 3,
// 未登録管 missing from the material table (-1). ヒューム管 sorts first.
Sheets windowSheets() {
  auto row = [](const char* kanshu, const char* kikaku, const char* size, const char* gaikei, const char* kanatu) {
    return std::vector<std::string>{kanshu, kikaku, size, gaikei, kanatu, "", "", "", "", ""};
  };
  Sheet rigid = {kPipeHeader,
                 row("ヒューム管", "1種", "1000", "1100", "50"),
                 row("ヒューム管", "1種", "75", "95", "10"),
                 row("ヒューム管", "1種", "100", "120", "10"),
                 row("ヒューム管", "2種", "300", "360", "30"),
                 row("ヒューム管", "2種", "62.5", "80", "8")};
  Sheet flexible = {kPipeHeader,
                    row("鋳鉄管", "K", "800", "818", "9"),
                    row("鋳鉄管", "K", "790", "817.9", "8.99"),
                    row("鋳鉄管", "K", "780", "818", "10"),
                    row("鋼管", "S", "800", "820", "10"),
                    row("鋼管", "S", "700", "720", "10"),
                    row("強化プラスチック管", "P", "200", "220", "10"),
                    row("中空管", "X", "100", "", "5"),
                    row("中空管", "X", "200", "210", ""),
                    row("中空管", "", "300", "310", "5"),
                    row("ポリ\"管", "A\"B", "150", "160", "5"),
                    row("未登録管", "U", "100", "110", "5")};
  Sheet material = {{"管種", "単位体積重量", "弾性係数", "管材区分", "引張応力", "許容引張応力度"},
                    {"ヒューム管", "24.5", "", "0", "", ""},
                    {"鋳鉄管", "71", "", "1", "", ""},
                    {"鋼管", "77", "", "2", "", ""},
                    {"強化プラスチック管", "20", "", "5", "", ""},
                    {"中空管", "10", "", "3", "", ""},
                    {"ポリ\"管", "13.5", "", "3", "", ""}};
  Sheet moment = {{"対象管", "対象荷重", "設計支持角", "支承条件", "係数"}};
  Sheet trench = {{"呼び径", "BS値"}};
  return {{"不とう性管", rigid}, {"とう性管", flexible}, {"管材データ", material},
          {"モーメント係数", moment}, {"標準溝幅", trench}};
}

// An application folder with the pipe database of the sheets.
struct PipeDatabaseFolder {
  explicit PipeDatabaseFolder(const Sheets& sheets) {
    app.write(sheets);
    EXPECT_EQ(app.rebuild(), std::vector<std::string>{});
  }
  TestApp app;
};

// Every test: the database installed as the pipe-data source, the built-in settings, and a
// scripted error box that records and answers Ignore.
class DocumentWindowTest : public ::testing::Test {
 protected:
  static std::string folder() {
    static PipeDatabaseFolder shared(windowSheets());  // made once, read by every test
    return shared.app.path();
  }

  void SetUp() override { g_calcSettings = builtInCalcSettings(); }
  void TearDown() override { g_calcSettings = savedSettings_; }

  // The user chooses the entry of that text, as a click in the open list does.
  static void choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  static QString box(const frmDocument& document, int index) { return document.txtTextBox(index)->text(); }
  static QStringList items(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
  }
  // What the window shows: the lists in their table's order, the boxes by index from box 0 on (as
  // many as expected), and the five pipe boxes 1, 21, 2, 3, 4.
  static QStringList lists(const frmDocument& d) {
    QStringList out;
    for (const DocumentList& list : documentLists())
      out << qobject_cast<QComboBox*>(d.control(objectNameOf(list.role)))->currentText();
    return out;
  }
  static void expectBoxes(const frmDocument& d, const QStringList& expected) {
    for (int i = 0; i < expected.size(); ++i) EXPECT_EQ(box(d, i), expected[i]) << i;
  }
  static QStringList pipeBoxes(const frmDocument& d) {
    return {box(d, 1), box(d, 21), box(d, 2), box(d, 3), box(d, 4)};
  }

  ScriptedErrorBox errors;
  ScriptedMessageBox messages;
  Installed<MessageBoxService> installedBox = installMessageBox(messages);
  SqlitePipeDataSource source{folder()};
  Installed<PipeDataSource> installed = installPipeDataSource(&source);

 private:
  CalcSettings savedSettings_ = g_calcSettings;
};

using NewCase = DocumentWindowTest;
using PipeCascade = DocumentWindowTest;
using RecordTransfer = DocumentWindowTest;
using ChoiceLists = DocumentWindowTest;

const QStringList kNoPipe{"0.00", "0.00", "0.00", "0.00", "0.00"};

TEST_F(NewCase, ARigidPipeShowsTheDefaults) {
  frmDocument d;
  EXPECT_TRUE(d.blnUnchanged());
  EXPECT_EQ(items(d.cbYobina()), (QStringList{"75", "100", "1000"}));  // sizes in numeric order
  EXPECT_EQ(lists(d), (QStringList{"ヒューム管", "1種", "75", "溝型", "自由支承", "T-25", "3ton級", "未舗装道路"}));
  expectBoxes(d, {"",     "95.00", "10.00", "42.50", "24.50", "0.000", "90",    "0.600", "9.80", "0.7",   "18.00", "20.00",
                  "30",   "",      "0.00",  "0",     "0.0",   "0.000", "0.000", "0.00",  "1.0",  "10.00", "1.0",   "3.0"});
  EXPECT_EQ(d.lblKanshu()->text(), "不とう性管");
  EXPECT_FALSE(d.cmdNaigaiatuSet()->isHidden());
  EXPECT_TRUE(d.picTouseiField()->isHidden());
  const DesignData& r = d.myData();
  EXPECT_EQ(r.kikaku.str() + r.yobikei.str() + r.josaiKaju.str() + r.dataTag.str(), "1種750Tovakin_A_1_00_00");
  EXPECT_EQ(r.kanzaiKubun, 0);
  EXPECT_EQ(r.chinkahi, 0.7);
  EXPECT_EQ(r.kajuJoken + r.buruJoken + r.doroJoken + r.maisetuKeishiki + r.kisoKeishiki, 28);
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NewCase, AFlexiblePipeSettlesAtMinusOneTenth) {
  Sheets sheets = windowSheets();
  sheetOf(sheets, "不とう性管").resize(1);  // no rigid pipe: 鋼管 (class 2) comes first
  std::erase_if(sheetOf(sheets, "とう性管"), [](const auto& row) { return row[0] != "管種" && row[0] != "鋼管"; });
  PipeDatabaseFolder flexibleOnly(sheets);
  SqlitePipeDataSource flexible(flexibleOnly.app.path());
  const auto scope = installPipeDataSource(&flexible);
  frmDocument d;
  EXPECT_EQ(d.myData().kanzaiKubun, 2);
  EXPECT_EQ(d.myData().chinkahi, -0.1);
  EXPECT_EQ(box(d, 9), "-0.1");
  EXPECT_EQ(d.lblKanshu()->text(), "とう性管");
  EXPECT_TRUE(d.cmdNaigaiatuSet()->isHidden());
  EXPECT_FALSE(d.picTouseiField()->isHidden());
}

TEST_F(NewCase, TheSoilValuesAreASnapshotOfTheSettings) {
  g_calcSettings.tuchiTanniJuryo = 17;
  frmDocument before;
  g_calcSettings.tuchiTanniJuryo = 16;
  before.myKanDataReFresh();  // as after new settings in the options dialog
  before.myForm2Data();
  EXPECT_EQ(before.myData().tuchiTanniJuryo, 17);
  EXPECT_EQ(box(frmDocument(), 10), "16.00");
}

TEST_F(NewCase, AnEmptyDatabaseGivesEmptyListsAndNoMessage) {
  Sheets sheets = windowSheets();
  sheetOf(sheets, "不とう性管").resize(1);
  sheetOf(sheets, "とう性管").resize(1);
  PipeDatabaseFolder empty(sheets);
  SqlitePipeDataSource none(empty.app.path());
  const auto scope = installPipeDataSource(&none);
  frmDocument d;
  EXPECT_EQ(d.cbKanshu()->count() + d.cbKikaku()->count() + d.cbYobina()->count(), 0);
  EXPECT_EQ(lists(d).mid(0, 3), (QStringList{"", "", ""}));
  EXPECT_EQ(pipeBoxes(d), kNoPipe);
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(NewCase, TheInsideIsThePanelWithTheButtonsInItsCorner) {
  frmDocument d;
  EXPECT_EQ(d.size(), twipsSize(9495, 7455));  // no band below or beside the panel
  EXPECT_EQ(d.picCommand()->geometry(), twipsRect(5520, 6720, 3975, 735));
  EXPECT_EQ(d.cmdCommand(0)->text(), "閉じる(&Q)");
  EXPECT_EQ(d.findChild<QLabel*>("lblLabel_32")->text(), "管厚");
  EXPECT_EQ(d.findChild<QLabel*>("lblLabel_8")->text(), "管厚計算値");
  EXPECT_TRUE(d.findChild<QLabel*>("lblMyCommand")->isHidden());
  for (int i : {1, 2, 3, 4, 19, 21}) {
    EXPECT_TRUE(d.txtTextBox(i)->isReadOnly()) << i;
    EXPECT_EQ(d.txtTextBox(i)->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xC0)) << i;
  }
}

TEST_F(PipeCascade, ANewTypeRefillsStandardsAndSizesAndShowsTheFirstPipe) {
  frmDocument d;
  choose(d.cbKikaku(), "2種");
  choose(d.cbYobina(), "300");
  d.setUnchanged(true);
  choose(d.cbKanshu(), "鋳鉄管");
  EXPECT_EQ(items(d.cbYobina()), (QStringList{"780", "790", "800"}));
  // D = 798 although 外径 - 2T is above 800: 10 / 1.1 - 1.
  EXPECT_EQ(pipeBoxes(d), (QStringList{"818.00", "10.00", "8.09", "404.95", "71.00"}));
  EXPECT_FALSE(d.blnUnchanged());
  EXPECT_EQ(d.myData().yobikei.str(), "780");
  choose(d.cbKanshu(), "ヒューム管");  // the same type again starts over too
  EXPECT_EQ(lists(d).mid(1, 2), (QStringList{"1種", "75"}));
  choose(d.cbKikaku(), "2種");
  EXPECT_EQ(pipeBoxes(d)[0], "80.00");  // the size 62.5 is matched as a number
}

TEST_F(PipeCascade, EachClassShowsItsThicknessAndSwitch) {
  struct Case {
    const char *kanshu, *size;
    QStringList boxes;
    const char* kanshuLabel;
    bool button, panel;
  };
  const Case cases[] = {
      {"鋳鉄管", "800", {"818.00", "9.00", "8.18", "404.91", "71.00"}, "とう性管", false, true},
      {"鋳鉄管", "790", {"817.90", "8.99", "6.99", "405.46", "71.00"}, "とう性管", false, true},
      {"鋼管", "700", {"720.00", "10.00", "8.00", "356.00", "77.00"}, "とう性管", false, true},
      {"強化プラスチック管", "200", {"220.00", "10.00", "10.00", "105.00", "20.00"}, "とう性管", true, true},
      {"未登録管", "100", {"110.00", "5.00", "5.00", "52.50", "0.00"}, "とう性管", false, true},
      {"ポリ\"管", "150", {"160.00", "5.00", "5.00", "77.50", "13.50"}, "とう性管", false, true},
      {"ヒューム管", "100", {"120.00", "10.00", "10.00", "55.00", "24.50"}, "不とう性管", true, false}};
  frmDocument d;
  for (const Case& c : cases) {
    choose(d.cbKanshu(), QString::fromUtf8(c.kanshu));
    choose(d.cbYobina(), QString::fromUtf8(c.size));
    EXPECT_EQ(pipeBoxes(d), c.boxes) << c.kanshu << c.size;
    EXPECT_EQ(d.lblKanshu()->text(), QString::fromUtf8(c.kanshuLabel)) << c.kanshu;
    EXPECT_EQ(!d.cmdNaigaiatuSet()->isHidden(), c.button) << c.kanshu;
    EXPECT_EQ(!d.picTouseiField()->isHidden(), c.panel) << c.kanshu;
  }
  choose(d.cbKanshu(), "強化プラスチック管");
  d.cbKiso()->setCurrentIndex(1);  // 固定支承: class 5 keeps its button but not the panel
  d.myFormKanshuEdit();
  EXPECT_FALSE(d.cmdNaigaiatuSet()->isHidden());
  EXPECT_TRUE(d.picTouseiField()->isHidden());
  EXPECT_TRUE(errors.shown.empty());  // a quote in a key is an ordinary character
}

TEST_F(PipeCascade, ARowWithoutDiameterOrThicknessLeavesNoOldPipeBehind) {
  frmDocument d;
  choose(d.cbKanshu(), "中空管");
  // An empty standard cell: the box names the fill, and Ignore leaves it out.
  ASSERT_EQ(errors.shown.size(), 1u);
  EXPECT_NE(errors.shown[0].find("in cbKikakuEdit"), std::string::npos) << errors.shown[0];
  EXPECT_EQ(items(d.cbKikaku()), QStringList{"X"});
  EXPECT_EQ(pipeBoxes(d), kNoPipe);  // 外径 empty
  choose(d.cbYobina(), "200");
  EXPECT_EQ(pipeBoxes(d), kNoPipe);  // 管厚 empty
  d.myForm2Data();
  EXPECT_EQ(MyDataCheck(d.myData()), 17);  // so the input check stops the run
}

// A case as a file brings it: the second standard and size, every code off its default.
DesignData storedCase() {
  DesignData r = newDesignData({"ヒューム管", "2種", "300", 0});
  r.keisanshoTitle = "北幹線 No.3  ";
  r.maisetuKeishiki = 2;
  r.kisoKeishiki = 1;
  r.kajuJoken = 14;
  r.buruJoken = 11;
  r.doroJoken = 1;
  r.mizohaba = 1.25;
  r.josaiKajuMeisho = "盛土";
  r.josaiKaju = "12.5";
  r.kyatapiraSu = 2;
  r.hanryokuKeisu = 4500;
  return r;
}

TEST_F(RecordTransfer, ACaseWithItsSecondStandardReopensWithItAndComesBackUnchanged) {
  frmDocument d;
  const DesignData stored = decodeDesignData(encodeDesignData(storedCase()));
  d.myData() = stored;
  d.myFormTenki();
  EXPECT_EQ(lists(d), (QStringList{"ヒューム管", "2種", "300", "矢板施工", "固定支承", "T-14", "11ton級", "舗装道路"}));
  EXPECT_EQ(pipeBoxes(d), (QStringList{"360.00", "30.00", "30.00", "165.00", "24.50"}));
  EXPECT_EQ(d.lblMizohaba()->text(), "矢板中心溝幅");
  EXPECT_EQ(box(d, 0), "北幹線 No.3");  // shown trimmed
  EXPECT_EQ(box(d, 14), "12.50");
  d.myForm2Data();
  DesignData expected = stored;
  expected.keisanshoTitle = "北幹線 No.3";
  expected.gaikei = 0.36;
  expected.kanatu = expected.kanatuKeisan = 0.03;
  expected.chushinHankei = 0.165;
  expected.naikei = expected.naikeiKeisan = 0.36 - 2 * 0.03;
  expected.kisozaiMizohaba = 1.25;
  expected.updateDate = d.myData().updateDate;
  EXPECT_EQ(encodeDesignData(d.myData()), encodeDesignData(expected));
  EXPECT_TRUE(d.blnUnchanged());
}

TEST_F(RecordTransfer, APipeNoLongerInTheDatabaseIsKeptAndCaughtByTheInputCheck) {
  frmDocument d;
  d.myData().kanshu = "廃番管";
  d.myData().kikaku = "Z";
  d.myData().yobikei = "123";
  d.myFormTenki();
  EXPECT_EQ(lists(d).mid(0, 3), (QStringList{"廃番管", "Z", "123"}));
  EXPECT_EQ(d.cbKikaku()->count(), 0);
  EXPECT_EQ(pipeBoxes(d), kNoPipe);
  d.myForm2Data();
  EXPECT_EQ(d.myData().kanshu.str() + d.myData().kikaku.str() + d.myData().yobikei.str(), "廃番管Z123");
  EXPECT_EQ(MyDataCheck(d.myData()), 17);
}

// A code its list lacks shows as itself, is named once, and is stored back as it was.
TEST_F(RecordTransfer, UnknownCodesShowAsThemselvesAndComeBackAsThey) {
  frmDocument d;
  DesignData& r = d.myData();
  r.maisetuKeishiki = 1;  // 突出型: the trench box is disabled but still stored
  r.mizohaba = 1.25;
  r.kisoKeishiki = 0.5; r.kajuJoken = 30; r.buruJoken = 4; r.doroJoken = 3;
  d.myFormTenki();
  EXPECT_EQ(lists(d).mid(3), (QStringList{"突出型", "0.5", "30", "4", "3"}));
  EXPECT_FALSE(d.txtTextBox(5)->isEnabled());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("輪荷重規格のコード 30 は一覧にありません。"), std::string::npos);
  d.myForm2Data();
  EXPECT_EQ(std::vector<double>({r.kisoKeishiki, r.kajuJoken, r.buruJoken, r.doroJoken, r.kisozaiMizohaba}),
            std::vector<double>({0.5, 30, 4, 3, 1.25}));
}

// A box that is not one number is refused before anything is stored; a number the record cannot
// take shows the runtime's error, one box per failing field; Ignore leaves that field as it was
// and the transfer goes on with the next box.
TEST_F(RecordTransfer, ABoxThatHoldsNoNumberFailsItsOwnStepAndKeepsItsField) {
  frmDocument d;
  DesignData& r = d.myData();
  r.dokaburi = 1.2; r.sekojiShogekiKeisu = 0.3; r.kyatapiraSu = 2; r.seisuiatu = 0.5;
  const std::pair<int, const char*> typed[] = {{5, "1.000"}, {7, "abc"}, {10, "１７．５"}, {12, ""}, {14, ""},
                                               {15, "99999999999"}, {16, "1e999"}, {17, "0,75"}};
  for (const auto& [index, text] : typed) d.txtTextBox(index)->setText(QString::fromUtf8(text));
  // A text that is not one number is refused before anything is stored, on its box.
  const DesignData before = r;
  EXPECT_FALSE(d.myForm2Data());
  EXPECT_EQ(encodeDesignData(r), encodeDesignData(before));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, unreadableNumberMessage("abc"));
  d.txtTextBox(7)->setText("1.200");
  d.txtTextBox(17)->setText("0.5");
  EXPECT_TRUE(d.myForm2Data());
  EXPECT_EQ(errors.shown, (std::vector<std::string>{"オーバーフローしました。(6)\n in myForm2Data",
                                                    "オーバーフローしました。(6)\n in myForm2Data"}));
  EXPECT_EQ(std::vector<double>({r.mizohaba, r.dokaburi, r.tuchiTanniJuryo, r.naibuMasatukaku, r.sekojiShogekiKeisu,
                                 r.seisuiatu}),
            std::vector<double>({1, 1.2, 17.5, 0, 0.3, 0.5}));
  EXPECT_EQ(r.josaiKaju.str(), "0");
  EXPECT_EQ(r.kyatapiraSu, 2);  // never held to the largest count
  EXPECT_EQ(r.kisozaiMizohaba, 1);  // the steps after the failing boxes ran
  errors.shown.clear();
  d.txtTextBox(15)->setText("2.5");
  d.myForm2Data();
  EXPECT_EQ(r.kyatapiraSu, 2);  // halves to even
  d.txtTextBox(15)->setText("3.5");
  d.myForm2Data();
  EXPECT_EQ(r.kyatapiraSu, 4);
  EXPECT_EQ(errors.shown.size(), 2u);  // the other box, each time
}

// A surcharge a file holds as a text that is no number shows as it is and is never taken for 0:
// its box refuses it, and nothing is stored or calculated until it is put right.
TEST_F(RecordTransfer, ASurchargeTextThatIsNoNumberIsReportedNotTakenForZero) {
  frmDocument d;
  DesignData stored = storedCase();
  stored.josaiKaju = "abc";
  d.myData() = decodeDesignData(encodeDesignData(stored));
  d.myFormTenki();
  EXPECT_EQ(box(d, 14), "abc");
  EXPECT_FALSE(d.myForm2Data());  // the box says so: nothing is stored
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, unreadableNumberMessage("abc"));
  EXPECT_EQ(app::myTrim(d.myData().josaiKaju), "abc");
}

TEST_F(RecordTransfer, NoFillTransferOrRefreshMarksTheCaseChanged) {
  frmDocument d;
  d.txtTextBox(1)->setText("1.00");
  d.myKanDataReFresh();  // reads the pipe again, as after new settings
  EXPECT_EQ(box(d, 1), "95.00");
  QSignalSpy chosen(d.cbKanshu(), &QComboBox::activated);
  for (bool unchanged : {true, false}) {
    d.setUnchanged(unchanged);
    d.cbMaisetuEdit(); d.cbKisoEdit(); d.cbKajuJokenEdit(); d.cbBuruJokenEdit(); d.cbDoroJokenEdit();
    d.cbKanshuEdit(); d.cbKikakuEdit(); d.cbYobinaEdit();
    d.myKanDataReFresh(); d.myFormKanshuEdit(); d.myFormTenki(); d.myForm2Data();
    EXPECT_EQ(d.blnUnchanged(), unchanged);
  }
  EXPECT_EQ(chosen.count(), 0);  // filling a list is no choice
  EXPECT_FALSE(d.blnKisozaiWorkFlg || d.blnNaigaiatuWorkFlg);
}

// Plays the user in the modal dialog a button opens, once it is up.
template <class Dialog>
void whenShown(const std::function<void(Dialog&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "not the expected dialog";
      if (QWidget* other = QApplication::activeModalWidget()) other->close();
      return;
    }
    act(*dialog);
  });
}

TEST_F(RecordTransfer, TheConditionButtonsOpenTheirDialogsAndOnlyATakeOverChangesTheCase) {
  frmDocument d;
  d.txtTextBox(7)->setText("1.200");  // reaches the record before the exchange
  const QString box19 = box(d, 19);
  whenShown<frmKisozaiSet>([](frmKisozaiSet& k) { k.cmdCommand(ConditionDialog::kCancel)->click(); });
  d.cmdKisozaiSet()->click();
  whenShown<frmNaigaiatuSet>([](frmNaigaiatuSet& n) { n.cmdCommand(ConditionDialog::kCancel)->click(); });
  d.cmdNaigaiatuSet()->click();
  EXPECT_TRUE(d.blnUnchanged());
  EXPECT_EQ(box(d, 19), box19);

  whenShown<frmNaigaiatuSet>([](frmNaigaiatuSet& n) {
    EXPECT_EQ(n.txtTextBox(1)->text(), "2.00");  // a new case's n
    n.txtTextBox(0)->focusAndSelect();
    QTest::keyClicks(n.txtTextBox(0), "3");
    n.cmdCommand(ConditionDialog::kOk)->click();
  });
  d.cmdNaigaiatuSet()->click();
  EXPECT_TRUE(d.blnNaigaiatuWorkFlg && !d.blnUnchanged());
  EXPECT_DOUBLE_EQ(d.myData().naigaiatuAnzenritu, 3.0);
  EXPECT_DOUBLE_EQ(d.myData().dokaburi, 1.2);
}

// The window shows the adopted e' from the record it took over, with two decimals; a take-over
// from the combination-formula dialog leaves box 19 alone.
TEST_F(RecordTransfer, AnAdoptedEPrimeTakenOverShowsInItsBoxFromTheRecord) {
  frmDocument d;
  whenShown<frmKisozaiSet>([](frmKisozaiSet& k) {
    k.optKisozaiSet(0)->click();
    k.txtTextBox(0)->focusAndSelect();
    k.txtTextBox(0)->selectAll();
    QTest::keyClicks(k.txtTextBox(0), "6500");
    QTest::keyClick(k.txtTextBox(0), Qt::Key_Return);
    k.cmdCommand(ConditionDialog::kOk)->click();
  });
  d.cmdKisozaiSet()->click();
  EXPECT_TRUE(d.blnKisozaiWorkFlg && !d.blnUnchanged());
  EXPECT_EQ(d.myData().hanryokuKeisu, 6500);
  EXPECT_EQ(box(d, 19), "6500.00");

  d.myData().hanryokuKeisu = 1234.5;  // not shown again by the other dialog's take-over
  whenShown<frmNaigaiatuSet>([](frmNaigaiatuSet& n) {
    n.txtTextBox(0)->focusAndSelect();
    QTest::keyClicks(n.txtTextBox(0), "3");
    n.cmdCommand(ConditionDialog::kOk)->click();
  });
  d.cmdNaigaiatuSet()->click();
  EXPECT_TRUE(d.blnNaigaiatuWorkFlg);
  EXPECT_EQ(box(d, 19), "6500.00");
}

TEST_F(RecordTransfer, TheFreeTextsHoldNoMoreThanTheFileKeeps) {
  frmDocument d;
  QTest::keyClicks(d.txtTextBox(0), QString(130, QLatin1Char('a')));
  EXPECT_EQ(box(d, 0).size(), static_cast<int>(kTitleBytes));
  QLineEdit* name = d.txtTextBox(13);
  for (int i = 0; i < 20; ++i)  // 管 takes two bytes
    QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(QChar(0x7BA1)), Qt::NoModifier);
  EXPECT_EQ(name->text(), QString(16, QChar(0x7BA1)));
  QString emoji = QStringLiteral("盛土😀");
  int pos = 0;
  EXPECT_EQ(name->validator()->validate(emoji, pos), QValidator::Invalid);
}

TEST_F(ChoiceLists, TypingDeletingPastingAndTheWheelChangeNoList) {
  frmDocument d;
  d.show();
  QApplication::clipboard()->setText(QStringLiteral("T-99"));
  for (QComboBox* list : {d.cbKanshu(), d.cbKajuJoken(), d.cbBuruJoken()}) {
    const QString before = list->currentText();
    QSignalSpy chosen(list, &QComboBox::activated);
    list->setFocus();
    QTest::keyClicks(list, "xT");  // no typing, no search by letter
    for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete}) QTest::keyClick(list, key);
    for (Qt::Key key : {Qt::Key_A, Qt::Key_X, Qt::Key_V}) QTest::keyClick(list, key, Qt::ControlModifier);
    EXPECT_EQ(list->currentText(), before);
    EXPECT_EQ(chosen.count(), 0);
  }
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

TEST_F(ChoiceLists, TheWheelNeverFocusesAList) {
  // Qt hands the focus to a wheel-focus widget before it delivers a wheel event from the window
  // system, so a list with that policy would take the first turn as a choice. A click still
  // focuses it.
  frmDocument d;
  const QList<QComboBox*> lists = d.findChildren<QComboBox*>();
  ASSERT_FALSE(lists.isEmpty());
  for (QComboBox* list : lists) {
    const int policy = list->focusPolicy();
    EXPECT_NE(policy & Qt::WheelFocus, int(Qt::WheelFocus)) << list->objectName().toStdString();
    EXPECT_EQ(policy & Qt::ClickFocus, int(Qt::ClickFocus)) << list->objectName().toStdString();
  }
}

}  // namespace
}  // namespace tovakin::gui::testing
