#include "platform/cell_ref.h"

#include <gtest/gtest.h>

namespace tovakin::platform::xlsx {
namespace {

TEST(CellRef, ParsesInsideTheSheetGridOnly) {
  struct Case {
    const char* text;
    bool workbook, plain;  // taken in the workbook form (the default), in the plain form
    std::uint32_t column, row;
  } const cases[] = {
      {"A1", true, true, 0, 1},        {"XFD1048576", true, true, 16383, 1048576},
      {"$AB$12", true, false, 27, 12}, {"b12", true, false, 1, 12},
      {"B012", true, false, 1, 12},    {"XFE1", false, false, 0, 0},
      {"A0", false, false, 0, 0},      {"A1048577", false, false, 0, 0},
      {"ABCD1", false, false, 0, 0},   {"1A", false, false, 0, 0},
      {"A1 ", false, false, 0, 0},     {"", false, false, 0, 0},
  };
  for (const Case& c : cases) {
    CellRef ref{7, 7};
    EXPECT_EQ(parseCellRef(c.text, ref), c.workbook) << c.text;
    EXPECT_EQ(ref.column, c.workbook ? c.column : 7u) << c.text;
    EXPECT_EQ(ref.row, c.workbook ? c.row : 7u) << c.text;
    EXPECT_EQ(parseCellRef(c.text, ref, kPlainA1), c.plain) << c.text;
    if (c.plain) {
      EXPECT_EQ(formatCellRef(ref), c.text);
    }
  }
}

}  // namespace
}  // namespace tovakin::platform::xlsx
