#pragma once
// Whether a design case may be calculated.
#include <cstdint>

#include "app/design_data.h"
#include "calc/layer.h"

namespace tovakin::calc {

// The codes of the input check, shared by the check and the document's check messages. The
// numbers are the check's own: the message window shows an unknown one as it is.
enum class CheckCode : std::int32_t {
  Passed = 0,
  FrictionAngleNotPositive = 1,     // 内部摩擦角 <= 0
  SoilWeightNotPositive = 2,        // 土の単位体積重量 <= 0
  SaturatedWeightNotPositive = 3,   // 飽和土単位体積重量 <= 0
  TrenchNarrowerThanPipe = 4,       // 溝幅 < 管外径 (trench laying)
  FrictionAngleFrom90 = 5,          // 内部摩擦角 >= 90
  TrackCount = 6,                   // キャタピラ数 other than 1 or 2 for a bulldozer
  FixedSupportAngle = 7,            // 設計支持角 of a fixed support
  FreeSupportAngle = 8,             // 設計支持角 of a free support
  WaterWeightNotPositive = 9,       // 水の単位体積重量 <= 0
  WaterEqualsSaturated = 10,        // 水の単位体積重量 = 飽和土単位体積重量
  CoverNotPositive = 11,            // 土かぶり <= 0
  FlexibleFixedSupportAngle = 13,   // a flexible pipe on a fixed support off 180°
  NoPipeType = 14,                  // 管種
  NoStandard = 15,                  // 管規格
  NoNominalSize = 16,               // 呼び径
  OuterDiameterNotPositive = 17,    // 管外径
  WallThicknessNotPositive = 18,    // 管厚
  SafetyFactorNotPositive = 19,     // 内外圧合成式の安全率 (classes 0 and 5)
};

// True for the value of a CheckCode, false for any other number (12, a negative one, ...). The
// one place that names every code: a code added above without it here does not compile.
bool isCheckCode(std::int32_t code);

// 0 (CheckCode::Passed) when every test passes, else the code of the first failing test, in the
// order: pipe type, standard, nominal size, outer diameter, wall thickness, safety factor, the
// support angle, friction angle, water unit weight, cover depth, soil and saturated soil unit
// weights, trench width, track count. A fault of the program itself gives its own code.
std::int32_t MyDataCheck(const DesignData& d);

}  // namespace tovakin::calc
