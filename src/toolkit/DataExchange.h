#pragma once

#include <QString>

class QWidget;

namespace kf {

class Dialog;

// Moves field values between a dialog's members and its controls, in the order the dialog's
// DoDataExchange lists them. Writing (saving() false) puts the fields into the controls;
// reading parses and checks them. The first failed check shows the standard message, puts the
// focus on that control and turns every later exchange of the same pass into a no-op.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate);

    bool saving() const { return m_save; }
    bool failed() const { return m_failed; }

    // Decimal integer text of an edit or static.
    void text(int id, int& value);
    void text(int id, long& value);
    void text(int id, QString& value);
    // Index of the checked radio button of the group that begins with `firstId`, -1 for none.
    void radio(int firstId, int& index);
    // Check state of a check box: 0 unchecked, 1 checked, 2 indeterminate.
    void check(int id, int& state);
    // Binds a member pointer to the control's widget.
    template <class W> void control(int id, W*& member);
    // Typing limit when writing; a longer text is refused when reading.
    void maxChars(int id, const QString& value, int count);
    // Range checks applied when reading.
    void range(int id, int value, int min, int max);
    void range(int id, long value, long min, long max);

    // The standard messages of failed checks.
    static QString integerMessage();
    static QString rangeMessage(long long min, long long max);
    static QString maxCharsMessage(int count);

private:
    QWidget* widget(int id) const;
    QString controlText(int id) const;
    void setControlText(int id, const QString& text);
    template <class Integer> void integerText(int id, Integer& value);
    void fail(int id, const QString& message);

    Dialog& m_dialog;
    bool m_save;
    bool m_failed = false;
};

} // namespace kf

#include "toolkit/Dialog.h"

template <class W> void kf::DataExchange::control(int id, W*& member) {
    if (!m_failed)
        member = m_dialog.item<W>(id);
}
