#include "history/HistoryView.h"
#include "history/HistoryWindow.h"
#include "history/HistoryWriter.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "support/PointerEvents.h"
#include "toolkit/FileDialog.h"
#include "toolkit/ImageView.h"
#include "window/GhostSetting.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;
using kf::test::smallTestLevel;

// The small test level at client (11, 10): start x 11..20, finish x 101..110.
constexpr QPoint kRaceStart(15, 50);
constexpr QPoint kRaceFinish(105, 50);

// A game in a play folder of its own with its own history.
struct Game {
    Game() {
        folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
        dialog = std::make_unique<MainDialog>();
        dialog->Create();
        dialog->show();
        dialog->useHistory(std::make_unique<HistoryWriter>(folder.file("history.sqlite")));
        // No record file: a finished run shows its notice only.
        dialog->m_bestTimeMs = 1;
    }
    // A finished run of about `ms` along row 50; it becomes the track's best in the history.
    void finishRun(int ms) {
        answers.clickOk();
        QTest::mousePress(dialog.get(), Qt::LeftButton, {}, kRaceStart);
        QTest::qWait(ms);
        test::movePointer(dialog.get(), {60, 50});
        test::movePointer(dialog.get(), kRaceFinish);
        QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, kRaceFinish);
    }

    PlayFolder folder;
    ModalAnswerer answers;
    std::unique_ptr<MainDialog> dialog;
};

// The whole way of a race: a run finished, X, the race file written; a second game with its
// own data folder opens it, races both ghosts, and watches its own run again from the history.
TEST(RaceTest, ARunSharedIsRacedAndWatchedByAnotherGame) {
    setGhostSetting(true);
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    QTemporaryDir keptRace;
    QString raceFile;
    {
        Game first;
        first.finishRun(120);
        ASSERT_TRUE(QTest::qWaitFor([&] { return first.dialog->m_ghosts.own.has_value(); }));
        const int timeMs = first.dialog->m_timeMs;
        std::optional<FileOpenRequest> asked;
        setFileOpenChooser([&](QWidget*, const FileOpenRequest& r) {
            asked = r;
            return std::optional<QString>(r.initialPath);
        });
        QTest::keyClick(first.dialog.get(), Qt::Key_X);
        ASSERT_TRUE(QTest::qWaitFor([&] { return asked.has_value(); }));
        setFileOpenChooser(nullptr);
        EXPECT_TRUE(asked->save);
        raceFile = asked->initialPath;
        EXPECT_EQ(raceFile,
                  first.folder.file(QString("Level_00_INTRO_Player_%1ms.kfrace").arg(timeMs)));
        ASSERT_TRUE(QFileInfo::exists(raceFile));
        // The file outlives the first game's folder.
        raceFile = QFileInfo(raceFile).absoluteFilePath();
        const QString kept = keptRace.filePath("shared.kfrace");
        ASSERT_TRUE(QFile::copy(raceFile, kept));
        raceFile = kept;
        EXPECT_EQ(first.answers.unexpected(), 0);
    }

    QTemporaryDir secondData;
    qputenv("XDG_DATA_HOME", secondData.path().toLocal8Bit());
    Game second;
    second.dialog->openGivenFile(raceFile);
    EXPECT_EQ(second.dialog->m_boardLevelPath,
              secondData.filePath("kurvenflitzerl/races/Level_00_INTRO.bmp"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.dialog->m_ghosts.shared.size() == 1; }));
    // The race's track has no record file yet: no record to name after the run.
    second.dialog->m_bestTimeMs = 1;
    second.finishRun(60);
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.dialog->m_ghosts.own.has_value(); }));

    // Both ghosts race the next run: the player's own blue ring and the shared one, named.
    QTest::mousePress(second.dialog.get(), Qt::LeftButton, {}, kRaceStart);
    QTest::qWait(40);
    const QList<BoardMarker> rings = second.dialog->m_ctlBoard->markers();
    ASSERT_EQ(rings.size(), 2);
    QStringList labels{rings[0].label, rings[1].label};
    EXPECT_TRUE(labels.contains("Player"));
    second.answers.clickOk();
    test::movePointer(second.dialog.get(), {30, 50}, false);
    ASSERT_FALSE(second.dialog->m_run.running());

    // The run is watched again from the history window.
    QTest::keyClick(second.dialog.get(), Qt::Key_H);
    auto* table = static_cast<HistoryWindow*>(second.dialog->m_historyWindow)->table();
    ASSERT_TRUE(table);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->rowCount() > 0; }));
    table->selectRow(0);
    QPushButton* watch = nullptr;
    for (QPushButton* b : second.dialog->m_historyWindow->findChildren<QPushButton*>())
        if (b->text() == "Watch")
            watch = b;
    ASSERT_TRUE(watch);
    watch->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.dialog->replaying(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.dialog->m_replay->atEnd(); }));
    EXPECT_EQ(second.dialog->m_replay->endMs(), second.dialog->m_replay->figures().timeMs);
    second.dialog->endReplay();
    EXPECT_EQ(second.answers.unexpected(), 0) << second.answers.texts().join(" | ").toStdString();

    qputenv("XDG_DATA_HOME", dataHome);
    setGhostSetting(false);
}

// A file that is no race gets one message naming it, and nothing is written or loaded.
TEST(RaceTest, ABadRaceFileIsToldAndChangesNothing) {
    Game game;
    const QString bad = game.folder.writeBytes("Broken.kfrace", "PK\x03\x04 not really");
    const QString board = game.dialog->m_boardLevelPath;
    game.answers.clickOk();
    game.dialog->openGivenFile(bad);
    ASSERT_EQ(game.answers.texts().size(), 1);
    EXPECT_TRUE(game.answers.texts().first().startsWith("The race file \"Broken.kfrace\""))
        << game.answers.texts().first().toStdString();
    EXPECT_EQ(game.dialog->m_boardLevelPath, board);
    EXPECT_FALSE(
        QFileInfo::exists(qEnvironmentVariable("XDG_DATA_HOME") + "/kurvenflitzerl/races"));
}

// Without its history there is no run to share: X says why the history is not available.
TEST(RaceTest, SharingWithoutAHistoryTellsWhy) {
    PlayFolder folder;
    folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
    folder.writeBytes("history.sqlite", QByteArray(4096, 'x'));
    MainDialog dialog;
    dialog.Create();
    dialog.show();
    dialog.useHistory(std::make_unique<HistoryWriter>(folder.file("history.sqlite")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.m_history->usable(); }));
    ModalAnswerer answers;
    answers.clickOk();
    QTest::keyClick(&dialog, Qt::Key_X);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answers.texts().isEmpty(); }));
    EXPECT_EQ(answers.texts().first(), dialog.m_history->reason());
    EXPECT_TRUE(answers.texts().first().startsWith("The run history is not available"));
}

// A track dropped on the window loads as Load Level loads it.
TEST(RaceTest, ATrackDroppedOnTheWindowLoads) {
    Game game;
    const QString other = game.folder.writeBitmap("Other.bmp", smallTestLevel(120, 60));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other)});
    QDragEnterEvent enter({50, 50}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(game.dialog.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(game.dialog.get(), &drop);
    EXPECT_EQ(game.dialog->m_boardLevelPath, QFileInfo(other).absoluteFilePath());
    EXPECT_EQ(game.dialog->m_recordPath, QFileInfo(other).absoluteFilePath() + ".kfh");
    EXPECT_EQ(game.answers.unexpected(), 0);
}

} // namespace
