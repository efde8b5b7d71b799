#include "ui/desktop_launcher.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "ui/desktop_entry.h"
#include "support/row_name.h"
#include "support/scripted_launcher.h"

namespace tovakin::gui {
namespace {

using Args = std::vector<std::string>;

struct ExecCase {
  const char* exec;
  std::optional<Args> words;
};

class ExecLines : public ::testing::TestWithParam<ExecCase> {};

TEST_P(ExecLines, SplitIntoProgramAndArguments) { EXPECT_EQ(splitExec(GetParam().exec), GetParam().words); }

INSTANTIATE_TEST_SUITE_P(
    Lines, ExecLines,
    ::testing::Values(ExecCase{"sheets --calc %U", Args{"sheets", "--calc", "%U"}},
                      ExecCase{"  sheets   %f  ", Args{"sheets", "%f"}},
                      ExecCase{R"("/opt/My Sheets/sheets" %F)", Args{"/opt/My Sheets/sheets", "%F"}},
                      ExecCase{R"(sh -c "echo \"$HOME\"")", Args{"sh", "-c", R"(echo "$HOME")"}},
                      ExecCase{R"("my\sviewer" %u)", Args{"my viewer", "%u"}},  // the entry format's escaped blank
                      ExecCase{R"(viewer "unclosed)", std::nullopt},
                      ExecCase{"   ", std::nullopt}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.exec); });

struct ExpandCase {
  Args arguments;
  Args files;
  Args expanded;
};

class ExecArguments : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(ExecArguments, TakeTheFilesWhereTheEntrySays) {
  EXPECT_EQ(expandExecArguments(GetParam().arguments, GetParam().files), GetParam().expanded);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ExecArguments,
    ::testing::Values(ExpandCase{{"--calc", "%U"}, {"/d/r.xlsx"}, {"--calc", "/d/r.xlsx"}},
                      ExpandCase{{"%F"}, {"/a", "/b"}, {"/a", "/b"}},
                      ExpandCase{{"%f"}, {"/a", "/b"}, {"/a"}},
                      ExpandCase{{"--file=%f"}, {"/a"}, {"--file=/a"}},
                      ExpandCase{{"%i", "%c", "%k", "%u"}, {"/a"}, {"/a"}},  // codes of no use here are dropped
                      ExpandCase{{"--rate=100%%"}, {"/a"}, {"--rate=100%", "/a"}},  // no file code: files follow
                      ExpandCase{{"%U"}, {}, {}},
                      ExpandCase{{}, {"/a"}, {"/a"}}),
                         [](const auto& info) { return ::tovakin::testing::rowName(info.index, info.param.arguments.empty() ? std::string() : info.param.arguments.front()); });

TEST(DesktopEntry, TheExecOfTheEntryGroupOnly) {
  EXPECT_EQ(desktopEntryExec("[Desktop Entry]\nName=Sheets\nExec=sheets %U\n[Desktop Action new]\nExec=sheets --new\n"),
            "sheets %U");
  EXPECT_EQ(desktopEntryExec("[Desktop Action new]\nExec=sheets --new\n[Desktop Entry]\r\nExec = sheets %F\r\n"),
            "sheets %F");
  EXPECT_EQ(desktopEntryExec("[Desktop Entry]\nName=No program\n"), std::nullopt);
}

// Answers the queries from a table and records every command line; starts nothing.
class FakeRunner final : public ProcessRunner {
 public:
  std::map<Args, std::string> answers;  // command line -> standard output
  bool starts = true;
  std::vector<Args> ran;
  std::vector<Args> started;

