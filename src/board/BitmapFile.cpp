#include "board/BitmapFile.h"

#include <QFile>
#include <QImageReader>
#include <QtEndian>
#include <cstdlib>

namespace kf {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12;
constexpr quint32 kRgb = 0;
constexpr quint32 kBitfields = 3;
constexpr quint32 kAlphaBitfields = 6;

// Qt's reader fills the missing rows of a cut-off bitmap with black instead of refusing it, and
// a cut-off level is no level. For uncompressed pictures the header says how many bytes the
// rows need; the file must hold them all.
bool holdsAllPixelRows(QFile& file) {
    const QByteArray head = file.peek(kFileHeaderSize + 40);
    if (head.size() < kFileHeaderSize + 4)
        return false;
    const auto* p = reinterpret_cast<const uchar*>(head.constData());
    const quint32 pixelOffset = qFromLittleEndian<quint32>(p + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(p + 14);
    qint64 width = 0;
    qint64 height = 0;
    quint32 bitCount = 0;
    quint32 compression = kRgb;
    if (infoSize == kCoreHeaderSize && head.size() >= kFileHeaderSize + 12) {
        width = qFromLittleEndian<quint16>(p + 18);
        height = qFromLittleEndian<quint16>(p + 20);
        bitCount = qFromLittleEndian<quint16>(p + 24);
    } else if (infoSize >= 40 && head.size() >= kFileHeaderSize + 20) {
        width = qFromLittleEndian<qint32>(p + 18);
        height = qFromLittleEndian<qint32>(p + 22);
        bitCount = qFromLittleEndian<quint16>(p + 28);
        compression = qFromLittleEndian<quint32>(p + 30);
    } else {
        return false;
    }
    if (compression != kRgb && compression != kBitfields && compression != kAlphaBitfields)
        return true; // run-length coded rows have no fixed size; the reader decides
    const qint64 rowBytes = (static_cast<qint64>(bitCount) * std::llabs(width) + 31) / 32 * 4;
    return file.size() >= static_cast<qint64>(pixelOffset) + rowBytes * std::llabs(height);
}

} // namespace

QImage readBitmapFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !holdsAllPixelRows(file))
        return {};
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace kf
