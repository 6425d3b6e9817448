# Where an installed game lives, where Debian keeps a game's: the launcher, the checker, the
# track maker and the league's program in games/, the game itself in libexec (the launcher starts
# it in the player's play folder), its modules (loaded at their first use) in a folder of its own
# under lib/, the tracks and pictures under the data directory, the manual pages in section 6
# (the games'), and the
# desktop's entry, metainfo, icons and the race file's type. Every destination is relative, so
# one tree serves any prefix and the Debian package; only the desktop entry names the launcher by
# its full path, written when the tree is installed.

include(GNUInstallDirs)

set(KF_APP_ID org.kurvenflitzerl.Kurvenflitzerl)
set(KF_SCREENSHOT_URL "https://kurvenflitzerl.example.org/screenshots" CACHE STRING
    "Web folder of the README's screenshots, named in the desktop metainfo")
set(KF_INSTALL_BINDIR games)
set(KF_INSTALL_GAMEDIR ${CMAKE_INSTALL_LIBEXECDIR}/kurvenflitzerl)
# Where Debian keeps a package's private libraries: lib/<triplet>/kurvenflitzerl, for every
# prefix (CMAKE_INSTALL_LIBDIR holds the triplet only under the prefix /usr). Not directly in
# lib/kurvenflitzerl: the package would then run ldconfig, which a private folder has no use for.
if(CMAKE_LIBRARY_ARCHITECTURE)
    set(KF_INSTALL_MODULEDIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/kurvenflitzerl)
else()
    set(KF_INSTALL_MODULEDIR lib/kurvenflitzerl)
endif()
set(KF_INSTALL_SHAREDIR ${CMAKE_INSTALL_DATADIR}/kurvenflitzerl)
set(KF_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/kurvenflitzerl)
set(KF_MAN_PAGES kurvenflitzerl.6 kurvenflitzerl-check.6 kurvenflitzerl-track.6
                  kurvenflitzerl-league.6)

# The launcher finds the game and the shipped files from its own place.
file(RELATIVE_PATH KF_BIN_TO_DATA ${CMAKE_INSTALL_PREFIX}/${KF_INSTALL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/kurvenflitzerl)
file(RELATIVE_PATH KF_BIN_TO_GAME ${CMAKE_INSTALL_PREFIX}/${KF_INSTALL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBEXECDIR}/kurvenflitzerl/kurvenflitzerl)
# The game finds its modules from its own place (GameModule).
file(RELATIVE_PATH KF_GAME_TO_MODULES ${CMAKE_INSTALL_FULL_LIBEXECDIR}/kurvenflitzerl
     ${CMAKE_INSTALL_PREFIX}/${KF_INSTALL_MODULEDIR})
# On the one file that needs it, which the core's precompiled headers then leave alone: the
# targets that share them need not define it.
set_source_files_properties(src/level/GameModule.cpp PROPERTIES
    COMPILE_DEFINITIONS KF_MODULE_DIR="${KF_GAME_TO_MODULES}" SKIP_PRECOMPILE_HEADERS ON)
if(TARGET kf_core_tests)
    target_compile_definitions(kf_core_tests PRIVATE KF_MODULE_DIR="${KF_GAME_TO_MODULES}")
endif()
configure_file(dist/kurvenflitzerl.sh.in ${CMAKE_BINARY_DIR}/dist/kurvenflitzerl @ONLY)
configure_file(dist/${KF_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/dist/${KF_APP_ID}.metainfo.xml @ONLY)

# Manual pages (and the package's changelog) go in gzipped, as Debian wants them: compressed
# the most, with neither name nor time in the header, so that every build gives the same bytes.
find_program(KF_GZIP gzip REQUIRED)
function(kf_gzip source output)
    get_filename_component(copy ${output} NAME_WLE)
    get_filename_component(folder ${output} DIRECTORY)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${CMAKE_COMMAND} -E copy ${source} ${folder}/${copy}
                       COMMAND ${KF_GZIP} -9nf ${folder}/${copy}
                       DEPENDS ${source} VERBATIM)
endfunction()
set(KF_MAN_FILES)
foreach(page IN LISTS KF_MAN_PAGES)
    kf_gzip(${CMAKE_SOURCE_DIR}/dist/${page} ${CMAKE_BINARY_DIR}/man/${page}.gz)
    list(APPEND KF_MAN_FILES ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(kfdocs ALL DEPENDS ${KF_MAN_FILES})

install(TARGETS kurvenflitzerl RUNTIME DESTINATION ${KF_INSTALL_GAMEDIR})
install(TARGETS kfstore kfhistorywindow kfleaguelink kfzip LIBRARY DESTINATION ${KF_INSTALL_MODULEDIR})
install(TARGETS kurvenflitzerl-check kurvenflitzerl-track kurvenflitzerl-league
        RUNTIME DESTINATION ${KF_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/kurvenflitzerl DESTINATION ${KF_INSTALL_BINDIR})
install(FILES ${KF_DATA_FILES} DESTINATION ${KF_INSTALL_SHAREDIR})
install(FILES ${KF_MAN_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The desktop entry starts the launcher by its full path, as a prefix's games/ folder need not
# be on the player's path. That path is known only when the tree is installed (the prefix of
# `cmake --install --prefix`, or the package's), so the entry is written then.
install(CODE "
    set(KF_DESKTOP_ENTRY_IN \"${CMAKE_SOURCE_DIR}/dist/${KF_APP_ID}.desktop.in\")
    set(KF_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/${KF_INSTALL_BINDIR}/kurvenflitzerl\")
    set(KF_DESKTOP_ENTRY
        \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${KF_APP_ID}.desktop\")
    include(\"${CMAKE_SOURCE_DIR}/cmake/DesktopEntry.cmake\")
")
install(FILES ${CMAKE_BINARY_DIR}/dist/${KF_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN LISTS KF_ICON_SIZES)
    install(FILES ${KF_ICON_DIR}/kurvenflitzerl-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${KF_APP_ID}.png)
    install(FILES ${KF_ICON_DIR}/kurvenflitzerl-race-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
            RENAME application-x-kurvenflitzerl-race.png)
endforeach()
# The race file's type, for the desktop's MIME database. A Debian package updates the database
# through shared-mime-info's trigger on this folder; any other prefix needs
# `update-mime-database <prefix>/share/mime`.
install(FILES dist/kurvenflitzerl.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
# Not DOCDIR, which is named after the project: the package's copyright file must lie in a
# folder named after the package.
install(FILES dist/copyright DESTINATION ${KF_INSTALL_DOCDIR})
