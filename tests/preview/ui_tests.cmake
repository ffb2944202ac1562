# Desktop program tests of this area.
target_sources(ui_tests PRIVATE
  tests/preview/preview_player_test.cpp
)
