#pragma once
// The values a slip of the keyboard typically gives (a missed decimal point, a digit too many)
// that would turn a failing check into a passing one, and the values no ground can have (a
// deformation-lag factor below 1, a soil lighter than water): one row per field and limit, with
// the side of it that is unsafe and why. A slip that gives a value a real case can have is no
// row: the README lists those. The condition dialogs and the calculation run ask each row of
// their own place before they adopt such a value (a Yes/No question, いいえ the default, いいえ
// back to the field's box); a new limit is a new row.
#include <span>
#include <string>

#include "app/design_data.h"
#include "app/layer.h"

namespace tovakin::app {

// The title every guarding question of the program shows.
inline constexpr const char* kGuardTitle = "確認して下さい。";

// Where a row is asked.
enum class LimitPlace {
  CombinationDialog,  // OK / Apply of the combination-formula dialog
  FormulaMethod,      // OK / Apply of the reaction-modulus dialog, method e'0・αa・αb・αw
  DeflectionMethod,   // OK / Apply of the reaction-modulus dialog, the back-calculation
  ReactionModulus,    // OK / Apply of the reaction-modulus dialog, whatever the method, after the above
  Calculation,        // 計算する, before the report file is chosen, when the report uses the field
};

enum class UnsafeSide { Below, Above };

struct InputLimit {
  double DesignData::*field;
  LimitPlace place;
  const char* name;     // as the field's caption names it
  double limit;         // the limit itself is ordinary
  UnsafeSide unsafe;
  const char* pattern;  // the value and the limit written as the field's box shows them
  const char* unit;     // as on the box, "" for none
  const char* reason;   // why a value beyond the limit is most likely a slip
  // A limit that is another field of the same place (the soil's unit weight below the water's):
  // that field, as its caption names it; `limit` is then unused.
  double DesignData::*limitField = nullptr;
  const char* limitName = nullptr;
};

// Every row, in the order its place asks them.
std::span<const InputLimit> inputLimits();

// The row's limit for a record: its own, or the value of the field it compares with.
double limitOf(const InputLimit& row, const DesignData& design);
// True when the row's field lies on the unsafe side of its limit (a value that is not a number
// never does: the boxes refuse such texts before).
bool beyondLimit(const InputLimit& row, const DesignData& design);
// The question: the field, its value and the limit (naming the field it compares with), the
// reason, and "この値を採用しますか？".
std::string limitQuestion(const InputLimit& row, const DesignData& design);

}  // namespace tovakin::app
