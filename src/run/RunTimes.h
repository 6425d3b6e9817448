#pragma once

// The two special times, in milliseconds, that recur through the game. Not to be confused:
namespace kf {

// Six nines: no time yet. A track without a record, a player without a run on the level.
inline constexpr int kNoTimeMs = 999999;
// Five nines: a failed run (a wall touched or the button let go) as a match counts it; also
// the time of a record file whose time line does not read as a positive number.
inline constexpr int kFailedRunMs = 99999;

} // namespace kf
