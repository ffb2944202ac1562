# Engine (no Qt) files of this area.
target_sources(kinetta_engine PRIVATE
  src/export/html_page.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/viewer.cmake)
