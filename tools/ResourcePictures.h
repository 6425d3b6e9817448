#pragma once

#include <QImage>

namespace kf {

// Identifiers of the pictures carried inside the program.
inline constexpr int kPictureMultiplayerMode = 139; // "MULTIPLAYER MODE", 282 x 26
inline constexpr int kPictureFlagOn = 204;          // green O, 19 x 23
inline constexpr int kPictureFlagOff = 205;         // red X, 19 x 23
inline constexpr int kPicturePlayers = 219;         // "PLAYERS:", 119 x 21
inline constexpr int kPictureRounds = 220;          // "ROUNDS :", 118 x 21

inline constexpr int kResourcePictureIds[] = {kPictureMultiplayerMode, kPictureFlagOn,
                                              kPictureFlagOff, kPicturePlayers, kPictureRounds};

// The picture with the given identifier, opaque on white; a null image for any other number.
QImage drawResourcePicture(int id);

// The program's icon, a tiny track with a green start and a red finish, drawn at size x size
// pixels (with bolder lines at 16 and below, so they still read). Transparent around it.
QImage drawAppIcon(int size);

// The icon of a race file (a track with its ghosts): the program's icon with a chequered flag on
// a tile in its lower right quarter, drawn at size x size pixels. Transparent around it.
QImage drawRaceIcon(int size);

} // namespace kf
