#pragma once

#include <QString>

namespace kf {

// Development messages for whoever watches the program's diagnostics; never shown to players.
void OutputDebugString(const QString& text);

} // namespace kf
