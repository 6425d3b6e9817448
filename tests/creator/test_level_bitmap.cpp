#include "creator/LevelBitmap.h"

#include "support/FileSizeLimit.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

using namespace kf;

std::uint32_t readLittleEndian(const QByteArray& bytes, int offset, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(bytes.at(offset + i));
    return value;
}

struct HeaderField {
    const char* name;
    int offset;
    int size;
    std::uint32_t value;
};

class LevelBitmapHeader : public ::testing::TestWithParam<HeaderField> {
protected:
    static void SetUpTestSuite() {
        QImage level(400, 400, QImage::Format_RGB32);
        level.fill(Qt::white);
        bytes = new QByteArray(encodeLevelBitmap(level));
    }
    static void TearDownTestSuite() {
        delete bytes;
        bytes = nullptr;
    }
    static QByteArray* bytes;
};

QByteArray* LevelBitmapHeader::bytes = nullptr;

TEST_P(LevelBitmapHeader, FieldHasItsValue) {
    const HeaderField f = GetParam();
    ASSERT_GE(bytes->size(), f.offset + f.size);
    EXPECT_EQ(readLittleEndian(*bytes, f.offset, f.size), f.value) << f.name;
}

INSTANTIATE_TEST_SUITE_P(
    Level400, LevelBitmapHeader,
    ::testing::Values(HeaderField{"bfType", 0, 2, 0x4D42}, HeaderField{"bfSize", 2, 4, 480054},
                      HeaderField{"bfReserved1", 6, 2, 0}, HeaderField{"bfReserved2", 8, 2, 0},
                      HeaderField{"bfOffBits", 10, 4, 54}, HeaderField{"biSize", 14, 4, 40},
                      HeaderField{"biWidth", 18, 4, 400}, HeaderField{"biHeight", 22, 4, 400},
                      HeaderField{"biPlanes", 26, 2, 1}, HeaderField{"biBitCount", 28, 2, 24},
                      HeaderField{"biCompression", 30, 4, 0},
                      HeaderField{"biSizeImage", 34, 4, 480000},
                      HeaderField{"biXPelsPerMeter", 38, 4, 0},
                      HeaderField{"biYPelsPerMeter", 42, 4, 0}, HeaderField{"biClrUsed", 46, 4, 0},
                      HeaderField{"biClrImportant", 50, 4, 0}),
    [](const ::testing::TestParamInfo<HeaderField>& info) { return std::string(info.param.name); });

TEST(LevelBitmap, SavePathIsTheNameAsTypedInTheFolder) {
    EXPECT_EQ(levelSavePath("/play", ""), std::nullopt);
    EXPECT_EQ(levelSavePath("/play", "mine"), QStringLiteral("/play/mine.bmp"));
    EXPECT_EQ(levelSavePath("/play", " a.b "), QStringLiteral("/play/ a.b .bmp"));
    EXPECT_EQ(levelSavePath("/play", "<i>x"), QStringLiteral("/play/<i>x.bmp"));
    EXPECT_EQ(levelSavePath("/play", "TRACK", "TRACK.BMP"), QStringLiteral("/play/TRACK.bmp"))
        << "a name that is not the track's own";
}

// The name the creator shows for a level file names that file again when saved in its folder;
// with the track's own file name known, whatever its extension.
TEST(LevelBitmap, TheNameOfALevelFileLeavesOutFolderAndExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/play/Level_00_INTRO.bmp", "Level_00_INTRO"},
        {"/play/my.track.bmp", "my.track"},
        {"/play/loud.BMP", "loud.BMP"},
        {"/play/plain", "plain"},
        {"/play/ a.b .bmp", " a.b "}};
    for (const auto& [path, name] : cases) {
        EXPECT_EQ(levelNameOf(path), name) << path;
        if (QString(path).endsWith(".bmp")) {
            EXPECT_EQ(levelSavePath("/play", name), QDir::toNativeSeparators(path)) << path;
        }
        EXPECT_EQ(levelSavePath("/play", name, QFileInfo(path).fileName()),
                  QDir::toNativeSeparators(path))
            << path;
    }
}

TEST(LevelBitmap, LevelFileHasExactLength) {
    QImage level(400, 400, QImage::Format_RGB32);
    level.fill(Qt::black);
    EXPECT_EQ(encodeLevelBitmap(level).size(), 480054);
}

TEST(LevelBitmap, RowLengthRoundsUpToFourBytes) {
    EXPECT_EQ(levelBitmapRowLength(1), 4);
    EXPECT_EQ(levelBitmapRowLength(3), 12);
    EXPECT_EQ(levelBitmapRowLength(4), 12);
    EXPECT_EQ(levelBitmapRowLength(5), 16);
    EXPECT_EQ(levelBitmapRowLength(400), 1200);
}

