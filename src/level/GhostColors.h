#pragma once

#include <QRgb>

#include <array>

namespace kf {

// The colours of the ghosts' rings on the board: the player's own best run first, in the blue
// it always had, then one for each shared ghost shown, so at most eight ghosts are on the board
// at once. Each stands well apart from the level colours (pure black, green, red), the trail's
// grey, the white of the board and every other ring, so a ring is never taken for a wall, a
// start or a finish, nor one player's for another's.
inline constexpr std::array<QRgb, 8> kGhostColors = {
    0xFF0070FF, // the player's own best: blue
    0xFFD000D0, // magenta
    0xFFFF8C00, // orange
    0xFF00A0A0, // teal
    0xFF8000C0, // violet
    0xFF8B4513, // brown
    0xFFFF4FA0, // pink
    0xFFB09000, // olive
};
inline constexpr QRgb kOwnGhostColor = kGhostColors[0];
inline constexpr int kMaxSharedGhosts = int(kGhostColors.size()) - 1;

// The ring of the shared ghost at `index` (0 for the first shown), for index < kMaxSharedGhosts.
constexpr QRgb sharedGhostColor(int index) {
    return kGhostColors[std::size_t(index) + 1];
}

} // namespace kf
