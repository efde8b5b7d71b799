#pragma once
// A busy cursor for tests: records every switch and can run an action on each, installed for
// its lifetime.
#include <functional>
#include <vector>

#include "app/cursor.h"

namespace tovakin::testing {
using namespace tovakin::app;

class RecordingBusyCursor final : public BusyCursor {
 public:
  explicit RecordingBusyCursor(std::function<void(bool)> onShow = {}) : onShow_(std::move(onShow)) {}
  void show(bool busy) override {
    switches.push_back(busy);
    if (onShow_) onShow_(busy);
  }
  std::vector<bool> switches;

 private:
  std::function<void(bool)> onShow_;
  Installed<BusyCursor> installed_ = installBusyCursor(*this);
};

}  // namespace tovakin::testing
