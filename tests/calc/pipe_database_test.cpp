// The pipe database: rebuild from workbooks the tests write, the lookups on it through the free
// lookup functions, the live sheets and the Japanese order.
#include "calc/pipe_database.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

#include "calc/pipe_calc.h"
#include "calc/pipe_lookups.h"
#include "support/fake_pipe_source.h"
#include "support/hang_limit.h"
#include "support/pipe_db_workbook.h"
#include "support/scripted_error_box.h"

namespace tovakin::testing {
using namespace tovakin::calc;
namespace {

using Rows = std::vector<std::vector<std::string>>;
namespace fs = std::filesystem;

class PipeDatabaseTest : public ::testing::Test {
 protected:
  void build(const Sheets& sheets = baseSheets()) {
    app.write(sheets);
    ASSERT_EQ(app.rebuild(), std::vector<std::string>{});
  }
  DesignData pipe(const std::string& kanshu, const std::string& kikaku, const std::string& yobikei) {
    DesignData d;
    d.kanshu = kanshu;
    d.kikaku = kikaku;
    d.yobikei = yobikei;
    return d;
  }

  TestApp app;
  SqlitePipeDataSource source{app.path()};
  Installed<PipeDataSource> installed = installPipeDataSource(&source);
};

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(PipeDatabaseTest, RebuildCopiesRigidThenFlexibleRowsAndLinksTheOtherSheets) {
  build();
  EXPECT_EQ(app.query("SELECT 管種, 呼び径, ひびわれ外圧 FROM 管DB ORDER BY rowid"),
            (Rows{{"ヒューム管", "300", "18"}, {"ヒューム管", "62.5", "7"}, {"鋼管", "400", "<null>"},
                  {"ヒューム管", "300", "99"}}));
  EXPECT_EQ(app.query("SELECT name FROM sqlite_master WHERE type = 'table' AND name <> 'MSysLinks' ORDER BY rowid"),
            (Rows{{"不とう性管"}, {"とう性管"}, {"管DB"}, {"管材データ"}, {"モーメント係数"}, {"標準溝幅"}}));
  EXPECT_EQ(app.query("SELECT count(*) FROM sqlite_master WHERE type = 'index'"), (Rows{{"0"}}));
  // A number cell in a text column reads as its shortest decimal text.
  EXPECT_EQ(app.query("SELECT 呼び径, typeof(呼び径) FROM 標準溝幅"), (Rows{{"100以下", "text"}, {"150", "text"}}));
}

TEST_F(PipeDatabaseTest, RebuildReplacesAnOldDatabaseAndLeavesNothingElseBehind) {
  app.write(baseSheets());
  writeFile(app.database(), "not a database at all");
  writeFile(app.database() + "-journal", "stale journal of the old file");
  EXPECT_EQ(app.rebuild(), std::vector<std::string>{});
  EXPECT_EQ(app.query("SELECT count(*) FROM 管DB"), (Rows{{"4"}}));
  std::set<std::string> files;
  for (const auto& e : fs::directory_iterator(fs::path(app.database()).parent_path()))
    files.insert(e.path().filename().string());
  EXPECT_EQ(files, (std::set<std::string>{"Tovakin.MDB", "Tovakin.xlsx"}));

  // The next start rebuilds from the workbook as it is then.
  Sheets sheets = baseSheets();
  sheetOf(sheets, "とう性管").resize(1);
  build(sheets);
  EXPECT_EQ(app.query("SELECT count(*) FROM 管DB"), (Rows{{"2"}}));
}

// A rebuild that cannot complete leaves the database of the last good start in place: the pipe
// lists do not go empty.
TEST_F(PipeDatabaseTest, AFailedRebuildKeepsThePreviousDatabaseAndSaysSo) {
  const std::string kept = " 前回のデータベース '" + app.database() +
                           "' をそのまま使います。ブックを直して Tovakin を起動し直すと、データベースを作り直します。";
  const struct {
    const char* what;
    std::function<void()> spoil;
    std::string box;
  } cases[] = {
      {"workbook missing", [&] { fs::remove(app.workbook()); },
       "ファイル '" + app.workbook() + "' が見つかりません。" + kept + "(3024)\n in CreateMyDatabase"},
      {"sheet missing",
       [&] {
         Sheets sheets = baseSheets();
         std::erase_if(sheets, [](const auto& s) { return s.first == "とう性管"; });
         app.write(sheets);
       },
       "シート 'とう性管' がブック '" + app.workbook() + "' に見つかりません。" + kept + "(3011)\n in CreateMyDatabase"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    build();
    c.spoil();
    const std::string before = readFile(app.database());
    EXPECT_EQ(app.rebuild(), std::vector<std::string>{c.box});
    EXPECT_EQ(readFile(app.database()), before);
    EXPECT_EQ(app.query("SELECT count(*) FROM 管DB"), (Rows{{"4"}}));
    for (const auto& e : fs::directory_iterator(fs::path(app.database()).parent_path()))
      EXPECT_EQ(e.path().filename().string().find(".tovakin-tmp."), std::string::npos) << e.path();
  }
}

TEST_F(PipeDatabaseTest, HeaderOnlyPipeSheetsGiveAnEmptyPipeTable) {
  Sheets sheets = baseSheets();
  sheetOf(sheets, "不とう性管").resize(1);
  sheetOf(sheets, "とう性管").resize(1);
  build(sheets);
  EXPECT_EQ(app.query("SELECT count(*) FROM 管DB"), (Rows{{"0"}}));
  EXPECT_TRUE(source.pipeTypes().empty());
  ScriptedErrorBox box;
  EXPECT_EQ(func許容内水圧PC(pipe("ヒューム管", "1種", "300")), 0.0);
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(PipeDatabaseTest, DuplicateRowsAndExtraColumnsAreCopiedWhole) {
  Sheets sheets = baseSheets();
  for (const char* name : {"不とう性管", "とう性管"}) {
    Sheet& s = sheetOf(sheets, name);
    s[0].push_back("備考");
    for (std::size_t r = 1; r < s.size(); ++r) s[r].push_back(std::string(name) + std::to_string(r));
    s.push_back(s[1]);
  }
  build(sheets);
  EXPECT_EQ(app.query("SELECT 管種, 呼び径, 備考 FROM 管DB ORDER BY rowid"),
            (Rows{{"ヒューム管", "300", "不とう性管1"}, {"ヒューム管", "62.5", "不とう性管2"},
                  {"ヒューム管", "300", "不とう性管1"}, {"鋼管", "400", "とう性管1"}, {"ヒューム管", "300", "とう性管2"},
                  {"鋼管", "400", "とう性管1"}}));
  EXPECT_EQ(func許容内水圧PC(pipe("ヒューム管", "1種", "300")), 18.0);  // the first row, a rigid one
}

TEST_F(PipeDatabaseTest, AFlexibleColumnTheRigidSheetLacksStopsOnlyTheFlexibleCopy) {
  Sheets sheets = baseSheets();
  Sheet& flexible = sheetOf(sheets, "とう性管");
  flexible[0].push_back("継手形式");
  flexible[1].push_back("溶接");
  app.write(sheets);
  const auto shown = app.rebuild();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("'継手形式'"), std::string::npos) << shown[0];
  EXPECT_TRUE(endsWith(shown[0], "(3127)\n in CreateMyDatabase")) << shown[0];
  EXPECT_EQ(app.query("SELECT 管種, 呼び径 FROM 管DB ORDER BY rowid"),
            (Rows{{"ヒューム管", "300"}, {"ヒューム管", "62.5"}}));
  EXPECT_EQ(管材の単位体積重量("鋼管"), 77.0);  // the rest of the rebuild went on
}

TEST_F(PipeDatabaseTest, WhatTheWorkbookLacksIsNamedInOneErrorBox) {
  struct Case {
    std::string what;        // the sheet to drop, "column", "workbook" or "garbage"
    std::string named;       // the text the box must contain
    std::string numberText;  // "(n)"
  };
  const std::vector<Case> cases = {
      {"workbook", "Tovakin.xlsx", "(3024)"},
      {"garbage", "Tovakin.xlsx", "(3274)"},
      {"不とう性管", "'不とう性管'", "(3011)"},
      {"とう性管", "'とう性管'", "(3011)"},
      {"管材データ", "'管材データ'", "(3011)"},
      {"モーメント係数", "'モーメント係数'", "(3011)"},
      {"標準溝幅", "'標準溝幅'", "(3011)"},
      {"column", "'弾性係数'", "(3265)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TestApp local;
    Sheets sheets = baseSheets();
    if (c.what == "column") {
      for (auto& row : sheetOf(sheets, "管材データ")) row.erase(row.begin() + 2);
    } else {
      std::erase_if(sheets, [&](const auto& s) { return s.first == c.what; });
    }
    if (c.what == "garbage") {
      writeFile(local.workbook(), "PK not really a zip");
    } else if (c.what != "workbook") {
      local.write(sheets);
    }
    const auto shown = local.rebuild();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(c.named), std::string::npos) << shown[0];
    EXPECT_TRUE(endsWith(shown[0], c.numberText + "\n in CreateMyDatabase")) << shown[0];
    EXPECT_TRUE(fs::exists(local.database()));
  }
}

TEST_F(PipeDatabaseTest, LookupsOnWhatTheRebuildCouldNotMakeShowTheirOwnBox) {
  Sheets sheets = baseSheets();
  std::erase_if(sheets, [](const auto& s) { return s.first == "管材データ" || s.first == "不とう性管"; });
  app.write(sheets);
  EXPECT_EQ(app.rebuild().size(), 1u);  // the first failure is the rebuild's one box
  ScriptedErrorBox box;
  EXPECT_EQ(管材の単位体積重量("鋼管"), 0.0);
  EXPECT_EQ(func管材区分("鋼管"), 0);  // after Ignore: the value the lookup started from
  EXPECT_EQ(funcEI値("鋼管", "STW", 400), 0.0);
  ASSERT_EQ(box.shown.size(), 3u);
  EXPECT_TRUE(endsWith(box.shown[0], "を起動し直して下さい。(3078)\n in 管材の単位体積重量")) << box.shown[0];
  EXPECT_NE(box.shown[0].find(app.workbook()), std::string::npos) << box.shown[0];
  EXPECT_TRUE(endsWith(box.shown[1], "\n in func管材区分")) << box.shown[1];
  EXPECT_NE(box.shown[2].find("管DB"), std::string::npos) << box.shown[2];

  // Inside one action the user is told once, and the action knows its values are missing.
  box.shown.clear();
  PipeDataAction action;
  EXPECT_EQ(管材の単位体積重量("鋼管"), 0.0);
  EXPECT_EQ(func管材区分("鋼管"), 0);
  EXPECT_TRUE(pipeTypeList().empty());
  EXPECT_EQ(管材の単位体積重量("ヒューム管"), 0.0);
  EXPECT_EQ(box.shown.size(), 1u);
  EXPECT_TRUE(action.failed());
}

// Without any database worth the name nothing is calculated: one box, and the run is incomplete.
TEST_F(PipeDatabaseTest, WithoutAUsableDatabaseTheCalculationRefusesInOneBox) {
  writeFile(app.workbook(), "PK not really a zip");
  EXPECT_EQ(app.rebuild().size(), 1u);
  const std::optional<std::string> why = source.unavailable();
  ASSERT_TRUE(why.has_value());
  EXPECT_NE(why->find(app.workbook()), std::string::npos) << *why;
  EXPECT_EQ(pipeDataUnavailable(), why);

  ScriptedErrorBox box;
  DesignData d = pipe("鋼管", "STW", "400");
  CalcResult r;
  r.kanzaiKubun = 7.0;
  EXPECT_FALSE(funcPipeCalc(d, r));
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0], *why + "(3024)\n in funcPipeCalc");
  EXPECT_EQ(r.kanzaiKubun, 7.0);  // nothing calculated

