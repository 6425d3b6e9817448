#include "match/PlayerNamesDialog.h"

#include "record/RecordFile.h"
#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "toolkit/DataExchange.h"

namespace kf {

namespace {

// The name edits from top to bottom on the screen.
constexpr std::array<int, kMaxPlayers> kNameEdits{
    id::names::Name1, id::names::Name2, id::names::Name3, id::names::Name4, id::names::Name5};

} // namespace

PlayerNamesDialog::PlayerNamesDialog(QWidget* parent) : Dialog(kPlayerNamesDialogId, parent) {}

void PlayerNamesDialog::DoDataExchange(DataExchange& dx) {
    for (int i = 0; i < kMaxPlayers; ++i) {
        dx.text(kNameEdits[i], m_names[i]);
        dx.maxChars(kNameEdits[i], m_names[i], kMaxNameLength);
    }
}

bool PlayerNamesDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    // Any other count leaves every edit as the template has it.
    if (m_playerCount >= 1 && m_playerCount <= kMaxPlayers) {
        EnableNameEdits(true, m_playerCount >= 2, m_playerCount >= 3, m_playerCount >= 4,
                        m_playerCount >= 5);
    }
    return true;
}

void PlayerNamesDialog::EnableNameEdits(bool first, bool second, bool third, bool fourth,
                                        bool fifth) {
    const std::array<bool, kMaxPlayers> enabled{first, second, third, fourth, fifth};
    for (int i = 0; i < kMaxPlayers; ++i) {
        if (QWidget* edit = GetDlgItem(kNameEdits[i]))
            edit->setEnabled(enabled[i]);
    }
}

} // namespace kf
