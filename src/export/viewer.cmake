# The viewer files shipped in the program folder's sample subfolder and copied beside the
# frames by the HTML export: the script that plays the page in any browser, and the applet,
# compiled for Java 8 so that old Java plug-ins load it. Only the applet needs a JDK.
set(KINETTA_SAMPLE_DIR ${KINETTA_APP_DIR}/sample)
set(KINETTA_VIEWER_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/viewer/vorrel.js)
set(viewer_files ${KINETTA_SAMPLE_DIR}/vorrel.js)

add_custom_command(
  OUTPUT ${KINETTA_SAMPLE_DIR}/vorrel.js
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KINETTA_SAMPLE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${KINETTA_VIEWER_SCRIPT} ${KINETTA_SAMPLE_DIR}/vorrel.js
  DEPENDS ${KINETTA_VIEWER_SCRIPT}
  VERBATIM)

if(KINETTA_VIEWER_APPLET)
  find_package(Java 1.8 REQUIRED COMPONENTS Development Runtime)
  set(KINETTA_APPLET_SOURCE ${CMAKE_CURRENT_LIST_DIR}/applet/vorrel.java)
  add_custom_command(
    OUTPUT ${KINETTA_SAMPLE_DIR}/vorrel.class
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KINETTA_SAMPLE_DIR}
    COMMAND ${Java_JAVAC_EXECUTABLE} --release 8 -encoding UTF-8 -Xlint:all -Xlint:-options
            -d ${KINETTA_SAMPLE_DIR} ${KINETTA_APPLET_SOURCE}
    DEPENDS ${KINETTA_APPLET_SOURCE}
    COMMENT "Compiling the viewer applet vorrel.class"
    VERBATIM)
  list(APPEND viewer_files ${KINETTA_SAMPLE_DIR}/vorrel.class)
endif()

add_custom_target(kinetta_viewer ALL DEPENDS ${viewer_files})
install(FILES ${viewer_files} DESTINATION ${KINETTA_INSTALL_DIR}/sample)
# The sample folder's files are used by the tests and read from the program folder.
set(KINETTA_SAMPLE_DIR ${KINETTA_SAMPLE_DIR} PARENT_SCOPE)
