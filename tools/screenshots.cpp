// Renders the game's windows to PNG files for the README, from the real dialogs on the
// offscreen platform: kf_screenshots <output folder>.

#include "creator/LevelCreatorDialog.h"
#include "history/HistoryWindow.h"
#include "history/HistoryWriter.h"
#include "history/RunHistory.h"
#include "league/LeagueLink.h"
#include "level/BitmapFile.h"
#include "match/MultiplayerDialog.h"
#include "record/NewRecordDialog.h"
#include "toolkit/ContinueDialog.h"
#include "tracks/TrackBrowser.h"
#include "tracks/TrackList.h"
#include "window/LeagueDialog.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QByteArray>
#include <QContextMenuEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>
#include <vector>

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

// The course of a player's run on the intro level: along the first straight, round the bend and
// back along the second, in client pixels from the press.
std::vector<QPoint> runCourse() {
    std::vector<QPoint> course{{60, 62}};
    for (int x = 64; x <= 360; x += 4 + (x / 40) % 3)
        course.push_back({x, 62 + (x / 30) % 3});
    for (int a = 0; a <= 180; a += 15) {
        const double r = qDegreesToRadians(double(a));
        course.push_back(
            {360 + int(std::lround(15 * std::sin(r))), 98 - int(std::lround(36 * std::cos(r)))});
    }
    for (int x = 356; x >= 150; x -= 5 + (x / 50) % 3)
        course.push_back({x, 134 + (x / 40) % 3});
    return course;
}

// A player's run on the intro level in line style, up to the `points`-th point of the course.
void traceSomeTrail(kf::MainDialog& main, size_t points = std::numeric_limits<size_t>::max()) {
    main.m_trailStyle = kf::kTrailLine;
    main.UpdateData(false);
    const std::vector<QPoint> course = runCourse();
    main.OnLButtonDown(kf::kMkLButton, course.front());
    for (size_t i = 1; i < std::min(points, course.size()); ++i)
        main.OnMouseMove(kf::kMkLButton, course[i]);
}

// The best run of the intro level in the history: the whole course at 6 ms a point.
void recordBestRun(const kf::MainDialog& main) {
    kf::GhostPath path;
    const std::vector<QPoint> course = runCourse();
    for (size_t i = 0; i < course.size(); ++i)
        path.append(course[i] - main.m_bmpLevel.origin(), 6 * qint64(i));
    kf::RunHistory(kf::RunHistory::defaultPath())
        .record({main.m_levelSha256, main.m_levelName, QDateTime::currentDateTimeUtc(), false,
                 QString(), kf::RunEnd::Finished, int(path.points().last().ms), 642, 1000},
                path);
}

// A small track in the creator: a wall band with a gap, a start and a finish, through the
// dialog's own painting handlers.
void paintSomeLevel(kf::LevelCreatorDialog& creator) {
    struct Stroke {
        int tool;
        int size;
        QPoint from;
        QPoint to;
    };
    const Stroke strokes[] = {
        {kf::kToolWalls, 3, {30, 200}, {250, 200}},   {kf::kToolWalls, 3, {250, 200}, {250, 120}},
        {kf::kToolWalls, 2, {150, 290}, {370, 290}},  {kf::kToolStart, 4, {60, 80}, {100, 80}},
        {kf::kToolFinish, 4, {300, 350}, {340, 350}}, {kf::kToolEraser, 1, {120, 192}, {120, 208}},
    };
    for (const Stroke& s : strokes) {
        creator.m_tool = s.tool;
        creator.m_brushSize = s.size;
        creator.OnLButtonDown(kf::kMkLButton, s.from);
        creator.OnMouseMove(kf::kMkLButton, (s.from + s.to) / 2);
        creator.OnMouseMove(kf::kMkLButton, s.to);
    }
    creator.m_tool = kf::kToolWalls;
    creator.m_brushSize = 2;
    creator.UpdateData(false);
}

