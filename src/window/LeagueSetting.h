#pragma once

#include <QString>

namespace kf {

// The league the game plays in: its libpq connection string, kept in the player's settings
// (`kurvenflitzerl.conf`, group `league`, key `connection`); empty for none. The game never
// keeps a password there: libpq reads it from ~/.pgpass or PGPASSWORD.
QString leagueSetting();
void setLeagueSetting(const QString& connInfo);

// Why a connection string cannot be kept, in one sentence: one that libpq would not read, or
// one that holds a password. Empty when it can be kept (an empty one means no league).
QString leagueSettingRefusal(const QString& connInfo);

} // namespace kf
