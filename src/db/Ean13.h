#pragma once

#include <QString>

namespace db {

// EAN-13 bar codes: twelve digits and the check digit.
struct Ean13 {
    // The check digit of twelve digits; -1 when the text is not twelve digits.
    static int checkDigit(QStringView twelveDigits);
    static QString complete(const QString &twelveDigits);
    static bool isValid(QStringView code);
};

} // namespace db
