// A movement of a run with its repaint, through the real main window, against the floor that
// Qt itself sets: a bare widget that paints a 400 × 400 image and, per movement, repaints a
// 3 × 3 square of it and two labels whose texts change. The two take turns, one movement each
// with one pass of the event loop, so both meet the same load of the machine; each one's cost
// is the CPU time of this thread, where all the painting happens.

#include "PlayingWindow.h"
#include "ThreadCpu.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

using kfbench::PlayingWindow;

constexpr int kSide = 400;

class FloorWindow : public QWidget {
public:
    FloorWindow() : m_image(kSide, kSide, QImage::Format_RGB32) {
        m_image.fill(Qt::white);
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(kSide + 100, kSide);
        m_first->setGeometry(kSide + 10, 10, 80, 20);
        m_second->setGeometry(kSide + 10, 40, 80, 20);
        show();
        QApplication::processEvents();
    }

    // One movement: a 3 × 3 square of the image and both labels change.
    void move(int n) {
        const int x = 100 + n % 200;
        m_image.setPixel(x + 1, 61, qRgb(128, 128, 128));
        update(x, 60, 3, 3);
        m_first->setText(QString::number(n));
        m_second->setText(QString::number(2 * n));
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        const QRect r = event->rect();
        painter.fillRect(r, Qt::white);
        painter.drawImage(r.topLeft(), m_image, r);
    }

private:
    QImage m_image;
    QLabel* m_first = new QLabel(this);
    QLabel* m_second = new QLabel(this);
};

using kfbench::median;
using kfbench::threadCpuMicroseconds;

using Prepare = void (*)(kf::MainDialog&);

// Counters: the median CPU time of the window's movement and of the floor's, in µs, and their
// ratio. Argument: the trail style (0 dots, 1 line); each movement is 2 pixels along the straight.
void BM_MovementOverFloor(benchmark::State& state, Prepare prepare) {
    FloorWindow floor;
    PlayingWindow window;
    kf::MainDialog& main = window.main();
    main.m_trailStyle = static_cast<int>(state.range(0));
    prepare(main);
    window.startRun();
    kfbench::Shuttle shuttle(2);
    std::vector<double> floorTimes, windowTimes;
    int n = 0;
    for (auto _ : state) {
        const double start = threadCpuMicroseconds();
        floor.move(++n);
        QApplication::processEvents();
        const double between = threadCpuMicroseconds();
        main.OnMouseMove(kf::kMkLButton, shuttle.next());
        QApplication::processEvents();
        const double end = threadCpuMicroseconds();
        floorTimes.push_back(between - start);
        windowTimes.push_back(end - between);
    }
    if (!main.m_run.running())
        state.SkipWithError("the run ended on the way");
    const double floorUs = median(floorTimes);
    const double windowUs = median(windowTimes);
    state.counters["floor_us"] = floorUs;
    state.counters["window_us"] = windowUs;
    state.counters["ratio"] = floorUs > 0 ? windowUs / floorUs : 0;
}

// Both trail styles, each for long enough that the medians settle.
void movementArgs(benchmark::internal::Benchmark* b) {
    b->Arg(0)->Arg(1)->MinTime(2.0);
}

// A case of its own per look of the board during the run: `prepare` sets the window up before
// the run starts (a best run for the ghost to show, for one).
void noGhost(kf::MainDialog&) {}
BENCHMARK_CAPTURE(BM_MovementOverFloor, ghost_off, noGhost)->Apply(movementArgs);

// A best run of 1 000 points along the straight and back for the ghost to follow, 10 ms apart:
// its ring moves at every tick of the ghost's timer throughout the measurement (10 s).
void withGhost(kf::MainDialog& main) {
    kf::GhostPath best;
    kfbench::Shuttle shuttle(3);
    for (int i = 0; i < 1000; ++i)
        best.append(shuttle.next() - main.m_bmpLevel.origin(), 10 * i);
    main.m_ghosts.own = best;
    main.m_ghostOn = true;
}
BENCHMARK_CAPTURE(BM_MovementOverFloor, ghost_on, withGhost)->Apply(movementArgs);

} // namespace
