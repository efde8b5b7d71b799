#include "app/load_classes.h"

#include <array>
#include <cmath>

#include "app/number_format.h"
#include "platform/error_box.h"

namespace tovakin::app {

namespace {

using S = CalcSettings;

// korinKaju holds the loads in this order; element 4 is the T-0 entry of no truck.
constexpr std::array kTrucks = {
    TruckClass{25.0, "T-25", 0, &S::betaT25},     TruckClass{20.0, "T-20", 1, &S::betaT25Igai},
    TruckClass{14.0, "T-14", 2, &S::betaT25Igai}, TruckClass{10.0, "T-10", 3, &S::betaT25Igai},
    TruckClass{kNoLoadClass, "なし", 4, &S::betaT25Igai},
};

constexpr std::array kBulldozers = {
    BulldozerClass{3.0, "3ton級", 0},   BulldozerClass{6.0, "6ton級", 1},   BulldozerClass{8.0, "8ton級", 2},
    BulldozerClass{11.0, "11ton級", 3}, BulldozerClass{15.0, "15ton級", 4}, BulldozerClass{kNoLoadClass, "なし", std::nullopt},
};

template <class Row, std::size_t N>
const Row& classOf(const std::array<Row, N>& rows, double code, const char* listName) {
  for (const Row& row : rows)
    if (row.code == code) return row;
  raiseError(err::kOutOfRange, unknownCodeText(listName, code));
}

}  // namespace

std::span<const TruckClass> truckClasses() { return kTrucks; }
std::span<const BulldozerClass> bulldozerClasses() { return kBulldozers; }

const TruckClass& truckClass(double code) { return classOf(kTrucks, code, "輪荷重規格"); }
const BulldozerClass& bulldozerClass(double code) { return classOf(kBulldozers, code, "ブルドーザー規格"); }

std::string unknownCodeText(const char* listName, double code) {
  // A code read from a file may be anything a double holds: it is named as it is.
  const std::string shown = std::isfinite(code) ? formatGeneral(code) : "(数値でない値)";
  return std::string(listName) + "のコード " + shown + " は一覧にありません。";
}

}  // namespace tovakin::app
