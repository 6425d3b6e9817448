#pragma once

#include "history/LeagueStanding.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTableWidget;

namespace kf {

// The history window's League page for the track shown: the league's board (rank, player,
// best confirmed time, confirmed runs; the player's own line in bold), where the player stands,
// how many of their runs wait or were refused and why, and "Race the leader". Without a league,
// or when its server cannot be reached, one sentence says so.
class LeaguePage : public QWidget {
    Q_OBJECT
public:
    explicit LeaguePage(QWidget* parent = nullptr);

    void showStanding(const std::optional<LeagueStanding>& standing);
    void showNote(const QString& note);
    void setRaceLeaderHandler(std::function<void()> handler);

    QTableWidget* board() const { return m_board; }
    QPushButton* raceLeaderButton() const { return m_raceLeader; }
    // The page's sentences, from the top, as shown.
    QString text() const;

private:
    QLabel* m_status = nullptr;
    QTableWidget* m_board = nullptr;
    QLabel* m_own = nullptr;
    QLabel* m_waiting = nullptr;
    QPushButton* m_raceLeader = nullptr;
    QLabel* m_note = nullptr;
    std::function<void()> m_raceLeaderHandler;
};

} // namespace kf
