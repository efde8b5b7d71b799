#pragma once
// The focus of the documents in an MDI area: a document that comes to the front again gives the
// focus back to the control that had it when the document was left.
//
// The area's own bookkeeping does not: a document activated by a click into one of its controls
// keeps the control it remembered from an earlier time, and the next return by the window list,
// Ctrl+Tab or Ctrl+F6 focuses that one (typically the first box, with its text selected, so that
// the next key replaces it). Here the last focused control of every document is kept and handed
// the focus as the document activates, before the area would choose one.
#include "ui/layer.h"

class QMdiArea;

namespace tovakin::gui {

// Keeps the focus per document for the documents of the area, now and later added; lives as long
// as the area. A document that never had the focus is left to the area (its first control).
void keepFocusPerDocument(QMdiArea& area);

}  // namespace tovakin::gui
