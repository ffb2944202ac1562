# Desktop program files of this area.
target_sources(kinetta_ui PRIVATE
  src/export/export_dialog.cpp
  src/export/export_dialog.h
)
