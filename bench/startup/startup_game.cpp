// The game's own start-up, as its main() makes it, until the main window's first paint. Run it
// in a folder that holds the game's files.

#include "FirstPaint.h"
#include "app/GameApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kfbench::FirstPaint firstPaint;
    kf::GameApp game;
    game.InitInstance();
    return 0;
}
