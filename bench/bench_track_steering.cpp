#include "check/SteeringIndex.h"
#include "level/BitmapFile.h"
#include "make/TrackGenerator.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <array>

namespace {

// The bundled tracks with the most free track (the hairpins, the maze) and the least (the
// gauntlet), as the data tool drew them.
constexpr std::array kTracks = {"Level_02_HAIRPINS.bmp", "Level_07_MAZE.bmp",
                                "Level_09_GAUNTLET.bmp"};

// The steering index of a 400 x 400 bundled track, from its picture: the level map, the widths
// and the search.
void BM_SteeringIndex(benchmark::State& state) {
    const QImage picture = kf::readBitmapFile(QStringLiteral(KF_DATA_DIR "/") +
                                              kTracks[static_cast<std::size_t>(state.range(0))]);
    if (picture.isNull()) {
        state.SkipWithError("the bundled tracks are not drawn");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(kf::pictureDifficulty(picture));
}

BENCHMARK(BM_SteeringIndex)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// A generated track of difficulty range(0), seed after seed: the maze, the widths tried and
// measured, and the playability check.
void BM_GenerateTrack(benchmark::State& state) {
    std::uint64_t seed = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(kf::generateTrack(seed++, static_cast<int>(state.range(0))));
}

BENCHMARK(BM_GenerateTrack)->Arg(1)->Arg(5)->Arg(8)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace
