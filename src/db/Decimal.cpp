#include "Decimal.h"

#include <QDebug>

#include <cmath>
#include <limits>

namespace {

// Hosts that only know numbers (the script engine) read a Decimal in a QVariant as a double.
const bool kConversionRegistrada = QMetaType::registerConverter<Decimal, double>(&Decimal::toDouble);


using i128 = __int128;

constexpr qint64 kPow10[] = {1,           10,           100,           1000,           10000,
                             100000,      1000000,      10000000,      100000000,      1000000000,
                             10000000000, 100000000000, 1000000000000, 10000000000000, 100000000000000,
                             1000000000000000, 10000000000000000, 100000000000000000,
                             1000000000000000000};

qint64 checked(i128 v)
{
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min())
        throw DecimalOverflow("Desbordamiento en una operación decimal");
    return qint64(v);
}

// Divides with the requested rounding of the exact quotient.
i128 divideRounded(i128 num, i128 den, Decimal::RoundingMode mode)
{
    i128 q = num / den;
    const i128 r = num % den;
    if (r == 0)
        return q;
    const bool negative = (num < 0) != (den < 0);
    const i128 absR = r < 0 ? -r : r;
    const i128 absD = den < 0 ? -den : den;
    bool away = false;
    switch (mode) {
    case Decimal::HalfAwayFromZero:
        away = 2 * absR >= absD;
        break;
    case Decimal::HalfEven:
        away = 2 * absR > absD || (2 * absR == absD && (q % 2) != 0);
        break;
    case Decimal::TowardZero:
        away = false;
        break;
    }
    if (away)
        q += negative ? -1 : 1;
    return q;
}

// Parses plain decimal text into millionths, rounding extra digits half away from zero.
bool parse(const QString &input, qint64 *out)
{
    const QString text = input.trimmed();
    int i = 0;
    const int n = int(text.size());
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Digits kept as an integer mantissa with a decimal exponent.
    i128 mantissa = 0;
    int exponent = 0;
    int digits = 0;
    bool sawDigit = false;
    for (; i < n && text[i].isDigit(); ++i) {
        sawDigit = true;
        if (digits < 30) {
            mantissa = mantissa * 10 + (text[i].unicode() - '0');
            if (mantissa != 0)
                ++digits;
        } else {
            ++exponent; // digits beyond 30 significant ones are only magnitude
        }
    }
    if (i < n && text[i] == u'.') {
        ++i;
        for (; i < n && text[i].isDigit(); ++i) {
            sawDigit = true;
            if (digits < 30) {
                mantissa = mantissa * 10 + (text[i].unicode() - '0');
                --exponent;
                if (mantissa != 0)
                    ++digits;
            }
        }
    }
    if (!sawDigit)
        return false;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == u'-' || text[i] == u'+')) {
            expNegative = text[i] == u'-';
            ++i;
        }
        int e = 0;
        bool sawExp = false;
        for (; i < n && text[i].isDigit(); ++i) {
            sawExp = true;
            e = std::min(e * 10 + (text[i].unicode() - '0'), 1000);
        }
        if (!sawExp)
            return false;
        exponent += expNegative ? -e : e;
    }
    if (i != n)
        return false;

    // Bring the mantissa to millionths.
    const int shift = exponent + Decimal::Scale;
    if (mantissa == 0) {
        *out = 0;
        return true;
    }
    if (shift >= 0) {
        if (shift > 18 || digits + shift > 19)
            throw DecimalOverflow("Desbordamiento al leer un número decimal");
        const i128 scaled = mantissa * kPow10[shift];
        *out = checked(negative ? -scaled : scaled);
        return true;
    }
    i128 v = mantissa;
    int drop = -shift;
    if (drop > 18 + 30)
        drop = 18 + 30;
    while (drop > 18) {
        v /= 10;
        --drop;
    }
    const i128 p = kPow10[drop];
    i128 q = v / p;
    const i128 r = v % p;
    if (2 * r >= p) // half away from zero
        ++q;
    *out = checked(negative ? -q : q);
    return true;
}

QString groupThousands(const QString &digits)
{
    QString out;
    const int n = int(digits.size());
    out.reserve(n + n / 3);
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u',';
        out += digits[i];
    }
    return out;
}

} // namespace

Decimal::Decimal(qint64 units) : m_raw(checked(i128(units) * Unit)) {}

Decimal::Decimal(const QString &text)
{
    if (!parse(text, &m_raw))
        throw std::invalid_argument(QString(QStringLiteral("No es un número: ") + text).toStdString());
}

Decimal Decimal::fromString(const QString &text, bool *ok)
{
    qint64 raw = 0;
    bool good = false;
    try {
        good = parse(text, &raw);
    } catch (const DecimalOverflow &) {
        good = false;
    }
    if (ok)
        *ok = good;
    return good ? fromRaw(raw) : Decimal();
}

Decimal Decimal::fromDouble(double value)
{
    if (!std::isfinite(value))
        throw DecimalOverflow("Número no finito");
    qint64 raw = 0;
    parse(QString::number(value, 'g', 15), &raw);
    return fromRaw(raw);
}

