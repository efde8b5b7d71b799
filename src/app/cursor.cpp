#include "app/cursor.h"

#include <utility>

#include "platform/error_box.h"

namespace tovakin {

namespace {
std::function<void(bool)>& hook() {
  static std::function<void(bool)> h;
  return h;
}
}  // namespace

void 砂時計(bool on) {
  if (hook()) guardStep("砂時計", [&] { hook()(on); });
}

std::function<void(bool)> setBusyCursorHook(std::function<void(bool)> h) {
  return std::exchange(hook(), std::move(h));
}

}  // namespace tovakin
