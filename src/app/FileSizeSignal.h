#pragma once

namespace kf {

// Makes a write past the process's file size limit (ulimit -f) fail like a write to a full
// disk, instead of the system ending the game with SIGXFSZ and losing a painted level. The
// failed save is then reported as any other.
void ignoreFileSizeSignal();

} // namespace kf
