// Cost of one pointer movement of a run through the real main window: the wall test along the
// path, the trail and the refresh of the fields, optionally with the repaint it causes.

#include "window/MainDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The intro track's first straight runs along y = 60 from the start at the left.
constexpr QPoint kStart(55, 60);
constexpr int kStraightY = 60;

class PlayingWindow {
public:
    PlayingWindow() : m_previous(QDir::currentPath()) {
        const QDir data(QStringLiteral(KF_DATA_DIR));
        QFile::copy(data.filePath("Level_00_INTRO.bmp"),
                    QDir(m_play.path()).filePath("Level_00_INTRO.bmp"));
        QDir::setCurrent(m_play.path());
        m_main.Create();
        QApplication::processEvents();
    }
    ~PlayingWindow() { QDir::setCurrent(m_previous); }

    kf::MainDialog& main() { return m_main; }
    void startRun() { m_main.OnLButtonDown(kf::kMkLButton, kStart); }

private:
    QTemporaryDir m_play;
    QString m_previous;
    kf::MainDialog m_main;
};

// Moves back and forth along the straight by `pixels` per movement.
void runMoves(benchmark::State& state, bool repaint) {
    PlayingWindow window;
    kf::MainDialog& main = window.main();
    main.m_trailStyle = static_cast<int>(state.range(1));
    const int pixels = static_cast<int>(state.range(0));
    window.startRun();
    int x = 100;
    int step = pixels;
    for (auto _ : state) {
        if (x + step > 320 || x + step < 100)
            step = -step;
        x += step;
        main.OnMouseMove(kf::kMkLButton, {x, kStraightY});
        if (repaint)
            QApplication::processEvents();
    }
    if (!main.m_run.running())
        state.SkipWithError("the run ended on the way");
}

void BM_MouseMove(benchmark::State& state) {
    runMoves(state, false);
}
void BM_MouseMoveAndRepaint(benchmark::State& state) {
    runMoves(state, true);
}

// Arguments: pixels per movement, trail style (0 dots, 1 line).
BENCHMARK(BM_MouseMove)->ArgsProduct({{1, 10, 50, 200}, {0, 1}});
BENCHMARK(BM_MouseMoveAndRepaint)->ArgsProduct({{1, 10, 50, 200}, {0, 1}});

} // namespace
