#pragma once

#include <QMetaType>
#include <QString>
#include <QVariant>

#include <compare>
#include <stdexcept>

// Exact decimal for money and quantities: a 64-bit integer counting millionths.
// Products and quotients go through 128-bit intermediates so no precision is lost before the
// final rounding; results that do not fit throw DecimalOverflow instead of wrapping.
class Decimal {
public:
    static constexpr int Scale = 6;
    static constexpr qint64 Unit = 1000000;

    enum RoundingMode {
        HalfAwayFromZero, // what "0.00" formatting does
        HalfEven,         // banker's rounding, used where a rule names it
        TowardZero,
    };

    constexpr Decimal() = default;
    constexpr Decimal(int units) : m_raw(qint64(units) * Unit) {}
    Decimal(qint64 units);
    Decimal(long units) : Decimal(qint64(units)) {}
    // Plain decimal text: "1234.50", "-0.5", "+3", "1e-3". Throws std::invalid_argument.
    explicit Decimal(const QString &text);
    explicit Decimal(const char *text) : Decimal(QString::fromLatin1(text)) {}

    static Decimal fromRaw(qint64 millionths)
    {
        Decimal d;
        d.m_raw = millionths;
        return d;
    }
    // Text that is not a number gives 0 and *ok = false (no exception).
    static Decimal fromString(const QString &text, bool *ok = nullptr);
    // Rounded to 6 places after reading the double's 15 significant digits, so 0.1 + 0.2 is 0.3.
    static Decimal fromDouble(double value);
    // Accepts Decimal, integers, doubles, numeric text; null or empty gives 0 and *ok stays true.
    static Decimal fromVariant(const QVariant &value, bool *ok = nullptr);

    qint64 raw() const { return m_raw; }
    bool isZero() const { return m_raw == 0; }
    bool isNegative() const { return m_raw < 0; }
    int sign() const { return m_raw > 0 ? 1 : (m_raw < 0 ? -1 : 0); }
    Decimal abs() const;

    Decimal round(int places = 0, RoundingMode mode = HalfAwayFromZero) const;
    Decimal truncated(int places = 0) const { return round(places, TowardZero); }
    // Whole units, rounded half away from zero.
    qint64 toInt64() const;

    double toDouble() const { return double(m_raw) / double(Unit); }
    QVariant toQVariant() const { return QVariant::fromValue(*this); }

    // Shortest exact text: "1234.5", "0", "-0.000001".
    QString toString() const;
    // Fixed decimals, rounded half away from zero: toString(2) of 2.345 is "2.35".
    QString toString(int decimals) const;
    // Pictures "0.00", "#,##0.00", "$#,##0.00", "#,##0": literal prefix/suffix, ',' groups
    // thousands, '0' is a forced digit and '#' an optional one; rounds half away from zero.
    QString format(const QString &picture) const;

    Decimal operator-() const;
    Decimal &operator+=(const Decimal &o);
    Decimal &operator-=(const Decimal &o);
    Decimal &operator*=(const Decimal &o);
    Decimal &operator/=(const Decimal &o);

    friend Decimal operator+(Decimal a, const Decimal &b) { return a += b; }
    friend Decimal operator-(Decimal a, const Decimal &b) { return a -= b; }
    friend Decimal operator*(Decimal a, const Decimal &b) { return a *= b; }
    friend Decimal operator/(Decimal a, const Decimal &b) { return a /= b; }

    friend bool operator==(const Decimal &a, const Decimal &b) = default;
    friend std::strong_ordering operator<=>(const Decimal &a, const Decimal &b) = default;

private:
    qint64 m_raw = 0;
};

class DecimalOverflow : public std::overflow_error {
public:
    using std::overflow_error::overflow_error;
};

class DecimalDivisionByZero : public std::domain_error {
public:
    using std::domain_error::domain_error;
};

inline size_t qHash(const Decimal &d, size_t seed = 0) noexcept
{
    return qHash(d.raw(), seed);
}

// QCOMPARE prints the value instead of "<unknown>".
char *toString(const Decimal &d);

class QDebug;
QDebug operator<<(QDebug dbg, const Decimal &d);

Q_DECLARE_METATYPE(Decimal)
