#include "creator/LevelBitmap.h"
#include "creator/LevelCanvas.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;

const QRect kHistoryFrame(5, 10, 395, 388);

// Four strokes that overlap, so the order of their steps shows on the canvas.
void paintStroke(LevelCanvas& canvas, char stroke) {
    struct Stroke {
        QPoint from, to;
        int tool;
    };
    const Stroke strokes[] = {{{40, 200}, {360, 200}, kToolWalls},
                              {{200, 100}, {200, 300}, kToolEraser},
                              {{60, 60}, {340, 340}, kToolStart},
                              {{60, 340}, {340, 60}, kToolFinish}};
    const Stroke& s = strokes[stroke - '1'];
    canvas.press(s.from);
    canvas.drag(s.to, s.tool, 3);
    canvas.release();
}

// A track with colours of its own: a grey ground with a blue square.
QImage oddColouredTrack() {
    QImage track(400, 400, QImage::Format_RGB32);
    track.fill(QColor(0x12, 0x34, 0x56));
    for (int y = 100; y < 150; ++y)
        for (int x = 100; x < 150; ++x)
            track.setPixel(x, y, qRgb(0, 0, 200));
    return track;
}

// Plays a sequence on a blank canvas: a digit is that stroke, u undo, r redo, L loads the odd
// track, c a click without a movement.
void playSequence(LevelCanvas& canvas, const std::string& actions) {
    for (char a : actions) {
        switch (a) {
        case 'u':
            canvas.undo();
            break;
        case 'r':
            canvas.redo();
            break;
        case 'L':
            canvas.load(oddColouredTrack());
            break;
        case 'c':
            canvas.press({200, 200});
            canvas.release();
            break;
        default:
            paintStroke(canvas, a);
        }
    }
}

struct UndoCase {
    const char* actions;
    const char* shows; // the strokes (and loads) of a canvas that never undid anything
    bool canUndo;
    bool canRedo;
};

class UndoRedo : public ::testing::TestWithParam<UndoCase> {};

TEST_P(UndoRedo, TheCanvasShowsTheStepsStillDone) {
    const UndoCase c = GetParam();
    LevelCanvas canvas(kHistoryFrame);
    playSequence(canvas, c.actions);
    LevelCanvas expected(kHistoryFrame);
    playSequence(expected, c.shows);
    EXPECT_EQ(canvas.image(), expected.image());
    EXPECT_EQ(canvas.history().canUndo(), c.canUndo);
    EXPECT_EQ(canvas.history().canRedo(), c.canRedo);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, UndoRedo,
    ::testing::Values(UndoCase{"", "", false, false}, UndoCase{"u", "", false, false},
                      UndoCase{"r", "", false, false}, UndoCase{"1", "1", true, false},
                      UndoCase{"1u", "", false, true}, UndoCase{"1ur", "1", true, false},
                      UndoCase{"12u", "1", true, true}, UndoCase{"12uu", "", false, true},
                      UndoCase{"12uuur", "1", true, true}, UndoCase{"12uurr", "12", true, false},
                      UndoCase{"12uurrr", "12", true, false}, UndoCase{"123uu4", "14", true, false},
                      UndoCase{"123uu4u", "1", true, true}, UndoCase{"12u3r", "13", true, false},
                      UndoCase{"12uc", "1", true, true}, UndoCase{"12ucr", "12", true, false},
                      UndoCase{"1L", "L", true, false}, UndoCase{"1L2u", "L", true, true},
                      UndoCase{"1L2uu", "1", true, true}, UndoCase{"1L2uuu", "", false, true},
                      UndoCase{"1L2uuurrr", "L2", true, false}),
    [](const auto& info) {
        return info.param.actions[0] ? std::string(info.param.actions) : std::string("nothing");
    });

// Undo reaches back over more than a hundred strokes to the level the opening put on the
// canvas, and redo brings them all back.
TEST(CanvasHistory, UndoesEveryStrokeBackToTheOpenedLevel) {
    LevelCanvas canvas(kHistoryFrame);
    ASSERT_TRUE(canvas.open(oddColouredTrack()));
    const QImage opened = canvas.image();
    for (int i = 0; i < 130; ++i)
        paintStroke(canvas, static_cast<char>('1' + i % 4));
    const QImage painted = canvas.image();
    EXPECT_EQ(canvas.history().steps(), 130);
    int undone = 0;
    while (canvas.history().canUndo() && !canvas.undo().isEmpty())
        ++undone;
    EXPECT_EQ(undone, 130);
    EXPECT_EQ(canvas.image(), opened);
    while (canvas.history().canRedo())
        canvas.redo();
    EXPECT_EQ(canvas.image(), painted);
}

