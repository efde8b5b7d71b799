#include "dialogs/frm_options.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <cstdlib>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <memory>

#include "app/app_state.h"
#include "app/recent_files.h"
#include "app/settings.h"
#include "support/options_dialog_fixture.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "ui/form_helpers.h"
#include "ui/numeric_box.h"
#include "ui/unit_caption.h"

namespace tovakin::gui {
namespace {

using tovakin::testing::OptionsDialog;

TEST_F(OptionsDialog, UnitCaptionsAreTheSharedOneInTheOrderOfTheirBoxes) {
  auto dialog = open();
  int number = 0;
  for (int i : {0, 1, 2, 3, 4, 11}) {
    const auto* caption =
        dynamic_cast<const UnitCaption*>(dialog->findChild<QWidget*>(QStringLiteral("picTanni_%1").arg(number++)));
    ASSERT_NE(caption, nullptr) << i;
    EXPECT_EQ(caption->unitText(), QString::fromUtf8(optionsBoxes()[static_cast<std::size_t>(i)].unit)) << i;
  }
}

// Every control of the pages and of the button bar where it was designed (twips), with its
// caption and how the caption stands; nothing else is on a page. The pages' contents stand
// lower by as much as this style's frame caption is taller than the designed one, all alike.
TEST_F(OptionsDialog, EveryControlStandsWhereDesigned) {
  auto dialog = open();
  enum Text { None, Left, Centred, Top, Wrapped };
  struct Row {
    const char* name;
    int page;  // -1: the button bar
    int left, top, width, height;
    Text text;
    const char* caption;
  };
  const Row rows[] = {
      {"Label1_0", 0, 120, 240, 3135, 255, Left, "土の単位体積重量"},
      {"Label1_1", 0, 120, 600, 3135, 255, Left, "飽和土単位体積重量"},
      {"Label1_2", 0, 120, 960, 3135, 255, Left, "水の単位体積重量"},
      {"txtTextBox_0", 0, 3360, 240, 1095, 270, None, nullptr},
      {"txtTextBox_1", 0, 3360, 600, 1095, 270, None, nullptr},
      {"txtTextBox_2", 0, 3360, 960, 1095, 270, None, nullptr},
      {"picTanni_0", 0, 4560, 240, 855, 255, None, nullptr},
      {"picTanni_1", 0, 4560, 600, 855, 255, None, nullptr},
      {"picTanni_2", 0, 4560, 960, 855, 255, None, nullptr},

      {"Label1_3", 1, 120, 240, 1560, 255, Left, "基礎の設計支持角"},
      {"Label1_4", 1, 1800, 240, 1095, 255, Centred, "0°"},
      {"Label1_5", 1, 3000, 240, 1095, 255, Centred, "30°"},
      {"Label1_6", 1, 4200, 240, 1095, 255, Centred, "60°"},
      {"Label1_7", 1, 5400, 240, 1095, 255, Centred, "90°"},
      {"Label1_8", 1, 6600, 240, 1095, 255, Centred, "120°"},
      {"Label1_9", 1, 7800, 240, 1095, 255, Centred, "180°"},
      {"Label1_10", 1, 120, 600, 1560, 255, Left, "K"},
      {"Label1_11", 1, 120, 960, 1560, 255, Left, "Ko"},
      {"Label1_12", 1, 120, 1320, 1560, 255, Left, "Kp"},

      {"lblLabel_3", 2, 120, 240, 3135, 255, Left, "荷重分布角"},
      {"lblLabel_4", 2, 120, 600, 3135, 255, Left, "車両占有幅"},
      {"lblLabel_12", 2, 120, 960, 3135, 255, Left, "浮上検討時の安全率(S)"},
      {"lblLabel_0", 2, 120, 1320, 3135, 255, Left, "内部摩擦角の標準値"},
      {"txtTextBox_3", 2, 3360, 240, 1095, 270, None, nullptr},
      {"txtTextBox_4", 2, 3360, 600, 1095, 270, None, nullptr},
      {"txtTextBox_12", 2, 3360, 960, 1095, 270, None, nullptr},
      {"txtTextBox_11", 2, 3360, 1320, 1095, 270, None, nullptr},
      {"picTanni_3", 2, 4560, 240, 855, 255, None, nullptr},
      {"picTanni_4", 2, 4560, 600, 855, 255, None, nullptr},
      {"picTanni_5", 2, 4560, 1320, 855, 255, None, nullptr},

      {"Label1_13", 3, 120, 240, 1440, 255, Left, "荷重条件"},
      {"Label1_14", 3, 120, 600, 1440, 255, Left, "T-25"},
      {"Label1_15", 3, 120, 960, 1440, 255, Left, "T-20"},
      {"Label1_16", 3, 120, 1320, 1440, 255, Left, "T-14"},
      {"Label1_17", 3, 120, 1680, 1440, 255, Left, "T-10"},
      {"Label1_18", 3, 1680, 240, 1095, 255, Centred, "後輪荷重"},
      {"Label1_19", 3, 2880, 240, 2655, 255, Left, "断面力の低減係数β"},
      {"Label1_20", 3, 2880, 600, 1440, 255, Left, "T-25"},
      {"Label1_21", 3, 2880, 960, 1440, 255, Left, "T-25以外"},
      {"Label1_22", 3, 5640, 240, 5055, 255, Left, "衝撃係数（自動車荷重） ｉ の標準値"},
      {"Label1_23", 3, 5640, 600, 1500, 255, Left, "状態/土かぶり"},
      {"Label1_24", 3, 7148, 600, 1200, 255, Centred, "1.5未満"},
      {"Label1_25", 3, 8348, 600, 1200, 255, Centred, "1.5～2.5未満"},
      {"Label1_26", 3, 9548, 600, 1200, 255, Centred, "2.5以上"},
      {"Label1_27", 3, 5640, 960, 1500, 255, Left, "未舗装道路"},
      {"Label1_28", 3, 5640, 1440, 1500, 480, Top, "ｺﾝｸﾘｰﾄおよび\nｱｽﾌｧﾙﾄ舗装道路"},
      {"txtTextBox_5", 3, 1680, 600, 1095, 270, None, nullptr},
      {"txtTextBox_6", 3, 1680, 960, 1095, 270, None, nullptr},
      {"txtTextBox_7", 3, 1680, 1320, 1095, 270, None, nullptr},
      {"txtTextBox_8", 3, 1680, 1680, 1095, 270, None, nullptr},
      {"txtTextBox_9", 3, 4440, 600, 1095, 270, None, nullptr},
      {"txtTextBox_10", 3, 4440, 960, 1095, 270, None, nullptr},
      {"txtTextBox_31", 3, 7200, 960, 1095, 270, None, nullptr},
      {"txtTextBox_32", 3, 8400, 960, 1095, 270, None, nullptr},
      {"txtTextBox_33", 3, 9600, 960, 1095, 270, None, nullptr},
      {"txtTextBox_34", 3, 7200, 1440, 1095, 270, None, nullptr},
      {"txtTextBox_35", 3, 8400, 1440, 1095, 270, None, nullptr},
      {"txtTextBox_36", 3, 9600, 1440, 1095, 270, None, nullptr},

      {"cmdMRUClear", 4, 120, 240, 2415, 495, None, "ファイル履歴の削除(&D)"},
      {"lblHistoryFileClearInfo", 4, 120, 840, 5175, 495, Wrapped,
       "ファイル読み込み履歴を削除する場合、このボタンを押してください。元には戻せません。"},

      {"cmdCommand_0", -1, 0, 0, 1095, 375, None, "OK"},
      {"cmdCommand_1", -1, 1200, 0, 1095, 375, None, "ｷｬﾝｾﾙ"},
      {"cmdCommand_2", -1, 2400, 0, 1095, 375, None, "適用(&A)"},
  };
  // The support-angle grid: K, Ko and Kp rows under the six angle columns.
  std::vector<Row> grid;
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 6; ++col)
      grid.push_back({nullptr, 1, 1800 + 1200 * col, 600 + 360 * row, 1095, 270, None, nullptr});

