// Every test process runs in a home of its own (support/test_home.cpp): the window placement the
// main window keeps through QSettings lands there and never in the developer's home; an instance
// leaves no file anywhere (its name is in the abstract socket namespace, keyed by its application
// folder, which each test has of its own).
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QSettings>
#include <QString>

#include "shell/main_window_rules.h"
#include "shell/single_instance.h"

namespace tovakin::gui {
namespace {

TEST(TestProcessHome, SettingsAndTheInstanceStayInTheProcessOwnFolders) {
  const QString home = qEnvironmentVariable("HOME");
  ASSERT_TRUE(home.contains(QStringLiteral("tovakin-test-home-"))) << home.toStdString();
  if (const passwd* user = ::getpwuid(::getuid())) {
    EXPECT_NE(home, QString::fromLocal8Bit(user->pw_dir));
  }
  for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
    EXPECT_TRUE(qEnvironmentVariable(variable).startsWith(home + QLatin1Char('/'))) << variable;

  const QSettings placement(QString::fromLatin1(kSettingsOrganization), QString::fromLatin1(kSettingsApplication));
  EXPECT_TRUE(placement.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME") + QLatin1Char('/')))
      << placement.fileName().toStdString();

  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  struct stat st {};
  ASSERT_EQ(::stat(runtime.toLocal8Bit().constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  {
    InstanceClaim claim(instanceName(home), [] { return QString(); });
    ASSERT_EQ(claim.claim(), InstanceClaim::Outcome::First);
    EXPECT_TRUE(QDir(runtime).isEmpty());
  }
}

}  // namespace
}  // namespace tovakin::gui
