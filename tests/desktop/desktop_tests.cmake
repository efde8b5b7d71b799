# The desktop tests: the built program on a real X server (Xvfb with openbox), driven from outside
# by tests/desktop/harness.py. Each test script starts its own server on a free display, so the
# scripts run side by side. Without Xvfb, xdotool or openbox they are not registered (scripts/test.sh
# installs them). The tests that open a design file find the named cases' files, written at build time
# by tests/helpers/design_file_writer.cpp (target tovakin_design_fixtures), in TOVAKIN_DESIGN_FILES.
find_program(TOVAKIN_XVFB Xvfb)
find_program(TOVAKIN_XDOTOOL xdotool)
find_program(TOVAKIN_OPENBOX openbox)
find_package(Python3 COMPONENTS Interpreter)
if(TOVAKIN_XVFB AND TOVAKIN_XDOTOOL AND TOVAKIN_OPENBOX AND Python3_FOUND)
  file(GLOB _desktop_scripts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/desktop/test_*.py)
  foreach(_script IN LISTS _desktop_scripts)
    get_filename_component(_name ${_script} NAME_WE)
    add_test(NAME desktop.${_name} COMMAND ${Python3_EXECUTABLE} ${_script} -v
             WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/tests/desktop)
    # The sanitizer build runs several times slower (the factor of the other tests' hang limits).
    set(_scale ${TOVAKIN_TIMEOUT_SCALE})
    set_tests_properties(desktop.${_name} PROPERTIES TIMEOUT 900
        ENVIRONMENT "TOVAKIN_APPDIR=${TOVAKIN_APPDIR};TOVAKIN_DESIGN_FILES=${TOVAKIN_DESIGN_FIXTURES};TOVAKIN_DESKTOP_ARTIFACTS=${CMAKE_BINARY_DIR}/desktop-artifacts;TOVAKIN_DESKTOP_TIMEOUT_SCALE=${_scale}")
  endforeach()
endif()