  const auto frame = [&](int page) {
    return dialog->findChild<QGroupBox*>(QStringLiteral("fraFrame_%1").arg(page));
  };
  ASSERT_NE(frame(0), nullptr);
  const int drop = std::max(0, frame(0)->contentsRect().top() - twipsToPixels(120));
  std::array<int, 5> perPage{};
  const auto check = [&](const QString& name, const Row& row) {
    SCOPED_TRACE(name.toStdString());
    QWidget* w = dialog->findChild<QWidget*>(name);
    ASSERT_NE(w, nullptr);
    if (row.page < 0) {
      EXPECT_EQ(w->parentWidget()->objectName(), QStringLiteral("picCommand"));
      EXPECT_EQ(w->geometry(), twipsRect(row.left, row.top, row.width, row.height));
    } else {
      ++perPage[static_cast<std::size_t>(row.page)];
      EXPECT_EQ(w->parentWidget(), frame(row.page));
      EXPECT_EQ(w->geometry(), twipsRect(row.left, row.top, row.width, row.height).translated(0, drop));
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
      EXPECT_EQ(label->text(), QString::fromUtf8(row.caption));
      EXPECT_EQ(label->wordWrap(), row.text == Wrapped);
      const Qt::Alignment align = row.text == Centred ? Qt::AlignHCenter | Qt::AlignVCenter
                                  : row.text == Top   ? Qt::Alignment(Qt::AlignTop)
                                  : row.text == Left  ? Qt::Alignment(Qt::AlignVCenter)
                                                      : Qt::AlignLeft | Qt::AlignVCenter;
      EXPECT_EQ(label->alignment(), align);
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
      EXPECT_EQ(button->text(), QString::fromUtf8(row.caption));
    }
  };
  for (const Row& row : rows) check(QString::fromUtf8(row.name), row);
  for (int i = 0; i < 18; ++i) check(QStringLiteral("txtTextBox_%1").arg(13 + i), grid[static_cast<std::size_t>(i)]);
  for (int page = 0; page < 5; ++page) {
    SCOPED_TRACE(page);
    QGroupBox* f = frame(page);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), perPage[static_cast<std::size_t>(page)]);
    EXPECT_EQ(f->contentsRect().top() - twipsToPixels(120), drop);
    const int heights[] = {1425, 1755, 3225, 2505, 3225};
    EXPECT_EQ(f->geometry(), twipsRect(120, 120, 10800, heights[page]).adjusted(0, 0, 0, drop));
  }
  // The tab strip round the widest and tallest frame, the button bar below it at the right.
  EXPECT_EQ(dialog->findChild<QWidget*>(QStringLiteral("picMyForm"))->geometry(), twipsRect(0, 0, 11520, 5225));
  EXPECT_EQ(dialog->tbsOptions()->geometry(), twipsRect(120, 120, 11280, 4225));
  EXPECT_EQ(dialog->findChild<QWidget*>(QStringLiteral("picCommand"))->geometry(), twipsRect(7665, 4465, 3615, 495));
  EXPECT_EQ(dialog->size(), twipsSize(11520, 5225));
}

