# Engine tests of this area.
target_sources(engine_tests PRIVATE
  tests/app/number_text_test.cpp
  tests/app/path_helpers_test.cpp
  tests/app/settings_file_test.cpp
)
