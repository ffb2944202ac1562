# Engine tests of this area.
target_sources(engine_tests PRIVATE
  tests/app/activity_state_test.cpp
  tests/app/number_text_test.cpp
  tests/app/path_helpers_test.cpp
  tests/app/settings_file_test.cpp
  tests/app/window_layout_test.cpp
)
