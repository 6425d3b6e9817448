#include "app/GameApp.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

using namespace kf;

// A save past the file size limit (ulimit -f) must fail and be reported like one to a full
// disk, not end the game with SIGXFSZ: the game ignores that signal from its start.
TEST(GameAppTest, TheGameRunsWithTheFileSizeSignalIgnored) {
    struct sigaction original {};
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ASSERT_EQ(sigaction(SIGXFSZ, &byDefault, &original), 0);
    const QString style = QApplication::style()->name();
    {
        test::PlayFolder folder;
        test::ModalAnswerer answers;
        struct sigaction whileRunning {};
        bool mainWindowShown = false;
        answers.then([&](QWidget* mainWindow) {
            mainWindowShown = true;
            sigaction(SIGXFSZ, nullptr, &whileRunning);
            QTest::keyClick(mainWindow, Qt::Key_Escape);
        });
        EXPECT_FALSE(GameApp().InitInstance());
        EXPECT_TRUE(mainWindowShown);
        EXPECT_EQ(whileRunning.sa_handler, SIG_IGN);
        EXPECT_EQ(answers.unexpected(), 0);
    }
    sigaction(SIGXFSZ, &original, nullptr);
    QApplication::setStyle(QStyleFactory::create(style));
}

} // namespace
