#include "Convert.h"
#include "Resources.h"
#include "Interpreter.h"
#include "Resources.h"

#include <cmath>

namespace vbs {

namespace {

// Widening order of numeric subtypes for arithmetic results.
int rank(VarType t)
{
    switch (t) {
    case VarType::Byte:
        return 1;
    case VarType::Integer:
        return 2;
    case VarType::Long:
        return 3;
    case VarType::Single:
        return 4;
    case VarType::Double:
        return 5;
    case VarType::Currency:
        return 6;
    case VarType::Date:
        return 7;
    default:
        return 2;
    }
}

Value fromIntRanked(int64_t r, int rk)
{
    if (rk == 1 && r >= 0 && r <= 255)
        return Value::byte(uint8_t(r));
    if (rk <= 2 && r >= -32768 && r <= 32767)
        return Value::integer(int16_t(r));
    if (r >= INT32_MIN && r <= INT32_MAX)
        return Value::lng(int32_t(r));
    return Value::dbl(double(r));
}

Value checkedDouble(double d)
{
    if (!std::isfinite(d))
        raise(6);
    return Value::dbl(d);
}

Value checkedSingle(double d)
{
    if (!std::isfinite(d) || std::fabs(d) > 3.402823466e38)
        return checkedDouble(d);
    return Value::single(float(d));
}

Value currencyFrom(long double scaled)
{
    if (scaled >= 9.2233720368547758e18L || scaled < -9.2233720368547758e18L)
        raise(6);
    return Value::currencyRaw(int64_t(std::nearbyint(double(scaled))));
}

Value arith(Op op, const Value &a, const Value &b)
{
    const VarType ta = a.type(), tb = b.type();
    if (ta == VarType::Date || tb == VarType::Date) {
        const double x = toDouble(a), y = toDouble(b);
        if (op == Op::Add)
            return Value::date(x + y);
        if (op == Op::Sub) {
            if (ta == VarType::Date && tb == VarType::Date)
                return checkedDouble(x - y);
            return Value::date(x - y);
        }
        return checkedDouble(x * y);
    }
    const int ra = rank(ta), rb = rank(tb);
    const int rk = ra > rb ? ra : rb;
    if (rk == 6) {
        if (ta == VarType::Double || tb == VarType::Double || ta == VarType::Single ||
            tb == VarType::Single) {
            const double x = toDouble(a), y = toDouble(b);
            return checkedDouble(op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y);
        }
        const long double x = (long double)toCurrencyRaw(a), y = (long double)toCurrencyRaw(b);
        if (op == Op::Add)
            return currencyFrom(x + y);
        if (op == Op::Sub)
            return currencyFrom(x - y);
        return currencyFrom(x * y / 10000.0L);
    }
    if (rk >= 4) {
        const double x = toDouble(a), y = toDouble(b);
        const double r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
        const bool single = rk == 4 && ta != VarType::Long && tb != VarType::Long;
        return single ? checkedSingle(r) : checkedDouble(r);
    }
    const int64_t x =
        ta == VarType::Boolean ? (a.rawBool() ? -1 : 0) : (ta == VarType::Empty ? 0 : a.rawInt());
    const int64_t y =
        tb == VarType::Boolean ? (b.rawBool() ? -1 : 0) : (tb == VarType::Empty ? 0 : b.rawInt());
    const int64_t r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
    return fromIntRanked(r, rk);
}

bool smallInt(VarType t)
{
    return t == VarType::Byte || t == VarType::Integer || t == VarType::Boolean || t == VarType::Empty;
}

QString concatPart(const Value &v)
{
    if (v.isNull())
        return QString();
    return toString(v);
}

} // namespace

Value Interpreter::binary(Op op, const Value &a0, const Value &b0)
{
    const VarType ta = a0.type(), tb = b0.type();
    const bool ia = ta == VarType::Integer || ta == VarType::Long;
    const bool ib = tb == VarType::Integer || tb == VarType::Long;
    if (ia && ib && (op == Op::Add || op == Op::Sub || op == Op::Mul)) {
        const int64_t x = a0.rawInt(), y = b0.rawInt();
        const int64_t r = op == Op::Add ? x + y : op == Op::Sub ? x - y : x * y;
        return fromIntRanked(r, (ta == VarType::Long || tb == VarType::Long) ? 3 : 2);
    }
    if (ta == VarType::Double && tb == VarType::Double && op <= Op::Sub && op != Op::IntDiv &&
        op != Op::Mod && op != Op::Pow) {
        const double x = a0.rawDouble(), y = b0.rawDouble();
        switch (op) {
        case Op::Add:
            return checkedDouble(x + y);
        case Op::Sub:
            return checkedDouble(x - y);
        case Op::Mul:
            return checkedDouble(x * y);
        default:
            break;
        }
    }
    if (op == Op::Concat) {
        const Value a = a0.isObject() ? defaultValue(a0) : a0;
        const Value b = b0.isObject() ? defaultValue(b0) : b0;
        if (a.isNull() && b.isNull())
            return Value::null();
        if (a.isArray() || b.isArray())
            raise(13);
        QString l = concatPart(a);
        const QString r = concatPart(b);
        if (l.size() + r.size() > kMaxStringLength)
            raise(14);
        chargeMemory(size_t(l.size() + r.size()) * 2);
        l += r;
        return Value(std::move(l));
    }
    const Value a = a0.isObject() ? defaultValue(a0) : a0;
    const Value b = b0.isObject() ? defaultValue(b0) : b0;
    if (a.isArray() || b.isArray() || a.type() == VarType::Error || b.type() == VarType::Error)
        raise(13);
    if (a.isNull() || b.isNull())
        return Value::null();
    if (op == Op::Add) {
        if (a.isString() && b.isString()) {
            if (a.rawString().size() + b.rawString().size() > kMaxStringLength)
                raise(14);
            chargeMemory(size_t(a.rawString().size() + b.rawString().size()) * 2);
            return Value(a.rawString() + b.rawString());
        }
        if (a.isString() && b.isEmpty())
            return a;
        if (a.isEmpty() && b.isString())
            return b;
    }
    switch (op) {
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
        return arith(op, toNumeric(a), toNumeric(b));
    case Op::Div: {
        const Value na = toNumeric(a), nb = toNumeric(b);
        const double x = toDouble(na), y = toDouble(nb);
        if (y == 0)
            raise(x == 0 || std::isnan(x) ? 6 : 11);
        const bool single = (na.type() == VarType::Single || smallInt(na.type())) &&
                            (nb.type() == VarType::Single || smallInt(nb.type())) &&
                            (na.type() == VarType::Single || nb.type() == VarType::Single);
        return single ? checkedSingle(x / y) : checkedDouble(x / y);
    }
    case Op::IntDiv:
    case Op::Mod: {
        const Value na = toNumeric(a), nb = toNumeric(b);
        const int64_t x = toLong(na), y = toLong(nb);
        if (y == 0)
            raise(11);
        const int64_t r = op == Op::IntDiv ? x / y : x % y;
        if (na.type() == VarType::Byte && nb.type() == VarType::Byte)
            return Value::byte(uint8_t(r));
        if (smallInt(na.type()) && smallInt(nb.type()))
            return fromIntRanked(r, 2);
        return fromIntRanked(r, 3);
    }
    case Op::Pow: {
        const double x = toDouble(toNumeric(a)), y = toDouble(toNumeric(b));
        if (x < 0 && y != std::floor(y))
            raise(5);
        if (x == 0 && y < 0)
            raise(5);
        return checkedDouble(std::pow(x, y));
    }
    default:
        raise(51);
    }
}

namespace {

bool numericLike(VarType t)
{
    switch (t) {
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
    case VarType::Boolean:
    case VarType::Empty:
        return true;
    default:
        return false;
    }
}

int cmpDouble(double x, double y)
{
    return x < y ? -1 : (x > y ? 1 : 0);
}

int cmpNumeric(const Value &a, const Value &b)
{
    const bool ia = a.isIntegral() || a.isEmpty();
    const bool ib = b.isIntegral() || b.isEmpty();
    if (ia && ib) {
        const int64_t x =
            a.isEmpty() ? 0 : (a.type() == VarType::Boolean ? (a.rawBool() ? -1 : 0) : a.rawInt());
        const int64_t y =
            b.isEmpty() ? 0 : (b.type() == VarType::Boolean ? (b.rawBool() ? -1 : 0) : b.rawInt());
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.type() == VarType::Currency && b.type() == VarType::Currency)
        return a.rawInt() < b.rawInt() ? -1 : (a.rawInt() > b.rawInt() ? 1 : 0);
    // Single against Double compares at Single precision: CSng(0.1) = 0.1
    if ((a.type() == VarType::Single && b.type() == VarType::Double) ||
        (a.type() == VarType::Double && b.type() == VarType::Single)) {
        const float x = float(toDouble(a)), y = float(toDouble(b));
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return cmpDouble(toDouble(a), toDouble(b));
}

int cmpText(const QString &x, const QString &y)
{
    const int c = QStringView(x).compare(QStringView(y), Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// String against a number: a numeric or date literal converts the text (a text variable that does
// not convert is a type mismatch), else numbers sort before strings. True and False convert nothing.
int cmpMixed(const Value &s, const Value &x, bool sLit, bool xLit)
{
    if (xLit && x.type() != VarType::Boolean) {
        const QString &t = s.rawString();
        double d;
        if (x.type() == VarType::Date) {
            if (parseDate(t, d) || parseNumber(t, d))
                return cmpDouble(d, x.rawDouble());
        } else if (parseNumber(t, d)) {
            return cmpDouble(d, toDouble(x));
        }
        if (!sLit)
            raise(13);
        return 1;
    }
    if (sLit)
        return cmpText(s.rawString(), toString(x));
    return 1;
}

} // namespace

Value Interpreter::compare(Op op, const Value &a0, const Value &b0, bool aLit, bool bLit)
{
    int c;
    const VarType ta = a0.type(), tb = b0.type();
    if ((ta == VarType::Integer || ta == VarType::Long) && (tb == VarType::Integer || tb == VarType::Long)) {
        c = a0.rawInt() < b0.rawInt() ? -1 : (a0.rawInt() > b0.rawInt() ? 1 : 0);
    } else if (ta == VarType::String && tb == VarType::String) {
        c = cmpText(a0.rawString(), b0.rawString());
    } else {
        const Value a = a0.isObject() ? defaultValue(a0) : a0;
        const Value b = b0.isObject() ? defaultValue(b0) : b0;
        if (a.isArray() || b.isArray() || a.type() == VarType::Error || b.type() == VarType::Error)
            raise(13);
        if (a.isNull() || b.isNull())
            return Value::null();
        const bool na = numericLike(a.type()), nb = numericLike(b.type());
        if (na && nb) {
            c = cmpNumeric(a, b);
        } else if (a.isString() && b.isString()) {
            c = cmpText(a.rawString(), b.rawString());
        } else if (a.isString()) {
            c = b.isEmpty() ? cmpText(a.rawString(), QString()) : cmpMixed(a, b, aLit, bLit);
        } else {
            c = a.isEmpty() ? cmpText(QString(), b.rawString()) : -cmpMixed(b, a, bLit, aLit);
        }
    }
    bool r;
    switch (op) {
    case Op::Eq:
        r = c == 0;
        break;
    case Op::Ne:
        r = c != 0;
        break;
    case Op::Lt:
        r = c < 0;
        break;
    case Op::Gt:
        r = c > 0;
        break;
    case Op::Le:
        r = c <= 0;
        break;
    default:
        r = c >= 0;
        break;
    }
    return Value::boolean(r);
}

Value Interpreter::negate(const Value &v0)
{
    const Value v = v0.isObject() ? defaultValue(v0) : v0;
    switch (v.type()) {
    case VarType::Null:
        return v;
    case VarType::Empty:
        return Value::integer(0);
    case VarType::Boolean:
        return Value::integer(v.rawBool() ? 1 : 0);
    case VarType::Byte:
    case VarType::Integer:
        return fromIntRanked(-v.rawInt(), 2);
    case VarType::Long:
        return fromIntRanked(-v.rawInt(), 3);
    case VarType::Single:
        return Value::single(float(-v.rawDouble()));
    case VarType::Double:
        return Value::dbl(-v.rawDouble());
    case VarType::Currency:
        return Value::currencyRaw(-v.rawInt());
    case VarType::Date:
        return Value::date(-v.rawDouble());
    case VarType::String:
        return Value::dbl(-toDouble(v));
    default:
        raise(13);
    }
}

namespace {

// Operand of a bitwise operator: Boolean stays Boolean, else an integer of the narrowest fitting kind.
Value logicalOperand(const Value &v0)
{
    const Value v = v0.isObject() ? defaultValue(v0) : v0;
    switch (v.type()) {
    case VarType::Boolean:
    case VarType::Null:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return v;
    case VarType::Empty:
        return Value::lng(0); // Empty And x, Not Empty: a Long, as in VBScript
    case VarType::String: {
        const QString t = v.rawString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0)
            return Value::boolean(true);
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0)
            return Value::boolean(false);
        return Value::lng(toLong(v));
    }
    case VarType::Array:
    case VarType::Error:
        raise(13);
    default:
        return Value::lng(toLong(v));
    }
}

int64_t bits(const Value &v)
{
    return v.type() == VarType::Boolean ? (v.rawBool() ? -1 : 0) : v.rawInt();
}

Value typedBits(int64_t r, const Value &a, const Value &b)
{
    const VarType ta = a.type(), tb = b.type();
    if (ta == VarType::Boolean && tb == VarType::Boolean)
        return Value::boolean(r != 0);
    if ((ta == VarType::Byte || ta == VarType::Null) && (tb == VarType::Byte || tb == VarType::Null))
        return Value::byte(uint8_t(r));
    if (ta != VarType::Long && tb != VarType::Long)
        return Value::integer(int16_t(r));
    return Value::lng(int32_t(r));
}

} // namespace

Value Interpreter::logicalNot(const Value &v0)
{
    const Value v = logicalOperand(v0);
    switch (v.type()) {
    case VarType::Null:
        return v;
    case VarType::Boolean:
        return Value::boolean(!v.rawBool());
    case VarType::Byte:
        return Value::byte(uint8_t(~v.rawInt()));
    case VarType::Integer:
        return Value::integer(int16_t(~v.rawInt()));
    default:
        return Value::lng(int32_t(~v.rawInt()));
    }
}

Value Interpreter::logical(Op op, const Value &a0, const Value &b0)
{
    const Value a = logicalOperand(a0);
    const Value b = logicalOperand(b0);
    const bool an = a.isNull(), bn = b.isNull();
    if (an || bn) {
        if (an && bn)
            return Value::null();
        const Value &o = an ? b : a;
        const int64_t x = bits(o);
        switch (op) {
        case Op::And:
            return x == 0 ? o : Value::null();
        case Op::Or:
            return x == -1 ? o : Value::null();
        case Op::Imp:
            if (an) // Null Imp x
                return x == -1 ? o : Value::null();
            // x Imp Null
            if (x == 0)
                return o.type() == VarType::Boolean ? Value::boolean(true) : typedBits(-1, o, o);
            return Value::null();
        default:
            return Value::null();
        }
    }
    const int64_t x = bits(a), y = bits(b);
    int64_t r;
    switch (op) {
    case Op::And:
        r = x & y;
        break;
    case Op::Or:
        r = x | y;
        break;
    case Op::Xor:
        r = x ^ y;
        break;
    case Op::Eqv:
        r = ~(x ^ y);
        break;
    default:
        r = (~x) | y;
        break;
    }
    return typedBits(r, a, b);
}

} // namespace vbs
