#include "toolkit/LastingPalette.h"

#include <QList>

namespace kf {

QPalette lastingPalette(const QPalette& palette) {
    // The game paints with a handful of palettes; each is kept once, in the order first met.
    // Copies share the kept palette's data and so its cache key.
    static QList<QPalette> kept;
    for (const QPalette& p : kept) {
        if (p.currentColorGroup() == palette.currentColorGroup() && p == palette)
            return p;
    }
    kept.append(palette);
    return palette;
}

} // namespace kf
