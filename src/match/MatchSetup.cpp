#include "match/MatchSetup.h"

namespace kf {

bool MatchSetup::isClickable(int index) {
    return index >= 0 && index < kFlagCount && index % kMaxPlayers != kMaxPlayers - 1;
}

bool MatchSetup::toggle(int index) {
    if (!isClickable(index))
        return false;
    m_flags[index] = !m_flags[index];
    return true;
}

bool MatchSetup::selected(int index) const {
    return index >= 0 && index < kFlagCount && m_flags[index];
}

int MatchSetup::selectedInRow(int first) const {
    int count = 0;
    for (int i = first; i < first + kMaxPlayers; ++i)
        count += m_flags[i] ? 1 : 0;
    return count;
}

int MatchSetup::playerCount() const {
    return 1 + selectedInRow(0);
}

int MatchSetup::roundCount() const {
    return 1 + selectedInRow(kMaxPlayers);
}

QString MatchSetup::defaultName(int index) {
    return QStringLiteral("Player %1").arg(index + 1);
}

} // namespace kf
