// The 100 ms tick: run figures, the caption animation and the refresh of every field.

#include "board/CaptionSchedule.h"
#include "board/MainDialog.h"

namespace kf {

void MainDialog::OnTimer() {
    m_run.tick(m_stopwatch.ElapsedMs());
    const int n = advanceTitleTick(m_titleTick);
    if (const std::optional<QString> caption = titleCaption(n))
        setWindowTitle(*caption);
    UpdateData(false);
}

} // namespace kf
