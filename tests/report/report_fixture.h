#pragma once
// Design cases for the report tests: one complete design record with its calculated result,
// and ways to vary the few members that decide the report's sheets; and the shared fixture that
// runs section writers on a recording book. The benchmarks use this header too, so it stays free
// of the test framework: a test fixture derives from ::testing::Test and from SectionFixture.
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "app/calc_settings.h"
#include "app/design_data.h"
#include "calc/calc_result.h"
#include "platform/ole_date.h"
#include "support/recording_report_book.h"
#include "support/scripted_error_box.h"
#include "report/section_writer.h"
#include "report/sheet_plan.h"

namespace tovakin::testing {
using namespace tovakin::report;

struct ReportCase {
  DesignData design;
  CalcResult result;
};

// A flexible pipe on free support in a trench, cover above He: the report with every section.
inline ReportCase largestCase() {
  ReportCase c;
  DesignData& d = c.design;
  d.dataTag = "Tovakin_A_1_00_00";
  d.keisanshoTitle = "　○○地区 幹線水路 ";
  d.updateDate = toOleDate(LocalDateTime{2026, 3, 5, 14, 30, 0});
  d.kanshu = "強化プラスチック複合管 ";
  d.kikaku = "JIS A 5350";
  d.yobikei = "300";
  d.gaikei = 0.3248;
  d.kanatu = 0.0146;
  d.naikei = 0.2956;
  d.chushinHankei = 0.1551;
  d.kanatuKeisan = 0.015;
  d.naikeiKeisan = 0.2948;
  d.kisoKeishiki = 0;
  d.shijikaku = 90;
  d.dokaburi = 1.2;
  d.mizohaba = 0.85;
  d.maisetuKeishiki = 0;
  d.tuchiTanniJuryo = 18;
  d.naibuMasatukaku = 30;
  d.kajuJoken = 25;
  d.howadoTanniJuryo = 20;
  d.chinkahi = 0.5;
  d.doroJoken = 1;
  d.josaiKajuMeisho = "群集荷重";
  d.josaiKaju = "10";
  d.buruJoken = 11;
  d.kyatapiraSu = 2;
  d.sekojiShogekiKeisu = 0.3;
  d.seisuiatu = 0.5;
  d.suigekiatu = 0.25;
  d.kanzaiKubun = 3;
  d.mizuTanniJuryo = 9.8;
  d.hanryokuKeisu = 5000;
  d.hanryokuKeisuHoho = 0;
  d.henkeiOkureF1 = 1.5;
  d.henkeiOkureF2 = 1.0;
  d.sekkeiTawamiritu = 5;

  CalcResult& r = c.result;
  r.kanzaiKubun = 3;
  r.kanzaiTanniJuryo = 19.6;
  r.he = 0.8;
  r.sekkeiSuiatu = 0.75;
  r.keisuK = 0.0;
  r.keisuKo = 0.0;
  r.keisuKp = 0.0;
  return c;
}

// Runs section writers as the report does, on a recording book laid out like the template: the
// sheet plan of case_, then each planned section's writer with a context of its own. A test
// changes case_ or settings_ and runs again; every run starts on a fresh book. The error box
// answers Abort, so an unexpected box ends the test rather than passing unseen.
class SectionFixture {
 protected:
  // Runs the writers of those of the sections the plan holds, in the order given; returns how
  // many ran.
  int runSections(std::initializer_list<report::Section> sections) {
    book_ = RecordingReportBook();
    fillLikeTemplate(book_);
    plan_ = report::computeSheetPlan(case_.design, case_.result);
    int ran = 0;
    for (report::Section s : sections) {
      const report::PlannedSection* planned = plan_.find(s);
      if (!planned) continue;
      report::SectionContext ctx(book_, case_.design, case_.result, settings_, plan_, *planned);
      report::sectionWriter(s)(ctx);
      sheet_ = ctx.sheet();
      ++ran;
    }
    return ran;
  }
  // The writer of one section; false when the plan has no such section.
  bool run(report::Section s) { return runSections({s}) == 1; }

  std::string text(const std::string& sheet, const std::string& address) const { return book_.text(sheet, address); }
  // Every address written on a sheet, in writing order (the superscript pass writes its cell again).
  std::vector<std::string> writesTo(const std::string& sheet) const {
    std::vector<std::string> out;
    for (const auto& [s, a] : book_.writes)
      if (s == sheet) out.push_back(a);
    return out;
  }
  // The raised character positions of a cell; none for a cell never set.
  std::set<int> raised(const std::string& sheet, const std::string& address) const {
    const auto* c = book_.cell(sheet, address);
    return c ? c->raised : std::set<int>{};
  }

  ReportCase case_ = largestCase();
  CalcSettings settings_ = g_calcSettings;  // the program's constants unless a test sets its own
  report::SheetPlan plan_;
  RecordingReportBook book_;
  std::string sheet_;  // the current sheet of the last section run, as its writer left it
  ScriptedErrorBox errors_{ErrorAnswer::Abort};
};

}  // namespace tovakin::testing
