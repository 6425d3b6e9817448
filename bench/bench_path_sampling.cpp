#include "level/LevelBoard.h"
#include "run/PathSampling.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

kf::LevelBoard whiteBoard() {
    QImage picture(400, 400, QImage::Format_RGB32);
    picture.fill(qRgb(255, 255, 255));
    kf::LevelBoard board;
    board.setPicture(picture);
    return board;
}

// One pointer movement of range(0) pixels across a free 400 x 400 board; range(1) is 0 for a
// horizontal move and 1 for a diagonal one.
void BM_PathTouchesWall(benchmark::State& state) {
    const kf::LevelBoard board = whiteBoard();
    const int length = static_cast<int>(state.range(0));
    const bool diagonal = state.range(1) != 0;
    const QPoint from(100, 100);
    const QPoint to(100 + length, diagonal ? 100 + length : 100);
    for (auto _ : state) {
        bool hit = kf::pathTouchesWall(board, from, to);
        benchmark::DoNotOptimize(hit);
    }
    state.SetLabel(diagonal ? "diagonal" : "horizontal");
}

BENCHMARK(BM_PathTouchesWall)->ArgsProduct({{1, 10, 50, 200}, {0, 1}});

} // namespace