// Three of the calculation conditions explain themselves; no other label does.
TEST_F(OptionsDialog, OnlyTheThreeConditionLabelsHaveAnExplanation) {
  auto dialog = open();
  const std::pair<const char*, const char*> tips[] = {
      {"lblLabel_3", "自動車荷重考慮時の荷重分布角を入力します。標準値は45°です。"},
      {"lblLabel_4", "自動車荷重考慮時の車両占有幅を入力します。標準値は2.75です。"},
      {"lblLabel_12", "浮上検討時の安全率を入力します。標準は1.2です。"},
  };
  int explained = 0;
  for (const QLabel* label : dialog->findChildren<QLabel*>()) {
    if (label->toolTip().isEmpty()) continue;
    ++explained;
    bool expected = false;
    for (const auto& [name, tip] : tips)
      if (label->objectName() == QLatin1String(name)) {
        expected = true;
        EXPECT_EQ(label->toolTip(), QString::fromUtf8(tip)) << name;
      }
    EXPECT_TRUE(expected) << label->objectName().toStdString();
  }
  EXPECT_EQ(explained, 3);
}

TEST_F(OptionsDialog, ApplyStoresInMemoryAndFileAndCancelKeepsIt) {
  auto dialog = open();
  EXPECT_FALSE(button(*dialog, frmOptions::kOk)->isEnabled());
  EXPECT_FALSE(button(*dialog, frmOptions::kApply)->isEnabled());
  type(*dialog, 0, "21.5");
  type(*dialog, 27, "0.2");  // Kp at 60°, on another page
  dialog->tbsOptions()->setCurrentIndex(kPageProgram);
  button(*dialog, frmOptions::kApply)->click();
  EXPECT_DOUBLE_EQ(g_calcSettings.tuchiTanniJuryo, 21.5);
  EXPECT_DOUBLE_EQ(g_calcSettings.shijikakuKeisu[2][2], 0.2);
  EXPECT_EQ(ini("土の単位体積重量"), "21.5");
  EXPECT_EQ(ini("Kp60"), "0.2");
  EXPECT_EQ(ini("K0"), "0.11");  // every key is written
  EXPECT_EQ(refreshes, 1);
  EXPECT_FALSE(button(*dialog, frmOptions::kApply)->isEnabled());
  EXPECT_TRUE(button(*dialog, frmOptions::kOk)->isEnabled());
  type(*dialog, 0, "30");  // edited after Apply, then cancelled: lost
  button(*dialog, frmOptions::kCancel)->click();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_DOUBLE_EQ(g_calcSettings.tuchiTanniJuryo, 21.5);
  EXPECT_EQ(ini("土の単位体積重量"), "21.5");
  EXPECT_EQ(open()->txtTextBox(0)->text(), QStringLiteral("21.50"));
}

