# Desktop program files of this area.
target_sources(kinetta_ui PRIVATE
  src/export/animation_dialog.cpp
  src/export/animation_dialog.h
  src/export/animation_runner.cpp
  src/export/animation_runner.h
  src/export/export_dialog.cpp
  src/export/export_dialog.h
  src/export/frame_time_form.cpp
  src/export/frame_time_form.h
)
