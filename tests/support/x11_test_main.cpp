#include "support/XvfbServer.h"
#include "window/GhostSetting.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

// The game's real window on a real X server, through Qt's X11 platform: this program starts its
// own Xvfb and fails, saying why, when it cannot. The history, the settings and the runtime
// folder are temporary folders of this program's own, with the ghost off, as in the widget tests.
int main(int argc, char** argv) {
    kf::test::XvfbServer server;
    if (!server.start()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.error()));
        return 1;
    }
    qputenv("DISPLAY", server.display());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QTemporaryDir runtimeDir;
    qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    // No session bus: D-Bus would start one for this display that outlives the program, and the
    // sanitizer build finds what libdbus keeps.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    kf::setGhostSetting(false);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kurvenflitzerl");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
