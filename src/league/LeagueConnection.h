#pragma once

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
    // defaults and the PG* variables of the environment.
    explicit LeagueConnection(const QString& connInfo);
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

// Runs `query` (prepared and bound, or `sql` when given); on failure the server's message,
// else an empty text.
QString execOrMessage(QSqlQuery& query, const QString& sql = {});

} // namespace kf
