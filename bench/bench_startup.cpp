// Start-up to the main window on the screen, against the floor of a bare Qt dialog of the same
// size. Each is a program of its own (bench/startup/), started afresh and timed from its start
// to the line it prints once its first window has been painted: process start, libraries,
// application object, window, mapping, exposure and the first paint pass. The two take turns,
// so both meet the same load of the machine; each one's figure is the median.

#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

struct StartUp {
    double wallMs = -1; // from the start of the program to its line; -1 when it printed none
    double cpuMs = -1;  // the CPU time the program had taken by then
};

StartUp startUp(const QString& program, const QStringList& arguments, const QString& folder) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    QByteArray line;
    while (!line.endsWith('\n') && process.waitForReadyRead(10000))
        line += process.readAll();
    StartUp result;
    if (line.startsWith("painted ")) {
        result.wallMs = double(clock.nsecsElapsed()) / 1e6;
        result.cpuMs = line.mid(8).trimmed().toDouble();
    }
    process.waitForFinished();
    return result;
}

double median(std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// The game's files, as a player's folder holds them: the data folder's list names them.
void copyGameFiles(const QString& to) {
    const QDir data(QStringLiteral(KF_DATA_DIR));
    QFile list(data.filePath(QStringLiteral("FILES")));
    if (!list.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& name : list.readAll().split('\n')) {
        if (!name.isEmpty())
            QFile::copy(data.filePath(QString::fromUtf8(name)),
                        QDir(to).filePath(QString::fromUtf8(name)));
    }
}

// Counters: the median start-up of the bare dialog and of the game in ms, wall-clock time and
// the programs' own CPU time, and the game's over the bare dialog's; for comparison, the same
// bare dialog with one label of text (text_ms, text_cpu_ms), which pays for the fonts as the
// game does.
void BM_StartUpOverBareDialog(benchmark::State& state) {
    const QDir programs(QCoreApplication::applicationDirPath());
    const QSize size = kf::dialogClientSize(kf::dialogTemplate(kf::kMainDialogId));
    const QStringList sizeArguments{QString::number(size.width()), QString::number(size.height())};
    QTemporaryDir play;
    copyGameFiles(play.path());
    std::vector<double> bareWall, gameWall, textWall, bareCpu, gameCpu, textCpu;
    for (auto _ : state) {
        const StartUp bare =
            startUp(programs.filePath("kf_startup_bare"), sizeArguments, play.path());
        const StartUp game = startUp(programs.filePath("kf_startup_game"), {}, play.path());
        const StartUp text = startUp(programs.filePath("kf_startup_bare"),
                                     sizeArguments + QStringList{"Statistics"}, play.path());
        if (bare.wallMs < 0 || game.wallMs < 0 || text.wallMs < 0) {
            state.SkipWithError("a program ended without painting");
            return;
        }
        bareWall.push_back(bare.wallMs);
        gameWall.push_back(game.wallMs);
        textWall.push_back(text.wallMs);
        bareCpu.push_back(bare.cpuMs);
        gameCpu.push_back(game.cpuMs);
        textCpu.push_back(text.cpuMs);
    }
    const double bareMs = median(bareWall), gameMs = median(gameWall);
    const double bareCpuMs = median(bareCpu), gameCpuMs = median(gameCpu);
    state.counters["bare_ms"] = bareMs;
    state.counters["main_ms"] = gameMs;
    state.counters["ratio"] = gameMs / bareMs;
    state.counters["bare_cpu_ms"] = bareCpuMs;
    state.counters["main_cpu_ms"] = gameCpuMs;
    state.counters["cpu_ratio"] = gameCpuMs / bareCpuMs;
    state.counters["text_ms"] = median(textWall);
    state.counters["text_cpu_ms"] = median(textCpu);
}

BENCHMARK(BM_StartUpOverBareDialog)->Iterations(40)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
