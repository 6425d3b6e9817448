#include <QApplication>
#include <gtest/gtest.h>

// Real widgets on the offscreen platform, so no test needs a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kurvenflitzerl");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
