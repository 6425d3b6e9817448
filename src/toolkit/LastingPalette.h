#pragma once

#include <QPalette>

namespace kf {

// A palette equal to `palette` in every colour and in its current colour group whose cache key
// stays the same for the life of the program: the one met first with these colours.
//
// The style keeps the faces of buttons and sliders it has painted in the pixmap cache, under
// names that include the palette's cache key, and every widget made gets a palette with a key of
// its own. The dialogs make their controls afresh at every opening; painted with their own
// palettes, each opening would put its faces into the cache anew and never find the ones before.
QPalette lastingPalette(const QPalette& palette);

} // namespace kf
