#include "board/ContinueDialog.h"

#include "res/DialogTemplates.h"
#include "toolkit/DataExchange.h"

namespace kf {

namespace {
constexpr int kIdText = 1077;
}

ContinueDialog::ContinueDialog(QWidget* parent) : Dialog(kContinueDialogId, parent) {}

void ContinueDialog::ShowMessage(const QString& text) {
    m_text = text;
    DoModal();
}

void ContinueDialog::DoDataExchange(DataExchange& dx) {
    dx.text(kIdText, m_text);
}

} // namespace kf
