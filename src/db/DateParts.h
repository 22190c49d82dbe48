#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace db {

// SQL Server's dateadd/datediff/datepart in C++: the SQLite side of the server contract.
// Parts are given in any spelling Dialect::canonicalDatePart knows. nullopt for an unknown part.
namespace DateParts {

std::optional<QDateTime> dateAdd(const QString &part, qint64 amount, const QDateTime &date);
// Boundaries crossed from a to b, as SQL Server counts them: datediff(dd, '23:59', next day '00:01') = 1.
std::optional<qint64> dateDiff(const QString &part, const QDateTime &a, const QDateTime &b);
// Weeks start on Sunday, weekday Sunday = 1 (SQL Server's us_english default).
std::optional<int> datePart(const QString &part, const QDateTime &date);

// Reads the date texts the SQLite side stores and accepts: ISO with ' ' or 'T', date only,
// fractions of a second, and day-first 'dd/mm/yyyy[ HH:nn[:ss]]'.
QDateTime parse(const QString &text);
// The one stored form on SQLite: "yyyy-MM-dd HH:mm:ss" (".zzz" only when there are milliseconds).
QString toStorage(const QDateTime &value);

} // namespace DateParts
} // namespace db
