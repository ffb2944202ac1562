# Engine (no Qt) files of this area.
target_sources(kinetta_engine PRIVATE
  src/image/bmp_file.cpp
  src/image/recent_files.cpp
)
