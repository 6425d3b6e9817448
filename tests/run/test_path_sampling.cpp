#include "level/ColorCode.h"
#include "level/LevelBoard.h"
#include "run/PathSampling.h"

#include <QImage>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kf {
// Readable failure messages for sample lists.
void PrintTo(const PathSample& s, std::ostream* os) {
    if (s.valid)
        *os << "(" << s.point.x() << "," << s.point.y() << ")";
    else
        *os << "invalid";
}
} // namespace kf

namespace {

using namespace kf;
using Samples = std::vector<PathSample>;

PathSample at(int x, int y) {
    return {true, QPoint(x, y)};
}
const PathSample kInvalid{};

Samples invalid(int count) {
    return Samples(static_cast<std::size_t>(count), kInvalid);
}

// The same column in every row from yFrom to yTo.
Samples column(int x, int yFrom, int yTo) {
    Samples s;
    for (int y = yFrom; y <= yTo; ++y)
        s.push_back(at(x, y));
    return s;
}

Samples operator+(Samples a, const Samples& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// ---------------------------------------------------------------------------------------------
// The exact pixels of a movement, split into the column pass and the row pass.

struct SampleCase {
    std::string name;
    QPoint from, to;
    Samples columnPass, rowPass;
};

void PrintTo(const SampleCase& c, std::ostream* os) {
    *os << c.name;
}

class PathSamplesTest : public ::testing::TestWithParam<SampleCase> {};

TEST_P(PathSamplesTest, ColumnPassThenRowPass) {
    const SampleCase& c = GetParam();
    const Samples all = pathSamples(c.from, c.to);
    const auto columns = static_cast<std::size_t>(std::abs(c.to.x() - c.from.x()) + 1);
    ASSERT_EQ(all.size(), columns + static_cast<std::size_t>(std::abs(c.to.y() - c.from.y()) + 1));
    EXPECT_EQ(Samples(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(columns)),
              c.columnPass);
    EXPECT_EQ(Samples(all.begin() + static_cast<std::ptrdiff_t>(columns), all.end()), c.rowPass);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, PathSamplesTest,
    ::testing::Values(
        // Horizontal: the column pass keeps the row, the row pass divides by a zero slope.
        SampleCase{"RightwardsHorizontal",
                   {10, 20},
                   {13, 20},
                   {at(10, 20), at(11, 20), at(12, 20), at(13, 20)},
                   invalid(1)},
        SampleCase{"LeftwardsHorizontal",
                   {13, 20},
                   {10, 20},
                   {at(10, 20), at(11, 20), at(12, 20), at(13, 20)},
                   invalid(1)},
        SampleCase{"HorizontalAwayFromColumnZero",
                   {0, 5},
                   {4, 5},
                   {at(0, 5), at(1, 5), at(2, 5), at(3, 5), at(4, 5)},
                   invalid(1)},
        // Vertical: the column pass meets infinity minus infinity, the row pass takes the
        // common column as a steep line.
        SampleCase{"DownwardsVertical", {7, 3}, {7, 6}, invalid(1), column(7, 3, 6)},
        SampleCase{"UpwardsVertical", {7, 6}, {7, 3}, invalid(1), column(7, 3, 6)},
        SampleCase{"VerticalOnColumnZero", {0, 3}, {0, 6}, invalid(1), column(0, 3, 6)},
        // Onto x = 0 the slope is 0 / 0: the column pass is lost, the row pass uses column 0.
        SampleCase{"HorizontalOntoColumnZero", {5, 5}, {0, 5}, invalid(6), {at(0, 5)}},
        SampleCase{"SlantedOntoColumnZero", {5, 5}, {0, 9}, invalid(6), column(0, 5, 9)},
        // Standing still: one invalid column sample and the point itself from the row pass.
        SampleCase{"SamePoint", {7, 7}, {7, 7}, invalid(1), {at(7, 7)}},
        // Slope exactly 10 is not steep: the row pass computes x (100 up to row 109).
        SampleCase{"SlopeExactlyTen",
                   {100, 100},
                   {101, 110},
                   {at(100, 100), at(101, 110)},
                   column(100, 100, 109) + Samples{at(101, 110)}},
        // Slope 10.5 is steep: the row pass stays in the left column all the way.
        SampleCase{"SlopeTenAndAHalf",
                   {100, 100},
                   {102, 121},
                   {at(100, 100), at(101, 110), at(102, 121)},
                   column(100, 100, 121)},
        SampleCase{"Diagonal",
                   {10, 10},
                   {13, 13},
                   {at(10, 10), at(11, 11), at(12, 12), at(13, 13)},
                   {at(10, 10), at(11, 11), at(12, 12), at(13, 13)}},
        // Slope 0.5: 10.5 and 11.5 are cut down; the row pass jumps two columns per row.
        SampleCase{"GentleSlope",
                   {10, 10},
                   {14, 12},
                   {at(10, 10), at(11, 10), at(12, 11), at(13, 11), at(14, 12)},
                   {at(10, 10), at(12, 11), at(14, 12)}},
        // Falling line: the row pass runs over increasing rows whatever the direction.
        SampleCase{"FallingDiagonal",
                   {10, 14},
                   {14, 10},
                   {at(10, 14), at(11, 13), at(12, 12), at(13, 11), at(14, 10)},
                   {at(14, 10), at(13, 11), at(12, 12), at(11, 13), at(10, 14)}},
        // Column 2 computes y = -0.5, which is cut toward zero to 0 (not down to -1).
        SampleCase{"TruncatesTowardZero",
                   {1, 0},
                   {3, -1},
                   {at(1, 0), at(2, 0), at(3, -1)},
                   {at(3, -1), at(1, 0)}},
        // Single precision: b = 0.6666667f, m = (2 - b) / 4 = 0.33333331f. Row 1 computes
        // 3.0000002f - 2.0000002f = 1 exactly, and row 2 computes 6.0000005f - 2.0000002f,
        // a tie that rounds to 4. In double the rows would give columns 0 and 3.
        SampleCase{"SinglePrecisionRowPass",
                   {1, 1},
                   {4, 2},
                   {at(1, 1), at(2, 1), at(3, 1), at(4, 2)},
                   {at(1, 1), at(4, 2)}},
        // The row pass subtracts b/m from y/m; (y - b) / m would put row 1 in column 0.
        SampleCase{"RowPassSubtractsTwoQuotients",
                   {1, 1},
                   {4, 3},
                   {at(1, 1), at(2, 1), at(3, 2), at(4, 3)},
                   {at(1, 1), at(2, 2), at(4, 3)}},
        // The slope comes from the stored intercept and the new x: column 1 lands at
        // 0.99999994 and reads row 0, one above the start point. A slope of dy / dx would give
        // row 1 there and column 5 in the last row.
        SampleCase{"SlopeFromInterceptAndNewX",
                   {1, 1},
                   {6, 7},
                   {at(1, 0), at(2, 2), at(3, 3), at(4, 4), at(5, 5), at(6, 7)},
                   {at(1, 1), at(1, 2), at(2, 3), at(3, 4), at(4, 5), at(5, 6), at(6, 7)}},
        // Far out: the row pass computes 2147483648, one past the largest int, and is invalid;
        // at the other end -2147483648 still fits.
        SampleCase{"BeyondTheLargestInt",
                   {INT_MAX - 2, 5},
                   {INT_MAX, 7},
                   {at(INT_MAX - 2, 0), at(INT_MAX - 1, 0), at(INT_MAX, 0)},
                   invalid(3)},
        SampleCase{"AtTheSmallestInt",
                   {INT_MIN, 0},
                   {INT_MIN + 2, 3},
                   {at(INT_MIN, 0), at(INT_MIN + 1, 0), at(INT_MIN + 2, 0)},
                   column(INT_MIN, 0, 3)}),
    [](const ::testing::TestParamInfo<SampleCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------
// Every movement is sampled in full: one pixel per column and one per row of its box.

struct CountCase {
    QPoint from, to;
};

class PathSampleCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(PathSampleCountTest, OneSamplePerColumnAndPerRow) {
    const CountCase c = GetParam();
    int visited = 0;
    samplePath(c.from, c.to, [&visited](const PathSample&) { ++visited; });
    const int expected = std::abs(c.to.x() - c.from.x()) + 1 + std::abs(c.to.y() - c.from.y()) + 1;
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(static_cast<int>(pathSamples(c.from, c.to).size()), expected);
}

INSTANTIATE_TEST_SUITE_P(Moves, PathSampleCountTest,
                         ::testing::Values(CountCase{{0, 0}, {0, 0}}, CountCase{{5, 5}, {0, 5}},
                                           CountCase{{5, 5}, {0, 9}}, CountCase{{0, 9}, {5, 5}},
                                           CountCase{{10, 10}, {210, 10}},
                                           CountCase{{210, 10}, {10, 210}},
                                           CountCase{{-20, -30}, {15, 40}},
                                           CountCase{{300, 50}, {301, 350}},
                                           CountCase{{INT_MAX, INT_MAX}, {INT_MAX - 3, INT_MAX}}));

// ---------------------------------------------------------------------------------------------
// The wall test on a board. The board's picture starts at client (11, 10).

using Paint = std::function<void(QImage&)>;

QImage whitePicture(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(qRgb(255, 255, 255));
    return img;
}

struct WallCase {
    std::string name;
    int width, height;
    Paint paint;     // draws on the picture, in picture pixels
    QPoint from, to; // client pixels
    bool hit;
};

Paint verticalLine(int x, QRgb color) {
    return [x, color](QImage& img) {
        for (int y = 0; y < img.height(); ++y)
            img.setPixel(x, y, color);
    };
}

Paint pixel(int x, int y, QRgb color) {
    return [x, y, color](QImage& img) { img.setPixel(x, y, color); };
}

Paint allBlack() {
    return [](QImage& img) { img.fill(qRgb(0, 0, 0)); };
}

// Rising from bottom left to top right, pixels (i, sum - i): touching only at corners.
Paint antiDiagonal(int sum) {
    return [sum](QImage& img) {
        for (int i = 0; i < img.width(); ++i)
            if (sum - i >= 0 && sum - i < img.height())
                img.setPixel(i, sum - i, qRgb(0, 0, 0));
    };
}

// The same, with each step filled in so that the wall has no gaps between its corners.
Paint antiDiagonalStaircase(int sum) {
    return [sum](QImage& img) {
        for (int i = 0; i + 1 < img.width(); ++i)
            if (sum - i >= 0 && sum - i < img.height()) {
                img.setPixel(i, sum - i, qRgb(0, 0, 0));
                img.setPixel(i + 1, sum - i, qRgb(0, 0, 0));
            }
    };
}

void PrintTo(const WallCase& c, std::ostream* os) {
    *os << c.name;
}

class WallTest : public ::testing::TestWithParam<WallCase> {};

TEST_P(WallTest, TouchesWallOnlyOnExactBlack) {
    const WallCase& c = GetParam();
    QImage picture = whitePicture(c.width, c.height);
    c.paint(picture);
    LevelBoard board;
    board.setPicture(picture);
    EXPECT_EQ(pathTouchesWall(board, c.from, c.to), c.hit);
}

const QRgb kWallPixel = rgbFromColorRef(kWall);

INSTANTIATE_TEST_SUITE_P(
    Boards, WallTest,
    ::testing::Values(
        // A one-pixel black column at client x 31, jumped over in one movement.
        WallCase{
            "JumpAcrossThinWall", 40, 40, verticalLine(20, kWallPixel), {21, 30}, {41, 30}, true},
        WallCase{"JumpBackAcrossThinWall",
                 40,
                 40,
                 verticalLine(20, kWallPixel),
                 {41, 30},
                 {21, 30},
                 true},
        WallCase{
            "StopShortOfThinWall", 40, 40, verticalLine(20, kWallPixel), {21, 30}, {30, 30}, false},
        // Near black and the trail grey are free track.
        WallCase{
            "NearBlackIsFree", 40, 40, verticalLine(20, qRgb(1, 1, 1)), {21, 30}, {41, 30}, false},
        WallCase{"TrailGreyIsFree",
                 40,
                 40,
                 verticalLine(20, rgbFromColorRef(kTrail)),
                 {21, 30},
                 {41, 30},
                 false},
        // A 45-degree jump across a gapless diagonal wall.
        WallCase{"DiagonalJumpAcrossStaircase",
                 60,
                 60,
                 antiDiagonalStaircase(59),
                 {21, 20},
                 {51, 50},
                 true},
        // Crossing a corner-to-corner diagonal right on a pixel of it.
        WallCase{"DiagonalJumpAcrossDiagonalOnAPixel",
                 60,
                 60,
                 antiDiagonal(58),
                 {21, 20},
                 {51, 50},
                 true},
        // Crossing a corner-to-corner diagonal between two of its pixels: the path's pixels
        // (p, p) never meet (i, 59 - i), so the pointer slips through.
        WallCase{
            "DiagonalJumpThroughCornerGap", 60, 60, antiDiagonal(59), {21, 20}, {51, 50}, false},
        // A wall pixel only at the end point is looked at; one pixel before it is not.
        WallCase{"WallAtEndPoint", 40, 40, pixel(19, 20, kWallPixel), {20, 25}, {30, 30}, true},
        WallCase{
            "EndOnePixelBeforeWall", 40, 40, pixel(19, 20, kWallPixel), {20, 25}, {29, 30}, false},
        // Nothing outside the picture is a wall, even beside an all-black picture.
        WallCase{"LeftOfPicture", 40, 40, allBlack(), {0, 0}, {10, 60}, false},
        WallCase{"BelowPicture", 40, 40, allBlack(), {20, 60}, {45, 70}, false},
        WallCase{"NegativeClientPoints", 40, 40, allBlack(), {-30, -20}, {-5, -1}, false},
        WallCase{"InsideBlackPicture", 40, 40, allBlack(), {20, 20}, {25, 22}, true},
        // Slope 10.5 from client (100, 100) to (102, 121): the row pass reads column 100 in
        // every row, so a wall there counts although the line runs through column 101 at row
        // 115, where a wall goes unnoticed.
        WallCase{"SteepMoveReadsLeftColumn",
                 200,
                 200,
                 pixel(89, 105, kWallPixel),
                 {100, 100},
                 {102, 121},
                 true},
        WallCase{"SteepMoveMissesLineColumn",
                 200,
                 200,
                 pixel(90, 105, kWallPixel),
                 {100, 100},
                 {102, 121},
                 false}),
    [](const ::testing::TestParamInfo<WallCase>& info) { return info.param.name; });

TEST(WallTest, DrawnTrailIsNoWall) {
    LevelBoard board;
    board.setPicture(whitePicture(40, 40));
    board.drawTrailLine({31, 10}, {31, 49});
    ASSERT_EQ(board.colorAt({31, 30}), kTrail);
    EXPECT_FALSE(pathTouchesWall(board, {21, 30}, {41, 30}));
}

TEST(WallTest, BoardWithoutPictureHasNoWalls) {
    const LevelBoard board;
    EXPECT_FALSE(pathTouchesWall(board, {0, 0}, {100, 100}));
}

} // namespace
