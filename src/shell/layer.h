#pragma once
// The namespace of the windows: the shell (services over Qt, window helpers, the main window),
// the document window and the dialogs. They share one namespace because they call each other
// (the main window opens documents, a document opens the condition dialogs, the dialogs write
// back into the document), and see every core layer unqualified, as the core layers see those
// below them. The core never sees this layer: no core library links Qt.
#include "report/layer.h"

namespace tovakin::gui {
using namespace tovakin::report;
}  // namespace tovakin::gui
