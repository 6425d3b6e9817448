# Writes the desktop entry at install time, its Exec naming the launcher by its full path.
#
#     KF_DESKTOP_ENTRY_IN  the entry with @KF_DESKTOP_EXEC@ where the command goes
#     KF_LAUNCHER          the installed launcher, without DESTDIR
#     KF_DESKTOP_ENTRY     the installed entry, without DESTDIR
#
# A path of other characters than letters, digits and -_./+,:@ is quoted, as the desktop entry
# rules ask: within the quotes " ` $ \ take a backslash, and as the value is a string each
# backslash is then doubled once more. A % is doubled everywhere, as it starts a field code.

string(REPLACE "%" "%%" kf_exec "${KF_LAUNCHER}")
if(kf_exec MATCHES "[^-A-Za-z0-9_./+,:@%]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" kf_exec "${kf_exec}")
    string(REPLACE "\\" "\\\\" kf_exec "${kf_exec}")
    set(kf_exec "\"${kf_exec}\"")
endif()
set(KF_DESKTOP_EXEC "${kf_exec}")

message(STATUS "Installing: $ENV{DESTDIR}${KF_DESKTOP_ENTRY}")
configure_file("${KF_DESKTOP_ENTRY_IN}" "$ENV{DESTDIR}${KF_DESKTOP_ENTRY}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${KF_DESKTOP_ENTRY}")
