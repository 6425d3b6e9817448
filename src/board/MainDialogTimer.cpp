// The 100 ms tick: run figures, the caption animation and the refresh of every field.

#include "board/CaptionSchedule.h"
#include "board/Distance.h"
#include "board/MainDialog.h"

namespace kf {

void MainDialog::OnTimer() {
    if (m_running == 1) {
        m_timeMs = runTimeMs();
        m_speed = averageSpeed(m_distance, m_timeMs, m_speed);
    }
    const int n = advanceTitleTick(m_titleTick);
    if (const std::optional<QString> caption = titleCaption(n))
        setWindowTitle(*caption);
    UpdateData(false);
}

} // namespace kf
