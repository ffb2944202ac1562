# Engine (no Qt) files of this area.
target_sources(kinetta_engine PRIVATE
  src/export/animation_file.cpp
  src/export/gif_writer.cpp
  src/export/html_page.cpp
  src/export/palette_map.cpp
  src/export/webp_writer.cpp
)
include(${CMAKE_CURRENT_LIST_DIR}/viewer.cmake)
