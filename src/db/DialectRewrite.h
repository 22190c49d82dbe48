#pragma once

#include "ConnectionString.h"

#include <QString>

namespace db {

// The SQL Server constructs that need more than a word changed, rewritten for one engine:
//   CONVERT(type, x [, style])  styles 103, 101, 112, 108, 120 as strftime / to_char;
//   CAST(x AS type)             lengths of character types kept, date types and
//                               SQL Server type names made to work on each engine;
//   a + b                       '||' when an operand is known to be text (see classify);
//   SELECT TOP n                LIMIT n at the end of that SELECT.
// A construct that cannot be translated faithfully throws DbError (errors::UntranslatableSql)
// naming it, rather than running with another meaning.
class DialectRewrite {
public:
    static QString rewrite(const QString &sql, Engine engine);
    // Whether the text may hold one of the constructs (a cheap test before tokenizing).
    static bool mayNeedRewrite(const QString &sql);
};

} // namespace db