// Colours the tools do not paint stay where no stroke went; what a stroke covers takes the
// tool's colour; the level file keeps both.
TEST(CanvasHistory, ALevelOfOtherColoursKeepsThem) {
    for (const bool loaded : {false, true}) {
        LevelCanvas canvas(kHistoryFrame);
        ASSERT_TRUE(loaded ? canvas.load(oddColouredTrack()) : canvas.open(oddColouredTrack()));
        canvas.press({40, 300});
        canvas.drag({360, 300}, kToolStart, 2);
        canvas.release();
        EXPECT_EQ(canvas.image().pixel(200, 300), qRgb(0, 255, 0)) << loaded;
        EXPECT_EQ(canvas.image().pixel(200, 320), qRgb(0x12, 0x34, 0x56)) << loaded;
        EXPECT_EQ(canvas.image().pixel(120, 120), qRgb(0, 0, 200)) << loaded;
        EXPECT_EQ(canvas.image().pixel(5, 200), qRgb(0x12, 0x34, 0x56)) << "no frame added";
        const QByteArray file = encodeLevelBitmap(canvas.image());
        EXPECT_EQ(file.mid(54 + (399 - 120) * 1200 + 3 * 120, 3).toHex(), "c80000") << loaded;
    }
}

// A level of another size is refused and changes nothing, history included.
TEST(CanvasHistory, ALevelOfAnotherSizeChangesNothing) {
    LevelCanvas canvas(kHistoryFrame);
    paintStroke(canvas, '1');
    const QImage before = canvas.image();
    for (const QSize size : {QSize(640, 480), QSize(400, 399), QSize(401, 400), QSize()}) {
        QImage other(size, QImage::Format_RGB32);
        other.fill(Qt::blue);
        EXPECT_FALSE(canvas.load(other));
        EXPECT_FALSE(canvas.open(other));
        EXPECT_EQ(canvas.image(), before);
        EXPECT_EQ(canvas.history().steps(), 1);
    }
}

// The history holds the difference a step made, not copies of the canvas: a hundred eraser
// strokes of the widest brush over the whole canvas, each after a wall stroke over the whole
// canvas, and the first over a track of colours of its own, stay far below 16 MB. Plain
// copies of the canvas before and after each of those 200 steps would take 256 MB.
TEST(CanvasHistory, AHundredWidestEraserStrokesOverTheWholeCanvasStayUnder16MB) {
    QImage noisy(400, 400, QImage::Format_RGB32);
    quint32 seed = 1;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            noisy.setPixel(x, y, (seed = seed * 1664525 + 1013904223) >> 8);
    LevelCanvas canvas(kHistoryFrame);
    ASSERT_TRUE(canvas.open(noisy));
    const auto zigzag = [&](int tool) {
        canvas.press({15, 20});
        for (int row = 0; row < 8; ++row) {
            const int y = 20 + 50 * row;
            const int from = row % 2 ? 385 : 15;
            const int to = row % 2 ? 15 : 385;
            canvas.drag({from, y}, tool, kMaxBrushSize);
            canvas.drag({to, y}, tool, kMaxBrushSize);
        }
        EXPECT_TRUE(canvas.release());
    };
    for (int i = 0; i < 100; ++i) {
        zigzag(kToolEraser);
        zigzag(kToolWalls);
    }
    EXPECT_EQ(canvas.history().steps(), 200);
    EXPECT_LT(canvas.history().bytes(), CanvasHistory::kBudgetBytes);
    RecordProperty("historyBytes", static_cast<int>(canvas.history().bytes()));
}

// Beyond its budget the history forgets its oldest steps, but never any of the last hundred.
TEST(CanvasHistory, OverItsBudgetItKeepsTheLastHundredSteps) {
    // Noise does not compress: each step holds about 176 kB, a hundred of them over 16 MB.
    QImage before(210, 210, QImage::Format_RGB32);
    QImage after = before;
    quint32 seed = 7;
    const auto fillNoise = [&](QImage& image) {
        auto* p = reinterpret_cast<quint32*>(image.bits());
        for (qsizetype i = 0; i < image.sizeInBytes() / 4; ++i)
            p[i] = (seed = seed * 1664525 + 1013904223);
    };
    CanvasHistory history;
    for (int i = 0; i < CanvasHistory::kMinSteps + 5; ++i) {
        fillNoise(before);
        fillNoise(after);
        ASSERT_TRUE(history.record(before, after, before.rect()));
    }
    EXPECT_EQ(history.steps(), CanvasHistory::kMinSteps);
    EXPECT_GT(history.bytes(), CanvasHistory::kBudgetBytes);
}

} // namespace
