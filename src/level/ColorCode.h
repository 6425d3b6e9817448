#pragma once

#include <QRgb>
#include <cstdint>

// The colour code of a level picture. Colours are 24-bit values in the order 0x00BBGGRR and
// decide only by exact equality: a pixel one step away from pure black is free track.
using COLORREF = std::uint32_t;

namespace kf {

inline constexpr COLORREF kWall = 0x000000;
inline constexpr COLORREF kStart = 0x00FF00;
inline constexpr COLORREF kFinish = 0x0000FF;
inline constexpr COLORREF kTrail = 0x646464;
inline constexpr COLORREF kWhite = 0xFFFFFF;
// What a point reads as when it shows no colour (outside the picture); matches no colour above.
inline constexpr COLORREF kNoColor = 0xFFFFFFFF;

constexpr COLORREF colorRefFromRgb(QRgb rgb) {
    return static_cast<COLORREF>(qRed(rgb)) | static_cast<COLORREF>(qGreen(rgb)) << 8 |
           static_cast<COLORREF>(qBlue(rgb)) << 16;
}

constexpr QRgb rgbFromColorRef(COLORREF c) {
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF),
                static_cast<int>(c >> 16 & 0xFF));
}

constexpr bool isWall(COLORREF c) {
    return c == kWall;
}
constexpr bool isStart(COLORREF c) {
    return c == kStart;
}
constexpr bool isFinish(COLORREF c) {
    return c == kFinish;
}

} // namespace kf