  build();  // a clean rebuild makes the database usable again
  EXPECT_EQ(source.unavailable(), std::nullopt);
}

// A failed rebuild keeps the previous database, and the program works on it as it stood: no
// lookup reads the refused workbook again, none shows a box, until the workbook reads cleanly.
TEST_F(PipeDatabaseTest, TheKeptDatabaseAnswersEveryLookupUntilTheWorkbookReadsCleanly) {
  const struct {
    const char* what;
    std::function<void()> spoil;
  } cases[] = {
      {"missing", [&] { fs::remove(app.workbook()); }},
      {"garbage", [&] { writeFile(app.workbook(), "PK not really a zip"); }},
      {"sheet missing",
       [&] {
         Sheets sheets = baseSheets();
         std::erase_if(sheets, [](const auto& s) { return s.first == "標準溝幅"; });
         app.write(sheets);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    build();
    c.spoil();
    EXPECT_EQ(app.rebuild().size(), 1u);
    EXPECT_EQ(source.unavailable(), std::nullopt);
    ScriptedErrorBox box;
    std::string size = "150";
    EXPECT_EQ(管材の単位体積重量("ヒューム管"), 24.5);
    EXPECT_EQ(func管材区分("鋼管"), 2);
    EXPECT_EQ(func曲げモーメント係数(1, 0, 90, 0), 0.314);
    EXPECT_EQ(func標準溝幅(size), 550.0);
    EXPECT_EQ(func許容内水圧PC(pipe("ヒューム管", "1種", "300")), 18.0);
    EXPECT_EQ(pipeTypeList().size(), 2u);
    EXPECT_EQ(box.shown, std::vector<std::string>{});

    // A mended workbook is read live again.
    Sheets mended = baseSheets();
    sheetOf(mended, "管材データ")[1][1] = "23";
    app.write(mended);
    EXPECT_EQ(管材の単位体積重量("ヒューム管"), 23.0);
    EXPECT_EQ(func標準溝幅(size), 550.0);
    EXPECT_EQ(box.shown, std::vector<std::string>{});
  }
}

// Hostile workbooks are refused from the sheets' sizes, without reading the grid, whether the
// program starts with a previous database or without one, and the refusal names the workbook and
// the sheet. What the refusal takes is measured in bench/ (BM_CreateMyDatabase_hostile, 5
// to 20 ms); here only a hang, or a read of the whole grid, is caught.
TEST_F(PipeDatabaseTest, HostileWorkbooksAreRefusedWithinTheirBounds) {
  // Every sheet as wide and as tall as the grid: a cell in column XFD and one on the last row.
  std::vector<std::pair<std::string, std::string>> hostile;
  for (const auto& [name, rows] : baseSheets())
    hostile.emplace_back(name, sheetXml("<row r=\"1\"><c r=\"XFD1\"><v>1</v></c></row>"
                                        "<row r=\"1048576\"><c r=\"A1048576\"><v>1</v></c></row>"));
  for (bool previous : {false, true}) {
    SCOPED_TRACE(previous ? "with a previous database" : "without one");
    TestApp local;
    if (previous) {
      local.write(baseSheets());
      EXPECT_EQ(local.rebuild(), std::vector<std::string>{});
    }
    writeZip(local.workbook(), minimalWorkbook(hostile));
    const auto began = std::chrono::steady_clock::now();
    const auto shown = local.rebuild();
    const auto took = std::chrono::steady_clock::now() - began;
    EXPECT_LT(took, hangLimit(std::chrono::seconds(1)));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("シート '不とう性管' は 16384 列あります。読める列は 2000 列まで"), std::string::npos)
        << shown[0];
    EXPECT_NE(shown[0].find(local.workbook()), std::string::npos) << shown[0];
    EXPECT_TRUE(endsWith(shown[0], "(3190)\n in CreateMyDatabase")) << shown[0];
  }
}

TEST_F(PipeDatabaseTest, LookupsWithoutADatabaseReportTheMissingFileAndCreateNone) {
  ScriptedErrorBox box;
  EXPECT_EQ(funcσa("鋼管"), 0.0);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0], "ファイル '" + app.database() + "' が見つかりません。(3024)\n in funcσa");
  EXPECT_FALSE(fs::exists(app.database()));
}

