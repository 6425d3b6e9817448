#include "TestLeague.h"
#include "history/HistoryRun.h"
#include "league/LeagueVerifier.h"
#include "support/QtPrinters.h"

#include <QBuffer>

namespace {

using namespace kf;

// 500 x 9 pixels: a frame, the start in column 1, the finish in column 498, free between.
QByteArray wideTrackBytes() {
    QImage track(500, 9, QImage::Format_RGB32);
    track.fill(Qt::black);
    for (int y = 1; y < 8; ++y)
        for (int x = 1; x < 499; ++x)
            track.setPixel(x, y,
                           x == 1     ? qRgb(0, 255, 0)
                           : x == 498 ? qRgb(255, 0, 0)
                                      : qRgb(255, 255, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    track.save(&buffer, "BMP");
    return bytes;
}

// Adds a run as `role` straight into the table, its path as any bytes.
QString submitBytes(const LeagueConnection& role, const QString& track, int claimedMs,
                    const QByteArray& path) {
    QSqlQuery query(role.database());
    query.prepare(QStringLiteral("INSERT INTO submissions (track_sha256, time_ms, finished_utc, "
                                 "path) VALUES (?, ?, now(), ?)"));
    query.addBindValue(track);
    query.addBindValue(claimedMs);
    query.addBindValue(path);
    return execOrMessage(query);
}

TEST(LeagueVerifyTest, ConfirmsRunsThatHoldAndRefusesEachOtherWithItsReason) {
    const TestLeague league(QStringLiteral("verify"), {QStringLiteral("ann_v")},
                            {QStringLiteral("proof_v")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    LeagueConnection ann(league.connInfo(QStringLiteral("ann_v")));
    const QByteArray wide = wideTrackBytes();
    const QString wideKey = bytesSha256(wide);
    const QString tinyKey = bytesSha256(tinyTrackBytes());
    {
        LeagueConnection owner(league.connInfo(QString::fromLatin1(PostgresServer::kOwner)));
        QSqlQuery query(owner.database());
        const QString insert = QStringLiteral("INSERT INTO tracks VALUES (%1, %2, '\\x%3')");
        for (const auto& [key, name, bytes] : {std::tuple(wideKey, "'Wide.bmp'", wide),
                                               std::tuple(tinyKey, "'Tiny.bmp'", tinyTrackBytes())})
            ASSERT_EQ(execOrMessage(query, insert.arg("'" + key + "'", name,
                                                      QString::fromLatin1(bytes.toHex()))),
                      QString());
        // A track whose bytes are not those of its key, as a database edited by hand may hold.
        ASSERT_EQ(execOrMessage(query, QStringLiteral("ALTER TABLE tracks DROP CONSTRAINT "
                                                      "tracks_bytes_match_key")),
                  QString());
        ASSERT_EQ(execOrMessage(query, insert.arg("repeat('0', 64)", "'Forged.bmp'",
                                                  QString::fromLatin1(tinyTrackBytes().toHex()))),
                  QString());
    }
    const QString forgedKey = QString(64, QLatin1Char('0'));
    const auto path = [](const QList<GhostPoint>& points) {
        return GhostPath::fromPoints(points).value_or(GhostPath()).encode();
    };
    const auto raw = [](const QList<GhostPoint>& points) {
        // Times going backwards: no GhostPath takes them, so the bytes are written by hand.
        QByteArray bytes(1, char(GhostPath::kVersion));
        const auto le = [&bytes](quint32 v, int n) {
            for (int i = 0; i < n; ++i)
                bytes.append(char(v >> (8 * i)));
        };
        le(quint32(points.size()), 4);
        for (const GhostPoint& p : points) {
            le(quint16(p.x), 2);
            le(quint16(p.y), 2);
            le(p.ms, 4);
        }
        return bytes;
    };
    const struct {
        const char* name;
        QString track;
        int claimedMs;
        QByteArray path;
        const char* reason; // empty: confirmed
    } cases[] = {
        {"along the top row", tinyKey, 45, path(kTopRow), ""},
        {"times back", tinyKey, 30, raw({{1, 1, 0}, {5, 1, 20}, {6, 1, 10}}), "times go backwards"},
        {"off the start", tinyKey, 30, path({{2, 1, 0}, {6, 1, 30}}),
         "does not start on the start"},
        {"into the wall", tinyKey, 40, path({{1, 2, 0}, {6, 2, 40}}),
         "touches a wall at (3, 2) after 40 ms"},
        {"short of the finish", tinyKey, 30, path({{1, 1, 0}, {5, 1, 30}}),
         "does not end on the finish"},
        {"claims less", tinyKey, 44, path(kTopRow), "claims 44 ms but its path ends at 45 ms"},
        {"400 px in what may be 2 ms", wideKey, 2, path({{1, 4, 0}, {401, 4, 1}, {498, 4, 2}}), ""},
        {"401 px in what may be 2 ms", wideKey, 2, path({{1, 4, 0}, {402, 4, 1}, {498, 4, 2}}),
         "moves faster than 200 pixels per millisecond at 1 ms"},
        {"not a path", tinyKey, 45, QByteArray("\x02nope", 5),
         "its path is not stored as the game stores paths"},
        {"a forged track", forgedKey, 45, path(kTopRow),
         "the track's bytes do not match its SHA-256"},
    };
    for (const auto& c : cases)
        ASSERT_EQ(submitBytes(ann, c.track, c.claimedMs, c.path), QString()) << c.name;

    LeagueConnection proof(league.connInfo(QStringLiteral("proof_v")));
    const LeagueVerifier::Tally tally = LeagueVerifier(proof.database()).provePending();
    EXPECT_EQ(tally.failure, QString());
    EXPECT_EQ(tally.confirmed, 2);
    EXPECT_EQ(tally.refused, int(std::size(cases)) - 2);

    QSqlQuery verdicts(ann.database());
    ASSERT_TRUE(verdicts.exec(QStringLiteral("SELECT state, coalesce(reason, '') FROM submissions "
                                             "ORDER BY id")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(verdicts.next());
        EXPECT_EQ(verdicts.value(0).toString(),
                  QString::fromLatin1(*c.reason ? "refused" : "confirmed"));
        EXPECT_EQ(verdicts.value(1).toString(), QString::fromLatin1(c.reason));
    }
}

TEST(SpeedLimitTest, AllowsKMaxPixelsPerMsOverEachMillisecondThePointsMayLieApart) {
    const struct {
        QList<GhostPoint> points;
        const char* breach; // empty: none
    } cases[] = {
        {{{0, 0, 0}, {200, 0, 0}}, ""},
        {{{0, 0, 0}, {201, 0, 0}}, "moves faster than 200 pixels per millisecond at 0 ms"},
        {{{0, 0, 0}, {120, 160, 0}}, ""},
        {{{0, 0, 0}, {121, 160, 0}}, "moves faster than 200 pixels per millisecond at 0 ms"},
        {{{0, 0, 0}, {0, -600, 2}, {0, 0, 3}},
         "moves faster than 200 pixels per millisecond at 3 ms"},
        {{{-32768, 0, 0}, {32767, 0, 327}}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(speedBreach(c.points).value_or(QString()), QString::fromLatin1(c.breach));
}

} // namespace
