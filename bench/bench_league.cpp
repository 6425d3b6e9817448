#include "history/HistoryRun.h"
#include "league/LeagueClient.h"
#include "league/LeagueConnection.h"
#include "league/LeagueSchema.h"
#include "league/LeagueVerifier.h"
#include "support/PostgresServer.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QSqlQuery>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

// The league's figures run against a server of their own, started once as the tests start
// theirs, each figure in a database of its own.
PostgresServer& server() {
    static PostgresServer started;
    return started;
}

// A league set up in database `name`; the owner's connection, or an error in `state`.
std::unique_ptr<kf::LeagueConnection> freshLeague(benchmark::State& state, const QString& name) {
    if (!server().ready() || !server().createDatabase(name).isEmpty()) {
        state.SkipWithError(
            qPrintable(QStringLiteral("no PostgreSQL server: ") + server().error()));
        return nullptr;
    }
    auto owner = std::make_unique<kf::LeagueConnection>(server().connInfo(name));
    if (!owner->isOpen() || !kf::setUpLeague(owner->database()).isEmpty()) {
        state.SkipWithError("the league could not be set up");
        return nullptr;
    }
    return owner;
}

QString run(kf::LeagueConnection& connection, const QString& sql) {
    QSqlQuery query(connection.database());
    return kf::execOrMessage(query, sql);
}

// The 400 x 400 track of the race benchmark: a frame, the start on the left, the finish on the
// right, free track between; as a bitmap file's bytes.
QByteArray openTrackBytes() {
    QImage track(400, 400, QImage::Format_RGB32);
    track.fill(Qt::black);
    QPainter painter(&track);
    painter.fillRect(1, 1, 398, 398, Qt::white);
    painter.fillRect(1, 1, 20, 398, QColor(0, 255, 0));
    painter.fillRect(380, 1, 19, 398, QColor(255, 0, 0));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    track.save(&buffer, "BMP");
    return bytes;
}

// One minute of a run at `perSecond` movements a second, from the start to the finish in waves.
kf::GhostPath minuteAt(int perSecond) {
    const int points = 60 * perSecond + 1;
    kf::GhostPath path;
    for (int i = 0; i < points; ++i)
        path.append(QPoint(10 + 380 * i / (points - 1),
                           200 + int(std::lround(150 * std::sin(i * 1000.0 / perSecond / 300.0)))),
                    qint64(i) * 1000 / perSecond);
    return path;
}

// The verifier proving 1 000 pending one-minute runs (state.range(0) movements a second), from
// locking the batches to the verdicts committed, the board kept on each confirmation. The runs
// are submitted between the timed parts.
void BM_VerifyMinuteRuns(benchmark::State& state) {
    constexpr int kRuns = 1000;
    const int perSecond = int(state.range(0));
    auto owner = freshLeague(state, QStringLiteral("verify_%1").arg(perSecond));
    if (!owner)
        return;
    const QByteArray track = openTrackBytes();
    const QString key = kf::bytesSha256(track);
    const QByteArray path = minuteAt(perSecond).encode();
    QSqlQuery add(owner->database());
    add.prepare(QStringLiteral("INSERT INTO tracks VALUES (?, 'Waves.bmp', ?)"));
    add.addBindValue(key);
    add.addBindValue(track);
    add.exec();
    kf::LeagueVerifier verifier(owner->database());
    for (auto _ : state) {
        state.PauseTiming();
        QSqlQuery submit(owner->database());
        submit.prepare(QStringLiteral(
            "INSERT INTO submissions (player, track_sha256, time_ms, finished_utc, path) "
            "SELECT 'p' || (n % 30), ?, 60000, now(), ? FROM generate_series(1, ?) AS n"));
        submit.addBindValue(key);
        submit.addBindValue(path);
        submit.addBindValue(kRuns);
        submit.exec();
        state.ResumeTiming();
        const kf::LeagueVerifier::Tally tally = verifier.provePending();
        if (tally.confirmed != kRuns) {
            state.SkipWithError(qPrintable(QStringLiteral("%1 of %2 runs confirmed: %3")
                                               .arg(tally.confirmed)
                                               .arg(kRuns)
                                               .arg(tally.failure)));
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kRuns);
    state.counters["path bytes"] = double(path.size());
}

// The board of a track that has 1 000 000 confirmed runs by 1 000 players, read as the game
// reads it (readBoard: 1 000 lines ranked).
void BM_BoardOfAMillionRuns(benchmark::State& state) {
    static int boards = 0;
    auto owner = freshLeague(state, QStringLiteral("board_%1").arg(++boards));
    if (!owner)
        return;
    const QByteArray track = openTrackBytes();
    const QString key = kf::bytesSha256(track);
    QSqlQuery add(owner->database());
    add.prepare(QStringLiteral("INSERT INTO tracks VALUES (?, 'Waves.bmp', ?)"));
    add.addBindValue(key);
    add.addBindValue(track);
    add.exec();
    // Loaded as a restore would load them: rows first without the per-row trigger, then the
    // board counted once.
    for (const QString& sql :
         {QStringLiteral("ALTER TABLE submissions DISABLE TRIGGER submissions_standings"),
          QStringLiteral(
              "INSERT INTO submissions (player, track_sha256, time_ms, finished_utc, "
              "path, state) SELECT 'p' || (n % 1000), '%1', 20000 + mod(n::bigint * 7919, "
              "40000), now(), '\\x010100000000000000000000', 'confirmed' "
              "FROM generate_series(1, 1000000) AS n")
              .arg(key),
          QStringLiteral("ALTER TABLE submissions ENABLE TRIGGER submissions_standings"),
          QStringLiteral("INSERT INTO standings SELECT track_sha256, player, min(time_ms), "
                         "count(*) FROM submissions WHERE state = 'confirmed' GROUP BY 1, 2"),
          QStringLiteral("ANALYZE")}) {
        if (const QString failed = run(*owner, sql); !failed.isEmpty()) {
            state.SkipWithError(qPrintable(failed));
            return;
        }
    }
    qsizetype lines = 0;
    for (auto _ : state) {
        const kf::LeagueRead<kf::BoardLine> board = kf::readBoard(owner->database(), key);
        lines = board.rows.size();
        benchmark::DoNotOptimize(lines);
    }
    state.counters["board lines"] = double(lines);
}

BENCHMARK(BM_VerifyMinuteRuns)->Arg(125)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BoardOfAMillionRuns)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