TEST_F(PipeDatabaseTest, ARebuildWithoutItsFolderFailsInOneBox) {
  fs::remove_all(fs::path(app.database()).parent_path());
  const auto shown = app.rebuild();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(endsWith(shown[0], "(76)\n in CreateMyDatabase")) << shown[0];
}

// Retry repeats the failing step with the workbook as it is saved now.
TEST_F(PipeDatabaseTest, RetryReadsTheWorkbookAgain) {
  Sheets sheets = baseSheets();
  std::erase_if(sheets, [](const auto& s) { return s.first == "標準溝幅"; });
  app.write(sheets);
  struct MendingBox final : ErrorBox {
    const TestApp* app = nullptr;
    std::vector<std::string> shown;
    ErrorAnswer show(const std::string& text, const std::string&) override {
      shown.push_back(text);
      if (shown.size() > 1) return ErrorAnswer::Ignore;
      app->write(baseSheets());
      return ErrorAnswer::Retry;
    }
  } box;
  box.app = &app;
  {
    const auto installed = installErrorBox(box);
    CreateMyDatabase(app.path());
  }
  EXPECT_EQ(box.shown.size(), 1u);
  std::string size = "150";
  EXPECT_EQ(func標準溝幅(size), 550.0);
}

TEST_F(PipeDatabaseTest, SharedAndInlineStringsAndNumbersStoredAsText) {
  // 管種 inline, 規格 shared, 呼び径 a number stored as text with a trailing blank, ひびわれ外圧 a
  // text that is no number.
  const std::string header =
      "<row r=\"1\">" + [] {
        std::string cells;
        for (std::size_t i = 0; i < kPipeHeader.size(); ++i)
          cells += "<c r=\"" + std::string(1, static_cast<char>('A' + i)) + "1\" t=\"s\"><v>" + std::to_string(i) +
                   "</v></c>";
        return cells;
      }() + "</row>";
  std::vector<std::string> shared;
  for (const auto& h : kPipeHeader) shared.push_back("<t>" + h + "</t>");
  shared.push_back("<r><t>1</t></r><r><t>種</t></r>");  // rich text runs: "1種"
  const std::string rigid = header +
                            "<row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>ヒューム管</t></is></c>"
                            "<c r=\"B2\" t=\"s\"><v>10</v></c>"
                            "<c r=\"C2\" t=\"inlineStr\"><is><t>300 </t></is></c>"
                            "<c r=\"D2\"><v>360</v></c>"
                            "<c r=\"H2\" t=\"inlineStr\"><is><t>abc</t></is></c>"
                            "<c r=\"I2\" t=\"str\"><f>0.25*2</f><v>0.5</v></c></row>";
  auto simple = [](const std::vector<std::string>& names) {
    std::string cells;
    for (std::size_t i = 0; i < names.size(); ++i)
      cells += "<c r=\"" + std::string(1, static_cast<char>('A' + i)) + "1\" t=\"inlineStr\"><is><t>" + names[i] +
               "</t></is></c>";
    return sheetXml("<row r=\"1\">" + cells + "</row>");
  };
  writeZip(app.workbook(),
           minimalWorkbook({{"不とう性管", sheetXml(rigid)},
                            {"とう性管", sheetXml(header)},
                            {"管材データ", simple({"管種", "単位体積重量", "弾性係数", "管材区分", "引張応力", "許容引張応力度"})},
                            {"モーメント係数", simple({"対象管", "対象荷重", "設計支持角", "支承条件", "係数"})},
                            {"標準溝幅", simple({"呼び径", "BS値"})}},
                           sharedStringsXml(shared)));
  ASSERT_EQ(app.rebuild(), std::vector<std::string>{});
  ScriptedErrorBox box;
  EXPECT_EQ(func許容内水圧HC(pipe("ヒューム管", "1種", "300")), 500.0);
  EXPECT_EQ(func許容内水圧PC(pipe("ヒューム管", "1種", "300")), 0.0);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_NE(box.shown[0].find("ひびわれ外圧"), std::string::npos) << box.shown[0];
  EXPECT_TRUE(endsWith(box.shown[0], "(13)\n in func許容内水圧PC")) << box.shown[0];
}