  std::optional<std::string> output(const std::string& program, const Args& arguments) override {
    Args line{program};
    line.insert(line.end(), arguments.begin(), arguments.end());
    ran.push_back(line);
    const auto it = answers.find(line);
    if (it == answers.end()) return std::nullopt;
    return it->second;
  }
  bool startDetached(const std::string& program, const Args& arguments) override {
    Args line{program};
    line.insert(line.end(), arguments.begin(), arguments.end());
    started.push_back(line);
    return starts;
  }
};

class XdgLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = std::filesystem::temp_directory_path() / ("tovakin-xdg-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root_ / "home/applications");
    std::filesystem::create_directories(root_ / "system/applications/office");
    std::filesystem::create_directories(root_ / "bin");
    paths_.applicationDirs = {(root_ / "home/applications").string(), (root_ / "system/applications").string()};
    paths_.programDirs = {(root_ / "nowhere").string(), (root_ / "bin").string()};
    entry("system/applications/office/sheets.desktop", "sheets --calc %U");
    program("bin/sheets");
    runner_.answers[{"xdg-mime", "query", "default", "application/vnd.ms-excel"}] = "office-sheets.desktop\n";
  }
  void TearDown() override { std::filesystem::remove_all(root_); }

  void entry(const std::string& relative, const std::string& exec) {
    std::ofstream(root_ / relative) << "[Desktop Entry]\nType=Application\nName=Sheets\nExec=" << exec << "\n";
  }
  void program(const std::string& relative) {
    std::ofstream(root_ / relative) << "#!/bin/sh\n";
    ::chmod((root_ / relative).c_str(), 0755);
  }
  std::string bin(const std::string& name) const { return (root_ / "bin" / name).string(); }

  std::filesystem::path root_;
  DesktopPaths paths_;
  FakeRunner runner_;
};

TEST_F(XdgLauncherTest, AWebPageGoesToXdgOpen) {
  XdgLauncher desktop(runner_, paths_);
  EXPECT_TRUE(desktop.openUrl("https://example.invalid/?a=1&b=2"));
  EXPECT_EQ(runner_.started, (std::vector<Args>{{"xdg-open", "https://example.invalid/?a=1&b=2"}}));
}

TEST_F(XdgLauncherTest, TheProgramOfAnExtensionComesFromItsEntryWithoutAnyFile) {
  XdgLauncher desktop(runner_, paths_);
  const auto found = desktop.defaultProgramFor("XLS");
  ASSERT_TRUE(found);
  EXPECT_EQ(*found, (DesktopProgram{"office-sheets.desktop", bin("sheets"), {"--calc", "%U"}}));
  EXPECT_EQ(runner_.ran, (std::vector<Args>{{"xdg-mime", "query", "default", "application/vnd.ms-excel"}}));
  EXPECT_TRUE(runner_.started.empty());
}

TEST_F(XdgLauncherTest, TheLookUpWithoutWaitingGivesTheSameAnswers) {
  XdgLauncher desktop(runner_, paths_);
  std::vector<std::optional<DesktopProgram>> answers;
  for (const char* extension : {"XLS", "pdf", "unknownextension"})
    desktop.findDefaultProgramFor(extension, [&](std::optional<DesktopProgram> p) { answers.push_back(p); });
  EXPECT_EQ(answers, (std::vector<std::optional<DesktopProgram>>{
                         DesktopProgram{"office-sheets.desktop", bin("sheets"), {"--calc", "%U"}}, std::nullopt,
                         std::nullopt}));
  EXPECT_EQ(runner_.ran, (std::vector<Args>{{"xdg-mime", "query", "default", "application/vnd.ms-excel"},
                                            {"xdg-mime", "query", "default", "application/pdf"}}));
}

TEST_F(XdgLauncherTest, NoProgramWhereTheDesktopNamesNoneOrItsEntryOrProgramIsMissing) {
  XdgLauncher desktop(runner_, paths_);
  EXPECT_EQ(desktop.defaultProgramFor("unknownextension"), std::nullopt);  // no type at all: nothing asked
  EXPECT_TRUE(runner_.ran.empty());
  EXPECT_EQ(desktop.defaultProgramFor("pdf"), std::nullopt);  // xdg-mime names nothing
  runner_.answers[{"xdg-mime", "query", "default", "application/pdf"}] = "missing.desktop\n";
  EXPECT_EQ(desktop.defaultProgramFor("pdf"), std::nullopt);
  entry("home/applications/missing.desktop", "not-installed %f");
  EXPECT_EQ(desktop.defaultProgramFor("pdf"), std::nullopt);
}

