// Opening the track browser: on a folder of 100 levels of full size, the listing, the window
// shown and its table painted for the first time, and apart, until every picture has been read;
// on a folder of 10 000 small levels and on folders with pictures of 8192 x 4096, what the
// player waits for, what the game holds while the browser is open and after it is closed, and
// how soon closing stops the reading.

#include "history/HistoryWriter.h"
#include "tracks/TrackBrowser.h"
#include "tracks/TrackList.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kLevels = 100;

// 100 copies of a bundled level (400 x 400, 24 bits: 480 KB each) and a run history beside them.
class LevelFolder {
public:
    LevelFolder() : m_history(m_dir.filePath(QStringLiteral("history.sqlite"))) {
        const QString level = QDir(QStringLiteral(KF_DATA_DIR)).filePath("Level_01_CURVES.bmp");
        for (int i = 0; i < kLevels; ++i)
            QFile::copy(level, m_dir.filePath(
                                   QStringLiteral("Level_%1.bmp").arg(i, 3, 10, QLatin1Char('0'))));
    }
    QString path() const { return m_dir.path(); }
    kf::HistoryWriter& history() { return m_history; }

private:
    QTemporaryDir m_dir;
    kf::HistoryWriter m_history;
};

// Notes the first paint of a widget.
class FirstPaint : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

void openBrowser(benchmark::State& state, bool untilAllRead) {
    LevelFolder folder;
    for (auto _ : state) {
        auto browser = std::make_unique<kf::TrackBrowser>();
        FirstPaint paint;
        browser->view()->viewport()->installEventFilter(&paint);
        QElapsedTimer clock;
        clock.start();
        browser->showFolder(folder.path(), folder.path() + "/Level_050.bmp", &folder.history());
        browser->show();
        while (!paint.painted || (untilAllRead && browser->tracks()->scanning()))
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (browser->tracks()->rowCount() != kLevels)
            state.SkipWithError("not every level listed");
    }
}

