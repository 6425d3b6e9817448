#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

class QSqlDatabase;

namespace kf {

// A libpq connection string, taken apart into its keywords and values in the order given:
// either `key=value` pairs (a value in single quotes may hold blanks, with \' and \\ inside) or
// a URI `postgresql://[user[:password]@][host][:port][/dbname][?key=value&...]`, its parts
// percent-decoded. Later keywords win over earlier ones when the connection is made, as in
// libpq.
struct ConnInfo {
    QList<QPair<QString, QString>> params;

    // The value of the last `key`; empty when it is not given.
    QString value(const QString& key) const;
    bool has(const QString& key) const;
};

// The connection string taken apart, or the reason it cannot be, in one sentence.
struct ConnInfoParse {
    std::optional<ConnInfo> info;
    QString reason;
};
ConnInfoParse parseConnInfo(const QString& text);

// Hands the connection to Qt's PostgreSQL driver: host, port, database, user and password
// through its own fields (which it quotes), every other keyword through its options. The driver
// turns a ';' of the options into a blank, so a value of another keyword holding one is refused
// with a reason; an empty text means the database is ready to open. Without a connect_timeout
// a server that does not answer is given up after `connectTimeoutS` seconds.
inline constexpr int kDefaultConnectTimeoutS = 10;
QString configureConnection(QSqlDatabase& db, const ConnInfo& info,
                            int connectTimeoutS = kDefaultConnectTimeoutS);

} // namespace kf
