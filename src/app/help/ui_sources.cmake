# Desktop program files of this area.
target_sources(kinetta_ui PRIVATE
  src/app/help/about_box.cpp
  src/app/help/about_box.h
  src/app/help/help_commands.cpp
)
# The help page lies beside the executable; it is copied again whenever it changes.
configure_file(${CMAKE_SOURCE_DIR}/src/app/help/help.htm ${KINETTA_APP_DIR}/help.htm
  COPYONLY)
