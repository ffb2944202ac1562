# Engine tests of this area.
target_sources(engine_tests PRIVATE
  tests/image/bmp_file_test.cpp
  tests/image/recent_files_test.cpp
)
