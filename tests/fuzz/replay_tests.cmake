# Read by ctest every time it starts (a TEST_INCLUDE_FILES script of the build folder): asks the
# replay executable for its tests, which it makes from the files of the corpus folders as they
# are at that moment, and adds each as a test of its own. So a reproducer copied into a corpus
# folder is run by the next ctest, without building or configuring again. (gtest_discover_tests
# keeps the list it made until the executable changes, and would miss new files.)
#
# Set before including this: TOVAKIN_REPLAY_EXE, the replay executable.

# When the executable is missing or cannot even list its tests, one test runs it whole, so that
# the failure shows in the test results instead of the corpus being skipped.
set(_tovakin_listed FALSE)
if(EXISTS "${TOVAKIN_REPLAY_EXE}")
  execute_process(COMMAND "${TOVAKIN_REPLAY_EXE}" --gtest_list_tests
                  OUTPUT_VARIABLE _tovakin_out RESULT_VARIABLE _tovakin_rc TIMEOUT 60)
  if(_tovakin_rc EQUAL 0)
    set(_tovakin_listed TRUE)
  endif()
endif()
if(NOT _tovakin_listed)
  add_test(test_fuzz_replay "${TOVAKIN_REPLAY_EXE}")
  return()
endif()

# The listing: a line "Suite." (a parameterized suite: "prefix/Suite."), then its tests indented
# by two blanks, each perhaps followed by "  # GetParam() = ...".
string(REPLACE ";" "," _tovakin_out "${_tovakin_out}")
string(REPLACE "\n" ";" _tovakin_lines "${_tovakin_out}")
set(_tovakin_suite "")
foreach(_tovakin_line IN LISTS _tovakin_lines)
  if(_tovakin_line MATCHES "^([^ #][^ ]*\\.)")
    set(_tovakin_suite "${CMAKE_MATCH_1}")
  elseif(_tovakin_line MATCHES "^  ([^ ]+)" AND NOT _tovakin_suite STREQUAL "")
    set(_tovakin_name "${_tovakin_suite}${CMAKE_MATCH_1}")
    add_test("${_tovakin_name}" "${TOVAKIN_REPLAY_EXE}" "--gtest_filter=${_tovakin_name}")
    set_tests_properties("${_tovakin_name}" PROPERTIES TIMEOUT 300)
  endif()
endforeach()
