# Picture loading tests.
target_sources(cli_tests PRIVATE
  tests/image/picture_file_test.cpp
)
