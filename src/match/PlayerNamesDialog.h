#pragma once

#include "match/Match.h"
#include "toolkit/Dialog.h"

#include <array>

namespace kf {

// Asks for the players' names when a match starts. Only the first m_playerCount edits can be
// changed; the others stay greyed with the names they hold. The big default button takes the
// names; Escape leaves them as they were.
class PlayerNamesDialog : public Dialog {
    Q_OBJECT
public:
    explicit PlayerNamesDialog(QWidget* parent = nullptr);

    // Enables or disables the five name edits, top to bottom.
    void EnableNameEdits(bool first, bool second, bool third, bool fourth, bool fifth);

    int m_playerCount = 0; // set by the caller before each showing
    std::array<QString, kMaxPlayers> m_names;

protected:
    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
};

} // namespace kf
