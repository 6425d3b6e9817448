#include "creator/LevelBitmap.h"

#include "level/FileReplace.h"

#include <QDir>
#include <QFileInfo>

#include <cstdint>

namespace kf {

namespace {

void putU16(char* at, std::uint16_t v) {
    at[0] = static_cast<char>(v & 0xFF);
    at[1] = static_cast<char>(v >> 8 & 0xFF);
}

void putU32(char* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>(v >> (8 * i) & 0xFF);
}

} // namespace

QByteArray encodeLevelBitmap(const QImage& image) {
    if (image.isNull())
        return {};
    const int width = image.width();
    const int height = image.height();
    const int rowLength = levelBitmapRowLength(width);
    const auto imageSize =
        static_cast<std::uint32_t>(rowLength) * static_cast<std::uint32_t>(height);

    // Zero-filled, so every header field not set below and every padding byte is 0.
    QByteArray out(kLevelBitmapHeaderSize + static_cast<qsizetype>(imageSize), '\0');
    char* p = out.data();

    // File header.
    p[0] = 'B';
    p[1] = 'M';
    putU32(p + 2, kLevelBitmapHeaderSize + imageSize); // bfSize
    putU32(p + 10, kLevelBitmapHeaderSize);            // bfOffBits

    // Information header; a positive height means the rows are stored bottom-up.
    putU32(p + 14, 40); // biSize
    putU32(p + 18, static_cast<std::uint32_t>(width));
    putU32(p + 22, static_cast<std::uint32_t>(height));
    putU16(p + 26, 1);         // biPlanes
    putU16(p + 28, 24);        // biBitCount
    putU32(p + 34, imageSize); // biSizeImage

    // Straight (not premultiplied) colours, so a translucent pixel keeps its own colour.
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    char* row = p + kLevelBitmapHeaderSize;
    for (int y = height - 1; y >= 0; --y, row += rowLength) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<char>(qBlue(src[x]));
            row[3 * x + 1] = static_cast<char>(qGreen(src[x]));
            row[3 * x + 2] = static_cast<char>(qRed(src[x]));
        }
    }
    return out;
}

std::optional<QString> levelSavePath(const QString& folder, const QString& name,
                                     const QString& trackFile) {
    if (name.isEmpty())
        return std::nullopt;
    const QString file = name == levelNameOf(trackFile) ? trackFile : name + QStringLiteral(".bmp");
    return QDir::toNativeSeparators(folder) + QDir::separator() + file;
}

QString levelNameOf(const QString& path) {
    QString name = QFileInfo(path).fileName();
    if (name.endsWith(QStringLiteral(".bmp")))
        name.chop(4);
    return name;
}

LevelWriteResult writeLevelFile(const QImage& image, const QString& path) {
    const QByteArray bytes = encodeLevelBitmap(image);
    if (bytes.isEmpty())
        return {LevelWriteResult::NoPicture, QStringLiteral("There is no picture to save.")};
    const FileWriteResult written = replaceFile(path, bytes);
    switch (written.status) {
    case FileWriteResult::Written:
        return {};
    case FileWriteResult::CannotCreate:
        return {LevelWriteResult::CannotCreate, written.reason};
    case FileWriteResult::WriteFailed:
        break;
    }
    return {LevelWriteResult::WriteFailed, written.reason};
}

} // namespace kf
