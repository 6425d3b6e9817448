#include "level/BitmapFile.h"

#include "support/QtPrinters.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace kf;

constexpr QRgb kRgbBlack = 0xFF000000;
constexpr QRgb kRgbWhite = 0xFFFFFFFF;
constexpr QRgb kRgbRed = 0xFFFF0000;
constexpr QRgb kRgbGreen = 0xFF00FF00;
constexpr QRgb kRgbBlue = 0xFF0000FF;

void put(QByteArray& bytes, quint32 value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>(value >> (8 * i)));
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(static_cast<char>(v));
    return b;
}

// Colours as the file stores them: blue, green, red; in the colour table of an info header each
// entry has a fourth, zero byte.
QByteArray bgr(std::initializer_list<QRgb> colours, int bytesEach = 3) {
    QByteArray b;
    for (QRgb c : colours) {
        b += bytes({qBlue(c), qGreen(c), qRed(c)});
        b += QByteArray(bytesEach - 3, '\0');
    }
    return b;
}

QByteArray table(std::initializer_list<QRgb> colours) {
    return bgr(colours, 4);
}

QByteArray grayTable(int entries, int bytesEach = 4) {
    QByteArray b;
    for (int i = 0; i < entries; ++i)
        b += bgr({qRgb(i, i, i)}, bytesEach);
    return b;
}

// Every field a test may want to lie about. Masks go inside a header larger than 40 bytes and
// right after a 40-byte one.
struct Bitmap {
    qint32 width = 0;
    qint32 height = 0;
    quint16 bitCount = 0;
    quint32 compression = 0;
    quint32 colorsUsed = 0;
    quint32 infoSize = 40;
    QByteArray masks = {};
    QByteArray colorTable = {};
    QByteArray pixels = {};
    std::optional<quint32> pixelOffset = {};

    QByteArray file() const {
        QByteArray info;
        // Qt reads the 16-bit fields of a core header after any size it does not know.
        const bool core = infoSize != 40 && infoSize != 64 && infoSize != 108 && infoSize != 124;
        put(info, infoSize, 4);
        const int sizeField = core ? 2 : 4;
        put(info, static_cast<quint32>(width), sizeField);
        put(info, static_cast<quint32>(height), sizeField);
        put(info, 1, 2);
        put(info, bitCount, 2);
        if (!core) {
            put(info, compression, 4);
            put(info, static_cast<quint32>(pixels.size()), 4);
            put(info, 0, 4); // pixels per metre, across
            put(info, 0, 4); // and down
            put(info, colorsUsed, 4);
            put(info, 0, 4);
        }
        info += masks;
        if (info.size() < qsizetype{infoSize})
            info += QByteArray(infoSize - info.size(), '\0');
        info += colorTable;
        QByteArray head("BM");
        put(head, static_cast<quint32>(14 + info.size() + pixels.size()), 4);
        put(head, 0, 4);
        put(head, pixelOffset.value_or(static_cast<quint32>(14 + info.size())), 4);
        return head + info + pixels;
    }
};

QImage read(const QByteArray& file, BitmapRefusal* refusal = nullptr) {
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    return readBitmap(buffer, refusal);
}

// A 3 x 2 picture of 24 bits, rows padded to 12 bytes, the bottom row first.
Bitmap threeByTwo() {
    Bitmap b{.width = 3, .height = 2, .bitCount = 24};
    b.pixels = bgr({kRgbWhite, kRgbBlack, kRgbRed}) + bytes({0, 0, 0}) +
               bgr({kRgbRed, kRgbGreen, kRgbBlue}) + bytes({0, 0, 0});
    return b;
}

struct Picture {
    const char* name;
    QByteArray file;
    QSize size;
    std::vector<QRgb> pixels; // row by row from the top

    friend void PrintTo(const Picture& p, std::ostream* os) { *os << p.name; }
};

class LoadsExactly : public ::testing::TestWithParam<Picture> {};

TEST_P(LoadsExactly, EveryPixelHasItsColour) {
    const Picture& p = GetParam();
    const QImage image = read(p.file);
    ASSERT_EQ(image.size(), p.size);
    for (int y = 0; y < p.size.height(); ++y)
        for (int x = 0; x < p.size.width(); ++x)
            EXPECT_EQ(QColor(image.pixel(x, y)),
                      QColor(p.pixels[static_cast<std::size_t>(y * p.size.width() + x)]))
                << "at " << x << ", " << y;
}

