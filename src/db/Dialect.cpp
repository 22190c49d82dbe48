#include "Dialect.h"

#include "DialectRewrite.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace db {

namespace {

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

int skipSpaces(const QString &s, int i)
{
    while (i < s.size() && s[i].isSpace())
        ++i;
    return i;
}

int wordEnd(const QString &s, int i)
{
    while (i < s.size() && isWordChar(s[i]))
        ++i;
    return i;
}

const QSet<QString> &tableHints()
{
    static const QSet<QString> hints = {
        QStringLiteral("nolock"),   QStringLiteral("readuncommitted"), QStringLiteral("readcommitted"),
        QStringLiteral("rowlock"),  QStringLiteral("updlock"),         QStringLiteral("holdlock"),
        QStringLiteral("readpast"), QStringLiteral("tablock"),         QStringLiteral("tablockx"),
        QStringLiteral("paglock"),  QStringLiteral("xlock"),           QStringLiteral("serializable"),
        QStringLiteral("repeatableread"), QStringLiteral("nowait"),
    };
    return hints;
}

// At s[i] == '(': when it opens a list of table hints, returns the index after ')'; else -1.
int hintListEnd(const QString &s, int i)
{
    int j = i + 1;
    bool any = false;
    for (;;) {
        j = skipSpaces(s, j);
        const int e = wordEnd(s, j);
        if (e == j || !tableHints().contains(s.mid(j, e - j).toLower()))
            return -1;
        any = true;
        j = skipSpaces(s, e);
        if (j < s.size() && s[j] == u',') {
            ++j;
            continue;
        }
        if (j < s.size() && s[j] == u')' && any)
            return j + 1;
        return -1;
    }
}

// Index after a string literal starting at s[i] == '\''.
int literalEnd(const QString &s, int i)
{
    int j = i + 1;
    while (j < s.size()) {
        if (s[j] == u'\'') {
            if (j + 1 < s.size() && s[j + 1] == u'\'') {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return j;
}

// At s[i] == '$': index after a PostgreSQL dollar-quoted body, or -1 when it is not one.
int dollarQuoteEnd(const QString &s, int i)
{
    int j = i + 1;
    while (j < s.size() && (s[j].isLetterOrNumber() || s[j] == u'_'))
        ++j;
    if (j >= s.size() || s[j] != u'$')
        return -1;
    if (j > i + 1 && s[i + 1].isDigit())
        return -1; // $1 is a parameter
    const QString tag = s.mid(i, j - i + 1);
    const int close = int(s.indexOf(tag, j + 1));
    return close < 0 ? int(s.size()) : close + int(tag.size());
}

int commentEnd(const QString &s, int i)
{
    if (s[i] == u'-') {
        const int nl = int(s.indexOf(u'\n', i));
        return nl < 0 ? int(s.size()) : nl;
    }
    const int close = int(s.indexOf(QLatin1String("*/"), i + 2));
    return close < 0 ? int(s.size()) : close + 2;
}

bool startsComment(const QString &s, int i)
{
    return i + 1 < s.size() &&
           ((s[i] == u'-' && s[i + 1] == u'-') || (s[i] == u'/' && s[i + 1] == u'*'));
}

} // namespace

QString Dialect::canonicalDatePart(const QString &part)
{
    static const QHash<QString, QString> parts = {
        {QStringLiteral("yy"), QStringLiteral("year")},         {QStringLiteral("yyyy"), QStringLiteral("year")},
        {QStringLiteral("year"), QStringLiteral("year")},       {QStringLiteral("qq"), QStringLiteral("quarter")},
        {QStringLiteral("q"), QStringLiteral("quarter")},       {QStringLiteral("quarter"), QStringLiteral("quarter")},
        {QStringLiteral("mm"), QStringLiteral("month")},        {QStringLiteral("m"), QStringLiteral("month")},
        {QStringLiteral("month"), QStringLiteral("month")},     {QStringLiteral("dy"), QStringLiteral("dayofyear")},
        {QStringLiteral("y"), QStringLiteral("dayofyear")},     {QStringLiteral("dayofyear"), QStringLiteral("dayofyear")},
        {QStringLiteral("dd"), QStringLiteral("day")},          {QStringLiteral("d"), QStringLiteral("day")},
        {QStringLiteral("day"), QStringLiteral("day")},         {QStringLiteral("wk"), QStringLiteral("week")},
        {QStringLiteral("ww"), QStringLiteral("week")},         {QStringLiteral("week"), QStringLiteral("week")},
        {QStringLiteral("dw"), QStringLiteral("weekday")},      {QStringLiteral("w"), QStringLiteral("weekday")},
        {QStringLiteral("weekday"), QStringLiteral("weekday")}, {QStringLiteral("hh"), QStringLiteral("hour")},
        {QStringLiteral("hour"), QStringLiteral("hour")},       {QStringLiteral("mi"), QStringLiteral("minute")},
        {QStringLiteral("n"), QStringLiteral("minute")},        {QStringLiteral("minute"), QStringLiteral("minute")},
        {QStringLiteral("ss"), QStringLiteral("second")},       {QStringLiteral("s"), QStringLiteral("second")},
        {QStringLiteral("second"), QStringLiteral("second")},   {QStringLiteral("ms"), QStringLiteral("millisecond")},
        {QStringLiteral("millisecond"), QStringLiteral("millisecond")},
    };
    return parts.value(part.trimmed().toLower());
}

QString Dialect::dayFirstToIso(const QString &literal)
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const auto m = re.match(literal.trimmed());
    if (!m.hasMatch())
        return {};
    const QDate date(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid())
        return {};
    const int h = m.captured(4).toInt();
    const int mi = m.captured(5).toInt();
    const int sec = m.captured(6).toInt();
    if (h > 23 || mi > 59 || sec > 59)
        return {};
    return date.toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(" %1:%2:%3")
               .arg(h, 2, 10, QLatin1Char('0'))
               .arg(mi, 2, 10, QLatin1Char('0'))
               .arg(sec, 2, 10, QLatin1Char('0'));
}

TranslatedSql Dialect::translate(const QString &sql, Engine engine)
{
    const QString s = DialectRewrite::rewrite(sql, engine);
    TranslatedSql out;
    QString &o = out.sql;
    o.reserve(s.size() + 16);
    bool sawNamed = false;
    bool sawPositional = false;
    const int n = int(s.size());
    int i = 0;
    while (i < n) {
        const QChar c = s[i];
        if (c == u'\'') {
            const int e = literalEnd(s, i);
            if (engine == Engine::SQLite && e - i <= 24) {
                const QString iso = dayFirstToIso(s.mid(i + 1, e - i - 2));
                if (!iso.isEmpty()) {
                    o += u'\'' + iso + u'\'';
                    i = e;
                    continue;
                }
            }
            o += QStringView(s).mid(i, e - i);
            i = e;
            continue;
        }
        if (startsComment(s, i)) {
            const int e = commentEnd(s, i);
            o += QStringView(s).mid(i, e - i);
            i = e;
            continue;
        }
        if (c == u'"') {
            int e = int(s.indexOf(u'"', i + 1));
            e = e < 0 ? n : e + 1;
            o += QStringView(s).mid(i, e - i);
            i = e;
            continue;
        }
        if (c == u'$' && engine == Engine::PostgreSQL) {
            const int e = dollarQuoteEnd(s, i);
            if (e > 0) {
                o += QStringView(s).mid(i, e - i);
                i = e;
                continue;
            }
        }
        if (c == u'[') {
            const int close = int(s.indexOf(u']', i + 1));
            if (close > i + 1) {
                const QString name = s.mid(i + 1, close - i - 1);
                static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
                // A plain name goes unquoted so that PostgreSQL folds it like every other name.
                if (plain.match(name).hasMatch())
                    o += name;
                else
                    o += u'"' + QString(name).replace(u'"', QLatin1String("\"\"")) + u'"';
                i = close + 1;
                if (name.compare(QLatin1String("dbo"), Qt::CaseInsensitive) == 0 && i < n && s[i] == u'.') {
                    o.chop(name.size());
                    ++i;
                }
                continue;
            }
        }
        if (c == u'?') {
            sawPositional = true;
            ++out.placeholderCount;
            o += u'?';
            ++i;
            continue;
        }
        if (c == u':' && i + 1 < n && (s[i + 1].isLetter() || s[i + 1] == u'_') &&
            (i == 0 || s[i - 1] != u':')) {
            const int e = wordEnd(s, i + 1);
            sawNamed = true;
            ++out.placeholderCount;
            out.parameterNames.append(s.mid(i + 1, e - i - 1));
            o += u'?';
            i = e;
            continue;
        }
        if (c == u'(') {
            int e = hintListEnd(s, i);
            if (e > 0) {
                // Also drop a "WITH" written just before the hint list.
                QString trimmed = o;
                while (!trimmed.isEmpty() && trimmed.back().isSpace())
                    trimmed.chop(1);
                if (trimmed.endsWith(QLatin1String("with"), Qt::CaseInsensitive) &&
                    (trimmed.size() == 4 || !isWordChar(trimmed[trimmed.size() - 5])))
                    o = trimmed.left(trimmed.size() - 4);
                while (!o.isEmpty() && o.back().isSpace())
                    o.chop(1);
                // Keep the words on either side apart.
                if (e < n && !s[e].isSpace() && s[e] != u')' && s[e] != u',' && s[e] != u';')
                    o += u' ';
                else if (e < n && s[e].isSpace())
                    o += s[e++];
                i = e;
                continue;
            }
        }
        if (isWordStart(c) && (i == 0 || !isWordChar(s[i - 1]))) {
            const int e = wordEnd(s, i);
            const QString word = s.mid(i, e - i);
            const QString lower = word.toLower();
            const int next = skipSpaces(s, e);
            const bool call = next < n && s[next] == u'(';
            if (lower == u"dbo" && e < n && s[e] == u'.') {
                i = e + 1;
                continue;
            }
            if (lower == u"n" && e < n && s[e] == u'\'') {
                i = e; // N'text': both engines store Unicode text anyway
                continue;
            }
            if (call && lower == u"isnull") {
                o += QLatin1String("coalesce");
                i = e;
                continue;
            }
            if (call && engine == Engine::SQLite && (lower == u"left" || lower == u"right")) {
                // LEFT and RIGHT are join keywords to SQLite's parser; quoted they call our functions.
                o += u'"' + lower + u'"';
                i = e;
                continue;
            }
            if (call && lower == u"len") {
                o += QLatin1String("length");
                i = e;
                continue;
            }
            if (call && (lower == u"dateadd" || lower == u"datediff" || lower == u"datepart")) {
                const int a = skipSpaces(s, next + 1);
                const int ae = wordEnd(s, a);
                const int after = skipSpaces(s, ae);
                if (ae > a && after < n && s[after] == u',' && !canonicalDatePart(s.mid(a, ae - a)).isEmpty()) {
                    o += word;
                    o += QStringView(s).mid(e, a - e);
                    o += u'\'' + s.mid(a, ae - a).toLower() + u'\'';
                    i = ae;
                    continue;
                }
            }
            o += word;
            i = e;
            continue;
        }
        o += c;
        ++i;
    }
    if (sawNamed && sawPositional) {
        // Mixed styles cannot be matched to values; the caller reports it.
        out.placeholderCount = -1;
    }
    return out;
}

QStringList Dialect::splitStatements(const QString &s)
{
    QStringList out;
    const int n = int(s.size());
    int start = 0;
    int i = 0;
    auto flush = [&](int end) {
        const QString stmt = s.mid(start, end - start).trimmed();
        if (!stmt.isEmpty())
            out.append(stmt);
    };
    while (i < n) {
        const QChar c = s[i];
        if (c == u'\'') {
            i = literalEnd(s, i);
        } else if (startsComment(s, i)) {
            i = commentEnd(s, i);
        } else if (c == u'"') {
            const int e = int(s.indexOf(u'"', i + 1));
            i = e < 0 ? n : e + 1;
        } else if (c == u'$' && dollarQuoteEnd(s, i) > 0) {
            i = dollarQuoteEnd(s, i);
        } else if (c == u';') {
            flush(i);
            start = ++i;
        } else {
            ++i;
        }
    }
    flush(n);
    return out;
}

} // namespace db
