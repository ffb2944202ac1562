# Desktop program files of this area.
target_sources(kinetta_ui PRIVATE
  src/settings/settings_dialog.cpp
  src/settings/settings_dialog.h
  src/settings/settings_rules.cpp
)
