#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>

#include <deque>

namespace kf {

// The creator's undo and redo: the steps that changed the canvas, newest last, and how far
// undo has gone back. A step keeps only its rectangle, in which every pixel is stored as the
// bitwise difference (exclusive or) of its colour before and after the step, compressed. The
// difference is zero wherever the step left a pixel alone, so a stroke across the whole canvas
// costs little more than the paint it laid, whatever the level beneath looks like; and since
// undo and redo only ever apply a step to the canvas it left or found, the same difference
// turns "after" back into "before" and "before" into "after".
class CanvasHistory {
public:
    // Undo reaches back at least this many steps. Older steps are kept as well while the whole
    // history holds no more than kBudgetBytes.
    static constexpr int kMinSteps = 100;
    static constexpr qsizetype kBudgetBytes = qsizetype{16} * 1024 * 1024;

    // Records a step that changed `before` into `after` (two pictures of one size and format,
    // 32 bits a pixel) within `rect`, dropping every step that undo had taken back. A step that
    // changed no pixel is no step: nothing is recorded and the redo steps stay. True when a
    // step was recorded.
    bool record(const QImage& before, const QImage& after, QRect rect);

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }
    // Takes back the newest step still done in `canvas`, the picture the steps were recorded on;
    // returns the rectangle that changed (empty when there was nothing to undo).
    QRect undo(QImage& canvas);
    // Does again the oldest step that undo took back; the rectangle that changed, or empty.
    QRect redo(QImage& canvas);
    // Forgets every step.
    void clear();

    // Steps held, done and taken back.
    int steps() const { return static_cast<int>(m_steps.size()); }
    // Bytes the steps hold: their compressed differences and their bookkeeping.
    qsizetype bytes() const { return m_bytes; }

private:
    struct Step {
        QRect rect;
        QByteArray difference; // qCompress of the rect's pixels, before xor after, row by row
    };
    static qsizetype bytesOf(const Step& step);
    static void apply(const Step& step, QImage& canvas);

    std::deque<Step> m_steps;
    std::size_t m_done = 0; // steps [0, m_done) are done, the rest taken back
    qsizetype m_bytes = 0;
};

} // namespace kf
