#pragma once
// The namespace of the application foundation.
// It sees the names of the layers below it unqualified, as the code of a layer uses them freely.
#include "platform/layer.h"

namespace tovakin::app {
using namespace tovakin::platform;
}  // namespace tovakin::app
