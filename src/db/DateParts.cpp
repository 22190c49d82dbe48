#include "DateParts.h"

#include "Dialect.h"

namespace db::DateParts {

namespace {

// SQL Server counts weeks from Sunday 1899-12-31.
qint64 weekIndex(const QDate &d)
{
    const qint64 days = QDate(1899, 12, 31).daysTo(d);
    return days >= 0 ? days / 7 : -((-days + 6) / 7);
}

qint64 floorDiv(qint64 a, qint64 b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

qint64 msecsOf(const QDateTime &dt)
{
    // Calendar arithmetic in local wall-clock terms, without daylight-saving jumps.
    return QDate(1900, 1, 1).daysTo(dt.date()) * 86400000LL + dt.time().msecsSinceStartOfDay();
}

} // namespace

std::optional<QDateTime> dateAdd(const QString &part, qint64 amount, const QDateTime &date)
{
    const QString p = Dialect::canonicalDatePart(part);
    if (p.isEmpty())
        return std::nullopt;
    const QDate d = date.date();
    const QTime t = date.time();
    if (p == u"year")
        return QDateTime(d.addYears(int(amount)), t);
    if (p == u"quarter")
        return QDateTime(d.addMonths(int(amount * 3)), t);
    if (p == u"month")
        return QDateTime(d.addMonths(int(amount)), t);
    if (p == u"week")
        return QDateTime(d.addDays(amount * 7), t);
    if (p == u"day" || p == u"dayofyear" || p == u"weekday")
        return QDateTime(d.addDays(amount), t);
    qint64 ms = 0;
    if (p == u"hour")
        ms = amount * 3600000LL;
    else if (p == u"minute")
        ms = amount * 60000LL;
    else if (p == u"second")
        ms = amount * 1000LL;
    else
        ms = amount;
    const qint64 total = t.msecsSinceStartOfDay() + ms;
    const qint64 days = floorDiv(total, 86400000LL);
    return QDateTime(d.addDays(days), QTime::fromMSecsSinceStartOfDay(int(total - days * 86400000LL)));
}

std::optional<qint64> dateDiff(const QString &part, const QDateTime &a, const QDateTime &b)
{
    const QString p = Dialect::canonicalDatePart(part);
    if (p.isEmpty())
        return std::nullopt;
    const QDate da = a.date();
    const QDate db = b.date();
    if (p == u"year")
        return db.year() - da.year();
    if (p == u"quarter")
        return (db.year() * 4 + (db.month() - 1) / 3) - (da.year() * 4 + (da.month() - 1) / 3);
    if (p == u"month")
        return (db.year() * 12 + db.month()) - (da.year() * 12 + da.month());
    if (p == u"week")
        return weekIndex(db) - weekIndex(da);
    if (p == u"day" || p == u"dayofyear" || p == u"weekday")
        return da.daysTo(db);
    qint64 unit = 1;
    if (p == u"hour")
        unit = 3600000LL;
    else if (p == u"minute")
        unit = 60000LL;
    else if (p == u"second")
        unit = 1000LL;
    return floorDiv(msecsOf(b), unit) - floorDiv(msecsOf(a), unit);
}

std::optional<int> datePart(const QString &part, const QDateTime &date)
{
    const QString p = Dialect::canonicalDatePart(part);
    if (p.isEmpty())
        return std::nullopt;
    const QDate d = date.date();
    const QTime t = date.time();
    if (p == u"year")
        return d.year();
    if (p == u"quarter")
        return (d.month() - 1) / 3 + 1;
    if (p == u"month")
        return d.month();
    if (p == u"dayofyear")
        return d.dayOfYear();
    if (p == u"day")
        return d.day();
    if (p == u"week")
        return int(weekIndex(d) - weekIndex(QDate(d.year(), 1, 1))) + 1;
    if (p == u"weekday")
        return d.dayOfWeek() % 7 + 1;
    if (p == u"hour")
        return t.hour();
    if (p == u"minute")
        return t.minute();
    if (p == u"second")
        return t.second();
    return t.msec();
}

// 'yyyy-MM-dd HH:mm:ss', the one stored form, read without Qt's format parser: every timestamp
// of every row read from SQLite comes this way.
static QDateTime parseStored(const QString &s)
{
    static constexpr int digits[] = {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18};
    if (s.size() != 19 || s[4] != u'-' || s[7] != u'-' || s[10] != u' ' || s[13] != u':' || s[16] != u':')
        return {};
    for (int i : digits)
        if (s[i] < u'0' || s[i] > u'9')
            return {};
    const auto at = [&s](int i, int n) {
        int v = 0;
        for (int k = i; k < i + n; ++k)
            v = v * 10 + (s[k].unicode() - u'0');
        return v;
    };
    const QDate d(at(0, 4), at(5, 2), at(8, 2));
    const QTime t(at(11, 2), at(14, 2), at(17, 2));
    return d.isValid() && t.isValid() ? QDateTime(d, t) : QDateTime();
}

QDateTime parse(const QString &input)
{
    if (const QDateTime stored = parseStored(input); stored.isValid())
        return stored;
    const QString text = input.trimmed();
    if (text.isEmpty())
        return {};
    if (text.size() >= 10 && text[4] == u'-') {
        QDate d = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            return {};
        if (text.size() == 10)
            return QDateTime(d, QTime(0, 0));
        QString timeText = text.mid(11);
        // Drop a zone suffix; stored values are local wall-clock times.
        if (timeText.endsWith(u'Z'))
            timeText.chop(1);
        QTime t = QTime::fromString(timeText, Qt::ISODateWithMs);
        if (!t.isValid())
            t = QTime::fromString(timeText, QStringLiteral("H:mm"));
        return t.isValid() ? QDateTime(d, t) : QDateTime();
    }
    const QString iso = Dialect::dayFirstToIso(text);
    if (!iso.isEmpty())
        return QDateTime::fromString(iso, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return {};
}

QString toStorage(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    if (value.time().msec() != 0)
        return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

} // namespace db::DateParts
