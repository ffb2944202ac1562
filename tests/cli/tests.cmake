# Command-line renderer tests.
target_sources(cli_tests PRIVATE
  tests/cli/cli_animation_test.cpp
  tests/cli/cli_html_test.cpp
  tests/cli/cli_options_test.cpp
  tests/cli/cli_run_test.cpp
)
