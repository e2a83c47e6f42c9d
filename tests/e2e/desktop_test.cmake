# hrln_add_desktop_test(name SOURCES ... LIBS ...): a test program on a display
# of its own, with the desktop libraries' leaks suppressed for the sanitizer
# build (our own code stays checked).
function(hrln_add_desktop_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} hrln_test_support GTest::gtest GTest::gtest_main)
  hrln_warnings(${name})
  hrln_register_desktop_test(${name})
endfunction()

# Registers a desktop test program that brings its own main.
function(hrln_register_desktop_test name)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/e2e/lsan-desktop.supp:print_suppressions=0")
endfunction()
