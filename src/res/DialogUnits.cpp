#include "res/DialogUnits.h"

namespace kf {

namespace {

// a * b / c rounded half away from zero, as the platform's dialog mapping does.
int mulDivRounded(int a, int b, int c) {
    const long long p = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : -((-p + half) / c));
}

} // namespace

BaseUnits baseUnitsForFont(int pointSize) {
    switch (pointSize) {
    case 10:
        // The set-up dialog's pictures fill their places in the template exactly at 8 x 16.
        return {8, 16};
    case 14:
        return {10, 20};
    default:
        return {6, 13};
    }
}

int fontPixelSize(int pointSize) {
    switch (pointSize) {
    case 10:
        return 13;
    case 14:
        return 16;
    default:
        return 11;
    }
}

int duToPixelsX(int du, BaseUnits bu) {
    return mulDivRounded(du, bu.x, 4);
}
int duToPixelsY(int du, BaseUnits bu) {
    return mulDivRounded(du, bu.y, 8);
}

QRect duRectToPixels(const DuRect& r, BaseUnits bu) {
    return {duToPixelsX(r.x, bu), duToPixelsY(r.y, bu), duToPixelsX(r.width, bu),
            duToPixelsY(r.height, bu)};
}

QSize dialogClientSize(const DialogTemplate& t) {
    const BaseUnits bu = baseUnitsForFont(t.fontPointSize);
    return {duToPixelsX(t.rect.width, bu), duToPixelsY(t.rect.height, bu)};
}

} // namespace kf
