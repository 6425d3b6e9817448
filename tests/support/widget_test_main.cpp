#include "window/GhostSetting.h"
#ifdef KF_TEST_POSTGRES
#include "support/PostgresServer.h"
#endif

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Real widgets on the offscreen platform, so no test needs a display. The program of the game's
// league tests is built from this file with KF_TEST_POSTGRES set: the PostgreSQL server its tests
// share is stopped before the application goes. The program of the scale
// tests is built from this file with KF_TEST_SCALE_FACTOR set: Qt reads the screen's scale when
// the application is made, so it is set before.
int main(int argc, char** argv) {
#ifdef KF_TEST_SCALE_FACTOR
    qputenv("QT_SCALE_FACTOR", KF_TEST_SCALE_FACTOR);
#endif
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The run history goes to a data folder of this program's own, never the player's.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    // And so do the settings. The tests share one history, so the ghost of the best run starts
    // off: one test's runs never bring a marker onto another's board. The ghost's tests switch
    // it on.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    kf::setGhostSetting(false);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kurvenflitzerl");
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
#ifdef KF_TEST_POSTGRES
    PostgresServer::stopShared();
#endif
    return status;
}
