#include "check/LevelCheck.h"
#include "check/ProbeShape.h"
#include "level/ColorCode.h"

#include "support/PaintedLevel.h"
#include "support/QtPrinters.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

using namespace kf;
using namespace kf::test;

const Fill kStartTopLeft{{2, 2, 6, 6}, kStartPixel};
const Fill kFinishBottomRight{{32, 32, 6, 6}, kFinishPixel};

// A wall across the whole picture, four pixels thick, with `gap` free rows from row `top`.
Fills gapLevel(int gap, int top) {
    return {{{18, 0, 4, top}, kWallPixel},
            {{18, top + gap, 4, 40 - top - gap}, kWallPixel},
            kStartTopLeft,
            kFinishBottomRight};
}

// Wall with a band of free track from the top-left to the bottom-right corner, 13 pixels across
// in each row (about 9 pixels across the band), started and finished at its two ends.
Fills diagonalLevel() {
    Fills fills{{{0, 0, 40, 40}, kWallPixel}};
    for (int y = 0; y < 40; ++y)
        fills.push_back({{y - 6, y, 13, 1}, kFree});
    fills.push_back({{0, 0, 6, 3}, kStartPixel});
    fills.push_back({{34, 37, 6, 3}, kFinishPixel});
    return fills;
}

QImage draw(const Fills& fills) {
    return paintedLevel({40, 40}, fills);
}

struct CheckCase {
    const char* name;
    Fills fills;
    int width;
    int startAreas;
    int finishAreas;
    bool playable;
    std::vector<QPoint> sealed;
};

class LevelCheckCases : public ::testing::TestWithParam<CheckCase> {};

TEST_P(LevelCheckCases, JudgesThePicture) {
    const CheckCase& c = GetParam();
    const LevelCheckResult r = checkLevel(draw(c.fills), c.width);
    EXPECT_TRUE(r.loads);
    EXPECT_EQ(r.size, QSize(40, 40));
    EXPECT_EQ(r.startAreas, c.startAreas);
    EXPECT_EQ(r.finishAreas, c.finishAreas);
    EXPECT_EQ(r.playable, c.playable);
    EXPECT_EQ(std::vector<QPoint>(r.sealedStarts.begin(), r.sealedStarts.end()), c.sealed);
    EXPECT_EQ(r.sealedCount, static_cast<int>(c.sealed.size()));
    EXPECT_EQ(r.reasons.isEmpty(), c.playable) << r.reasons.join("; ").toStdString();
}

const std::vector<QPoint> kFirstSealed{{2, 2}};

