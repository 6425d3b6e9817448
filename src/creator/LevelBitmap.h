#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

namespace kf {

// Length in bytes of one stored pixel row of a 24-bit bitmap: three bytes per pixel, rounded up
// to a multiple of four.
constexpr int levelBitmapRowLength(int width) {
    return ((24 * width + 31) >> 3) & ~3;
}

// The size of the two headers in front of the pixel rows.
inline constexpr int kLevelBitmapHeaderSize = 54;

// Encodes the picture as an uncompressed 24-bit Windows bitmap file: the 14-byte file header,
// the 40-byte information header, then the rows from the bottom up, each pixel as blue, green,
// red and each row padded with zero bytes to a multiple of four. Colours are kept exactly; any
// alpha is dropped. A null picture gives an empty result.
QByteArray encodeLevelBitmap(const QImage& image);

// How writing a level file ended, and the system's words for a failure.
struct LevelWriteResult {
    enum Status { Written, NoPicture, CannotCreate, WriteFailed };
    Status status = Written;
    QString reason; // empty when written

    bool ok() const { return status == Written; }
    explicit operator bool() const { return ok(); }
};

// Where SAVE writes a level named `name` in `folder`: "<folder>/<name>.bmp" with the name
// exactly as typed, in the system's separators. While `name` is the name shown for the track
// file `trackFile` (a file name without folder, levelNameOf), it is that file in `folder`
// instead, so "TRACK.BMP" is saved as itself, not as "TRACK.BMP.bmp". An empty name names no
// file (nullopt).
std::optional<QString> levelSavePath(const QString& folder, const QString& name,
                                     const QString& trackFile = {});

// The name the creator shows for a level file: its file name without the folder and without a
// final ".bmp", so that levelSavePath in the file's folder names the same file again.
QString levelNameOf(const QString& path);

// Writes encodeLevelBitmap(image) to path. The file appears only once it is complete: a failed
// write leaves an existing file of that name as it was and no partial file beside it. A
// symbolic link of that name is replaced by the level, never written through.
LevelWriteResult writeLevelFile(const QImage& image, const QString& path);

} // namespace kf
