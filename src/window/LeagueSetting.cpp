#include "window/LeagueSetting.h"

#include "league/ConnInfo.h"

#include <QSettings>

namespace kf {

namespace {

QSettings settings() {
    return QSettings(QStringLiteral("kurvenflitzerl"), QStringLiteral("kurvenflitzerl"));
}

const QString kConnectionKey = QStringLiteral("league/connection");

} // namespace

QString leagueSetting() {
    return settings().value(kConnectionKey).toString();
}

void setLeagueSetting(const QString& connInfo) {
    settings().setValue(kConnectionKey, connInfo);
}

QString leagueSettingRefusal(const QString& connInfo) {
    if (connInfo.trimmed().isEmpty())
        return {};
    const ConnInfoParse parse = parseConnInfo(connInfo);
    if (!parse.info)
        return QStringLiteral("The game cannot use this connection: %1.").arg(parse.reason);
    if (parse.info->has(QStringLiteral("password")))
        return QStringLiteral("Leave the password out: the game never keeps one, and libpq "
                              "reads it from ~/.pgpass or PGPASSWORD.");
    return {};
}

} // namespace kf
