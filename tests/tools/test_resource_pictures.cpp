#include "ResourcePictures.h"

#include "support/PixelCount.h"
#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

namespace {

using kf::test::countPixels;

using namespace kf;

bool isDark(QRgb c) {
    return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80;
}
bool isWhite(QRgb c) {
    return (c & 0xFFFFFF) == 0xFFFFFF;
}
bool isGreenish(QRgb c) {
    return qGreen(c) >= 200 && qRed(c) < 80 && qBlue(c) < 80;
}
bool isReddish(QRgb c) {
    return qRed(c) >= 200 && qGreen(c) < 80 && qBlue(c) < 80;
}
// Any trace of the colour, however faint: the channel stands out from the other two.
bool hasRedTint(QRgb c) {
    return qRed(c) > qGreen(c) + 40 && qRed(c) > qBlue(c) + 40;
}
bool hasGreenTint(QRgb c) {
    return qGreen(c) > qRed(c) + 40 && qGreen(c) > qBlue(c) + 40;
}

// The smallest rectangle holding every pixel that is not white.
QRect inkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!isWhite(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

struct PictureSize {
    int id;
    int width;
    int height;
};

class ResourcePictureSize : public ::testing::TestWithParam<PictureSize> {};

TEST_P(ResourcePictureSize, HasItsSizeAndAnOpaqueWhiteBackground) {
    const PictureSize p = GetParam();
    const QImage image = drawResourcePicture(p.id);
    ASSERT_EQ(image.size(), QSize(p.width, p.height)) << p.id;
    EXPECT_FALSE(image.hasAlphaChannel());
    // The corners show the background.
    for (QPoint corner : {QPoint(0, 0), QPoint(p.width - 1, 0), QPoint(0, p.height - 1),
                          QPoint(p.width - 1, p.height - 1)})
        EXPECT_TRUE(isWhite(image.pixel(corner))) << p.id;
}

INSTANTIATE_TEST_SUITE_P(Pictures, ResourcePictureSize,
                         ::testing::Values(PictureSize{139, 282, 26}, PictureSize{204, 19, 23},
                                           PictureSize{205, 19, 23}, PictureSize{219, 119, 21},
                                           PictureSize{220, 118, 21}));

TEST(ResourcePictures, UnknownNumberGivesNoPicture) {
    EXPECT_TRUE(drawResourcePicture(128).isNull()); // the icon is no bitmap
    EXPECT_TRUE(drawResourcePicture(0).isNull());
    EXPECT_TRUE(drawResourcePicture(206).isNull());
}

TEST(ResourcePictures, OnFlagIsGreenWithoutRed) {
    const QImage on = drawResourcePicture(kPictureFlagOn);
    EXPECT_GE(countPixels(on, isGreenish), 20);
    EXPECT_EQ(countPixels(on, hasRedTint), 0);
}

TEST(ResourcePictures, OffFlagIsRedWithoutGreen) {
    const QImage off = drawResourcePicture(kPictureFlagOff);
    EXPECT_GE(countPixels(off, isReddish), 20);
    EXPECT_EQ(countPixels(off, hasGreenTint), 0);
}

TEST(ResourcePictures, FlagsDiffer) {
    // O has a hole in the middle, X is inked there.
    const QImage on = drawResourcePicture(kPictureFlagOn);
    const QImage off = drawResourcePicture(kPictureFlagOff);
    EXPECT_TRUE(isWhite(on.pixel(9, 11)));
    EXPECT_FALSE(isWhite(off.pixel(9, 11)));
}

class TextPicture : public ::testing::TestWithParam<int> {};

// Black capitals on white that fill the height nicely and stay clear of the edges.
TEST_P(TextPicture, IsBlackTextFittingThePicture) {
    const QImage image = drawResourcePicture(GetParam());
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(countPixels(image, isDark), image.width() * image.height() / 10);
    EXPECT_GE(countPixels(image, isWhite), image.width() * image.height() / 3);
    EXPECT_EQ(countPixels(image, [](QRgb c) { return hasRedTint(c) || hasGreenTint(c); }), 0);

    const QRect ink = inkBounds(image);
    EXPECT_GE(ink.left(), 1);
    EXPECT_GE(ink.top(), 1);
    EXPECT_LE(ink.right(), image.width() - 2);
    EXPECT_LE(ink.bottom(), image.height() - 2);
    EXPECT_GE(ink.height(), image.height() * 6 / 10);
    EXPECT_GE(ink.width(), image.width() * 7 / 10);
}

INSTANTIATE_TEST_SUITE_P(Labels, TextPicture,
                         ::testing::Values(kPictureMultiplayerMode, kPicturePlayers,
                                           kPictureRounds));

class AppIcon : public ::testing::TestWithParam<int> {};

TEST_P(AppIcon, ShowsATrackWithStartAndFinish) {
    const int size = GetParam();
    const QImage icon = drawAppIcon(size);
    ASSERT_EQ(icon.size(), QSize(size, size));
    EXPECT_GE(countPixels(icon, isGreenish), size * size / 40);
    EXPECT_GE(countPixels(icon, isReddish), size * size / 40);
    EXPECT_GE(countPixels(icon, [](QRgb c) { return qAlpha(c) == 255 && isDark(c); }), size);
    // Rounded corners are left transparent.
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(size - 1, size - 1)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
}

INSTANTIATE_TEST_SUITE_P(Sizes, AppIcon, ::testing::Values(16, 22, 32, 48, 256));

class RaceIcon : public ::testing::TestWithParam<int> {};

// The game's icon as it is, but for a chequered flag in black and white in the lower right
// quarter, which leaves the track's start and finish in view.
TEST_P(RaceIcon, IsTheGameIconWithAFlagInTheLowerRightQuarter) {
    const int size = GetParam();
    const QImage race = drawRaceIcon(size);
    const QImage game = drawAppIcon(size);
    ASSERT_EQ(race.size(), game.size());
    const QRect quarter(size / 2, size / 2, size - size / 2, size - size / 2);
    int changedOutside = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            changedOutside += !quarter.contains(x, y) && race.pixel(x, y) != game.pixel(x, y);
    EXPECT_EQ(changedOutside, 0);
    const auto dark = [](QRgb c) { return qAlpha(c) == 255 && isDark(c); };
    const auto white = [](QRgb c) { return qAlpha(c) == 255 && isWhite(c); };
    EXPECT_GE(countPixels(race.copy(quarter), dark),
              countPixels(game.copy(quarter), dark) + size * size / 64);
    EXPECT_GE(countPixels(race.copy(quarter), white), size * size / 64);
}

INSTANTIATE_TEST_SUITE_P(Sizes, RaceIcon, ::testing::Values(16, 22, 24, 32, 48, 64, 128, 256));

} // namespace
