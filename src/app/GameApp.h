#pragma once

namespace kf {

// The application object: its whole life is one modal run of the main window.
class GameApp {
public:
    // Lets a write past the file size limit fail instead of ending the game, sets the
    // application's name and look, runs the main window until it is closed and
    // returns false: there is no further message loop of the application's own.
    bool InitInstance();
};

} // namespace kf
