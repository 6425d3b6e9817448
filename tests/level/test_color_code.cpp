#include "level/ColorCode.h"
#include "level/LevelBoard.h"

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

namespace {

using namespace kf;

QImage picture(int w, int h, QRgb fill) {
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(fill);
    return img;
}

TEST(LevelBoard, ReadsTheShownColourAtClientPoints) {
    LevelBoard board({11, 10});
    EXPECT_EQ(board.colorAt({11, 10}), kNoColor); // no picture yet
    QImage level = picture(4, 3, qRgb(255, 255, 255));
    level.setPixel(0, 0, qRgb(0, 0, 0));
    level.setPixel(3, 2, qRgb(0, 255, 0));
    level.setPixel(1, 1, qRgb(1, 1, 1));
    board.setPicture(level);
    EXPECT_EQ(board.colorAt({11, 10}), kWall);
    EXPECT_EQ(board.colorAt({14, 12}), kStart);
    EXPECT_EQ(board.colorAt({12, 11}), 0x010101u);
    // Outside the picture there is no colour, so neither wall nor start nor finish.
    for (QPoint p : {QPoint(10, 10), QPoint(11, 9), QPoint(15, 12), QPoint(14, 13), QPoint(-5, -5)})
        EXPECT_EQ(board.colorAt(p), kNoColor) << p.x() << "," << p.y();
}

TEST(LevelBoard, TrailMarksReadAsGreyAndClearingRestoresThePicture) {
    LevelBoard board({11, 10});
    board.setPicture(picture(20, 10, qRgb(0, 0, 0)));
    EXPECT_EQ(board.drawTrailDot({12, 11}), QRect(12, 11, 1, 1));
    EXPECT_EQ(board.colorAt({12, 11}), kTrail);
    EXPECT_FALSE(isWall(board.colorAt({12, 11})));
    // A line leaves its end point as it was.
    const QRect changed = board.drawTrailLine({11, 15}, {20, 15});
    EXPECT_TRUE(changed.contains(QPoint(11, 15)) && changed.contains(QPoint(19, 15)));
    EXPECT_EQ(board.colorAt({19, 15}), kTrail);
    EXPECT_EQ(board.colorAt({20, 15}), kWall);
    EXPECT_TRUE(board.drawTrailDot({50, 50}).isEmpty()); // off the picture: nothing drawn
    board.clearTrail();
    EXPECT_EQ(board.colorAt({12, 11}), kWall);
    EXPECT_EQ(board.colorAt({15, 15}), kWall);
}

// The rectangle a line gives back is what the window repaints: every pixel the line changed
// lies in it, whichever way the line runs.
TEST(LevelBoard, ALineChangesNoPixelOutsideTheRectangleItGivesBack) {
    const std::pair<QPoint, QPoint> lines[] = {
        {{20, 20}, {26, 18}}, {{20, 20}, {26, 22}}, {{20, 20}, {14, 18}}, {{20, 20}, {14, 22}},
        {{20, 20}, {21, 12}}, {{20, 20}, {19, 28}}, {{20, 20}, {20, 12}}, {{20, 20}, {12, 20}},
    };
    for (const auto& [from, to] : lines) {
        LevelBoard board({11, 10});
        board.setPicture(picture(40, 40, qRgb(255, 255, 255)));
        const QRect changed = board.drawTrailLine(from, to);
        int outside = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                const QPoint client(x + 11, y + 10);
                if (board.colorAt(client) == kTrail && !changed.contains(client))
                    ++outside;
            }
        }
        EXPECT_EQ(outside, 0) << from.x() << "," << from.y() << " to " << to.x() << "," << to.y();
    }
}

} // namespace
