#include "history/PendingRuns.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>
#include <QtEndian>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace kf {

namespace {

constexpr char kMagic[4] = {'K', 'F', 'P', 'R'};
constexpr int kHeaderBytes = 4 + 4 + 8 + 2;
// A run's figures take a few hundred bytes; its path at most GhostPath's bound.
constexpr qint64 kMaxDataBytes = GhostPath::kMaxBytes + 64 * 1024;
const QString kSuffix = QStringLiteral(".runs");

QString folderBeside(const QString& databasePath) {
    return QFileInfo(databasePath).absolutePath() + QStringLiteral("/pending");
}

quint16 checksum(const QByteArray& seqAndData) {
    return qChecksum(QByteArrayView(seqAndData));
}

// Writes all of `bytes` at the end of the file, or leaves the file as it was.
bool appendWhole(int fd, const QByteArray& bytes) {
    const off_t before = lseek(fd, 0, SEEK_END);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0) {
            // A run cut short would end the file for its reader: take it back.
            if (before >= 0)
                (void)ftruncate(fd, before);
            return false;
        }
        done += n;
    }
    return true;
}

bool readWhole(int fd, char* into, qint64 count) {
    while (count > 0) {
        const ssize_t n = ::read(fd, into, size_t(count));
        if (n <= 0)
            return false;
        into += n;
        count -= n;
    }
    return true;
}

} // namespace

QByteArray encodePendingRun(const PendingRun& pending) {
    QByteArray data;
    {
        QDataStream out(&data, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_4);
        const HistoryRun& r = pending.run;
        const bool pathFits = pending.path.points().size() <= GhostPath::kMaxPoints;
        out << r.levelSha256 << r.levelName << r.startedUtc.toUTC().toString(Qt::ISODateWithMs)
            << r.match << r.player << qint32(r.outcome) << qint32(r.timeMs) << qint64(r.distancePx)
            << qint64(r.speedPxPerS)
            << (pathFits && !pending.path.isEmpty() ? pending.path.encode() : QByteArray())
            << r.league;
    }
    QByteArray seqAndData(8, '\0');
    qToLittleEndian<quint64>(quint64(pending.seq), seqAndData.data());
    seqAndData += data;
    QByteArray bytes(kMagic, 4);
    bytes.resize(kHeaderBytes - 8 - 2);
    qToLittleEndian<quint32>(quint32(data.size()), bytes.data() + 4);
    bytes += seqAndData.left(8);
    QByteArray sum(2, '\0');
    qToLittleEndian<quint16>(checksum(seqAndData), sum.data());
    bytes += sum;
    bytes += data;
    return bytes;
}

std::optional<PendingRun> decodePendingRun(const QByteArray& bytes) {
    if (bytes.size() < kHeaderBytes || !bytes.startsWith(QByteArrayView(kMagic, 4)))
        return std::nullopt;
    const char* in = bytes.constData();
    const quint32 length = qFromLittleEndian<quint32>(in + 4);
    if (length > kMaxDataBytes || bytes.size() != kHeaderBytes + qsizetype(length))
        return std::nullopt;
    const QByteArray seqAndData = bytes.mid(8, 8) + bytes.mid(kHeaderBytes);
    if (qFromLittleEndian<quint16>(in + 16) != checksum(seqAndData))
        return std::nullopt;
    PendingRun pending;
    pending.seq = qint64(qFromLittleEndian<quint64>(in + 8));
    QDataStream data(bytes.mid(kHeaderBytes));
    data.setVersion(QDataStream::Qt_6_4);
    HistoryRun& r = pending.run;
    QString started;
    qint32 outcome = 0;
    qint32 timeMs = 0;
    qint64 distance = 0;
    qint64 speed = 0;
    QByteArray path;
    data >> r.levelSha256 >> r.levelName >> started >> r.match >> r.player >> outcome >> timeMs >>
        distance >> speed >> path;
    // A run kept by a game before leagues ends with its path: it goes to no league.
    if (!data.atEnd())
        data >> r.league;
    if (data.status() != QDataStream::Ok || outcome < 0 || outcome > int(RunEnd::Release))
        return std::nullopt;
    r.startedUtc = QDateTime::fromString(started, Qt::ISODateWithMs);
    r.outcome = RunEnd(outcome);
    r.timeMs = timeMs;
    r.distancePx = long(distance);
    r.speedPxPerS = long(speed);
    if (!path.isEmpty()) {
        std::optional<GhostPath> decoded = GhostPath::decode(path);
        if (!decoded)
            return std::nullopt;
        pending.path = std::move(*decoded);
    }
    return pending;
}

