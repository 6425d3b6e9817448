// Start-up to the main window on the screen, against two floors: a bare Qt dialog of the same
// size, and a plain dialog with the main window's controls and texts that paints the intro level.
// Each is a program of its own (bench/startup/), started afresh and timed from its start to the
// line it prints once its first window has been painted: process start, libraries, application
// object, window, mapping, exposure and the first paint pass. They take turns, so all meet the
// same load of the machine; each one's figure is the median.

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
    double rssMb = -1;  // its resident size then
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
    const QList<QByteArray> fields = line.trimmed().split(' ');
    if (fields.size() == 3 && fields[0] == "painted") {
        result.wallMs = double(clock.nsecsElapsed()) / 1e6;
        result.cpuMs = fields[1].toDouble();
        result.rssMb = fields[2].toDouble() / 1024;
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

// The figures of one program over all its starts.
struct Starts {
    std::vector<double> wall, cpu, rss;

    bool add(const StartUp& s) {
        wall.push_back(s.wallMs);
        cpu.push_back(s.cpuMs);
        rss.push_back(s.rssMb);
        return s.wallMs >= 0;
    }
};

// Counters, each the median of all starts: wall-clock time in ms (`*_ms`), the program's own
// CPU time (`*_cpu_ms`) and its resident size at the first paint (`*_rss_mb`) of the game
// (`main_`), the dialog with its controls and texts (`controls_`) and the bare dialog (`bare_`);
// the game's over each floor (`ratio`, `cpu_ratio` over the bare one, `controls_ratio`,
// `controls_cpu_ratio` over the controls), its resident size beyond each (`rss_over_bare_mb`,
// `rss_over_controls_mb`); and for comparison the bare dialog with one label of text
// (`text_ms`, `text_cpu_ms`), which pays for the fonts as every window with text does.
void BM_StartUpOverBareDialog(benchmark::State& state) {
    const QDir programs(QCoreApplication::applicationDirPath());
    const QSize size = kf::dialogClientSize(kf::dialogTemplate(kf::kMainDialogId));
    const QStringList sizeArguments{QString::number(size.width()), QString::number(size.height())};
    QTemporaryDir play;
    copyGameFiles(play.path());
    Starts bare, controls, game, text;
    for (auto _ : state) {
        bool painted =
            bare.add(startUp(programs.filePath("kf_startup_bare"), sizeArguments, play.path()));
        painted &= controls.add(startUp(programs.filePath("kf_startup_controls"), {}, play.path()));
        painted &= game.add(startUp(programs.filePath("kf_startup_game"), {}, play.path()));
        painted &= text.add(startUp(programs.filePath("kf_startup_bare"),
                                    sizeArguments + QStringList{"Statistics"}, play.path()));
        if (!painted) {
            state.SkipWithError("a program ended without painting");
            return;
        }
    }
    const double bareMs = median(bare.wall), gameMs = median(game.wall);
    const double controlsMs = median(controls.wall);
    const double bareCpuMs = median(bare.cpu), gameCpuMs = median(game.cpu);
    const double controlsCpuMs = median(controls.cpu);
    const double bareRss = median(bare.rss), gameRss = median(game.rss);
    const double controlsRss = median(controls.rss);
    state.counters["bare_ms"] = bareMs;
    state.counters["controls_ms"] = controlsMs;
    state.counters["main_ms"] = gameMs;
    state.counters["ratio"] = gameMs / bareMs;
    state.counters["controls_ratio"] = gameMs / controlsMs;
    state.counters["bare_cpu_ms"] = bareCpuMs;
    state.counters["controls_cpu_ms"] = controlsCpuMs;
    state.counters["main_cpu_ms"] = gameCpuMs;
    state.counters["cpu_ratio"] = gameCpuMs / bareCpuMs;
    state.counters["controls_cpu_ratio"] = gameCpuMs / controlsCpuMs;
    state.counters["bare_rss_mb"] = bareRss;
    state.counters["controls_rss_mb"] = controlsRss;
    state.counters["main_rss_mb"] = gameRss;
    state.counters["rss_over_bare_mb"] = gameRss - bareRss;
    state.counters["rss_over_controls_mb"] = gameRss - controlsRss;
    state.counters["text_ms"] = median(text.wall);
    state.counters["text_cpu_ms"] = median(text.cpu);
}

BENCHMARK(BM_StartUpOverBareDialog)->Iterations(40)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
