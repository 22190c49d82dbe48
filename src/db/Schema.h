#pragma once

#include "ConnectionString.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace db {

class Connection;

// One step of the schema, recorded in tUpgrade under its key once applied.
struct Migration {
    QString key;
    std::function<void(Connection &)> apply;
};

// Versioned schema: the ordered migrations of migrations/Migrations.cpp. Each runs in its own
// transaction together with its tUpgrade row, so a failed step leaves nothing half-made.
class Schema {
public:
    // The row the program requires to run without its version warning.
    static QString baselineKey() { return QStringLiteral("DB-2009May11"); }

    static const QList<Migration> &migrations();
    // Applies what is missing; returns the keys it applied. Safe to run again.
    static QStringList upgrade(Connection &connection);
    static QStringList upgrade(Connection &connection, const QList<Migration> &migrations);
    // True when every migration of this program is recorded.
    static bool isCurrent(Connection &connection);
    static bool isCurrent(Connection &connection, const QList<Migration> &migrations);
    // Tables but no tUpgrade: another program's database, which upgrade() must not take over
    // unless the administrator says so.
    static bool isForeign(Connection &connection);
    // Keys recorded in tUpgrade; empty when the table does not exist yet.
    static QStringList appliedKeys(Connection &connection);

    // Runs our own portable DDL: "blob" becomes "bytea" on PostgreSQL.
    static void executeDdl(Connection &connection, const QString &script);
};

} // namespace db
