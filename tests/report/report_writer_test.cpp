#include "report/report_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <set>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/calc_settings.h"
#include "app/std_io.h"
#include "report/report_slots.h"
#include "report/section_writer.h"
#include "report_fixture.h"
#include "support/design_cases.h"
#include "support/recording_report_book.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_error_box.h"
#include "support/xlsx_test_util.h"

namespace tovakin::report {
namespace {

using testing::RecordingReportBook;

class ReportWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = g_app;
    g_app.g_appPath = dir_.path().string() + "/";
    std::filesystem::create_directories(dir_.file("DATABASE"));
    g_app.g_templatePath = dir_.file("DATABASE/QXWork.xlsx");
    testing::writeFile(g_app.g_templatePath, "template");
    g_app.g_reportPath = "";
    testing::fillLikeTemplate(book_);
    dialog_.FileName = target();
    testing::RecordingOpenerScope::opened.clear();
  }
  void TearDown() override { g_app = saved_; }

  std::string target() const { return dir_.file("case1.xlsx"); }
  bool run() { return subExcelSheetCreate(case_.design, case_.result, dialog_); }
  // Files in the report folder other than the template folder.
  std::set<std::string> folderFiles() const {
    std::set<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir_.path()))
      if (e.is_regular_file()) out.insert(e.path().filename().string());
    return out;
  }

  testing::TempDir dir_;
  AppState saved_;
  testing::ReportCase case_ = testing::largestCase();
  RecordingReportBook book_;
  testing::RecordingOpenerScope opener_{book_};
  testing::ScriptedCommonDialog dialog_;
  testing::ScriptedErrorBox errors_{ErrorAnswer::Ignore};
};

TEST_F(ReportWriter, WritesTheReportAndFollowsThePlan) {
  ASSERT_TRUE(run());
  EXPECT_TRUE(errors_.shown.empty());
  EXPECT_EQ(g_app.g_reportPath, target());
  ASSERT_EQ(testing::RecordingOpenerScope::opened.size(), 1u);
  EXPECT_EQ(testing::RecordingOpenerScope::opened[0].first, g_app.g_templatePath);
  EXPECT_EQ(testing::RecordingOpenerScope::opened[0].second, "qorvin_tadelux");

  const SheetPlan plan = computeSheetPlan(case_.design, case_.result);
  std::vector<std::string> expected;
  for (const SheetOp& op : plan.deletePhase)
    expected.push_back(op.kind == SheetOp::Kind::Delete ? "delete " + op.from() : "rename " + op.from() + ">" + op.to());
  EXPECT_EQ(book_.structureLog(), expected);
  EXPECT_EQ(book_.sheetNames(), plan.resultNames());

  // first the cover is selected, at the end its A1, the case's title (trimmed), then the one save
  EXPECT_EQ(book_.log.front(), "select 表紙");
  const auto n = book_.log.size();
  ASSERT_GE(n, 4u);
  EXPECT_EQ(book_.log[n - 4], "select 表紙");
  EXPECT_EQ(book_.log[n - 3], "selectCell 表紙!A1");
  EXPECT_EQ(book_.log[n - 2], "title ○○地区 幹線水路");
  EXPECT_EQ(book_.log[n - 1].rfind("saveAs ", 0), 0u);
  EXPECT_EQ(book_.activeSheet, "表紙");
  ASSERT_EQ(book_.savedPaths.size(), 1u);
  EXPECT_EQ(book_.savedPaths[0], target());  // the book writes aside and renames itself
  EXPECT_EQ(myFilenameDir(book_.savedPaths[0]), myFilenameDir(target()));
  EXPECT_TRUE(std::filesystem::exists(target()));
  EXPECT_EQ(folderFiles(), (std::set<std::string>{"case1.xlsx"}));
  EXPECT_EQ(book_.text("設計条件", "C1"), "１．設計条件");
}

TEST_F(ReportWriter, ReplacesAnEarlierReport) {
  testing::writeFile(target(), "OLD");
  ASSERT_TRUE(run());
  EXPECT_NE(testing::readFile(target()), "OLD");
}

