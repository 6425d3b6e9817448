#include "check/LevelCheck.h"
#include "check/LevelMap.h"
#include "check/LevelPassage.h"
#include "check/ProbeDistance.h"
#include "check/ProbeShape.h"
#include "level/BitmapFile.h"
#include "level/ColorCode.h"

#include "support/PaintedLevel.h"
#include "support/QtPrinters.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Named, as the test build puts the files of a folder into one unit.
namespace passage_test {

using namespace kf;
using namespace kf::test;

QImage draw(QSize size, const Fills& fills) {
    return paintedLevel(size, fills);
}

// Scattered walls, starts and finishes over free track, the same for a seed on every run.
QImage scattered(quint32 seed, QSize size, int walls, int starts, int finishes) {
    QRandomGenerator random(seed);
    std::vector<Fill> fills;
    const auto add = [&](int count, QRgb color, int largest) {
        for (int k = 0; k < count; ++k)
            fills.push_back({{random.bounded(size.width()), random.bounded(size.height()),
                              1 + random.bounded(largest), 1 + random.bounded(largest)},
                             color});
    };
    add(walls, kWallPixel, 5);
    add(starts, kStartPixel, 3);
    add(finishes, kFinishPixel, 3);
    return draw(size, fills);
}

// The free track is exactly the footprint of a probe of `width` anchored at (8, 8), with a
// starting pixel at its left rim and a finishing pixel at its right rim.
QImage probeHole(int width) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(kWallPixel);
    for (const ProbeSpan& s : probeSpans(width))
        for (int dx = s.left; dx <= s.right; ++dx)
            image.setPixel(8 + dx, 8 + s.dy, kFree);
    const ProbeSpan middle = probeSpans(width)[static_cast<std::size_t>(width / 2)];
    image.setPixel(8 + middle.left, 8 + middle.dy, kStartPixel);
    image.setPixel(8 + middle.right, 8 + middle.dy, kFinishPixel);
    return image;
}

struct PassageCase {
    const char* name;
    QImage picture;
};

std::vector<PassageCase> passageCases() {
    const QSize size(40, 40);
    const Fill start{{2, 2, 6, 6}, kStartPixel};
    const Fill finish{{32, 32, 6, 6}, kFinishPixel};
    return {
        {"OpenField", draw(size, {start, finish})},
        {"GapOfFour",
         draw(size, {{{18, 0, 4, 18}, kWallPixel}, {{18, 22, 4, 18}, kWallPixel}, start, finish})},
        {"GapOfThreeAtTheEdge", draw(size, {{{18, 3, 4, 37}, kWallPixel}, start, finish})},
        {"SealedSecondStart", draw(size, {{{24, 0, 2, 14}, kWallPixel},
                                          {{24, 12, 16, 2}, kWallPixel},
                                          {{30, 3, 5, 5}, kStartPixel},
                                          start,
                                          finish})},
        {"TwoStartsOneProbeCovers", draw(size, {{{0, 0, 40, 40}, kWallPixel},
                                                {{10, 10, 12, 12}, kFree},
                                                {{10, 10, 1, 1}, kStartPixel},
                                                {{21, 21, 1, 1}, kStartPixel},
                                                {{15, 15, 1, 1}, kFinishPixel}})},
        {"NoFinish", draw(size, {start})},
        {"NoStart", draw(size, {finish})},
        {"StartEverywhere",
         draw(QSize(7, 5), {{{0, 0, 7, 5}, kStartPixel}, {{3, 2, 1, 1}, kFinishPixel}})},
        // A probe of 4 fits the hole, a probe of 3 fits nowhere in it: wider is not worse.
        {"HoleOfFour", probeHole(4)},
        {"HoleOfSeven", probeHole(7)},
        {"HoleOfTen", probeHole(10)},
        {"ScatteredA", scattered(1, QSize(37, 29), 30, 4, 2)},
        {"ScatteredB", scattered(2, QSize(45, 45), 60, 12, 3)},
        {"ScatteredC", scattered(3, QSize(31, 50), 15, 2, 1)},
        {"ScatteredD", scattered(4, QSize(60, 24), 90, 16, 5)},
        // Wider than 32 768 pixels, where a squared distance in half pixels outgrows 32 bits:
        // the start lies exactly that far from a finish, and both finishes are walled off.
        {"WalledOffFarAcross", draw(QSize(65560, 9), {{{0, 0, 1, 9}, kFinishPixel},
                                                      {{1, 0, 1, 9}, kWallPixel},
                                                      {{32768, 4, 1, 1}, kStartPixel},
                                                      {{65558, 0, 1, 9}, kWallPixel},
                                                      {{65559, 0, 1, 9}, kFinishPixel}})},
    };
}

