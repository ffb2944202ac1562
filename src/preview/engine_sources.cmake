# Engine (no Qt) files of this area.
target_sources(kinetta_engine PRIVATE
  src/preview/frame_sequence.cpp
)
