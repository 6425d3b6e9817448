#pragma once

#include "history/DailyStreak.h"
#include "history/HistoryOverview.h"
#include "history/LeagueStanding.h"

#include <QString>
#include <QWidget>

#include <functional>

namespace kf {

// The run history's window as the main window knows it. The window itself (HistoryWindow, with
// Qt Charts) lives in the module `kfhistorywindow`, which openHistoryView loads the first time
// the player asks for the history, so the game starts without Qt Charts and Qt OpenGL.
class HistoryView : public QWidget {
public:
    using QWidget::QWidget;

    // Shows the overview of the track named `levelName`.
    virtual void showOverview(const HistoryOverview& overview, const QString& levelName) = 0;
    // Shows no chart and no table, and the sentence why.
    virtual void showUnavailable(const QString& reason) = 0;
    // Says why the runs wait, beside the overview shown.
    virtual void showWaiting(const QString& reason) = 0;
    // The chart's width in device pixels: the columns to read an overview for.
    virtual int chartColumns() const = 0;
    // Shows the streak of the track of the day beneath the track's name, or (nothing) none.
    virtual void showStreak(const std::optional<DailyStreak>& streak) = 0;
    // Called with a run of the ten best (its id set) when the player asks to watch it.
    virtual void setWatchHandler(std::function<void(const HistoryRun&)> handler) = 0;
    // The League page: the league's standing of the track, or (nothing) that no league is set.
    virtual void showLeague(const std::optional<LeagueStanding>& standing) = 0;
    // Says on the League page what became of the player's last request there.
    virtual void showLeagueNote(const QString& note) = 0;
    // Called when the player asks to race the leader of the track shown.
    virtual void setRaceLeaderHandler(std::function<void()> handler) = 0;
};

// The module's one entry: a new history window, a window of its own with `parent` as its
// owner. Named kf_createHistoryView in the module.
using CreateHistoryView = HistoryView* (*)(QWidget* parent);

// A new history window from the module `module`, loaded at the first call. Without the module,
// a window that says in one sentence that the history cannot be shown.
HistoryView* openHistoryView(QWidget* parent,
                             const QString& module = QStringLiteral("kfhistorywindow"));

} // namespace kf
