#pragma once
// Names of the rows of a parameterised test: the row's place in its table and what its input
// reads as in letters and digits, so that a failure (and ctest's list) names a row a reader can
// find in the table ("Cases/MyPathTrimTest.Trims/3_data_case1_PIPEDATA").
#include <cstddef>
#include <string>
#include <string_view>

namespace tovakin::testing {

inline std::string rowName(std::size_t index, std::string_view hint) {
  std::string name = std::to_string(index);
  bool gap = true;  // after the index comes one "_" before the first word
  for (const char c : hint) {
    const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!word) {
      gap = true;
      continue;
    }
    if (gap) {
      if (name.size() >= 48) break;
      name += '_';
      gap = false;
    }
    name += c;
  }
  return name;
}

}  // namespace tovakin::testing
