# Desktop program files of the application shell.
target_sources(kinetta_ui PRIVATE
  src/app/prompter.cpp
)