INSTANTIATE_TEST_SUITE_P(
    Pictures, LevelCheckCases,
    ::testing::Values(
        CheckCase{"GoodLevel", {kStartTopLeft, kFinishBottomRight}, 4, 1, 1, true, {}},
        CheckCase{"NoStart", {kFinishBottomRight}, 4, 0, 1, false, {}},
        CheckCase{"NoFinish", {kStartTopLeft}, 4, 1, 0, false, {}},
        CheckCase{"FinishBehindAWall",
                  {{{20, 0, 2, 40}, kWallPixel}, kStartTopLeft, kFinishBottomRight},
                  1,
                  1,
                  1,
                  false,
                  kFirstSealed},
        // A probe need only cover part of an area, not stand with its centre on it.
        CheckCase{"OnePixelStartAndFinishAlongTheEdges",
                  {{{0, 0, 1, 40}, kStartPixel}, {{39, 0, 1, 40}, kFinishPixel}},
                  5,
                  1,
                  1,
                  true,
                  {}},
        CheckCase{"SecondStartSealedInACorner",
                  {{{24, 0, 2, 14}, kWallPixel},
                   {{24, 12, 16, 2}, kWallPixel},
                   {{30, 3, 5, 5}, kStartPixel},
                   kStartTopLeft,
                   kFinishBottomRight},
                  4,
                  2,
                  1,
                  false,
                  {{30, 3}}},
        // Pixels touching only at a corner form one area, but a probe cannot squeeze through.
        CheckCase{"StartAreasTouchingAtACornerAreOne",
                  {{{2, 2, 3, 3}, kStartPixel},
                   {{5, 5, 3, 3}, kStartPixel},
                   {{32, 2, 3, 3}, kFinishPixel},
                   kFinishBottomRight},
                  4,
                  1,
                  2,
                  true,
                  {}},
        CheckCase{"WallsTouchingAtACornerSeal",
                  {{{0, 20, 20, 20}, kWallPixel},
                   {{20, 0, 20, 20}, kWallPixel},
                   kStartTopLeft,
                   {{32, 32, 6, 6}, kFinishPixel}},
                  1,
                  1,
                  1,
                  false,
                  kFirstSealed},
        CheckCase{"GapOfOneAtOne", gapLevel(1, 18), 1, 1, 1, true, {}},
        CheckCase{"GapOfOneAtTwo", gapLevel(1, 18), 2, 1, 1, false, kFirstSealed},
        CheckCase{"GapOfThreeAtThree", gapLevel(3, 18), 3, 1, 1, true, {}},
        CheckCase{"GapOfThreeAtFour", gapLevel(3, 18), 4, 1, 1, false, kFirstSealed},
        CheckCase{"GapOfFourAtFour", gapLevel(4, 18), 4, 1, 1, true, {}},
        CheckCase{"GapOfFourAtFive", gapLevel(4, 18), 5, 1, 1, false, kFirstSealed},
        // Beyond the picture's edge is wall: a gap along the edge is no wider than its rows.
        CheckCase{"GapAtTheEdgeOfFourAtFour", gapLevel(4, 0), 4, 1, 1, true, {}},
        CheckCase{"GapAtTheEdgeOfFourAtFive", gapLevel(4, 0), 5, 1, 1, false, kFirstSealed},
        CheckCase{"WiderThanThePicture",
                  {kStartTopLeft, kFinishBottomRight},
                  41,
                  1,
                  1,
                  false,
                  kFirstSealed},
        // A round probe of 8 fits the diagonal band; a square one of 8 would not.
        CheckCase{"DiagonalAtEight", diagonalLevel(), 8, 1, 1, true, {}},
        CheckCase{"DiagonalAtNine", diagonalLevel(), 9, 1, 1, false, {{0, 0}}}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST(LevelCheck, ReasonsNameWhatIsMissingAndWhichStartIsSealed) {
    EXPECT_EQ(checkLevel(draw({}), 4).reasons,
              QStringList({"no starting area", "no finishing area"}));
    EXPECT_EQ(checkLevel(draw(gapLevel(1, 18)), 2).reasons,
              QStringList({"the starting area at (2, 2) cannot reach a finishing area along a "
                           "corridor at least 2 pixels wide"}));
    EXPECT_EQ(corridorPhrase(1), "a corridor at least 1 pixel wide");
}

// Isolated starting pixels walled in, however many, give a bounded report: the first ones in
// reading order are named, the rest counted in one reason.
TEST(LevelCheck, NamesTheFirstSealedStartsAndCountsTheRest) {
    struct Case {
        int starts;
        int reasons;
        QString last;
    };
    const QString along = " cannot reach a finishing area along a corridor at least 4 pixels wide";
    const Case cases[] = {{20, 20, "the starting area at (1, 3)" + along},
                          {21, 21, "1 more starting area" + along},
                          {25, 21, "5 more starting areas" + along}};
    for (const Case& c : cases) {
        Fills fills{{{0, 0, 40, 40}, kWallPixel}, kFinishBottomRight};
        for (int k = 0; k < c.starts; ++k)
            fills.push_back({{1 + 2 * (k % 19), 1 + 2 * (k / 19), 1, 1}, kStartPixel});
        const LevelCheckResult r = checkLevel(draw(fills), 4);
        EXPECT_EQ(r.startAreas, c.starts);
        EXPECT_EQ(r.sealedCount, c.starts);
        ASSERT_EQ(r.sealedStarts.size(), kListedSealedStarts) << c.starts << " starts";
        EXPECT_EQ(r.sealedStarts.front(), QPoint(1, 1));
        EXPECT_EQ(r.sealedStarts.back(), QPoint(1, 3)) << "the 20th in reading order";
        EXPECT_EQ(r.reasons.size(), c.reasons);
        EXPECT_EQ(r.reasons.back(), c.last);
    }
}

TEST(LevelCheck, NullOrTooLargePictureDoesNotLoad) {
    const LevelCheckResult null = checkLevel(QImage(), 4);
    EXPECT_FALSE(null.loads);
    EXPECT_FALSE(null.playable);
    EXPECT_EQ(null.reasons, QStringList({"not a loadable bitmap"}));

    // One pixel more than the bitmap reader reads; at one bit a pixel it takes only 4 MB here.
    QImage huge(8193, 4096, QImage::Format_Mono);
    huge.fill(0);
    const LevelCheckResult tooLarge = checkLevel(huge, 4);
    EXPECT_FALSE(tooLarge.loads);
    EXPECT_FALSE(tooLarge.playable);
    EXPECT_EQ(tooLarge.reasons, QStringList({"too large: 8193 × 4096 pixels, at most 33554432"}));
}

// The probe's rows, top to bottom, by how many pixels each covers.
struct FootprintCase {
    int width;
    std::vector<int> rows;
};

TEST(ProbeShape, CoversARoundFootprint) {
    const FootprintCase cases[] = {
        {1, {1}}, {2, {2, 2}}, {3, {3, 3, 3}}, {4, {2, 4, 4, 2}}, {5, {3, 5, 5, 5, 3}}};
    for (const FootprintCase& c : cases) {
        std::vector<int> rows;
        for (const ProbeSpan& s : probeSpans(c.width)) {
            EXPECT_LE(s.left, 0) << "the anchor is covered";
            EXPECT_GE(s.right, 0) << "the anchor is covered";
            rows.push_back(s.right - s.left + 1);
        }
        EXPECT_EQ(rows, c.rows) << "width " << c.width;
    }
}

} // namespace
