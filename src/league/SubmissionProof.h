#pragma once

#include "run/GhostPath.h"
#include "run/RunProof.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

namespace kf {

// The fastest a run's pointer may move between two points of its path, in board pixels per
// millisecond: 200 px/ms is a 4K screen's width (3 840 px) in under 20 ms, beyond any hand
// on any mouse. A path's times are whole milliseconds, so two points t1 and t2 apart may lie
// up to t2 - t1 + 1 ms apart in truth: that is the time they are given.
inline constexpr int kMaxPixelsPerMs = 200;

// A league's track as the verifier proves runs on it: its picture, or why no run on it can be
// confirmed.
struct ProvableTrack {
    QImage picture; // Format_RGB32, as the board reads it
    QString refusal;
};

// The track of the bytes stored under `sha256`: refused when the bytes do not hash to it or
// are no loadable bitmap.
ProvableTrack provableTrack(const QString& sha256, const QByteArray& bytes);

// The first movement of `points` faster than kMaxPixelsPerMs, as a reason ("moves faster than
// 200 pixels per millisecond at N ms", N the time of the point moved to); nothing when none is.
std::optional<QString> speedBreach(const QList<GhostPoint>& points);

// A submitted run proven as `kurvenflitzerl-check --verify` proves a race's ghost (proveRun),
// and then against the speed limit. A track that is refused, or path bytes that are no path,
// refuse the run with that reason.
RunProof proveSubmission(const ProvableTrack& track, const QByteArray& pathBytes, int claimedMs);

} // namespace kf
