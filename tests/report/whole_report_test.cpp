// The whole report for every combination of pipe class, burial, support and e' method that the
// input check accepts: calculated, written and reduced to its sheet plan, with every cell of
// every kept sheet filled and no sheet left over.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "calc/calc_fixture.h"
#include "calc/data_check.h"
#include "calc/pipe_calc.h"
#include "report/report_slots.h"
#include "report/report_writer.h"
#include "report/sheet_plan.h"
#include "support/recording_report_book.h"

namespace tovakin::testing {
using namespace tovakin::report;
namespace {

struct Combination {
  int pipeClass;
  int burial;
  int support;
  int eMethod;
};

// Slots whose template text stands unless the case changes it (設計条件's trench-width unit,
// emptied for a projecting burial), and the two alternative closing sentences of the flexible
// vertical earth pressure, of which exactly one is written.
bool keepsTemplateText(int entry, std::string_view address) {
  if (entry == report::entry::k設計条件 && address == "AC17") return true;
  return entry == report::entry::k鉛直土圧2 && (address == "E26" || address == "E33");
}

std::string describe(const Combination& c) {
  return "class " + std::to_string(c.pipeClass) + ", burial " + std::to_string(c.burial) + ", support " +
         std::to_string(c.support) + ", e' method " + std::to_string(c.eMethod);
}

class WholeReport : public CalcTest {
 protected:
  // The design record of one combination; the pipe type's class in the database follows it
  // (class -1: the type is missing from the material table).
  DesignData design(const Combination& c) {
    CaseInput in = c.pipeClass == 0 ? rigidCase() : flexibleCase();
    in.designClass = c.pipeClass;
    in.m = c.burial;
    in.kiso = c.support;
    auto& rows = source.materials;
    if (c.pipeClass == -1) {
      rows.erase(std::remove_if(rows.begin(), rows.end(), [&](const FakeMaterialRow& r) { return r.kanshu == in.kanshu; }),
                 rows.end());
    } else {
      for (FakeMaterialRow& r : rows)
        if (r.kanshu == in.kanshu) r.kubun = c.pipeClass;
    }
    DesignData d = makeDesign(in);
    d.hanryokuKeisuHoho = c.eMethod;
    return d;
  }
};

TEST_F(WholeReport, EveryAcceptedCombinationFillsEveryKeptSheetAndNothingElse) {
  const FakePipeSource pristine = source;
  int reports = 0;
  for (int pipeClass : {0, 1, 2, 3, 5, -1})
    for (int burial : {0, 1, 2})
      for (int support : {0, 1})
        for (int eMethod = 0; eMethod <= 4; ++eMethod) {
          const Combination c{pipeClass, burial, support, eMethod};
          SCOPED_TRACE(describe(c));
          source = pristine;
          DesignData d = design(c);
          if (MyDataCheck(d) != 0) continue;

          CalcResult r;
          ASSERT_TRUE(funcPipeCalc(d, r));
          const report::SheetPlan plan = report::computeSheetPlan(d, r);
          RecordingReportBook book;
          fillLikeTemplate(book);
          report::fillReport(book, d, r, g_calcSettings, plan);
          ++reports;

          ASSERT_TRUE(box.shown.empty()) << box.shown.front();
          EXPECT_EQ(book.sheetNames(), plan.resultNames());
          for (const report::KeptSheet& kept : plan.result) {
            if (kept.entry == report::entry::k鉛直土圧2) {
              EXPECT_NE(book.written(kept.name, "E26"), book.written(kept.name, "E33"));
            }
            for (const report::Slot& slot : report::reportSlots()) {
              if (slot.entry != kept.entry || keepsTemplateText(slot.entry, slot.address)) continue;
              EXPECT_TRUE(book.written(kept.name, std::string(slot.address)))
                  << kept.name << "!" << slot.address << " was not filled";
            }
          }
        }
  // Rigid pipes take one e' method's report per burial and support; flexible ones all five.
  EXPECT_GT(reports, 100);
}

}  // namespace
}  // namespace tovakin::testing
