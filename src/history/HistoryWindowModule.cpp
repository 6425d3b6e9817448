// The module `kfhistorywindow`: the history window with Qt Charts, loaded the first time the
// player asks for the history (see HistoryView).

#include "history/HistoryWindow.h"

#include <type_traits>

extern "C" Q_DECL_EXPORT kf::HistoryView* kf_createHistoryView(QWidget* parent) {
    return new kf::HistoryWindow(parent);
}
static_assert(std::is_same_v<decltype(&kf_createHistoryView), kf::CreateHistoryView>);
