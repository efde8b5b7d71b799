#pragma once
// The options dialog opened as the main window opens it, in a fresh program folder without a
// settings file, with the built-in settings and no recent file; the refresh of the documents and
// the hiding of the history items are counted unless a test passes its own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "app/recent_files.h"
#include "app/settings.h"
#include "dialogs/frm_options.h"
#include "support/scripted_error_box.h"
#include "ui/numeric_box.h"

namespace tovakin::testing {
using namespace tovakin::gui;

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
  ScriptedErrorBox errors;

 private:
  QTemporaryDir folder_;
  AppState saved_;
};

}  // namespace tovakin::testing
