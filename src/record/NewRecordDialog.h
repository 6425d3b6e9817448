#pragma once

#include "toolkit/Dialog.h"

namespace kf {

// Asks the holder of a new track record for a name of at most nine characters. The name
// stays from one opening to the next; a name abandoned with Escape is not kept.
class NewRecordDialog : public Dialog {
    Q_OBJECT
public:
    explicit NewRecordDialog(QWidget* parent = nullptr);

    QString m_name = QStringLiteral("HERE");

protected:
    void DoDataExchange(DataExchange& dx) override;
};

} // namespace kf