TEST_F(PipeDatabaseTest, LinkedSheetsReadTheWorkbookAsSavedWhilePipesKeepTheStartUpRows) {
  build();
  EXPECT_EQ(管材の単位体積重量("ヒューム管"), 24.5);
  Sheets edited = baseSheets();
  sheetOf(edited, "管材データ")[1][1] = "23";
  sheetOf(edited, "不とう性管")[1][7] = "20";
  app.write(edited);
  EXPECT_EQ(管材の単位体積重量("ヒューム管"), 23.0);
  EXPECT_EQ(func許容内水圧PC(pipe("ヒューム管", "1種", "300")), 18.0);

  ScriptedErrorBox box;
  std::erase_if(edited, [](const auto& s) { return s.first == "標準溝幅"; });
  app.write(edited);
  std::string size = "150";
  EXPECT_EQ(func標準溝幅(size), 0.0);
  fs::remove(app.workbook());
  EXPECT_EQ(funcσ("鋼管"), 0.0);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_TRUE(endsWith(box.shown[0], "(3011)\n in func標準溝幅")) << box.shown[0];
  EXPECT_NE(box.shown[1].find(app.workbook()), std::string::npos) << box.shown[1];

  app.write(baseSheets());
  EXPECT_EQ(func標準溝幅(size), 550.0);
  EXPECT_EQ(box.shown.size(), 2u);
}

