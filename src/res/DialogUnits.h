#pragma once

#include "res/DialogTemplate.h"

#include <QRect>
#include <QSize>

namespace kf {

// Pixels per dialog unit are pinned per template font, so the layout is the same on every
// machine: x pixels = du * baseX / 4, y pixels = du * baseY / 8, rounded half away from zero.
struct BaseUnits {
    int x = 6;
    int y = 13;
};

BaseUnits baseUnitsForFont(int pointSize);
// Pixel size of the Qt font that stands in for the template font of that point size.
int fontPixelSize(int pointSize);

int duToPixelsX(int du, BaseUnits bu);
int duToPixelsY(int du, BaseUnits bu);
// Converts the position and the size each on its own, as the platform does: a control 263 units
// wide is always 395 pixels wide, wherever it stands.
QRect duRectToPixels(const DuRect& r, BaseUnits bu);
QSize dialogClientSize(const DialogTemplate& t);

} // namespace kf
