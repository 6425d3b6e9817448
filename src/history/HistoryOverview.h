#pragma once

#include "history/HistoryRun.h"

#include <QList>
#include <QPointF>
#include <QStringList>

class QSqlDatabase;

namespace kf {

struct HistoryOverview {
    QList<QPointF> finished;
    QList<QPointF> best;
    QList<QPointF> failed;
    qsizetype runs = 0;
    int slowestMs = 0;
    QList<HistoryRun> top;
};

HistoryOverview readOverview(const QSqlDatabase& db, const QString& levelSha256, int columns);
const QStringList& overviewIndexes();

} // namespace kf
