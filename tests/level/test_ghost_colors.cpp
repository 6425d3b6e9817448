#include "level/ColorCode.h"
#include "level/GhostColors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace kf;

// How far apart two colours are to the eye at the least: their largest channel difference.
int channelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

constexpr int kApart = 64;

// Every ring stands apart from each colour the board itself shows.
TEST(GhostColors, EachRingStandsApartFromTheBoardsColours) {
    const struct {
        const char* name;
        QRgb rgb;
    } board[] = {
        {"wall", rgbFromColorRef(kWall)},        {"start", rgbFromColorRef(kStart)},
        {"finish", rgbFromColorRef(kFinish)},    {"trail", rgbFromColorRef(kTrail)},
        {"free track", rgbFromColorRef(kWhite)},
    };
    for (const auto& b : board) {
        for (QRgb ring : kGhostColors) {
            SCOPED_TRACE(testing::Message() << b.name << " against " << std::hex << ring);
            EXPECT_GE(channelDistance(ring, b.rgb), kApart);
        }
    }
}

TEST(GhostColors, EightOpaqueRingsEachOfItsOwnTheOwnBestBlue) {
    EXPECT_EQ(kOwnGhostColor, qRgb(0x00, 0x70, 0xFF));
    EXPECT_EQ(kMaxSharedGhosts, 7);
    EXPECT_EQ(sharedGhostColor(0), kGhostColors[1]);
    for (std::size_t i = 0; i < kGhostColors.size(); ++i) {
        EXPECT_EQ(qAlpha(kGhostColors[i]), 255) << i;
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_GE(channelDistance(kGhostColors[i], kGhostColors[j]), kApart) << i << ", " << j;
    }
}

} // namespace
