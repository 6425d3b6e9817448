#pragma once

#include <QImage>
#include <QRgb>

namespace kf {

// The first track, "Level_00_INTRO.bmp": a 400 by 400 serpentine of five straights joined by
// four bends, started on the green patch at the top left and finished on the red patch at the
// bottom right. Drawn without smoothing, so every pixel is one of the colours below.
QImage drawIntroLevel();

// Colours of the first track besides the walls (black), the start (green) and the finish (red):
// the free track and the arrows painted on it that show the way.
inline constexpr QRgb kIntroTrackColor = 0xFFFAF6E8;
inline constexpr QRgb kIntroArrowColor = 0xFFDAD2BA;

} // namespace kf
