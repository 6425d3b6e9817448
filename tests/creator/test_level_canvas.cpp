#include "creator/LevelCanvas.h"

#include "creator/LevelBitmap.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"

#include "support/PixelCount.h"

#include <QLineF>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace kf;

// The black frame control of the creator's template, in client pixels.
QRect templateFrame() {
    const DialogTemplate& t = dialogTemplate(kLevelCreatorDialogId);
    for (const ControlTemplate& c : t.controls) {
        if (c.styles & style::SsBlackFrame)
            return duRectToPixels(c.rect, baseUnitsForFont(t.fontPointSize));
    }
    return {};
}
const QRect kFrame = templateFrame();

COLORREF at(const LevelCanvas& c, int x, int y) {
    return colorRefFromRgb(c.image().pixel(x, y));
}

// The slider offers sizes 1 to 5 and every opening starts at 2; at size 5 the brush is 30 pixels
// wide and the eraser 55.
TEST(LevelCanvas, BrushSizesRangeFromOneToFiveAndOpenAtTwo) {
    EXPECT_EQ(kMinBrushSize, 1);
    EXPECT_EQ(kMaxBrushSize, 5);
    EXPECT_EQ(kOpeningBrushSize, 2);
    EXPECT_EQ(creatorPen(kToolWalls, kMaxBrushSize).width, 30);
    EXPECT_EQ(creatorPen(kToolEraser, kMaxBrushSize).width, 55);
}

TEST(LevelCanvas, StartsWhiteWithAOnePixelFrame) {
    const LevelCanvas canvas(kFrame);
    ASSERT_EQ(canvas.image().size(), QSize(400, 400));
    const int black =
        test::countPixels(canvas.image(), [](QRgb p) { return colorRefFromRgb(p) == kWall; });
    const int white =
        test::countPixels(canvas.image(), [](QRgb p) { return colorRefFromRgb(p) == kWhite; });
    EXPECT_EQ(black, 2 * kFrame.width() + 2 * kFrame.height() - 4);
    EXPECT_EQ(black + white, 400 * 400);
    const QRect f = kFrame;
    for (QPoint p : {f.topLeft(), f.topRight(), f.bottomLeft(), f.bottomRight()})
        EXPECT_EQ(at(canvas, p.x(), p.y()), kWall) << p.x() << "," << p.y();
    for (QPoint p :
         {f.topLeft() - QPoint(1, 0), f.topLeft() - QPoint(0, 1), f.bottomRight() + QPoint(0, 1)})
        EXPECT_EQ(at(canvas, p.x(), p.y()), kWhite) << p.x() << "," << p.y();
}

// A segment is drawn only when both end points lie strictly inside 10 < x, y < 390.
struct BoundsCase {
    const char* name;
    QPoint from;
    QPoint to;
    bool drawn;
};

class CanvasBounds : public ::testing::TestWithParam<BoundsCase> {};

TEST_P(CanvasBounds, DrawsOnlyBetweenInsidePoints) {
    const BoundsCase c = GetParam();
    LevelCanvas canvas(kFrame);
    const QImage blank = canvas.image();
    canvas.press(c.from);
    const QRect changed = canvas.drag(c.to, kToolWalls, 1);
    EXPECT_EQ(canvas.image() != blank, c.drawn);
    EXPECT_EQ(!changed.isEmpty(), c.drawn);
    EXPECT_EQ(canvas.previous(), c.to) << "the point is stored whether drawn or not";
}

