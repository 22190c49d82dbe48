#include "Convert.h"
#include "Interpreter.h"

#include <QDateTime>
#include <QLocale>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vbs {

namespace {

using A = Value *;

bool given(A a, int n, int i)
{
    return i < n && !(a[i].type() == VarType::Error && int32_t(a[i].rawInt()) == int32_t(0x80020004u));
}

int intArg(A a, int n, int i, int def)
{
    return given(a, n, i) ? toLong(a[i]) : def;
}

bool textCompare(A a, int n, int i)
{
    if (!given(a, n, i))
        return false;
    const int c = toLong(a[i]);
    if (c < 0 || c > 2)
        raise(5);
    return c == 1;
}

Qt::CaseSensitivity cs(bool text)
{
    return text ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

QString str(const Value &v)
{
    return v.isNull() ? QString() : toString(v);
}

// Appends to a result text, refusing what would pass the string limit before it is built.
void appendChecked(QString &out, QStringView part)
{
    if (out.size() + part.size() > kMaxStringLength)
        raise(14);
    out += part;
}

Value makeArray(ValueList items)
{
    if (items.size() > (size_t(1) << 26))
        raise(7);
    chargeMemory(items.size() * sizeof(Value));
    auto *a = new ArrayData;
    a->bounds = {int(items.size()) - 1};
    a->items = std::move(items);
    return Value::array(a);
}

// ---------------------------------------------------------------- conversion

Value fCBool(Interpreter &, A a, int)
{
    return Value::boolean(toBool(a[0]));
}
Value fCByte(Interpreter &, A a, int)
{
    return Value::byte(toByte(a[0]));
}
Value fCCur(Interpreter &, A a, int)
{
    return Value::currencyRaw(toCurrencyRaw(a[0]));
}
Value fCDate(Interpreter &, A a, int)
{
    return Value::date(toDate(a[0]));
}
Value fCDbl(Interpreter &, A a, int)
{
    return Value::dbl(toDouble(a[0]));
}
Value fCInt(Interpreter &, A a, int)
{
    return Value::integer(toInteger(a[0]));
}
Value fCLng(Interpreter &, A a, int)
{
    return Value::lng(toLong(a[0]));
}
Value fCSng(Interpreter &, A a, int)
{
    const double d = toDouble(a[0]);
    if (std::fabs(d) > 3.402823466e38)
        raise(6);
    return Value::single(float(d));
}
Value fCStr(Interpreter &, A a, int)
{
    return Value(toString(a[0]));
}

Value radix(const Value &v, int base)
{
    if (v.isNull())
        return v;
    const int32_t l = toLong(v);
    const bool narrow = v.type() == VarType::Integer || v.type() == VarType::Byte ||
                        v.type() == VarType::Boolean || v.isEmpty();
    const uint32_t u = narrow && l < 0 ? uint32_t(uint16_t(int16_t(l))) : uint32_t(l);
    return Value(QString::number(u, base).toUpper());
}
Value fHex(Interpreter &, A a, int)
{
    return radix(a[0], 16);
}
Value fOct(Interpreter &, A a, int)
{
    return radix(a[0], 8);
}

// ---------------------------------------------------------------- strings

Value fAsc(Interpreter &, A a, int)
{
    if (a[0].isNull())
        raise(94);
    const QString s = toString(a[0]);
    if (s.isEmpty())
        raise(5);
    const int code = ansiCode(s[0]);
    return Value::integer(int16_t(code < 0 ? '?' : code));
}
Value fAscW(Interpreter &, A a, int)
{
    if (a[0].isNull())
        raise(94);
    const QString s = toString(a[0]);
    if (s.isEmpty())
        raise(5);
    return Value::integer(int16_t(s[0].unicode()));
}
Value fChr(Interpreter &, A a, int)
{
    const int c = toLong(a[0]);
    if (c < 0 || c > 255)
        raise(5);
    return Value(QString(ansiChar(c)));
}
Value fChrW(Interpreter &, A a, int)
{
    const int c = toLong(a[0]);
    if (c < -32768 || c > 65535)
        raise(5);
    return Value(QString(QChar(char16_t(c & 0xFFFF))));
}

Value fInStr(Interpreter &, A a, int n)
{
    int start = 1;
    int i = 0;
    if (n >= 3) {
        if (a[0].isNull())
            raise(94);
        start = toLong(a[0]);
        i = 1;
        if (start < 1)
            raise(5);
    }
    const bool text = n == 4 ? textCompare(a, n, 3) : false;
    if (a[i].isNull() || a[i + 1].isNull())
        return Value::null();
    const QString s1 = toString(a[i]), s2 = toString(a[i + 1]);
    if (start > s1.size())
        return Value::lng(0);
    if (s2.isEmpty())
        return Value::lng(start);
    return Value::lng(int32_t(s1.indexOf(s2, start - 1, cs(text)) + 1));
}

// Text parameters (InStrRev, Replace, Join's separator ...) may not be Null.
const Value &notNull(const Value &v)
{
    if (v.isNull())
        raise(94);
    return v;
}

Value fInStrRev(Interpreter &, A a, int n)
{
    notNull(a[0]);
    notNull(a[1]);
    const QString s1 = toString(a[0]), s2 = toString(a[1]);
    int start = intArg(a, n, 2, -1);
    if (start == 0 || start < -1)
        raise(5);
    const bool text = textCompare(a, n, 3);
    if (start == -1)
        start = int(s1.size());
    if (s2.isEmpty())
        return Value::lng(start);
    if (start > s1.size())
        return Value::lng(0);
    const qsizetype from = start - s2.size();
    if (from < 0)
        return Value::lng(0);
    return Value::lng(int32_t(s1.lastIndexOf(s2, from, cs(text)) + 1));
}

Value fJoin(Interpreter &, A a, int n)
{
    if (!notNull(a[0]).isArray())
        raise(13);
    const QString sep = given(a, n, 1) ? toString(a[1]) : QStringLiteral(" ");
    const ArrayData *arr = a[0].rawArray();
    if (arr->dims() > 1)
        raise(5);
    QString out;
    for (size_t i = 0; i < arr->items.size(); ++i) {
        if (i)
            appendChecked(out, sep);
        appendChecked(out, str(arr->items[i]));
    }
    return Value(out);
}

Value fLCase(Interpreter &, A a, int)
{
    return a[0].isNull() ? a[0] : Value(toString(a[0]).toLower());
}
Value fUCase(Interpreter &, A a, int)
{
    return a[0].isNull() ? a[0] : Value(toString(a[0]).toUpper());
}

Value fLeft(Interpreter &, A a, int)
{
    const int len = toLong(a[1]);
    if (len < 0)
        raise(5);
    if (a[0].isNull())
        return a[0];
    return Value(toString(a[0]).left(len));
}
Value fRight(Interpreter &, A a, int)
{
    const int len = toLong(a[1]);
    if (len < 0)
        raise(5);
    if (a[0].isNull())
        return a[0];
    return Value(toString(a[0]).right(len));
}
// Start (1-based) and length (-1: to the end) of Mid and MidB, checked before a Null text
// returns, as VBScript checks them.
std::pair<int, int> midArgs(A a, int n)
{
    const int start = toLong(a[1]);
    if (start < 1)
        raise(5);
    int len = -1;
    if (given(a, n, 2)) {
        len = toLong(a[2]);
        if (len < 0)
            raise(5);
    }
    return {start, len};
}

Value fMid(Interpreter &, A a, int n)
{
    const auto [start, len] = midArgs(a, n);
    if (a[0].isNull())
        return a[0];
    return Value(toString(a[0]).mid(start - 1, len));
}
Value fLen(Interpreter &, A a, int)
{
    if (a[0].isNull())
        return a[0];
    if (a[0].isObject())
        return Value::lng(int32_t(toString(defaultValue(a[0])).size()));
    return Value::lng(int32_t(toString(a[0]).size()));
}

QString trimSpaces(const QString &s, bool left, bool right)
{
    qsizetype b = 0, e = s.size();
    if (left)
        while (b < e && s[b] == QLatin1Char(' '))
            ++b;
    if (right)
        while (e > b && s[e - 1] == QLatin1Char(' '))
            --e;
    return s.mid(b, e - b);
}
Value fLTrim(Interpreter &, A a, int)
{
    return a[0].isNull() ? a[0] : Value(trimSpaces(toString(a[0]), true, false));
}
Value fRTrim(Interpreter &, A a, int)
{
    return a[0].isNull() ? a[0] : Value(trimSpaces(toString(a[0]), false, true));
}
Value fTrim(Interpreter &, A a, int)
{
    return a[0].isNull() ? a[0] : Value(trimSpaces(toString(a[0]), true, true));
}

Value fReplace(Interpreter &, A a, int n)
{
    const QString s = toString(notNull(a[0]));
    const QString find = toString(notNull(a[1]));
    const QString repl = toString(notNull(a[2]));
    const int start = intArg(a, n, 3, 1);
    int count = intArg(a, n, 4, -1);
    if (start < 1 || count < -1)
        raise(5);
    const bool text = textCompare(a, n, 5);
    if (start > s.size())
        return Value(QString());
    QString src = s.mid(start - 1);
    if (find.isEmpty() || count == 0)
        return Value(src);
    QString out;
    qsizetype pos = 0;
    while (count != 0) {
        const qsizetype k = src.indexOf(find, pos, cs(text));
        if (k < 0)
            break;
        appendChecked(out, QStringView(src).mid(pos, k - pos));
        appendChecked(out, repl);
        pos = k + find.size();
        if (count > 0)
            --count;
    }
    appendChecked(out, QStringView(src).mid(pos));
    return Value(out);
}

Value fSpace(Interpreter &, A a, int)
{
    const int k = toLong(a[0]);
    if (k < 0)
        raise(5);
    if (k > kMaxStringLength)
        raise(14);
    chargeMemory(size_t(k) * 2);
    return Value(QString(k, QLatin1Char(' ')));
}

Value fSplit(Interpreter &, A a, int n)
{
    if (a[0].isNull())
        raise(94);
    const QString s = toString(a[0]);
    const QString sep = given(a, n, 1) ? toString(a[1]) : QStringLiteral(" ");
    int limit = intArg(a, n, 2, -1);
    if (limit < -1)
        raise(5);
    const bool text = textCompare(a, n, 3);
    ValueList items;
    if (s.isEmpty())
        return makeArray({});
    if (sep.isEmpty()) {
        items.push_back(Value(s));
        return makeArray(std::move(items));
    }
    qsizetype pos = 0;
    while (limit == -1 || int(items.size()) < limit - 1) {
        const qsizetype k = s.indexOf(sep, pos, cs(text));
        if (k < 0)
            break;
        chargeMemory(sizeof(Value) + size_t(k - pos) * 2);
        items.push_back(Value(s.mid(pos, k - pos)));
        pos = k + sep.size();
    }
    if (limit != 0)
        items.push_back(Value(s.mid(pos)));
    return makeArray(std::move(items));
}

Value fStrComp(Interpreter &, A a, int n)
{
    if (a[0].isNull() || a[1].isNull())
        return Value::null();
    const bool text = textCompare(a, n, 2);
    const int c = QString::compare(toString(a[0]), toString(a[1]), cs(text));
    return Value::integer(int16_t(c < 0 ? -1 : (c > 0 ? 1 : 0)));
}

Value fString(Interpreter &, A a, int)
{
    const int k = toLong(a[0]);
    if (k < 0)
        raise(5);
    if (k > kMaxStringLength)
        raise(14);
    if (a[1].isNull())
        return a[1];
    chargeMemory(size_t(k) * 2);
    QChar c;
    if (a[1].isString()) {
        if (a[1].rawString().isEmpty())
            raise(5);
        c = a[1].rawString()[0];
    } else {
        c = QChar(char16_t(toLong(a[1]) & 0xFF));
    }
    return Value(QString(k, c));
}

Value fStrReverse(Interpreter &, A a, int)
{
    if (a[0].isNull())
        raise(94);
    QString s = toString(a[0]);
    std::reverse(s.begin(), s.end());
    return Value(s);
}

Value fFilter(Interpreter &, A a, int n)
{
    if (!notNull(a[0]).isArray())
        raise(13);
    const QString match = toString(a[1]);
    const bool include = given(a, n, 2) ? toBool(a[2]) : true;
    const bool text = textCompare(a, n, 3);
    ValueList out;
    for (const Value &v : a[0].rawArray()->items) {
        const QString s = str(v);
        if (s.contains(match, cs(text)) == include)
            out.push_back(Value(s));
    }
    return makeArray(std::move(out));
}

// ---------------------------------------------------------------- byte strings
// VBScript texts are UTF-16; the B functions count and cut their bytes (little-endian). A result
// with an odd byte count keeps its last byte as a character of its own.

QByteArray bytesOf(const QString &s)
{
    QByteArray b;
    b.resize(s.size() * 2);
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t u = s[i].unicode();
        b[2 * i] = char(u & 0xFF);
        b[2 * i + 1] = char(u >> 8);
    }
    return b;
}

QString textOf(QByteArrayView b)
{
    QString s;
    s.reserve((b.size() + 1) / 2);
    for (qsizetype i = 0; i + 1 < b.size(); i += 2)
        s += QChar(char16_t(uint8_t(b[i]) | (uint8_t(b[i + 1]) << 8)));
    if (b.size() % 2)
        s += QChar(char16_t(uint8_t(b[b.size() - 1])));
    return s;
}

Value fLenB(Interpreter &, A a, int)
{
    if (a[0].isNull())
        return a[0];
    const Value v = a[0].isObject() ? defaultValue(a[0]) : a[0];
    return Value::lng(int32_t(toString(v).size() * 2));
}
Value fLeftB(Interpreter &, A a, int)
{
    const int len = toLong(a[1]);
    if (len < 0)
        raise(5);
    if (a[0].isNull())
        return a[0];
    const QByteArray b = bytesOf(toString(a[0]));
    return Value(textOf(QByteArrayView(b).first(std::min<qsizetype>(len, b.size()))));
}
Value fRightB(Interpreter &, A a, int)
{
    const int len = toLong(a[1]);
    if (len < 0)
        raise(5);
    if (a[0].isNull())
        return a[0];
    const QByteArray b = bytesOf(toString(a[0]));
    return Value(textOf(QByteArrayView(b).last(std::min<qsizetype>(len, b.size()))));
}
Value fMidB(Interpreter &, A a, int n)
{
    const auto [start, len] = midArgs(a, n);
    if (a[0].isNull())
        return a[0];
    const QByteArray b = bytesOf(toString(a[0]));
    if (start > b.size())
        return Value(QString());
    const qsizetype from = start - 1;
    const qsizetype count = len < 0 ? b.size() - from : std::min<qsizetype>(len, b.size() - from);
    return Value(textOf(QByteArrayView(b).sliced(from, count)));
}
Value fInStrB(Interpreter &, A a, int n)
{
    int start = 1;
    int i = 0;
    if (n >= 3) {
        start = toLong(notNull(a[0]));
        i = 1;
        if (start < 1)
            raise(5);
    }
    if (n == 4)
        (void)textCompare(a, n, 3);
    if (a[i].isNull() || a[i + 1].isNull())
        return Value::null();
    const QByteArray s1 = bytesOf(toString(a[i])), s2 = bytesOf(toString(a[i + 1]));
    if (start > s1.size())
        return Value::lng(0);
    if (s2.isEmpty())
        return Value::lng(start);
    return Value::lng(int32_t(s1.indexOf(s2, start - 1) + 1));
}
Value fAscB(Interpreter &, A a, int)
{
    const QString s = toString(notNull(a[0]));
    if (s.isEmpty())
        raise(5);
    return Value::integer(int16_t(s[0].unicode() & 0xFF));
}
Value fChrB(Interpreter &, A a, int)
{
    const int c = toLong(a[0]);
    if (c < 0 || c > 255)
        raise(5);
    return Value(QString(QChar(char16_t(c))));
}

// ---------------------------------------------------------------- numbers

Value fAbs(Interpreter &, A a, int)
{
    const Value v = toNumeric(a[0]);
    switch (v.type()) {
    case VarType::Null:
        return v;
    case VarType::Byte:
        return v;
    case VarType::Integer:
        return Value::fromInt(v.rawInt() < 0 ? -v.rawInt() : v.rawInt());
    case VarType::Long:
        return v.rawInt() < 0
                   ? (v.rawInt() == INT32_MIN ? Value::dbl(2147483648.0) : Value::lng(int32_t(-v.rawInt())))
                   : v;
    case VarType::Currency:
        return Value::currencyRaw(v.rawInt() < 0 ? -v.rawInt() : v.rawInt());
    case VarType::Single:
        return Value::single(float(std::fabs(v.rawDouble())));
    case VarType::Date:
        return Value::date(std::fabs(v.rawDouble()));
    default:
        return Value::dbl(std::fabs(toDouble(v)));
    }
}

double num(const Value &v)
{
    if (v.isNull())
        raise(94);
    return toDouble(v);
}

Value mathResult(double d)
{
    if (!std::isfinite(d))
        raise(6);
    return Value::dbl(d);
}

Value fAtn(Interpreter &, A a, int)
{
    return mathResult(std::atan(num(a[0])));
}
Value fCos(Interpreter &, A a, int)
{
    return mathResult(std::cos(num(a[0])));
}
Value fSin(Interpreter &, A a, int)
{
    return mathResult(std::sin(num(a[0])));
}
Value fTan(Interpreter &, A a, int)
{
    return mathResult(std::tan(num(a[0])));
}
Value fExp(Interpreter &, A a, int)
{
    return mathResult(std::exp(num(a[0])));
}
Value fLog(Interpreter &, A a, int)
{
    const double d = num(a[0]);
    if (d <= 0)
        raise(5);
    return Value::dbl(std::log(d));
}
Value fSqr(Interpreter &, A a, int)
{
    const double d = num(a[0]);
    if (d < 0)
        raise(5);
    return Value::dbl(std::sqrt(d));
}

Value intOrFix(const Value &in, bool floorIt)
{
    const Value v = toNumeric(in);
    switch (v.type()) {
    case VarType::Null:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return v;
    case VarType::Currency: {
        int64_t c = v.rawInt();
        int64_t q = c / 10000;
        if (floorIt && c < 0 && c % 10000 != 0)
            --q;
        return Value::currencyRaw(q * 10000);
    }
    case VarType::Single:
        return Value::single(float(floorIt ? std::floor(v.rawDouble()) : std::trunc(v.rawDouble())));
    case VarType::Date:
        return Value::date(floorIt ? std::floor(v.rawDouble()) : std::trunc(v.rawDouble()));
    default:
        return Value::dbl(floorIt ? std::floor(toDouble(v)) : std::trunc(toDouble(v)));
    }
}
Value fInt(Interpreter &, A a, int)
{
    return intOrFix(a[0], true);
}
Value fFix(Interpreter &, A a, int)
{
    return intOrFix(a[0], false);
}

Value fRnd(Interpreter &in, A a, int n)
{
    if (given(a, n, 0)) {
        const double x = toDouble(a[0]);
        if (x == 0)
            return Value::single(in.lastRnd);
        if (x < 0) {
            const float f = float(x);
            uint32_t bitsOf;
            std::memcpy(&bitsOf, &f, 4);
            in.rndSeed = (bitsOf + (bitsOf >> 24)) & 0xFFFFFF;
        }
    }
    in.rndSeed = (in.rndSeed * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    in.lastRnd = float(in.rndSeed) / 16777216.0f;
    return Value::single(in.lastRnd);
}

Value fRandomize(Interpreter &in, A a, int n)
{
    double seed =
        given(a, n, 0) ? toDouble(a[0]) : double(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0;
    uint64_t bitsOf;
    std::memcpy(&bitsOf, &seed, 8);
    const uint32_t hi = uint32_t(bitsOf >> 32);
    const uint32_t mixed = ((hi & 0xFFFF) ^ (hi >> 16)) << 8;
    in.rndSeed = (in.rndSeed & 0xFF) | (mixed & 0xFFFF00);
    return Value();
}

Value fRound(Interpreter &, A a, int n)
{
    if (a[0].type() == VarType::Boolean)
        return a[0]; // Round(True) is True
    const Value v = toNumeric(a[0]);
    const int digits = intArg(a, n, 1, 0);
    if (digits < 0)
        raise(5);
    switch (v.type()) {
    case VarType::Null:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return v;
    case VarType::Currency: {
        if (digits >= 4)
            return v;
        return Value::currencyRaw(
            int64_t(roundDecimal(double(v.rawInt()) / 10000.0, digits, true) * 10000.0));
    }
    case VarType::Single:
        return Value::single(float(roundDecimal(v.rawDouble(), digits, true)));
    default:
        return Value::dbl(roundDecimal(toDouble(v), digits, true));
    }
}

Value fSgn(Interpreter &, A a, int)
{
    const Value v = toNumeric(notNull(a[0]));
    const double d = toDouble(v);
    return Value::integer(int16_t(d > 0 ? 1 : (d < 0 ? -1 : 0)));
}

// ---------------------------------------------------------------- dates

Value fDate(Interpreter &, A, int)
{
    return Value::date(std::floor(nowSerial()));
}
Value fTime(Interpreter &, A, int)
{
    const DateParts p = splitDate(nowSerial());
    return Value::date((p.hour * 3600 + p.minute * 60 + p.second) / 86400.0);
}
Value fNow(Interpreter &, A, int)
{
    return Value::date(nowSerial());
}
Value fTimer(Interpreter &, A, int)
{
    return Value::single(float(QTime::currentTime().msecsSinceStartOfDay() / 1000.0));
}

double dateArg(const Value &v)
{
    if (v.isNull())
        raise(94);
    return toDate(v);
}

Value datePartOrNull(const Value &v, int which)
{
    if (v.isNull())
        return v;
    const DateParts p = splitDate(toDate(v));
    const int vals[] = {p.year, p.month, p.day, p.hour, p.minute, p.second};
    return Value::integer(int16_t(vals[which]));
}
Value fYear(Interpreter &, A a, int)
{
    return datePartOrNull(a[0], 0);
}
Value fMonth(Interpreter &, A a, int)
{
    return datePartOrNull(a[0], 1);
}
Value fDay(Interpreter &, A a, int)
{
    return datePartOrNull(a[0], 2);
}
Value fHour(Interpreter &, A a, int)
{
    return datePartOrNull(a[0], 3);
}
Value fMinute(Interpreter &, A a, int)
{
    return datePartOrNull(a[0], 4);
}
Value fSecond(Interpreter &, A a, int)
{
    return datePartOrNull(a[0], 5);
}

int firstDay(A a, int n, int i)
{
    int f = intArg(a, n, i, 1);
    if (f < 0 || f > 7)
        raise(5);
    return f == 0 ? 1 : f;
}

int weekdayFrom(int sundayBased, int first)
{
    return (sundayBased - first + 7) % 7 + 1;
}

Value fWeekday(Interpreter &, A a, int n)
{
    if (a[0].isNull())
        return a[0];
    const DateParts p = splitDate(toDate(a[0]));
    return Value::integer(int16_t(weekdayFrom(p.weekday, firstDay(a, n, 1))));
}

Value fWeekdayName(Interpreter &, A a, int n)
{
    const int w = toLong(a[0]);
    const bool abbr = given(a, n, 1) && toBool(a[1]);
    const int first = firstDay(a, n, 2);
    if (w < 1 || w > 7)
        raise(5);
    const int sunday = (w - 1 + first - 1) % 7;
    const LocaleInfo &loc = currentLocale();
    return Value(abbr ? loc.daysAbbr[sunday] : loc.days[sunday]);
}

Value fMonthName(Interpreter &, A a, int n)
{
    const int m = toLong(a[0]);
    if (m < 1 || m > 12)
        raise(5);
    const bool abbr = given(a, n, 1) && toBool(a[1]);
    const LocaleInfo &loc = currentLocale();
    return Value(abbr ? loc.monthsAbbr[m - 1] : loc.months[m - 1]);
}

Value fDateSerial(Interpreter &, A a, int)
{
    for (int i = 0; i < 3; ++i)
        if (a[i].isNull())
            raise(94);
    // day overflow rolls into following months, so pass days through as an offset
    return Value::date(dateSerial(toInteger(a[0]), toInteger(a[1]), toInteger(a[2])));
}

Value fTimeSerial(Interpreter &, A a, int)
{
    for (int i = 0; i < 3; ++i)
        if (a[i].isNull())
            raise(94);
    return Value::date(timeSerial(toInteger(a[0]), toInteger(a[1]), toInteger(a[2])));
}

Value fDateValue(Interpreter &, A a, int)
{
    notNull(a[0]);
    return Value::date(std::trunc(toDate(a[0])));
}

Value fTimeValue(Interpreter &, A a, int)
{
    notNull(a[0]);
    // rebuilt from its parts so it equals TimeSerial of the same time exactly
    const DateParts p = splitDate(toDate(a[0]));
    return Value::date((p.hour * 3600 + p.minute * 60 + p.second) / 86400.0);
}

QString intervalOf(const Value &v)
{
    const QString s = toString(v).toLower();
    static const char *const ok[] = {"yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s"};
    for (const char *k : ok)
        if (s == QLatin1String(k))
            return s;
    raise(5);
}

double addMonths(double serial, int months)
{
    const DateParts p = splitDate(serial);
    int total = p.year * 12 + (p.month - 1) + months;
    const int y = total / 12, m = total % 12 + 1;
    int d = p.day;
    while (d > 28 && !validDate(y, m, d))
        --d;
    if (!validDate(y, m, d))
        raise(5);
    const double timePart = std::fabs(serial - std::trunc(serial));
    return combineDateTime(makeDate(y, m, d), timePart);
}

Value fDateAdd(Interpreter &, A a, int)
{
    const QString iv = intervalOf(a[0]);
    if (a[1].isNull())
        raise(94);
    if (a[2].isNull())
        return a[2]; // a Null date gives Null
    const double k = std::trunc(toDouble(a[1]));
    const double d = dateArg(a[2]);
    double r;
    if (iv == QLatin1String("yyyy"))
        r = addMonths(d, int(k) * 12);
    else if (iv == QLatin1String("q"))
        r = addMonths(d, int(k) * 3);
    else if (iv == QLatin1String("m"))
        r = addMonths(d, int(k));
    else if (iv == QLatin1String("ww"))
        r = d + k * 7;
    else if (iv == QLatin1String("h") || iv == QLatin1String("n") || iv == QLatin1String("s")) {
        const double unit = iv == QLatin1String("h") ? 24.0 : (iv == QLatin1String("n") ? 1440.0 : 86400.0);
        // work in whole seconds on a linear time line to cross midnight and negative dates correctly
        const DateParts p = splitDate(d);
        const double dayNo = std::trunc(d);
        const double secs = dayNo * 86400.0 + (p.hour * 3600 + p.minute * 60 + p.second);
        const double total = secs + k * (86400.0 / unit);
        const double day = std::floor(total / 86400.0);
        r = combineDateTime(day, (total - day * 86400.0) / 86400.0);
    } else
        r = d + k;
    if (r < -657434.0 || r >= 2958466.0)
        raise(5);
    return Value::date(r);
}

int64_t weekStart(double serial, int first)
{
    const DateParts p = splitDate(serial);
    const int64_t day = int64_t(std::floor(std::trunc(serial)));
    return day - (weekdayFrom(p.weekday, first) - 1);
}

Value fDateDiff(Interpreter &, A a, int n)
{
    const QString iv = intervalOf(a[0]);
    if (a[1].isNull() || a[2].isNull())
        return Value::null();
    const double d1 = toDate(a[1]), d2 = toDate(a[2]);
    const DateParts p1 = splitDate(d1), p2 = splitDate(d2);
    const int first = firstDay(a, n, 3);
    // the time of day runs forward from midnight on either side of 30/12/1899
    auto secsOf = [](double d, const DateParts &p) {
        return std::trunc(d) * 86400.0 + (p.hour * 3600 + p.minute * 60 + p.second);
    };
    double r;
    if (iv == QLatin1String("yyyy"))
        r = p2.year - p1.year;
    else if (iv == QLatin1String("q"))
        r = (p2.year * 4 + (p2.month - 1) / 3) - (p1.year * 4 + (p1.month - 1) / 3);
    else if (iv == QLatin1String("m"))
        r = (p2.year * 12 + p2.month) - (p1.year * 12 + p1.month);
    else if (iv == QLatin1String("d") || iv == QLatin1String("y"))
        r = std::trunc(d2) - std::trunc(d1);
    else if (iv == QLatin1String("w"))
        r = std::trunc((std::trunc(d2) - std::trunc(d1)) / 7.0);
    else if (iv == QLatin1String("ww"))
        r = double((weekStart(d2, first) - weekStart(d1, first)) / 7);
    else if (iv == QLatin1String("h"))
        r = std::floor(secsOf(d2, p2) / 3600.0) - std::floor(secsOf(d1, p1) / 3600.0);
    else if (iv == QLatin1String("n"))
        r = std::floor(secsOf(d2, p2) / 60.0) - std::floor(secsOf(d1, p1) / 60.0);
    else
        r = secsOf(d2, p2) - secsOf(d1, p1);
    if (r < -2147483648.0 || r > 2147483647.0)
        raise(6);
    return Value::lng(int32_t(r));
}

Value fDatePart(Interpreter &, A a, int n)
{
    const QString iv = intervalOf(a[0]);
    if (a[1].isNull())
        return a[1];
    const double d = toDate(a[1]);
    const DateParts p = splitDate(d);
    const int first = firstDay(a, n, 2);
    int r;
    if (iv == QLatin1String("yyyy"))
        r = p.year;
    else if (iv == QLatin1String("q"))
        r = (p.month - 1) / 3 + 1;
    else if (iv == QLatin1String("m"))
        r = p.month;
    else if (iv == QLatin1String("y"))
        r = int(std::trunc(d) - makeDate(p.year, 1, 1)) + 1;
    else if (iv == QLatin1String("d"))
        r = p.day;
    else if (iv == QLatin1String("w"))
        r = weekdayFrom(p.weekday, first);
    else if (iv == QLatin1String("ww")) {
        const int rule = intArg(a, n, 3, 1); // vbFirstJan1, vbFirstFourDays, vbFirstFullWeek
        if (rule < 0 || rule > 3)
            raise(5);
        auto weekOne = [&](int year) {
            const double jan1 = makeDate(year, 1, 1);
            const int64_t ws = weekStart(jan1, first);
            const int64_t daysBefore = int64_t(jan1) - ws; // days of that week still in the old year
            if ((rule == 2 && daysBefore >= 4) || (rule == 3 && daysBefore > 0))
                return ws + 7;
            return ws;
        };
        int64_t start = weekOne(p.year);
        if (weekStart(d, first) < start)
            start = weekOne(p.year - 1); // the first days belong to the last week of the old year
        r = int((weekStart(d, first) - start) / 7) + 1;
    } else if (iv == QLatin1String("h"))
        r = p.hour;
    else if (iv == QLatin1String("n"))
        r = p.minute;
    else
        r = p.second;
    return Value::integer(int16_t(r));
}

// ---------------------------------------------------------------- formatting

int tristate(A a, int n, int i)
{
    const int t = intArg(a, n, i, -2);
    if (t < -2 || t > 1)
        raise(5);
    return t;
}

Value fFormatNumber(Interpreter &, A a, int n)
{
    if (a[0].isNull())
        raise(13);
    return Value(formatNumber(toDouble(a[0]), intArg(a, n, 1, -1), tristate(a, n, 2), tristate(a, n, 3),
                              tristate(a, n, 4)));
}
Value fFormatCurrency(Interpreter &, A a, int n)
{
    if (a[0].isNull())
        raise(13);
    return Value(formatCurrency(toDouble(a[0]), intArg(a, n, 1, -1), tristate(a, n, 2), tristate(a, n, 3),
                                tristate(a, n, 4)));
}
Value fFormatPercent(Interpreter &, A a, int n)
{
    if (a[0].isNull())
        raise(13);
    return Value(formatPercent(toDouble(a[0]), intArg(a, n, 1, -1), tristate(a, n, 2), tristate(a, n, 3),
                               tristate(a, n, 4)));
}
Value fFormatDateTime(Interpreter &, A a, int n)
{
    if (a[0].isNull())
        raise(13);
    const int f = intArg(a, n, 1, 0);
    if (f < 0 || f > 4)
        raise(5);
    return Value(formatDate(toDate(a[0]), f));
}

// ---------------------------------------------------------------- tests and types

Value fIsArray(Interpreter &, A a, int)
{
    return Value::boolean(a[0].isArray());
}
// The tests look through an object's default member, so IsNull(rs("campo")) sees the field's value.
Value testedValue(const Value &v)
{
    if (!v.isObject() || !v.rawObject())
        return v;
    Value d;
    Args none(nullptr, 0);
    if (v.rawObject()->getDefault(none, d) && !d.isObject())
        return d;
    return v;
}
Value fIsEmpty(Interpreter &, A a, int)
{
    return Value::boolean(testedValue(a[0]).isEmpty());
}
Value fIsNull(Interpreter &, A a, int)
{
    return Value::boolean(testedValue(a[0]).isNull());
}
Value fIsObject(Interpreter &, A a, int)
{
    return Value::boolean(a[0].isObject());
}
Value fIsDate(Interpreter &, A a, int)
{
    const Value v = testedValue(a[0]);
    if (v.type() == VarType::Date)
        return Value::boolean(true);
    if (v.isString()) {
        double d;
        return Value::boolean(parseDate(v.rawString(), d));
    }
    return Value::boolean(false);
}
Value fIsNumeric(Interpreter &, A a, int)
{
    const Value v = testedValue(a[0]);
    switch (v.type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
        return Value::boolean(true);
    case VarType::String: {
        double d;
        return Value::boolean(parseNumber(v.rawString(), d));
    }
    default:
        return Value::boolean(false);
    }
}

QString typeNameOf(const Value &v)
{
    switch (v.type()) {
    case VarType::Empty:
        return QStringLiteral("Empty");
    case VarType::Null:
        return QStringLiteral("Null");
    case VarType::Integer:
        return QStringLiteral("Integer");
    case VarType::Long:
        return QStringLiteral("Long");
    case VarType::Single:
        return QStringLiteral("Single");
    case VarType::Double:
        return QStringLiteral("Double");
    case VarType::Currency:
        return QStringLiteral("Currency");
    case VarType::Date:
        return QStringLiteral("Date");
    case VarType::String:
        return QStringLiteral("String");
    case VarType::Boolean:
        return QStringLiteral("Boolean");
    case VarType::Byte:
        return QStringLiteral("Byte");
    case VarType::Error:
        return QStringLiteral("Error");
    case VarType::Array:
        return QStringLiteral("Variant()");
    case VarType::Object:
        return v.rawObject() ? v.rawObject()->typeName() : QStringLiteral("Nothing");
    }
    return QStringLiteral("Unknown");
}
Value fTypeName(Interpreter &, A a, int)
{
    return Value(typeNameOf(a[0]));
}
Value fVarType(Interpreter &, A a, int)
{
    const Value &v = a[0];
    if (v.isObject() && v.rawObject()) {
        Value d;
        Args none(nullptr, 0);
        try {
            if (v.rawObject()->getDefault(none, d) && !d.isObject())
                return Value::integer(int16_t(d.varTypeCode()));
        } catch (const ScriptError &) {
        }
        return Value::integer(9);
    }
    return Value::integer(int16_t(v.varTypeCode()));
}

// ---------------------------------------------------------------- arrays

Value fArray(Interpreter &, A a, int n)
{
    ValueList items(a, a + n);
    return makeArray(std::move(items));
}

Value bound(A a, int n, bool upper)
{
    // UBound(obj) where obj's default member returns an array
    const Value v = a[0].isObject() ? defaultValue(a[0]) : a[0];
    if (!v.isArray())
        raise(13);
    const ArrayData *arr = v.rawArray();
    const int dim = intArg(a, n, 1, 1);
    if (dim < 1 || dim > arr->dims())
        raise(9);
    return Value::lng(upper ? arr->bounds[size_t(dim - 1)] : 0);
}
Value fLBound(Interpreter &, A a, int n)
{
    return bound(a, n, false);
}
Value fUBound(Interpreter &, A a, int n)
{
    return bound(a, n, true);
}

// ---------------------------------------------------------------- engine

// Text that does not compile inside Eval/Execute reaches the script as "Syntax error" (1002).
template <class F> Value compiled(F &&f)
{
    try {
        return f();
    } catch (ScriptError &e) {
        if (e.compile && e.number > 1000) {
            e.number = 1002;
            e.description = errorMessage(1002);
        }
        throw;
    }
}

Value fEval(Interpreter &in, A a, int)
{
    const QString text = toString(a[0]);
    return compiled([&] { return in.evalInScope(text); });
}
Value fExecute(Interpreter &in, A a, int)
{
    const QString text = toString(a[0]);
    return compiled([&] {
        in.executeInScope(text, false);
        return Value();
    });
}
Value fExecuteGlobal(Interpreter &in, A a, int)
{
    const QString text = toString(a[0]);
    return compiled([&] {
        in.executeInScope(text, true);
        return Value();
    });
}
Value fGetRef(Interpreter &in, A a, int)
{
    return in.getRef(toString(a[0]));
}
Value fScriptEngine(Interpreter &, A, int)
{
    return Value(QStringLiteral("VBScript"));
}
Value fScriptEngineMajor(Interpreter &, A, int)
{
    return Value::lng(5);
}
Value fScriptEngineMinor(Interpreter &, A, int)
{
    return Value::lng(8);
}
Value fScriptEngineBuild(Interpreter &, A, int)
{
    return Value::lng(16384);
}
Value fCreateObject(Interpreter &in, A a, int)
{
    return Value::object(in.createObject(toString(a[0])));
}
Value fGetObject(Interpreter &, A, int)
{
    raise(429);
}
Value fErr(Interpreter &in, A, int)
{
    return Value::object(&in.err());
}
Value fRGB(Interpreter &, A a, int)
{
    auto c = [&](int i) {
        const int v = toLong(a[i]);
        return v < 0 ? 0 : (v > 255 ? 255 : v);
    };
    return Value::lng(c(0) | (c(1) << 8) | (c(2) << 16));
}

Value fSetLocale(Interpreter &in, A a, int n)
{
    const int old = in.localeLcid;
    if (!given(a, n, 0))
        return Value::lng(old);
    const LocaleInfo *info = nullptr;
    if (a[0].isString()) {
        info = localeByName(a[0].rawString());
        if (!info) {
            double d;
            if (parseNumber(a[0].rawString(), d))
                info = localeByLcid(int(d));
        }
    } else {
        const int lcid = toLong(a[0]);
        // 0 (and 1024, 2048): the user's or system's locale
        if (lcid == 0 || lcid == 1024 || lcid == 2048) {
            info = localeByName(QLocale::system().name());
            if (!info)
                info = localeByLcid(1033);
        } else {
            info = localeByLcid(lcid);
        }
    }
    if (!info)
        raise(5);
    in.localeLcid = info->lcid;
    setCurrentLocale(info);
    return Value::lng(old);
}
Value fGetLocale(Interpreter &in, A, int)
{
    return Value::lng(in.localeLcid);
}

Value fEscape(Interpreter &, A a, int)
{
    const QString s = toString(a[0]);
    QString out;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
            QStringLiteral("@*_+-./").contains(c))
            appendChecked(out, QStringView(&c, 1));
        else if (u < 256)
            appendChecked(out, QString(QStringLiteral("%") +
                                       QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0'))));
        else
            appendChecked(out, QString(QStringLiteral("%u") +
                                       QString::number(u, 16).toUpper().rightJustified(4, QLatin1Char('0'))));
    }
    return Value(out);
}
Value fUnescape(Interpreter &, A a, int)
{
    const QString s = toString(a[0]);
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('%')) {
            bool ok = false;
            if (i + 5 < s.size() + 0 && s[i + 1] == QLatin1Char('u')) {
                const int v = s.mid(i + 2, 4).toInt(&ok, 16);
                if (ok) {
                    out += QChar(char16_t(v));
                    i += 5;
                    continue;
                }
            }
            const int v = s.mid(i + 1, 2).toInt(&ok, 16);
            if (ok && i + 2 < s.size()) {
                out += QChar(char16_t(v));
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return Value(out);
}
Value fMsgBox(Interpreter &, A, int)
{
    return Value::integer(1);
}
Value fInputBox(Interpreter &, A, int)
{
    return Value(QString());
}

#define CONST_INT(name, v)                                                                                   \
    {                                                                                                        \
        name, 0, 0, [](Interpreter &, A, int) { return Value::fromInt(v); }                                  \
    }
#define CONST_STR(name, v)                                                                                   \
    {                                                                                                        \
        name, 0, 0, [](Interpreter &, A, int) { return Value(QStringLiteral(v)); }                           \
    }

const Builtin kBuiltins[] = {
    {"CBool", 1, 1, fCBool},
    {"CByte", 1, 1, fCByte},
    {"CCur", 1, 1, fCCur},
    {"CDate", 1, 1, fCDate},
    {"CDbl", 1, 1, fCDbl},
    {"CInt", 1, 1, fCInt},
    {"CLng", 1, 1, fCLng},
    {"CSng", 1, 1, fCSng},
    {"CStr", 1, 1, fCStr},
    {"Hex", 1, 1, fHex},
    {"Oct", 1, 1, fOct},
    {"Asc", 1, 1, fAsc},
    {"AscB", 1, 1, fAscB},
    {"AscW", 1, 1, fAscW},
    {"Chr", 1, 1, fChr},
    {"ChrB", 1, 1, fChrB},
    {"ChrW", 1, 1, fChrW},
    {"InStr", 2, 4, fInStr},
    {"InStrB", 2, 4, fInStrB},
    {"InStrRev", 2, 4, fInStrRev},
    {"Join", 1, 2, fJoin},
    {"LCase", 1, 1, fLCase},
    {"Left", 2, 2, fLeft},
    {"LeftB", 2, 2, fLeftB},
    {"Len", 1, 1, fLen},
    {"LenB", 1, 1, fLenB},
    {"LTrim", 1, 1, fLTrim},
    {"Mid", 2, 3, fMid},
    {"MidB", 2, 3, fMidB},
    {"Replace", 3, 6, fReplace},
    {"Right", 2, 2, fRight},
    {"RightB", 2, 2, fRightB},
    {"RTrim", 1, 1, fRTrim},
    {"Space", 1, 1, fSpace},
    {"Split", 1, 4, fSplit},
    {"StrComp", 2, 3, fStrComp},
    {"String", 2, 2, fString},
    {"StrReverse", 1, 1, fStrReverse},
    {"Trim", 1, 1, fTrim},
    {"UCase", 1, 1, fUCase},
    {"Filter", 2, 4, fFilter},
    {"Abs", 1, 1, fAbs},
    {"Atn", 1, 1, fAtn},
    {"Cos", 1, 1, fCos},
    {"Exp", 1, 1, fExp},
    {"Fix", 1, 1, fFix},
    {"Int", 1, 1, fInt},
    {"Log", 1, 1, fLog},
    {"Rnd", 0, 1, fRnd},
    {"Randomize", 0, 1, fRandomize},
    {"Round", 1, 2, fRound},
    {"Sgn", 1, 1, fSgn},
    {"Sin", 1, 1, fSin},
    {"Sqr", 1, 1, fSqr},
    {"Tan", 1, 1, fTan},
    {"Date", 0, 0, fDate},
    {"Time", 0, 0, fTime},
    {"Now", 0, 0, fNow},
    {"Timer", 0, 0, fTimer},
    {"DateAdd", 3, 3, fDateAdd},
    {"DateDiff", 3, 5, fDateDiff},
    {"DatePart", 2, 4, fDatePart},
    {"DateSerial", 3, 3, fDateSerial},
    {"DateValue", 1, 1, fDateValue},
    {"TimeSerial", 3, 3, fTimeSerial},
    {"TimeValue", 1, 1, fTimeValue},
    {"Day", 1, 1, fDay},
    {"Month", 1, 1, fMonth},
    {"Year", 1, 1, fYear},
    {"Hour", 1, 1, fHour},
    {"Minute", 1, 1, fMinute},
    {"Second", 1, 1, fSecond},
    {"Weekday", 1, 2, fWeekday},
    {"WeekdayName", 1, 3, fWeekdayName},
    {"MonthName", 1, 2, fMonthName},
    {"FormatNumber", 1, 5, fFormatNumber},
    {"FormatCurrency", 1, 5, fFormatCurrency},
    {"FormatPercent", 1, 5, fFormatPercent},
    {"FormatDateTime", 1, 2, fFormatDateTime},
    {"IsArray", 1, 1, fIsArray},
    {"IsDate", 1, 1, fIsDate},
    {"IsEmpty", 1, 1, fIsEmpty},
    {"IsNull", 1, 1, fIsNull},
    {"IsNumeric", 1, 1, fIsNumeric},
    {"IsObject", 1, 1, fIsObject},
    {"TypeName", 1, 1, fTypeName},
    {"VarType", 1, 1, fVarType},
    {"Array", 0, 255, fArray},
    {"LBound", 1, 2, fLBound},
    {"UBound", 1, 2, fUBound},
    {"Eval", 1, 1, fEval},
    {"Execute", 1, 1, fExecute},
    {"ExecuteGlobal", 1, 1, fExecuteGlobal},
    {"GetRef", 1, 1, fGetRef},
    {"ScriptEngine", 0, 0, fScriptEngine},
    {"ScriptEngineMajorVersion", 0, 0, fScriptEngineMajor},
    {"ScriptEngineMinorVersion", 0, 0, fScriptEngineMinor},
    {"ScriptEngineBuildVersion", 0, 0, fScriptEngineBuild},
    {"CreateObject", 1, 2, fCreateObject},
    {"GetObject", 0, 2, fGetObject},
    {"Err", 0, 0, fErr},
    {"RGB", 3, 3, fRGB},
    {"SetLocale", 0, 1, fSetLocale},
    {"GetLocale", 0, 0, fGetLocale},
    {"Escape", 1, 1, fEscape},
    {"Unescape", 1, 1, fUnescape},
    {"MsgBox", 1, 5, fMsgBox},
    {"InputBox", 1, 7, fInputBox},
    CONST_STR("vbCrLf", "\r\n"),
    CONST_STR("vbNewLine", "\r\n"),
    CONST_STR("vbCr", "\r"),
    CONST_STR("vbLf", "\n"),
    CONST_STR("vbTab", "\t"),
    CONST_STR("vbNullString", ""),
    CONST_STR("vbBack", "\b"),
    CONST_STR("vbFormFeed", "\f"),
    CONST_STR("vbVerticalTab", "\v"),
    {"vbNullChar", 0, 0, [](Interpreter &, A, int) { return Value(QString(QChar(0))); }},
    CONST_INT("vbObjectError", -2147221504LL),
    CONST_INT("vbBinaryCompare", 0),
    CONST_INT("vbTextCompare", 1),
    CONST_INT("vbDatabaseCompare", 2),
    CONST_INT("vbUseSystemDayOfWeek", 0),
    CONST_INT("vbSunday", 1),
    CONST_INT("vbMonday", 2),
    CONST_INT("vbTuesday", 3),
    CONST_INT("vbWednesday", 4),
    CONST_INT("vbThursday", 5),
    CONST_INT("vbFriday", 6),
    CONST_INT("vbSaturday", 7),
    CONST_INT("vbUseSystem", 0),
    CONST_INT("vbFirstJan1", 1),
    CONST_INT("vbFirstFourDays", 2),
    CONST_INT("vbFirstFullWeek", 3),
    CONST_INT("vbGeneralDate", 0),
    CONST_INT("vbLongDate", 1),
    CONST_INT("vbShortDate", 2),
    CONST_INT("vbLongTime", 3),
    CONST_INT("vbShortTime", 4),
    CONST_INT("vbTrue", -1),
    CONST_INT("vbFalse", 0),
    CONST_INT("vbUseDefault", -2),
    CONST_INT("vbEmpty", 0),
    CONST_INT("vbNull", 1),
    CONST_INT("vbInteger", 2),
    CONST_INT("vbLong", 3),
    CONST_INT("vbSingle", 4),
    CONST_INT("vbDouble", 5),
    CONST_INT("vbCurrency", 6),
    CONST_INT("vbDate", 7),
    CONST_INT("vbString", 8),
    CONST_INT("vbObject", 9),
    CONST_INT("vbError", 10),
    CONST_INT("vbBoolean", 11),
    CONST_INT("vbVariant", 12),
    CONST_INT("vbDataObject", 13),
    CONST_INT("vbDecimal", 14),
    CONST_INT("vbByte", 17),
    CONST_INT("vbArray", 8192),
    CONST_INT("vbOKOnly", 0),
    CONST_INT("vbOKCancel", 1),
    CONST_INT("vbAbortRetryIgnore", 2),
    CONST_INT("vbYesNoCancel", 3),
    CONST_INT("vbYesNo", 4),
    CONST_INT("vbRetryCancel", 5),
    CONST_INT("vbCritical", 16),
    CONST_INT("vbQuestion", 32),
    CONST_INT("vbExclamation", 48),
    CONST_INT("vbInformation", 64),
    CONST_INT("vbDefaultButton1", 0),
    CONST_INT("vbDefaultButton2", 256),
    CONST_INT("vbDefaultButton3", 512),
    CONST_INT("vbDefaultButton4", 768),
    CONST_INT("vbApplicationModal", 0),
    CONST_INT("vbSystemModal", 4096),
    CONST_INT("vbMsgBoxHelpButton", 16384),
    CONST_INT("vbMsgBoxSetForeground", 65536),
    CONST_INT("vbMsgBoxRight", 524288),
    CONST_INT("vbMsgBoxRtlReading", 1048576),
    CONST_INT("vbOK", 1),
    CONST_INT("vbCancel", 2),
    CONST_INT("vbAbort", 3),
    CONST_INT("vbRetry", 4),
    CONST_INT("vbIgnore", 5),
    CONST_INT("vbYes", 6),
    CONST_INT("vbNo", 7),
    CONST_INT("vbBlack", 0),
    CONST_INT("vbRed", 255),
    CONST_INT("vbGreen", 65280),
    CONST_INT("vbYellow", 65535),
    CONST_INT("vbBlue", 16711680),
    CONST_INT("vbMagenta", 16711935),
    CONST_INT("vbCyan", 16776960),
    CONST_INT("vbWhite", 16777215),
};

#undef CONST_INT
#undef CONST_STR

// GetRef result: calling its default member runs the procedure.
class ProcRef : public HostObject {
public:
    ProcRef(std::shared_ptr<Interpreter *> in, QString name) : m_in(std::move(in)), m_name(std::move(name)) {}
    QString typeName() const override { return QStringLiteral("Object"); }
    bool getDefault(Args &args, Value &result) override
    {
        Interpreter *in = *m_in;
        if (!in)
            return false;
        std::vector<Value *> refs(size_t(args.size()));
        for (int i = 0; i < args.size(); ++i)
            refs[size_t(i)] = &args[i];
        result = in->callByName(m_name, refs.data(), args.size());
        return true;
    }
    bool get(const Name &, Args &, Value &) override { return false; }

private:
    std::shared_ptr<Interpreter *> m_in;
    QString m_name;
};

} // namespace

const Builtin *builtinTable(int &count)
{
    count = int(sizeof(kBuiltins) / sizeof(kBuiltins[0]));
    return kBuiltins;
}

Value Interpreter::getRef(const QString &name)
{
    if (!hasProcedure(name))
        raise(5);
    return Value::object(new ProcRef(self, name));
}

} // namespace vbs
