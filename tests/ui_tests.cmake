# Desktop program tests, run offscreen.
add_executable(ui_tests tests/ui_test_main.cpp)
target_link_libraries(ui_tests PRIVATE kinetta_ui kinetta_test_support GTest::gtest)
include(tests/app/ui_tests.cmake)
include(tests/settings/ui_tests.cmake)
include(tests/preview/ui_tests.cmake)
include(tests/export/ui_tests.cmake)
gtest_discover_tests(ui_tests DISCOVERY_TIMEOUT 120 NO_PRETTY_VALUES
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
