#pragma once

#include "history/HistoryRun.h"

#include <QList>
#include <QMutex>
#include <QString>

namespace kf {

// One run waiting to be written: its number in its file, the run and its path.
struct PendingRun {
    qint64 seq = 0;
    HistoryRun run;
    GhostPath path;
};

// The runs a game has handed to the history and that are not in the database yet, kept from
// the moment they are handed over in a file of the game's own beside the database:
// `<database folder>/pending/<process id>-<random>.runs`. The file is in the system's hands
// with each run (one write, no flush to the disk), so a game that is killed, or that ends
// while the database is locked or its disk is full, loses none of its runs: the next game
// writes them. A game holds a lock on its file while it runs, so another game only takes over
// the files of games that are gone.
//
// Each run in a file is, all numbers little-endian:
//
//     4 bytes   "KFPR"
//     4 bytes   length n of the run's data, unsigned
//     8 bytes   the run's number in the file, from 1, rising
//     2 bytes   CRC-16 (qChecksum) of the number's 8 bytes and the run's data
//     n bytes   the run's data: a QDataStream (Qt 6.4) of its figures, its path's bytes and
//               its league (a game before leagues ended the data with the path: no league)
//
// A run cut short or garbled ends the file for the reader; what follows it is not read.
class PendingRuns {
public:
    // Makes this game's file beside the database at `databasePath`. When the folder cannot be
    // written the runs are still handed over, only not kept beyond the session.
    explicit PendingRuns(const QString& databasePath);
    ~PendingRuns();
    PendingRuns(const PendingRuns&) = delete;
    PendingRuns& operator=(const PendingRuns&) = delete;

    // The file's name in the folder: the key under which the database notes its runs written.
    const QString& fileName() const { return m_name; }
    // Whether runs handed over are kept in the file.
    bool durable() const { return m_fd >= 0; }
    // Keeps one run in the file under the next number, which it returns. Safe to call on
    // one thread while written() is called on another.
    qint64 append(const HistoryRun& run, const GhostPath& path);
    // The run numbered `seq` and all before it are in the database: the file is emptied when
    // no later run has been appended.
    void written(qint64 seq);
    // Removes the file when every run appended to it is written; whether it is gone.
    bool removeIfAllWritten();

private:
    QString m_folder;
    QString m_name;
    int m_fd = -1;
    QMutex m_mutex;
    qint64 m_lastSeq = 0;
    qint64 m_writtenSeq = 0;
};

// The file of waiting runs of a game that is gone, locked for this game while it lives.
class AdoptedRuns {
public:
    AdoptedRuns(const QString& path, int fd);
    ~AdoptedRuns();
    AdoptedRuns(const AdoptedRuns&) = delete;
    AdoptedRuns& operator=(const AdoptedRuns&) = delete;

    QString fileName() const;
    // The runs of the file in order, up to the first that is cut short or garbled.
    QList<PendingRun> read() const;
    // Deletes the file, once each of its runs is written.
    void remove();

private:
    QString m_path;
    int m_fd = -1;
};

// Takes over the files of waiting runs beside the database whose games are gone (their locks
// are free), oldest first by name; never the file named `ownFile`.
std::vector<std::unique_ptr<AdoptedRuns>> adoptPendingRuns(const QString& databasePath,
                                                           const QString& ownFile);

// A run's bytes in a file of waiting runs, and back; nothing from bytes that are not one.
QByteArray encodePendingRun(const PendingRun& pending);
std::optional<PendingRun> decodePendingRun(const QByteArray& bytes);

} // namespace kf