TEST_F(XdgLauncherTest, TheUsersOwnEntryComesFirst) {
  entry("home/applications/office-sheets.desktop", "\"" + bin("my sheets") + "\" %f");
  program("bin/my sheets");
  XdgLauncher desktop(runner_, paths_);
  const auto found = desktop.defaultProgramFor("xls");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->program, bin("my sheets"));
}

TEST_F(XdgLauncherTest, AFileOpensInItsTypesProgramWithAnArgumentList) {
  const std::string report = (root_ / "DATA/QX0001 計算書.xlsx").string();
  runner_.answers[{"xdg-mime", "query", "filetype", report}] = "application/vnd.ms-excel\n";
  XdgLauncher desktop(runner_, paths_);
  EXPECT_EQ(desktop.openFile(report), OpenOutcome::Started);
  EXPECT_EQ(runner_.started, (std::vector<Args>{{bin("sheets"), "--calc", report}}));

  runner_.starts = false;
  EXPECT_EQ(desktop.openFile(report), OpenOutcome::Failed);
  runner_.answers[{"xdg-mime", "query", "filetype", report}] = "application/x-nothing-opens-this\n";
  EXPECT_EQ(desktop.openFile(report), OpenOutcome::NoProgram);
}

TEST_F(XdgLauncherTest, StartingAProgramPassesItsArgumentsAsTheyAre) {
  XdgLauncher desktop(runner_, paths_);
  EXPECT_TRUE(desktop.startProgram(bin("sheets"), {"a b.xlsx", "; echo x", "$(x)"}));
  EXPECT_EQ(runner_.started, (std::vector<Args>{{bin("sheets"), "a b.xlsx", "; echo x", "$(x)"}}));
}

TEST(QProcessRunner, AToolsAnswerWithoutWaitingComesOnceThroughTheEventLoop) {
  QProcessRunner runner;
  std::vector<std::optional<std::string>> answers;
  const auto record = [&](std::optional<std::string> a) { answers.push_back(std::move(a)); };
  runner.outputLater("printf", {"%s", "application/pdf"}, record);
  runner.outputLater("false", {}, record);
  runner.outputLater("tovakin-no-such-program", {}, record);
  EXPECT_LT(answers.size(), 3u) << "the started ones answer later";
  ASSERT_TRUE(QTest::qWaitFor([&] { return answers.size() == 3; }, 10000));
  QTest::qWait(50);  // nothing answers twice
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(std::count(answers.begin(), answers.end(), std::optional<std::string>("application/pdf")), 1);
  EXPECT_EQ(std::count(answers.begin(), answers.end(), std::nullopt), 2);
}

TEST(QProcessRunner, ReadsAToolsAnswerAndReportsAFailure) {
  QProcessRunner runner;
  EXPECT_EQ(runner.output("printf", {"%s", "application/pdf"}), "application/pdf");
  EXPECT_EQ(runner.output("false", {}), std::nullopt);
  EXPECT_EQ(runner.output("tovakin-no-such-program", {}), std::nullopt);
}

TEST(KnownDefaultProgram, ACommandWaitsForTheQuestionAlreadyOutInsteadOfAskingAgain) {
  struct SlowDesktop : ::tovakin::testing::ScriptedLauncher {  // answers when told to, as xdg-mime a second later
    void findDefaultProgramFor(const std::string&, ProgramAnswer answer) override { asked.push_back(answer); }
    std::vector<ProgramAnswer> asked;
  } desktop;
  const DesktopProgram sheets{"sheets.desktop", "/usr/bin/sheets", {"%F"}};
  std::optional<DesktopProgram> menuHeard;
  askDefaultProgramFor("xlsx", [&](std::optional<DesktopProgram> p) { menuHeard = p; });  // the menu opening
  QTimer::singleShot(0, [&] {
    for (const auto& answer : std::vector(desktop.asked)) answer(sheets);
  });
  EXPECT_EQ(knownDefaultProgram("xlsx"), sheets);
  EXPECT_EQ(menuHeard, sheets);
  EXPECT_EQ(desktop.asked.size(), 1u);
}

}  // namespace
}  // namespace tovakin::gui
