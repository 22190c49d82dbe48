#include "SqliteFunctions.h"

#include "DateParts.h"
#include "Decimal.h"
#include "TextFold.h"

#include <QDateTime>
#include <QString>

#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

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

// Exact sums. Amounts are stored as the nearest binary double (NUMERIC affinity), which reads
// back exactly once rounded to the six decimals of numeric(18,6); SQLite's own sum adds the
// doubles themselves, so 0.1 + 0.2 is not 0.3 and a long column of cents drifts. These
// replacements add every value as a whole number of millionths in 128 bits and hand back the
// double nearest to the exact total, which reads back as that total.
struct ExactSum {
    // The total in millionths. Kept as bytes: SQLite's aggregate memory is aligned to 8 bytes
    // only, less than a __int128 needs.
    unsigned char microsBytes[sizeof(__int128)] = {};
    __int128 micros() const
    {
        __int128 v;
        std::memcpy(&v, microsBytes, sizeof v);
        return v;
    }
    void setMicros(__int128 v) { std::memcpy(microsBytes, &v, sizeof v); }
    qint64 integers = 0; // the total while every value is an integer (SQLite's integer sum)
    qint64 count = 0;
    bool fractional = false;
    bool overflow = false;
};

constexpr qint64 kMicros = 1000000;

// Millionths of a value; text that is not a number counts as 0, as in SQLite.
__int128 micros(sqlite3_value *v, bool *outOfRange)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return __int128(sqlite3_value_int64(v)) * kMicros;
    case SQLITE_FLOAT: {
        // long double holds the double exactly and the product closely enough to round right.
        const long double d = (long double)sqlite3_value_double(v) * 1000000.0L;
        if (!(d < 9.2e18L && d > -9.2e18L)) {
            *outOfRange = true;
            return 0;
        }
        return llroundl(d);
    }
    default: {
        bool ok = false;
        const Decimal d = Decimal::fromString(textArg(v).trimmed(), &ok);
        return ok ? __int128(d.raw()) : 0;
    }
    }
}

void sumAdd(sqlite3_context *ctx, sqlite3_value *v, int sign)
{
    auto *acc = static_cast<ExactSum *>(sqlite3_aggregate_context(ctx, sizeof(ExactSum)));
    if (!acc || sqlite3_value_type(v) == SQLITE_NULL)
        return;
    acc->count += sign;
    if (sqlite3_value_type(v) == SQLITE_INTEGER) {
        if (__builtin_add_overflow(acc->integers, sign * sqlite3_value_int64(v), &acc->integers))
            acc->overflow = true;
    } else {
        acc->fractional = true;
    }
    bool outOfRange = false;
    acc->setMicros(acc->micros() + sign * micros(v, &outOfRange));
    acc->overflow = acc->overflow || outOfRange;
}

void sumStep(sqlite3_context *ctx, int, sqlite3_value **argv) { sumAdd(ctx, argv[0], 1); }
void sumInverse(sqlite3_context *ctx, int, sqlite3_value **argv) { sumAdd(ctx, argv[0], -1); }

// The double nearest to an exact number of millionths (strtod rounds correctly).
double nearestDouble(__int128 micros)
{
    const bool negative = micros < 0;
    unsigned __int128 m = negative ? -(unsigned __int128)micros : (unsigned __int128)micros;
    char digits[48];
    int n = 0;
    do {
        digits[n++] = char('0' + int(m % 10));
        m /= 10;
    } while (m);
    std::string text = negative ? "-" : "";
    for (int i = n - 1; i >= 0; --i)
        text += digits[i];
    text += "e-6";
    return std::strtod(text.c_str(), nullptr);
}

template <int Kind> // 0 sum, 1 total, 2 avg
void sumResult(sqlite3_context *ctx, bool final)
{
    auto *acc = static_cast<ExactSum *>(sqlite3_aggregate_context(ctx, final ? 0 : sizeof(ExactSum)));
    const ExactSum empty;
    const ExactSum &a = acc ? *acc : empty;
    if (a.count == 0) {
        if (Kind == 1)
            sqlite3_result_double(ctx, 0.0);
        else
            sqlite3_result_null(ctx);
        return;
    }
    if (a.overflow) {
        sqlite3_result_error(ctx, "integer overflow", -1);
        return;
    }
    if (Kind == 0 && !a.fractional) {
        sqlite3_result_int64(ctx, a.integers);
        return;
    }
    __int128 value = a.micros();
    if (Kind == 2) {
        // Half away from zero, at the sixth decimal.
        const __int128 q = value / a.count;
        const __int128 r = value % a.count;
        value = q + ((r < 0 ? -r : r) * 2 >= a.count ? (value < 0 ? -1 : 1) : 0);
    }
    sqlite3_result_double(ctx, nearestDouble(value));
}

template <int Kind>
void sumFinal(sqlite3_context *ctx)
{
    sumResult<Kind>(ctx, true);
}

template <int Kind>
void sumValue(sqlite3_context *ctx)
{
    sumResult<Kind>(ctx, false);
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
    using Step = void (*)(sqlite3_context *, int, sqlite3_value **);
    using Final = void (*)(sqlite3_context *);
    const struct {
        const char *name;
        Final final;
        Final value;
    } sums[] = {{"sum", sumFinal<0>, sumValue<0>}, {"total", sumFinal<1>, sumValue<1>}, {"avg", sumFinal<2>, sumValue<2>}};
    for (const auto &f : sums) {
        const Step step = sumStep;
        const Step inverse = sumInverse;
        ok = sqlite3_create_window_function(h, f.name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, step, f.final,
                                            f.value, inverse, nullptr) == SQLITE_OK &&
             ok;
    }
    return ok;
}

} // namespace db