std::vector<Picture> pictures() {
    std::vector<Picture> all;
    {
        // Colour 0 darker than colour 1 makes Qt swap bits and colours; the picture stays.
        Bitmap b{.width = 3, .height = 2, .bitCount = 1};
        b.colorTable = table({kRgbBlack, kRgbWhite});
        b.pixels = bytes({0x20, 0, 0, 0, 0xA0, 0, 0, 0});
        all.push_back({"OneBit",
                       b.file(),
                       {3, 2},
                       {kRgbWhite, kRgbBlack, kRgbWhite, kRgbBlack, kRgbBlack, kRgbWhite}});
    }
    {
        Bitmap b{.width = 3, .height = 2, .bitCount = 4, .colorsUsed = 3};
        b.colorTable = table({kRgbRed, kRgbGreen, kRgbBlue});
        b.pixels = bytes({0x22, 0x10, 0, 0, 0x01, 0x20, 0, 0});
        all.push_back({"FourBitShortTable",
                       b.file(),
                       {3, 2},
                       {kRgbRed, kRgbGreen, kRgbBlue, kRgbBlue, kRgbBlue, kRgbGreen}});
    }
    {
        Bitmap b{.width = 3, .height = 2, .bitCount = 8};
        b.colorTable = grayTable(256);
        b.pixels = bytes({0, 7, 200, 0, 1, 128, 255, 0});
        all.push_back({"EightBitFullTable",
                       b.file(),
                       {3, 2},
                       {qRgb(1, 1, 1), qRgb(128, 128, 128), kRgbWhite, kRgbBlack, qRgb(7, 7, 7),
                        qRgb(200, 200, 200)}});
    }
    // Qt widens 5 and 6 bits of a colour by shifting them up, so the brightest red of a 16-bit
    // picture is F8, not FF: no 16-bit level has a finish.
    {
        Bitmap b{.width = 2, .height = 2, .bitCount = 16};
        b.pixels = bytes({0x1F, 0x00, 0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03});
        all.push_back(
            {"SixteenBit555",
             b.file(),
             {2, 2},
             {qRgb(0xF8, 0, 0), qRgb(0, 0xF8, 0), qRgb(0, 0, 0xF8), qRgb(0xF8, 0xF8, 0xF8)}});
    }
    {
        Bitmap b{.width = 2, .height = 2, .bitCount = 16, .compression = 3};
        b.masks = bytes({0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0x00, 0, 0});
        b.pixels = bytes({0x1F, 0x00, 0x00, 0x00, 0x00, 0xF8, 0xE0, 0x07});
        all.push_back({"SixteenBitMasks565",
                       b.file(),
                       {2, 2},
                       {qRgb(0xF8, 0, 0), qRgb(0, 0xFC, 0), qRgb(0, 0, 0xF8), kRgbBlack}});
    }
    all.push_back({"TwentyFourBit",
                   threeByTwo().file(),
                   {3, 2},
                   {kRgbRed, kRgbGreen, kRgbBlue, kRgbWhite, kRgbBlack, kRgbRed}});
    {
        // The fourth byte of each pixel is not alpha without masks that say so.
        Bitmap b{.width = 2, .height = 2, .bitCount = 32};
        b.pixels = bytes({0, 0, 255, 0x55, 255, 0, 0, 0x55, 0, 255, 0, 0x55, 255, 255, 255, 0x55});
        all.push_back(
            {"ThirtyTwoBit", b.file(), {2, 2}, {kRgbGreen, kRgbWhite, kRgbRed, kRgbBlue}});
    }
    {
        Bitmap b{.width = 2, .height = 1, .bitCount = 32, .compression = 3};
        b.masks = bytes({0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0});
        b.pixels = bytes({0xFF, 0, 0, 0, 0, 0, 0xFF, 0});
        all.push_back({"ThirtyTwoBitMasksInRgbOrder", b.file(), {2, 1}, {kRgbRed, kRgbBlue}});
    }
    {
        // The masks of a version 4 header are inside the header, not after it.
        Bitmap b{.width = 2, .height = 1, .bitCount = 32, .compression = 3, .infoSize = 108};
        b.masks = bytes({0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0});
        b.pixels = bytes({0, 0, 255, 0, 255, 255, 255, 0});
        all.push_back({"VersionFourHeaderMasks", b.file(), {2, 1}, {kRgbRed, kRgbWhite}});
    }
    {
        Bitmap b{.width = 2, .height = -2, .bitCount = 24};
        b.pixels =
            bgr({kRgbRed, kRgbGreen}) + bytes({0, 0}) + bgr({kRgbBlue, kRgbWhite}) + bytes({0, 0});
        all.push_back({"TopDown", b.file(), {2, 2}, {kRgbRed, kRgbGreen, kRgbBlue, kRgbWhite}});
    }
    {
        Bitmap b{.width = 2, .height = 2, .bitCount = 24, .infoSize = 12};
        b.pixels =
            bgr({kRgbWhite, kRgbBlue}) + bytes({0, 0}) + bgr({kRgbGreen, kRgbRed}) + bytes({0, 0});
        all.push_back({"CoreHeader", b.file(), {2, 2}, {kRgbGreen, kRgbRed, kRgbWhite, kRgbBlue}});
    }
    {
        Bitmap b{.width = 2, .height = 1, .bitCount = 8, .infoSize = 12};
        b.colorTable = grayTable(256, 3);
        b.pixels = bytes({3, 250, 0, 0});
        all.push_back(
            {"CoreHeaderThreeByteTable", b.file(), {2, 1}, {qRgb(3, 3, 3), qRgb(250, 250, 250)}});
    }
    {
        // A run, a jump, single pixels, rows ended early: what the codes skip is colour 0.
        Bitmap b{.width = 4, .height = 3, .bitCount = 8, .compression = 1, .colorsUsed = 4};
        b.colorTable = table({kRgbWhite, kRgbBlack, kRgbGreen, kRgbRed});
        b.pixels = bytes({4, 2, 0, 0,                   // bottom: four green
                          1, 1, 0, 2, 2, 0, 1, 3, 0, 0, // black, jump two, red
                          0, 3, 3, 1, 2, 0, 0, 1});     // top: red black green as is; end
        all.push_back({"RunLength8",
                       b.file(),
                       {4, 3},
                       {kRgbRed, kRgbBlack, kRgbGreen, kRgbWhite, kRgbBlack, kRgbWhite, kRgbWhite,
                        kRgbRed, kRgbGreen, kRgbGreen, kRgbGreen, kRgbGreen}});
    }
    {
        Bitmap b{.width = 4, .height = 2, .bitCount = 4, .compression = 2, .colorsUsed = 3};
        b.colorTable = table({kRgbWhite, kRgbGreen, kRgbRed});
        b.pixels = bytes({4, 0x12, 0, 0, 0, 3, 0x21, 0x00, 0, 1});
        all.push_back(
            {"RunLength4",
             b.file(),
             {4, 2},
             {kRgbRed, kRgbGreen, kRgbWhite, kRgbWhite, kRgbGreen, kRgbRed, kRgbGreen, kRgbRed}});
    }
    {
        // Qt reads on after the colour table when the pixel offset points back into it.
        Bitmap b{.width = 2, .height = 1, .bitCount = 8, .colorsUsed = 2, .pixelOffset = 0};
        b.colorTable = table({kRgbRed, kRgbGreen});
        b.pixels = bytes({1, 0, 0, 0});
        all.push_back({"PixelOffsetInsideColourTable", b.file(), {2, 1}, {kRgbGreen, kRgbRed}});
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Depths, LoadsExactly, ::testing::ValuesIn(pictures()),
                         [](const auto& info) { return std::string(info.param.name); });

struct Crafted {
    const char* name;
    QByteArray file;
    bool tooLarge = false; // refused for the pixels its header claims

    friend void PrintTo(const Crafted& c, std::ostream* os) { *os << c.name; }
};

class Refused : public ::testing::TestWithParam<Crafted> {};

// Under UBSan a size computed without overflow checks aborts the test run here.
TEST_P(Refused, IsNoPicture) {
    BitmapRefusal refusal;
    EXPECT_TRUE(read(GetParam().file, &refusal).isNull());
    EXPECT_EQ(refusal.tooLarge, GetParam().tooLarge);
}

std::vector<Crafted> craftedFiles() {
    const QByteArray rgbRow = bgr({kRgbRed, kRgbGreen}) + bytes({0, 0});
    std::vector<Crafted> all = {
        {"AllSizesHuge", Bitmap{.width = INT_MAX, .height = INT_MAX, .bitCount = 65535}.file(),
         true},
        {"HugeTopDown", Bitmap{.width = INT_MAX, .height = INT_MIN, .bitCount = 65535}.file(),
         true},
        {"HugeNegativeWidth", Bitmap{.width = INT_MIN, .height = INT_MAX, .bitCount = 32}.file()},
        {"HeightIntMin",
         Bitmap{.width = 2, .height = INT_MIN, .bitCount = 24, .pixels = rgbRow + rgbRow}.file(),
         true},
        {"CoreHeaderAllSizesMax",
         Bitmap{.width = 0x7FFF, .height = 0x7FFF, .bitCount = 65535, .infoSize = 12}.file(), true},
        {"BitCountMax",
         Bitmap{.width = 1, .height = 1, .bitCount = 65535, .pixels = bytes({0, 0, 0, 0})}.file()},
        {"ColoursUsedMax", Bitmap{.width = 1,
                                  .height = 1,
                                  .bitCount = 8,
                                  .colorsUsed = 0xFFFFFFFF,
                                  .colorTable = table({kRgbRed}),
                                  .pixels = bytes({0, 0, 0, 0})}
                               .file()},
        {"ZeroWidth", Bitmap{.width = 0, .height = 2, .bitCount = 24, .pixels = rgbRow}.file()},
        {"ZeroHeight", Bitmap{.width = 2, .height = 0, .bitCount = 24, .pixels = rgbRow}.file()},
        {"CutOffByOneByte", threeByTwo().file().chopped(1)},
        {"InfoHeaderCutOff", threeByTwo().file().left(40)},
        {"UnknownHeaderSize",
         Bitmap{.width = 2, .height = 1, .bitCount = 24, .infoSize = 20, .pixels = rgbRow}.file()},
        // Read as an info header, these bytes would claim no bits per pixel and so no rows.
        {"UnknownLargeHeaderSizeRowsCutOff",
         Bitmap{.width = 2, .height = 2, .bitCount = 24, .infoSize = 237, .pixels = rgbRow}.file()},
        {"PixelOffsetBeyondFile",
         Bitmap{.width = 2, .height = 1, .bitCount = 24, .pixels = rgbRow, .pixelOffset = 1000}
             .file()},
        {"RunLengthPixelOffsetBeyondFile", Bitmap{.width = 2,
                                                  .height = 1,
                                                  .bitCount = 8,
                                                  .compression = 1,
                                                  .colorsUsed = 1,
                                                  .colorTable = table({kRgbRed}),
                                                  .pixels = bytes({2, 0, 0, 1}),
                                                  .pixelOffset = 1000}
                                               .file()},
        // The offset points back into the colour table, so Qt reads the rows after it, and
        // there only one of the two rows is left.
        {"RowsAfterColourTableCutOff", Bitmap{.width = 2,
                                              .height = 2,
                                              .bitCount = 8,
                                              .colorsUsed = 2,
                                              .colorTable = table({kRgbRed, kRgbGreen}),
                                              .pixels = bytes({1, 0, 0, 0}),
                                              .pixelOffset = 0}
                                           .file()},
        {"RowsAfterMasksCutOff",
         Bitmap{.width = 1,
                .height = 2,
                .bitCount = 32,
                .compression = 3,
                .masks = bytes({0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0}),
                .pixels = bytes({0, 0, 0xFF, 0}),
                .pixelOffset = 0}
             .file()},
    };
    return all;
}

INSTANTIATE_TEST_SUITE_P(CraftedHeaders, Refused, ::testing::ValuesIn(craftedFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

// A run-length file of a few bytes may claim a picture of any size: green runs, red runs, end.
QByteArray runLengthClaiming(qint32 width, qint32 height) {
    Bitmap b{.width = width, .height = height, .bitCount = 8, .compression = 1, .colorsUsed = 3};
    b.colorTable = table({kRgbWhite, kRgbGreen, kRgbRed});
    b.pixels = bytes({255, 1, 255, 1, 255, 1, 255, 1, 255, 2, 255, 2, 255, 2, 255, 2, 0, 1});
    return b.file();
}

struct TooLarge {
    const char* name;
    QByteArray file;
    qint64 width;
    qint64 height;
};

// Refused from the header alone, before a blank for the pixels is allocated, with the size it
// claims and the limit it broke.
TEST(BitmapLimit, PicturesOfTooManyPixelsAreRefusedAsTooLarge) {
    EXPECT_LE(kMaxBitmapPixels * 4, qint64{QImageReader::allocationLimit()} * 1024 * 1024)
        << "a picture within the pixel limit stays within Qt's allocation limit";
    const QByteArray huge = runLengthClaiming(11584, 11584);
    ASSERT_EQ(huge.size(), 84);
    const TooLarge cases[] = {
        {"RunLength", huge, 11584, 11584},
        {"RunLengthTopDown", runLengthClaiming(8193, -4096), 8193, 4096},
        {"Uncompressed", Bitmap{.width = 4096, .height = 8193, .bitCount = 24}.file(), 4096, 8193},
        {"CoreHeader",
         Bitmap{.width = 0x7FFF, .height = 0x7FFF, .bitCount = 1, .infoSize = 12}.file(), 32767,
         32767},
    };
    for (const TooLarge& c : cases) {
        BitmapRefusal refusal;
        EXPECT_TRUE(read(c.file, &refusal).isNull()) << c.name;
        EXPECT_TRUE(refusal.tooLarge) << c.name;
        EXPECT_EQ(refusal.width, c.width) << c.name;
        EXPECT_EQ(refusal.height, c.height) << c.name;
        EXPECT_EQ(refusal.maxPixels, 8192 * 4096) << c.name;
    }
}

// A lower allocation limit set for Qt lowers the pixel limit with it; none set leaves it whole.
TEST(BitmapLimit, FollowsALowerAllocationLimit) {
    const int defaultLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1); // 1 MB: 512 x 512 pixels at four bytes each
    const QImage atLimit = read(runLengthClaiming(512, -512));
    BitmapRefusal overLimit;
    const bool overRead = !read(runLengthClaiming(513, 512), &overLimit).isNull();
    QImageReader::setAllocationLimit(0);
    BitmapRefusal noLimit;
    const bool hugeRead = !read(runLengthClaiming(11584, 11584), &noLimit).isNull();
    QImageReader::setAllocationLimit(defaultLimit);

    EXPECT_EQ(atLimit.size(), QSize(512, 512));
    EXPECT_FALSE(overRead);
    EXPECT_TRUE(overLimit.tooLarge);
    EXPECT_EQ(overLimit.maxPixels, 512 * 512);
    EXPECT_FALSE(hugeRead);
    EXPECT_EQ(noLimit.maxPixels, kMaxBitmapPixels);
}

// The bitmap runs from the device's position to its end; bytes before it do not count.
TEST(BitmapDevice, ReadsFromTheCurrentPosition) {
    const QByteArray prefix(100, 'x');
    for (const bool whole : {true, false}) {
        const QByteArray file = threeByTwo().file();
        QBuffer buffer;
        buffer.setData(prefix + (whole ? file : file.chopped(1)));
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(prefix.size());
        EXPECT_EQ(readBitmap(buffer).isNull(), !whole) << (whole ? "whole" : "cut off");
    }
}

TEST(BitmapFile, ReadsThePictureOnDiskAndNothingForAMissingFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("level.gfx");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(threeByTwo().file());
    file.close();
    EXPECT_EQ(readBitmapFile(path), read(threeByTwo().file()));
    EXPECT_FALSE(readBitmapFile(path).isNull());
    EXPECT_TRUE(readBitmapFile(dir.filePath("missing.bmp")).isNull());
}

// The quick look at the headers refuses what readBitmapFile refuses before reading pixels, and
// lets through a file whose refusal only Qt's reader finds (here: no colour planes).
TEST(BitmapFile, TheHeadersAloneSortOutWhatNeedsNoPixelRead) {
    QTemporaryDir dir;
    QByteArray noPlanes = threeByTwo().file();
    noPlanes[26] = 0;
    const struct {
        const char* name;
        std::optional<QByteArray> bytes; // nullopt: a folder of that name
        bool pass;
        bool loads;
    } cases[] = {
        {"whole.bmp", threeByTwo().file(), true, true},
        {"noplanes.bmp", noPlanes, true, false},
        {"cut.bmp", threeByTwo().file().chopped(1), false, false},
        {"text.bmp", QByteArray("not a picture at all"), false, false},
        {"folder.bmp", std::nullopt, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(c.name);
        QFile file(path);
        if (c.bytes)
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(*c.bytes) == c.bytes->size());
        else
            ASSERT_TRUE(QDir(dir.path()).mkdir(c.name));
        file.close();
        EXPECT_EQ(bitmapHeadersPass(path), c.pass);
        EXPECT_EQ(!readBitmapFile(path).isNull(), c.loads);
        // Read whole only when the headers pass, and decoded from those bytes as from the file.
        const QByteArray whole = readBitmapFileBytes(path);
        EXPECT_EQ(whole, c.pass ? *c.bytes : QByteArray());
        EXPECT_EQ(decodeBitmap(whole), readBitmapFile(path));
    }
    EXPECT_FALSE(bitmapHeadersPass(dir.filePath("missing.bmp")));
}

// Once told to stop, reading and decoding give nothing, not a picture cut short.
TEST(BitmapFile, AStoppedReadingGivesNothing) {
    QTemporaryDir dir;
    QFile file(dir.filePath("level.bmp"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(threeByTwo().file()) > 0);
    file.close();
    const std::atomic_bool stop{true};
    EXPECT_TRUE(readBitmapFileBytes(file.fileName(), &stop).isEmpty());
    EXPECT_TRUE(decodeBitmap(threeByTwo().file(), &stop).isNull());
    EXPECT_TRUE(decodeBitmapThumbnail(threeByTwo().file(), {96, 72}, &stop).isNull());
}

// Whether each pixel of `small` is one of the pixels of `whole` in the part it stands for.
bool scaledWithoutSmoothing(const QImage& whole, const QImage& small) {
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            bool found = false;
            for (int sy = y * whole.height() / small.height();
                 !found && sy <= (y + 1) * whole.height() / small.height(); ++sy) {
                for (int sx = x * whole.width() / small.width();
                     !found && sx <= (x + 1) * whole.width() / small.width(); ++sx)
                    found = whole.valid(sx, sy) && whole.pixel(sx, sy) == small.pixel(x, y);
            }
            if (!found)
                return false;
        }
    }
    return true;
}

// A thumbnail decodes only the rows it shows, and is the whole picture scaled without
// smoothing, whatever the order of the rows, the header and the pixel format.
TEST(BitmapThumbnail, IsTheWholePictureScaledWithoutSmoothing) {
    constexpr int kWidth = 40;
    constexpr int kHeight = 301;
    // Each row of its own colour, so that a row taken from the wrong place shows.
    const auto striped = [](quint16 bitCount, qint32 height, quint32 infoSize) {
        Bitmap b{.width = kWidth, .height = height, .bitCount = bitCount, .infoSize = infoSize};
        const int rowBytes = (bitCount * kWidth + 31) / 32 * 4;
        if (bitCount <= 8)
            b.colorTable = grayTable(1 << bitCount, infoSize == 12 ? 3 : 4);
        for (int y = 0; y < kHeight; ++y) {
            const QByteArray row = bitCount == 24
                                       ? bgr({qRgb(y % 256, y / 256 * 90, 7)}).repeated(kWidth)
                                   : bitCount == 8 ? QByteArray(kWidth, char(y))
                                                   : QByteArray(rowBytes, char(y % 3 ? 0 : 0xff));
            b.pixels += row.leftJustified(rowBytes, '\0', true);
        }
        return b;
    };
    Bitmap gap = striped(8, kHeight, 40);
    gap.pixelOffset = quint32(gap.file().size() - gap.pixels.size() + 6);
    gap.pixels.prepend(QByteArray(6, 'x'));
    const struct {
        const char* label;
        QByteArray file;
    } cases[] = {
        {"24 bits, bottom-up", striped(24, kHeight, 40).file()},
        {"24 bits, top-down", striped(24, -kHeight, 40).file()},
        {"core header", striped(24, kHeight, 12).file()},
        {"8 bits, rows after a gap", gap.file()},
        {"1 bit", striped(1, kHeight, 40).file()},
        {"run-length coded", runLengthClaiming(kWidth, kHeight)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const QImage whole = read(c.file);
        ASSERT_FALSE(whole.isNull());
        for (const QSize box : {QSize(96, 72), QSize(8, 5)}) {
            const QImage small = decodeBitmapThumbnail(c.file, box);
            const QImage expected = whole.scaled(box, Qt::KeepAspectRatio, Qt::FastTransformation);
            EXPECT_EQ(small.size(), expected.size()) << box.width();
            EXPECT_EQ(small.format(), expected.format()) << box.width();
            EXPECT_TRUE(scaledWithoutSmoothing(whole, small)) << box.width();
        }
    }
}

} // namespace