// A 3 x 2 picture: 9 bytes of pixels and 3 bytes of padding per row, the bottom row first.
TEST(LevelBitmap, NarrowPictureIsPaddedAndStoredBottomUp) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(0x01, 0x02, 0x03));
    image.setPixel(1, 0, qRgb(0x04, 0x05, 0x06));
    image.setPixel(2, 0, qRgb(0x07, 0x08, 0x09));
    image.setPixel(0, 1, qRgb(0x11, 0x12, 0x13));
    image.setPixel(1, 1, qRgb(0x14, 0x15, 0x16));
    image.setPixel(2, 1, qRgb(0x17, 0x18, 0x19));

    const QByteArray bytes = encodeLevelBitmap(image);
    ASSERT_EQ(bytes.size(), 54 + 2 * 12);
    EXPECT_EQ(readLittleEndian(bytes, 2, 4), 78u);  // bfSize
    EXPECT_EQ(readLittleEndian(bytes, 18, 4), 3u);  // biWidth
    EXPECT_EQ(readLittleEndian(bytes, 22, 4), 2u);  // biHeight
    EXPECT_EQ(readLittleEndian(bytes, 34, 4), 24u); // biSizeImage

    const QByteArray expected = QByteArray::fromHex(
        // bottom row (y = 1): blue, green, red per pixel, then three zero bytes
        "131211"
        "161514"
        "191817"
        "000000"
        // top row (y = 0)
        "030201"
        "060504"
        "090807"
        "000000");
    EXPECT_EQ(bytes.mid(54).toHex(), expected.toHex());
}

TEST(LevelBitmap, PixelBytesAreBlueGreenRedFromTheBottomRow) {
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixel(0, 399, qRgb(255, 0, 0));  // bottom left: first pixel of the file
    image.setPixel(399, 0, qRgb(0, 255, 0));  // top right: last pixel of the file
    image.setPixel(10, 398, qRgb(0, 0, 255)); // second stored row
    const QByteArray bytes = encodeLevelBitmap(image);
    ASSERT_EQ(bytes.size(), 480054);

    auto bgrAt = [&](int offset) { return bytes.mid(offset, 3).toHex(); };
    EXPECT_EQ(bgrAt(54), QByteArray("0000ff"));
    EXPECT_EQ(bgrAt(54 + 399 * 1200 + 399 * 3), QByteArray("00ff00"));
    EXPECT_EQ(bgrAt(54 + 1200 + 10 * 3), QByteArray("ff0000"));
    EXPECT_EQ(bgrAt(54 + 3), QByteArray("ffffff"));
}

TEST(LevelBitmap, BitmapReaderGetsTheExactColoursBack) {
    // Odd width to include padding; colours one step off the level colours must stay off.
    QImage image(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 37 % 256, y * 53 % 256, (x * y * 29 + 1) % 256));
    image.setPixel(0, 0, qRgb(1, 1, 1));
    image.setPixel(1, 0, qRgb(0, 254, 0));
    image.setPixel(2, 0, qRgb(255, 0, 1));
    image.setPixel(3, 0, qRgb(0, 0, 0));

    const QImage back = QImage::fromData(encodeLevelBitmap(image), "BMP");
    ASSERT_FALSE(back.isNull());
    ASSERT_EQ(back.size(), image.size());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            EXPECT_EQ(back.pixel(x, y), image.pixel(x, y)) << x << "," << y;
}

TEST(LevelBitmap, TranslucentPixelsKeepTheirColour) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(200, 100, 50, 128));
    image.setPixel(1, 0, qRgba(0, 255, 0, 0));
    const QByteArray bytes = encodeLevelBitmap(image);
    EXPECT_EQ(bytes.mid(54, 6).toHex(), QByteArray("3264c800ff00"));
}

TEST(LevelBitmap, NullPictureEncodesToNothingAndWritesNoFile) {
    EXPECT_TRUE(encodeLevelBitmap(QImage()).isEmpty());
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("track.bmp");
    EXPECT_EQ(writeLevelFile(QImage(), path).status, LevelWriteResult::NoPicture);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(LevelBitmap, WritesTheEncodedBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(qRgb(0, 255, 0));
    image.setPixel(4, 2, qRgb(255, 0, 0));
    const QString path = dir.filePath("track.bmp");
    ASSERT_TRUE(writeLevelFile(image, path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), encodeLevelBitmap(image));
}

TEST(LevelBitmap, ReplacesAnExistingFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Level_00_INTRO.bmp");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(600000, 'x')); // longer than the new file
    }
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    ASSERT_TRUE(writeLevelFile(image, path));
    EXPECT_EQ(QFileInfo(path).size(), 480054);
}

TEST(LevelBitmap, WritingIntoAMissingFolderFailsAndLeavesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath("no such folder");
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    const LevelWriteResult result = writeLevelFile(image, missing + "/track.bmp");
    EXPECT_EQ(result.status, LevelWriteResult::CannotCreate);
    EXPECT_FALSE(result.reason.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_TRUE(QDir(dir.path())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
}

TEST(LevelBitmap, FailedWriteKeepsTheOldFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("track.bmp");
    const QByteArray old("an older level");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(old), old.size());
    }
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    LevelWriteResult written;
    {
        // The disk fills up halfway through the new picture.
        const test::FileSizeLimit limit(encodeLevelBitmap(image).size() / 2);
        written = writeLevelFile(image, path);
    }
    EXPECT_EQ(written.status, LevelWriteResult::WriteFailed);
    // The system's own words ("File too large"), never "Unknown error".
    EXPECT_EQ(written.reason, QString::fromLocal8Bit(std::strerror(EFBIG)));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"track.bmp"});
}

} // namespace
