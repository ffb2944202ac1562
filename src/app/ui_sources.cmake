# Desktop program files of the application shell.
target_sources(kinetta_ui PRIVATE
  src/app/conversion_runner.cpp
  src/app/form_metrics.cpp
  src/app/main_window.cpp
  src/app/picture_box.cpp
  src/app/prompter.cpp
  src/app/toolbar_icons.cpp
  src/app/worker_thread.cpp
  src/image/open_command.cpp
)
