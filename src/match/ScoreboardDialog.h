#pragma once

#include "match/Match.h"
#include "toolkit/Dialog.h"

#include <array>

namespace kf {

// Names, points and times of a match, one row per player in player order, on a background
// tiled with the picture "kf_3.gfx" from the current directory (plain white without it). The
// match writes the rows; the dialog only shows them.
class ScoreboardDialog : public Dialog {
    Q_OBJECT
public:
    explicit ScoreboardDialog(QWidget* parent = nullptr);

    std::array<QString, kMaxPlayers> m_rowName;
    std::array<QString, kMaxPlayers> m_rowPoints;
    std::array<QString, kMaxPlayers> m_rowTime;

protected:
    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
};

} // namespace kf
