// The writer on the shipped template file: the report is a workbook our reader opens, with the
// planned sheets in order and the design conditions in their cells.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "app/app_state.h"
#include "support/scripted_dialogs.h"
#include "platform/xlsx.h"
#include "platform/xlsx_edit.h"
#include "report/xlsx_report_book.h"
#include "report/report_book.h"
#include "report/report_writer.h"
#include "report/sheet_plan.h"
#include "report_fixture.h"
#include "support/scripted_error_box.h"
#include "support/xlsx_test_util.h"

namespace tovakin::report {
namespace {

class ReportOnTemplate : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = g_app;
    g_app.g_templatePath = std::string(TOVAKIN_APPDIR) + "/DATABASE/QXWork.xlsx";
  }
  void TearDown() override { g_app = saved_; }
  XlsxReportTemplateOpener opener_;
  Installed<ReportTemplateOpener> installed_ = installReportTemplateOpener(opener_);

  testing::TempDir dir_;
  AppState saved_;
  testing::ScriptedErrorBox errors_{ErrorAnswer::Ignore};
};

TEST_F(ReportOnTemplate, TemplatePassesTheCheck) {
  auto book = openReportTemplate(g_app.g_templatePath, kTemplatePassword);
  EXPECT_NO_THROW(checkReportTemplate(*book));
  EXPECT_EQ(book->sheetNames().size(), 30u);
}

TEST_F(ReportOnTemplate, ReportsOfSeveralCasesReopen) {
  struct Variant {
    double cls, support, burial;
    int method;
  };
  int n = 0;
  for (const Variant& v : {Variant{3, 0, 0, 0}, Variant{0, 0, 0, 0}, Variant{5, 0, 2, 4}, Variant{3, 1, 1, 7}}) {
    testing::ReportCase c = testing::largestCase();
    c.design.kanzaiKubun = v.cls;
    c.result.kanzaiKubun = static_cast<int>(v.cls);
    c.design.kisoKeishiki = v.support;
    c.design.maisetuKeishiki = v.burial;
    c.design.hanryokuKeisuHoho = v.method;
    testing::ScriptedCommonDialog dialog;
    dialog.FileName = dir_.file("report" + std::to_string(n++) + ".xlsx");
    ASSERT_TRUE(subExcelSheetCreate(c.design, c.result, dialog));
    EXPECT_TRUE(errors_.shown.empty()) << (errors_.shown.empty() ? "" : errors_.shown[0]);

    const SheetPlan plan = computeSheetPlan(c.design, c.result);
    const xlsx::Workbook report = xlsx::Workbook::open(dialog.FileName);
    EXPECT_EQ(report.sheetNames(), plan.resultNames());

    const xlsx::EditableWorkbook edit = xlsx::EditableWorkbook::open(dialog.FileName);
    EXPECT_EQ(edit.cellText("表紙", "H19"), "○○地区 幹線水路");
    EXPECT_EQ(edit.cellText("表紙", "H21"), "2026年 03月 05日");
    EXPECT_EQ(edit.cellText("設計条件", "C1"), "１．設計条件");
    EXPECT_EQ(edit.cellText("設計条件", "管外径"), "324.80");
    EXPECT_EQ(edit.cellText("設計条件", "上載荷重条件"), "群集荷重");
  }
}

}  // namespace
}  // namespace tovakin::report
