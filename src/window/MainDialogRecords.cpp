// The best run of the current track: reading its record file and storing a new record.

#include "record/RecordFile.h"
#include "res/ControlIds.h"
#include "toolkit/MessageBox.h"
#include "window/MainDialog.h"

#include <QDir>

namespace kf {

bool MainDialog::ReadRecordFile(const QString& path) {
    const std::optional<TrackRecord> record = readRecord(path);
    if (!record)
        return false;
    m_bestName = record->name;
    m_bestTimeMs = record->timeMs;
    return true;
}

void MainDialog::CheckNewRecord() {
    // In a match the name offered is the player who has just run, record or not.
    if (m_multiplayer.m_match.m_active)
        m_newRecordDlg.m_name = m_multiplayer.m_match.currentPlayerName();
    if (!isNewRecord(m_timeMs, m_bestTimeMs))
        return;
    // The record is taken from the fields, not read back from the controls: while the notice
    // and this dialog were open for less than a tick, the time field still showed an older time.
    if (m_newRecordDlg.DoModal() != id::Ok)
        return;
    m_recordName = m_newRecordDlg.m_name;
    m_bestName = m_recordName;
    m_bestTimeMs = m_timeMs;
    UpdateData(false);
    if (const FileWriteResult written = writeRecord(m_recordPath, {m_recordName, m_bestTimeMs});
        !written) {
        MessageBox(this,
                   QStringLiteral("The new record could not be saved in \"%1\". It counts "
                                  "until the game is closed.\n%2")
                       .arg(QDir::toNativeSeparators(m_recordPath), written.reason),
                   MessageIcon::Warning);
    }
}

} // namespace kf
