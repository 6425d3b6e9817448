#include "support/PostgresServer.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

// Tracks are pictures, so a GUI application on the offscreen platform; the PostgreSQL server
// that the tests share is stopped before the application goes.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    PostgresServer::stopShared();
    return status;
}
