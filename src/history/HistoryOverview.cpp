#include "history/HistoryOverview.h"

namespace kf {

HistoryOverview readOverview(const QSqlDatabase&, const QString&, int) {
    return {};
}

const QStringList& overviewIndexes() {
    static const QStringList indexes;
    return indexes;
}

} // namespace kf
