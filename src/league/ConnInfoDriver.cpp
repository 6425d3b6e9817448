// The connection string handed to Qt's PostgreSQL driver: apart from ConnInfo.cpp, so that
// the game takes a string apart (LeagueSetting) without Qt SQL.

#include "league/ConnInfo.h"

#include <QSqlDatabase>
#include <QStringList>

namespace kf {

namespace {

QString quotedOption(const QString& value) {
    QString quoted = value;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

QString configureConnection(QSqlDatabase& db, const ConnInfo& info, int connectTimeoutS) {
    QStringList options;
    for (const auto& [key, value] : info.params) {
        if (key == QLatin1String("host") || key == QLatin1String("dbname") ||
            key == QLatin1String("user") || key == QLatin1String("password") ||
            key == QLatin1String("port"))
            continue;
        if (value.contains(QLatin1Char(';')))
            return QStringLiteral("the connection string is not valid: the value of %1 holds a ';'")
                .arg(key);
        options << key + QLatin1Char('=') + quotedOption(value);
    }
    if (!info.has(QStringLiteral("connect_timeout")))
        options << QStringLiteral("connect_timeout=%1").arg(connectTimeoutS);
    db.setHostName(info.value(QStringLiteral("host")));
    db.setDatabaseName(info.value(QStringLiteral("dbname")));
    db.setUserName(info.value(QStringLiteral("user")));
    db.setPassword(info.value(QStringLiteral("password")));
    const QString port = info.value(QStringLiteral("port"));
    bool plainPort = false;
    const int portNumber = port.toInt(&plainPort);
    if (plainPort)
        db.setPort(portNumber);
    else if (!port.isEmpty())
        options << QStringLiteral("port=") + quotedOption(port);
    db.setConnectOptions(options.join(QLatin1Char(' ')));
    return {};
}

} // namespace kf
