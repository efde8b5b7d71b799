// The whole report for every combination of pipe class, burial, support and e' method that the
// input check accepts: calculated, written and reduced to its sheet plan, with every cell of
// every kept sheet filled (but the alternatives the case does not take) and no sheet left over.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "calc/data_check.h"
#include "calc/pipe_calc.h"
#include "report/cell_conventions.h"
#include "report/report_slots.h"
#include "report/report_writer.h"
#include "report/sheet_plan.h"
#include "support/calc_fixture.h"
#include "support/design_cases.h"
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

// The value cells of the vertical earth pressure's trench block, written in a trench only; a
// projecting burial leaves them empty and writes the block's sentence (E17, E20) instead.
bool trenchBlock(int entry, std::string_view address) {
  const std::set<std::string_view> rigid = {"G11", "G12", "G13", "G15", "G16"};
  const std::set<std::string_view> flexible = {"G14", "G15", "G16", "G18", "G19"};
  return (entry == report::entry::k鉛直土圧 && rigid.count(address)) ||
         (entry == report::entry::k鉛直土圧2 && flexible.count(address));
}
bool projectingSentence(int entry, std::string_view address) {
  return (entry == report::entry::k鉛直土圧 && address == "E17") ||
         (entry == report::entry::k鉛直土圧2 && address == "E20");
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
    if (c.eMethod == 4) setMeasuredDeflection(d);  // the sheet shows its fraction
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
              const bool written = book.written(kept.name, std::string(slot.address));
              if (trenchBlock(slot.entry, slot.address) || projectingSentence(slot.entry, slot.address)) {
                EXPECT_EQ(written, (burial == 0) == trenchBlock(slot.entry, slot.address))
                    << kept.name << "!" << slot.address;
                continue;
              }
              EXPECT_TRUE(written) << kept.name << "!" << slot.address << " was not filled";
            }
          }
        }
  // Rigid pipes take one e' method's report per burial and support; flexible ones all five.
  EXPECT_GT(reports, 100);
}

// The calculation leaves Cd and Wv1 of an earlier trench run in the record; a projecting report
// written from it shows none of them, only the sentence in their block.
TEST_F(WholeReport, AProjectingBurialAfterATrenchRunShowsNoTrenchNumbers) {
  for (int pipeClass : {0, 3}) {
    SCOPED_TRACE(pipeClass);
    DesignData d = design({pipeClass, 0, 0, 0});
    CalcResult r;
    ASSERT_TRUE(funcPipeCalc(d, r));
    const std::string staleCd = report::num(r.keisuCd, "0.000"), staleWv1 = report::num(r.wv1, "0.000");
    d.maisetuKeishiki = 1;
    d.mizohaba = 0;
    ASSERT_EQ(MyDataCheck(d), 0);
    ASSERT_TRUE(funcPipeCalc(d, r));
    ASSERT_EQ(report::num(r.keisuCd, "0.000"), staleCd);  // the record still holds the trench's Cd

    const report::SheetPlan plan = report::computeSheetPlan(d, r);
    RecordingReportBook book;
    fillLikeTemplate(book);
    report::fillReport(book, d, r, g_calcSettings, plan);
    const bool rigid = pipeClass == 0;
    const report::KeptSheet* sheet = nullptr;
    for (const report::KeptSheet& k : plan.result)
      if (k.entry == (rigid ? report::entry::k鉛直土圧 : report::entry::k鉛直土圧2)) sheet = &k;
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(book.text(sheet->name, rigid ? "E17" : "E20"), "突出型のため溝型の計算は行わない");
    for (const auto& [name, address] : book.writes) {
      if (name != sheet->name) continue;
      EXPECT_FALSE(trenchBlock(sheet->entry, address)) << address;
      const std::string text = book.text(name, address);
      EXPECT_EQ(text.find(staleCd), std::string::npos) << address << ": " << text;
      EXPECT_EQ(text.find(staleWv1), std::string::npos) << address << ": " << text;
    }
  }
}

}  // namespace
}  // namespace tovakin::testing
