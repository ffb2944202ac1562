# The Debian package, made by CPack from the install (`make deb`, or `cpack -G DEB` in the build
# folder): kinetta_<version>_amd64.deb, installing under /usr with the program folder in
# /usr/lib/kinetta. The libraries it needs are found by dpkg-shlibdeps from the installed
# executables and the video module; what is loaded without being linked is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kinetta)
set(CPACK_PACKAGE_VENDOR "Kinetta")
set(CPACK_PACKAGE_CONTACT "Kinetta developers <kinetta@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns one still picture into a short looping animation")
set(CPACK_PACKAGE_DESCRIPTION "\
Kinetta opens a picture and moves it in one of nine ways (a sliding band, a turning disk,
sphere or cylinder, a waving flag, a water reflection, a card flip, a stencil slide, a
fade-in), renders the frames beside it, plays them, and writes a web page, an animated GIF,
WebP or APNG, or an MP4 video. kinetta-render does the same from the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KINETTA_HOMEPAGE}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Installed with DESTDIR under the real prefix, so that the desktop entry names /usr/lib/kinetta.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the linked libraries: Qt's platform plugins (the window system), and, wanted but not
# needed, the Japanese font, Qt's own Japanese texts and the browser opener of the help page.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk | fonts-ipafont-gothic, qt6-translations-l10n, xdg-utils")
# The program keeps mivet.ini in its folder when it may write there (run by root); removing the
# package removes that file too, so that nothing of it stays behind.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
