#pragma once

#include "creator/CanvasHistory.h"
#include "level/ColorCode.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace kf {

// The creator's tools, as the radio group of the dialog numbers them.
inline constexpr int kToolWalls = 0;
inline constexpr int kToolStart = 1;
inline constexpr int kToolFinish = 2;
inline constexpr int kToolEraser = 3;

// The brush sizes the slider offers, and the size every opening of the creator starts with.
inline constexpr int kMinBrushSize = 1;
inline constexpr int kMaxBrushSize = 5;
inline constexpr int kOpeningBrushSize = 2;

// The pen of a tool: paint brushes are 6 pixels wide per brush size step, the eraser 11.
// A tool number outside the table paints walls.
struct CreatorPen {
    COLORREF colour = kWall;
    int width = 0;
};
CreatorPen creatorPen(int tool, int brushSize);

// Whether a stroke point lies strictly inside the painting bounds, 10 < x, y < 390. A segment
// is drawn only when both its end points do; it is skipped, never clipped, otherwise.
constexpr bool insidePaintingBounds(QPoint p) {
    return p.x() > 10 && p.x() < 390 && p.y() > 10 && p.y() < 390;
}

// The level being painted: a 400 x 400 picture in creator client pixels, white free track
// with a one-pixel black frame or a level put on it, and the strokes on top. The dialog shows
// exactly this picture at its client origin and SAVE writes it, so covering the window never
// loses a stroke. Each stroke (from a press to the release) and each level loaded during an
// opening is one step of the history that undo takes back.
class LevelCanvas {
public:
    static constexpr int kSize = 400;

    // `frame` is the frame's rectangle in client pixels.
    explicit LevelCanvas(QRect frame);

    // Whether the canvas takes a level of this size: only kSize x kSize.
    static bool fits(QSize size) { return size == QSize(kSize, kSize); }

    const QImage& image() const { return m_image; }
    // The stored previous stroke point. Before the first press it lies outside the bounds,
    // and it outlives clear(): a drag at a later opening goes on from it.
    QPoint previous() const { return {m_prevX, m_prevY}; }
    const CanvasHistory& history() const { return m_history; }

    // A blank level, white with the frame, and no history: the start of an opening.
    void clear();
    // The start of an opening with this level on the canvas and no history. Every colour is
    // kept as it is, those the tools do not paint as well. False, and nothing changed, for a
    // level of another size.
    bool open(const QImage& level);
    // Puts another level on the canvas as one step of the history, after ending a stroke still
    // open. False, and nothing changed, for a level of another size.
    bool load(const QImage& level);

    // A press of the button starts a stroke here, after ending one still open; nothing is drawn.
    void press(QPoint point);
    // A movement with the button held: draws the segment from the previous point with the
    // tool's round-capped pen when both points lie inside the bounds, then stores the point.
    // A movement without a press before it starts a stroke too. Returns the rectangle that
    // may have changed (empty when nothing was drawn).
    QRect drag(QPoint point, int tool, int brushSize);
    // The release of the button ends the stroke: what it changed becomes one step, and any
    // step that undo had taken back is gone. True when a step was recorded; a stroke that
    // changed no pixel is none.
    bool release();

    // Take back the newest step, or do again the last one taken back, after ending a stroke
    // still open. Each returns the rectangle that changed, empty when there was nothing to do.
    QRect undo();
    QRect redo();

private:
    void replace(const QImage& level);

    QRect m_frame;
    QImage m_image;
    int m_prevY = -1;
    int m_prevX = -1;
    CanvasHistory m_history;
    // While a stroke is open: the canvas as it was at its start, and the rectangle it painted.
    QImage m_strokeStart;
    QRect m_stroke;
};

} // namespace kf
