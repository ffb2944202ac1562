# Desktop program tests of this area.
target_sources(ui_tests PRIVATE
  tests/app/animation_command_test.cpp
  tests/app/conversion_run_test.cpp
  tests/app/form_metrics_test.cpp
  tests/app/main_window_test.cpp
  tests/app/worker_thread_test.cpp
)
