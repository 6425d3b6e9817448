#pragma once

#include "history/HistoryRun.h"

#include <QDate>
#include <QList>
#include <QPointF>

#include <optional>

class QSqlDatabase;

namespace kf {

// What the history window draws of one track, and nothing more: the chart's points thinned to
// the chart's pixel columns, and the ten best finished runs. x is a run's number among all runs
// of the track (the first run is 1), y a time in milliseconds.
struct HistoryOverview {
    // The finished runs' times, in the order of the runs. With more runs than columns, the
    // runs come in stretches of at most a column's runs, each in the column where it begins,
    // and each column gives the fastest and the slowest time of its stretches at the first run
    // of their stretch: spikes stay seen, and a point stands at most a column from its run.
    QList<QPointF> finished;
    // The best so far as a step line: the old best holds up to the run (with more runs than
    // columns, the column's point) that beats it, the new one from there on, to the last run.
    QList<QPointF> bestSoFar;
    // The failed runs at time 0; with more runs than columns, one mark per column whose
    // stretches hold a failed run, at the first run of the first such stretch.
    QList<QPointF> failed;
    // How many runs the track has: the chart's x range.
    qint64 runs = 0;
    // The slowest finished time, for the chart's y range; 0 while none finished.
    int slowestMs = 0;
    // The ten fastest finished runs, fastest first; of equal times the earlier.
    QList<HistoryRun> best;
    // Why the database could not be read, in a sentence for the player (troubleReasonFor); then
    // everything else is empty.
    std::optional<TroubleReason> unreadable;
};

// Reads the overview of the level's runs for a chart `columns` pixels wide, with the database
// doing the work: runs that fit the columns come one point each, exactly as they were run;
// more are aggregated by the database in stretches of at most one column's runs, which for a
// history of more than 128 runs a column are its blocks (prepareOverview). A few queries in
// one read transaction, on the connection's own thread.
HistoryOverview readOverview(const QSqlDatabase& db, const QString& levelSha256, int columns);

// The days whose track of the day has a finished run that started on that day (UTC), in no
// order; none when the database cannot be read.
QList<QDate> readDailyDaysFinished(const QSqlDatabase& db);

// Makes what the overview's queries need, once per database: indexes, and each track's runs in
// blocks of 128 consecutive runs with their counts and times, made in one transaction from the
// runs already there and kept by a trigger as runs are added. What is there already is only
// looked at, without the write lock. A table, indexes and a trigger only: a game that knows
// nothing of them reads and writes the file as before, and keeps the blocks right. False when
// something is missing and the database could not be written (locked, read-only); the overview
// then reads the runs without the blocks.
bool prepareOverview(const QSqlDatabase& db);

} // namespace kf
