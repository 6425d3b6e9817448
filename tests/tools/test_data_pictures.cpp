#include "DataPictures.h"
#include "creator/LevelBitmap.h"

#include "support/PixelCount.h"
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

using kf::test::countPixels;

using namespace kf;

bool isWhite(QRgb c) {
    return (c & 0xFFFFFF) == 0xFFFFFF;
}
bool isDark(QRgb c) {
    return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80;
}
bool isGreenish(QRgb c) {
    return qGreen(c) >= 200 && qRed(c) < 80 && qBlue(c) < 80;
}
bool isReddish(QRgb c) {
    return qRed(c) >= 200 && qGreen(c) < 80 && qBlue(c) < 80;
}
int luminance(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

bool edgesAreWhite(const QImage& image) {
    for (int x = 0; x < image.width(); ++x)
        if (!isWhite(image.pixel(x, 0)) || !isWhite(image.pixel(x, image.height() - 1)))
            return false;
    for (int y = 0; y < image.height(); ++y)
        if (!isWhite(image.pixel(0, y)) || !isWhite(image.pixel(image.width() - 1, y)))
            return false;
    return true;
}

// The logos sit on the white dialog: white all round, the game's name in dark letters and the
// track's green start and red finish.
void expectLogo(const QImage& logo, QSize maximum) {
    ASSERT_FALSE(logo.isNull());
    EXPECT_LE(logo.width(), maximum.width());
    EXPECT_LE(logo.height(), maximum.height());
    EXPECT_GE(logo.width(), maximum.width() * 3 / 4);
    EXPECT_TRUE(edgesAreWhite(logo));
    EXPECT_GE(countPixels(logo, isWhite), logo.width() * logo.height() / 2);
    EXPECT_GE(countPixels(logo, isDark), 300);
    EXPECT_GE(countPixels(logo, isGreenish), 40);
    EXPECT_GE(countPixels(logo, isReddish), 40);
}

TEST(DataPictures, MainLogoFitsAboveTheButtons) {
    expectLogo(drawMainLogo(), QSize(180, 78));
}

TEST(DataPictures, CreatorLogoFitsItsCorner) {
    expectLogo(drawCreatorLogo(), QSize(185, 150));
}

TEST(DataPictures, HiddenPictureIsSmall) {
    const QImage hidden = drawHiddenPicture();
    EXPECT_EQ(hidden.size(), QSize(16, 16));
    EXPECT_GE(countPixels(hidden, isDark), 10);
}

// The scoreboard's names and times are black text on the tiled picture.
TEST(DataPictures, ScoreboardTileIsLightSquare) {
    const QImage tile = drawScoreboardTile();
    ASSERT_TRUE(tile.size() == QSize(32, 32) || tile.size() == QSize(48, 48));
    int darkest = 255;
    int lightest = 0;
    for (int y = 0; y < tile.height(); ++y)
        for (int x = 0; x < tile.width(); ++x) {
            darkest = std::min(darkest, luminance(tile.pixel(x, y)));
            lightest = std::max(lightest, luminance(tile.pixel(x, y)));
        }
    EXPECT_GE(darkest, 200);
    EXPECT_GT(lightest, darkest); // some pattern, not a flat colour
}

// Tiles laid side by side show the same picture as the pattern drawn in one piece: nothing is cut
// off or jumps at the seams.
TEST(DataPictures, ScoreboardTilesJoinSeamlessly) {
    const QImage tile = drawScoreboardTile();
    const int n = tile.width();
    const QImage whole = drawScoreboardPattern(QSize(3 * n, 3 * n));
    int worst = 0;
    for (int y = 0; y < 3 * n; ++y)
        for (int x = 0; x < 3 * n; ++x) {
            const QRgb a = whole.pixel(x, y);
            const QRgb b = tile.pixel(x % n, y % n);
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    EXPECT_LE(worst, 2);
}

struct BundledPicture {
    const char* file;
    std::function<QImage()> draw;
};

class BundledFile : public ::testing::TestWithParam<BundledPicture> {};

TEST_P(BundledFile, IsTheDrawingAsTwentyFourBitBitmap) {
    const BundledPicture p = GetParam();
    QFile file(QString(KF_DATA_DIR "/") + p.file);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << p.file;
    const QByteArray bytes = file.readAll();
    const QImage drawn = p.draw();
    EXPECT_EQ(bytes, encodeLevelBitmap(drawn)) << p.file;
    const QImage back = QImage::fromData(bytes, "BMP");
    ASSERT_EQ(back.size(), drawn.size()) << p.file;
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32),
              drawn.convertToFormat(QImage::Format_RGB32))
        << p.file;
}

INSTANTIATE_TEST_SUITE_P(DataFolder, BundledFile,
                         ::testing::Values(BundledPicture{"kf_1.gfx", drawMainLogo},
                                           BundledPicture{"kf_2.gfx", drawCreatorLogo},
                                           BundledPicture{"kf_x.gfx", drawHiddenPicture},
                                           BundledPicture{"kf_x.bmp", drawHiddenPicture},
                                           BundledPicture{"kf_3.gfx", drawScoreboardTile}),
                         [](const ::testing::TestParamInfo<BundledPicture>& info) {
                             std::string name = info.param.file;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

} // namespace
