// Entering and leaving a hot-seat match from the main window.

#include "run/CaptionSchedule.h"
#include "window/MainDialog.h"

#include <QPushButton>

namespace kf {

void MainDialog::OnMultiplayer() {
    endReplay();
    if (m_multiplayer.m_match.m_active) {
        // There is no end of a match but this: the scoreboard of the last completed level.
        m_multiplayer.m_match.m_active = false;
        m_multiplayer.m_scoreboardDlg.DoModal();
        if (m_btnMultiplayer)
            m_btnMultiplayer->setText(QStringLiteral("Start Multiplayer"));
        setWindowTitle(QString::fromLatin1(kStandardModeCaption));
        return;
    }
    m_multiplayer.DoModal();
    if (!m_multiplayer.m_match.m_active)
        return;
    if (m_btnMultiplayer)
        m_btnMultiplayer->setText(QStringLiteral("Quit Multiplayer"));
    setWindowTitle(QString::fromLatin1(kMatchCaption) + m_multiplayer.m_match.currentPlayerName());
    ShowNotice(nextRoundText(m_multiplayer.m_match.m_players[0].m_name));
}

void MainDialog::showMatchRunEndCaption() {
    setWindowTitle(QString::fromLatin1(kMatchRunEndCaption) +
                   m_multiplayer.m_match.currentPlayerName());
}

} // namespace kf
