#pragma once
// The focus of the documents in an MDI area: a document that comes to the front again, and the
// main window when it is active again, give the focus back to the control the user left.
//
// The user's control is taken from the user's own input (keys reaching a control of the
// document, mouse presses on one, the focus moves of Tab and Enter) and from the program's moves
// on the user's behalf, never from focus events: the area and Qt move the focus about while they
// hide, show, maximize, arrange and activate documents, and a closing box or dialog hands it to
// whichever control the window remembers. Once an activation has settled, the user's control gets
// the focus back (and selects its text, as every box does on taking the focus).
#include "ui/layer.h"

class QMdiArea;
class QWidget;

namespace tovakin::gui {

// Keeps the focus per document for the documents of the area, now and later added; lives as long
// as the area. A document the user never worked in is left to the area (its first control).
void keepFocusPerDocument(QMdiArea& area);

// The program puts the focus on a control for the user (a check pointing at a box, the box of a
// refused value): its document is taken up there from now on.
void focusOnUsersBehalf(QWidget& control);

}  // namespace tovakin::gui
