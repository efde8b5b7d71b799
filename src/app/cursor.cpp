#include "app/cursor.h"

#include "app/layer.h"
#include "platform/error_box.h"

namespace tovakin::app {

namespace {
BusyCursor* g_cursor = nullptr;
}  // namespace

void 砂時計(bool on) {
  if (g_cursor) guardStep("砂時計", [&] { g_cursor->show(on); });
}

Installed<BusyCursor> installBusyCursor(BusyCursor& cursor) { return {g_cursor, &cursor}; }

}  // namespace tovakin::app
