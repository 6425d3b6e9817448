#include "tracks/TrackList.h"

#include "level/BitmapFile.h"
#include "level/TrackFolder.h"

#include <QFileInfo>

namespace kf {

namespace {

constexpr int kHistoryDelayMs = 100;

struct Scan {
    QImage thumbnail; // null: the picture does not load
    QString sha256;
};

Scan scanLevel(const QString& path) {
    const QImage picture = readBitmapFile(path);
    if (picture.isNull())
        return {};
    return {picture.scaled(TrackList::kThumbnailBox, Qt::KeepAspectRatio, Qt::FastTransformation),
            fileSha256(path)};
}

} // namespace

TrackList::TrackList(QObject* parent) : QAbstractTableModel(parent) {
    m_historyTimer.setSingleShot(true);
    m_historyTimer.setInterval(kHistoryDelayMs);
    connect(&m_historyTimer, &QTimer::timeout, this, &TrackList::askHistory);
}

TrackList::~TrackList() {
    // A reading still under way hands its result to this object: wait for it to end.
    m_pool.clear();
    m_pool.waitForDone();
}

void TrackList::showFolder(const QString& folder, const RunHistory* history) {
    m_pool.clear();
    m_historyTimer.stop();
    const int generation = ++m_generation;
    beginResetModel();
    m_folder = QFileInfo(folder).absoluteFilePath();
    m_history = history;
    m_rows.clear();
    for (const QString& path : levelFilesIn(m_folder)) {
        if (bitmapHeadersPass(path))
            m_rows.append({path, readRecord(recordPathFor(path)), {}, {}, {}});
    }
    m_pending = int(m_rows.size());
    endResetModel();
    for (const TrackRow& row : m_rows) {
        m_pool.start([this, generation, path = row.path] {
            const Scan scan = scanLevel(path);
            QMetaObject::invokeMethod(
                this,
                [this, generation, path, scan] {
                    deliver(generation, path, scan.thumbnail, scan.sha256);
                },
                Qt::QueuedConnection);
        });
    }
}

int TrackList::rowOf(const QString& path) const {
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].path == path)
            return i;
    }
    return -1;
}

void TrackList::deliver(int generation, const QString& path, const QImage& thumbnail,
                        const QString& sha256) {
    if (generation != m_generation)
        return;
    const int row = rowOf(path);
    if (row >= 0 && thumbnail.isNull()) {
        beginRemoveRows({}, row, row);
        m_rows.removeAt(row);
        endRemoveRows();
    } else if (row >= 0) {
        m_rows[row].thumbnail = QPixmap::fromImage(thumbnail);
        m_rows[row].sha256 = sha256;
        emit dataChanged(index(row, Picture), index(row, Picture));
    }
    if (--m_pending > 0) {
        if (!m_historyTimer.isActive())
            m_historyTimer.start();
        return;
    }
    m_historyTimer.stop();
    askHistory();
}

void TrackList::askHistory() {
    if (!m_history || !m_history->available())
        return;
    QStringList asked;
    for (const TrackRow& row : m_rows) {
        if (!row.sha256.isEmpty() && !row.tally)
            asked.append(row.sha256);
    }
    if (asked.isEmpty())
        return;
    const QHash<QString, LevelTally> tallies = m_history->talliesOf(asked);
    for (int i = 0; i < m_rows.size(); ++i) {
        if (!m_rows[i].sha256.isEmpty() && !m_rows[i].tally) {
            m_rows[i].tally = tallies.value(m_rows[i].sha256);
            emit dataChanged(index(i, Runs), index(i, Best));
        }
    }
}

int TrackList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TrackList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrackList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const TrackRow& row = m_rows[index.row()];
    const auto column = Column(index.column());
    if (role == Qt::DecorationRole && column == Picture && !row.thumbnail.isNull())
        return row.thumbnail;
    if (role == Qt::ToolTipRole)
        return row.path;
    if (role == Qt::TextAlignmentRole && column >= RecordTime)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const std::optional<LevelTally>& tally = row.tally;
    switch (column) {
    case Track:
        return QFileInfo(row.path).fileName();
    case Holder:
        return row.record ? row.record->name : QString::fromLatin1(kNobody);
    case RecordTime:
        return row.record ? QString::number(row.record->timeMs) : QString();
    case Runs:
        return tally ? QString::number(tally->runs) : QString();
    case Finished:
        return tally ? QString::number(tally->finished) : QString();
    case Best:
        return tally && tally->finished > 0 ? QString::number(tally->bestMs) : QString();
    default:
        return {};
    }
}

QVariant TrackList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[ColumnCount] = {
        "", "Track", "Record holder", "Record (ms)", "Runs", "Finished", "Your best (ms)"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kTitles[section])
                                                 : QVariant();
}

} // namespace kf
