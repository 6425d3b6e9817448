#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>

#include <atomic>
#include <optional>

namespace kf {

// The most pixels a picture that readBitmap returns may have, 8192 x 4096. The game and the
// level checker hold a picture at four bytes a pixel, so this many take 128 MB: Qt's default
// allocation limit (Qt 6.4; later versions allow 256 MB), so Qt never refuses to hold a
// picture read here.
inline constexpr qint64 kMaxBitmapPixels = qint64{128} * 1024 * 1024 / 4;

// Why readBitmap gave no picture: the header claimed too many pixels, or anything else.
struct BitmapRefusal {
    bool tooLarge = false; // more pixels than maxPixels; nothing was allocated for them
    qint64 width = 0;      // the size the header claims, top-down pictures counted upright
    qint64 height = 0;
    qint64 maxPixels = 0; // kMaxBitmapPixels, or fewer while Qt's allocation limit is lower
};

// Reads one Windows bitmap (1, 4, 8, 16, 24 or 32 bits per pixel, bottom-up or top-down, core or
// info headers, colour masks, run-length coded rows) from `device`, which must be open for
// reading and allow seeking (a file, a QBuffer); the bitmap runs from the current position to
// the end. Anything else gives a null image: another picture format, a header whose sizes do not
// fit in 64 bits, more pixels than the limit above (refused from the header alone, before any
// pixel is read), or a file too short for the pixel rows its header claims. A picture it
// returns has no pixel that the file left open: those that run-length codes skip are colour 0
// of the colour table. When it gives a null image and `refusal` is given, says why there.
QImage readBitmap(QIODevice& device, BitmapRefusal* refusal = nullptr);

// The same for a file, whatever its extension ("kf_1.gfx" is one). Only a regular file is read
// (a link to one as well); anything else gives a null image at once, never waiting on a pipe.
QImage readBitmapFile(const QString& path);

// The longest file readBitmapFileBytes reads: the pixel rows of the largest picture at 32 bits,
// with room for headers, colour tables and what programs put after the rows.
inline constexpr qint64 kMaxBitmapFileBytes = kMaxBitmapPixels * 4 + 16 * 1024 * 1024;

// A level file read once, whole, into memory, so that the picture decoded from the bytes and
// what else is worked out from them (the level's SHA-256) belong together, even when the file
// is replaced in between. Only a regular file is read, and only when it passes the checks of
// bitmapHeadersPass and is no longer than kMaxBitmapFileBytes; empty otherwise. When `stop` is
// given and becomes true, the reading ends within a megabyte and gives nothing.
QByteArray readBitmapFileBytes(const QString& path, const std::atomic_bool* stop = nullptr);

// readBitmap on a file's bytes in memory. When `stop` becomes true, the decoding ends within a
// few pixel rows and gives a null image.
QImage decodeBitmap(const QByteArray& bytes, const std::atomic_bool* stop = nullptr);

// The picture of a file's bytes scaled without smoothing into `box`, its shape kept; null when
// decodeBitmap gives none. Of pixel rows that are not run-length coded only those that the
// small picture shows are decoded: a thumbnail of 8192 x 4096 pixels never holds 128 MB.
QImage decodeBitmapThumbnail(const QByteArray& bytes, QSize box,
                             const std::atomic_bool* stop = nullptr);

// The size of the picture that a file's bytes hold, from their headers alone, top-down pictures
// counted upright; nullopt when the headers do not pass or claim no pixel.
std::optional<QSize> bitmapSize(const QByteArray& bytes);

// What the player is told when a level file they chose does not load: "The file "<path>" could
// not be loaded as a level.", the path in the system's own separators and as the player reads
// it (readableFileName).
QString unloadableLevelText(const QString& path);

// Whether a file passes the checks that readBitmapFile makes before it reads any pixel (a
// regular file, a known header, the pixel limit, every pixel row there), from its first 54
// bytes and its size alone. Quick enough for a folder of levels; readBitmapFile may still
// refuse a file that passes, never one that fails.
bool bitmapHeadersPass(const QString& path);

// The same checks, and the most memory that reading the file with readBitmapFileBytes and
// decoding it holds at once: its bytes and the picture at four bytes a pixel; nullopt when the
// checks fail.
std::optional<qint64> bitmapReadCost(const QString& path);

} // namespace kf
