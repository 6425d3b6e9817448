#pragma once

#include <QString>
#include <QTemporaryDir>

// A PostgreSQL server of a test program's own, started by scripts/league-server.sh in a fresh
// temporary folder: its socket there, no TCP, no fsync; run as the user running the tests, or
// as an unprivileged user when that is root. Stopped and removed when the object goes.
// Without PostgreSQL's server programs it is not ready and says why.
class PostgresServer {
public:
    // The server's owner, a superuser; every role on the socket is trusted.
    static constexpr char kOwner[] = "kfadmin";

    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    // One server for the whole program, started at its first use; stopShared() ends it.
    static PostgresServer& shared();
    static void stopShared();

    bool ready() const { return m_error.isEmpty(); }
    // Why the server did not start, with the script's own words.
    const QString& error() const { return m_error; }
    const QString& folder() const { return m_folder; }

    // A libpq connection string for `database` as `role`.
    QString connInfo(const QString& database, const QString& role = QLatin1String(kOwner)) const;
    // A fresh database; empty on success, else the reason.
    QString createDatabase(const QString& name) const;
    // Stops the server, as when it goes down, and starts it again with its data; empty on
    // success, else the reason.
    QString stop() const;
    QString start() const;

private:
    QTemporaryDir m_dir;
    QString m_folder;
    QString m_error;
};
