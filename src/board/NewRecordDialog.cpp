#include "board/NewRecordDialog.h"

#include "res/DialogTemplates.h"
#include "toolkit/DataExchange.h"

namespace kf {

namespace {
constexpr int kIdName = 1017;
}

NewRecordDialog::NewRecordDialog(QWidget* parent) : Dialog(kNewRecordDialogId, parent) {}

void NewRecordDialog::DoDataExchange(DataExchange& dx) {
    // Read into a copy: Escape must leave the saved name as it was, and a refused name too.
    QString name = m_name;
    dx.text(kIdName, name);
    dx.maxChars(kIdName, name, kMaxNameLength);
    if (dx.saving() && !dx.failed())
        m_name = name;
}

} // namespace kf
