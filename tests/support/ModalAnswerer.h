#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <functional>
#include <utility>

class QWidget;

namespace kf::test {

// Answers the modal dialogs that open while a test drives the game: each dialog that becomes
// the active modal widget gets the next queued answer, and its text is recorded. A dialog
// with no answer left is closed with Escape and counted as unexpected, and so is a dialog that
// its answer left open for seconds, so no test hangs.
class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(QWidget* dialog)>;

    ModalAnswerer();
    ~ModalAnswerer() override;

    ModalAnswerer& then(Answer answer);
    // Common answers.
    ModalAnswerer& pressEnter();
    ModalAnswerer& pressEscape();
    ModalAnswerer& clickOk(); // the dialog's id::Ok button or the message box's OK
    ModalAnswerer& clickButton(QMessageBox::StandardButton button); // a message box's button
    ModalAnswerer& typeAndEnter(int editId, const QString& text);

    // Texts of the dialogs answered so far, in order: a message box's text, or the joined texts
    // of a dialog's visible labels.
    const QStringList& texts() const { return m_texts; }
    QStringList takeTexts() { return std::exchange(m_texts, {}); }
    int unexpected() const { return m_unexpected; }
    bool allAnswered() const { return m_answers.empty(); }

    static QString dialogText(QWidget* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void poll();

    static constexpr int kPatienceMs = 3000;

    QTimer m_timer;
    QElapsedTimer m_answeredAt;
    std::deque<Answer> m_answers;
    QStringList m_texts;
    QPointer<QWidget> m_lastAnswered;
    int m_unexpected = 0;
};

} // namespace kf::test