PendingRuns::PendingRuns(const QString& databasePath) : m_folder(folderBeside(databasePath)) {
    if (!QDir().mkpath(m_folder))
        return;
    // The process id and a random part: no two games, here or on another machine sharing
    // the home folder, pick the same name.
    for (int attempt = 0; attempt < 8 && m_fd < 0; ++attempt) {
        m_name = QStringLiteral("%1-%2%3")
                     .arg(getpid())
                     .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'))
                     .arg(kSuffix);
        const QByteArray path = QFile::encodeName(m_folder + QLatin1Char('/') + m_name);
        m_fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    }
    if (m_fd >= 0 && flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

PendingRuns::~PendingRuns() {
    if (m_fd >= 0)
        ::close(m_fd);
}

qint64 PendingRuns::append(const HistoryRun& run, const GhostPath& path) {
    QMutexLocker lock(&m_mutex);
    const qint64 seq = ++m_lastSeq;
    if (m_fd >= 0)
        appendWhole(m_fd, encodePendingRun({seq, run, path}));
    return seq;
}

void PendingRuns::written(qint64 seq) {
    QMutexLocker lock(&m_mutex);
    m_writtenSeq = std::max(m_writtenSeq, seq);
    if (m_fd >= 0 && m_writtenSeq == m_lastSeq)
        (void)ftruncate(m_fd, 0);
}

bool PendingRuns::removeIfAllWritten() {
    QMutexLocker lock(&m_mutex);
    if (m_fd < 0 || m_writtenSeq != m_lastSeq)
        return false;
    QFile::remove(m_folder + QLatin1Char('/') + m_name);
    ::close(m_fd);
    m_fd = -1;
    return true;
}

AdoptedRuns::AdoptedRuns(const QString& path, int fd) : m_path(path), m_fd(fd) {}

AdoptedRuns::~AdoptedRuns() {
    if (m_fd >= 0)
        ::close(m_fd);
}

QString AdoptedRuns::fileName() const {
    return QFileInfo(m_path).fileName();
}

QList<PendingRun> AdoptedRuns::read() const {
    QList<PendingRun> runs;
    if (m_fd < 0 || lseek(m_fd, 0, SEEK_SET) != 0)
        return runs;
    for (;;) {
        QByteArray bytes(kHeaderBytes, '\0');
        if (!readWhole(m_fd, bytes.data(), kHeaderBytes))
            break;
        const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + 4);
        // The length is checked before anything is allocated for it.
        if (!bytes.startsWith(QByteArrayView(kMagic, 4)) || length > kMaxDataBytes)
            break;
        bytes.resize(kHeaderBytes + qsizetype(length));
        if (!readWhole(m_fd, bytes.data() + kHeaderBytes, length))
            break;
        std::optional<PendingRun> run = decodePendingRun(bytes);
        if (!run || (!runs.isEmpty() && run->seq <= runs.last().seq))
            break;
        runs.append(std::move(*run));
    }
    return runs;
}

void AdoptedRuns::remove() {
    QFile::remove(m_path);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

std::vector<std::unique_ptr<AdoptedRuns>> adoptPendingRuns(const QString& databasePath,
                                                           const QString& ownFile) {
    std::vector<std::unique_ptr<AdoptedRuns>> adopted;
    const QDir folder(folderBeside(databasePath));
    const QStringList names = folder.entryList({QStringLiteral("*") + kSuffix},
                                               QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QString& name : names) {
        if (name == ownFile)
            continue;
        const QByteArray path = QFile::encodeName(folder.filePath(name));
        const int fd = ::open(path.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A game that still runs holds its file's lock; a file another game has just written
        // and deleted is no longer in the folder.
        struct stat st {};
        if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &st) != 0 || st.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        adopted.push_back(std::make_unique<AdoptedRuns>(folder.filePath(name), fd));
    }
    return adopted;
}

} // namespace kf
