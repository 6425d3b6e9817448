# `make package`: a Debian package of the installed tree, its library dependencies worked out
# by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kurvenflitzerl)
set(CPACK_PACKAGE_VENDOR "The Kurvenflitzerl developers")
set(CPACK_PACKAGE_CONTACT "The Kurvenflitzerl developers <kurvenflitzerl@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "game of mouse skill: guide the pointer through a track")
# The lines of the long description, each short enough for an 80-column terminal.
set(CPACK_PACKAGE_DESCRIPTION
    "A track is a picture: black is wall, green the start, red the finish.\n"
    "Press the mouse button on the start, guide the pointer through the track\n"
    "with the button held, and let go on the finish. Every run is timed to the\n"
    "millisecond and the best run of every track is kept. With a pack of nine\n"
    "tracks, a level creator, a level checker, a maker of tracks to order and\n"
    "hot-seat matches for one to five players.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by name at run time, so shlibdeps cannot see them: the dialogs' font, the SQLite
# driver of the run history and the PostgreSQL driver of the league. shared-mime-info, whose trigger on /usr/share/mime/packages reads
# the race file's type into the desktop's MIME database at install and removal, comes with Qt
# Core (libqt6core6 depends on it); the desktop entry's and icons' caches have triggers too.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libqt6sql6-sqlite, libqt6sql6-psql")
# Without it Qt runs through XWayland on a Wayland desktop, which works too.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)

# The package's changelog, which Debian wants beside the copyright file.
configure_file(dist/changelog.Debian.in ${CMAKE_BINARY_DIR}/doc/changelog.Debian @ONLY)
kf_gzip(${CMAKE_BINARY_DIR}/doc/changelog.Debian ${CMAKE_BINARY_DIR}/doc/gz/changelog.Debian.gz)
add_custom_target(kfchangelog DEPENDS ${CMAKE_BINARY_DIR}/doc/gz/changelog.Debian.gz)
add_dependencies(kfdocs kfchangelog)
install(FILES ${CMAKE_BINARY_DIR}/doc/gz/changelog.Debian.gz DESTINATION ${KF_INSTALL_DOCDIR})
# What lintian need not tell about this package, each with its reason.
install(FILES dist/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME kurvenflitzerl)