TEST_F(OptionsDialog, EnterOnTheFocusedOkCancelOrApplyPressesIt) {
  auto dialog = open();
  // The Enter chain of a page ends on OK once a box is edited; Enter there stores and closes.
  type(*dialog, 1, "20.5");
  QTest::keyClick(dialog->txtTextBox(1), Qt::Key_Return);
  QTest::keyClick(dialog->txtTextBox(2), Qt::Key_Return);
  ASSERT_EQ(QApplication::focusWidget(), button(*dialog, frmOptions::kOk));
  QTest::keyClick(button(*dialog, frmOptions::kOk), Qt::Key_Escape);  // Escape presses nothing
  EXPECT_EQ(ini("飽和土単位体積重量"), "");
  QTest::keyClick(button(*dialog, frmOptions::kOk), Qt::Key_Return);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(ini("飽和土単位体積重量"), "20.5");

  auto again = open();
  type(*again, 0, "19");
  button(*again, frmOptions::kApply)->setFocus();
  QTest::keyClick(button(*again, frmOptions::kApply), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_DOUBLE_EQ(g_calcSettings.tuchiTanniJuryo, 19);
  EXPECT_FALSE(button(*again, frmOptions::kApply)->isEnabled());
  button(*again, frmOptions::kCancel)->setFocus();
  QTest::keyClick(button(*again, frmOptions::kCancel), Qt::Key_Return);
  EXPECT_EQ(again->result(), QDialog::Rejected);
}

TEST_F(OptionsDialog, ClearingTheHistoryEmptiesAllFourAtOnceAndLeavesOkAndApplyAlone) {
  EXPECT_FALSE(open()->cmdMRUClear()->isEnabled());
  g_recentFiles = {"", "", "/data/b.PIPEDATA", ""};
  app::履歴ファイル更新("");
  auto dialog = open();
  ASSERT_TRUE(dialog->cmdMRUClear()->isEnabled());
  dialog->cmdMRUClear()->click();
  EXPECT_EQ(g_recentFiles, (std::array<std::string, 4>{}));
  EXPECT_EQ(hides, 1);
  for (const char* key : {"FILE0", "FILE1", "FILE2", "FILE3"}) EXPECT_EQ(ini(key), "") << key;
  EXPECT_FALSE(dialog->cmdMRUClear()->isEnabled());
  EXPECT_FALSE(dialog->lblHistoryFileClearInfo()->isEnabled());
  EXPECT_TRUE(dialog->blnUnchanged());
  EXPECT_FALSE(button(*dialog, frmOptions::kOk)->isEnabled());
  EXPECT_FALSE(button(*dialog, frmOptions::kApply)->isEnabled());
}

TEST_F(OptionsDialog, CtrlTabSwitchesOnePageWhereverTheFocusIs) {
  g_recentFiles[3] = "/data/a.PIPEDATA";  // the last page has a control that takes the focus
  auto dialog = open();
  QTabWidget* tabs = dialog->tbsOptions();
  const auto ctrl = Qt::ControlModifier;
  const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> steps[] = {{Qt::Key_Tab, ctrl, 1},
                                                                   {Qt::Key_Backtab, ctrlShift, 0},
                                                                   {Qt::Key_Backtab, ctrlShift, 4},
                                                                   {Qt::Key_Tab, ctrl, 0},
                                                                   {Qt::Key_Tab, Qt::NoModifier, 0}};
  for (QWidget* focus : {static_cast<QWidget*>(dialog->txtTextBox(0)), static_cast<QWidget*>(button(*dialog, 1))}) {
    tabs->setCurrentIndex(0);
    focus->setFocus();
    for (const auto& [key, modifiers, expected] : steps) {
      QTest::keyClick(QApplication::focusWidget(), key, modifiers);
      EXPECT_EQ(tabs->currentIndex(), expected) << focus->objectName().toStdString();
    }
  }
}

TEST_F(OptionsDialog, AnAccessKeyStoresTheRawTextReformattedAndANonNumberStoresNothing) {
  auto dialog = open();
  type(*dialog, 12, QStringLiteral("１．３５"));  // still raw when Alt+A presses Apply
  QSignalSpy pressed(button(*dialog, frmOptions::kApply), &QPushButton::clicked);
  QTest::keyClick(dialog->txtTextBox(12), Qt::Key_A, Qt::AltModifier);
  ASSERT_TRUE(pressed.wait());  // an access key clicks its button from the event loop
  EXPECT_EQ(dialog->txtTextBox(12)->text(), QStringLiteral("1.4"));
  EXPECT_DOUBLE_EQ(g_calcSettings.fujoKentoAnzenritu, 1.4);

  const CalcSettings stored = g_calcSettings;
  type(*dialog, 0, "19");
  dialog->txtTextBox(29)->setText(QStringLiteral("abc"));  // a box never re-formatted
  button(*dialog, frmOptions::kOk)->click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->tbsOptions()->currentIndex(), kPageSupportAngle);
  EXPECT_EQ(dialog->focusWidget(), dialog->txtTextBox(29));
  EXPECT_EQ(g_calcSettings, stored);
  EXPECT_EQ(ini("土の単位体積重量"), "18");
  EXPECT_EQ(refreshes, 1);
  EXPECT_TRUE(errors.shown.empty());  // no error box, and no loop of them
}

