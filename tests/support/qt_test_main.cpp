// The main of the windows' tests: the Qt application they need, on the offscreen platform unless
// a test run chooses another, prepared as the program prepares it (Japanese texts and faces).
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/application.h"

int main(int argc, char** argv) {
  // Listing the tests at build time happens without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  tovakin::gui::prepareApplication(application);
  // The window placement and other stored settings of a test run never reach the user's own:
  // the process has a home of its own (support/test_home.cpp), which the helper programs the
  // tests start inherit.
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
