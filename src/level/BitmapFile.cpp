#include "level/BitmapFile.h"

#include "level/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <optional>

namespace kf {

namespace {

constexpr quint64 kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12;
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kOs2HeaderSize = 64;
constexpr quint32 kV4HeaderSize = 108;
constexpr quint32 kV5HeaderSize = 124;
constexpr quint32 kRle8 = 1;
constexpr quint32 kRle4 = 2;
constexpr quint32 kBitfields = 3;

// The fields that say where the pixel rows lie and how long they are, taken as Qt takes them.
struct Header {
    quint32 pixelOffset = 0;
    quint32 infoSize = 0;
    qint64 width = 0;
    qint64 height = 0; // negative for a top-down picture
    quint32 bitCount = 0;
    quint32 compression = 0;
    quint32 colorsUsed = 0;
};

std::optional<Header> readHeader(QIODevice& device) {
    const QByteArray head = device.peek(kFileHeaderSize + kInfoHeaderSize);
    const auto size = static_cast<quint64>(head.size());
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    if (size < kFileHeaderSize + 4)
        return std::nullopt;
    Header h;
    h.pixelOffset = qFromLittleEndian<quint32>(p + 10);
    h.infoSize = qFromLittleEndian<quint32>(p + 14);
    if (h.infoSize == kCoreHeaderSize && size >= kFileHeaderSize + kCoreHeaderSize) {
        // Qt reads the 16-bit sizes of a core header as signed, so -1 is one top-down row.
        h.width = qFromLittleEndian<qint16>(p + 18);
        h.height = qFromLittleEndian<qint16>(p + 20);
        h.bitCount = qFromLittleEndian<quint16>(p + 24);
    } else if ((h.infoSize == kInfoHeaderSize || h.infoSize == kOs2HeaderSize ||
                h.infoSize == kV4HeaderSize || h.infoSize == kV5HeaderSize) &&
               size >= kFileHeaderSize + kInfoHeaderSize) {
        h.width = qFromLittleEndian<qint32>(p + 18);
        h.height = qFromLittleEndian<qint32>(p + 22);
        h.bitCount = qFromLittleEndian<quint16>(p + 28);
        h.compression = qFromLittleEndian<quint32>(p + 30);
        h.colorsUsed = qFromLittleEndian<quint32>(p + 46);
    } else {
        // Qt takes a header of any other size for a core header followed by padding, which no
        // program writes; its sizes would be read from places that no other header uses.
        return std::nullopt;
    }
    return h;
}

bool isRunLengthCoded(const Header& h) {
    return h.compression == kRle8 || h.compression == kRle4;
}

quint64 magnitude(qint64 v) {
    return static_cast<quint64>(v < 0 ? -v : v);
}

// Qt reads the rows from the pixel offset, but when that offset points back into the headers,
// the colour masks or the colour table, it reads on right after them.
quint64 rowsStart(const Header& h) {
    quint64 tableEnd = kFileHeaderSize + h.infoSize;
    if (h.bitCount <= 8) {
        const quint64 colors = h.colorsUsed != 0 ? h.colorsUsed : quint64{1} << h.bitCount;
        tableEnd += colors * (h.infoSize == kCoreHeaderSize ? 3 : 4);
    } else if (h.compression == kBitfields && h.infoSize < kV4HeaderSize) {
        tableEnd += 3 * 4;
    }
    return std::max<quint64>(h.pixelOffset, tableEnd);
}

// Qt's reader fills the missing rows of a cut-off bitmap with whatever the memory held instead
// of refusing it, and a cut-off level is no level. For uncompressed pictures the header says
// how many bytes the rows need; the file must hold them all. A header may claim 2^31 pixels in
// each direction and 65535 bits per pixel: one row still fits in 64 bits, all rows may not.
bool holdsAllPixelRows(const Header& h, quint64 available) {
    const quint64 start = rowsStart(h);
    if (isRunLengthCoded(h))
        return start < available; // codes have no fixed length; Qt decides once they begin
    const quint64 rowBytes = (quint64{h.bitCount} * magnitude(h.width) + 31) / 32 * 4;
    quint64 pixelBytes = 0;
    quint64 end = 0;
    return !__builtin_mul_overflow(rowBytes, magnitude(h.height), &pixelBytes) &&
           !__builtin_add_overflow(start, pixelBytes, &end) && end <= available;
}

// The pixel limit in force: a lower allocation limit set for Qt lowers it too, since Qt then
// refuses smaller pictures of its own and the blank below is allocated here, not by Qt.
qint64 maxPixelsNow() {
    const qint64 limitMb = QImageReader::allocationLimit();
    return limitMb > 0 ? std::min(kMaxBitmapPixels, limitMb * 1024 * 1024 / 4) : kMaxBitmapPixels;
}

// Qt leaves the pixels that run-length codes skip (a jump, a row cut short, codes that stop
// early) as whatever the memory held. Handed a picture of the right size and format, it writes
// into that one, so a blank of colour 0 keeps those pixels defined. Qt checks its memory limit
// only for pictures it allocates itself; the pixel limit has already kept this one within it.
QImage blankForRunLength(QImageReader& reader) {
    const QSize claimed = reader.size(); // invalid when Qt refuses the header
    if (claimed.width() <= 0 || claimed.height() == 0)
        return {};
    const QSize size(claimed.width(), qAbs(claimed.height()));
    QImage blank(size, QImage::Format_Indexed8);
    blank.fill(0);
    return blank;
}

// The checks made before any pixel is read: a header of a known kind, no more pixels than the
// limit, and every pixel row in the device.
std::optional<Header> acceptedHeader(QIODevice& device, BitmapRefusal* refusal) {
    const std::optional<Header> header = readHeader(device);
    if (!header)
        return std::nullopt;
    // Up to 2^31 in each direction: the product fits.
    const auto pixels = static_cast<qint64>(magnitude(header->width) * magnitude(header->height));
    if (const qint64 maxPixels = maxPixelsNow(); header->width > 0 && pixels > maxPixels) {
        if (refusal)
            *refusal = {true, header->width, static_cast<qint64>(magnitude(header->height)),
                        maxPixels};
        return std::nullopt;
    }
    if (!holdsAllPixelRows(*header, static_cast<quint64>(device.size() - device.pos())))
        return std::nullopt;
    return header;
}

} // namespace

QImage readBitmap(QIODevice& device, BitmapRefusal* refusal) {
    if (refusal)
        *refusal = {};
    const std::optional<Header> header = acceptedHeader(device, refusal);
    if (!header)
        return {};
    QImageReader reader(&device, "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage image = isRunLengthCoded(*header) ? blankForRunLength(reader) : QImage();
    if (!reader.read(&image))
        return {};
    return image;
}

QImage readBitmapFile(const QString& path) {
    // A pipe or a device is no picture, and opening one could wait for ever.
    QFile file;
    if (!openRegularFile(file, path))
        return {};
    return readBitmap(file);
}

bool bitmapHeadersPass(const QString& path) {
    QFile file;
    return openRegularFile(file, path) && acceptedHeader(file, nullptr).has_value();
}

QString unloadableLevelText(const QString& path) {
    return QStringLiteral("The file \"%1\" could not be loaded as a level.")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace kf
