// A movement of a run with its repaint while the ghosts move: the player's own best alone, as
// before shared ghosts came, against eight ghosts (the own best and seven shared ones with
// their names). Two real main windows take turns, one movement each with one pass of the event
// loop, so both meet the same load of the machine; each one's cost is the CPU time of this
// thread, where all the painting happens. The rings move with every movement (their timer is
// held back, and each window moves its rings itself in its turn, a millisecond of the run's
// time after the last): the worst case, where the real 15 ms timer moves them with one
// movement in a few.

#include "PlayingWindow.h"
#include "ThreadCpu.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <thread>
#include <vector>

namespace {

using kfbench::PlayingWindow;

using kfbench::median;
using kfbench::threadCpuMicroseconds;

// A run of 1 000 points along the straight and back, `dy` pixels off it, `stepMs` apart.
kf::GhostPath ghostRun(const kf::MainDialog& main, int dy, int stepMs) {
    kf::GhostPath path;
    kfbench::Shuttle shuttle(3);
    for (int i = 0; i < 1000; ++i)
        path.append(shuttle.next() + QPoint(0, dy) - main.m_bmpLevel.origin(), stepMs * i);
    return path;
}

// The window with the own best and `shared` shared ghosts, its run started; the ghosts' timer
// never fires during the measurement.
void startWithGhosts(PlayingWindow& window, int shared) {
    kf::MainDialog& main = window.main();
    main.m_trailStyle = kf::kTrailLine;
    main.m_ghostOn = true;
    main.m_ghosts.own = ghostRun(main, 0, 10);
    for (int i = 0; i < shared; ++i)
        main.m_ghosts.shared.append({i + 1,
                                     QStringLiteral("Player %1").arg(i + 1),
                                     10000,
                                     {},
                                     ghostRun(main, 3 * (i % 3) - 3, 11 + i)});
    main.m_ghostTimer.setInterval(3600 * 1000);
    window.startRun();
}

// One movement of the run, its rings moved, and the pass of the event loop that paints both.
// The run's time counts in whole milliseconds: the wait before, not counted, lets every ring
// move on.
double moveOnce(kf::MainDialog& main, kfbench::Shuttle& shuttle) {
    std::this_thread::sleep_for(std::chrono::microseconds(1100));
    const double start = threadCpuMicroseconds();
    main.OnMouseMove(kf::kMkLButton, shuttle.next());
    // Switching on a ghost that is on already moves the rings to the run's time.
    main.setGhostShown(kf::MainDialog::kOwnGhostKey, true);
    QApplication::processEvents();
    return threadCpuMicroseconds() - start;
}

// Counters: the median CPU time of a movement with one ghost and with eight, in µs, and their
// ratio. Each movement is 2 pixels along the straight.
void BM_MovementWithGhosts(benchmark::State& state) {
    PlayingWindow one;
    PlayingWindow eight;
    startWithGhosts(one, 0);
    startWithGhosts(eight, 7);
    kfbench::Shuttle oneShuttle(2);
    kfbench::Shuttle eightShuttle(2);
    std::vector<double> oneTimes, eightTimes;
    for (auto _ : state) {
        oneTimes.push_back(moveOnce(one.main(), oneShuttle));
        eightTimes.push_back(moveOnce(eight.main(), eightShuttle));
    }
    if (!one.main().m_run.running() || !eight.main().m_run.running())
        state.SkipWithError("a run ended on the way");
    const double oneUs = median(oneTimes);
    const double eightUs = median(eightTimes);
    state.counters["one_us"] = oneUs;
    state.counters["eight_us"] = eightUs;
    state.counters["ratio"] = oneUs > 0 ? eightUs / oneUs : 0;
}
// The waits take most of the wall time: a fixed count of movements, about 7 s.
BENCHMARK(BM_MovementWithGhosts)->Iterations(3000);

} // namespace
