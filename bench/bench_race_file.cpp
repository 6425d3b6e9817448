#include "race/RaceFile.h"
#include "run/RunProof.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A 400 x 400 track like the game's own: a black frame, the start on the left, the finish on
// the right, free track between.
QImage openTrack() {
    QImage track(400, 400, QImage::Format_RGB32);
    track.fill(Qt::black);
    QPainter painter(&track);
    painter.fillRect(1, 1, 398, 398, Qt::white);
    painter.fillRect(1, 1, 20, 398, QColor(0, 255, 0));
    painter.fillRect(380, 1, 19, 398, QColor(255, 0, 0));
    return track;
}

// One minute of a run at 1 000 movements a second: from the start to the finish in waves.
QList<kf::GhostPoint> minuteOfMovements() {
    constexpr int kPoints = 60'000;
    QList<kf::GhostPoint> path;
    for (int i = 0; i < kPoints; ++i)
        path.append({qint16(10 + 380 * i / (kPoints - 1)),
                     qint16(200 + std::lround(150 * std::sin(i / 300.0))), quint32(i)});
    return path;
}

kf::Race minuteRace() {
    QByteArray track;
    QBuffer buffer(&track);
    buffer.open(QIODevice::WriteOnly);
    openTrack().save(&buffer, "BMP");
    const QList<kf::GhostPoint> path = minuteOfMovements();
    return {QStringLiteral("Waves.bmp"),
            track,
            {{QStringLiteral("Ann"), int(path.last().ms), QDateTime::currentDateTimeUtc(), path}}};
}

// The race written whole to a file, then read and checked again.
void BM_RaceFileWriteRead(benchmark::State& state) {
    const QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("minute.kfrace"));
    const kf::Race race = minuteRace();
    for (auto _ : state) {
        if (kf::writeRaceFile(fileName, race)) {
            state.SkipWithError("the race could not be written");
            break;
        }
        const kf::RaceReading reading = kf::readRaceFile(fileName);
        if (!reading.race) {
            state.SkipWithError("the race could not be read");
            break;
        }
    }
    state.counters["file bytes"] = double(QFileInfo(fileName).size());
}

// The minute's run proven on its track: 60 000 movements through the run's rules.
void BM_ProveRun(benchmark::State& state) {
    const QImage track = openTrack();
    const QList<kf::GhostPoint> path = minuteOfMovements();
    if (!kf::proveRun(track, path, int(path.last().ms)).confirmed)
        state.SkipWithError("the minute's run does not hold up");
    for (auto _ : state) {
        kf::RunProof proof = kf::proveRun(track, path, int(path.last().ms));
        benchmark::DoNotOptimize(proof);
    }
}

BENCHMARK(BM_RaceFileWriteRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProveRun)->Unit(benchmark::kMillisecond);

} // namespace
