# The viewer files: the applet's parameter rules in a plain Java program, and the script in a
# real headless browser on a page exported over rendered frames.

set(KINETTA_VIEWER_TEST_DIR ${CMAKE_BINARY_DIR}/viewer-tests)

if(KINETTA_VIEWER_APPLET)
  set(KINETTA_APPLET_TEST_SOURCE ${CMAKE_CURRENT_LIST_DIR}/applet/VorrelTest.java)
  add_custom_command(
    OUTPUT ${KINETTA_VIEWER_TEST_DIR}/VorrelTest.class
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KINETTA_VIEWER_TEST_DIR}
    COMMAND ${Java_JAVAC_EXECUTABLE} --release 8 -encoding UTF-8 -Xlint:-options
            -cp ${KINETTA_SAMPLE_DIR} -d ${KINETTA_VIEWER_TEST_DIR} ${KINETTA_APPLET_TEST_SOURCE}
    DEPENDS ${KINETTA_APPLET_TEST_SOURCE} ${KINETTA_SAMPLE_DIR}/vorrel.class
    VERBATIM)
  add_custom_target(kinetta_viewer_tests ALL DEPENDS ${KINETTA_VIEWER_TEST_DIR}/VorrelTest.class)

  add_test(NAME ViewerApplet.ParameterRules
    COMMAND ${Java_JAVA_EXECUTABLE} -Djava.awt.headless=true
            -cp ${KINETTA_SAMPLE_DIR}:${KINETTA_VIEWER_TEST_DIR} VorrelTest ${KINETTA_SAMPLE_DIR})
endif()

find_program(KINETTA_CHROMIUM NAMES chromium chromium-browser)
add_test(NAME ViewerScript.PlaysInBrowser
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/browser_test.sh
          $<TARGET_FILE:kinetta-render> ${KINETTA_CHROMIUM} ${KINETTA_VIEWER_TEST_DIR}/browser)
set_tests_properties(ViewerScript.PlaysInBrowser PROPERTIES TIMEOUT 300)
