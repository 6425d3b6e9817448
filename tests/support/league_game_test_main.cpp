#include "support/PostgresServer.h"
#include "window/GhostSetting.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The game's windows on the offscreen platform against a PostgreSQL server of the program's
// own; the history and the settings in folders of the program's own, as for the widget tests.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    kf::setGhostSetting(false);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    PostgresServer::stopShared();
    return status;
}
