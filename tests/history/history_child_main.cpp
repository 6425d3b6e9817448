// A game that only ends runs, for the test that kills it: it hands `count` finished runs to the
// history, numbered from `first` + 1, and after handing each one over prints its number, as
// the game shows the run's notice. Then it waits for the history to open and, when the history
// is unavailable, prints why. Last, it reads an empty race file, as the game reaches race
// files, and prints why it cannot be used. Arguments: database path, first, count.

#include "history/HistoryWriter.h"
#include "race/RaceFile.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    const int first = args[2].toInt();
    const int count = args[3].toInt();
    kf::HistoryWriter writer(args[1]);
    for (int i = 1; i <= count; ++i) {
        kf::GhostPath path;
        path.append({0, 0}, 0);
        path.append({i, 0}, first + i);
        writer.record({"lvl", "Curves.bmp", QDateTime::currentDateTimeUtc(), false, "",
                       kf::RunEnd::Finished, first + i, 1, 1},
                      path);
        std::printf("%d\n", first + i);
        std::fflush(stdout);
        QCoreApplication::processEvents();
        QThread::usleep(QRandomGenerator::global()->bounded(3000));
    }
    while (writer.state() == kf::HistoryWriter::State::Opening) {
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    if (!writer.usable())
        std::printf("%s\n", qPrintable(writer.reason()));
    std::printf("%s\n", qPrintable(kf::readRaceBytes({}, QStringLiteral("Empty.kfrace")).reason));
    return 0;
}