void BM_TrackBrowserFirstPaint(benchmark::State& state) {
    openBrowser(state, false);
}
BENCHMARK(BM_TrackBrowserFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_TrackBrowserAllPicturesRead(benchmark::State& state) {
    openBrowser(state, true);
}
BENCHMARK(BM_TrackBrowserAllPicturesRead)->UseManualTime()->Unit(benchmark::kMillisecond);

// The process's resident memory in MB, now and at its peak since resetPeak.
double residentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    statm >> pages >> pages;
    return double(pages) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double peakResidentMb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A small level: white track in a black frame, green start at the left, red finish at the right.
// `variant` is written into the first pixel, so that no two levels have the same bytes.
QByteArray levelBytes(int width, int height, int variant) {
    QImage level(width, height, QImage::Format_RGB32);
    level.fill(Qt::white);
    QPainter painter(&level);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.fillRect(2, 2, 10, height - 4, Qt::green);
    painter.fillRect(width - 12, 2, 10, height - 4, Qt::red);
    painter.end();
    level.setPixel(0, 0, qRgb(variant & 0xff, (variant >> 8) & 0xff, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    level.save(&buffer, "BMP");
    return bytes;
}

// A level of 8192 x 4096 pixels at 24 bits (96 MB): white, the start and finish at its sides,
// and `variant` in its first pixel.
QByteArray hugeLevelBytes(int variant) {
    constexpr int kWidth = 8192;
    constexpr int kHeight = 4096;
    constexpr int kRowBytes = kWidth * 3;
    QByteArray bytes = levelBytes(4, 4, 0).left(54);
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char((v >> (8 * i)) & 0xff);
    };
    put32(2, 54 + kRowBytes * kHeight);
    put32(18, kWidth);
    put32(22, kHeight);
    put32(34, kRowBytes * kHeight);
    QByteArray row(kRowBytes, char(0xff));
    const QByteArray green("\x00\xff\x00", 3); // blue, green, red
    const QByteArray red("\x00\x00\xff", 3);
    for (int x = 0; x < 64; ++x) {
        row.replace(x * 3, 3, green);
        row.replace((kWidth - 1 - x) * 3, 3, red);
    }
    bytes.reserve(54 + qsizetype(kRowBytes) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        bytes += row;
    bytes[54] = char(variant);
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// 10 000 small levels (100 x 75, 24 bits: 22 KB each) and a run history beside them.
class TenThousandLevels {
public:
    static constexpr int kCount = 10000;
    TenThousandLevels() : m_history(m_dir.filePath(QStringLiteral("history.sqlite"))) {
        for (int i = 0; i < kCount; ++i)
            writeFile(m_dir.filePath(QStringLiteral("Level_%1.bmp").arg(i, 5, 10, QChar('0'))),
                      levelBytes(100, 75, i));
    }
    QString path() const { return m_dir.path(); }
    kf::HistoryWriter& history() { return m_history; }

private:
    QTemporaryDir m_dir;
    kf::HistoryWriter m_history;
};

// `huge` levels of 8192 x 4096 beside three small ones, and a run history.
class HugeLevels {
public:
    explicit HugeLevels(int huge) : m_history(m_dir.filePath(QStringLiteral("history.sqlite"))) {
        for (int i = 0; i < huge; ++i)
            writeFile(m_dir.filePath(QStringLiteral("Huge_%1.bmp").arg(i)), hugeLevelBytes(i));
        for (int i = 0; i < 3; ++i)
            writeFile(m_dir.filePath(QStringLiteral("Small_%1.bmp").arg(i)),
                      levelBytes(400, 400, i));
    }
    QString path() const { return m_dir.path(); }
    kf::HistoryWriter& history() { return m_history; }

private:
    QTemporaryDir m_dir;
    kf::HistoryWriter m_history;
};

// Runs the event loop until `done`, at most `limitMs`; the milliseconds that took.
template <typename Done> double waitUntil(Done done, int limitMs = 120000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return double(clock.nsecsElapsed()) / 1e6;
}

// Opens the browser on the folder: the time to the first paint of its table.
double openOn(kf::TrackBrowser& browser, const QString& folder, kf::HistoryWriter& history) {
    FirstPaint paint;
    browser.view()->viewport()->installEventFilter(&paint);
    QElapsedTimer clock;
    clock.start();
    browser.showFolder(folder, folder + "/", &history);
    browser.show();
    waitUntil([&] { return paint.painted; });
    browser.view()->viewport()->removeEventFilter(&paint);
    return double(clock.nsecsElapsed()) / 1e6;
}

// Closes the browser while it reads: the time until no reading is left.
double closeWhileReading(kf::TrackBrowser& browser, int readForMs) {
    waitUntil([] { return false; }, readForMs);
    QElapsedTimer clock;
    clock.start();
    browser.close();
    waitUntil([&] { return !browser.tracks()->scanning(); });
    return double(clock.nsecsElapsed()) / 1e6;
}

// The list shown, everything in view read, the whole list scrolled through in 20 steps each
// left to settle, and the browser closed while it reads; the memory is that of the whole
// process against what it held before the browser was made.
void BM_TrackBrowserTenThousandLevels(benchmark::State& state) {
    static TenThousandLevels folder;
    for (auto _ : state) {
        const double before = residentMb();
        auto browser = std::make_unique<kf::TrackBrowser>();
        const double cpuBefore = cpuSeconds();
        const double listMs = openOn(*browser, folder.path(), folder.history());
        state.SetIterationTime(listMs / 1e3);
        const double settledMs = listMs + waitUntil([&] { return !browser->tracks()->scanning(); });
        state.counters["settled_s"] = settledMs / 1e3;
        state.counters["cpu_s"] = cpuSeconds() - cpuBefore;
        state.counters["open_MB"] = residentMb() - before;
        QScrollBar* bar = browser->view()->verticalScrollBar();
        for (int step = 1; step <= 20; ++step) {
            bar->setValue(bar->maximum() * step / 20);
            waitUntil([&] { return !browser->tracks()->scanning(); });
        }
        state.counters["scrolled_MB"] = residentMb() - before;
        if (browser->tracks()->rowCount() != TenThousandLevels::kCount)
            state.SkipWithError("not every level listed");
        browser->close();
        openOn(*browser, folder.path(), folder.history());
        state.counters["stop_ms"] = closeWhileReading(*browser, 100);
        waitUntil([] { return false; }, 200);
        state.counters["closed_MB"] = residentMb() - before;
    }
}
BENCHMARK(BM_TrackBrowserTenThousandLevels)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Folders with one and two levels of 8192 x 4096 pixels (96 MB each) beside three small ones:
// the peak of the memory while every picture is read, and the browser closed while a large
// picture is being read.
void BM_TrackBrowserHugeLevels(benchmark::State& state) {
    HugeLevels folder(int(state.range(0)));
    for (auto _ : state) {
        const double before = residentMb();
        resetPeak();
        auto browser = std::make_unique<kf::TrackBrowser>();
        const double listMs = openOn(*browser, folder.path(), folder.history());
        state.SetIterationTime(listMs / 1e3);
        const double settledMs = listMs + waitUntil([&] { return !browser->tracks()->scanning(); });
        state.counters["settled_s"] = settledMs / 1e3;
        state.counters["peak_MB"] = peakResidentMb() - before;
        browser->close();
        openOn(*browser, folder.path(), folder.history());
        state.counters["stop_ms"] = closeWhileReading(*browser, 150);
        waitUntil([] { return false; }, 200);
        state.counters["closed_MB"] = residentMb() - before;
    }
}
BENCHMARK(BM_TrackBrowserHugeLevels)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
