#include "history/HistoryView.h"

#include <QChartView>
#include <QLabel>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace kf;

bool saysSomewhere(const QWidget& window, const QString& words) {
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().contains(words))
            return true;
    }
    return false;
}

// The history window comes from its module, beside the program, at its first opening; a game
// without the module shows a window that says in one sentence why there is no history to see.
TEST(HistoryViewTest, TheWindowComesFromItsModuleOrSaysWhyItCannotBeShown) {
    struct Case {
        const char* module;
        bool chart;
        const char* said;
    } cases[] = {
        {"kfhistorywindow", true, "The run history is not open yet."},
        {"kfnosuchmodule", false,
         "The run history cannot be shown because the part of the game that draws it is "
         "missing."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        const std::unique_ptr<HistoryView> view(openHistoryView(nullptr, c.module));
        ASSERT_NE(view, nullptr);
        view->showUnavailable(QStringLiteral("The run history is not open yet."));
        EXPECT_TRUE(view->isWindow());
        EXPECT_EQ(view->findChild<QChartView*>() != nullptr, c.chart);
        EXPECT_TRUE(saysSomewhere(*view, c.said));
    }
}

} // namespace
