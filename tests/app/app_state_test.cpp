#include "app/app_state.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "platform/file_system.h"

namespace tovakin::app {
namespace {

// Sets or removes an environment variable for one test and puts the old value back.
class EnvVar {
 public:
  EnvVar(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = ::getenv(name)) old_ = old;
    if (value) ::setenv(name, value->c_str(), 1);
    else ::unsetenv(name);
  }
  ~EnvVar() {
    if (old_) ::setenv(name_, old_->c_str(), 1);
    else ::unsetenv(name_);
  }
  EnvVar(const EnvVar&) = delete;
  EnvVar& operator=(const EnvVar&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

class MyFlagSetTest : public ::testing::Test {
 protected:
  void TearDown() override { setAppFolderOverride(std::nullopt); }
};

TEST_F(MyFlagSetTest, FillsEveryMember) {
  EnvVar temp("TEMP", "/var/tmp/tovakin");
  g_app.g_docCount = 17;
  g_app.g_reportPath = "/old/report.xlsx";
  g_app.g_excelVisible = -1;
  setAppFolderOverride("/opt/Tovakin");
  MyFlagSet();
  EXPECT_EQ(g_app.g_appPath, "/opt/Tovakin/");
  EXPECT_EQ(g_app.g_tempDir, "/var/tmp/tovakin/");
  EXPECT_EQ(g_app.g_excelVersion, 12);
  EXPECT_EQ(g_app.g_templatePath, "/opt/Tovakin/DATABASE/QXWork.xlsx");
  EXPECT_EQ(g_app.g_reportPath, "");
  EXPECT_EQ(g_app.g_excelVisible, 0);
  EXPECT_EQ(g_app.g_docCount, 0);
}

// The installed probe decides whether reports can be written; one that fails means none.
TEST_F(MyFlagSetTest, TheInstalledProbeDecidesTheWriterVersion) {
  struct Probe final : ExcelProbe {
    std::int16_t version() override { return fails ? throw std::runtime_error("no writer") : answer; }
    std::int16_t answer = 8;
    bool fails = false;
  } probe;
  {
    const auto installed = installExcelProbe(probe);
    MyFlagSet();
    EXPECT_EQ(g_app.g_excelVersion, 8);
    probe.fails = true;
    EXPECT_EQ(funcExcelVersion(), -1);
  }
  EXPECT_EQ(funcExcelVersion(), 12);
}

TEST_F(MyFlagSetTest, WithoutOverrideTakesTheExecutablesFolder) {
  MyFlagSet();
  EXPECT_EQ(g_app.g_appPath, executableDir());
  EXPECT_EQ(g_app.g_appPath.back(), '/');
}

TEST_F(MyFlagSetTest, TempFallsBackToTheAppFolder) {
  setAppFolderOverride("/opt/Tovakin/");
  {
    EnvVar temp("TEMP", std::nullopt);
    MyFlagSet();
    EXPECT_EQ(g_app.g_tempDir, "/opt/Tovakin/");
  }
  {
    EnvVar temp("TEMP", "");
    MyFlagSet();
    EXPECT_EQ(g_app.g_tempDir, "/opt/Tovakin/");
  }
  {
    EnvVar temp("TEMP", "/scratch/");
    MyFlagSet();
    EXPECT_EQ(g_app.g_tempDir, "/scratch/");  // no doubled slash
  }
}

TEST(SetEnvTest, ExactCaseSensitiveNames) {
  EnvVar upper("TOVAKIN_TEST_VAR", "x=y");
  EnvVar lower("tovakin_test_var", std::nullopt);
  EnvVar longer("TOVAKIN_TEST_VAR2", "other");
  EXPECT_EQ(Set_Env(""), "");
  EXPECT_EQ(Set_Env("TOVAKIN_TEST_VAR"), "x=y");  // the value may hold "=" itself
  EXPECT_EQ(Set_Env("tovakin_test_var"), "");
  EXPECT_EQ(Set_Env("TOVAKIN_TEST"), "");        // a prefix of a name is not the name
  EXPECT_EQ(Set_Env("TOVAKIN_TEST_VAR2"), "other");
}

TEST(TempDirCustomTest, FallbackIsReturnedUnchanged) {
  EnvVar temp("TEMP", std::nullopt);
  EXPECT_EQ(Temp_DirCustom("relative/folder"), "relative/folder");
  EXPECT_EQ(Temp_DirCustom(""), "");
}

}  // namespace
}  // namespace tovakin::app
