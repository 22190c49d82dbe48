#pragma once

#include "ConnectionString.h"

#include <QString>
#include <QStringList>

namespace db {

// Statement text after translation: ready for the engine, with every placeholder as '?'.
struct TranslatedSql {
    QString sql;
    // For ":name" placeholders, the name of each '?' in order (one name may appear twice);
    // empty when the text uses '?' only.
    QStringList parameterNames;
    int placeholderCount = 0;
};

// Makes texts written for SQL Server run on our engines, and unifies placeholders.
// Applied to every statement: drops "(nolock)"-style table hints and "dbo." prefixes; turns
// bracketed identifiers into plain ones; quotes the bare part name of dateadd/datediff/datepart;
// isnull( -> coalesce(, len( -> length(, on SQLite left(/right( -> "left"(/"right"(; on SQLite rewrites day-first literals 'dd/mm/yyyy'
// and 'dd/mm/yyyy HH:nn:ss' to ISO text (PostgreSQL reads them through DateStyle DMY).
// String literals, quoted identifiers and comments are copied as they are otherwise.
// CONVERT, CAST, '+' between texts and TOP are rewritten first (DialectRewrite); a construct that
// has no faithful translation throws DbError (errors::UntranslatableSql) naming it.
class Dialect {
public:
    static TranslatedSql translate(const QString &sql, Engine engine);

    // Canonical name of a dateadd/datediff/datepart part ("mi" -> "minute"), empty if unknown.
    static QString canonicalDatePart(const QString &part);

    // Splits a script into statements at ';' outside literals, comments and $$-bodies.
    static QStringList splitStatements(const QString &script);

    // 'dd/mm/yyyy[ HH:nn[:ss]]' as 'yyyy-MM-dd HH:mm:ss'; empty when the text is not such a date.
    static QString dayFirstToIso(const QString &literal);
};

} // namespace db
