// Opening the track browser on a folder of 100 levels of full size: the listing, the window shown
// and its table painted for the first time; and, apart, until every picture has been read.

#include "history/RunHistory.h"
#include "tracks/TrackBrowser.h"
#include "tracks/TrackList.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kLevels = 100;

// 100 copies of a bundled level (400 x 400, 24 bits: 480 KB each) and a run history beside them.
class LevelFolder {
public:
    LevelFolder() : m_history(m_dir.filePath(QStringLiteral("history.sqlite"))) {
        const QString level = QDir(QStringLiteral(KF_DATA_DIR)).filePath("Level_01_CURVES.bmp");
        for (int i = 0; i < kLevels; ++i)
            QFile::copy(level, m_dir.filePath(
                                   QStringLiteral("Level_%1.bmp").arg(i, 3, 10, QLatin1Char('0'))));
    }
    QString path() const { return m_dir.path(); }
    const kf::RunHistory& history() const { return m_history; }

private:
    QTemporaryDir m_dir;
    kf::RunHistory m_history;
};

// Notes the first paint of a widget.
class FirstPaint : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

void openBrowser(benchmark::State& state, bool untilAllRead) {
    const LevelFolder folder;
    for (auto _ : state) {
        auto browser = std::make_unique<kf::TrackBrowser>();
        FirstPaint paint;
        browser->view()->viewport()->installEventFilter(&paint);
        QElapsedTimer clock;
        clock.start();
        browser->showFolder(folder.path(), folder.path() + "/Level_050.bmp", &folder.history());
        browser->show();
        while (!paint.painted || (untilAllRead && browser->tracks()->scanning()))
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (browser->tracks()->rowCount() != kLevels)
            state.SkipWithError("not every level listed");
    }
}

void BM_TrackBrowserFirstPaint(benchmark::State& state) {
    openBrowser(state, false);
}
BENCHMARK(BM_TrackBrowserFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TrackBrowserAllPicturesRead(benchmark::State& state) {
    openBrowser(state, true);
}
BENCHMARK(BM_TrackBrowserAllPicturesRead)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
