#include "toolkit/ContinueDialog.h"

#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "toolkit/DataExchange.h"

namespace kf {

ContinueDialog::ContinueDialog(QWidget* parent)
    : ContinueDialog(kContinueDialogId, id::notice::Text, parent) {}

ContinueDialog::ContinueDialog(int templateId, int textId, QWidget* parent)
    : Dialog(templateId, parent), m_textId(textId) {}

void ContinueDialog::ShowMessage(const QString& text) {
    m_text = text;
    DoModal();
}

void ContinueDialog::DoDataExchange(DataExchange& dx) {
    dx.text(m_textId, m_text);
}

} // namespace kf
