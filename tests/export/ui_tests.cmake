# Desktop program tests of this area.
target_sources(ui_tests PRIVATE
  tests/export/animation_dialog_test.cpp
  tests/export/export_dialog_test.cpp
)
