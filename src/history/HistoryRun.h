#pragma once

#include "run/GhostPath.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace kf {

// How a run ended, as the history stores it.
enum class RunEnd { Finished, Wall, Release };

// One run as the history keeps it. `player` is the record name entered after the run, the
// match player, or empty. `league` is the connection string of the league a finished single
// run goes to (empty: none); the history keeps such a run for the league until it is sent.
struct HistoryRun {
    QString levelSha256;
    QString levelName;
    QDateTime startedUtc;
    bool match = false;
    QString player;
    RunEnd outcome = RunEnd::Finished;
    int timeMs = 0;
    long distancePx = 0;
    long speedPxPerS = 0;
    qint64 id = 0;       // the history's number for a stored run; 0 for one not stored yet
    QString league = {}; // initialized, so that a run listed field by field may leave it out
};

// A stored run with the path it took, to be watched again.
struct WatchedRun {
    HistoryRun run;
    GhostPath path;
};

// Whether a run can be stored at all: a level's SHA-256, a start time and no negative figure.
// A run that is not is refused where it is made, so one bad row never costs the history.
bool isStorable(const HistoryRun& run);

// A finished run kept for a league and not sent yet: the run (its id and `league` set), its
// path's bytes as stored (GhostPath::encode), and its track's bytes when the history holds
// them (empty otherwise).
struct LeagueOutboxRun {
    HistoryRun run;
    QByteArray path;
    QByteArray trackBytes;
};

// The oldest runs kept for one league, and how many runs wait for it on each track (by the
// track's SHA-256), all of them counted.
struct LeagueOutbox {
    QList<LeagueOutboxRun> runs;
    QHash<QString, qint64> waitingByTrack;
};

// A ghost that another player's run gave, from a race file: kept in the history for its track
// until the player forgets it.
struct SharedGhost {
    qint64 id = 0; // the history's number for it; 0 before it is kept
    QString player;
    int timeMs = 0;
    QDateTime finishedUtc;
    GhostPath path;
};

// Every ghost of a track: the path of the player's own best finished run, and the shared ones
// in the order they were kept.
struct TrackGhosts {
    std::optional<GhostPath> own;
    QList<SharedGhost> shared;
};

// What the history holds of one level: how many runs, how many of them finished, and the best
// finished time in milliseconds (0 while none finished).
struct LevelTally {
    int runs = 0;
    int finished = 0;
    int bestMs = 0;
};

// What stands between the history and its database: nothing, something that passes (another
// program's lock, a full disk, a file made read-only: the runs wait and are written later), or
// something that lasts for the session (a damaged database, one of a version this game did not
// write, not a database at all, no SQLite driver, the game's part for its database missing).
enum class Trouble { None, Passing, Lasting };

// A trouble and the sentence that tells the player about it.
struct TroubleReason {
    Trouble trouble;
    QString reason;
};

// What became of a run handed to the store.
enum class Stored {
    Written, // in the database
    Refused, // a run that can never be stored (see isStorable, or refused by the database)
    Waiting, // the database cannot be written now (passing trouble): try again later
    Never,   // the store is unavailable for the session
};

// Where a run handed over from a file of waiting runs came from: the file's name and the run's
// number in it. The store notes the highest number written for each file in the same
// transaction as the run, so a run is never written twice, whenever the game stops.
struct PendingMark {
    QString file;
    qint64 seq = 0;
};

// The player's history database: `<data folder>/kurvenflitzerl/history.sqlite`, the data
// folder being $XDG_DATA_HOME, else ~/.local/share.
QString defaultHistoryPath();

// The SHA-256 of a level file's bytes in lower-case hex: of the very bytes its picture was
// read from, never of the file opened again.
QString bytesSha256(const QByteArray& bytes);

} // namespace kf
