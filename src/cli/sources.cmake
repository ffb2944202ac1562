# Command-line renderer library.
target_sources(kinetta_cli PRIVATE
  src/cli/cli_options.cpp
  src/cli/cli_run.cpp
)