Decimal Decimal::fromVariant(const QVariant &value, bool *ok)
{
    if (ok)
        *ok = true;
    if (!value.isValid() || value.isNull())
        return Decimal();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::LongLong:
    case QMetaType::Long:
        return Decimal(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::UChar:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong u = value.toULongLong();
        if (u > qulonglong(std::numeric_limits<qint64>::max()))
            throw DecimalOverflow("Desbordamiento al convertir un entero");
        return Decimal(qint64(u));
    }
    case QMetaType::Bool:
        return Decimal(value.toBool() ? 1 : 0);
    case QMetaType::Double:
    case QMetaType::Float:
        return fromDouble(value.toDouble());
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = value.toString().trimmed();
        if (text.isEmpty())
            return Decimal();
        return fromString(text, ok);
    }
    default:
        break;
    }
    if (value.canConvert<Decimal>())
        return value.value<Decimal>();
    if (ok)
        *ok = false;
    return Decimal();
}

Decimal Decimal::abs() const
{
    return m_raw < 0 ? -*this : *this;
}

Decimal Decimal::round(int places, RoundingMode mode) const
{
    if (places >= Scale)
        return *this;
    const int drop = Scale - places;
    if (drop > 18)
        return Decimal();
    const qint64 p = kPow10[drop];
    return fromRaw(checked(divideRounded(m_raw, p, mode) * p));
}

qint64 Decimal::toInt64() const
{
    return qint64(divideRounded(m_raw, Unit, HalfAwayFromZero));
}

QString Decimal::toString() const
{
    QString s = toString(Scale);
    if (s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    return s;
}

QString Decimal::toString(int decimals) const
{
    decimals = std::clamp(decimals, 0, Scale);
    const qint64 r = round(decimals).m_raw;
    // Unsigned magnitude: the most negative raw value has no positive twin.
    const quint64 mag = r < 0 ? quint64(0) - quint64(r) : quint64(r);
    const quint64 whole = mag / quint64(Unit);
    const quint64 frac = (mag % quint64(Unit)) / quint64(kPow10[Scale - decimals]);
    QString s = r < 0 ? QStringLiteral("-") : QString();
    s += QString::number(whole);
    if (decimals > 0)
        s += u'.' + QStringLiteral("%1").arg(frac, decimals, 10, QLatin1Char('0'));
    return s;
}

QString Decimal::format(const QString &picture) const
{
    // Runs on every ticket line: a plain scan, no regular expression.
    const auto isDigitMark = [](QChar ch) { return ch == u'#' || ch == u'0'; };
    int first = -1;
    int last = -1;
    for (int i = 0; i < int(picture.size()); ++i) {
        if (isDigitMark(picture.at(i))) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return picture;
    const QString prefix = picture.left(first);
    const QString suffix = picture.mid(last + 1);
    const QString body = picture.mid(first, last - first + 1);

    const int dot = int(body.indexOf(u'.'));
    const QString intPart = dot < 0 ? body : body.left(dot);
    const QString fracPart = dot < 0 ? QString() : body.mid(dot + 1);
    const bool grouping = intPart.contains(u',');
    const int minInt = int(intPart.count(u'0'));
    const int minFrac = int(fracPart.count(u'0'));
    const int maxFrac = std::min(int(fracPart.count(u'0') + fracPart.count(u'#')), int(Scale));

    QString digits = abs().toString(maxFrac);
    QString whole = digits;
    QString frac;
    if (const int p = int(digits.indexOf(u'.')); p >= 0) {
        whole = digits.left(p);
        frac = digits.mid(p + 1);
    }
    while (frac.size() > minFrac && frac.endsWith(u'0'))
        frac.chop(1);
    if (whole == u"0" && minInt == 0)
        whole.clear();
    while (whole.size() < minInt)
        whole.prepend(u'0');
    if (grouping)
        whole = groupThousands(whole);

    // A value that rounds to zero at this picture loses its minus sign, as in "-0.001" -> "0.00".
    const bool negative = isNegative() && !round(maxFrac).isZero();
    QString out = negative ? QStringLiteral("-") : QString();
    out += prefix + whole;
    if (!frac.isEmpty())
        out += u'.' + frac;
    out += suffix;
    return out;
}

Decimal Decimal::operator-() const
{
    return fromRaw(checked(-i128(m_raw)));
}

Decimal &Decimal::operator+=(const Decimal &o)
{
    m_raw = checked(i128(m_raw) + o.m_raw);
    return *this;
}

Decimal &Decimal::operator-=(const Decimal &o)
{
    m_raw = checked(i128(m_raw) - o.m_raw);
    return *this;
}

Decimal &Decimal::operator*=(const Decimal &o)
{
    m_raw = checked(divideRounded(i128(m_raw) * o.m_raw, Unit, HalfAwayFromZero));
    return *this;
}

Decimal &Decimal::operator/=(const Decimal &o)
{
    if (o.m_raw == 0)
        throw DecimalDivisionByZero("División entre cero");
    m_raw = checked(divideRounded(i128(m_raw) * Unit, o.m_raw, HalfAwayFromZero));
    return *this;
}

char *toString(const Decimal &d)
{
    return qstrdup(d.toString().toUtf8().constData());
}

QDebug operator<<(QDebug dbg, const Decimal &d)
{
    QDebugStateSaver saver(dbg);
    dbg.nospace() << "Decimal(" << d.toString() << ')';
    return dbg;
}
