#pragma once

#include <QImage>
#include <QString>

namespace kf {

// Reads a Windows bitmap file, whatever its extension ("kf_1.gfx" is one). A file that is not a
// readable bitmap, including a picture of another format, gives a null image.
QImage readBitmapFile(const QString& path);

} // namespace kf
