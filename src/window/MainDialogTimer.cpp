// The 100 ms tick: run figures, the caption (the title animation, or the blinking name of the
// player whose turn it is in a match) and the refresh of every field.

#include "run/CaptionSchedule.h"
#include "window/MainDialog.h"

namespace kf {

void MainDialog::OnTimer() {
    m_run.tick(m_stopwatch.ElapsedMs());
    // Only one animation moves on a tick: the other resumes where it stopped.
    const std::optional<QString> caption =
        m_multiplayer.m_match.m_active ? matchCaption(advanceMatchTick(m_mpTitleTick),
                                                      m_multiplayer.m_match.currentPlayerName())
                                       : titleCaption(advanceTitleTick(m_titleTick));
    if (caption)
        setWindowTitle(*caption);
    UpdateData(false);
}

} // namespace kf
