// The cells of the closing checks (許容内圧, 許容内圧2, たわみ率計算, EI値検討), in the order their
// writers fill them. The titles in C1 of these sheets are in the base table.
#include "report/layer.h"
#include "report/report_slots.h"
#include "report/sheets_check.h"

namespace tovakin::report {

const std::vector<Slot>& checkSlots() {
  using namespace entry;
  using K = SlotKind;
  constexpr Section P = Section::AllowablePressure;
  constexpr Section D = Section::DeflectionOrEi;
  static const std::vector<Slot> slots = {
      // 許容内圧
      {k許容内圧, "D21", K::Heading, P},
      {k許容内圧, "D32", K::Heading, P},
      {k許容内圧, "G24", K::Formula, P},
      {k許容内圧, "G25", K::Formula, P},
      {k許容内圧, "G26", K::Value, P},
      {k許容内圧, "P30", K::Text, P},
      {k許容内圧, "AA30", K::Text, P},
      {k許容内圧, "G28", K::Formula, P},
      {k許容内圧, "G29", K::Value, P},
      {k許容内圧, "G30", K::Value, P},
      {k許容内圧, "G35", K::Formula, P},
      {k許容内圧, "G36", K::Formula, P},
      {k許容内圧, "G37", K::Value, P},
      {k許容内圧, "P41", K::Text, P},
      {k許容内圧, "AA41", K::Text, P},
      {k許容内圧, "G39", K::Formula, P},
      {k許容内圧, "G40", K::Value, P},
      {k許容内圧, "G41", K::Value, P},
      // 許容内圧2
      {k許容内圧2, "D14", K::Heading, P},
      {k許容内圧2, "D22", K::Heading, P},
      {k許容内圧2, "G17", K::Formula, P},
      {k許容内圧2, "R20", K::Value, P},
      {k許容内圧2, "R28", K::Value, P},
      {k許容内圧2, "G18", K::Formula, P},
      {k許容内圧2, "G19", K::Value, P},
      {k許容内圧2, "G20", K::Value, P},
      {k許容内圧2, "P20", K::Text, P},
      {k許容内圧2, "AA20", K::Text, P},
      {k許容内圧2, "G25", K::Formula, P},
      {k許容内圧2, "G26", K::Formula, P},
      {k許容内圧2, "G27", K::Value, P},
      {k許容内圧2, "G28", K::Value, P},
      {k許容内圧2, "P28", K::Text, P},
      {k許容内圧2, "AA28", K::Text, P},
      {k許容内圧2, "D41", K::Text, P},
      {k許容内圧2, "E42", K::Text, P},
      {k許容内圧2, "E44", K::Text, P},
      {k許容内圧2, "L42", K::Text, P},
      {k許容内圧2, "L43", K::Text, P},
      {k許容内圧2, "L44", K::Text, P},
      {k許容内圧2, "L45", K::Text, P},
      {k許容内圧2, "R42", K::Text, P},
      {k許容内圧2, "R43", K::Text, P},
      {k許容内圧2, "R44", K::Text, P},
      {k許容内圧2, "R45", K::Text, P},
      // たわみ率計算
      {kたわみ率, "D3", K::Heading, D},
      {kたわみ率, "D11", K::Heading, D},
      {kたわみ率, "K9", K::Value, D},
      {kたわみ率, "K17", K::Value, D},
      {kたわみ率, "E7", K::Formula, D},
      {kたわみ率, "E8", K::Formula, D},
      {kたわみ率, "E9", K::Value, D},
      {kたわみ率, "E15", K::Formula, D},
      {kたわみ率, "E16", K::Formula, D},
      {kたわみ率, "E17", K::Value, D},
      {kたわみ率, "I9", K::Text, D},
      {kたわみ率, "V9", K::Text, D},
      {kたわみ率, "I17", K::Text, D},
      {kたわみ率, "V17", K::Text, D},
      // EI値検討
      {kEI値, "D9", K::Heading, D},
      {kEI値, "D20", K::Heading, D},
      {kEI値, "M18", K::Value, D},
      {kEI値, "M29", K::Value, D},
      {kEI値, "G13", K::Formula, D},
      {kEI値, "G15", K::Formula, D},
      {kEI値, "G16", K::Formula, D},
      {kEI値, "F17", K::Formula, D},
      {kEI値, "G18", K::Value, D},
      {kEI値, "K18", K::Text, D},
      {kEI値, "X18", K::Text, D},
      {kEI値, "G24", K::Formula, D},
      {kEI値, "G26", K::Formula, D},
      {kEI値, "G27", K::Formula, D},
      {kEI値, "F28", K::Formula, D},
      {kEI値, "G29", K::Value, D},
      {kEI値, "K29", K::Text, D},
      {kEI値, "X29", K::Text, D},
  };
  return slots;
}

}  // namespace tovakin::report
