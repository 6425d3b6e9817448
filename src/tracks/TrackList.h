#pragma once

#include "history/RunHistory.h"
#include "record/RecordFile.h"

#include <QAbstractTableModel>
#include <QPixmap>
#include <QThreadPool>
#include <QTimer>

#include <optional>

namespace kf {

// One level file of the folder as the track browser lists it.
struct TrackRow {
    QString path;
    std::optional<TrackRecord> record; // nullopt: no record file
    QPixmap thumbnail;                 // null until the picture has been read
    QString sha256;                    // empty until the file has been read
    std::optional<LevelTally> tally;   // nullopt until the history has been asked
};

// The loadable levels of one folder, in the order of levelFilesIn, with the record of each and,
// from the run history, its runs, finished runs and best finished time. Listing costs only the
// headers and the record files, on the calling thread; the pictures are read (thumbnails and the
// SHA-256 of the files) on other threads, nearest the top first, and a file whose picture does
// not load then leaves the list. The history is asked from the calling thread, for all the rows
// read since it was last asked in one query, at most every 100 ms.
class TrackList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Picture, Track, Holder, RecordTime, Runs, Finished, Best, ColumnCount };
    // The box a thumbnail fits into, its picture scaled without smoothing and its shape kept.
    static constexpr QSize kThumbnailBox{96, 72};

    explicit TrackList(QObject* parent = nullptr);
    ~TrackList() override;

    // Lists the folder's level files afresh; `history` may be null or unavailable (no counts).
    void showFolder(const QString& folder, const RunHistory* history);
    const QString& folder() const { return m_folder; }
    const TrackRow& track(int row) const { return m_rows.at(row); }
    // The row of the level file at `path`, or -1.
    int rowOf(const QString& path) const;
    // Whether pictures are still being read; once not, the broken files are gone and the
    // history has been asked.
    bool scanning() const { return m_pending > 0; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // A picture read: its thumbnail (null when it does not load) and its file's SHA-256.
    void deliver(int generation, const QString& path, const QImage& thumbnail,
                 const QString& sha256);
    void askHistory();

    QList<TrackRow> m_rows;
    QString m_folder;
    const RunHistory* m_history = nullptr;
    QThreadPool m_pool;
    QTimer m_historyTimer;
    int m_generation = 0;
    int m_pending = 0;
};

} // namespace kf
