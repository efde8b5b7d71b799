#pragma once
// The small services every window uses: texts from the string table, tooltips from button
// captions, the window icon, opening a web page, the program of a file type, the caption height,
// a refresh of the controls, and the conversions of the designed twips and colours.
//
// A window keeps the designed id of a control where the designer put it: in the control's tag
// (the dynamic property "Tag", setTag below), in a menu item's caption or in a toolbar button's
// tooltip. A window's own controls are walked down to, but not into, other windows inside it
// (document windows of an MDI area, dialogs parented to it).
#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/error_box.h"
#include "ui/layer.h"

class QLineEdit;
class QObject;

namespace tovakin::gui {

inline constexpr const char* kTagProperty = "Tag";
void setTag(QObject& object, const QString& tag);
QString tagOf(const QObject& object);

// Captions and tooltips from the string table by the ids the window and its controls carry: the
// window's caption by its tag; labels by their tag (ids from 1000); menu items by their caption;
// toolbar buttons' tooltips by their tooltip; tabs by their tag (QTabWidget: the tab bar's tab
// data) and tooltip; every other control's caption (buttons, group boxes) by the leading number
// of its tag and its tooltip by the leading number of its tooltip. What does not name an id in
// the table is left as it is, silently.
void myFormResString(QWidget& form);

// Every standard push button's tooltip from its caption (toolTipFromCaption); a button showing a
// picture (one with an icon) keeps its own tooltip.
void ToolTip2Caption(QWidget& form);

// Repaints every control of the window at once but its push buttons and labels.
void myFormRefresh(QWidget& form);

// The window's icon from IMAGE/KANA.ico in the application folder, with every size the file holds.
// A missing or unreadable file
// shows the error box with an empty title; on Ignore the window keeps its icon.
void setMyIcon(QWidget& form);
inline constexpr const char* kIconFile = "IMAGE/KANA.ico";

// Opens the address with the desktop; the outcome is not examined, a failure shows nothing.
void JumpHyperLink(const std::string& address, QWidget* form);

// The full path of the program the desktop uses for files with the extension, or "". An empty
// folder is replaced, in the caller's variable, with the application folder, as before; nothing
// is created there: the look-up needs no file.
std::string myApplication(const std::string& extension, std::string& folder);

// The height of a window caption in pixels, times 20, as the dialogs' layout expects it.
std::int32_t SystemInformationCaptionHeight();
std::int32_t captionHeightValue(int pixels);

// Designed sizes are in twips, 15 to a pixel at the designed 96 dots per inch; Qt's high-DPI
// scaling applies on top of the pixels.
inline constexpr int kTwipsPerPixel = 15;
int twipsToPixels(int twips);
QSize twipsSize(int width, int height);
QRect twipsRect(int left, int top, int width, int height);

// A designed colour &H00BBGGRR (blue, green, red from the high byte down): &H00C0C0FF is a light red.
QColor designColour(std::uint32_t bgr);

// Selects the box's whole text once the focusing event has ended, so that typing replaces the
// value however the box was reached (a focusing mouse click would undo a selection made during
// the focus event; focus from code selects nothing by itself).
void selectAllAfterFocus(QLineEdit& box);

// Called as the box loses the focus: once the focus has gone on to another control of its window,
// the box shows no selection, whichever move took it there (Qt keeps the selection when the move
// is an activation's, and two boxes then look selected). A box whose window lost the keyboard
// keeps it, as it keeps the window's focus; a context menu opening over it is no leaving.
void deselectOnLeaving(QLineEdit& box, Qt::FocusReason reason);

// The control of that object name, for a window made from its designed layout that keeps no
// member per control; a name the window has no control of raises subscript out of range (9),
// naming it.
template <class T>
T* namedChild(const QWidget& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  if (!found) platform::raiseNotFound(name);
  return found;
}

}  // namespace tovakin::gui
