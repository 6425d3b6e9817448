# `make package`: a Debian package of the installed tree, its library dependencies worked out
# by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kurvenflitzerl)
set(CPACK_PACKAGE_VENDOR "The Kurvenflitzerl developers")
set(CPACK_PACKAGE_CONTACT "The Kurvenflitzerl developers <kurvenflitzerl@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "game of mouse skill: guide the pointer through a track")
set(CPACK_PACKAGE_DESCRIPTION
    "A track is a picture: black is wall, green the start, red the finish. Press the mouse "
    "button on the start, guide the pointer through the track with the button held, and let "
    "go on the finish. Every run is timed to the millisecond and the best run of every track "
    "is kept. With a pack of nine tracks, a level creator, a level checker and hot-seat "
    "matches for one to five players.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by name at run time, so shlibdeps cannot see them: the dialogs' font and the SQLite
# driver of the run history.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libqt6sql6-sqlite")
# Without it Qt runs through XWayland on a Wayland desktop, which works too.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
