#pragma once
// The namespace of the report writer.
// It sees the names of the layers below it unqualified, as the code of a layer uses them freely.
#include "calc/layer.h"

namespace tovakin::report {
using namespace tovakin::calc;
}  // namespace tovakin::report
