// Feeds arbitrary bytes to the level picture reader and checks what must hold for every file:
// a picture is either refused (null) or exactly as large as its header claims, an uncompressed
// one only when the file holds all its rows, and the same bytes found further into a larger
// stream give the very same picture, pixel for pixel (which also catches pixels that come from
// whatever the memory held rather than from the file).

#include "level/BitmapFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

void check(bool ok) {
    if (!ok)
        __builtin_trap();
}

// What the header claims, read here on its own rather than through the reader.
struct Claim {
    qint64 width;
    qint64 height;
    qint64 headerEnd; // file and info header; rows can only start after them
    qint64 bitCount;
    bool runLength;
};

// Qt reads 32-bit sizes after the four info header sizes it knows, and the 16-bit sizes of a
// core header after any other.
std::optional<Claim> claimOf(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    if (bytes.size() < 26)
        return std::nullopt;
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    const qint64 headerEnd = 14 + qint64{infoSize};
    if (infoSize != 40 && infoSize != 64 && infoSize != 108 && infoSize != 124)
        return Claim{qFromLittleEndian<qint16>(p + 18), qFromLittleEndian<qint16>(p + 20),
                     headerEnd, qFromLittleEndian<quint16>(p + 24), false};
    if (bytes.size() < 54)
        return std::nullopt;
    const quint32 compression = qFromLittleEndian<quint32>(p + 30);
    return Claim{qFromLittleEndian<qint32>(p + 18), qFromLittleEndian<qint32>(p + 22), headerEnd,
                 qFromLittleEndian<quint16>(p + 28), compression == 1 || compression == 2};
}

// The bytes as a bitmap that starts `before` bytes into a buffer.
QImage readAt(QByteArrayView bytes, qsizetype before) {
    QBuffer buffer;
    buffer.setData(QByteArray(before, '\xA5') + bytes.toByteArray());
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(before);
    return kf::readBitmap(buffer);
}

// Same format, size, colour table and pixel bytes. QImage's own comparison looks indexed
// pixels up in the colour table, and Qt reads past a table shorter than the indices a file holds.
bool samePicture(const QImage& a, const QImage& b) {
    if (a.format() != b.format() || a.size() != b.size() || a.colorTable() != b.colorTable())
        return false;
    const auto rowBytes = static_cast<std::size_t>((qsizetype{a.width()} * a.depth() + 7) / 8);
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.constScanLine(y), b.constScanLine(y), rowBytes) != 0)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every refused picture makes Qt print a warning; thousands a second drown the statistics.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // A run-length picture may claim 16384 x 16384 pixels in a few bytes. A lower memory limit
    // keeps each run fast and still goes through the reader's refusal of pictures above it.
    QImageReader::setAllocationLimit(16);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QImage picture = readAt(bytes, 0);
    check(samePicture(readAt(bytes, 7), picture));
    if (picture.isNull())
        return 0;

    const std::optional<Claim> claim = claimOf(bytes);
    check(claim.has_value());
    check(picture.width() > 0 && picture.height() > 0);
    check(picture.width() == qAbs(claim->width));
    check(picture.height() == qAbs(claim->height));
    if (!claim->runLength) {
        const qint64 rowBytes = (claim->bitCount * picture.width() + 31) / 32 * 4;
        check(bytes.size() >= claim->headerEnd + rowBytes * picture.height());
    }
    return 0;
}
