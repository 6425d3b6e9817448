#include "board/ContinueDialog.h"

#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "toolkit/DataExchange.h"

namespace kf {

ContinueDialog::ContinueDialog(QWidget* parent) : Dialog(kContinueDialogId, parent) {}

void ContinueDialog::ShowMessage(const QString& text) {
    m_text = text;
    DoModal();
}

void ContinueDialog::DoDataExchange(DataExchange& dx) {
    dx.text(id::notice::Text, m_text);
}

} // namespace kf
