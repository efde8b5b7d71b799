#pragma once
// The namespace of the calculation, its input check and the pipe database.
// It sees the names of the layers below it unqualified, as the code of a layer uses them freely.
#include "app/layer.h"

namespace tovakin::calc {
using namespace tovakin::app;
}  // namespace tovakin::calc
