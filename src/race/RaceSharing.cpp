#include "race/RaceSharing.h"

#include <QFileInfo>
#include <QStringList>

namespace kf {

namespace {

QString fileNamePart(const QString& text) {
    QString part = text;
    for (QChar& c : part) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return part;
}

} // namespace

QString racePlayerName(const QString& historyPlayer) {
    return historyPlayer.isEmpty() ? QStringLiteral("Player") : historyPlayer;
}

QString raceFileName(const QString& trackName, const RaceGhost& ghost) {
    QString track = trackName;
    if (track.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive))
        track.chop(4);
    return QStringLiteral("%1_%2_%3ms.kfrace")
        .arg(fileNamePart(track), fileNamePart(ghost.player))
        .arg(ghost.timeMs);
}

QString unconfirmedGhosts(const QString& fileName, const Race& race) {
    const QList<RunProof> proofs = proveRace(race);
    QStringList refused;
    for (qsizetype i = 0; i < proofs.size(); ++i) {
        if (!proofs[i].confirmed)
            refused.append(
                QStringLiteral("%1: %2").arg(shownName(race.ghosts[i].player), proofs[i].reason));
    }
    if (refused.isEmpty())
        return {};
    return QStringLiteral("The race file \"%1\" is not opened: its runs must hold on the track "
                          "by the game's rules, and these do not.\n\n%2")
        .arg(shownName(QFileInfo(fileName).fileName()), refused.join(QLatin1Char('\n')));
}

} // namespace kf
