#include <QApplication>
#include <gtest/gtest.h>

// The dialogs on a screen scaled to 200 %, offscreen unless told otherwise. Qt reads the scale
// when the application is made, so it is set before.
int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kurvenflitzerl");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
