#pragma once

// History databases that the store cannot use, for the tests of the store and of the game:
// each case spoils the file at a path and names a word the store's reason must hold. A locked
// database needs a holder open beside the store, so the tests that can hold one add that case
// themselves.

#include "history/RunHistory.h"

#include <QByteArray>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>
#include <vector>

namespace kftest {

struct SpoiledDatabase {
    const char* name;
    std::function<void(const QString& path)> spoil;
    const char* reasonWord;
};

inline std::vector<SpoiledDatabase> spoiledDatabases() {
    return {
        {"corrupt",
         [](const QString& p) {
             QFile f(p);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray(4096, 'x'));
         },
         "damaged"},
        {"newer version",
         [](const QString& p) {
             kf::RunHistory(p).available();
             {
                 QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "spoil");
                 db.setDatabaseName(p);
                 db.open();
                 QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = %1")
                                        .arg(kf::RunHistory::kSchemaVersion + 1));
                 db.close();
             }
             QSqlDatabase::removeDatabase("spoil");
         },
         "newer version"},
        {"read-only",
         [](const QString& p) {
             kf::RunHistory(p).available();
             QFile::setPermissions(p, QFile::ReadOwner);
         },
         "read-only"},
    };
}

} // namespace kftest
