#include "make/GoldenTracks.h"

#include "check/LevelCheck.h"
#include "check/LevelMap.h"
#include "creator/LevelBitmap.h"
#include "make/SplitMix64.h"
#include "make/TrackGenerator.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace kf;

// Every difficulty for a few seeds: a playable 400 x 400 track in its frame of wall, within
// half a point of the difficulty asked for, written as 480 054 bytes.
TEST(TrackGenerator, EveryDifficultyFitsAndIsPlayable) {
    for (int difficulty = kGentlestTrack; difficulty <= kHardestTrack; ++difficulty) {
        for (const std::uint64_t seed : {1u, 77u, 2026u}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << ", difficulty " << difficulty);
            const GeneratedTrack track = generateTrack(seed, difficulty);
            EXPECT_LE(std::abs(track.tenths - 10 * difficulty), 5) << track.tenths;
            const LevelCheckResult check = checkLevel(track.picture, kDefaultCorridorWidth);
            EXPECT_TRUE(check.playable) << check.reasons.join("; ").toStdString();
            EXPECT_EQ(check.startAreas, 1);
            EXPECT_EQ(check.finishAreas, 1);
            const LevelMap map(track.picture);
            for (const Tile tile : {Tile::Track, Tile::Start, Tile::Finish})
                EXPECT_TRUE(QRect(1, 1, 398, 398).contains(map.bounds(tile))) << "in a frame";
            EXPECT_EQ(encodeLevelBitmap(track.picture).size(), 480054);
        }
    }
}

TEST(TrackGenerator, GoldenTracks) {
    for (const test::GoldenTrack& golden : test::kGoldenTracks) {
        const QByteArray bytes =
            encodeLevelBitmap(generateTrack(golden.seed, golden.difficulty).picture);
        EXPECT_EQ(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(),
                  golden.sha256)
            << golden.seed << " " << golden.difficulty;
    }
}

// SplitMix64's published first output for the seed 0, and the seeds of a track's tries.
TEST(TrackGenerator, SeedsOfTheTries) {
    EXPECT_EQ(SplitMix64(0).next(), 0xE220A8397B1DCDAFu);
    SplitMix64 derived(42);
    const std::uint64_t first = derived.next();
    const struct {
        int attempt;
        std::uint64_t seed;
    } rows[] = {{0, 42}, {1, first}, {2, derived.next()}};
    for (const auto& r : rows)
        EXPECT_EQ(triedSeed(42, r.attempt), r.seed) << r.attempt;
}

} // namespace
