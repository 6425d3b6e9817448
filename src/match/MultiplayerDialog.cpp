#include "match/MultiplayerDialog.h"

#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "res/Pictures.h"
#include "toolkit/Controls.h"
#include "toolkit/DataExchange.h"

namespace kf {

namespace {

// The flags by index: the five player flags from left to right, then the five round flags.
constexpr std::array<int, MatchSetup::kFlagCount> kFlagIds{
    id::multiplayer::PlayerFlag1, id::multiplayer::PlayerFlag2, id::multiplayer::PlayerFlag3,
    id::multiplayer::PlayerFlag4, id::multiplayer::PlayerFlag5, id::multiplayer::RoundFlag1,
    id::multiplayer::RoundFlag2,  id::multiplayer::RoundFlag3,  id::multiplayer::RoundFlag4,
    id::multiplayer::RoundFlag5};

constexpr int kPictureO = 204;
constexpr int kPictureX = 205;

} // namespace

MultiplayerDialog::MultiplayerDialog(QWidget* parent)
    : Dialog(kMultiplayerDialogId, parent), m_pictureO(resourcePicture(kPictureO)),
      m_pictureX(resourcePicture(kPictureX)) {
    route(id::multiplayer::StartNow, Notification::Clicked, [this] { OnStartNow(); });
    route(id::multiplayer::CancelSetup, Notification::Clicked, [this] { OnCancel(); });
    for (int index = 0; index < MatchSetup::kFlagCount; ++index) {
        if (MatchSetup::isClickable(index))
            route(kFlagIds[index], Notification::Clicked, [this, index] { OnFlagClicked(index); });
    }
}

void MultiplayerDialog::setDefaults() {
    m_match.m_active = false;
    m_setup.reset();
    m_specifyNames = 1;
    for (int i = 0; i < kMaxPlayers; ++i)
        m_namesDlg.m_names[i] = MatchSetup::defaultName(i);
    m_playersText = QStringLiteral("  change X to O to add Players.");
    m_roundsText = QStringLiteral("  change X to O to select rounds");
}

void MultiplayerDialog::DoDataExchange(DataExchange& dx) {
    for (int index = 0; index < MatchSetup::kFlagCount; ++index)
        dx.control(kFlagIds[index], m_ctlFlag[index]);
    dx.text(id::multiplayer::RoundsText, m_roundsText);
    dx.text(id::multiplayer::PlayersText, m_playersText);
    dx.maxChars(id::multiplayer::PlayersText, m_playersText, 40);
    dx.check(id::multiplayer::SpecifyNames, m_specifyNames);
}

bool MultiplayerDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    showSelectedFlags();
    return true;
}

void MultiplayerDialog::paintEvent(QPaintEvent* event) {
    Dialog::paintEvent(event);
    showSelectedFlags();
}

void MultiplayerDialog::showSelectedFlags() {
    for (int index = 0; index < MatchSetup::kFlagCount; ++index) {
        if (!MatchSetup::isClickable(index) || !m_ctlFlag[index])
            continue;
        // Only a change of picture repaints, so painting cannot call itself again.
        if (m_setup.selected(index) &&
            m_ctlFlag[index]->picture().cacheKey() != m_pictureO.cacheKey())
            m_ctlFlag[index]->setPicture(m_pictureO);
    }
}

void MultiplayerDialog::OnFlagClicked(int index) {
    if (!m_setup.toggle(index))
        return;
    if (m_ctlFlag[index])
        m_ctlFlag[index]->setPicture(m_setup.selected(index) ? m_pictureO : m_pictureX);
    m_roundsText = QStringLiteral("Rounds per Level and Player : %1").arg(m_setup.roundCount());
    m_playersText = QStringLiteral("Players registered :%1").arg(m_setup.playerCount());
    UpdateData(false);
}

void MultiplayerDialog::OnStartNow() {
    UpdateData(true);
    const int players = m_setup.playerCount();
    m_match.startMatch(players, m_setup.roundCount());
    // The match goes on whether the names were confirmed or left as they were with Escape.
    m_namesDlg.m_playerCount = players;
    m_namesDlg.DoModal();
    m_match.seatPlayers(m_namesDlg.m_names);
    // Rows of players who do not take part would otherwise still show an earlier match.
    for (int k = players; k < kMaxPlayers; ++k) {
        m_scoreboardDlg.m_rowName[k].clear();
        m_scoreboardDlg.m_rowPoints[k].clear();
        m_scoreboardDlg.m_rowTime[k].clear();
    }
    // The caller tells START NOW from CANCEL by whether a match is on.
    OnCancel();
}

void MultiplayerDialog::ReportRun(int timeMs) {
    // The result is shown while the runner's name still blinks in the caption.
    m_resultDlg.ShowMessage(m_match.recordRun(timeMs));
    const Match::TurnReport report = m_match.passTurn();
    if (report.turn == Match::Turn::SamePlayer)
        return;
    if (report.turn == Match::Turn::LevelComplete) {
        for (size_t k = 0; k < report.rows.size(); ++k) {
            m_scoreboardDlg.m_rowName[k] = report.rows[k].m_name;
            m_scoreboardDlg.m_rowPoints[k] = report.rows[k].m_points;
            m_scoreboardDlg.m_rowTime[k] = report.rows[k].m_time;
        }
        m_scoreboardDlg.DoModal();
    }
    m_nextPlayerDlg.ShowMessage(report.announcement);
}

} // namespace kf
