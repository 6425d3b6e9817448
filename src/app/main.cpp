#include "app/GameApp.h"

#include <QApplication>

namespace {
kf::GameApp theApp;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    theApp.InitInstance();
    return 0;
}