// A bundled track opened for editing, with a wall painted across its outer lane, a stroke of
// the eraser taken back, and the canvas's context menu open over it.
bool saveEditedTrack(const QDir& out, const QString& name) {
    kf::LevelCreatorDialog editor;
    editor.m_openingLevel = kf::readBitmapFile(QStringLiteral("Level_05_SPIRAL.bmp"));
    editor.m_fileName = QStringLiteral("Level_05_SPIRAL");
    editor.Create();
    struct Stroke {
        QPoint from, to;
        int tool, size;
    };
    for (const Stroke& s : {Stroke{{200, 20}, {200, 60}, kf::kToolWalls, 2},
                            Stroke{{150, 200}, {250, 200}, kf::kToolEraser, 3}}) {
        editor.m_tool = s.tool;
        editor.m_brushSize = s.size;
        editor.OnLButtonDown(kf::kMkLButton, s.from);
        editor.OnMouseMove(kf::kMkLButton, s.to);
        editor.m_canvas.release();
    }
    editor.m_tool = kf::kToolWalls;
    editor.m_brushSize = 2;
    editor.UpdateData(false);
    editor.OnUndo();
    wait(50);

    // The menu is a window of its own: it is drawn over the creator's picture where it opened.
    QImage shot = editor.grab().toImage();
    QTimer::singleShot(50, &editor, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QPainter painter(&shot);
            painter.drawPixmap(menu->pos() - editor.mapToGlobal(QPoint(0, 0)), menu->grab());
            menu->close();
        }
    });
    const QPoint at(90, 250);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, editor.mapToGlobal(at));
    QApplication::sendEvent(&editor, &event);
    const QString path = out.filePath(name);
    if (!shot.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A window's caption bar over its client area, the caption cut short as a title bar does: the
// offscreen platform draws no frame, and the creator's caption carries the checker's verdict.
QImage withCaption(QWidget& w) {
    const QImage client = w.grab().toImage();
    constexpr int kBar = 26;
    QImage shot(client.width(), client.height() + kBar, QImage::Format_RGB32);
    shot.fill(QColor(0xDC, 0xDC, 0xDC));
    QPainter painter(&shot);
    QFont font = w.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect text(8, 0, client.width() - 16, kBar);
    painter.drawText(
        text, Qt::AlignVCenter | Qt::AlignLeft,
        painter.fontMetrics().elidedText(w.windowTitle(), Qt::ElideRight, text.width()));
    painter.drawImage(0, kBar, client);
    return shot;
}

// The intro track in the creator with a wall across its first straight that leaves a gap too
// narrow for the checker's corridor, and the problems shown: the sealed start tinted, the gap
// ringed, the verdict in the caption.
bool saveCheckedTrack(const QDir& out, const QString& name) {
    kf::LevelCreatorDialog checker;
    checker.m_openingLevel = kf::readBitmapFile(QStringLiteral("Level_00_INTRO.bmp"));
    checker.m_fileName = QStringLiteral("Level_00_INTRO");
    checker.Create();
    checker.m_brushSize = 3;
    for (const auto& [from, to] : {std::pair{QPoint(120, 25), QPoint(120, 52)},
                                   std::pair{QPoint(120, 73), QPoint(120, 100)}}) {
        checker.OnLButtonDown(kf::kMkLButton, from);
        checker.OnMouseMove(kf::kMkLButton, to);
        QMouseEvent release(QEvent::MouseButtonRelease, to, checker.mapToGlobal(to), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&checker, &release);
    }
    checker.m_brushSize = 2;
    checker.UpdateData(false);
    checker.OnShowProblems();
    wait(200);
    const QString path = out.filePath(name);
    if (!withCaption(checker).save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The run history goes to a data folder of this program's own, never the player's.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    // And the settings: the ghost of the best run is on, as in a new game.
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Made absolute first: the game's folder becomes the current directory below.
    const QDir out(QDir::current().absoluteFilePath(argc > 1 ? QString::fromLocal8Bit(argv[1])
                                                             : QStringLiteral("docs")));
    QDir().mkpath(out.path());

    // The game reads its files from the current directory: a fresh copy of the bundled data,
    // the files that the data folder's list names.
    QTemporaryDir play;
    const QDir data(QStringLiteral(KF_DATA_DIR));
    QFile list(data.filePath(QStringLiteral("FILES")));
    if (!list.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kf_screenshots: cannot read %s\n", qPrintable(list.fileName()));
        return 1;
    }
    for (const QByteArray& name : list.readAll().split('\n')) {
        if (!name.isEmpty())
            QFile::copy(data.filePath(QString::fromUtf8(name)),
                        QDir(play.path()).filePath(QString::fromUtf8(name)));
    }
    QDir::setCurrent(play.path());

    kf::MainDialog main;
    main.Create();
    traceSomeTrail(main);
    wait(350);
    bool ok = save(main, out, QStringLiteral("main-window.png"));

    // A later run on the same track, with the ghost of the best run ahead in the bend.
    recordBestRun(main);
    kf::MainDialog racer;
    racer.Create();
    wait(50);
    traceSomeTrail(racer, 25);
    wait(400);
    ok = save(racer, out, QStringLiteral("ghost.png")) && ok;

    // The same run raced against two shared ghosts beside the player's own best: each a ring of
    // its own colour with its player's name.
    kf::MainDialog sharedRacer;
    sharedRacer.Create();
    wait(100);
    if (sharedRacer.m_ghosts.own) {
        const auto slower = [&](const QString& player, double factor) {
            kf::GhostPath path;
            for (const kf::GhostPoint& p : sharedRacer.m_ghosts.own->points())
                path.append({p.x, p.y}, qint64(p.ms * factor));
            return kf::SharedGhost{player == QStringLiteral("Anna") ? 1 : 2, player,
                                   int(path.points().last().ms), QDateTime(), path};
        };
        sharedRacer.m_ghosts.shared = {slower(QStringLiteral("Anna"), 0.8),
                                       slower(QStringLiteral("Benedikt"), 1.3)};
    }
    traceSomeTrail(sharedRacer, 25);
    wait(400);
    ok = save(sharedRacer, out, QStringLiteral("ghosts.png")) && ok;

    // The best run watched again, paused half-way with its trail drawn as it was run.
    kf::MainDialog watcher;
    watcher.Create();
    wait(100);
    if (watcher.m_ghosts.own) {
        watcher.watchPath(*watcher.m_ghosts.own);
        wait(300);
        watcher.m_replay->togglePause(watcher.m_bmpLevel);
        wait(50);
        ok = save(watcher, out, QStringLiteral("replay.png")) && ok;
        watcher.endReplay();
    }

    // The track of the day on the board.
    kf::MainDialog daily;
    daily.Create();
    wait(50);
    daily.OnDailyTrack();
    wait(100);
    ok = save(daily, out, QStringLiteral("daily.png")) && ok;

    kf::ContinueDialog notice;
    notice.m_text = QStringLiteral("YOU FINISHED -> Time : 8123 ms");
    notice.Create();
    ok = save(notice, out, QStringLiteral("notice.png")) && ok;

    kf::NewRecordDialog record;
    record.Create();
    ok = save(record, out, QStringLiteral("new-record.png")) && ok;

    kf::LevelCreatorDialog creator;
    creator.m_fileName = QStringLiteral("Level_42_MY_TRACK");
    creator.Create();
    paintSomeLevel(creator);
    wait(50);
    ok = save(creator, out, QStringLiteral("level-creator.png")) && ok;
    ok = saveEditedTrack(out, QStringLiteral("edit-track.png")) && ok;
    ok = saveCheckedTrack(out, QStringLiteral("creator-check.png")) && ok;

    // A three-player match after two levels, through the match's own rules.
    kf::MultiplayerDialog& match = main.m_multiplayer;
    match.OnFlagClicked(0);
    match.OnFlagClicked(2);
    match.OnFlagClicked(5);
    match.m_namesDlg.m_names = {QStringLiteral("Anna"), QStringLiteral("Benedikt"),
                                QStringLiteral("Carla"), QStringLiteral("Player 4"),
                                QStringLiteral("Player 5")};
    match.Create();
    ok = save(match, out, QStringLiteral("multiplayer-setup.png")) && ok;
    match.m_namesDlg.m_playerCount = match.m_setup.playerCount();
    match.m_namesDlg.Create();
    ok = save(match.m_namesDlg, out, QStringLiteral("player-names.png")) && ok;
    match.m_match.startMatch(match.m_setup.playerCount(), match.m_setup.roundCount());
    match.m_match.seatPlayers(match.m_namesDlg.m_names);
    // Two levels of two rounds each; the scoreboard shows the second.
    kf::Match::RunReport last;
    for (const int time : {8123, 9876, kf::kFailedRunMs, 7450, 6012, 7001, 5230, 5980, 4877,
                           kf::kFailedRunMs, 6600, 6100})
        last = match.m_match.scoreRun(time);
    const std::vector<kf::ScoreRow>& rows = last.rows;
    kf::ScoreboardDialog& board = match.m_scoreboardDlg;
    for (size_t k = 0; k < rows.size(); ++k) {
        board.m_rowName[k] = rows[k].m_name;
        board.m_rowPoints[k] = rows[k].m_points;
        board.m_rowTime[k] = rows[k].m_time;
    }
    board.Create();
    ok = save(board, out, QStringLiteral("scoreboard.png")) && ok;

    match.m_nextPlayerDlg.m_text = QStringLiteral("Benedikt is up. Get ready and go.");
    match.m_nextPlayerDlg.Create();
    ok = save(match.m_nextPlayerDlg, out, QStringLiteral("next-player.png")) && ok;

    // An evening on the intro level: a player improving, with some runs lost on the way.
    kf::RunHistory history(QDir(play.path()).filePath(QStringLiteral("history.sqlite")));
    const QDateTime evening(QDate(2026, 11, 20), QTime(19, 5), Qt::UTC);
    const int times[] = {9120, 0,    8740, 8905, 0, 8012, 7990, 0,    0, 8330, 7515, 7702,
                         0,    7380, 7444, 7021, 0, 7150, 6988, 7233, 0, 6870, 6995, 6712};
    const char* const players[] = {"Anna", "Benedikt", "Carla"};
    int n = 0;
    for (const int time : times) {
        const bool finished = time > 0;
        const int ms = finished ? time : 1200 + 300 * (n % 7);
        const long distance = finished ? 642 : 90 + 40 * (n % 9);
        history.record(
            {main.m_levelSha256, main.m_levelName, evening.addSecs(50 * n), false,
             QString::fromLatin1(players[n % 3]),
             finished ? kf::RunEnd::Finished : (n % 2 ? kf::RunEnd::Wall : kf::RunEnd::Release), ms,
             distance, distance * 1000 / ms});
        ++n;
    }
    kf::HistoryWindow historyWindow;
    historyWindow.showHistory(&history, main.m_levelSha256, main.m_levelName);
    historyWindow.show();
    wait(100);
    ok = save(historyWindow, out, QStringLiteral("run-history.png")) && ok;

    // The track browser on the play folder, with the evening's runs and two records.
    QFile::remove(QStringLiteral("Level_00_INTRO.bmp.kfh"));
    for (const auto& [name, record] :
         {std::pair{"Level_00_INTRO.bmp.kfh", "Anna\r\n6712"},
          std::pair{"Level_02_HAIRPINS.bmp.kfh", "Benedikt\r\n14210"}}) {
        QFile file(QString::fromLatin1(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(record);
    }
    kf::HistoryWriter writer(QDir(play.path()).filePath(QStringLiteral("history.sqlite")));
    kf::TrackBrowser tracks;
    tracks.showFolder(play.path(), main.m_boardLevelPath, &writer);
    tracks.show();
    while (tracks.tracks()->scanning())
        wait(20);
    wait(300);
    ok = save(tracks, out, QStringLiteral("tracks.png")) && ok;

    // The League page of the intro level in a club's league, and League… to set it.
    kf::LeagueStanding standing;
    standing.player = QStringLiteral("carla");
    const char* const club[] = {"anna", "benedikt", "carla", "dominik", "emil"};
    const int clubBest[] = {6712, 6930, 7021, 7480, 8105};
    for (int i = 0; i < 5; ++i)
        standing.top.append({i + 1, QString::fromLatin1(club[i]), clubBest[i], 12 - 2 * i});
    standing.own = standing.top[2];
    standing.unsent = 1;
    standing.pending = 2;
    standing.refusals = {{QStringLiteral("the run leaves the track at 2481 ms (412, 187)"), 1}};
    historyWindow.showLeague(standing);
    historyWindow.pages()->setCurrentIndex(1);
    wait(100);
    ok = save(historyWindow, out, QStringLiteral("league-page.png")) && ok;
    kf::LeagueLink link(&writer);
    kf::LeagueDialog leagueDialog(link, QStringLiteral("host=league.example.org dbname=league "
                                                       "user=carla sslmode=verify-full"));
    leagueDialog.show();
    wait(100);
    ok = save(leagueDialog, out, QStringLiteral("league.png")) && ok;
    return ok ? 0 : 1;
}
