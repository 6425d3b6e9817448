// Cost of the level creator's undo history for a stroke across the whole canvas with the widest
// eraser: storing the step at the release of the button (the difference of the whole canvas
// taken and compressed), and taking it back and doing it again.

#include "creator/LevelCanvas.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kf;

struct Stroke {
    QImage before;
    QImage after;
};

// A wall zigzag over the whole canvas, then the widest eraser over the whole canvas: the
// eraser's step is the one measured. With `noisy`, the canvas starts as a track of random
// colours, the worst case for compression.
Stroke fullCanvasEraserStroke(bool noisy) {
    LevelCanvas canvas(QRect(5, 10, 395, 388));
    if (noisy) {
        QImage noise(LevelCanvas::kSize, LevelCanvas::kSize, QImage::Format_RGB32);
        quint32 seed = 1;
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, (seed = seed * 1664525 + 1013904223) >> 8);
        canvas.open(noise);
    }
    const auto zigzag = [&](int tool) {
        canvas.press({15, 20});
        for (int row = 0; row < 8; ++row) {
            const int y = 20 + 50 * row;
            canvas.drag({row % 2 ? 385 : 15, y}, tool, kMaxBrushSize);
            canvas.drag({row % 2 ? 15 : 385, y}, tool, kMaxBrushSize);
        }
        canvas.release();
    };
    if (!noisy)
        zigzag(kToolWalls);
    const QImage before = canvas.image();
    zigzag(kToolEraser);
    return {before, canvas.image()};
}

void BM_CreatorHistoryRecord(benchmark::State& state) {
    const Stroke stroke = fullCanvasEraserStroke(state.range(0) != 0);
    CanvasHistory history;
    for (auto _ : state) {
        history.clear();
        benchmark::DoNotOptimize(history.record(stroke.before, stroke.after, stroke.before.rect()));
    }
    state.counters["bytes"] = static_cast<double>(history.bytes());
}

void BM_CreatorHistoryUndoRedo(benchmark::State& state) {
    const Stroke stroke = fullCanvasEraserStroke(state.range(0) != 0);
    CanvasHistory history;
    history.record(stroke.before, stroke.after, stroke.before.rect());
    QImage canvas = stroke.after;
    for (auto _ : state) {
        benchmark::DoNotOptimize(history.undo(canvas));
        benchmark::DoNotOptimize(history.redo(canvas));
    }
}

// Argument: 0 over walls on the blank canvas, 1 over a track of random colours.
BENCHMARK(BM_CreatorHistoryRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreatorHistoryUndoRedo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
