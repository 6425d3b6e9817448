#pragma once

namespace kf {

// Whether the ghost of the best run is shown, kept in the player's settings:
// `~/.config/kurvenflitzerl/kurvenflitzerl.conf` ($XDG_CONFIG_HOME, else ~/.config), key
// `ghost`. On until the player switches it off.
bool ghostSetting();
void setGhostSetting(bool on);

} // namespace kf
