#include "level/BitmapFile.h"

#include "level/FileName.h"
#include "level/RegularFile.h"

#include <QBuffer>
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

constexpr qint64 kReadChunkBytes = 1024 * 1024;

bool stopped(const std::atomic_bool* stop) {
    return stop && stop->load(std::memory_order_relaxed);
}

// The bytes of a file as the picture reader reads them, refusing to give more once `stop` is
// set: the reader then ends within the rows it has already been handed.
class StoppableBuffer : public QBuffer {
public:
    StoppableBuffer(const QByteArray& bytes, const std::atomic_bool* stop) : m_stop(stop) {
        setData(bytes);
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        return stopped(m_stop) ? -1 : QBuffer::readData(data, maxSize);
    }

private:
    const std::atomic_bool* m_stop;
};

// The file from its current position to the size it had when opened, in chunks between which
// `stop` is looked at; empty when stopped or when reading fails.
QByteArray readWhole(QFile& file, const std::atomic_bool* stop) {
    const qint64 size = file.size();
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 got = 0;
    while (got < size) {
        if (stopped(stop))
            return {};
        const qint64 n = file.read(bytes.data() + got, std::min(kReadChunkBytes, size - got));
        if (n < 0)
            return {};
        if (n == 0)
            break; // cut short since it was opened
        got += n;
    }
    bytes.truncate(got);
    return bytes;
}

// The bytes of a bitmap whose pixel rows are not run-length coded cut down to `rows` of its
// rows, evenly spread as a scaling without smoothing picks them: the headers and colour table
// as they are, the height changed, each row whole.
QByteArray withRowsShown(const QByteArray& bytes, const Header& h, int rows) {
    const quint64 start = rowsStart(h);
    const quint64 rowBytes = (quint64{h.bitCount} * magnitude(h.width) + 31) / 32 * 4;
    const auto height = static_cast<qint64>(magnitude(h.height));
    const bool bottomUp = h.height > 0;
    QByteArray cut = bytes.left(qsizetype(start));
    const qint32 cutHeight = bottomUp ? rows : -rows;
    if (h.infoSize == kCoreHeaderSize) {
        qToLittleEndian<qint16>(qint16(cutHeight), cut.data() + 20);
    } else {
        qToLittleEndian<qint32>(cutHeight, cut.data() + 22);
        qToLittleEndian<quint32>(quint32(rowBytes * quint64(rows)), cut.data() + 34);
    }
    cut.reserve(qsizetype(start + rowBytes * quint64(rows)));
    for (int k = 0; k < rows; ++k) {
        // File row k shows row `shown` of the small picture, counted from its top.
        const int shown = bottomUp ? rows - 1 - k : k;
        const qint64 source = (2 * qint64{shown} + 1) * height / (2 * qint64{rows});
        const qint64 fileRow = bottomUp ? height - 1 - source : source;
        cut.append(bytes.constData() + start + quint64(fileRow) * rowBytes, qsizetype(rowBytes));
    }
    qToLittleEndian<quint32>(quint32(cut.size()), cut.data() + 2);
    return cut;
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

QByteArray readBitmapFileBytes(const QString& path, const std::atomic_bool* stop) {
    QFile file;
    if (!openRegularFile(file, path) || !acceptedHeader(file, nullptr) ||
        file.size() > kMaxBitmapFileBytes)
        return {};
    return readWhole(file, stop);
}

QImage decodeBitmap(const QByteArray& bytes, const std::atomic_bool* stop) {
    StoppableBuffer buffer(bytes, stop);
    buffer.open(QIODevice::ReadOnly);
    // Qt keeps what it decoded of rows it could not read, so a stopped decoding must not count.
    const QImage picture = readBitmap(buffer);
    return stopped(stop) ? QImage() : picture;
}

namespace {

// The headers of a file's bytes, when they pass and claim pixels (Qt refuses a picture without).
std::optional<Header> headerWithPixels(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<Header> header = acceptedHeader(buffer, nullptr);
    if (!header || header->width <= 0 || header->height == 0)
        return std::nullopt;
    return header;
}

// Within the pixel limit, so each side fits an int.
QSize sizeOf(const Header& header) {
    return {int(header.width), int(magnitude(header.height))};
}

} // namespace

std::optional<QSize> bitmapSize(const QByteArray& bytes) {
    const std::optional<Header> header = headerWithPixels(bytes);
    return header ? std::optional(sizeOf(*header)) : std::nullopt;
}

QImage decodeBitmapThumbnail(const QByteArray& bytes, QSize box, const std::atomic_bool* stop) {
    const std::optional<Header> header = headerWithPixels(bytes);
    if (!header)
        return {};
    const QSize full = sizeOf(*header);
    // At least one pixel each way, as QImage::scaled makes it.
    const QSize small = full.scaled(box, Qt::KeepAspectRatio).expandedTo({1, 1});
    const bool sample = !isRunLengthCoded(*header) && small.height() < full.height();
    const QImage picture =
        decodeBitmap(sample ? withRowsShown(bytes, *header, small.height()) : bytes, stop);
    return picture.isNull() ? picture
                            : picture.scaled(small, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

bool bitmapHeadersPass(const QString& path) {
    return bitmapReadCost(path).has_value();
}

std::optional<qint64> bitmapReadCost(const QString& path) {
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    const std::optional<Header> header = acceptedHeader(file, nullptr);
    if (!header)
        return std::nullopt;
    // A header with a width of 0 or less passes here and is refused by Qt: no picture at all.
    const qint64 pixels =
        header->width > 0
            ? static_cast<qint64>(magnitude(header->width) * magnitude(header->height))
            : 0;
    return file.size() + pixels * 4;
}

QString unloadableLevelText(const QString& path) {
    return QStringLiteral("The file \"%1\" could not be loaded as a level.")
        .arg(readableFileName(QDir::toNativeSeparators(path)));
}

} // namespace kf
