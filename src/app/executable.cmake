# The desktop program kinetta, started from the program folder beside kinetta-render.
add_executable(kinetta src/app/main.cpp)
target_link_libraries(kinetta PRIVATE kinetta_ui)
set_target_properties(kinetta PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${KINETTA_APP_DIR})
