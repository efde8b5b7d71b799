#pragma once
// The truck classes (輪荷重規格) and the bulldozer classes (ブルドーザー規格): the code a design
// record keeps, the text the document's list and the report show, and where the class's load
// stands in the calculation settings. The list, the calculation, the report and the options
// dialog's captions all read these tables; a code a table lacks raises wherever it is read, so a
// class nobody knows is never taken for another (or for none).
#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "app/calc_settings.h"
#include "app/layer.h"

namespace tovakin::app {

// The code both lists keep for "なし".
inline constexpr double kNoLoadClass = 0.0;

struct TruckClass {
  double code;                // DesignData::kajuJoken
  const char* text;           // "T-25" ... "なし"
  std::size_t load;           // its rear-wheel load: CalcSettings::korinKaju[load]
  double CalcSettings::*beta;  // its reduction factor β
};

struct BulldozerClass {
  double code;                       // DesignData::buruJoken (ton class)
  const char* text;                  // "3ton級" ... "なし"
  std::optional<std::size_t> load;   // its track load and width: CalcSettings::buruKaju[load]; none for なし
};

// In list order; the first is a new case's, the last is なし.
std::span<const TruckClass> truckClasses();
std::span<const BulldozerClass> bulldozerClasses();

// The class of a code; a code the table lacks raises subscript out of range (9), naming it.
const TruckClass& truckClass(double code);
const BulldozerClass& bulldozerClass(double code);

// What the raise of an unknown code says: "輪荷重規格のコード 30 は一覧にありません。".
std::string unknownCodeText(const char* listName, double code);

}  // namespace tovakin::app
