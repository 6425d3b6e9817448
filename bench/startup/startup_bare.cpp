// The floor of the start-up: a bare Qt dialog with nothing in it, of the size given as
// `kf_startup_bare <width> <height>` (the main window's), shown until its first paint. With a
// third argument the dialog shows that text in one label: the floor of a window with text.

#include "FirstPaint.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kfbench::FirstPaint firstPaint;
    QDialog dialog;
    if (argc > 2)
        dialog.setFixedSize(QString::fromLocal8Bit(argv[1]).toInt(),
                            QString::fromLocal8Bit(argv[2]).toInt());
    if (argc > 3)
        (new QLabel(QString::fromLocal8Bit(argv[3]), &dialog))->move(10, 10);
    return dialog.exec();
}
