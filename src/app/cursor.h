#pragma once
// The busy cursor. The windows install one that sets the screen's mouse pointer; without one
// (headless runs and tests) the call does nothing. Calls do not nest: the last call decides.
#include "app/layer.h"
#include "platform/service.h"

namespace tovakin::app {

class BusyCursor {
 public:
  virtual ~BusyCursor() = default;
  // Busy pointer on (true) or back to the default pointer (false).
  virtual void show(bool busy) = 0;
};

// Busy cursor on (true) or back to the default pointer (false).
void 砂時計(bool on);

// Installs the cursor until the guard goes out of scope.
Installed<BusyCursor> installBusyCursor(BusyCursor& cursor);

}  // namespace tovakin::app
