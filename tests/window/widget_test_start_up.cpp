#include "history/HistoryWriter.h"
#include "history/RunHistory.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "window/MainDialog.h"

#include "support/QtPrinters.h"
#include <QCryptographicHash>
#include <QEvent>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;
using kf::test::smallTestLevel;

QString sha256Of(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

// Notes whether the main window's history was open when the window was first painted.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(MainDialog& dialog) : m_dialog(dialog) {
        dialog.installEventFilter(this);
    }
    bool painted = false;
    bool historyOpenAtFirstPaint = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            historyOpenAtFirstPaint = m_dialog.m_history != nullptr;
        }
        return false;
    }

private:
    MainDialog& m_dialog;
};

class StartUp : public ::testing::Test {
protected:
    PlayFolder folder;
    const QString levelPath = folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
    ModalAnswerer answers;
    MainDialog dialog;
};

// The window reaches the screen without waiting for the history's database.
TEST_F(StartUp, TheHistoryOpensAfterTheFirstPaint) {
    FirstPaintWatch watch(dialog);
    dialog.Create();
    EXPECT_TRUE(QTest::qWaitFor([this] { return dialog.m_history != nullptr; }));
    EXPECT_TRUE(watch.painted);
    EXPECT_FALSE(watch.historyOpenAtFirstPaint);
}

// The start-up level's fingerprint is taken late, yet a run that ends before the window was
// ever painted is still recorded under it.
TEST_F(StartUp, ARunEndedBeforeTheFirstPaintIsRecordedUnderTheStartUpLevel) {
    dialog.Create();
    dialog.useHistory(std::make_unique<HistoryWriter>(folder.file("history.sqlite")));
    answers.clickOk();
    dialog.OnLButtonDown(kMkLButton, {15, 20});
    dialog.OnMouseMove(kMkLButton, {80, 20});
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog.m_history->settled(); }));
    EXPECT_EQ(RunHistory(folder.file("history.sqlite")).runsOf(sha256Of(levelPath)).size(), 1);
    EXPECT_EQ(dialog.m_levelSha256, sha256Of(levelPath));
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace
