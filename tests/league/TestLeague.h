#pragma once

#include "league/LeagueClient.h"
#include "league/LeagueConnection.h"
#include "league/LeagueSchema.h"
#include "run/GhostPath.h"
#include "support/PostgresServer.h"
#include "support/TinyTrack.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QStringList>
#include <gtest/gtest.h>

// A league of its own for one test: a fresh database `name` on the program's server, set up,
// with login roles for `players` (role names are the server's, so each test names its own).
struct TestLeague {
    QString database;
    QString error;

    TestLeague(const QString& name, const QStringList& players, const QStringList& verifiers = {})
        : database(name) {
        PostgresServer& server = PostgresServer::shared();
        if (!server.ready() || !(error = server.createDatabase(name)).isEmpty()) {
            error = server.ready() ? error : server.error();
            return;
        }
        kf::LeagueConnection owner(connInfo(QString::fromLatin1(PostgresServer::kOwner)));
        if (!owner.isOpen() || !(error = kf::setUpLeague(owner.database())).isEmpty()) {
            error = owner.isOpen() ? error : owner.reason();
            return;
        }
        for (const QString& player : players)
            if (error.isEmpty())
                error = kf::addLeagueRole(owner.database(), player, kf::LeagueRole::Player);
        for (const QString& verifier : verifiers)
            if (error.isEmpty())
                error = kf::addLeagueRole(owner.database(), verifier, kf::LeagueRole::Verifier);
    }

    QString connInfo(const QString& role) const {
        return PostgresServer::shared().connInfo(database, role);
    }
};

// A run on the tiny track of `points` (board pixels and ms) claiming `claimedMs`, finished
// `laterS` seconds after the first: a player's runs of a track differ in their finish.
inline kf::LeagueRun tinyRun(const QList<kf::GhostPoint>& points, int claimedMs, int laterS = 0) {
    kf::LeagueRun run{QStringLiteral("Tiny.bmp"),
                      tinyTrackBytes(),
                      claimedMs,
                      QDateTime(QDate(2026, 12, 1), QTime(18, 4, 5), Qt::UTC).addSecs(laterS),
                      {},
                      {}};
    for (const kf::GhostPoint& p : points)
        run.path.append(QPoint(p.x, p.y), p.ms);
    return run;
}

// Along the top row of the tiny track in 45 ms; round the wall below in 80 ms.
inline const QList<kf::GhostPoint> kTopRow = {{1, 1, 0}, {2, 1, 10}, {5, 1, 30}, {6, 1, 45}};
inline const QList<kf::GhostPoint> kRoundBelow = {{1, 2, 0}, {1, 4, 20}, {6, 4, 60}, {6, 2, 80}};

// One value of the first row of `sql`, run as the connection's role.
inline QVariant valueOf(const kf::LeagueConnection& connection, const QString& sql) {
    QSqlQuery query(connection.database());
    return query.exec(sql) && query.next() ? query.value(0) : QVariant();
}
