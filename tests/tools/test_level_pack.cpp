#include "LevelPack.h"
#include "check/LevelCheck.h"
#include "level/BitmapFile.h"
#include "level/ColorCode.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace kf;

// Every track of the pack in playing order, with its starting areas and its narrowest corridor:
// the widest probe of the level checker that still gets through.
struct PackCase {
    const char* fileName;
    int startAreas;
    int narrowest;
};

const std::vector<PackCase> kPack = {
    {"Level_01_CURVES.bmp", 1, 46},   {"Level_02_HAIRPINS.bmp", 1, 50},
    {"Level_03_SPRINT.bmp", 1, 41},   {"Level_04_TWINS.bmp", 2, 40},
    {"Level_05_SPIRAL.bmp", 1, 28},   {"Level_06_ZIGZAG.bmp", 1, 25},
    {"Level_07_MAZE.bmp", 1, 30},     {"Level_08_NARROWS.bmp", 1, 14},
    {"Level_09_GAUNTLET.bmp", 1, 14},
};

// Too tight for no track: a player gets through every corridor with room to spare.
constexpr int kComfortableWidth = 12;

TEST(LevelPack, HoldsTheTracksInPlayingOrder) {
    std::vector<std::string> names;
    for (const PackTrack& track : levelPack())
        names.emplace_back(track.fileName);
    std::vector<std::string> expected;
    for (const PackCase& c : kPack)
        expected.emplace_back(c.fileName);
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_LT(std::string("Level_00_INTRO.bmp"), names.front());
    for (const std::string& name : names)
        EXPECT_TRUE(std::regex_match(name, std::regex("Level_[0-9]{2}_[A-Z]+\\.bmp"))) << name;
}

class PackTrackTest : public ::testing::TestWithParam<PackCase> {
protected:
    static QImage draw(const char* fileName) {
        for (const PackTrack& track : levelPack())
            if (std::string(track.fileName) == fileName)
                return track.draw().convertToFormat(QImage::Format_RGB32);
        return {};
    }
    static COLORREF at(const QImage& image, int x, int y) {
        return colorRefFromRgb(image.pixel(x, y));
    }
};

TEST_P(PackTrackTest, IsFourHundredSquareInsideAFrameOfWall) {
    const QImage track = draw(GetParam().fileName);
    ASSERT_EQ(track.size(), QSize(400, 400));
    int open = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            if (std::min({x, y, 399 - x, 399 - y}) < 12 && !isWall(at(track, x, y)) && ++open <= 3)
                ADD_FAILURE() << "free at " << x << "," << y;
    EXPECT_EQ(open, 0);
}

TEST_P(PackTrackTest, FreeTrackIsLightAndNeverTheTrailGrey) {
    const QImage track = draw(GetParam().fileName);
    std::set<COLORREF> colors;
    for (int y = 0; y < track.height(); ++y)
        for (int x = 0; x < track.width(); ++x)
            colors.insert(at(track, x, y));
    EXPECT_TRUE(colors.count(kWall) && colors.count(kStart) && colors.count(kFinish));
    EXPECT_FALSE(colors.count(kTrail));
    EXPECT_LE(colors.size(), 5u) << "wall, start, finish, the track and its arrows";
    for (COLORREF c : colors) {
        if (isWall(c) || isStart(c) || isFinish(c))
            continue;
        const QRgb rgb = rgbFromColorRef(c);
        EXPECT_GE(qGray(rgb), 190) << std::hex << c;
    }
}

TEST_P(PackTrackTest, PlayableDownToItsNarrowestCorridor) {
    const PackCase c = GetParam();
    const QImage track = draw(c.fileName);
    for (int width : {4, kComfortableWidth, c.narrowest}) {
        const LevelCheckResult r = checkLevel(track, width);
        EXPECT_TRUE(r.playable) << "width " << width << ": " << r.reasons.join("; ").toStdString();
        EXPECT_EQ(r.startAreas, c.startAreas);
        EXPECT_EQ(r.finishAreas, 1);
    }
    EXPECT_FALSE(checkLevel(track, c.narrowest + 1).playable);
}

TEST_P(PackTrackTest, BundledFileHoldsTheSameTrack) {
    const QImage bundled = readBitmapFile(QStringLiteral(KF_DATA_DIR "/") + GetParam().fileName);
    ASSERT_FALSE(bundled.isNull());
    EXPECT_TRUE(bundled.convertToFormat(QImage::Format_RGB32) == draw(GetParam().fileName));
}

INSTANTIATE_TEST_SUITE_P(Pack, PackTrackTest, ::testing::ValuesIn(kPack),
                         [](const ::testing::TestParamInfo<PackCase>& info) {
                             const std::string name = info.param.fileName;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
