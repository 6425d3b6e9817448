// The soak: thousands of runs of one game in one process, as a player makes them, each ending
// as runs do (a wall crash, a button release, a finish, a finish with a new record) and each of
// its notice and record dialogs answered. Every 100 runs it prints the heap in use; at the end,
// how much the heap grew per run after the warm-up. A game whose memory stays flat grows by
// next to nothing there.
//
//   kf_soak [runs = 3000] [warm-up runs = 500]
//
// The main window has the game's style, and the runs are driven from the application's event
// loop as a player's events arrive: whatever the game leaves for that loop to clean up is cleaned
// up between runs as in play. (The window is shown without a modal run of its own, as in the
// widget tests, so that the dialogs answered are only those the runs open.) QT_QPA_PLATFORM=xcb
// runs it on a desktop.

#include "res/ControlIds.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <malloc.h>
#include <optional>

namespace {

using kf::MainDialog;
using kf::test::ModalAnswerer;

// The small test level at client (11, 10): start x 11..20, finish x 101..110, and a one-pixel
// wall at client x = 61 over the rows y = 10..39.
constexpr QPoint kOnStart(15, 50);
constexpr QPoint kOnFinish(105, 50);
constexpr QPoint kAboveStart(15, 20);

constexpr int kReportEvery = 100;

enum class Ending { WallCrash, ButtonRelease, Finish, NewRecord };
constexpr int kEndings = 4;

// Bytes the program has taken from the heap and not given back, mapped blocks included.
double heapKb() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / 1024.0;
}

double residentKb() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4.0 : 0;
}

class Soak {
public:
    Soak(int runs, int warmUp) : m_runs(runs), m_warmUp(warmUp) {
        m_folder.writeBitmap(QStringLiteral("Level_00_INTRO.bmp"), kf::test::smallTestLevel());
    }

    // Shows the main window and makes one run after the other from the event loop; returns
    // when the runs are done.
    void run() {
        m_main.Create();
        QTimer::singleShot(0, [this] { step(); });
        QApplication::exec();
    }

    bool succeeded() const { return m_failures == 0 && m_answers.unexpected() == 0; }

private:
    void step() {
        if (m_done == m_runs) {
            summarize();
            QApplication::exit();
            return;
        }
        if (m_done == m_warmUp)
            m_heapAfterWarmUp = heapKb();
        makeRun(static_cast<Ending>(m_done % kEndings));
        ++m_done;
        if (m_done % kReportEvery == 0)
            report();
        QTimer::singleShot(0, [this] { step(); });
    }

    void makeRun(Ending ending) {
        switch (ending) {
        case Ending::WallCrash:
            m_answers.clickOk();
            press(kAboveStart);
            move({40, 20});
            move({80, 20});
            expect(QStringLiteral("YOU FAILED (Wallcrash)"));
            break;
        case Ending::ButtonRelease:
            m_answers.pressEnter();
            press(kOnStart);
            move({30, 50});
            move({40, 50}, false);
            expect(QStringLiteral("YOU FAILED (Button release)"));
            break;
        case Ending::Finish:
        case Ending::NewRecord: {
            const bool record = ending == Ending::NewRecord;
            // A best time no run can beat, or one every run beats.
            m_main.m_bestTimeMs = record ? 999999 : 0;
            m_answers.clickOk();
            if (record)
                m_answers.typeAndEnter(kf::id::newRecord::Name, QStringLiteral("Soak"));
            press(kOnStart);
            move({60, 50});
            move(kOnFinish);
            release(kOnFinish);
            expect(QStringLiteral("YOU FINISHED -> Time : %1 ms").arg(m_main.m_timeMs),
                   record ? 2 : 1);
            break;
        }
        }
    }

    void press(QPoint p) { QTest::mousePress(&m_main, Qt::LeftButton, {}, p); }
    void release(QPoint p) { QTest::mouseRelease(&m_main, Qt::LeftButton, {}, p); }
    void move(QPoint p, bool buttonHeld = true) {
        QMouseEvent event(QEvent::MouseMove, p, m_main.mapToGlobal(p), Qt::NoButton,
                          buttonHeld ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&m_main, &event);
    }

    // The run's first dialog showed `notice`, and `dialogs` dialogs were answered in all.
    void expect(const QString& notice, int dialogs = 1) {
        const QStringList texts = m_answers.takeTexts();
        if (texts.size() != dialogs || texts.first() != notice) {
            ++m_failures;
            std::fprintf(stderr, "run %d: expected \"%s\" and %d dialog(s), got \"%s\"\n",
                         m_done + 1, qPrintable(notice), dialogs,
                         qPrintable(texts.join(QStringLiteral(" | "))));
        }
    }

    void report() {
        std::printf("%6d runs  heap %9.1f KB  resident %9.1f KB\n", m_done, heapKb(), residentKb());
        std::fflush(stdout);
    }

    void summarize() {
        if (m_heapAfterWarmUp && m_done > m_warmUp) {
            const double grown = heapKb() - *m_heapAfterWarmUp;
            std::printf("after %d warm-up runs: heap %+.1f KB over %d runs, %+.3f KB per run\n",
                        m_warmUp, grown, m_done - m_warmUp, grown / (m_done - m_warmUp));
        }
        if (!succeeded())
            std::printf("%d runs went wrong, %d dialogs were not expected\n", m_failures,
                        m_answers.unexpected());
    }

    const int m_runs;
    const int m_warmUp;
    kf::test::PlayFolder m_folder;
    ModalAnswerer m_answers;
    MainDialog m_main;
    int m_done = 0;
    int m_failures = 0;
    std::optional<double> m_heapAfterWarmUp;
};

int argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? QByteArray(argv[index]).toInt() : fallback;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The run history goes to a data folder of this program's own, never the player's.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    // And so do the settings, with the ghost of the best run on, as in a new game.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kurvenflitzerl"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const int runs = argument(argc, argv, 1, 3000);
    const int warmUp = argument(argc, argv, 2, 500);
    if (runs <= 0 || warmUp < 0 || warmUp >= runs) {
        std::fprintf(stderr, "usage: kf_soak [runs] [warm-up runs, fewer than the runs]\n");
        return 2;
    }
    Soak soak(runs, warmUp);
    soak.run();
    return soak.succeeded() ? 0 : 1;
}
