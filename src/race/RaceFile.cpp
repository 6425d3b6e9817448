#include "race/RaceFile.h"

#include "level/BitmapFile.h"
#include "level/FileName.h"
#include "level/FileReplace.h"
#include "level/RegularFile.h"
#include "race/RaceManifest.h"
#include "race/ZipArchive.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSet>

#include <algorithm>

#include <sys/stat.h>

namespace kf {

namespace {

const QByteArray kManifestEntry = QByteArrayLiteral("race.json");
const QByteArray kTrackEntry = QByteArrayLiteral("track.bmp");

QString sha256Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

QString fileNameOnly(const QString& path) {
    return shownName(readableFileName(path.mid(path.lastIndexOf(QLatin1Char('/')) + 1)));
}

RaceReading unusable(const QString& fileName, const QString& clause) {
    return {std::nullopt, QStringLiteral("The race file \"%1\" cannot be used: %2.")
                              .arg(fileNameOnly(fileName), clause)};
}

QString quotedEntry(const QByteArray& name) {
    return QLatin1Char('"') + shownName(decodeFileName(name)) + QLatin1Char('"');
}

// "ghosts/<n>.path" with n from 1 to `most`, written without a leading zero.
bool isGhostEntryName(const QByteArray& name, qsizetype most = 999'999'999) {
    if (!name.startsWith("ghosts/") || !name.endsWith(".path"))
        return false;
    const QByteArray digits = name.mid(7, name.size() - 12);
    return !digits.isEmpty() && digits.size() <= 9 && digits[0] != '0' &&
           std::all_of(digits.cbegin(), digits.cend(),
                       [](char c) { return c >= '0' && c <= '9'; }) &&
           digits.toInt() <= most;
}

// Why an entry of this name cannot stand in a race file, as a clause; empty when it may.
QString entryNameProblem(const QByteArray& name) {
    if (name.startsWith('/'))
        return QStringLiteral("the entry %1 has an absolute name").arg(quotedEntry(name));
    if (name.contains(".."))
        return QStringLiteral("the entry %1 climbs out of its folder").arg(quotedEntry(name));
    if (name == kManifestEntry || name == kTrackEntry || isGhostEntryName(name))
        return {};
    if (name.contains('/'))
        return QStringLiteral("the entry %1 lies in a folder a race has not")
            .arg(quotedEntry(name));
    return QStringLiteral("the entry %1 is not part of a race").arg(quotedEntry(name));
}

// An entry's bytes, at most `maxBytes`; nothing with the problem as a clause.
std::optional<QByteArray> readEntry(const ZipReader& zip, const QHash<QByteArray, qint64>& index,
                                    const QByteArray& name, qint64 maxBytes, QString* problem) {
    ZipReader::Failure failure = ZipReader::Failure::None;
    QString detail;
    std::optional<QByteArray> bytes = zip.read(index.value(name), maxBytes, &failure, &detail);
    if (failure == ZipReader::Failure::TooLarge)
        *problem = QStringLiteral("%1 is larger than the %2 bytes it may hold")
                       .arg(QString::fromLatin1(name))
                       .arg(maxBytes);
    else if (failure == ZipReader::Failure::Overlong)
        *problem =
            QStringLiteral("%1 holds more bytes than it states").arg(QString::fromLatin1(name));
    else if (failure == ZipReader::Failure::Damaged)
        *problem = QStringLiteral("%1 cannot be read (%2)").arg(QString::fromLatin1(name), detail);
    return bytes;
}

// The race in an opened archive; nothing with the problem as a clause.
std::optional<Race> readArchive(const ZipReader& zip, QString* problem) {
    QHash<QByteArray, qint64> index;
    for (qint64 i = 0; i < zip.count(); ++i) {
        const QByteArray name = zip.nameAt(i);
        if (*problem = entryNameProblem(name); !problem->isEmpty())
            return std::nullopt;
        if (index.contains(name)) {
            *problem = QStringLiteral("the entry %1 is there twice").arg(quotedEntry(name));
            return std::nullopt;
        }
        index.insert(name, i);
    }
    for (const QByteArray& name : {kManifestEntry, kTrackEntry}) {
        if (!index.contains(name)) {
            *problem = QStringLiteral("it lacks the entry %1").arg(QString::fromLatin1(name));
            return std::nullopt;
        }
    }

    const std::optional<QByteArray> json =
        readEntry(zip, index, kManifestEntry, kMaxManifestBytes, problem);
    if (!json)
        return std::nullopt;
    std::optional<RaceManifest> manifest = decodeRaceManifest(*json, problem);
    if (!manifest)
        return std::nullopt;
    for (qsizetype n = 1; n <= manifest->ghosts.size(); ++n) {
        if (!index.contains(ghostEntryName(int(n)))) {
            *problem = QStringLiteral("it lacks the entry %1")
                           .arg(QString::fromLatin1(ghostEntryName(int(n))));
            return std::nullopt;
        }
    }
    // Every name is known and there once, so a path beyond the ghosts is the only one left over.
    for (qint64 i = 0; i < zip.count(); ++i) {
        const QByteArray name = zip.nameAt(i);
        if (isGhostEntryName(name) && !isGhostEntryName(name, manifest->ghosts.size())) {
            *problem =
                QStringLiteral("the entry %1 is not part of the race").arg(quotedEntry(name));
            return std::nullopt;
        }
    }

    Race race;
    race.trackName = manifest->trackName;
    const std::optional<QByteArray> track =
        readEntry(zip, index, kTrackEntry, kMaxBitmapFileBytes, problem);
    if (!track)
        return std::nullopt;
    race.trackBytes = *track;
    if (sha256Of(race.trackBytes) != manifest->sha256) {
        *problem = QStringLiteral("the SHA-256 of track.bmp differs from race.json's");
        return std::nullopt;
    }
    if (decodeBitmap(race.trackBytes).isNull()) {
        *problem = QStringLiteral("track.bmp is not a loadable bitmap");
        return std::nullopt;
    }

    race.ghosts = std::move(manifest->ghosts);
    for (qsizetype i = 0; i < race.ghosts.size(); ++i) {
        const QByteArray name = ghostEntryName(int(i) + 1);
        const std::optional<QByteArray> bytes =
            readEntry(zip, index, name, GhostPath::kMaxBytes, problem);
        if (!bytes)
            return std::nullopt;
        std::optional<QList<GhostPoint>> points = GhostPath::decodePoints(*bytes);
        if (!points) {
            *problem = QStringLiteral("%1 is not a path").arg(QString::fromLatin1(name));
            return std::nullopt;
        }
        race.ghosts[i].path = std::move(*points);
    }
    return race;
}

RaceReading readOpened(const ZipReader& zip, const QString& fileName) {
    if (!zip.problem().isEmpty())
        return unusable(fileName, zip.problem());
    QString problem;
    std::optional<Race> race = readArchive(zip, &problem);
    if (!race)
        return unusable(fileName, problem);
    return {std::move(race), {}};
}

// The entries of a race, in their order; nothing with the problem as a clause for a race that
// readArchive would refuse.
std::optional<QList<ZipEntry>> raceEntries(const Race& race, QString* problem) {
    if (!isTrackFileName(race.trackName)) {
        *problem = QStringLiteral("its track name \"%1\" cannot be a file name")
                       .arg(shownName(race.trackName));
        return std::nullopt;
    }
    if (race.trackBytes.size() > kMaxBitmapFileBytes || decodeBitmap(race.trackBytes).isNull()) {
        *problem = QStringLiteral("its track is not a loadable bitmap");
        return std::nullopt;
    }
    for (const RaceGhost& ghost : race.ghosts) {
        if (!ghost.finishedUtc.isValid()) {
            *problem =
                QStringLiteral("the run of %1 has no finishing time").arg(shownName(ghost.player));
            return std::nullopt;
        }
    }
    // race.json is checked by the very rules that read it.
    const QByteArray json = encodeRaceManifest(race, sha256Of(race.trackBytes));
    if (json.size() > kMaxManifestBytes) {
        *problem = QStringLiteral("race.json would hold more than %1 bytes").arg(kMaxManifestBytes);
        return std::nullopt;
    }
    if (!decodeRaceManifest(json, problem))
        return std::nullopt;

    QList<ZipEntry> entries{{kManifestEntry, json}, {kTrackEntry, race.trackBytes}};
    for (qsizetype i = 0; i < race.ghosts.size(); ++i) {
        const std::optional<GhostPath> path = GhostPath::fromPoints(race.ghosts[i].path);
        if (!path) {
            *problem = QStringLiteral("the path of %1 is not a path a run makes")
                           .arg(shownName(race.ghosts[i].player));
            return std::nullopt;
        }
        entries.append({ghostEntryName(int(i) + 1), path->encode()});
    }
    return entries;
}

} // namespace

std::optional<QString> writeRaceFile(const QString& fileName, const Race& race) {
    const auto cannot = [&](const QString& clause) {
        return QStringLiteral("The race file \"%1\" cannot be written: %2.")
            .arg(fileNameOnly(fileName), clause);
    };
    QString problem;
    const std::optional<QList<ZipEntry>> entries = raceEntries(race, &problem);
    if (!entries)
        return cannot(problem);
    const std::optional<QByteArray> bytes = makeZip(*entries, &problem);
    if (!bytes)
        return cannot(problem);
    if (const FileWriteResult written = replaceFile(fileName, *bytes); !written)
        return cannot(written.reason);
    return std::nullopt;
}

RaceReading readRaceFile(const QString& fileName) {
    const QByteArray native = encodeFileName(fileName);
    struct stat info {};
    if (native.isEmpty() || ::stat(native.constData(), &info) != 0)
        return unusable(fileName, QStringLiteral("it cannot be found"));
    if (!S_ISREG(info.st_mode))
        return unusable(fileName, QStringLiteral("it is not a regular file"));
    QFile file;
    if (!openRegularFile(file, native))
        return unusable(fileName, QStringLiteral("it cannot be read"));
    return readOpened(*openZipFile(file.handle()), fileName);
}

RaceReading readRaceBytes(const QByteArray& bytes, const QString& fileName) {
    return readOpened(*openZip(bytes), fileName);
}

QList<RunProof> proveRace(const Race& race) {
    const QImage track = decodeBitmap(race.trackBytes);
    QList<RunProof> proofs;
    for (const RaceGhost& ghost : race.ghosts)
        proofs.append(track.isNull()
                          ? RunProof{false, QStringLiteral("its track is not a loadable bitmap")}
                          : proveRun(track, ghost.path, ghost.timeMs));
    return proofs;
}

} // namespace kf
