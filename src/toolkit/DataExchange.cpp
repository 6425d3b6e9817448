#include "toolkit/DataExchange.h"

#include "toolkit/Controls.h"
#include "toolkit/MessageBox.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <limits>

namespace kf {

DataExchange::DataExchange(Dialog& dialog, bool saveAndValidate)
    : m_dialog(dialog), m_save(saveAndValidate) {}

QString DataExchange::integerMessage() {
    return QStringLiteral("Please enter an integer.");
}

QString DataExchange::rangeMessage(long long min, long long max) {
    return QStringLiteral("Please enter an integer between %1 and %2.").arg(min).arg(max);
}

QString DataExchange::maxCharsMessage(int count) {
    return QStringLiteral("Please enter no more than %1 characters.").arg(count);
}

QWidget* DataExchange::widget(int id) const {
    return m_dialog.GetDlgItem(id);
}

QString DataExchange::controlText(int id) const {
    QWidget* w = widget(id);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    return {};
}

void DataExchange::setControlText(int id, const QString& text) {
    QWidget* w = widget(id);
    // Only real changes are written: rewriting an edit would reset its cursor and selection,
    // and an unchanged label needs no repaint.
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != text)
            e->setText(text);
    } else if (auto* s = qobject_cast<StaticControl*>(w)) {
        if (s->text() != text)
            s->setFittedText(text);
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        if (l->text() != text)
            l->setText(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        if (b->text() != text)
            b->setText(text);
    }
}

template <class Integer> void DataExchange::integerText(int id, Integer& value) {
    if (m_failed)
        return;
    if (!m_save) {
        setControlText(id, QString::number(value));
        return;
    }
    bool ok = false;
    const long long v = controlText(id).trimmed().toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<Integer>::min() || v > std::numeric_limits<Integer>::max())
        fail(id, integerMessage());
    else
        value = static_cast<Integer>(v);
}

void DataExchange::text(int id, int& value) {
    integerText(id, value);
}

void DataExchange::text(int id, long& value) {
    integerText(id, value);
}

void DataExchange::text(int id, QString& value) {
    if (m_failed)
        return;
    if (m_save)
        value = controlText(id);
    else
        setControlText(id, value);
}

void DataExchange::radio(int firstId, int& index) {
    if (m_failed)
        return;
    const QList<QWidget*> group = m_dialog.radioGroup(firstId);
    if (m_save) {
        index = -1;
        for (int i = 0; i < group.size(); ++i) {
            if (static_cast<QAbstractButton*>(group[i])->isChecked()) {
                index = i;
                break;
            }
        }
        return;
    }
    for (int i = 0; i < group.size(); ++i) {
        auto* b = static_cast<QAbstractButton*>(group[i]);
        if (b->isChecked() != (i == index)) {
            // An exclusive group refuses to uncheck its last button; lift that for the write.
            const bool exclusive = b->group() && b->group()->exclusive();
            if (exclusive)
                b->group()->setExclusive(false);
            b->setChecked(i == index);
            if (exclusive)
                b->group()->setExclusive(true);
        }
    }
}

void DataExchange::check(int id, int& state) {
    if (m_failed)
        return;
    auto* box = qobject_cast<QCheckBox*>(widget(id));
    if (!box)
        return;
    if (m_save) {
        const Qt::CheckState s = box->checkState();
        state = s == Qt::Checked ? 1 : s == Qt::PartiallyChecked ? 2 : 0;
    } else {
        box->setCheckState(state == 1   ? Qt::Checked
                           : state == 2 ? Qt::PartiallyChecked
                                        : Qt::Unchecked);
    }
}

void DataExchange::maxChars(int id, const QString& value, int count) {
    if (m_failed)
        return;
    if (!m_save) {
        if (auto* e = qobject_cast<EditControl*>(widget(id)))
            e->setTypingLimit(count);
        return;
    }
    if (value.size() > count)
        fail(id, maxCharsMessage(count));
}

void DataExchange::range(int id, int value, int min, int max) {
    range(id, static_cast<long>(value), static_cast<long>(min), static_cast<long>(max));
}

void DataExchange::range(int id, long value, long min, long max) {
    if (m_failed || !m_save)
        return;
    if (value < min || value > max)
        fail(id, rangeMessage(min, max));
}

void DataExchange::fail(int id, const QString& message) {
    m_failed = true;
    MessageBox(&m_dialog, message, MessageIcon::Warning);
    if (QWidget* w = widget(id)) {
        w->setFocus(Qt::OtherFocusReason);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->selectAll();
    }
}

} // namespace kf
