#pragma once

#include "creator/LevelCanvas.h"

#include <QWidget>

namespace kf {

// The creator's canvas control: paints the LevelCanvas unscaled at the client origin and
// nothing else. It takes no mouse input, so strokes over it reach the creator dialog.
class CanvasView : public QWidget {
    Q_OBJECT
public:
    CanvasView(const LevelCanvas& canvas, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const LevelCanvas& m_canvas;
};

} // namespace kf
