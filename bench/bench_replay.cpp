// A step of a run watched again against a movement of a run: the replay's 15 ms step (the run's
// path at 1 000 movements a second, so fifteen movements' trail, the ring at the pointer and the
// figures) beside one movement of a run with its repaint, today's cost of what the board shows.
// Two real main windows take turns, each step with one pass of the event loop; each one's cost
// is the CPU time of this thread, where all the painting happens.

#include "PlayingWindow.h"
#include "ThreadCpu.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

using kfbench::median;
using kfbench::threadCpuMicroseconds;

// A minute's run along the straight and back, one pixel a millisecond.
kf::GhostPath minuteRun(const kf::MainDialog& main) {
    kf::GhostPath path;
    kfbench::Shuttle shuttle(1);
    path.append(kfbench::kStart - main.m_bmpLevel.origin(), 0);
    for (int ms = 1; ms <= 60000; ++ms)
        path.append(shuttle.next() - main.m_bmpLevel.origin(), ms);
    return path;
}

// Counters: the median CPU time of a movement and of a replay step, in µs, and their ratio.
void BM_ReplayStepAgainstMovement(benchmark::State& state) {
    kfbench::PlayingWindow running;
    kfbench::PlayingWindow watching;
    kf::MainDialog& run = running.main();
    kf::MainDialog& replay = watching.main();
    run.m_trailStyle = replay.m_trailStyle = kf::kTrailLine;
    running.startRun();
    replay.watchPath(minuteRun(replay));
    // The window's own timer stays still; each step is the timer's, 15 ms of the run.
    replay.m_replayTimer.stop();
    kfbench::Shuttle shuttle(2);
    std::vector<double> moveTimes, stepTimes;
    for (auto _ : state) {
        const double start = threadCpuMicroseconds();
        run.OnMouseMove(kf::kMkLButton, shuttle.next());
        QApplication::processEvents();
        const double between = threadCpuMicroseconds();
        replay.showReplay(replay.m_replay->step(replay.m_bmpLevel, 15));
        QApplication::processEvents();
        const double end = threadCpuMicroseconds();
        moveTimes.push_back(between - start);
        stepTimes.push_back(end - between);
    }
    if (!run.m_run.running() || replay.m_replay->atEnd())
        state.SkipWithError("the run or the replay ended on the way");
    const double moveUs = median(moveTimes);
    const double stepUs = median(stepTimes);
    state.counters["movement_us"] = moveUs;
    state.counters["replay_step_us"] = stepUs;
    state.counters["ratio"] = moveUs > 0 ? stepUs / moveUs : 0;
}
BENCHMARK(BM_ReplayStepAgainstMovement)->Iterations(3000);

} // namespace
