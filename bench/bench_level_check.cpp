#include "check/LevelCheck.h"
#include "check/LevelPassage.h"
#include "creator/CanvasCheck.h"
#include "level/BitmapFile.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// A level of side x side pixels: nine wall bands across, each open at the end the one above is
// closed, a starting square at the top left and a finishing square at the bottom right, so the
// probe has to wind through the whole picture.
QImage serpentine(int side) {
    QImage picture(side, side, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    const int gap = side / 20;
    const int thick = std::max(1, side / 200);
    for (int k = 1; k < 10; ++k)
        p.fillRect(k % 2 != 0 ? gap : 0, k * side / 10, side - gap, thick, Qt::black);
    const int square = side / 40;
    p.fillRect(0, 0, square, square, QColor(0, 255, 0));
    p.fillRect(side - square, side - square, square, square, QColor(255, 0, 0));
    return picture;
}

// The whole check of a range(0) x range(0) level for a corridor range(1) pixels wide.
void BM_CheckLevel(benchmark::State& state) {
    const QImage picture = serpentine(static_cast<int>(state.range(0)));
    const int width = static_cast<int>(state.range(1));
    for (auto _ : state) {
        const kf::LevelCheckResult result = kf::checkLevel(picture, width);
        benchmark::DoNotOptimize(result.playable);
    }
}

BENCHMARK(BM_CheckLevel)->ArgsProduct({{400, 1000, 4000}, {4, 40}})->Unit(benchmark::kMillisecond);

// The narrowest passage of a range(0) x range(0) level, every width at once: the measure from
// the picture to the verdicts of all widths.
void BM_MeasurePassage(benchmark::State& state) {
    const QImage picture = serpentine(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const kf::LevelPassage passage = kf::measurePassage(picture);
        benchmark::DoNotOptimize(passage.narrowest);
    }
}

BENCHMARK(BM_MeasurePassage)->Arg(400)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// The level creator's check of its 400 x 400 canvas, off the interface thread: the measure, the
// verdict and the problems' picture; range(0) 1 walls the start in, so its area is striped.
void BM_CheckCanvas(benchmark::State& state) {
    QImage picture = serpentine(400);
    if (state.range(0) != 0)
        QPainter(&picture).fillRect(0, 12, 14, 2, Qt::black);
    for (auto _ : state) {
        const kf::CanvasCheck check = kf::checkCanvas(picture);
        benchmark::DoNotOptimize(check.result.playable);
    }
}

BENCHMARK(BM_CheckCanvas)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 84 bytes that claim a run-length picture of 11584 x 11584 pixels: refused from the header.
void BM_ReadTooLarge(benchmark::State& state) {
    const QByteArray file = QByteArray::fromHex(
        "424d540000000000000042000000"     // file header
        "28000000402d0000402d000001000800" // info header: 11584 x 11584, 8 bits a pixel,
        "01000000120000000000000000000000" // run-length coded in 18 bytes,
        "0300000000000000"                 // three colours:
        "ffffff0000ff00000000ff00"         // white, green, red
        "ff01ff01ff01ff01ff02ff02ff02ff02" // four runs of green, four of red
        "0001");                           // the end
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(file);
        buffer.open(QIODevice::ReadOnly);
        kf::BitmapRefusal refusal;
        benchmark::DoNotOptimize(kf::readBitmap(buffer, &refusal));
        benchmark::DoNotOptimize(refusal.tooLarge);
    }
}

BENCHMARK(BM_ReadTooLarge);

} // namespace
