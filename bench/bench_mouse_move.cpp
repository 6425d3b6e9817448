// Cost of one pointer movement of a run through the real main window: the wall test along the
// path, the trail and the refresh of the fields, optionally with the repaint it causes.

#include "PlayingWindow.h"

#include <benchmark/benchmark.h>

namespace {

using kfbench::PlayingWindow;

// Moves back and forth along the straight by `pixels` per movement.
void runMoves(benchmark::State& state, bool repaint) {
    PlayingWindow window;
    kf::MainDialog& main = window.main();
    main.m_trailStyle = static_cast<int>(state.range(1));
    const int pixels = static_cast<int>(state.range(0));
    window.startRun();
    kfbench::Shuttle shuttle(pixels);
    for (auto _ : state) {
        main.OnMouseMove(kf::kMkLButton, shuttle.next());
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
