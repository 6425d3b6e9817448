#include "IntroLevel.h"
#include "level/ColorCode.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>
#include <vector>

namespace {

using namespace kf;

constexpr QRgb kWallPixel = rgbFromColorRef(kWall);
constexpr QRgb kStartPixel = rgbFromColorRef(kStart);
constexpr QRgb kFinishPixel = rgbFromColorRef(kFinish);

class IntroLevel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { level = new QImage(drawIntroLevel()); }
    static void TearDownTestSuite() {
        delete level;
        level = nullptr;
    }

    static QRgb at(int x, int y) { return level->pixel(x, y) | 0xFF000000; }
    static bool free(int x, int y) { return !isWall(colorRefFromRgb(at(x, y))); }

    // Breadth-first distances in 4-connected steps over non-wall pixels from every green pixel;
    // -1 where no such path exists.
    static std::vector<int> distancesFromStart() {
        const int w = level->width();
        const int h = level->height();
        std::vector<int> dist(static_cast<std::size_t>(w * h), -1);
        std::deque<int> queue;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (at(x, y) == kStartPixel) {
                    dist[static_cast<std::size_t>(y * w + x)] = 0;
                    queue.push_back(y * w + x);
                }
        while (!queue.empty()) {
            const int i = queue.front();
            queue.pop_front();
            const int x = i % w;
            const int y = i / w;
            const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h || !free(n[0], n[1]))
                    continue;
                const int j = n[1] * w + n[0];
                if (dist[static_cast<std::size_t>(j)] >= 0)
                    continue;
                dist[static_cast<std::size_t>(j)] = dist[static_cast<std::size_t>(i)] + 1;
                queue.push_back(j);
            }
        }
        return dist;
    }

    // The shortest distance from the start to any red pixel, or -1 when the finish is out of reach.
    static int shortestRun() {
        const std::vector<int> dist = distancesFromStart();
        int best = -1;
        for (int y = 0; y < level->height(); ++y)
            for (int x = 0; x < level->width(); ++x) {
                const int d = dist[static_cast<std::size_t>(y * level->width() + x)];
                if (at(x, y) == kFinishPixel && d >= 0 && (best < 0 || d < best))
                    best = d;
            }
        return best;
    }

    static QImage* level;
};

QImage* IntroLevel::level = nullptr;

TEST_F(IntroLevel, IsFourHundredSquare) {
    EXPECT_EQ(level->size(), QSize(400, 400));
}

TEST_F(IntroLevel, UsesOnlyItsOwnExactColours) {
    const std::set<QRgb> allowed = {kWallPixel, kStartPixel, kFinishPixel,
                                    kIntroTrackColor | 0xFF000000, kIntroArrowColor | 0xFF000000};
    std::set<QRgb> seen;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            seen.insert(at(x, y));
    for (QRgb c : seen)
        EXPECT_TRUE(allowed.count(c)) << std::hex << c;
    EXPECT_TRUE(seen.count(kStartPixel));
    EXPECT_TRUE(seen.count(kFinishPixel));
    EXPECT_TRUE(seen.count(kIntroTrackColor | 0xFF000000));
}

TEST_F(IntroLevel, TrackColoursAreFreeTrack) {
    for (QRgb c : {kIntroTrackColor, kIntroArrowColor}) {
        const COLORREF ref = colorRefFromRgb(c);
        EXPECT_FALSE(isWall(ref) || isStart(ref) || isFinish(ref)) << std::hex << c;
        EXPECT_NE(ref, kTrail); // the player's trail must stay visible on the track
    }
}

TEST_F(IntroLevel, FinishCanBeReachedFromTheStart) {
    EXPECT_GE(shortestRun(), 0);
}

TEST_F(IntroLevel, ShortestRunIsLongButFair) {
    const int run = shortestRun();
    EXPECT_GE(run, 1000);
    EXPECT_LE(run, 2500);
}

TEST_F(IntroLevel, WallsFrameTheTrack) {
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x) {
            const int border = std::min({x, y, 399 - x, 399 - y});
            if (border < 10) {
                ASSERT_FALSE(free(x, y)) << x << "," << y;
            }
        }
}

// Every free pixel lies inside some 30 x 30 square of free pixels, so the corridor is never
// narrower than 30 pixels.
TEST_F(IntroLevel, CorridorIsAtLeastThirtyPixelsWide) {
    constexpr int n = 400;
    constexpr int k = 30;
    // Counts of free pixels and of fully free squares (by top-left corner) in prefix-sum form.
    std::vector<int> freeSum((n + 1) * (n + 1), 0);
    auto fs = [&](int x, int y) -> int& {
        return freeSum[static_cast<std::size_t>(y * (n + 1) + x)];
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            fs(x + 1, y + 1) = (free(x, y) ? 1 : 0) + fs(x, y + 1) + fs(x + 1, y) - fs(x, y);
    std::vector<int> squareSum((n + 1) * (n + 1), 0);
    auto ss = [&](int x, int y) -> int& {
        return squareSum[static_cast<std::size_t>(y * (n + 1) + x)];
    };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            bool full = false;
            if (x + k <= n && y + k <= n)
                full = fs(x + k, y + k) - fs(x, y + k) - fs(x + k, y) + fs(x, y) == k * k;
            ss(x + 1, y + 1) = (full ? 1 : 0) + ss(x, y + 1) + ss(x + 1, y) - ss(x, y);
        }
    int narrow = 0;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            if (!free(x, y))
                continue;
            const int x0 = std::max(0, x - k + 1);
            const int y0 = std::max(0, y - k + 1);
            const int covering = ss(x + 1, y + 1) - ss(x0, y + 1) - ss(x + 1, y0) + ss(x0, y0);
            if (covering == 0 && ++narrow <= 5)
                ADD_FAILURE() << "narrow at " << x << "," << y;
        }
    EXPECT_EQ(narrow, 0);
}

TEST_F(IntroLevel, BundledFileHoldsTheSamePicture) {
    QFile file(KF_DATA_DIR "/Level_00_INTRO.bmp");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 480054);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(28)), 24); // bits per pixel

    const QImage back = QImage::fromData(bytes, "BMP");
    ASSERT_EQ(back.size(), QSize(400, 400));
    int differences = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            if ((back.pixel(x, y) | 0xFF000000) != at(x, y))
                ++differences;
    EXPECT_EQ(differences, 0);
}

} // namespace
