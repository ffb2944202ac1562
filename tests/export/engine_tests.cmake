# Engine tests of this area.
target_sources(engine_tests PRIVATE
  tests/export/animation_file_test.cpp
  tests/export/html_page_test.cpp
  tests/export/palette_map_test.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/viewer_tests.cmake)
