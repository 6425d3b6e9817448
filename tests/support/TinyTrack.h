#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>

// 8 x 6 pixels, top row first: a black frame, start (G) and finish (R) on the left and right,
// and a wall block in the middle of rows 2 and 3.
inline QImage tinyTrack() {
    const char* rows[] = {"KKKKKKKK", "KGWWWWRK", "KGWKKWRK", "KWWKKWWK", "KWWWWWWK", "KKKKKKKK"};
    QImage track(8, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            track.setPixel(x, y,
                           rows[y][x] == 'K'   ? qRgb(0, 0, 0)
                           : rows[y][x] == 'G' ? qRgb(0, 255, 0)
                           : rows[y][x] == 'R' ? qRgb(255, 0, 0)
                                               : qRgb(255, 255, 255));
    return track;
}

// The same track as the bytes of a bitmap file.
inline QByteArray tinyTrackBytes() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    tinyTrack().save(&buffer, "BMP");
    return bytes;
}
