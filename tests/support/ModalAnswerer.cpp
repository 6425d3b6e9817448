#include "support/ModalAnswerer.h"

#include "toolkit/Dialog.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kf::test {

ModalAnswerer::ModalAnswerer() {
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start();
}

// An answer left over means a dialog the test expected never opened.
ModalAnswerer::~ModalAnswerer() {
    EXPECT_TRUE(m_answers.empty()) << m_answers.size() << " queued answer(s) never used";
}

ModalAnswerer& ModalAnswerer::then(Answer answer) {
    m_answers.push_back(std::move(answer));
    return *this;
}

ModalAnswerer& ModalAnswerer::pressEnter() {
    return then([](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); });
}

ModalAnswerer& ModalAnswerer::pressEscape() {
    return then([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
}

ModalAnswerer& ModalAnswerer::clickOk() {
    return then([](QWidget* d) {
        if (auto* box = qobject_cast<QMessageBox*>(d)) {
            box->button(QMessageBox::Ok)->click();
        } else if (auto* dialog = qobject_cast<kf::Dialog*>(d)) {
            if (auto* ok = dialog->item<QPushButton>(id::Ok))
                ok->click();
        }
    });
}

ModalAnswerer& ModalAnswerer::clickButton(QMessageBox::StandardButton button) {
    return then([button](QWidget* d) {
        auto* box = qobject_cast<QMessageBox*>(d);
        if (QAbstractButton* b = box ? box->button(button) : nullptr)
            b->click();
    });
}

ModalAnswerer& ModalAnswerer::typeAndEnter(int editId, const QString& text) {
    return then([editId, text](QWidget* d) {
        auto* dialog = qobject_cast<kf::Dialog*>(d);
        auto* edit = dialog ? dialog->item<QLineEdit>(editId) : nullptr;
        if (!edit)
            return;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    });
}

QString ModalAnswerer::dialogText(QWidget* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog))
        return box->text();
    QStringList parts;
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty())
            parts << label->text();
    }
    return parts.join(QLatin1Char('\n'));
}

bool ModalAnswerer::eventFilter(QObject* watched, QEvent* event) {
    // The game keeps its dialogs and shows them again; once one has closed, its next opening
    // counts as a new dialog to answer.
    if (event->type() == QEvent::Hide && watched == m_lastAnswered)
        m_lastAnswered = nullptr;
    return QObject::eventFilter(watched, event);
}

void ModalAnswerer::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (modal == m_lastAnswered) {
        // An answer that left its dialog open would hang the test: close it and count it.
        if (m_answeredAt.elapsed() > kPatienceMs) {
            ++m_unexpected;
            m_answeredAt.restart();
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->done(QDialog::Rejected);
            else
                modal->close();
        }
        return;
    }
    m_answeredAt.start();
    m_lastAnswered = modal;
    modal->installEventFilter(this);
    // Answer from a fresh timer event: the answer may open a further modal dialog (a refused
    // entry shows a message), which this poll must then be free to see. A dialog that has
    // closed by then was only active for a moment between a box over it closing and its own
    // end (the box was its answer's last step); one with a new box over it by then was only
    // active between two boxes of one command. Neither takes an answer or shows a text, and
    // the second is seen afresh when it is active again.
    QPointer<QWidget> guard(modal);
    QTimer::singleShot(0, this, [this, guard] {
        if (!guard || !guard->isVisible())
            return;
        if (QApplication::activeModalWidget() != guard) {
            if (m_lastAnswered == guard)
                m_lastAnswered = nullptr;
            return;
        }
        m_texts << dialogText(guard);
        Answer answer;
        if (m_answers.empty()) {
            ++m_unexpected;
            answer = [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); };
        } else {
            answer = std::move(m_answers.front());
            m_answers.pop_front();
        }
        answer(guard);
    });
}

} // namespace kf::test
