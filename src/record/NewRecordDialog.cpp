#include "record/NewRecordDialog.h"

#include "record/RecordFile.h"
#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "toolkit/DataExchange.h"

namespace kf {

NewRecordDialog::NewRecordDialog(QWidget* parent) : Dialog(kNewRecordDialogId, parent) {}

void NewRecordDialog::DoDataExchange(DataExchange& dx) {
    // Read into a copy: Escape must leave the saved name as it was, and a refused name too.
    QString name = m_name;
    dx.text(id::newRecord::Name, name);
    dx.maxChars(id::newRecord::Name, name, kMaxNameLength);
    if (dx.saving() && !dx.failed())
        m_name = name;
}

} // namespace kf
