#pragma once

#include <QString>

namespace kf {

// Development messages for whoever watches the program's diagnostics, through Qt's debug
// output (standard error); never shown to players. A text ends with its line feed.
void OutputDebugString(const QString& text);

} // namespace kf
