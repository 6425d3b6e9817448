#include "league/LeagueVerifier.h"

#include "league/LeagueConnection.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QtConcurrent/QtConcurrentRun>

namespace kf {

namespace {

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

// The verdicts as kf_record_proofs takes them: [{"id", "state", "reason"}, ...].
QByteArray verdicts(const QList<qint64>& ids, const QList<RunProof>& proofs) {
    QJsonArray rows;
    for (qsizetype i = 0; i < ids.size(); ++i)
        rows.append(
            QJsonObject{{QStringLiteral("id"), ids[i]},
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

    // The batch's tracks first: the driver drops what a query has not yet fetched when the next
    // one starts. Then each run is proven on the pool's threads as soon as its row is read, while
    // the next rows come in.
    const QString inBatch = ids.join(QLatin1Char(','));
    QHash<QString, std::shared_ptr<const ProvableTrack>> tracks;
    {
        QSqlQuery keys(m_db);
        if (QString failed = execOrMessage(
                keys, QStringLiteral("SELECT DISTINCT track_sha256 FROM submissions WHERE id IN "
                                     "(%1)")
                          .arg(inBatch));
            !failed.isEmpty())
            return fail(failed);
        QStringList wanted;
        while (keys.next())
            wanted << keys.value(0).toString();
        for (const QString& key : wanted) {
            QString failed;
            if (!(tracks[key] = track(key, failed)))
                return fail(failed);
        }
    }

    QList<qint64> runIds;
    QList<QFuture<RunProof>> proving;
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (QString failed = execOrMessage(
            query, QStringLiteral("SELECT id, track_sha256, time_ms, path FROM submissions "
                                  "WHERE id IN (%1) ORDER BY id")
                       .arg(inBatch));
        !failed.isEmpty())
        return fail(failed);
    while (query.next()) {
        runIds << query.value(0).toLongLong();
        proving << QtConcurrent::run([track = tracks.value(query.value(1).toString()),
                                      path = query.value(3).toByteArray(),
                                      claimedMs = query.value(2).toInt()] {
            return proveSubmission(*track, path, claimedMs);
        });
    }
    QList<RunProof> proofs;
    proofs.reserve(proving.size());
    for (QFuture<RunProof>& proof : proving)
        proofs << proof.result();

    QSqlQuery update(m_db);
    update.prepare(QStringLiteral("SELECT kf_record_proofs(?::json)"));
    update.addBindValue(QString::fromUtf8(verdicts(runIds, proofs)));
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
