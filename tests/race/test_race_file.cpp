#include "race/RaceFile.h"

#include "race/RaceManifest.h"
#include "race/ZipArchive.h"
#include "support/QtPrinters.h"
#include "support/TinyTrack.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using namespace kf;

RaceGhost ghost(const char* player, int timeMs, const QList<GhostPoint>& path) {
    return {QString::fromUtf8(player), timeMs,
            QDateTime(QDate(2026, 12, 1), QTime(18, 4, 5, 120), Qt::UTC), path};
}

// Ann's run holds up; Cy's runs into the wall.
Race sampleRace() {
    return {QStringLiteral("Tiny.bmp"),
            tinyTrackBytes(),
            {ghost("Ann", 45, {{1, 1, 0}, {2, 1, 10}, {5, 1, 30}, {6, 1, 45}}),
             ghost("Cy", 40, {{1, 2, 0}, {6, 2, 40}})}};
}

QString sha256Hex(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// The sample race's entries, each row of the table below spoiling them in one way.
using Entries = QList<ZipEntry>;

Entries sampleEntries() {
    const Race race = sampleRace();
    return {{"race.json", encodeRaceManifest(race, sha256Hex(race.trackBytes))},
            {"track.bmp", race.trackBytes},
            {"ghosts/1.path", GhostPath::fromPoints(race.ghosts[0].path)->encode()},
            {"ghosts/2.path", GhostPath::fromPoints(race.ghosts[1].path)->encode()}};
}

QByteArray& entry(Entries& entries, const QByteArray& name) {
    return std::find_if(entries.begin(), entries.end(),
                        [&](const ZipEntry& e) { return e.name == name; })
        ->bytes;
}

Entries without(Entries entries, const QByteArray& name) {
    entries.removeIf([&](const ZipEntry& e) { return e.name == name; });
    return entries;
}

Entries with(Entries entries, const QByteArray& name, const QByteArray& bytes) {
    entries.append({name, bytes});
    return entries;
}

Entries replaced(Entries entries, const QByteArray& name, const QByteArray& bytes) {
    entry(entries, name) = bytes;
    return entries;
}

Entries withJson(Entries entries, const std::function<void(QJsonObject&)>& change) {
    QJsonObject json = QJsonDocument::fromJson(entry(entries, "race.json")).object();
    change(json);
    entry(entries, "race.json") = QJsonDocument(json).toJson();
    return entries;
}

void changeGhost(QJsonObject& json, int i, const char* field, const QJsonValue& value) {
    QJsonArray ghosts = json["ghosts"].toArray();
    QJsonObject g = ghosts[i].toObject();
    g[QLatin1String(field)] = value;
    ghosts[i] = g;
    json["ghosts"] = ghosts;
}

QByteArray zipOf(const Entries& entries) {
    QString problem;
    return makeZip(entries, &problem).value_or(QByteArray());
}

// The archive with the uncompressed size of `name` stated as `size` in both of its headers.
QByteArray withStatedSize(QByteArray zip, const QByteArray& name, quint32 size) {
    const struct {
        QByteArray signature;
        int nameAt, sizeAt;
    } headers[] = {{"PK\3\4", 30, 22}, {"PK\1\2", 46, 24}};
    for (const auto& h : headers)
        for (qsizetype at = zip.indexOf(h.signature); at >= 0;
             at = zip.indexOf(h.signature, at + 1))
            if (zip.mid(at + h.nameAt, name.size()) == name)
                qToLittleEndian<quint32>(size, zip.data() + at + h.sizeAt);
    return zip;
}

TEST(RaceFileTest, RefusesEachKindOfBadFile) {
    const struct {
        const char* name;
        std::function<QByteArray()> bytes;
        const char* clause;
    } cases[] = {
        {"no ZIP", [] { return QByteArray("race notes"); }, "it is not a ZIP archive"},
        {"no track", [] { return zipOf(without(sampleEntries(), "track.bmp")); },
         "it lacks the entry track.bmp"},
        {"a ghost's path missing", [] { return zipOf(without(sampleEntries(), "ghosts/2.path")); },
         "it lacks the entry ghosts/2.path"},
        {"no JSON", [] { return zipOf(replaced(sampleEntries(), "race.json", "{\"format\": 1")); },
         "race.json is not a JSON object"},
        {"another format",
         [] { return zipOf(withJson(sampleEntries(), [](QJsonObject& j) { j["format"] = 2; })); },
         "race.json is of format 2, not 1"},
        {"a field too many",
         [] { return zipOf(withJson(sampleEntries(), [](QJsonObject& j) { j["note"] = 1; })); },
         "race.json has the unknown field \"note\""},
        {"a time as text",
         [] {
             return zipOf(withJson(sampleEntries(),
                                   [](QJsonObject& j) { changeGhost(j, 1, "time_ms", "40"); }));
         },
         "race.json has a wrong or missing field \"time_ms\" in ghost 2"},
        {"a finish without milliseconds",
         [] {
             return zipOf(withJson(sampleEntries(), [](QJsonObject& j) {
                 changeGhost(j, 0, "finished_utc", "2026-12-01T18:04:05Z");
             }));
         },
         "race.json has a wrong or missing field \"finished_utc\" in ghost 1"},
        {"no ghost",
         [] {
             const Entries e = without(without(sampleEntries(), "ghosts/1.path"), "ghosts/2.path");
             return zipOf(withJson(e, [](QJsonObject& j) { j["ghosts"] = QJsonArray(); }));
         },
         "it holds no ghost"},
        {"nine ghosts",
         [] {
             return zipOf(withJson(sampleEntries(), [](QJsonObject& j) {
                 QJsonArray nine;
                 for (int i = 0; i < 9; ++i)
                     nine.append(j["ghosts"].toArray()[0]);
                 j["ghosts"] = nine;
             }));
         },
         "it holds 9 ghosts, more than 8"},
        {"a track name out of the folder",
         [] {
             return zipOf(
                 withJson(sampleEntries(), [](QJsonObject& j) { j["track"] = "../Tiny.bmp"; }));
         },
         "its track name \"../Tiny.bmp\" cannot be a file name"},
        {"an absolute entry", [] { return zipOf(with(sampleEntries(), "/etc/motd", "hi")); },
         "the entry \"/etc/motd\" has an absolute name"},
        {"an entry that climbs",
         [] { return zipOf(with(sampleEntries(), "ghosts/../motd", "hi")); },
         "the entry \"ghosts/../motd\" climbs out of its folder"},
        {"an entry in a folder", [] { return zipOf(with(sampleEntries(), "notes/a.txt", "hi")); },
         "the entry \"notes/a.txt\" lies in a folder a race has not"},
        {"an unknown entry", [] { return zipOf(with(sampleEntries(), "notes.txt", "hi")); },
         "the entry \"notes.txt\" is not part of a race"},
        {"a path without its ghost",
         [] { return zipOf(with(sampleEntries(), "ghosts/3.path", "hi")); },
         "the entry \"ghosts/3.path\" is not part of the race"},
        {"an entry twice",
         [] {
             return zipOf(with(sampleEntries(), "track.bmq", tinyTrackBytes()))
                 .replace("track.bmq", "track.bmp");
         },
         "the entry \"track.bmp\" is there twice"},
        {"race.json too long",
         [] {
             const Entries e = sampleEntries();
             return zipOf(replaced(e, "race.json", e[0].bytes + QByteArray(64 * 1024, ' ')));
         },
         "race.json is larger than the 65536 bytes it may hold"},
        {"a track stated beyond the largest bitmap",
         [] { return withStatedSize(zipOf(sampleEntries()), "track.bmp", 0xffffff00); },
         "track.bmp is larger than the 150994944 bytes it may hold"},
        {"a path that gives more than it states",
         [] { return withStatedSize(zipOf(sampleEntries()), "ghosts/1.path", 13); },
         "ghosts/1.path holds more bytes than it states"},
        {"a track that is no bitmap",
         [] {
             const Entries e = replaced(sampleEntries(), "track.bmp", "BM, but no picture");
             return zipOf(withJson(
                 e, [](QJsonObject& j) { j["sha256"] = sha256Hex("BM, but no picture"); }));
         },
         "track.bmp is not a loadable bitmap"},
        {"another track's SHA-256",
         [] {
             return zipOf(withJson(sampleEntries(),
                                   [](QJsonObject& j) { j["sha256"] = QString(64, u'0'); }));
         },
         "the SHA-256 of track.bmp differs from race.json's"},
        {"a path of another version",
         [] {
             const Entries e = sampleEntries();
             return zipOf(replaced(e, "ghosts/1.path", "\x02" + e[2].bytes.mid(1)));
         },
         "ghosts/1.path is not a path"},
    };
    const QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("bad.kfrace"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile file(fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes());
        file.close();
        const RaceReading reading = readRaceFile(fileName);
        EXPECT_FALSE(reading.race);
        EXPECT_EQ(reading.reason, QStringLiteral("The race file \"bad.kfrace\" cannot be used: %1.")
                                      .arg(QString::fromUtf8(c.clause)));
    }
    EXPECT_EQ(readRaceFile(dir.path()).reason,
              QStringLiteral("The race file \"%1\" cannot be used: it is not a regular file.")
                  .arg(QDir(dir.path()).dirName()));
    EXPECT_EQ(readRaceFile(dir.filePath(QStringLiteral("gone.kfrace"))).reason,
              QStringLiteral("The race file \"gone.kfrace\" cannot be used: it cannot be found."));
}

TEST(RaceFileTest, ReadsBackWhatItWroteAndProvesEachGhost) {
    const QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("tiny.kfrace"));
    ASSERT_EQ(writeRaceFile(fileName, sampleRace()), std::nullopt);
    const RaceReading reading = readRaceFile(fileName);
    ASSERT_TRUE(reading.race) << reading.reason.toStdString();
    EXPECT_EQ(*reading.race, sampleRace());
    const QList<RunProof> proofs = proveRace(*reading.race);
    ASSERT_EQ(proofs.size(), 2);
    EXPECT_TRUE(proofs[0].confirmed);
    EXPECT_EQ(proofs[1].reason, QStringLiteral("touches a wall at (3, 2) after 40 ms"));

    // A path whose times go backwards is still read, so that its proof can say so.
    Entries entries = sampleEntries();
    entry(entries, "ghosts/2.path") =
        QByteArray::fromHex("010200000001000200140000000600020010000000");
    const RaceReading backwards = readRaceBytes(zipOf(entries), fileName);
    ASSERT_TRUE(backwards.race) << backwards.reason.toStdString();
    EXPECT_EQ(proveRace(*backwards.race)[1].reason, QStringLiteral("times go backwards"));

    // A race the reader would refuse is never written.
    Race empty = sampleRace();
    empty.ghosts.clear();
    const QString emptyName = dir.filePath(QStringLiteral("empty.kfrace"));
    EXPECT_EQ(
        writeRaceFile(emptyName, empty),
        QStringLiteral("The race file \"empty.kfrace\" cannot be written: it holds no ghost."));
    EXPECT_FALSE(QFile::exists(emptyName));
}

} // namespace
