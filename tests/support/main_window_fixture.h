#pragma once
// The main window's tests: a settings store of their own for the window's placement, the
// program's state put back after every test, no document counted yet, reports writable, and
// every box, dialog and desktop program answered by the scripted doubles, so that nothing modal
// is shown and nothing is started.
#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <string>

#include "app/app_state.h"
#include "platform/common_dialog.h"
#include "platform/message_box.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "support/scripted_launcher.h"

namespace tovakin::testing {

// The program folder is the build's application folder; a test fixture that needs another sets
// g_app.g_appPath in its own SetUp after this one's.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settingsDir_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
    g_app.g_appPath = std::string(TOVAKIN_APPDIR) + "/";
    g_app.g_docCount = 0;
    g_app.g_excelVersion = 12;
  }
  // Qt's settings path is the process's: the next test finds the process's own again.
  void TearDown() override {
    g_app = saved_;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
  }

  ScriptedErrorBox errors;
  ScriptedMessageBox messages;
  Installed<MessageBoxService> messagesInstalled = installMessageBox(messages);
  ScriptedCommonDialog dialog;
  Installed<CommonDialog> dialogInstalled = installCommonDialog(dialog);
  ScriptedLauncher desktop;

 private:
  QTemporaryDir settingsDir_;
  AppState saved_ = g_app;
};

}  // namespace tovakin::testing
