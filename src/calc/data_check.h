#pragma once
// Whether a design case may be calculated.
#include <cstdint>

#include "app/design_data.h"
#include "calc/layer.h"

namespace tovakin::calc {

// 0 when every test passes, else the code of the first failing test:
// 14 no pipe type, 15 no standard, 16 no nominal size, 17 outer diameter, 18 wall thickness,
// 19 safety factor S of the combination formula (classes 0 and 5), 13 fixed support of a
// flexible pipe off 180°, 7 / 8 support angle, 1 / 5 friction angle, 9 water unit weight,
// 10 water equal to saturated soil, 11 cover depth, 2 soil unit weight, 3 saturated soil
// unit weight, 4 trench narrower than the pipe, 6 track count of a bulldozer.
std::int32_t MyDataCheck(const DesignData& d);

}  // namespace tovakin::calc
