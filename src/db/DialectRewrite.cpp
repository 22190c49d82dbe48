#include "DialectRewrite.h"

#include "DbError.h"
#include "Dialect.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSet>

#include <vector>

namespace db {

using namespace Qt::StringLiterals;

namespace {

enum class T { Word, Ident, String, Number, Param, Op, Open, Close, Comma, Semi };

struct Tok {
    T kind;
    int lead; // start of the spaces and comments before the token
    int begin;
    int end;
    QString low; // Word and Op: lower-case text
};

// What an operand of '+' is known to be.
enum class K { Unknown, Text, Number, Date };

struct TypeInfo {
    QString name;    // lower case, "double precision" as one name
    int length = -1; // -1 none given, -2 max
    K kind = K::Unknown;
    bool fixed = false; // char / nchar: padded
    QString raw;
};

bool wordStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}

bool wordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

const QSet<QString> &keywords()
{
    // Words that end an operand: clauses, logical and set operators.
    static const QSet<QString> k = {
        u"select"_s,    u"from"_s,     u"where"_s,     u"and"_s,     u"or"_s,     u"not"_s,       u"as"_s,
        u"on"_s,        u"then"_s,     u"else"_s,      u"when"_s,    u"end"_s,    u"between"_s,   u"like"_s,
        u"in"_s,        u"is"_s,       u"order"_s,     u"by"_s,      u"group"_s,  u"having"_s,    u"union"_s,
        u"all"_s,       u"distinct"_s, u"top"_s,       u"join"_s,    u"inner"_s,  u"left"_s,      u"right"_s,
        u"outer"_s,     u"cross"_s,    u"full"_s,      u"set"_s,     u"values"_s, u"into"_s,      u"insert"_s,
        u"update"_s,    u"delete"_s,   u"exists"_s,    u"escape"_s,  u"asc"_s,    u"desc"_s,      u"with"_s,
        u"limit"_s,     u"offset"_s,   u"returning"_s, u"collate"_s, u"except"_s, u"intersect"_s, u"over"_s,
        u"partition"_s, u"percent"_s,  u"ties"_s,      u"any"_s,     u"some"_s,   u"conflict"_s,  u"do"_s,
    };
    return k;
}

const QSet<QString> &textFunctions()
{
    static const QSet<QString> f = {
        u"upper"_s,   u"lower"_s, u"ltrim"_s,   u"rtrim"_s,     u"trim"_s,      u"substring"_s, u"substr"_s,
        u"left"_s,    u"right"_s, u"replace"_s, u"replicate"_s, u"space"_s,     u"reverse"_s,   u"stuff"_s,
        u"char"_s,    u"nchar"_s, u"str"_s,     u"concat"_s,    u"quotename"_s, u"format"_s,    u"strftime"_s,
        u"to_char"_s, u"lpad"_s,  u"rpad"_s,    u"printf"_s,
    };
    return f;
}

const QSet<QString> &numberFunctions()
{
    static const QSet<QString> f = {
        u"count"_s,    u"count_big"_s, u"sum"_s,        u"avg"_s,      u"abs"_s,    u"round"_s,
        u"ceiling"_s,  u"ceil"_s,      u"floor"_s,      u"len"_s,      u"length"_s, u"datalength"_s,
        u"datediff"_s, u"datepart"_s,  u"charindex"_s,  u"patindex"_s, u"year"_s,   u"month"_s,
        u"day"_s,      u"power"_s,     u"sqrt"_s,       u"sign"_s,     u"rand"_s,   u"ascii"_s,
        u"unicode"_s,  u"instr"_s,     u"row_number"_s,
    };
    return f;
}

const QSet<QString> &dateFunctions()
{
    static const QSet<QString> f = {u"getdate"_s, u"getutcdate"_s, u"sysdatetime"_s, u"dateadd"_s,
                                    u"current_timestamp"_s};
    return f;
}

// Functions whose result has the type of their arguments.
const QSet<QString> &passThroughFunctions()
{
    static const QSet<QString> f = {u"isnull"_s, u"coalesce"_s, u"nullif"_s, u"max"_s, u"min"_s};
    return f;
}

K kindOfType(const QString &name)
{
    static const QSet<QString> text = {u"char"_s, u"varchar"_s, u"nchar"_s,     u"nvarchar"_s,
                                       u"text"_s, u"ntext"_s,   u"character"_s, u"character varying"_s};
    static const QSet<QString> date = {u"datetime"_s, u"smalldatetime"_s, u"datetime2"_s,
                                       u"date"_s,     u"time"_s,          u"timestamp"_s};
    static const QSet<QString> number = {
        u"int"_s,     u"integer"_s, u"bigint"_s,          u"smallint"_s,   u"tinyint"_s,
        u"decimal"_s, u"numeric"_s, u"money"_s,           u"smallmoney"_s, u"float"_s,
        u"real"_s,    u"bit"_s,     u"double precision"_s};
    if (text.contains(name))
        return K::Text;
    if (date.contains(name))
        return K::Date;
    if (number.contains(name))
        return K::Number;
    return K::Unknown;
}

struct DateStyle {
    int style;
    const char *sqlite;   // strftime format
    const char *postgres; // to_char format
    int length;
};

const DateStyle *dateStyle(int style)
{
    static const DateStyle styles[] = {
        {101, "%m/%d/%Y", "MM/DD/YYYY", 10},
        {103, "%d/%m/%Y", "DD/MM/YYYY", 10},
        {108, "%H:%M:%S", "HH24:MI:SS", 8},
        {112, "%Y%m%d", "YYYYMMDD", 8},
        {120, "%Y-%m-%d %H:%M:%S", "YYYY-MM-DD HH24:MI:SS", 19},
    };
    for (const DateStyle &s : styles)
        if (s.style == style)
            return &s;
    return nullptr;
}

// A date literal written in a CONVERT style, as ISO 'yyyy-MM-dd HH:mm:ss'; empty when it is not one.
QString parseStyledDate(const QString &text, int style)
{
    static const QRegularExpression dmy(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    static const QRegularExpression ymd(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    static const QRegularExpression iso(
        QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    static const QRegularExpression hms(QStringLiteral("^(\\d{1,2}):(\\d{2})(?::(\\d{2}))?$"));
    const QString t = text.trimmed();
    int y = 1900, mo = 1, d = 1, h = 0, mi = 0, sec = 0;
    QRegularExpressionMatch m;
    if ((style == 103 || style == 101) && (m = dmy.match(t)).hasMatch()) {
        d = m.captured(style == 103 ? 1 : 2).toInt();
        mo = m.captured(style == 103 ? 2 : 1).toInt();
        y = m.captured(3).toInt();
        h = m.captured(4).toInt();
        mi = m.captured(5).toInt();
        sec = m.captured(6).toInt();
    } else if (style == 112 && (m = ymd.match(t)).hasMatch()) {
        y = m.captured(1).toInt();
        mo = m.captured(2).toInt();
        d = m.captured(3).toInt();
    } else if (style == 120 && (m = iso.match(t)).hasMatch()) {
        y = m.captured(1).toInt();
        mo = m.captured(2).toInt();
        d = m.captured(3).toInt();
        h = m.captured(4).toInt();
        mi = m.captured(5).toInt();
        sec = m.captured(6).toInt();
    } else if (style == 108 && (m = hms.match(t)).hasMatch()) {
        h = m.captured(1).toInt();
        mi = m.captured(2).toInt();
        sec = m.captured(3).toInt();
    } else {
        return {};
    }
    const QDate date(y, mo, d);
    const QTime time(h, mi, sec);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

class Rewriter {
public:
    Rewriter(const QString &s, Engine engine) : m_s(s), m_engine(engine) {}

    QString run()
    {
        tokenize();
        const int n = int(m_toks.size());
        m_prefix.assign(size_t(n), QString());
        m_suffix.assign(size_t(n), QString());
        m_replace.assign(size_t(n), QString());
        m_dropped.assign(size_t(n), 0);
        matchPairs();
        return render(0, n) + m_s.mid(m_tail);
    }

private:
    // ---- tokens ----------------------------------------------------------------------------

    void tokenize()
    {
        const int n = int(m_s.size());
        int i = 0;
        int lead = 0;
        auto push = [&](T kind, int b, int e) {
            Tok t{kind, lead, b, e, {}};
            if (kind == T::Word || kind == T::Op)
                t.low = m_s.mid(b, e - b).toLower();
            m_toks.push_back(t);
            lead = e;
        };
        while (i < n) {
            const QChar c = m_s[i];
            if (c.isSpace()) {
                ++i;
                continue;
            }
            if (c == u'-' && i + 1 < n && m_s[i + 1] == u'-') {
                const int nl = int(m_s.indexOf(u'\n', i));
                i = nl < 0 ? n : nl;
                continue;
            }
            if (c == u'/' && i + 1 < n && m_s[i + 1] == u'*') {
                const int close = int(m_s.indexOf(QLatin1String("*/"), i + 2));
                i = close < 0 ? n : close + 2;
                continue;
            }
            const int b = i;
            if (c == u'\'' || ((c == u'N' || c == u'n') && i + 1 < n && m_s[i + 1] == u'\'' &&
                               (i == 0 || !wordChar(m_s[i - 1])))) {
                int j = c == u'\'' ? i + 1 : i + 2;
                while (j < n) {
                    if (m_s[j] == u'\'') {
                        if (j + 1 < n && m_s[j + 1] == u'\'') {
                            j += 2;
                            continue;
                        }
                        ++j;
                        break;
                    }
                    ++j;
                }
                push(T::String, b, std::min(j, n));
                i = std::min(j, n);
                continue;
            }
            if (c == u'$' && i + 1 < n && (m_s[i + 1] == u'$' || wordStart(m_s[i + 1]))) {
                int j = i + 1;
                while (j < n && (m_s[j].isLetterOrNumber() || m_s[j] == u'_'))
                    ++j;
                if (j < n && m_s[j] == u'$') {
                    const QString tag = m_s.mid(i, j - i + 1);
                    const int close = int(m_s.indexOf(tag, j + 1));
                    const int e = close < 0 ? n : close + int(tag.size());
                    push(T::String, b, e);
                    i = e;
                    continue;
                }
            }
            if (c == u'$' && i + 1 < n && m_s[i + 1].isDigit()) {
                int j = i + 1;
                while (j < n && m_s[j].isDigit())
                    ++j;
                push(T::Param, b, j);
                i = j;
                continue;
            }
            if (c.isDigit() || (c == u'.' && i + 1 < n && m_s[i + 1].isDigit())) {
                int j = i;
                while (j < n && (m_s[j].isDigit() || m_s[j] == u'.'))
                    ++j;
                if (j < n && (m_s[j] == u'e' || m_s[j] == u'E')) {
                    int k = j + 1;
                    if (k < n && (m_s[k] == u'+' || m_s[k] == u'-'))
                        ++k;
                    if (k < n && m_s[k].isDigit()) {
                        j = k;
                        while (j < n && m_s[j].isDigit())
                            ++j;
                    }
                }
                push(T::Number, b, j);
                i = j;
                continue;
            }
            if (wordStart(c) || c == u'"' || c == u'[') {
                // A name, with its qualifiers: t.col, dbo.fn, [a].[b], "x"."y", t.*
                int j = i;
                int parts = 0;
                bool quotedFirst = false;
                for (;;) {
                    ++parts;
                    if (m_s[j] == u'"' || m_s[j] == u'[') {
                        quotedFirst |= parts == 1;
                        const int e = int(m_s.indexOf(m_s[j] == u'"' ? u'"' : u']', j + 1));
                        j = e < 0 ? n : e + 1;
                    } else {
                        while (j < n && wordChar(m_s[j]))
                            ++j;
                    }
                    if (j + 1 < n && m_s[j] == u'.' &&
                        (wordStart(m_s[j + 1]) || m_s[j + 1] == u'"' || m_s[j + 1] == u'[' ||
                         m_s[j + 1] == u'*')) {
                        ++j;
                        if (m_s[j] == u'*') {
                            ++j;
                            ++parts;
                            break;
                        }
                        continue;
                    }
                    break;
                }
                const T kind = parts == 1 && quotedFirst ? T::Ident : T::Word;
                push(kind, b, j);
                i = j;
                continue;
            }
            if (c == u'?') {
                push(T::Param, b, i + 1);
                ++i;
                continue;
            }
            if (c == u':' && i + 1 < n && (m_s[i + 1].isLetter() || m_s[i + 1] == u'_')) {
                int j = i + 1;
                while (j < n && wordChar(m_s[j]))
                    ++j;
                push(T::Param, b, j);
                i = j;
                continue;
            }
            if (c == u'(') {
                push(T::Open, b, i + 1);
                ++i;
                continue;
            }
            if (c == u')') {
                push(T::Close, b, i + 1);
                ++i;
                continue;
            }
            if (c == u',') {
                push(T::Comma, b, i + 1);
                ++i;
                continue;
            }
            if (c == u';') {
                push(T::Semi, b, i + 1);
                ++i;
                continue;
            }
            static const QStringList twoChar = {u"<>"_s, u"<="_s, u">="_s, u"!="_s,
                                                u"!<"_s, u"!>"_s, u"||"_s, u"::"_s};
            const QString two = m_s.mid(i, 2);
            const int len = twoChar.contains(two) ? 2 : 1;
            push(T::Op, b, i + len);
            i += len;
        }
        m_tail = lead;
    }

    // Parentheses and CASE … END, each with its partner.
    void matchPairs()
    {
        m_match.assign(m_toks.size(), -1);
        std::vector<int> stack;
        for (int i = 0; i < int(m_toks.size()); ++i) {
            const Tok &t = m_toks[size_t(i)];
            if (t.kind == T::Open || isWord(i, u"case")) {
                stack.push_back(i);
            } else if (t.kind == T::Close) {
                while (!stack.empty() && m_toks[size_t(stack.back())].kind != T::Open)
                    stack.pop_back();
                if (!stack.empty()) {
                    m_match[size_t(stack.back())] = i;
                    m_match[size_t(i)] = stack.back();
                    stack.pop_back();
                }
            } else if (isWord(i, u"end") && !stack.empty() && m_toks[size_t(stack.back())].kind == T::Word) {
                m_match[size_t(stack.back())] = i;
                m_match[size_t(i)] = stack.back();
                stack.pop_back();
            }
        }
    }

    bool isWord(int i, QStringView w) const
    {
        return i >= 0 && i < int(m_toks.size()) && m_toks[size_t(i)].kind == T::Word &&
               m_toks[size_t(i)].low == w;
    }
    bool isOp(int i, int to, QStringView op) const
    {
        return i < to && m_toks[size_t(i)].kind == T::Op && m_toks[size_t(i)].low == op;
    }
    bool isKind(int i, int to, T kind) const { return i < to && m_toks[size_t(i)].kind == kind; }
    QString text(int i) const
    {
        return m_s.mid(m_toks[size_t(i)].begin, m_toks[size_t(i)].end - m_toks[size_t(i)].begin);
    }
    // Source text of tokens [a, b).
    QString source(int a, int b) const
    {
        if (a >= b)
            return {};
        return m_s.mid(m_toks[size_t(a)].begin, m_toks[size_t(b - 1)].end - m_toks[size_t(a)].begin);
    }
    // The token after i at the same level (a group or CASE counts as one).
    int next(int i) const
    {
        const Tok &t = m_toks[size_t(i)];
        if ((t.kind == T::Open || isWord(i, u"case")) && m_match[size_t(i)] > i)
            return m_match[size_t(i)] + 1;
        return i + 1;
    }
    bool isCall(int i, int to) const
    {
        return i + 1 < to && (m_toks[size_t(i)].kind == T::Word || m_toks[size_t(i)].kind == T::Ident) &&
               m_toks[size_t(i + 1)].kind == T::Open && m_match[size_t(i + 1)] > i + 1 &&
               (m_toks[size_t(i)].kind == T::Ident || !keywords().contains(m_toks[size_t(i)].low) ||
                m_toks[size_t(i)].low == u"left" || m_toks[size_t(i)].low == u"right");
    }

    [[noreturn]] void refuse(int a, int b, const QString &why) const
    {
        QString construct = source(a, b).simplified();
        if (construct.size() > 120)
            construct = construct.left(117) + QStringLiteral("...");
        throw DbError(errors::UntranslatableSql,
                      QStringLiteral("No se puede traducir «%1»: %2").arg(construct, why),
                      QStringLiteral("Dialect.translate"), m_s, DbError::Usage);
    }

    // ---- expressions -------------------------------------------------------------------------

    // One operand: unary signs, then factors joined by * / %. End index, or -1 when none starts at p.
    int parseAtom(int p, int to) const
    {
        if (p >= to)
            return -1;
        const Tok &t = m_toks[size_t(p)];
        int e = -1;
        switch (t.kind) {
        case T::String:
        case T::Number:
        case T::Param:
            e = p + 1;
            break;
        case T::Ident:
            e = isCall(p, to) ? m_match[size_t(p + 1)] + 1 : p + 1;
            break;
        case T::Open:
            e = m_match[size_t(p)] > p && m_match[size_t(p)] < to ? m_match[size_t(p)] + 1 : -1;
            break;
        case T::Word:
            if (t.low == u"case")
                e = m_match[size_t(p)] > p && m_match[size_t(p)] < to ? m_match[size_t(p)] + 1 : -1;
            else if (isCall(p, to))
                e = m_match[size_t(p + 1)] + 1;
            else if (t.low == u"null" || !keywords().contains(t.low))
                e = p + 1;
            break;
        default:
            break;
        }
        // PostgreSQL casts of the program's own statements: x::text
        while (e > 0 && isOp(e, to, u"::") && e + 1 < to && m_toks[size_t(e + 1)].kind == T::Word)
            e = isKind(e + 2, to, T::Open) && m_match[size_t(e + 2)] > 0 ? m_match[size_t(e + 2)] + 1 : e + 2;
        return e;
    }

    int parseTerm(int p, int to, bool *arithmetic = nullptr) const
    {
        int q = p;
        while (isOp(q, to, u"-") || isOp(q, to, u"+") || isOp(q, to, u"~")) {
            ++q;
            if (arithmetic)
                *arithmetic = true;
        }
        int e = parseAtom(q, to);
        if (e < 0)
            return -1;
        while (isOp(e, to, u"*") || isOp(e, to, u"/") || isOp(e, to, u"%")) {
            int r = e + 1;
            while (isOp(r, to, u"-") || isOp(r, to, u"+"))
                ++r;
            const int f = parseAtom(r, to);
            if (f < 0)
                break;
            if (arithmetic)
                *arithmetic = true;
            e = f;
        }
        return e;
    }

    struct Chain {
        std::vector<std::pair<int, int>> operands;
        std::vector<int> ops; // token index of each '+' or '-'
        int end = -1;
    };

    Chain parseChain(int p, int to) const
    {
        Chain c;
        int e = parseTerm(p, to);
        if (e < 0)
            return c;
        c.operands.push_back({p, e});
        while (isOp(e, to, u"+") || isOp(e, to, u"-")) {
            const int f = parseTerm(e + 1, to);
            if (f < 0)
                break;
            c.ops.push_back(e);
            c.operands.push_back({e + 1, f});
            e = f;
        }
        c.end = e;
        return c;
    }

    TypeInfo parseType(int a, int b) const
    {
        TypeInfo t;
        t.raw = source(a, b);
        int p = a;
        if (p >= b || m_toks[size_t(p)].kind != T::Word)
            return t;
        t.name = m_toks[size_t(p)].low;
        ++p;
        if (p < b && m_toks[size_t(p)].kind == T::Word &&
            (m_toks[size_t(p)].low == u"precision" || m_toks[size_t(p)].low == u"varying")) {
            t.name += u' ' + m_toks[size_t(p)].low;
            ++p;
        }
        if (p < b && m_toks[size_t(p)].kind == T::Open) {
            const int close = m_match[size_t(p)];
            if (close == p + 2 && isWord(p + 1, u"max"))
                t.length = -2;
            else if (close > p + 1 && m_toks[size_t(p + 1)].kind == T::Number)
                t.length = text(p + 1).toInt();
            p = close + 1;
        }
        if (p != b) {
            t.name.clear();
            return t;
        }
        t.kind = kindOfType(t.name);
        t.fixed = t.name == u"char" || t.name == u"nchar" || t.name == u"character";
        return t;
    }

    // Top-level comma positions split [a, b) into ranges.
    std::vector<std::pair<int, int>> splitArgs(int a, int b) const
    {
        std::vector<std::pair<int, int>> out;
        int start = a;
        for (int i = a; i < b; i = next(i)) {
            if (m_toks[size_t(i)].kind == T::Comma) {
                out.push_back({start, i});
                start = i + 1;
            }
        }
        out.push_back({start, b});
        return out;
    }

    int topLevelWord(int a, int b, QStringView w) const
    {
        int found = -1;
        for (int i = a; i < b; i = next(i))
            if (isWord(i, w))
                found = i;
        return found;
    }

    K classifyRange(int a, int b) const
    {
        const Chain c = parseChain(a, b);
        if (c.end != b || c.operands.empty())
            return K::Unknown;
        if (c.operands.size() == 1)
            return classifyOperand(c.operands[0].first, c.operands[0].second);
        bool text = false, number = false, date = false, minus = false;
        for (const auto &[x, y] : c.operands) {
            const K k = classifyOperand(x, y);
            text |= k == K::Text;
            number |= k == K::Number;
            date |= k == K::Date;
        }
        for (int op : c.ops)
            minus |= m_toks[size_t(op)].low == u"-";
        if (text)
            return number || date || minus ? K::Unknown : K::Text;
        if (date)
            return K::Date;
        return number ? K::Number : K::Unknown;
    }

    K classifyOperand(int a, int b) const
    {
        bool arithmetic = false;
        if (parseTerm(a, b, &arithmetic) != b)
            return K::Unknown;
        if (arithmetic)
            return K::Number;
        return classifyAtom(a, b);
    }

    K classifyAtom(int a, int b) const
    {
        const Tok &t = m_toks[size_t(a)];
        if (b > a + 1 && isOp(b - 2, b, u"::"))
            return kindOfType(m_toks[size_t(b - 1)].low);
        if (t.kind == T::String)
            return K::Text;
        if (t.kind == T::Number)
            return K::Number;
        if (t.kind == T::Open) {
            const int close = m_match[size_t(a)];
            if (isWord(a + 1, u"select"))
                return K::Unknown;
            return classifyRange(a + 1, close);
        }
        if (t.kind == T::Word && t.low == u"case")
            return classifyCase(a, m_match[size_t(a)]);
        if (!isCall(a, b))
            return K::Unknown;
        QString name = t.kind == T::Ident ? text(a).mid(1).chopped(1).toLower() : t.low;
        if (name.startsWith(u"dbo."))
            name = name.mid(4);
        const int open = a + 1;
        const int close = m_match[size_t(open)];
        if (name == u"cast") {
            const int as = topLevelWord(open + 1, close, u"as");
            return as < 0 ? K::Unknown : parseType(as + 1, close).kind;
        }
        if (name == u"convert") {
            const auto args = splitArgs(open + 1, close);
            return parseType(args[0].first, args[0].second).kind;
        }
        if (textFunctions().contains(name))
            return K::Text;
        if (numberFunctions().contains(name))
            return K::Number;
        if (dateFunctions().contains(name))
            return K::Date;
        if (passThroughFunctions().contains(name)) {
            for (const auto &[x, y] : splitArgs(open + 1, close)) {
                const K k = classifyRange(x, y);
                if (k != K::Unknown)
                    return k;
            }
        }
        return K::Unknown;
    }

    // The kind of the values a CASE gives: its THEN and ELSE branches.
    K classifyCase(int a, int end) const
    {
        K found = K::Unknown;
        int branch = -1;
        for (int i = a + 1; i <= end; i = next(i)) {
            const bool stop = isWord(i, u"when") || isWord(i, u"else") || i == end;
            if (stop && branch >= 0) {
                const K k = classifyRange(branch, i);
                if (k == K::Text)
                    return k;
                if (found == K::Unknown)
                    found = k;
                branch = -1;
            }
            if (isWord(i, u"then") || isWord(i, u"else"))
                branch = i + 1;
        }
        return found;
    }

    // ---- analysis of one level: '+' chains and TOP ------------------------------------------

    void analyze(int from, int to)
    {
        bool afterSetOperator = false;
        int p = from;
        while (p < to) {
            const Tok &t = m_toks[size_t(p)];
            if (t.kind == T::Semi)
                afterSetOperator = false;
            if (isWord(p, u"union") || isWord(p, u"except") || isWord(p, u"intersect"))
                afterSetOperator = true;
            if ((isWord(p, u"update") || isWord(p, u"delete") || isWord(p, u"insert")) && p + 1 < to &&
                isWord(p + 1, u"top"))
                refuse(p, std::min(to, p + 2 < to ? next(p + 2) : p + 2),
                       QStringLiteral("TOP en UPDATE, DELETE o INSERT no tiene equivalente"));
            if (isWord(p, u"select"))
                top(p, to, afterSetOperator);
            if (t.kind == T::Word && t.low == u"case" && m_match[size_t(p)] > p)
                analyze(p + 1, m_match[size_t(p)]);
            const Chain c = parseChain(p, to);
            if (c.end < 0) {
                p = next(p);
                continue;
            }
            if (!c.ops.empty())
                concatenation(c);
            // CASE operands inside the chain hold chains of their own.
            for (const auto &[x, y] : c.operands)
                for (int i = x; i < y; i = next(i))
                    if (isWord(i, u"case") && m_match[size_t(i)] > i && i != p)
                        analyze(i + 1, m_match[size_t(i)]);
            p = c.end;
        }
    }

    void concatenation(const Chain &c)
    {
        bool text = false, other = false, minus = false;
        for (const auto &[x, y] : c.operands) {
            const K k = classifyOperand(x, y);
            text |= k == K::Text;
            other |= k == K::Number || k == K::Date;
        }
        if (!text)
            return;
        for (int op : c.ops)
            minus |= m_toks[size_t(op)].low == u"-";
        const int a = c.operands.front().first;
        if (minus)
            refuse(a, c.end, QStringLiteral("'-' junto a un texto"));
        if (other)
            refuse(a, c.end, QStringLiteral("'+' entre texto y número o fecha"));
        for (int op : c.ops)
            m_replace[size_t(op)] = QStringLiteral("||");
        for (const auto &[x, y] : c.operands) {
            // '||' binds tighter than '*' on SQLite: a compound operand keeps its own parentheses.
            if (parseAtom(x, y) != y) {
                m_prefix[size_t(x)] += u'(';
                m_suffix[size_t(y - 1)].prepend(u')');
            }
        }
    }

    void top(int select, int to, bool afterSetOperator)
    {
        int q = select + 1;
        if (isWord(q, u"distinct") || isWord(q, u"all"))
            ++q;
        if (q >= to || !isWord(q, u"top"))
            return;
        const int n = q + 1;
        int nEnd = -1;
        if (isKind(n, to, T::Number) || isKind(n, to, T::Param))
            nEnd = n + 1;
        else if (isKind(n, to, T::Open) && m_match[size_t(n)] > n)
            nEnd = m_match[size_t(n)] + 1;
        if (nEnd < 0 || nEnd > to)
            refuse(select, std::min(to, n + 1), QStringLiteral("TOP sin un número"));
        if (isWord(nEnd, u"percent"))
            refuse(select, nEnd + 1, QStringLiteral("TOP … PERCENT no tiene equivalente"));
        if (isWord(nEnd, u"with") && isWord(nEnd + 1, u"ties"))
            refuse(select, nEnd + 2, QStringLiteral("TOP … WITH TIES no tiene equivalente"));
        for (int i = q; i < nEnd; ++i)
            m_dropped[size_t(i)] = 1;
        const QString count = source(n, nEnd);

        bool compound = afterSetOperator;
        int e = nEnd;
        int order = -1;
        while (e < to) {
            if (m_toks[size_t(e)].kind == T::Semi)
                break;
            if (isWord(e, u"union") || isWord(e, u"except") || isWord(e, u"intersect")) {
                compound = true;
                order = -1;
                break;
            }
            if (isWord(e, u"order") && order < 0)
                order = e;
            e = next(e);
        }
        if (!compound) {
            m_suffix[size_t(e - 1)] += QStringLiteral(" LIMIT ") + count;
            return;
        }
        // One member of a UNION: its own LIMIT needs a subquery on both engines; the ORDER BY
        // after the last member belongs to the whole UNION.
        if (order > 0)
            e = order;
        m_prefix[size_t(select)] += QStringLiteral("select * from (");
        m_suffix[size_t(e - 1)] += QStringLiteral(" LIMIT %1) as mdr_top%2").arg(count).arg(++m_tops);
    }

    // ---- emission ------------------------------------------------------------------------------

    QString lead(int i) const
    {
        const Tok &t = m_toks[size_t(i)];
        return m_s.mid(t.lead, t.begin - t.lead);
    }

    QString render(int from, int to)
    {
        analyze(from, to);
        QString out;
        for (int i = from; i < to;) {
            const Tok &t = m_toks[size_t(i)];
            if (m_dropped[size_t(i)]) {
                ++i;
                continue;
            }
            if ((t.low == u"cast" || t.low == u"convert") && t.kind == T::Word && isCall(i, to)) {
                const int close = m_match[size_t(i + 1)];
                const QString call = t.low == u"cast" ? castCall(i + 1, close) : convertCall(i + 1, close);
                if (!call.isEmpty()) {
                    out += lead(i) + m_prefix[size_t(i)] + call + m_suffix[size_t(close)];
                    i = close + 1;
                    continue;
                }
            }
            out += lead(i) + m_prefix[size_t(i)];
            if (t.kind == T::Open && m_match[size_t(i)] > i && m_match[size_t(i)] < to) {
                const int close = m_match[size_t(i)];
                out += text(i) + m_suffix[size_t(i)] + render(i + 1, close) + lead(close) +
                       m_prefix[size_t(close)] + text(close) + m_suffix[size_t(close)];
                i = close + 1;
                continue;
            }
            out += (m_replace[size_t(i)].isEmpty() ? text(i) : m_replace[size_t(i)]) + m_suffix[size_t(i)];
            ++i;
        }
        return out;
    }

    QString renderTrimmed(int a, int b) { return render(a, b).trimmed(); }

    // CAST(x AS type) for this engine; empty when the call stays as written.
    QString castCall(int open, int close)
    {
        const int as = topLevelWord(open + 1, close, u"as");
        if (as < 0)
            return {};
        const TypeInfo type = parseType(as + 1, close);
        if (type.name.isEmpty() || !castNeedsRewrite(type))
            return {};
        return castTo(renderTrimmed(open + 1, as), type);
    }

    bool castNeedsRewrite(const TypeInfo &type) const
    {
        if (type.kind == K::Text || type.kind == K::Date)
            return true;
        return m_engine == Engine::PostgreSQL && postgresType(type) != type.raw;
    }

    QString postgresType(const TypeInfo &type) const
    {
        if (type.name == u"money" || type.name == u"smallmoney")
            return QStringLiteral("numeric(19,4)");
        if (type.name == u"tinyint" || type.name == u"bit")
            return QStringLiteral("smallint");
        if (type.name == u"uniqueidentifier")
            return QStringLiteral("uuid");
        if (type.name == u"image" || type.name == u"varbinary" || type.name == u"binary")
            return QStringLiteral("bytea");
        return type.raw;
    }

    QString castTo(const QString &x, const TypeInfo &type) const
    {
        const bool sqlite = m_engine == Engine::SQLite;
        if (type.kind == K::Text) {
            const bool unlimited = type.length == -2 || type.name == u"text" || type.name == u"ntext";
            // SQL Server's default length of char and varchar in CAST and CONVERT.
            const int n = type.length > 0 ? type.length : 30;
            if (unlimited)
                return QStringLiteral("CAST(%1 AS %2)").arg(x, sqlite ? u"TEXT"_s : u"text"_s);
            if (type.fixed)
                return sqlite ? QStringLiteral("substr(CAST(%1 AS TEXT) || printf('%*s', %2, ''), 1, %2)")
                                    .arg(x)
                                    .arg(n)
                              : QStringLiteral("rpad(CAST(%1 AS text), %2)").arg(x).arg(n);
            return sqlite ? QStringLiteral("substr(CAST(%1 AS TEXT), 1, %2)").arg(x).arg(n)
                          : QStringLiteral("CAST(%1 AS varchar(%2))").arg(x).arg(n);
        }
        if (type.kind == K::Date) {
            const bool date = type.name == u"date";
            const bool time = type.name == u"time";
            if (sqlite)
                return QStringLiteral("%1(%2)").arg(date ? u"date"_s : time ? u"time"_s : u"datetime"_s, x);
            return QStringLiteral("CAST(%1 AS %2)")
                .arg(x, date   ? u"date"_s
                        : time ? u"time"_s
                               : u"timestamp"_s);
        }
        return QStringLiteral("CAST(%1 AS %2)").arg(x, sqlite ? type.raw : postgresType(type));
    }

    // A text literal converted to a character type: the literal itself, cut or padded to the
    // type's length. On SQLite a day-first date literal would be read as a date by the later
    // pass, so it is written in two pieces.
    QString textLiteral(QString literal, const TypeInfo &type) const
    {
        if (literal.startsWith(u'N') || literal.startsWith(u'n'))
            literal = literal.mid(1);
        QString value = literal.mid(1).chopped(1).replace(u"''"_s, u"'"_s);
        const bool unlimited = type.length == -2 || type.name == u"text" || type.name == u"ntext";
        const int n = type.length > 0 ? type.length : 30;
        if (!unlimited) {
            value.truncate(n);
            if (type.fixed)
                value = value.leftJustified(n, u' ');
        }
        const auto quote = [](QString v) -> QString { return u'\'' + v.replace(u"'"_s, u"''"_s) + u'\''; };
        const qsizetype year = value.lastIndexOf(u'/') + 3; // inside the year: neither piece is a date
        if (m_engine == Engine::SQLite && !Dialect::dayFirstToIso(value).isEmpty() && year < value.size())
            return u'(' + quote(value.left(year)) + QStringLiteral(" || ") + quote(value.mid(year)) + u')';
        return quote(value);
    }

    // CONVERT(type, x [, style]); empty when the call stays as written.
    QString convertCall(int open, int close)
    {
        const auto args = splitArgs(open + 1, close);
        if (args.size() < 2 || args.size() > 3)
            refuse(open - 1, close + 1, QStringLiteral("CONVERT lleva tipo, valor y estilo"));
        const TypeInfo type = parseType(args[0].first, args[0].second);
        if (type.name.isEmpty())
            refuse(open - 1, close + 1, QStringLiteral("tipo de dato no reconocido"));
        const auto [xa, xb] = args[1];
        int style = 0;
        if (args.size() == 3) {
            const auto [sa, sb] = args[2];
            bool ok = sb == sa + 1 && m_toks[size_t(sa)].kind == T::Number;
            style = ok ? text(sa).toInt(&ok) : 0;
            if (!ok)
                refuse(open - 1, close + 1, QStringLiteral("el estilo de CONVERT debe ser un número"));
        }
        const QString x = renderTrimmed(xa, xb);
        const bool sqlite = m_engine == Engine::SQLite;
        if (type.kind == K::Text && xb == xa + 1 && m_toks[size_t(xa)].kind == T::String)
            return textLiteral(text(xa), type);
        // A style formats dates; SQL Server leaves a text converted to text as it is.
        if (type.kind == K::Text && style != 0 && style != 100 && classifyRange(xa, xb) != K::Text) {
            const DateStyle *ds = dateStyle(style);
            if (!ds)
                refuse(
                    open - 1, close + 1,
                    QStringLiteral("estilo %1 de CONVERT no soportado (se traducen 101, 103, 108, 112 y 120)")
                        .arg(style));
            const QString formatted =
                sqlite ? QStringLiteral("strftime('%1', %2)").arg(QLatin1String(ds->sqlite), x)
                       : QStringLiteral("to_char(CAST(%1 AS timestamp), '%2')")
                             .arg(x, QLatin1String(ds->postgres));
            const bool unlimited = type.length == -2 || type.name == u"text" || type.name == u"ntext";
            const int n = type.length > 0 ? type.length : 30;
            if (unlimited || (n == ds->length) || (n > ds->length && !type.fixed))
                return formatted;
            return castTo(formatted, type);
        }
        if (type.kind == K::Date && style != 0 && style != 100) {
            if (xb == xa + 1 && m_toks[size_t(xa)].kind == T::String) {
                QString literal = text(xa);
                if (literal.startsWith(u'N') || literal.startsWith(u'n'))
                    literal = literal.mid(1);
                QString iso = parseStyledDate(literal.mid(1).chopped(1).replace(u"''"_s, u"'"_s), style);
                if (iso.isEmpty())
                    refuse(open - 1, close + 1,
                           QStringLiteral("el texto no es una fecha con el estilo %1").arg(style));
                if (type.name == u"date")
                    iso = iso.left(10);
                if (sqlite)
                    return u'\'' + iso + u'\'';
                return QStringLiteral("CAST('%1' AS %2)")
                    .arg(iso, type.name == u"date" ? u"date"_s : u"timestamp"_s);
            }
            static const QSet<int> isoStyles = {20, 21, 23, 120, 121, 126};
            if (!isoStyles.contains(style))
                refuse(open - 1, close + 1,
                       QStringLiteral("CONVERT a fecha con estilo %1 solo se traduce sobre un texto fijo")
                           .arg(style));
        }
        return castTo(x, type);
    }

    const QString &m_s;
    Engine m_engine;
    std::vector<Tok> m_toks;
    std::vector<int> m_match;
    std::vector<QString> m_prefix, m_suffix, m_replace;
    std::vector<char> m_dropped;
    int m_tail = 0;
    int m_tops = 0;
};

} // namespace

bool DialectRewrite::mayNeedRewrite(const QString &sql)
{
    return sql.contains(u'+') || sql.contains(QLatin1String("convert"), Qt::CaseInsensitive) ||
           sql.contains(QLatin1String("cast"), Qt::CaseInsensitive) ||
           sql.contains(QLatin1String("top"), Qt::CaseInsensitive);
}

QString DialectRewrite::rewrite(const QString &sql, Engine engine)
{
    if (!mayNeedRewrite(sql))
        return sql;
    return Rewriter(sql, engine).run();
}

} // namespace db
