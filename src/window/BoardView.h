#pragma once

#include "level/LevelBoard.h"

#include <QWidget>

namespace kf {

// The board control: paints what the LevelBoard shows, unscaled, and nothing else. It takes no
// mouse input, so presses and movements over it reach the main window in client pixels.
class BoardView : public QWidget {
    Q_OBJECT
public:
    BoardView(const LevelBoard& board, QWidget* parent);

    // Takes the board's current picture size; hidden while there is no picture.
    void pictureChanged();
    // Repaints a changed client rectangle of the main window.
    void updateClientRect(const QRect& client);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const LevelBoard& m_board;
};

} // namespace kf
