# Engine (no Qt) files of this area.
target_sources(kinetta_engine PRIVATE
  src/app/activity_state.cpp
  src/app/atomic_file.cpp
  src/app/number_text.cpp
  src/app/path_helpers.cpp
  src/app/settings_file.cpp
  src/app/window_layout.cpp
)
