#pragma once
// The maker's particulars that several windows show: the notice line and the web page, which the
// Help menu and the About box open.
#include "ui/layer.h"

namespace tovakin::gui {

inline constexpr const char* kMakerNotice = "Copyright (C) Quirn";
inline constexpr const char* kMakerWebPage = "https://www.quirn.example/tovakin/";

}  // namespace tovakin::gui
