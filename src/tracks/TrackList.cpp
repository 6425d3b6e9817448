#include "tracks/TrackList.h"

#include "check/SteeringIndex.h"
#include "level/FileName.h"
#include "level/TrackFolder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kf {

namespace {

constexpr int kHistoryDelayMs = 100;
// A few milliseconds of checks a job, so that the rows shown are checked first.
constexpr int kCheckBatch = 128;

} // namespace

TrackList::TrackList(QObject* parent) : QAbstractTableModel(parent) {
    m_pool.setMaxThreadCount(kThreads);
    m_historyTimer.setSingleShot(true);
    m_historyTimer.setInterval(kHistoryDelayMs);
    connect(&m_historyTimer, &QTimer::timeout, this, &TrackList::askHistory);
}

TrackList::~TrackList() {
    // Work under way hands its result to this object: stop it and wait for it to end.
    stopAll();
    m_pool.waitForDone();
}

void TrackList::showFolder(const QString& folder, HistoryWriter* history) {
    stopAll();
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    const QStringList paths = levelFilesIn(absolute);
    beginResetModel();
    m_folder = absolute;
    m_history = history;
    disconnect(m_talliesAnswer);
    if (history)
        m_talliesAnswer =
            connect(history, &HistoryWriter::talliesRead, this, &TrackList::takeTallies);
    m_rows = {};
    m_rows.reserve(paths.size());
    for (const QString& path : paths) {
        TrackRow& row = m_rows.emplace_back();
        row.id = int(m_rows.size()) - 1;
        row.path = path;
    }
    m_unchecked = int(m_rows.size());
    m_mostPicturesAtOnce = 0;
    endResetModel();
    startWork();
}

void TrackList::setShownRows(int first, int last) {
    m_shownFirst = first;
    m_shownLast = last;
    // A picture of a row far out of view would keep the rows shown waiting.
    for (const Running& r : m_running) {
        if (r.generation == m_generation && r.id >= 0 && !kept(rowOfId(r.id)))
            r.stop->store(true);
    }
    dropFarThumbnails();
    startWork();
}

void TrackList::clear() {
    stopAll();
    beginResetModel();
    m_rows = {};
    m_folder.clear();
    m_history = nullptr;
    disconnect(m_talliesAnswer);
    endResetModel();
}

void TrackList::stopAll() {
    for (const Running& r : m_running)
        r.stop->store(true);
    ++m_generation;
    m_historyTimer.stop();
    m_thumbnailed = {};
    m_unchecked = 0;
    m_shownFirst = 0;
    m_shownLast = -1;
}

int TrackList::rowOf(const QString& path) const {
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].path == path)
            return i;
    }
    return -1;
}

int TrackList::rowOfId(int id) const {
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), id,
                                     [](const TrackRow& row, int i) { return row.id < i; });
    return it != m_rows.end() && it->id == id ? int(it - m_rows.begin()) : -1;
}

void TrackList::startWork() {
    while (m_running.size() < kThreads && (startPicture() || startCheck())) {
    }
}

const TrackList::Running& TrackList::run(int id, qint64 cost) {
    m_running.append(
        {m_nextJob++, m_generation, id, cost, std::make_shared<std::atomic_bool>(false)});
    return m_running.last();
}

bool TrackList::startPicture() {
    qint64 cost = 0;
    int pictures = 0;
    for (const Running& r : m_running) {
        if (r.id >= 0) {
            cost += r.cost;
            ++pictures;
        }
    }
    const int last = std::min(m_shownLast, int(m_rows.size()) - 1);
    for (int row = std::max(0, m_shownFirst); row <= last; ++row) {
        const TrackRow& track = m_rows[row];
        const bool reading = std::any_of(m_running.begin(), m_running.end(), [&](const auto& r) {
            return r.generation == m_generation && r.id == track.id;
        });
        if (!track.checked || !track.thumbnail.isNull() || reading)
            continue;
        // One that does not fit waits for those under way, so a large picture is read alone.
        if (pictures > 0 && cost + track.readCost > kPictureBudget)
            return false;
        const Running& r = run(track.id, track.readCost);
        m_mostPicturesAtOnce = std::max(m_mostPicturesAtOnce, pictures + 1);
        m_pool.start([this, job = r.job, stop = r.stop, path = track.path] {
            const TrackPicture picture = readTrackPicture(path, kThumbnailBox, *stop);
            const bool stopped = stop->load();
            QMetaObject::invokeMethod(
                this, [this, job, picture, stopped] { pictureRead(job, picture, stopped); },
                Qt::QueuedConnection);
        });
        return true;
    }
    return false;
}

