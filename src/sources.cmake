# Libraries and executables. Each area lists its own files.

# The rendering engine: plain C++, no Qt.
add_library(kinetta_engine STATIC)
target_link_libraries(kinetta_engine PUBLIC kinetta_options Threads::Threads)
target_link_libraries(kinetta_engine PRIVATE PkgConfig::IMAGEQUANT PkgConfig::GIFLIB PkgConfig::WEBP)
include(src/app/engine_sources.cmake)
include(src/image/engine_sources.cmake)
include(src/render/sources.cmake)
include(src/preview/engine_sources.cmake)
include(src/export/engine_sources.cmake)

# Picture files through QImage (QtGui only, so the command-line renderer needs no widgets).
add_library(kinetta_picture STATIC)
target_link_libraries(kinetta_picture PUBLIC kinetta_engine Qt6::Gui)
include(src/image/picture_sources.cmake)

# The command-line renderer's library and executable.
add_library(kinetta_cli STATIC)
target_link_libraries(kinetta_cli PUBLIC kinetta_picture)
include(src/cli/sources.cmake)

add_executable(kinetta-render src/cli/main.cpp)
target_link_libraries(kinetta-render PRIVATE kinetta_cli)
set_target_properties(kinetta-render PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KINETTA_APP_DIR})

# The desktop program.
include(src/ui.cmake OPTIONAL)