// Whatever the database cannot be built from, the message names the workbook and says what to do:
// at start-up a new start after mending it, during the run saving it mended and trying again.
TEST_F(PipeDatabaseTest, EveryFailureOfAWorkbookNamesItAndSaysWhatToDo) {
  const std::string restart = "を直してから、Tovakin を起動し直して下さい。";
  const std::string again = "ブックを直して保存してから、もう一度実行して下さい。";
  {
    SCOPED_TRACE("pipe sheets without the program's columns, no previous database");
    TestApp fresh;
    SqlitePipeDataSource freshSource{fresh.path()};
    Sheets sheets = baseSheets();
    for (const char* name : {"不とう性管", "とう性管"})
      for (std::string& column : sheetOf(sheets, name)[0]) column = "旧" + column;
    fresh.write(sheets);
    EXPECT_EQ(fresh.rebuild().size(), 1u);
    const std::optional<std::string> why = freshSource.unavailable();
    ASSERT_TRUE(why.has_value());
    EXPECT_NE(why->find(fresh.workbook()), std::string::npos) << *why;
    EXPECT_NE(why->find("表 '管DB' に列 '管種', '規格'"), std::string::npos) << *why;
    EXPECT_TRUE(endsWith(*why, restart)) << *why;
    try {
      freshSource.pipeTypes();
      ADD_FAILURE() << "the list was read";
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.number(), 3265);
      EXPECT_NE(e.description().find("列 '管種' がテーブル '管DB' にありません。"), std::string::npos);
      EXPECT_NE(e.description().find(fresh.workbook()), std::string::npos) << e.description();
      EXPECT_TRUE(endsWith(e.description(), restart)) << e.description();
    }
  }

  build();
  ScriptedErrorBox box;
  const struct {
    const char* what;
    std::function<void(Sheets&)> spoil;
    std::function<void()> lookup;
    std::string number;
  } during[] = {
      {"column gone", [](Sheets& s) { for (auto& row : sheetOf(s, "管材データ")) row.erase(row.begin() + 2); },
       [] { 管材の弾性係数("鋼管"); }, "(3265)"},
      {"sheet gone", [](Sheets& s) { std::erase_if(s, [](const auto& sh) { return sh.first == "標準溝幅"; }); },
       [] { std::string size = "150"; func標準溝幅(size); }, "(3011)"},
  };
  for (const auto& c : during) {
    SCOPED_TRACE(c.what);
    box.shown.clear();
    Sheets sheets = baseSheets();
    c.spoil(sheets);
    app.write(sheets);
    c.lookup();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].find(app.workbook()), std::string::npos) << box.shown[0];
    EXPECT_NE(box.shown[0].find(again + c.number), std::string::npos) << box.shown[0];
    app.write(baseSheets());  // mended and saved: read again
  }
  box.shown.clear();
  EXPECT_GT(管材の弾性係数("鋼管"), 0.0);
  EXPECT_TRUE(box.shown.empty());
}

