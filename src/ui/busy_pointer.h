#pragma once
// The busy cursor of the windows: 砂時計 through Qt's override cursor.
//
// The override cursor is a stack in Qt; the program's busy cursor is a switch. At most one entry
// of ours is ever on that stack, so 砂時計(true) twice and 砂時計(false) once leaves the default
// pointer, as the program expects. While a box or a file dialog is up the busy entry is taken
// off (the user must see an ordinary pointer to answer) and put back afterwards if the program
// still wants it.
#include "app/cursor.h"
#include "ui/layer.h"

namespace tovakin::gui {

// What 砂時計 asks for: busy pointer on (true) or off (false).
void setBusyPointer(bool on);
// The last switch of the program (true while it wants the busy pointer).
bool busyPointerWanted();
// Whether our busy entry is on Qt's override stack now.
bool busyPointerShown();

// Ordinary pointer while a modal box or dialog is up; scopes nest.
class [[nodiscard]] ModalPointer {
 public:
  ModalPointer();
  ~ModalPointer();
  ModalPointer(const ModalPointer&) = delete;
  ModalPointer& operator=(const ModalPointer&) = delete;
};

// The BusyCursor service that main() installs.
class QtBusyCursor final : public BusyCursor {
 public:
  void show(bool busy) override { setBusyPointer(busy); }
};

}  // namespace tovakin::gui