bool TrackList::startCheck() {
    const bool checking = std::any_of(m_running.begin(), m_running.end(), [&](const auto& r) {
        return r.generation == m_generation && r.id < 0;
    });
    if (m_unchecked == 0 || checking)
        return false;
    // From the first row shown to the end, then from the top.
    QList<std::pair<int, QString>> files;
    const int count = int(m_rows.size());
    const int from = std::clamp(m_shownFirst, 0, std::max(0, count - 1));
    for (int k = 0; k < count && files.size() < kCheckBatch; ++k) {
        const TrackRow& track = m_rows[(from + k) % count];
        if (!track.checked)
            files.append({track.id, track.path});
    }
    if (files.isEmpty())
        return false;
    const Running& r = run(-1, 0);
    m_pool.start([this, job = r.job, stop = r.stop, files] {
        const QList<TrackCheck> checks = checkTracks(files, *stop);
        QMetaObject::invokeMethod(
            this, [this, job, checks] { checksRead(job, checks); }, Qt::QueuedConnection);
    });
    return true;
}

std::optional<TrackList::Running> TrackList::finish(int job) {
    const auto it = std::find_if(m_running.begin(), m_running.end(),
                                 [job](const Running& r) { return r.job == job; });
    if (it == m_running.end())
        return std::nullopt;
    const Running finished = *it;
    m_running.erase(it);
    if (finished.generation != m_generation)
        return std::nullopt;
    return finished;
}

void TrackList::checksRead(int job, const QList<TrackCheck>& checks) {
    if (finish(job)) {
        QList<int> broken;
        int first = int(m_rows.size());
        int last = -1;
        for (const TrackCheck& check : checks) {
            const int row = rowOfId(check.id);
            if (row < 0 || m_rows[row].checked)
                continue;
            --m_unchecked;
            if (!check.readCost) {
                broken.append(row);
                continue;
            }
            TrackRow& track = m_rows[row];
            track.checked = true;
            track.readCost = *check.readCost;
            track.record = check.record;
            first = std::min(first, row);
            last = std::max(last, row);
        }
        if (last >= 0)
            emit dataChanged(index(first, Holder), index(last, RecordTime));
        removeRows(broken);
    }
    workEnded();
}

void TrackList::pictureRead(int job, const TrackPicture& picture, bool stopped) {
    const std::optional<Running> finished = finish(job);
    const int row = finished ? rowOfId(finished->id) : -1;
    if (row >= 0 && !stopped) {
        if (picture.thumbnail.isNull()) {
            removeRows({row});
        } else {
            TrackRow& track = m_rows[row];
            track.sha256 = picture.sha256;
            track.measured = picture.measured;
            track.difficulty = picture.difficulty;
            emit dataChanged(index(row, Difficulty), index(row, Difficulty));
            if (kept(row)) {
                track.thumbnail = QPixmap::fromImage(picture.thumbnail);
                m_thumbnailed.insert(track.id);
                emit dataChanged(index(row, Picture), index(row, Picture));
            }
        }
    }
    workEnded();
}

void TrackList::workEnded() {
    startWork();
    if (scanning()) {
        if (!m_historyTimer.isActive())
            m_historyTimer.start();
        return;
    }
    m_historyTimer.stop();
    askHistory();
}

void TrackList::removeRows(QList<int> rows) {
    // From the bottom, a run of neighbours at a time.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    for (qsizetype i = 0; i < rows.size();) {
        qsizetype j = i + 1;
        while (j < rows.size() && rows[j] == rows[j - 1] - 1)
            ++j;
        const int first = rows[j - 1];
        const int last = rows[i];
        beginRemoveRows({}, first, last);
        m_rows.remove(first, last - first + 1);
        endRemoveRows();
        i = j;
    }
}

bool TrackList::kept(int row) const {
    return row >= m_shownFirst - kKeptRows && row <= m_shownLast + kKeptRows;
}

void TrackList::dropFarThumbnails() {
    for (auto it = m_thumbnailed.begin(); it != m_thumbnailed.end();) {
        const int row = rowOfId(*it);
        if (row >= 0 && kept(row)) {
            ++it;
            continue;
        }
        if (row >= 0) {
            m_rows[row].thumbnail = QPixmap();
            emit dataChanged(index(row, Picture), index(row, Picture));
        }
        it = m_thumbnailed.erase(it);
    }
}

void TrackList::askHistory() {
    if (!m_history || !m_history->usable())
        return;
    QStringList asked;
    for (const TrackRow& row : m_rows) {
        if (!row.sha256.isEmpty() && !row.tally)
            asked.append(row.sha256);
    }
    if (asked.isEmpty())
        return;
    // The history's thread answers; a level it knows no runs of counts none.
    m_history->askTallies(asked);
}

void TrackList::takeTallies(const QHash<QString, LevelTally>& tallies) {
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
        return readableFileName(QDir::toNativeSeparators(row.path));
    if (role == Qt::TextAlignmentRole && (column == Difficulty || column >= RecordTime))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const std::optional<LevelTally>& tally = row.tally;
    switch (column) {
    case Track:
        return readableFileName(QFileInfo(row.path).fileName());
    case Difficulty:
        if (!row.measured)
            return QString();
        return row.difficulty ? difficultyText(*row.difficulty) : QStringLiteral("not playable");
    case Holder:
        if (!row.checked)
            return QString();
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
        "",     "Track",    "Difficulty",    "Record holder", "Record (ms)",
        "Runs", "Finished", "Your best (ms)"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kTitles[section])
                                                 : QVariant();
}

} // namespace kf
