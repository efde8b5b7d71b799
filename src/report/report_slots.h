#pragma once
// Every cell and defined name of the template that a section writer fills: the template is
// made with each of them pre-styled, the report writer checks the defined names before the
// first write, and the tests check that the writers touch nothing else.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/layer.h"
#include "report/sheet_plan.h"

namespace tovakin::report {

enum class SlotKind {
  Title,    // section title in C1 (and the cover's report title)
  Heading,  // sub-heading
  Text,     // a word or a user's text, left-aligned
  Value,    // a formatted number, right-aligned
  Formula,  // a formula text with the case's numbers, may hold raised characters
};

struct Slot {
  int entry;                 // sheet of the sheet-name table
  std::string_view address;  // A1 reference, or a defined name usable on that sheet
  SlotKind kind;
  Section owner;             // the section whose writer fills it
};

// All slots, grouped by sheet in template order.
const std::vector<Slot>& reportSlots();

// True for an A1 cell reference inside the sheet grid ("C1", "AA30", "$C$1"); anything else
// (XFE1 too) is a defined name, as the workbook resolves it.
bool isCellReference(std::string_view address);

// The defined names the writers use, as (entry, name), in slot order.
std::vector<std::pair<int, std::string>> requiredDefinedNames();

// True when (entry, address) is a slot.
bool isSlot(int entry, std::string_view address);

}  // namespace tovakin::report
