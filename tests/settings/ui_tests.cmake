# Desktop program tests of this area.
target_sources(ui_tests PRIVATE
  tests/settings/settings_rules_test.cpp
  tests/settings/settings_dialog_test.cpp
  tests/app/help/help_commands_test.cpp
)
