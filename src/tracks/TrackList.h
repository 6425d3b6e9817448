#pragma once

#include "history/HistoryWriter.h"
#include "record/RecordFile.h"
#include "tracks/TrackReading.h"

#include <QAbstractTableModel>
#include <QPixmap>
#include <QSet>
#include <QThreadPool>
#include <QTimer>

#include <atomic>
#include <memory>
#include <optional>

namespace kf {

// One level file of the folder as the track browser lists it.
struct TrackRow {
    int id = 0;                        // the file's place in the listing; rows stay in this order
    QString path;                      // in the bytes of the system's name (decodeFileName)
    bool checked = false;              // headers and record file read
    qint64 readCost = 0;               // what reading its picture holds (bitmapReadCost)
    std::optional<TrackRecord> record; // nullopt: no record file, or not read yet
    QPixmap thumbnail;                 // null until the picture has been read, and once far
                                       // out of view again
    QString sha256;                    // empty until the file has been read
    bool measured = false;             // the difficulty is known (TrackPicture::measured)
    std::optional<int> difficulty;     // in tenths; nullopt: not playable, or not measured
    std::optional<LevelTally> tally;   // nullopt until the history has been asked
};

// The loadable levels of one folder, in the order of levelFilesIn, with the difficulty and the
// record of each and, from the run history, its runs, finished runs and best finished time.
//
// Listing costs only the folder's names on the calling thread, so a folder of any size shows at
// once. The rest is read on at most two other threads: the headers and the record files of all
// rows in batches, those shown first, and a file whose headers fail leaves the list; the
// pictures only of the rows shown (setShownRows), each file read once for its thumbnail, its
// SHA-256 and its difficulty (readTrackPicture), and a file whose picture does not load leaves the
// list too. Pictures are read two at a time while what they hold together stays within
// kPictureBudget; a larger one is read alone. The thumbnails of rows more than kKeptRows away from
// those shown are dropped. The history is asked from the calling thread, for all the rows read
// since it was last asked in one query, at most every 100 ms.
class TrackList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Picture,
        Track,
        Difficulty,
        Holder,
        RecordTime,
        Runs,
        Finished,
        Best,
        ColumnCount
    };
    // The box a thumbnail fits into, its picture scaled without smoothing and its shape kept.
    static constexpr QSize kThumbnailBox{96, 72};
    static constexpr int kThreads = 2;
    static constexpr qint64 kPictureBudget = qint64{64} * 1024 * 1024;
    static constexpr int kKeptRows = 50;

    explicit TrackList(QObject* parent = nullptr);
    ~TrackList() override;

    // Lists the folder's level files afresh; `history` may be null or unavailable (no counts).
    void showFolder(const QString& folder, HistoryWriter* history);
    // The rows the view shows, `last` < `first` for none. Pictures are read for them alone;
    // reading of pictures far from them stops.
    void setShownRows(int first, int last);
    // Empties the list and stops all reading: nothing more starts, reading under way ends
    // within a few milliseconds, and the rows and thumbnails are given back.
    void clear();

    const QString& folder() const { return m_folder; }
    const TrackRow& track(int row) const { return m_rows.at(row); }
    // The row of the level file at `path`, or -1.
    int rowOf(const QString& path) const;
    // Whether anything is being read; once not, the broken files among the rows shown are
    // gone and the history has been asked.
    bool scanning() const { return !m_running.isEmpty(); }
    // The most pictures read at once since the folder was listed.
    int mostPicturesAtOnce() const { return m_mostPicturesAtOnce; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    // Work handed to a thread: a batch of checks (row -1) or the picture of one row, by id.
    struct Running {
        int job = 0;
        int generation = 0;
        int id = -1;
        qint64 cost = 0;
        std::shared_ptr<std::atomic_bool> stop;
    };

    // Stops all reading; what is under way still ends, and its result is dropped.
    void stopAll();
    // Starts work while threads are free and the budget allows, the pictures shown first.
    void startWork();
    bool startPicture();
    bool startCheck();
    const Running& run(int id, qint64 cost);
    // Takes the job off the running ones; nullopt when it belongs to an older listing.
    std::optional<Running> finish(int job);
    void checksRead(int job, const QList<TrackCheck>& checks);
    void pictureRead(int job, const TrackPicture& picture, bool stopped);
    void workEnded();
    void removeRows(QList<int> rows);
    // Whether a row is near enough to those shown to keep its thumbnail.
    bool kept(int row) const;
    void dropFarThumbnails();
    void askHistory();
    void takeTallies(const QHash<QString, LevelTally>& tallies);
    // The row of a file by its id, or -1; the rows are in the order of their ids.
    int rowOfId(int id) const;

    QList<TrackRow> m_rows;
    QString m_folder;
    HistoryWriter* m_history = nullptr;
    QMetaObject::Connection m_talliesAnswer;
    QThreadPool m_pool;
    QTimer m_historyTimer;
    QList<Running> m_running;
    QSet<int> m_thumbnailed; // ids of the rows that hold a thumbnail
    int m_generation = 0;
    int m_nextJob = 0;
    int m_unchecked = 0;
    int m_shownFirst = 0;
    int m_shownLast = -1;
    int m_mostPicturesAtOnce = 0;
};

} // namespace kf
