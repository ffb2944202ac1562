# Desktop program files of this area.
target_sources(kinetta_ui PRIVATE
  src/preview/preview_player.cpp
)
