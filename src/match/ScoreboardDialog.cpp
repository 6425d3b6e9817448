#include "match/ScoreboardDialog.h"

#include "level/BitmapFile.h"
#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "toolkit/DataExchange.h"

#include <QDir>

namespace kf {

ScoreboardDialog::ScoreboardDialog(QWidget* parent) : Dialog(kScoreboardDialogId, parent) {}

void ScoreboardDialog::DoDataExchange(DataExchange& dx) {
    for (int k = 0; k < kMaxPlayers; ++k) {
        dx.text(id::scoreboard::Name1 + k, m_rowName[k]);
        dx.text(id::scoreboard::Points1 + k, m_rowPoints[k]);
        dx.maxChars(id::scoreboard::Points1 + k, m_rowPoints[k], 5);
        dx.text(id::scoreboard::Time1 + k, m_rowTime[k]);
        dx.maxChars(id::scoreboard::Time1 + k, m_rowTime[k], 7);
    }
}

bool ScoreboardDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    // Read afresh at every opening; a missing or broken picture leaves the plain background.
    setBackgroundTile(readBitmapFile(QDir::current().filePath(QStringLiteral("kf_3.gfx"))));
    return true;
}

} // namespace kf
