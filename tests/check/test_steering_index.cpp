#include "check/SteeringIndex.h"

#include "support/PaintedLevel.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace kf;
using namespace kf::test;

// A horizontal corridor `width` pixels across and `length` long in a wall picture 200 x 60,
// started at its left end and finished at its right end, each end 2 pixels deep.
QImage corridor(int width, int length) {
    const int top = 30 - width / 2;
    return paintedLevel({200, 60}, {{{0, 0, 200, 60}, kWallPixel},
                                    {{10, top, length, width}, kFree},
                                    {{10, top, 2, width}, kStartPixel},
                                    {{8 + length, top, 2, width}, kFinishPixel}});
}

std::optional<std::uint64_t> indexOf(const QImage& picture) {
    return steeringIndex(LevelMap(picture));
}

// The index grows with the length of the way and with its narrowness: a straight wide corridor
// is easier than a narrow one of the same length, which is easier than a longer narrow one.
TEST(SteeringIndex, NarrowerAndLongerCorridorsAreHarder) {
    const struct {
        const char* name;
        QImage picture;
        std::uint64_t whole; // the index in whole units
    } rows[] = {
        {"wide and short", corridor(40, 100), 4},
        {"narrow and short", corridor(10, 100), 10},
        {"narrow and long", corridor(10, 180), 18},
        // A probe 2 pixels across centred on a pixel covers that pixel alone.
        {"one pixel wide", corridor(1, 100), 49},
    };
    std::uint64_t previous = 0;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const std::optional<std::uint64_t> index = indexOf(r.picture);
        ASSERT_TRUE(index);
        EXPECT_EQ(wholeSteering(*index), r.whole);
        EXPECT_GT(*index, previous);
        previous = *index;
    }
}

// No difficulty where not even a probe of 1 gets through: a wall across the way, two walls
// touching only at their corners, a start or a finish missing, or a second start sealed off.
TEST(SteeringIndex, NoIndexWhereNoProbeGetsThrough) {
    const QImage open = corridor(10, 100);
    const auto with = [&open](std::initializer_list<Fill> fills) {
        QImage picture = open;
        QPainter p(&picture);
        for (const Fill& f : fills)
            p.fillRect(f.rect, QColor::fromRgb(f.color));
        return picture;
    };
    const struct {
        const char* name;
        QImage picture;
    } rows[] = {
        {"wall across", with({{{60, 0, 1, 60}, kWallPixel}})},
        {"corner to corner", with({{{60, 0, 1, 30}, kWallPixel}, {{61, 30, 1, 30}, kWallPixel}})},
        {"no finish", with({{{108, 25, 2, 10}, kFree}})},
        {"no start", with({{{10, 25, 2, 10}, kFree}})},
        {"a sealed second start", with({{{150, 50, 3, 3}, kStartPixel}})},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_FALSE(indexOf(r.picture));
        EXPECT_FALSE(pictureDifficulty(r.picture));
    }
    EXPECT_TRUE(indexOf(with({{{60, 0, 1, 29}, kWallPixel}, {{61, 30, 1, 30}, kWallPixel}})))
        << "a gap of one pixel lets a probe of 1 through";
}

// The scale: 1.0 up to its gentle end, 10.0 from its hard end, logarithmic between.
TEST(SteeringIndex, DifficultyScale) {
    const std::uint64_t gentlest = kGentlestSteering * kSteeringUnit;
    const std::uint64_t hardest = kHardestSteering * kSteeringUnit;
    const struct {
        std::uint64_t fixed;
        int tenths;
    } rows[] = {
        {0, 10},
        {gentlest, 10},
        {19 * kSteeringUnit, 12},
        {52 * kSteeringUnit, 55}, // the geometric mean of the ends lies halfway
        {140 * kSteeringUnit, 97},
        {hardest, 100},
        {hardest * 50, 100},
    };
    for (const auto& r : rows)
        EXPECT_EQ(difficultyTenths(r.fixed), r.tenths) << r.fixed;
    EXPECT_EQ(difficultyText(10), "1.0");
    EXPECT_EQ(difficultyText(47), "4.7");
    EXPECT_EQ(difficultyText(100), "10.0");
}

} // namespace
