#pragma once

#include "match/Match.h"
#include "match/MatchSetup.h"
#include "match/NextPlayerDialog.h"
#include "match/PlayerNamesDialog.h"
#include "match/ScoreboardDialog.h"
#include "toolkit/ContinueDialog.h"
#include "toolkit/Dialog.h"

#include <QImage>
#include <array>

namespace kf {

class StaticControl;

// The set-up of a hot-seat match, and the owner of the match itself. Two rows of flags choose
// the players and the rounds (m_setup); START NOW asks for the names and starts the match
// (m_match), whose runs ReportRun takes. The one instance lives as long as the main window, so
// choices, names and the match state carry over from one opening to the next.
class MultiplayerDialog : public Dialog {
    Q_OBJECT
public:
    explicit MultiplayerDialog(QWidget* parent = nullptr);

    // The game's choices at program start: one player, one round, no flag selected, the names
    // "Player 1" to "Player 5", and the texts that tell how to change them.
    void setDefaults();

    // A click on flag `index`: 0 to 3 are the clickable player flags, 5 to 8 the round flags.
    void OnFlagClicked(int index);
    void OnStartNow();

    // Takes a run of the current player (its time in ms, kFailedRunMs for a failed run), tells
    // the players what follows, and shows the scoreboard when the level is complete.
    void ReportRun(int timeMs);

    Match m_match;
    MatchSetup m_setup;
    PlayerNamesDialog m_namesDlg;
    ScoreboardDialog m_scoreboardDlg;
    std::array<StaticControl*, MatchSetup::kFlagCount> m_ctlFlag{};
    QString m_roundsText;
    QString m_playersText;
    int m_specifyNames = 0;
    ContinueDialog m_resultDlg;
    NextPlayerDialog m_nextPlayerDlg;

protected:
    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Shows the O on every selected flag; a fresh opening starts from the template's X.
    void showSelectedFlags();

    const QImage m_pictureO;
    const QImage m_pictureX;
};

} // namespace kf
