# Where an installed game lives: the launcher and the checker on the path, the game itself beside
# them in libexec (the launcher starts it in the player's play folder), the tracks and pictures
# under the data directory, and the desktop's entry, metainfo and icons. Every destination is
# relative, so one tree serves any prefix and the Debian package.

include(GNUInstallDirs)

set(KF_APP_ID org.kurvenflitzerl.Kurvenflitzerl)
set(KF_SCREENSHOT_URL "https://kurvenflitzerl.example.org/screenshots" CACHE STRING
    "Web folder of the README's screenshots, named in the desktop metainfo")
set(KF_INSTALL_GAMEDIR ${CMAKE_INSTALL_LIBEXECDIR}/kurvenflitzerl)
set(KF_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/kurvenflitzerl)

# The launcher finds the game and the shipped files from its own place.
file(RELATIVE_PATH KF_BIN_TO_DATA ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/kurvenflitzerl)
file(RELATIVE_PATH KF_BIN_TO_GAME ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBEXECDIR}/kurvenflitzerl/kurvenflitzerl)
configure_file(dist/kurvenflitzerl.sh.in ${CMAKE_BINARY_DIR}/dist/kurvenflitzerl @ONLY)
configure_file(dist/${KF_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/dist/${KF_APP_ID}.metainfo.xml @ONLY)

install(TARGETS kurvenflitzerl RUNTIME DESTINATION ${KF_INSTALL_GAMEDIR})
install(TARGETS kurvenflitzerl-check RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/kurvenflitzerl DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${KF_DATA_FILES} DESTINATION ${KF_INSTALL_SHAREDIR})
install(FILES dist/${KF_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/dist/${KF_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS KF_ICON_SIZES)
    install(FILES ${KF_ICON_DIR}/kurvenflitzerl-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${KF_APP_ID}.png)
endforeach()
# Not DOCDIR, which is named after the project: the package's copyright file must lie in a
# folder named after the package.
install(FILES dist/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kurvenflitzerl)
