#pragma once
// Services the program asks for but does not own: the error box, the message box, the busy
// cursor, the pipe-data source, the report-template opener. Each is one interface with at most
// one installed implementation; the windows install theirs at start-up, tests install doubles,
// both the same way. Installing returns a guard that puts the previous implementation back
// when it goes out of scope, so installs nest like scopes and no test leaks its double into the
// next one.
#include <utility>

namespace tovakin::platform {

template <class Service>
class [[nodiscard]] Installed {
 public:
  Installed(Service*& slot, Service* next) noexcept : slot_(&slot), previous_(slot) { slot = next; }
  Installed(Installed&& other) noexcept
      : slot_(std::exchange(other.slot_, nullptr)), previous_(other.previous_) {}
  Installed(const Installed&) = delete;
  Installed& operator=(const Installed&) = delete;
  Installed& operator=(Installed&&) = delete;
  ~Installed() {
    if (slot_) *slot_ = previous_;
  }

 private:
  Service** slot_;
  Service* previous_;
};

}  // namespace tovakin::platform