TEST_F(PipeDatabaseTest, LookupRules) {
  build();
  ScriptedErrorBox box;
  // Not found and Null cells.
  EXPECT_EQ(管材の単位体積重量("無い管"), 0.0);
  EXPECT_EQ(func管材区分("無い管"), -1);
  EXPECT_EQ(管材の単位体積重量("中空管"), 0.0);
  EXPECT_EQ(func管材区分("中空管"), -1);
  EXPECT_EQ(管材の弾性係数("ヒューム管"), 0.0);
  // Two rows for one pipe type: the first, but the smallest modulus; the class halves to even.
  EXPECT_EQ(管材の単位体積重量("鋼管"), 77.0);
  EXPECT_EQ(管材の弾性係数("鋼管"), 200000000.0);
  EXPECT_EQ(func管材区分("鋼管"), 2);
  EXPECT_EQ(funcσ("鋼管"), 1.0);
  EXPECT_EQ(funcσa("鋼管"), 137000.0);
  // Pipes: sizes as exact numbers, blanks around the texts ignored, HC in its larger unit.
  EXPECT_EQ(func許容内水圧PC(pipe("ヒューム管  ", "1種　", "300   ")), 18.0);
  EXPECT_EQ(func許容内水圧HC(pipe("ヒューム管", "1種", "300")), 500.0);
  EXPECT_EQ(func許容内水圧PC(pipe("ヒューム管", "1種", "62.5")), 7.0);
  EXPECT_EQ(func許容内水圧PC(pipe("ヒューム管", "1種", "62")), 0.0);
  EXPECT_EQ(func許容内水圧PC(pipe("ヒューム管", "1種", "abc")), 0.0);
  EXPECT_EQ(func許容内水圧PC(pipe("鋼管", "STW", "400")), 0.0);  // an empty cell
  EXPECT_EQ(funcEI値("鋼管", "STW", 400.0), 1200.0);
  // Moment coefficients.
  EXPECT_EQ(func曲げモーメント係数(1, 0, 90.0, 0), 0.314);
  EXPECT_EQ(func曲げモーメント係数(0, 0, 90.0, 0), 0.0);
  EXPECT_EQ(func曲げモーメント係数(6, 0, 90.0, 0), 0.0);
  EXPECT_EQ(func曲げモーメント係数(3, 1, 120.0, -1), 0.111);
  // Standard trench widths by the size text.
  for (const auto& [given, key, width] : std::vector<std::tuple<std::string, std::string, double>>{
           {"80", "100以下", 500}, {"100.4", "100以下", 500}, {"150", "150", 550}, {"160", "160", 0}}) {
    std::string size = given;
    EXPECT_EQ(func標準溝幅(size), width) << given;
    EXPECT_EQ(size, key);
  }
  EXPECT_EQ(box.shown, std::vector<std::string>{});
}

