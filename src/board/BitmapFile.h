#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>

namespace kf {

// Reads one Windows bitmap (1, 4, 8, 16, 24 or 32 bits per pixel, bottom-up or top-down, core or
// info headers, colour masks, run-length coded rows) from `device`, which must be open for
// reading and allow seeking (a file, a QBuffer); the bitmap runs from the current position to
// the end. Anything else gives a null image: another picture format, a header whose sizes do not
// fit in 64 bits, or a file too short for the pixel rows its header claims. A picture it returns
// has no pixel that the file left open: those that run-length codes skip are colour 0 of the
// colour table.
QImage readBitmap(QIODevice& device);

// The same for a file, whatever its extension ("kf_1.gfx" is one). Only a regular file is read
// (a link to one as well); anything else gives a null image at once, never waiting on a pipe.
QImage readBitmapFile(const QString& path);

} // namespace kf
