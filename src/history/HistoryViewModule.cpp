#include "history/HistoryView.h"
#include "level/GameModule.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace kf {

namespace {

// The history window of a game whose module for it cannot be loaded: one sentence, whatever
// the history holds. Escape closes it, as it closes the real one.
class MissingHistoryView : public HistoryView {
public:
    explicit MissingHistoryView(QWidget* parent) : HistoryView(parent, Qt::Window) {
        setWindowTitle(QStringLiteral("Kurvenflitzerl.exe  -> Run History"));
        auto* sentence = new QLabel(
            QStringLiteral("The run history cannot be shown because the part of the game that "
                           "draws it is missing."),
            this);
        sentence->setTextFormat(Qt::PlainText);
        sentence->setWordWrap(true);
        (new QVBoxLayout(this))->addWidget(sentence);
        resize(420, 120);
    }

    void showOverview(const HistoryOverview&, const QString&) override {}
    void showUnavailable(const QString&) override {}
    void showWaiting(const QString&) override {}
    int chartColumns() const override { return width(); }
    void showStreak(const std::optional<DailyStreak>&) override {}
    void setWatchHandler(std::function<void(const HistoryRun&)>) override {}
    void showLeague(const std::optional<LeagueStanding>&) override {}
    void showLeagueNote(const QString&) override {}
    void setRaceLeaderHandler(std::function<void()>) override {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            close();
            return;
        }
        HistoryView::keyPressEvent(event);
    }
};

} // namespace

HistoryView* openHistoryView(QWidget* parent, const QString& module) {
    if (const auto create =
            reinterpret_cast<CreateHistoryView>(gameModuleFunction(module, "kf_createHistoryView")))
        return create(parent);
    return new MissingHistoryView(parent);
}

} // namespace kf
