#pragma once
// The namespace of the windows. The four window layers (ui, dialogs, document, shell) share it,
// as one program's windows, and see every core layer unqualified, as the core layers see those
// below them; which window may call which is settled by the libraries each layer links, not by
// the namespace. The core never sees the windows: no core library links Qt.
#include "report/layer.h"

namespace tovakin::gui {
using namespace tovakin::report;
}  // namespace tovakin::gui
