#pragma once

#include "league/ConnInfo.h"

#include <QSqlDatabase>
#include <QString>

class QSqlError;
class QSqlQuery;

namespace kf {

// One connection to a league's database through Qt's PostgreSQL driver, under a connection
// name of its own, removed again when it goes. Used on the thread that made it only.
class LeagueConnection {
public:
    // Connects with a libpq connection string; an empty one leaves everything to libpq's
    // defaults and the PG* variables of the environment. A string without a connect_timeout
    // gives a server that does not answer `connectTimeoutS` seconds.
    explicit LeagueConnection(const QString& connInfo,
                              int connectTimeoutS = kDefaultConnectTimeoutS);
    ~LeagueConnection();
    LeagueConnection(const LeagueConnection&) = delete;
    LeagueConnection& operator=(const LeagueConnection&) = delete;

    bool isOpen() const { return m_reason.isEmpty(); }
    // Why there is no connection, in one sentence; empty while open.
    const QString& reason() const { return m_reason; }
    QSqlDatabase database() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    QString m_reason;
};

// What the server said, in one line: its message without the "ERROR:" label or the
// driver's own words.
QString serverMessage(const QSqlError& error);

// Whether the connection still answers: open, and a trivial statement goes through. Asked
// after a failure, outside any transaction, to tell a lost server from a refused statement.
bool connectionAnswers(QSqlDatabase db);

// Runs `query` (prepared and bound, or `sql` when given); on failure the server's message,
// else an empty text.
QString execOrMessage(QSqlQuery& query, const QString& sql = {});

} // namespace kf