INSTANTIATE_TEST_SUITE_P(
    Points, CanvasBounds,
    ::testing::Values(BoundsCase{"JustInside", {11, 11}, {389, 389}, true},
                      BoundsCase{"FromOnTheLeftBound", {10, 200}, {200, 200}, false},
                      BoundsCase{"FromOnTheTopBound", {200, 10}, {200, 200}, false},
                      BoundsCase{"ToOnTheRightBound", {200, 200}, {390, 200}, false},
                      BoundsCase{"ToOnTheBottomBound", {200, 200}, {200, 390}, false},
                      BoundsCase{"FromOutsideTheWindow", {-40, 200}, {200, 200}, false},
                      BoundsCase{"CrossingButBothOutside", {5, 200}, {395, 200}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LevelCanvas, BeforeAnyPressThePreviousPointIsOutside) {
    LevelCanvas canvas(kFrame);
    const QImage blank = canvas.image();
    EXPECT_TRUE(canvas.drag({200, 200}, kToolWalls, 2).isEmpty());
    EXPECT_EQ(canvas.image(), blank);
    EXPECT_FALSE(canvas.drag({220, 200}, kToolWalls, 2).isEmpty());
}

TEST(LevelCanvas, ClearingKeepsThePreviousPoint) {
    LevelCanvas canvas(kFrame);
    canvas.press({100, 100});
    canvas.clear();
    EXPECT_FALSE(canvas.drag({150, 100}, kToolWalls, 1).isEmpty());
}

// Each tool's colour and width, measured across a horizontal stroke; unknown tools paint walls.
struct PenCase {
    int tool;
    int brushSize;
    COLORREF colour;
    int width;
};

class CanvasPens : public ::testing::TestWithParam<PenCase> {};

TEST_P(CanvasPens, StrokeHasTheToolsColourAndWidth) {
    const PenCase c = GetParam();
    LevelCanvas canvas(kFrame);
    if (c.tool == kToolEraser) { // the eraser shows on a wall band from y = 155 to 245
        for (int y : {170, 200, 230}) {
            canvas.press({40, y});
            canvas.drag({360, y}, kToolWalls, 5);
        }
    }
    canvas.press({100, 200});
    canvas.drag({300, 200}, c.tool, c.brushSize);
    int across = 0;
    for (int y = 160; y <= 240; ++y)
        across += at(canvas, 200, y) == c.colour ? 1 : 0;
    EXPECT_NEAR(across, c.width, 1);
    // The round cap reaches half a pen width beyond the end point.
    EXPECT_EQ(at(canvas, 300 + c.width / 2 - 1, 200), c.colour);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, CanvasPens,
    ::testing::Values(PenCase{kToolWalls, 1, kWall, 6}, PenCase{kToolWalls, 5, kWall, 30},
                      PenCase{kToolStart, 2, kStart, 12}, PenCase{kToolFinish, 3, kFinish, 18},
                      PenCase{kToolEraser, 1, kWhite, 11}, PenCase{kToolEraser, 4, kWhite, 44},
                      PenCase{7, 2, kWall, 12}));

TEST(LevelCanvas, WideStrokesSpillOverTheFrameAndAreSaved) {
    LevelCanvas canvas(kFrame);
    canvas.press({11, 100});
    canvas.drag({11, 300}, kToolEraser, 5); // 55 pixels wide, centred just inside the bounds
    EXPECT_EQ(at(canvas, 5, 200), kWhite) << "the eraser covers the frame";
    canvas.press({11, 100});
    canvas.drag({11, 300}, kToolWalls, 5);
    EXPECT_EQ(at(canvas, 0, 200), kWall) << "paint reaches the margin left of the frame";
    EXPECT_EQ(at(canvas, 11, 300 + 14), kWall);
    EXPECT_EQ(at(canvas, 11, 300 + 16), kWhite) << "no further than half the pen width";
    // The file's first pixel of picture row 200 (stored as row 199 from the bottom).
    EXPECT_EQ(encodeLevelBitmap(canvas.image()).mid(54 + 199 * 1200, 3).toHex(), "000000");
}

// A 12-pixel stroke is a round brush dragged along the segment: it covers what lies within
// 6 pixels of the segment and nothing much beyond, also around the ends.
TEST(LevelCanvas, AStrokeCoversThePointsNearItsSegmentWithRoundEnds) {
    LevelCanvas canvas(kFrame);
    const QPoint a(100, 200), b(300, 260);
    canvas.press(a);
    canvas.drag(b, kToolWalls, 2);
    const QLineF segment(a, b);
    int wrong = 0;
    for (int y = 170; y <= 290; ++y) {
        for (int x = 80; x <= 320; ++x) {
            // Distance from (x, y) to the segment.
            const QPointF d = segment.p2() - segment.p1();
            const double t = std::clamp(QPointF::dotProduct(QPointF(x, y) - segment.p1(), d) /
                                            QPointF::dotProduct(d, d),
                                        0.0, 1.0);
            const QPointF nearest = segment.p1() + t * d;
            const double dist = std::hypot(x - nearest.x(), y - nearest.y());
            const bool wall = at(canvas, x, y) == kWall;
            if ((dist <= 5.0 && !wall) || (dist >= 7.0 && wall))
                ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
    // A square cap would paint the corner beyond the end point.
    EXPECT_EQ(at(canvas, 300 + 6, 260 + 6), kWhite);
}

// Coming back into the bounds, the first movement draws nothing (its previous point lies
// outside) and the following ones draw again.
TEST(LevelCanvas, ReEnteringTheBoundsDrawsFromTheSecondMovementInside) {
    LevelCanvas canvas(kFrame);
    canvas.press({200, 200});
    EXPECT_FALSE(canvas.drag({300, 200}, kToolWalls, 1).isEmpty());
    EXPECT_TRUE(canvas.drag({395, 200}, kToolWalls, 1).isEmpty());
    EXPECT_TRUE(canvas.drag({380, 200}, kToolWalls, 1).isEmpty());
    EXPECT_FALSE(canvas.drag({370, 200}, kToolWalls, 1).isEmpty());
}

TEST(LevelCanvas, ChangedRectangleHoldsEveryChangedPixel) {
    struct Segment {
        QPoint from, to;
        int tool, size;
    };
    const Segment segments[] = {{{20, 20}, {380, 380}, kToolWalls, 5},
                                {{380, 30}, {30, 370}, kToolEraser, 5},
                                {{200, 200}, {201, 200}, kToolStart, 1},
                                {{50, 300}, {50, 40}, kToolFinish, 3}};
    LevelCanvas canvas(kFrame);
    for (const Segment& s : segments) {
        const QImage before = canvas.image();
        canvas.press(s.from);
        const QRect changed = canvas.drag(s.to, s.tool, s.size);
        int outside = 0;
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 400; ++x)
                outside +=
                    before.pixel(x, y) != canvas.image().pixel(x, y) && !changed.contains(x, y);
        EXPECT_EQ(outside, 0) << s.from.x() << "," << s.from.y();
        // Grown by about half the pen width, not the whole canvas.
        const int reach = creatorPen(s.tool, s.size).width / 2 + 2;
        EXPECT_LE(changed.width(), std::abs(s.to.x() - s.from.x()) + 2 * reach + 1);
    }
    // No smoothed edges: every pixel keeps a colour of the level's colour code.
    EXPECT_EQ(test::countPixels(canvas.image(),
                                [](QRgb p) {
                                    const COLORREF c = colorRefFromRgb(p);
                                    return c != kWall && c != kWhite && c != kStart && c != kFinish;
                                }),
              0);
}

} // namespace

// The canvas as a level file: the white margin, the frame and a stroke at their file offsets,
// the bottom row stored first and every pixel as blue, green, red.
TEST(LevelCanvas, SavesAsALevelFileWithItsRowsBottomUp) {
    LevelCanvas canvas(kFrame);
    canvas.press({100, 50});
    canvas.drag({300, 50}, kToolStart, 1);
    const QByteArray bytes = encodeLevelBitmap(canvas.image());
    ASSERT_EQ(bytes.size(), 480054);
    const auto pixelAt = [&](int x, int y) {
        return bytes.mid(54 + (399 - y) * 1200 + 3 * x, 3).toHex();
    };
    EXPECT_EQ(pixelAt(0, 0), "ffffff");
    EXPECT_EQ(pixelAt(399, 399), "ffffff");
    EXPECT_EQ(pixelAt(5, 200), "000000");
    EXPECT_EQ(pixelAt(399, 200), "000000"); // the frame's right side is the file's last column
    EXPECT_EQ(pixelAt(200, 397), "000000");
    EXPECT_EQ(pixelAt(200, 398), "ffffff");
    EXPECT_EQ(pixelAt(200, 50), "00ff00");
    EXPECT_EQ(pixelAt(200, 60), "ffffff");
}
