#include "SqliteFunctions.h"

#include "DateParts.h"
#include "TextFold.h"

#include <QDateTime>
#include <QString>

#include <sqlite3.h>

namespace db {

namespace {

QString textArg(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void resultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray utf8 = s.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

// A date argument: stored text, or a number of days since 1900-01-01 as SQL Server allows.
bool dateArg(sqlite3_context *ctx, sqlite3_value *v, QDateTime *out)
{
    if (sqlite3_value_type(v) == SQLITE_INTEGER || sqlite3_value_type(v) == SQLITE_FLOAT) {
        const double days = sqlite3_value_double(v);
        *out = QDateTime(QDate(1900, 1, 1), QTime(0, 0)).addMSecs(qint64(days * 86400000.0));
        return true;
    }
    *out = DateParts::parse(textArg(v));
    if (!out->isValid()) {
        const QByteArray msg = "Fecha no válida: " + textArg(v).toUtf8();
        sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
        return false;
    }
    return true;
}

void unknownPart(sqlite3_context *ctx, sqlite3_value *v)
{
    const QByteArray msg = "Parte de fecha desconocida: " + textArg(v).toUtf8();
    sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
}

void fnGetdate(sqlite3_context *ctx, int, sqlite3_value **)
{
    const QDateTime now = QDateTime::currentDateTime();
    resultText(ctx, DateParts::toStorage(QDateTime(
                        now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()))));
}

void fnDateadd(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    QDateTime date;
    if (!dateArg(ctx, argv[2], &date))
        return;
    const auto r = DateParts::dateAdd(textArg(argv[0]), sqlite3_value_int64(argv[1]), date);
    if (!r)
        return unknownPart(ctx, argv[0]);
    resultText(ctx, DateParts::toStorage(*r));
}

void fnDatediff(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    QDateTime a;
    QDateTime b;
    if (!dateArg(ctx, argv[1], &a) || !dateArg(ctx, argv[2], &b))
        return;
    const auto r = DateParts::dateDiff(textArg(argv[0]), a, b);
    if (!r)
        return unknownPart(ctx, argv[0]);
    sqlite3_result_int64(ctx, *r);
}

void fnDatepart(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    QDateTime date;
    if (!dateArg(ctx, argv[1], &date))
        return;
    const auto r = DateParts::datePart(textArg(argv[0]), date);
    if (!r)
        return unknownPart(ctx, argv[0]);
    sqlite3_result_int(ctx, *r);
}

template <int Which> void fnYmd(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    QDateTime date;
    if (!dateArg(ctx, argv[0], &date))
        return;
    const QDate d = date.date();
    sqlite3_result_int(ctx, Which == 0 ? d.year() : Which == 1 ? d.month() : d.day());
}

template <bool Left> void fnLeftRight(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv)) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString s = textArg(argv[0]);
    const int n = std::max(0, sqlite3_value_int(argv[1]));
    resultText(ctx, Left ? s.left(n) : s.right(n));
}

} // namespace

bool registerSqliteFunctions(sqlite3 *h)
{
    struct Fn {
        const char *name;
        int args;
        void (*fn)(sqlite3_context *, int, sqlite3_value **);
        bool deterministic;
    };
    static const Fn fns[] = {
        {"getdate", 0, fnGetdate, false},
        {"dateadd", 3, fnDateadd, true},
        {"datediff", 3, fnDatediff, true},
        {"datepart", 2, fnDatepart, true},
        {"year", 1, fnYmd<0>, true},
        {"month", 1, fnYmd<1>, true},
        {"day", 1, fnYmd<2>, true},
        {"left", 2, fnLeftRight<true>, true},
        {"right", 2, fnLeftRight<false>, true},
        {"mdr_fold", 1, sqliteFold, true},
    };
    bool ok = true;
    for (const Fn &f : fns) {
        const int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
        ok = sqlite3_create_function_v2(h, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr, nullptr) ==
                 SQLITE_OK &&
             ok;
    }
    return ok;
}

} // namespace db
