# Engine tests of this area.
target_sources(engine_tests PRIVATE
  tests/preview/frame_sequence_test.cpp
)
