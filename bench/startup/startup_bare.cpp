// The floor of the start-up: a bare Qt dialog with nothing in it, of the size given as
// `kf_startup_bare <width> <height>` (the main window's), shown until its first paint.

#include "FirstPaint.h"

#include <QApplication>
#include <QDialog>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kfbench::FirstPaint firstPaint;
    QDialog dialog;
    if (argc > 2)
        dialog.setFixedSize(QString::fromLocal8Bit(argv[1]).toInt(),
                            QString::fromLocal8Bit(argv[2]).toInt());
    return dialog.exec();
}
