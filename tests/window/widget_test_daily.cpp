#include "history/DailyStreak.h"
#include "history/HistoryView.h"
#include "history/HistoryWriter.h"
#include "history/RunHistory.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "window/MainDialog.h"

#include <QFileInfo>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;

// D makes today's track once in the daily folder and loads it as Load Level does; the history
// window of a track of the day shows the streak of the days finished in a row.
TEST(DailyTrackTest, KeyDLoadsTodaysTrackAndTheHistoryShowsTheStreak) {
    PlayFolder folder;
    folder.writeBitmap("Level_00_INTRO.bmp", kf::test::smallTestLevel());
    const QDate today = QDateTime::currentDateTimeUtc().date();
    const QString history = folder.file("history.sqlite");
    {
        RunHistory seeded(history);
        for (int ago : {0, 1, 2, 5}) {
            const QDate day = today.addDays(-ago);
            seeded.record({"d" + QString::number(ago), dailyTrackName(day),
                           QDateTime(day, QTime(12, 0), Qt::UTC), false, "Ann", RunEnd::Finished,
                           9000, 900, 100});
        }
    }
    MainDialog dialog;
    dialog.Create();
    dialog.show();
    dialog.useHistory(std::make_unique<HistoryWriter>(history));
    ModalAnswerer answers;

    QTest::keyClick(&dialog, Qt::Key_D);
    const QString daily =
        qEnvironmentVariable("XDG_DATA_HOME") + "/kurvenflitzerl/daily/" + dailyTrackName(today);
    EXPECT_EQ(dialog.m_boardLevelPath, daily);
    EXPECT_EQ(QFileInfo(daily).size(), 480054);
    EXPECT_EQ(dialog.m_recordPath, daily + ".kfh");
    // Made once: the file of the day is loaded again as it is.
    const QDateTime made = QFileInfo(daily).lastModified();
    QTest::keyClick(&dialog, Qt::Key_D);
    EXPECT_EQ(QFileInfo(daily).lastModified(), made);

    QTest::keyClick(&dialog, Qt::Key_H);
    const auto streakShown = [&] {
        for (QLabel* label : dialog.m_historyWindow->findChildren<QLabel*>())
            if (label->text().startsWith("Track of the day"))
                return label->text();
        return QString();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !streakShown().isEmpty(); }));
    EXPECT_EQ(streakShown(), "Track of the day: finished 3 days in a row, the longest 3 days");
    EXPECT_EQ(answers.unexpected(), 0);
    QFile::remove(daily);
}

} // namespace
