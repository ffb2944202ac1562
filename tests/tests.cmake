# Test executables; each area lists its own test files.

add_library(kinetta_test_support STATIC tests/test_support.cpp)
target_link_libraries(kinetta_test_support PUBLIC kinetta_engine GTest::gtest)
target_include_directories(kinetta_test_support PUBLIC ${CMAKE_SOURCE_DIR}/tests)

# Reading animation files back, for the tests and the benchmarks.
add_library(kinetta_animation_decoder STATIC tests/export/animation_decoder.cpp)
target_link_libraries(kinetta_animation_decoder PUBLIC kinetta_engine
  PkgConfig::GIFLIB PkgConfig::WEBP)
target_include_directories(kinetta_animation_decoder PUBLIC ${CMAKE_SOURCE_DIR}/tests)

# Engine tests: no Qt.
add_executable(engine_tests)
target_link_libraries(engine_tests PRIVATE kinetta_test_support kinetta_animation_decoder
  GTest::gtest_main)
include(tests/app/engine_tests.cmake)
include(tests/image/engine_tests.cmake)
include(tests/render/tests.cmake)
include(tests/preview/engine_tests.cmake)
include(tests/export/engine_tests.cmake)
gtest_discover_tests(engine_tests DISCOVERY_TIMEOUT 120 NO_PRETTY_VALUES)

# Picture files and the command-line renderer (QtGui, no widgets).
add_executable(cli_tests)
target_link_libraries(cli_tests PRIVATE kinetta_cli kinetta_test_support
  kinetta_animation_decoder GTest::gtest_main)
target_compile_definitions(cli_tests PRIVATE
  KINETTA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
  KINETTA_RENDER_EXE="$<TARGET_FILE:kinetta-render>")
add_dependencies(cli_tests kinetta-render)
include(tests/image/picture_tests.cmake)
include(tests/cli/tests.cmake)
gtest_discover_tests(cli_tests DISCOVERY_TIMEOUT 120 NO_PRETTY_VALUES)

# The desktop program's tests.
include(tests/ui_tests.cmake OPTIONAL)
