#pragma once
// A test may stop a hang, never time a run: what a thing takes belongs to bench/. A hang limit is
// at least ten times what the thing takes on a quiet machine, and grows with the build's timeout
// scale (TOVAKIN_TIMEOUT_SCALE: 1, 4 for the sanitizer build), the factor the desktop tests'
// waits are scaled by.
#include <chrono>

#ifndef TOVAKIN_TIMEOUT_SCALE
#define TOVAKIN_TIMEOUT_SCALE 1
#endif

namespace tovakin::testing {

inline constexpr int kTimeoutScale = TOVAKIN_TIMEOUT_SCALE;

// The limit for something that takes `quietRun` on a quiet machine in the normal build.
template <class Rep, class Period>
constexpr std::chrono::milliseconds hangLimit(std::chrono::duration<Rep, Period> quietRun) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(quietRun) * 10 * kTimeoutScale;
}

}  // namespace tovakin::testing
