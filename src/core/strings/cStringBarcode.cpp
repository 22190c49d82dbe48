// Encoders that turn a code into the characters a barcode font draws. Empty text gives an empty
// result in every encoder: a symbol with only its guards cannot be read.
#include "cString.h"

namespace {

bool allDigits(QStringView s)
{
    for (const QChar c : s) {
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    }
    return true;
}

int digitAt(QStringView s, qsizetype i)
{
    return s[i].unicode() - '0';
}

// GTIN/ITF check digit: weights 3 and 1 alternate from the rightmost digit.
QChar checkDigit(QStringView digits)
{
    int sum = 0;
    bool three = true;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += digitAt(digits, i) * (three ? 3 : 1);
        three = !three;
    }
    return QChar(u'0' + (10 - sum % 10) % 10);
}

// Font character sets of the EAN fonts: A "A".."J", B "K".."T", C "a".."j".
QChar setA(int d)
{
    return QChar(u'A' + d);
}
QChar setB(int d)
{
    return QChar(u'K' + d);
}
QChar setC(int d)
{
    return QChar(u'a' + d);
}

} // namespace

QString cString::code128(const QString &sString) const
{
    if (sString.isEmpty())
        return QString();
    // Characters the font cannot draw give no barcode at all rather than a wrong one.
    for (const QChar c : sString) {
        const char16_t u = c.unicode();
        if (!((u >= 32 && u <= 126) || u == 203))
            return QString();
    }
    const QStringView s(sString);
    const qsizetype n = s.size();
    const auto digitsAhead = [&](qsizetype i, qsizetype count) {
        return i + count <= n && allDigits(s.sliced(i, count));
    };

    QString out;
    out.reserve(n + 6);
    bool setBActive = true;
    qsizetype i = 0;
    while (i < n) {
        if (setBActive) {
            // Set C pays off for 4 digits at the start or closing the text, else for 6.
            const qsizetype needed = (i == 0 || i + 4 == n) ? 4 : 6;
            if (digitsAhead(i, needed)) {
                out += QChar(i == 0 ? 210 : 204);
                setBActive = false;
            } else if (i == 0) {
                out += QChar(209);
            }
        }
        if (!setBActive) {
            if (digitsAhead(i, 2)) {
                const int v = digitAt(s, i) * 10 + digitAt(s, i + 1);
                out += QChar(v < 95 ? v + 32 : v + 105);
                i += 2;
            } else {
                out += QChar(205);
                setBActive = true;
            }
        }
        if (setBActive) {
            out += s[i];
            ++i;
        }
    }

    int check = 0;
    for (qsizetype k = 0; k < out.size(); ++k) {
        const int code = out[k].unicode();
        const int value = code < 127 ? code - 32 : code - 105;
        if (k == 0)
            check = value;
        check = (check + int(k) * value) % 103;
    }
    out += QChar(check < 95 ? check + 32 : check + 105);
    out += QChar(211);
    return out;
}

QString cString::Code25I(const QString &sString, bool bCheckDigit) const
{
    if (sString.isEmpty() || !allDigits(sString))
        return QString();
    QString digits = sString;
    if (bCheckDigit)
        digits += checkDigit(digits);
    if (digits.size() % 2 != 0)
        return QString();
    QString out;
    out.reserve(digits.size() / 2 + 2);
    out += QChar(201);
    for (qsizetype i = 0; i < digits.size(); i += 2) {
        const int v = digitAt(digits, i) * 10 + digitAt(digits, i + 1);
        out += QChar(v < 94 ? v + 33 : v + 101);
    }
    out += QChar(202);
    return out;
}

QString cString::Code39(const QString &sString) const
{
    if (sString.isEmpty())
        return QString();
    for (const QChar c : sString) {
        const char16_t u = c.unicode();
        const bool valid =
            u == ' ' || u == '$' || u == '%' || u == '+' || (u >= '-' && u <= '9') || (u >= 'A' && u <= 'Z');
        if (!valid)
            return QString();
    }
    return u'*' + sString + u'*';
}

QString cString::EAN8(QString &sString) const
{
    if (sString.size() != 7 || !allDigits(sString))
        return QString();
    sString += checkDigit(sString);
    QString out;
    out.reserve(11);
    out += u':';
    for (int i = 0; i < 4; ++i)
        out += setA(digitAt(sString, i));
    out += u'*';
    for (int i = 4; i < 8; ++i)
        out += setC(digitAt(sString, i));
    out += u'+';
    return out;
}

QString cString::EAN8(const QString &sString) const
{
    QString code = sString;
    return EAN8(code);
}

QString cString::EAN13(QString &sString) const
{
    if (sString.size() != 12 || !allDigits(sString))
        return QString();
    sString += checkDigit(sString);
    // Set of digits 3 to 7, chosen by the first digit (published EAN-13 parity table).
    static const char *const parity[10] = {"AAAAA", "ABABB", "ABBAB", "ABBBA", "BAABB",
                                           "BBAAB", "BBBAA", "BABAB", "BABBA", "BBABA"};
    const int first = digitAt(sString, 0);
    QString out;
    out.reserve(15);
    out += sString[0];
    out += setA(digitAt(sString, 1));
    for (int i = 2; i < 7; ++i) {
        const int d = digitAt(sString, i);
        out += parity[first][i - 2] == 'A' ? setA(d) : setB(d);
    }
    out += u'*';
    for (int i = 7; i < 13; ++i)
        out += setC(digitAt(sString, i));
    out += u'+';
    return out;
}

QString cString::EAN13(const QString &sString) const
{
    QString code = sString;
    return EAN13(code);
}

QString cString::AddOn(const QString &sString) const
{
    const qsizetype n = sString.size();
    if ((n != 2 && n != 5) || !allDigits(sString))
        return QString();
    static const char *const parity2[4] = {"AA", "AB", "BA", "BB"};
    static const char *const parity5[10] = {"BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA",
                                            "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};
    const char *pattern = nullptr;
    if (n == 2) {
        pattern = parity2[(digitAt(sString, 0) * 10 + digitAt(sString, 1)) % 4];
    } else {
        const int odd = digitAt(sString, 0) + digitAt(sString, 2) + digitAt(sString, 4);
        const int even = digitAt(sString, 1) + digitAt(sString, 3);
        pattern = parity5[(3 * odd + 9 * even) % 10];
    }
    QString out;
    out.reserve(2 * n);
    out += u'[';
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0)
            out += u'\\';
        const int d = digitAt(sString, i);
        out += pattern[i] == 'A' ? setA(d) : setB(d);
    }
    return out;
}
