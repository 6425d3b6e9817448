// Renders the game's windows to PNG files for the README, from the real dialogs on the
// offscreen platform: kf_screenshots <output folder>.

#include "board/ContinueDialog.h"
#include "board/MainDialog.h"
#include "board/NewRecordDialog.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(QWidget& w, const QDir& out, const QString& name) {
    const QString path = out.filePath(name);
    if (!w.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A player's run on the intro level in dot style: along the first straight and into the bend.
void traceSomeTrail(kf::MainDialog& main) {
    main.OnLButtonDown(kf::kMkLButton, {60, 72});
    for (int x = 64; x <= 380; x += 4 + (x / 40) % 3)
        main.OnMouseMove(kf::kMkLButton, {x, 72 + (x % 7 == 0 ? 1 : 0)});
    for (int y = 76; y <= 130; y += 5)
        main.OnMouseMove(kf::kMkLButton, {378, y});
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Made absolute first: the game's folder becomes the current directory below.
    const QDir out(QDir::current().absoluteFilePath(argc > 1 ? QString::fromLocal8Bit(argv[1])
                                                             : QStringLiteral("docs")));
    QDir().mkpath(out.path());

    // The game reads its files from the current directory: a fresh copy of the bundled data.
    QTemporaryDir play;
    const QDir data(QStringLiteral(KF_DATA_DIR));
    for (const QString& name : data.entryList(QDir::Files))
        QFile::copy(data.filePath(name), QDir(play.path()).filePath(name));
    QDir::setCurrent(play.path());

    kf::MainDialog main;
    main.Create();
    traceSomeTrail(main);
    wait(350);
    bool ok = save(main, out, QStringLiteral("main-window.png"));

    kf::ContinueDialog notice;
    notice.m_text = QStringLiteral("YOU FINISHED -> Time : 8123 ms");
    notice.Create();
    ok = save(notice, out, QStringLiteral("notice.png")) && ok;

    kf::NewRecordDialog record;
    record.Create();
    ok = save(record, out, QStringLiteral("new-record.png")) && ok;
    return ok ? 0 : 1;
}
