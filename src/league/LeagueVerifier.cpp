#include "league/LeagueVerifier.h"

#include "league/LeagueConnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QtConcurrent/QtConcurrentMap>

namespace kf {

namespace {

struct PendingRun {
    qint64 id = 0;
    int claimedMs = 0;
    QByteArray path;
    std::shared_ptr<const ProvableTrack> track;
};

// The pending runs of one batch, locked for this transaction (other verifiers skip them), their
// paths within the batch's bytes: sizes first, so that a batch of large paths is never read whole.
QString lockBatch(QSqlDatabase& db, QStringList& ids) {
    QSqlQuery sizes(db);
    sizes.setForwardOnly(true);
    if (QString failed =
            execOrMessage(sizes, QStringLiteral("SELECT id, path_bytes FROM kf_lock_pending(%1)")
                                     .arg(LeagueVerifier::kBatchRuns));
        !failed.isEmpty())
        return failed;
    qint64 bytes = 0;
    while (sizes.next()) {
        bytes += sizes.value(1).toLongLong();
        if (!ids.isEmpty() && bytes > LeagueVerifier::kBatchPathBytes)
            break;
        ids << sizes.value(0).toString();
    }
    return {};
}

QByteArray verdicts(const QList<PendingRun>& runs, const QList<RunProof>& proofs) {
    QJsonArray rows;
    for (qsizetype i = 0; i < runs.size(); ++i)
        rows.append(
            QJsonObject{{QStringLiteral("id"), runs[i].id},
                        {QStringLiteral("state"), proofs[i].confirmed ? QStringLiteral("confirmed")
                                                                      : QStringLiteral("refused")},
                        {QStringLiteral("reason"),
                         proofs[i].confirmed ? QJsonValue() : QJsonValue(proofs[i].reason)}});
    return QJsonDocument(rows).toJson(QJsonDocument::Compact);
}

} // namespace

std::shared_ptr<const ProvableTrack> LeagueVerifier::track(const QString& sha256,
                                                           QString& failure) {
    if (const auto kept = m_tracks.constFind(sha256); kept != m_tracks.cend())
        return *kept;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT bytes FROM tracks WHERE sha256 = ?"));
    query.addBindValue(sha256);
    if (failure = execOrMessage(query); !failure.isEmpty())
        return nullptr;
    auto made = std::make_shared<const ProvableTrack>(
        query.next() ? provableTrack(sha256, query.value(0).toByteArray())
                     : ProvableTrack{{}, QStringLiteral("the track is not in the league")});
    if (m_tracks.size() >= kKeptTracks)
        m_tracks.clear();
    m_tracks.insert(sha256, made);
    return made;
}

LeagueVerifier::Tally LeagueVerifier::proveBatch() {
    Tally tally;
    if (!m_db.transaction())
        return {0, 0, serverMessage(m_db.lastError())};
    const auto fail = [&](const QString& failure) {
        m_db.rollback();
        return Tally{0, 0, failure};
    };

    QStringList ids;
    if (QString failed = lockBatch(m_db, ids); !failed.isEmpty())
        return fail(failed);
    if (ids.isEmpty()) {
        m_db.commit();
        return tally;
    }

    // Every row read before the tracks: the driver drops what a query has not yet fetched when
    // the next one starts.
    QList<PendingRun> runs;
    QStringList trackKeys;
    runs.reserve(ids.size());
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (QString failed = execOrMessage(
            query, QStringLiteral("SELECT id, track_sha256, time_ms, path FROM submissions "
                                  "WHERE id IN (%1) ORDER BY id")
                       .arg(ids.join(QLatin1Char(','))));
        !failed.isEmpty())
        return fail(failed);
    while (query.next()) {
        runs.append({query.value(0).toLongLong(), query.value(2).toInt(),
                     query.value(3).toByteArray(), nullptr});
        trackKeys << query.value(1).toString();
    }
    for (qsizetype i = 0; i < runs.size(); ++i) {
        QString failed;
        runs[i].track = track(trackKeys[i], failed);
        if (!runs[i].track)
            return fail(failed);
    }

    const QList<RunProof> proofs =
        QtConcurrent::blockingMapped<QList<RunProof>>(runs, [](const PendingRun& run) {
            return proveSubmission(*run.track, run.path, run.claimedMs);
        });

    QSqlQuery update(m_db);
    update.prepare(QStringLiteral("SELECT kf_record_proofs(?::json)"));
    update.addBindValue(QString::fromUtf8(verdicts(runs, proofs)));
    if (QString failed = execOrMessage(update); !failed.isEmpty())
        return fail(failed);
    if (!m_db.commit())
        return fail(serverMessage(m_db.lastError()));
    for (const RunProof& proof : proofs)
        ++(proof.confirmed ? tally.confirmed : tally.refused);
    return tally;
}

LeagueVerifier::Tally LeagueVerifier::provePending() {
    Tally total;
    while (true) {
        const Tally batch = proveBatch();
        total.confirmed += batch.confirmed;
        total.refused += batch.refused;
        total.failure = batch.failure;
        if (!batch.failure.isEmpty() || batch.confirmed + batch.refused == 0)
            return total;
    }
}

} // namespace kf