TEST_F(ReportWriter, MissingTemplateFileIsOneBoxAndNoReport) {
  std::filesystem::remove(g_app.g_templatePath);
  testing::writeFile(target(), "OLD");
  EXPECT_FALSE(run());
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_NE(errors_.shown[0].find("(53)"), std::string::npos);
  EXPECT_NE(errors_.shown[0].find(" in subExcelSheetCreate"), std::string::npos);
  EXPECT_TRUE(testing::RecordingOpenerScope::opened.empty());
  EXPECT_EQ(testing::readFile(target()), "OLD");
}

// Every failure of the template names the report template and its file and says what to do.
class DamagedTemplateOpener final : public ReportTemplateOpener {
 public:
  std::unique_ptr<ReportBook> open(const std::string&, const std::string&) override {
    throw std::runtime_error("ブックの部品「xl/workbook.xml」が壊れています。");
  }

 private:
  Installed<ReportTemplateOpener> installed_ = installReportTemplateOpener(*this);
};

TEST_F(ReportWriter, TemplateFailuresNameTheTemplateAndSayWhatToDo) {
  const std::string advice = "Tovakin に付いている雛形を Tovakin のフォルダーの DATABASE に置き直すか、"
                             "Tovakin を入れ直してから、もう一度計算して下さい。";
  const std::string named = "計算書の雛形 '" + g_app.g_templatePath + "' ";
  RecordingReportBook sheetless;
  const struct {
    const char* what;
    std::function<std::unique_ptr<void, void (*)(void*)>()> spoil;
    std::string expected;
  } cases[] = {
      {"missing",
       [] {
         std::filesystem::remove(g_app.g_templatePath);
         return std::unique_ptr<void, void (*)(void*)>(nullptr, [](void*) {});
       },
       named + "が見つかりません。" + advice + "(53)\n in subExcelSheetCreate"},
      {"damaged",
       [] {
         return std::unique_ptr<void, void (*)(void*)>(new DamagedTemplateOpener,
                                                       [](void* p) { delete static_cast<DamagedTemplateOpener*>(p); });
       },
       named + "を使えません（ブックの部品「xl/workbook.xml」が壊れています。）。" + advice +
           "(1004)\n in subExcelSheetCreate"},
      {"without its sheets",
       [&] {
         return std::unique_ptr<void, void (*)(void*)>(new testing::RecordingOpenerScope(sheetless), [](void* p) {
           delete static_cast<testing::RecordingOpenerScope*>(p);
         });
       },
       named + "を使えません（計算書の雛形にシート '表紙' がありません。）。" + advice + "(9)\n in subExcelSheetCreate"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    errors_.shown.clear();
    testing::writeFile(g_app.g_templatePath, "template");
    testing::writeFile(target(), "OLD");
    {
      const auto spoiled = c.spoil();
      EXPECT_FALSE(run());
    }
    EXPECT_EQ(errors_.shown, std::vector<std::string>{c.expected});
    EXPECT_EQ(testing::readFile(target()), "OLD");
  }
}

TEST_F(ReportWriter, MissingSheetIsOneBoxAndNothingWritten) {
  book_.deleteSheet("自重水重水平荷重2");
  book_.log.clear();
  testing::writeFile(target(), "OLD");
  EXPECT_FALSE(run());
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_NE(errors_.shown[0].find("自重水重水平荷重2"), std::string::npos);
  EXPECT_TRUE(book_.log.empty());
  EXPECT_EQ(testing::readFile(target()), "OLD");
  EXPECT_EQ(g_app.g_reportPath, "");
}

TEST_F(ReportWriter, MissingDefinedNameIsOneBox) {
  RecordingReportBook other;
  for (auto name : sheetNameTable()) other.addSheet(std::string(name));
  other.addLocalName("設計条件", "管種類", "F4");  // and none of the others
  testing::RecordingOpenerScope scope(other);
  EXPECT_FALSE(run());
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_NE(errors_.shown[0].find("'呼び径'"), std::string::npos);
}

TEST_F(ReportWriter, FailedSaveLeavesTheOldReportAndNoTemporaryFile) {
  testing::writeFile(target(), "OLD");
  book_.failOn = "saveAs";
  EXPECT_FALSE(run());
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_EQ(testing::readFile(target()), "OLD");
  EXPECT_EQ(folderFiles(), (std::set<std::string>{"case1.xlsx"}));
}

TEST_F(ReportWriter, AbortMidwayLeavesTheOldReport) {
  testing::writeFile(target(), "OLD");
  book_.failOn = "write 設計条件!管外径";
  errors_.answer(ErrorAnswer::Abort);
  EXPECT_THROW(run(), ProgramAborted);
  EXPECT_EQ(testing::readFile(target()), "OLD");
  EXPECT_EQ(folderFiles(), (std::set<std::string>{"case1.xlsx"}));
}

TEST_F(ReportWriter, IgnoredWriteGoesOnWithTheNextCell) {
  book_.failOn = "write 設計条件!管外径";
  ASSERT_TRUE(run());
  ASSERT_EQ(errors_.shown.size(), 1u);
  EXPECT_NE(errors_.shown[0].find(" in subExcelSheetCreate"), std::string::npos);
  EXPECT_EQ(book_.text("設計条件", "管内径"), "295.60");
  EXPECT_EQ(book_.text("設計条件", "水撃圧"), "0.250");
}

TEST_F(ReportWriter, UnwritableFolderIsReportedAndFalse) {
  dialog_.FileName = dir_.file("no-such-folder/case1.xlsx");
  EXPECT_FALSE(run());
  EXPECT_EQ(errors_.shown.size(), 1u);
}

// Every cell the writers touch is a slot of the template, on a sheet of its own section, and
// every slot of a built writer is written by some case.
TEST(ReportSlots, WritersTouchOnlySlotsAndFillThemAll) {
  testing::ScriptedErrorBox errors(ErrorAnswer::Abort);
  std::set<std::pair<int, std::string>> touched;
  for (double burial : {0.0, 1.0, 2.0})
    for (double cls : {0.0, 3.0, 5.0})
      for (double support : {0.0, 1.0})
        for (double cover : {0.5, 1.5, 2.5})
          for (int method : {0, 1, 4}) {
          testing::ReportCase c = testing::largestCase();
          c.design.hanryokuKeisuHoho = method;
          if (method == 4) testing::setMeasuredDeflection(c.design);  // its fraction is printed
          c.design.maisetuKeishiki = burial;
          c.design.kanzaiKubun = cls;
          c.result.kanzaiKubun = static_cast<int>(cls);
          c.design.kisoKeishiki = support;
          c.design.dokaburi = cover;
          c.result.he = 1.0;
          RecordingReportBook book;
          testing::fillLikeTemplate(book);
          const SheetPlan plan = computeSheetPlan(c.design, c.result);
          fillReport(book, c.design, c.result, g_calcSettings, plan);
          std::set<std::string> planned;
          for (const auto& s : plan.sections)
            for (int e : s.entries) planned.insert(sheetName(e));
          for (const auto& [sheet, address] : book.writes) {
            EXPECT_TRUE(planned.count(sheet)) << sheet;
            int e = 0;
            while (sheetName(e) != sheet) ++e;
            EXPECT_TRUE(isSlot(e, address)) << sheet << "!" << address;
            touched.emplace(e, address);
          }
        }
  for (const Slot& s : reportSlots()) {
    if (!sectionWriter(s.owner)) continue;
    EXPECT_TRUE(touched.count({s.entry, std::string(s.address)})) << sheetName(s.entry) << "!" << s.address;
  }
}

TEST(ReportSlots, DefinedNamesOfTheTemplate) {
  const auto names = requiredDefinedNames();
  int conditions = 0, pressure = 0;
  for (const auto& [e, name] : names) {
    conditions += e == entry::k設計条件;
    pressure += e == entry::k内水圧 && name == "設計水圧";
  }
  EXPECT_EQ(conditions, 27);
  EXPECT_EQ(pressure, 1);
  EXPECT_EQ(names.size(), 28u);
  EXPECT_TRUE(isCellReference("AC17"));
  EXPECT_TRUE(isCellReference("$C$1"));
  EXPECT_FALSE(isCellReference("管厚"));
  EXPECT_FALSE(isCellReference("C0"));
  EXPECT_FALSE(isCellReference("ABCD1"));
}

TEST(ReportBookHook, NoOpenerOrNoBookIsAnError) {
  EXPECT_THROW(openReportTemplate("x", "y"), RuntimeError);
  struct NoBook final : ReportTemplateOpener {
    std::unique_ptr<ReportBook> open(const std::string&, const std::string&) override { return nullptr; }
  } noBook;
  const auto installed = installReportTemplateOpener(noBook);
  EXPECT_THROW(openReportTemplate("x", "y"), RuntimeError);
}

}  // namespace
}  // namespace tovakin::report
