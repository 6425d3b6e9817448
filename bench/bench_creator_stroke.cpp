// Cost of one painting movement in the level creator: the segment drawn into the canvas with
// the tool's round pen, through the real dialog's handler, with or without the repaint of the
// stroke's rectangle.

#include "creator/LevelCreatorDialog.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

// Moves back and forth across the canvas by `pixels` per movement with the widest brush of a
// tool (0 walls, 3 eraser).
void strokes(benchmark::State& state, bool repaint) {
    kf::LevelCreatorDialog creator;
    creator.Create();
    QApplication::processEvents();
    creator.m_tool = static_cast<int>(state.range(1));
    creator.m_brushSize = 5;
    const int pixels = static_cast<int>(state.range(0));
    creator.OnLButtonDown(kf::kMkLButton, {100, 200});
    int x = 100;
    int step = pixels;
    for (auto _ : state) {
        if (x + step > 300 || x + step < 100)
            step = -step;
        x += step;
        creator.OnMouseMove(kf::kMkLButton, {x, 200});
        if (repaint)
            QApplication::processEvents();
    }
}

void BM_CreatorStroke(benchmark::State& state) {
    strokes(state, false);
}
void BM_CreatorStrokeAndRepaint(benchmark::State& state) {
    strokes(state, true);
}

// Arguments: pixels per movement, tool.
BENCHMARK(BM_CreatorStroke)->ArgsProduct({{1, 10, 50}, {0, 3}});
BENCHMARK(BM_CreatorStrokeAndRepaint)->ArgsProduct({{1, 10, 50}, {0, 3}});

} // namespace
