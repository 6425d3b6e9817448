#include "board/ColorCode.h"
#include "board/LevelBoard.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;

struct ColorCase {
    QRgb rgb;
    bool wall, start, finish;
};

class ColorCodeTest : public ::testing::TestWithParam<ColorCase> {};

TEST_P(ColorCodeTest, OnlyExactColoursCount) {
    const ColorCase c = GetParam();
    const COLORREF ref = colorRefFromRgb(c.rgb);
    EXPECT_EQ(isWall(ref), c.wall);
    EXPECT_EQ(isStart(ref), c.start);
    EXPECT_EQ(isFinish(ref), c.finish);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ColorCodeTest,
    ::testing::Values(ColorCase{qRgb(0, 0, 0), true, false, false},
                      ColorCase{qRgb(0, 255, 0), false, true, false},
                      ColorCase{qRgb(255, 0, 0), false, false, true},
                      ColorCase{qRgb(1, 1, 1), false, false, false},       // near black
                      ColorCase{qRgb(0, 254, 0), false, false, false},     // green off by one
                      ColorCase{qRgb(1, 255, 0), false, false, false},     // green off by one
                      ColorCase{qRgb(255, 0, 1), false, false, false},     // red off by one
                      ColorCase{qRgb(100, 100, 100), false, false, false}, // trail grey
                      ColorCase{qRgb(255, 255, 255), false, false, false}));

TEST(ColorCode, ColorRefIsBlueGreenRed) {
    EXPECT_EQ(colorRefFromRgb(qRgb(255, 0, 0)), 0x0000FFu);
    EXPECT_EQ(colorRefFromRgb(qRgb(0, 0, 255)), 0xFF0000u);
    EXPECT_EQ(colorRefFromRgb(qRgb(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(rgbFromColorRef(0x563412), qRgb(0x12, 0x34, 0x56));
    EXPECT_FALSE(isWall(kNoColor) || isStart(kNoColor) || isFinish(kNoColor));
}

} // namespace