TEST_F(OptionsDialog, AnImpossibleConstantIsNamedFocusedAndNothingIsStored) {
  // The page shown while the refusal is read: the refused box's own.
  struct PageWatch : testing::ScriptedMessageBox {
    MsgAnswer show(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override {
      if (tabs) pages.push_back(tabs->currentIndex());
      return testing::ScriptedMessageBox::show(text, buttons, icon, title);
    }
    QTabWidget* tabs = nullptr;
    std::vector<int> pages;
  } messages;
  Installed<MessageBoxService> installed = installMessageBox(messages);
  auto dialog = open();
  messages.tabs = dialog->tbsOptions();
  const CalcSettings stored = g_calcSettings;
  type(*dialog, 0, "19");     // a good value beside the bad one is not kept either
  type(*dialog, 5, "0");      // a wheel load of nothing
  type(*dialog, 31, "-0.1");  // read after the load: not the one reported
  dialog->tbsOptions()->setCurrentIndex(kPageProgram);
  button(*dialog, frmOptions::kOk)->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "後輪荷重(T-25)を0以下にすることは出来ません。");
  EXPECT_EQ(messages.pages, std::vector<int>{kPageLoads});
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->tbsOptions()->currentIndex(), kPageLoads);
  EXPECT_EQ(dialog->focusWidget(), dialog->txtTextBox(5));
  EXPECT_EQ(g_calcSettings, stored);
  EXPECT_EQ(ini("土の単位体積重量"), "");  // no file written
  EXPECT_EQ(refreshes, 0);
  // mended, Apply stores both
  type(*dialog, 5, "90");
  type(*dialog, 31, "0");
  button(*dialog, frmOptions::kApply)->click();
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_DOUBLE_EQ(g_calcSettings.korinKaju[0], 90);
  EXPECT_DOUBLE_EQ(g_calcSettings.shogekiKeisu[0].a, 0);
  EXPECT_DOUBLE_EQ(g_calcSettings.tuchiTanniJuryo, 19);
  EXPECT_EQ(refreshes, 1);
}

