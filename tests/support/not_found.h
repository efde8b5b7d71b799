#pragma once
// Whether a look-up finds nothing as the program's look-ups must: it raises subscript out of
// range (9) at once, and its description names what was looked for.
#include <gtest/gtest.h>

#include <string>

#include "platform/error_box.h"

namespace tovakin::testing {

template <class LookUp>
::testing::AssertionResult raisesNotFound(LookUp&& lookUp, const std::string& what) {
  const std::string expected =
      platform::errorDescription(platform::err::kOutOfRange) + "（" + what + "）";
  try {
    lookUp();
  } catch (const platform::RuntimeError& e) {
    if (e.number() == platform::err::kOutOfRange && e.description() == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "raised (" << e.number() << ") " << e.description() << ", not " << expected;
  }
  return ::testing::AssertionFailure() << "found something instead of raising " << expected;
}

}  // namespace tovakin::testing
