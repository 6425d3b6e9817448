#pragma once

#include "league/SubmissionProof.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>

#include <memory>

namespace kf {

// Proves the league's pending runs, a batch at a time: the batch's rows are locked (other
// verifiers skip them), each run proven on its track's stored bytes (proveSubmission) on every
// core at once, and every verdict written in the same transaction. The tracks of recent
// batches stay decoded, a few at most.
class LeagueVerifier {
public:
    // At most this many runs, and this many bytes of paths, in one batch (one run at least).
    static constexpr int kBatchRuns = 512;
    static constexpr qint64 kBatchPathBytes = 64 * 1024 * 1024;
    static constexpr int kKeptTracks = 8;

    struct Tally {
        int confirmed = 0;
        int refused = 0;
        QString failure; // the server's reason when proving stopped; empty otherwise
    };

    explicit LeagueVerifier(QSqlDatabase db) : m_db(std::move(db)) {}

    // One batch of the runs pending now; none proven when nothing is pending.
    Tally proveBatch();
    // Batches until no run is pending (or one fails).
    Tally provePending();

private:
    std::shared_ptr<const ProvableTrack> track(const QString& sha256, QString& failure);

    QSqlDatabase m_db;
    QHash<QString, std::shared_ptr<const ProvableTrack>> m_tracks;
};

} // namespace kf
