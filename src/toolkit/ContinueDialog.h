#pragma once

#include "toolkit/Dialog.h"

namespace kf {

// The one-line notice box with a Continue button, centred on the screen and on the pointer.
class ContinueDialog : public Dialog {
    Q_OBJECT
public:
    explicit ContinueDialog(QWidget* parent = nullptr);

    // Shows `text` and returns when the box is closed by Continue, Enter or Escape.
    void ShowMessage(const QString& text);

    QString m_text;

protected:
    // A box of the same shape on another template, showing its line in static `textId`.
    ContinueDialog(int templateId, int textId, QWidget* parent);

    void DoDataExchange(DataExchange& dx) override;

private:
    int m_textId;
};

} // namespace kf