void expectSameVerdict(const LevelCheckResult& fast, const LevelCheckResult& probe,
                       const std::string& where) {
    EXPECT_EQ(fast.loads, probe.loads) << where;
    EXPECT_EQ(fast.size, probe.size) << where;
    EXPECT_EQ(fast.startAreas, probe.startAreas) << where;
    EXPECT_EQ(fast.finishAreas, probe.finishAreas) << where;
    EXPECT_EQ(fast.sealedStarts, probe.sealedStarts) << where;
    EXPECT_EQ(fast.sealedCount, probe.sealedCount) << where;
    EXPECT_EQ(fast.playable, probe.playable) << where;
    EXPECT_EQ(fast.reasons, probe.reasons) << where;
}

// At every width, the one measure judges as the probe of checkLevel does, area by area; the
// narrowest passage is the widest width at which checkLevel finds the level playable.
TEST(LevelPassage, AgreesWithTheProbeAtEveryWidth) {
    for (const PassageCase& c : passageCases()) {
        const LevelPassage passage = measurePassage(c.picture);
        int widestPlayable = 0;
        std::map<QPoint, int, bool (*)(QPoint, QPoint)> widestReaching(
            [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
        const int widest = std::min(c.picture.width(), c.picture.height()) + 1;
        for (int width = 1; width <= widest; ++width) {
            const LevelCheckResult probe = checkLevel(c.picture, width);
            expectSameVerdict(passage.verdict(width), probe,
                              std::string(c.name) + " at width " + std::to_string(width));
            if (probe.playable)
                widestPlayable = width;
            // Every sealed start is named while there are at most kListedSealedStarts.
            ASSERT_LE(passage.starts.size(), std::size_t{kListedSealedStarts}) << c.name;
            for (const StartPassage& s : passage.starts)
                if (probe.finishAreas > 0 && !probe.sealedStarts.contains(s.first))
                    widestReaching[s.first] = width;
        }
        EXPECT_EQ(passage.narrowest, widestPlayable) << c.name;
        for (const StartPassage& s : passage.starts)
            EXPECT_EQ(s.widest, widestReaching[s.first])
                << c.name << " start " << s.first.x() << "," << s.first.y();
    }
}

TEST(LevelPassage, NamesTheNarrowestPointAndEachStartsWidestProbe) {
    const LevelPassage holed = measurePassage(probeHole(4));
    EXPECT_EQ(holed.narrowest, 4);
    EXPECT_EQ(holed.narrowestPoint, QPoint(8, 8)) << "the only place a probe of 4 fits";
    ASSERT_EQ(holed.starts.size(), 1u);
    EXPECT_FALSE(holed.reaches(0, 3));
    EXPECT_TRUE(holed.reaches(0, 2));

    // Two starts with corridors of 20 and 6 pixels to their finishes: the narrow one limits.
    const QRect narrowCorridor(0, 40, 60, 6);
    const LevelPassage twoRoutes =
        measurePassage(draw(QSize(60, 60), {{{0, 0, 60, 60}, kWallPixel},
                                            {{0, 5, 60, 20}, kFree},
                                            {narrowCorridor, kFree},
                                            {{0, 5, 3, 20}, kStartPixel},
                                            {{0, 40, 3, 6}, kStartPixel},
                                            {{57, 5, 3, 20}, kFinishPixel},
                                            {{57, 40, 3, 6}, kFinishPixel}}));
    EXPECT_EQ(twoRoutes.narrowest, 6);
    EXPECT_TRUE(narrowCorridor.contains(twoRoutes.narrowestPoint))
        << twoRoutes.narrowestPoint.x() << "," << twoRoutes.narrowestPoint.y();

    const LevelPassage sealed = measurePassage(passageCases()[3].picture);
    EXPECT_EQ(sealed.narrowest, 0);
    EXPECT_EQ(sealed.narrowestPoint, QPoint(-1, -1));
    ASSERT_EQ(sealed.starts.size(), 2u);
    EXPECT_EQ(sealed.starts[0].first, QPoint(2, 2));
    EXPECT_EQ(sealed.starts[0].widest, 25);
    EXPECT_EQ(sealed.starts[1].widest, 0);

    EXPECT_FALSE(measurePassage(QImage()).loads);
    EXPECT_EQ(measurePassage(QImage()).verdict(4).reasons, QStringList({"not a loadable bitmap"}));
}

// The squared distances decide which probes fit and what they cover exactly as the probe's own
// footprint does, for every width and both centres.
TEST(ProbeDistance, MatchesTheProbesFootprint) {
    const QImage picture = scattered(7, QSize(23, 19), 25, 6, 0);
    QImage converted = picture;
    LevelMap map(converted);
    for (const Tile tile : {Tile::Wall, Tile::Start}) {
        for (int width = 1; width <= 12; ++width) {
            std::vector<std::uint32_t> distance;
            probeDistances(map, tile, probeCentreOf(width), tile == Tile::Wall, distance);
            for (int y = 0; y < map.height(); ++y)
                for (int x = 0; x < map.width(); ++x) {
                    bool covers = false;
                    for (const ProbeSpan& s : probeSpans(width))
                        for (int dx = s.left; dx <= s.right; ++dx) {
                            const int px = x + dx;
                            const int py = y + s.dy;
                            const bool outside =
                                px < 0 || py < 0 || px >= map.width() || py >= map.height();
                            covers =
                                covers || (outside ? tile == Tile::Wall : map.tile(px, py) == tile);
                        }
                    EXPECT_EQ(distance[map.index(x, y)] < std::uint32_t(width * width), covers)
                        << "width " << width << " at " << x << "," << y;
                }
        }
    }
}

// Pixels of a tile far apart along a row of two million each keep their own distance.
TEST(ProbeDistance, KeepsEveryPixelOfAVeryWidePicture) {
    const int finishes[] = {416661, 1170094, 1477517};
    QImage picture(1 << 21, 1, QImage::Format_RGB32);
    picture.fill(kFree);
    for (const int x : finishes)
        picture.setPixel(x, 0, kFinishPixel);
    std::vector<std::uint32_t> distance;
    probeDistances(LevelMap(picture), Tile::Finish, ProbeCentre::Pixel, false, distance);
    for (const int x : finishes)
        EXPECT_EQ(distance[x + 1], 4u) << x;
}

// The bundled tracks: the narrowest passage, and the verdict just below, at and just above it.
TEST(LevelPassage, BundledTracksAgreeAroundTheirNarrowestPassage) {
    const char* const tracks[] = {"Level_00_INTRO.bmp",    "Level_01_CURVES.bmp",
                                  "Level_02_HAIRPINS.bmp", "Level_03_SPRINT.bmp",
                                  "Level_04_TWINS.bmp",    "Level_05_SPIRAL.bmp",
                                  "Level_06_ZIGZAG.bmp",   "Level_07_MAZE.bmp",
                                  "Level_08_NARROWS.bmp",  "Level_09_GAUNTLET.bmp"};
    const int narrowest[] = {40, 46, 50, 41, 40, 28, 25, 30, 14, 14};
    for (std::size_t k = 0; k < std::size(tracks); ++k) {
        QFile file(QString(KF_DATA_DIR "/") + tracks[k]);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << tracks[k];
        const QImage picture = readBitmap(file);
        const LevelPassage passage = measurePassage(picture);
        EXPECT_EQ(passage.narrowest, narrowest[k]) << tracks[k];
        for (int width = narrowest[k] - 1; width <= narrowest[k] + 1; ++width)
            expectSameVerdict(passage.verdict(width), checkLevel(picture, width),
                              std::string(tracks[k]) + " at width " + std::to_string(width));
    }
}

} // namespace passage_test