TEST_F(PipeDatabaseTest, QuotesInKeysAreOrdinaryCharacters) {
  const std::string odd = "鋼管\"A' OR '1'='1";
  Sheets sheets = baseSheets();
  sheetOf(sheets, "不とう性管").push_back({odd, "x\"y", "500", "", "", "", "", "31", "", ""});
  sheetOf(sheets, "管材データ").push_back({odd, "12.5", "", "", "", ""});
  build(sheets);
  ScriptedErrorBox box;
  EXPECT_EQ(func許容内水圧PC(pipe(odd, "x\"y", "500")), 31.0);
  EXPECT_EQ(管材の単位体積重量(odd), 12.5);
  EXPECT_EQ(管材の単位体積重量("' OR '1'='1"), 0.0);
  EXPECT_EQ(box.shown, std::vector<std::string>{});
}

TEST_F(PipeDatabaseTest, PipeListsSortInJapaneseOrderAndSizesAsNumbers) {
  Sheets sheets = baseSheets();
  Sheet& rigid = sheetOf(sheets, "不とう性管");
  rigid.resize(1);
  for (const char* kanshu :
       {"鋼管", "硬質ポリ塩化ビニル管", "ダクタイル鋳鉄管", "強化プラスチック複合管", "遠心力鉄筋コンクリート管"})
    rigid.push_back({kanshu, "A", "100", "", "", "", "", "", "", ""});
  for (const char* size : {"1000", "75", "100"}) rigid.push_back({"鋼管", "B", size, "", "", "", "", "", "", ""});
  sheetOf(sheets, "とう性管").resize(1);
  build(sheets);
  using List = std::vector<std::optional<std::string>>;
  // Katakana before kanji; kanji by their reading (えん, きょう, こう), as in the JIS order.
  EXPECT_EQ(source.pipeTypes(), (List{"ダクタイル鋳鉄管", "遠心力鉄筋コンクリート管", "強化プラスチック複合管",
                                      "硬質ポリ塩化ビニル管", "鋼管"}));
  EXPECT_EQ(source.standards("鋼管"), (List{"A", "B"}));
  EXPECT_EQ(source.nominalSizes("鋼管", "B"), (List{"75", "100", "1000"}));
  EXPECT_FALSE(source.pipeDimensions("鋼管", "B", 76).has_value());
}