// The C library and Qt in a decimal-comma locale, where one is installed, and back afterwards.
struct DecimalCommaLocale {
  DecimalCommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"})
      if (!installed && std::setlocale(LC_ALL, name)) installed = name;
    if (!installed) {
      // The one the build generated, when the system has none.
      ::setenv("LOCPATH", TOVAKIN_TEST_LOCALES, 1);
      if (std::setlocale(LC_ALL, "de_DE.UTF-8")) installed = "de_DE.UTF-8 (generated)";
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  }
  ~DecimalCommaLocale() {
    QLocale::setDefault(previousQt);
    std::setlocale(LC_ALL, previous.c_str());
    ::unsetenv("LOCPATH");
  }
  std::string previous = std::setlocale(LC_ALL, nullptr);
  QLocale previousQt;
  const char* installed = nullptr;
};

TEST_F(OptionsDialog, NumbersUseAPointUnderADecimalCommaLocale) {
  DecimalCommaLocale locale;
  if (!locale.installed) GTEST_SKIP() << "no decimal-comma locale installed (see `locale -a`); generate de_DE.UTF-8";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",") << locale.installed;
  auto dialog = open();
  EXPECT_EQ(dialog->txtTextBox(2)->text(), QStringLiteral("9.80"));
  type(*dialog, 4, "3.25");
  type(*dialog, 31, "0,5");  // not the locale's point: refused, never cut to 0
  EXPECT_EQ(dialog->txtTextBox(31)->text(), QStringLiteral("0,5"));
  type(*dialog, 31, "0.5");
  dialog->txtTextBox(0)->setFocus();
  button(*dialog, frmOptions::kApply)->click();
  EXPECT_DOUBLE_EQ(g_calcSettings.sharyoSenyuHaba, 3.25);
  EXPECT_DOUBLE_EQ(g_calcSettings.shogekiKeisu[0].a, 0.5);
  EXPECT_EQ(dialog->txtTextBox(31)->text(), QStringLiteral("0.5"));
  EXPECT_EQ(ini("車両占有幅"), "3.25");
  EXPECT_EQ(ini("水の単位体積重量"), "9.8");
}

}  // namespace
}  // namespace tovakin::gui
