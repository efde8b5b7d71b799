#include "dialogs/frm_options.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
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
#include "dialogs/numeric_box.h"
#include "document/frm_document.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"

namespace tovakin::gui {
namespace {

// A fresh program folder without a settings file, the built-in settings, no recent file.
class OptionsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    saved_ = g_app;
    g_app.g_appPath = folder_.path().toStdString() + "/";
    QDir(folder_.path()).mkpath(QStringLiteral("IMAGE"));
    QFile::copy(QStringLiteral(TOVAKIN_APPDIR "/IMAGE/KANA.ico"), folder_.filePath(QStringLiteral("IMAGE/KANA.ico")));
    g_calcSettings = app::builtInCalcSettings();
    g_recentFiles = {};
  }
  void TearDown() override {
    g_app = saved_;
    g_calcSettings = app::builtInCalcSettings();
    g_recentFiles = {};
  }
  std::unique_ptr<frmOptions> open(QWidget* parent = nullptr, std::function<void()> refresh = {}) {
    if (!refresh) refresh = [this] { ++refreshes; };
    auto dialog = std::make_unique<frmOptions>(parent, OptionsOpener{refresh, [this] { ++hides; }});
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    return dialog;
  }
  // Types as a user does: the page shown, the box focused; full-width text through the input method.
  static void type(frmOptions& dialog, int index, const QString& text) {
    dialog.tbsOptions()->setCurrentIndex(optionsBoxes()[static_cast<std::size_t>(index)].page);
    dialog.txtTextBox(index)->focusAndSelect();
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(dialog.txtTextBox(index), &commit);
  }
  std::string ini(const char* key) const { return app::myINIRead(app::settingsFilePath(), "Tovakin", key, 4096); }
  static QPushButton* button(frmOptions& d, int i) { return d.cmdCommand(i); }

  int refreshes = 0;
  int hides = 0;
  testing::ScriptedErrorBox errors;

 private:
  QTemporaryDir folder_;
  AppState saved_;
};

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

TEST_F(OptionsDialog, OkKeepsTheMembersWithoutABoxAndRefreshesEachOpenDocumentUnchanged) {
  g_calcSettings.korinKaju[4] = 7;
  g_calcSettings.buruKaju[0].a = 33;
  g_calcSettings.shijikakuKeisu[4][0] = 0.1234;  // from a hand-edited file
  QWidget mainWindow;
  std::vector<std::unique_ptr<frmDocument>> documents;
  for (int i = 0; i < 3; ++i) documents.push_back(std::make_unique<frmDocument>(&mainWindow));
  std::vector<frmDocument*> refreshed;
  auto dialog = open(&mainWindow, [&] {
    for (auto& d : documents) refreshed.push_back(d.get());
  });
  type(*dialog, 10, "0.95");
  button(*dialog, frmOptions::kOk)->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_DOUBLE_EQ(g_calcSettings.betaT25Igai, 0.95);
  EXPECT_DOUBLE_EQ(g_calcSettings.korinKaju[4], 7);
  EXPECT_DOUBLE_EQ(g_calcSettings.buruKaju[0].a, 33);
  EXPECT_DOUBLE_EQ(g_calcSettings.shijikakuKeisu[4][0], 0.123);  // stored as shown
  EXPECT_EQ(ini("後輪荷重T0"), "7");
  ASSERT_EQ(refreshed.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(refreshed[i], documents[i].get());
    EXPECT_TRUE(documents[i]->blnUnchanged()) << "document " << i;
  }
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
  testing::ScriptedMessageBox messages;
  Installed<MessageBoxService> installed = installMessageBox(messages);
  auto dialog = open();
  const CalcSettings stored = g_calcSettings;
  type(*dialog, 0, "19");     // a good value beside the bad one is not kept either
  type(*dialog, 5, "0");      // a wheel load of nothing
  type(*dialog, 31, "-0.1");  // read after the load: not the one reported
  dialog->tbsOptions()->setCurrentIndex(kPageProgram);
  button(*dialog, frmOptions::kOk)->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "後輪荷重(T-25)を0以下にすることは出来ません。");
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
  type(*dialog, 31, "0,5");  // a comma ends the number
  dialog->txtTextBox(0)->setFocus();
  button(*dialog, frmOptions::kApply)->click();
  EXPECT_DOUBLE_EQ(g_calcSettings.sharyoSenyuHaba, 3.25);
  EXPECT_DOUBLE_EQ(g_calcSettings.shogekiKeisu[0].a, 0);
  EXPECT_EQ(dialog->txtTextBox(31)->text(), QStringLiteral("0.0"));
  EXPECT_EQ(ini("車両占有幅"), "3.25");
  EXPECT_EQ(ini("水の単位体積重量"), "9.8");
}

}  // namespace
}  // namespace tovakin::gui