TEST_F(PipeDatabaseTest, TheSelectionListsReachTheInstalledDatabase) {
  Sheets sheets = baseSheets();
  sheetOf(sheets, "とう性管").push_back({"鋼管\"A", "x\"y", "500", "510", "5", "", "", "", "", ""});
  build(sheets);
  using List = std::vector<std::optional<std::string>>;
  EXPECT_EQ(pipeTypeList(), source.pipeTypes());
  EXPECT_EQ(pipeStandardList("鋼管\"A"), List{"x\"y"});
  EXPECT_EQ(pipeSizeList("鋼管\"A", "x\"y"), List{"500"});
  const std::optional<PipeDimensions> row = pipeDimensionsOf("鋼管\"A", "x\"y", 500);
  ASSERT_TRUE(row.has_value());
  EXPECT_EQ(row->gaikei, 510.0);
  EXPECT_EQ(row->kanatu, 5.0);
  EXPECT_EQ(row->chushinHankei, std::nullopt);
}

TEST_F(PipeDatabaseTest, TheShippedWorkbookRebuildsCleanly) {
  fs::copy_file(TOVAKIN_APPDIR "/DATABASE/Tovakin.xlsx", app.workbook());
  ASSERT_EQ(app.rebuild(), std::vector<std::string>{});
  const auto rigid = app.query("SELECT count(*) FROM 不とう性管")[0][0];
  const auto flexible = app.query("SELECT count(*) FROM とう性管")[0][0];
  EXPECT_EQ(app.query("SELECT count(*) FROM 管DB")[0][0], std::to_string(std::stoi(rigid) + std::stoi(flexible)));
  EXPECT_EQ(source.pipeTypes().front(), "ダクタイル鋳鉄管");
  EXPECT_EQ(func管材区分("遠心力鉄筋コンクリート管"), 0);
}

}  // namespace
}  // namespace tovakin::testing
