#pragma once
// The busy cursor. The windows install a hook that sets the screen's mouse pointer; without one
// (headless runs and tests) the call does nothing. Calls do not nest: the last call decides.
#include <functional>

namespace tovakin {

// Busy cursor on (true) or back to the default pointer (false).
void 砂時計(bool on);

// Installs the function that shows the pointer (an empty function removes it); returns the
// previous one.
std::function<void(bool)> setBusyCursorHook(std::function<void(bool)> hook);

}  // namespace tovakin
