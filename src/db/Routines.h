#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>
#include <optional>

namespace db {

class Connection;

// A server routine written in C++ for SQLite, which has no stored procedures. It gets the
// parameters keyed in lower case without '@' and returns its outputs the same way; it runs
// inside a transaction (or savepoint) that Connection::callRoutine opens and commits.
using Routine = std::function<QVariantMap(Connection &connection, const QVariantMap &params)>;

class Routines {
public:
    static void registerRoutine(const QString &name, Routine routine);
    static void unregisterRoutine(const QString &name);
    static std::optional<Routine> find(const QString &name);

    // "dbo.sp_GeneraSecuencia" -> "sp_generasecuencia"; "@Valor" -> "valor".
    static QString normalizeName(const QString &name);
    static QVariantMap normalizeKeys(const QVariantMap &values);
};

} // namespace db
