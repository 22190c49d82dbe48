#include "Ean13.h"

namespace db {

int Ean13::checkDigit(QStringView digits)
{
    if (digits.size() != 12)
        return -1;
    int sum = 0;
    for (qsizetype i = 0; i < 12; ++i) {
        const QChar c = digits[i];
        if (c < u'0' || c > u'9')
            return -1;
        sum += (c.unicode() - u'0') * (i % 2 == 0 ? 1 : 3);
    }
    return (10 - sum % 10) % 10;
}

QString Ean13::complete(const QString &twelveDigits)
{
    return twelveDigits + QString::number(checkDigit(twelveDigits));
}

bool Ean13::isValid(QStringView code)
{
    return code.size() == 13 && checkDigit(code.first(12)) == code[12].unicode() - u'0';
}

} // namespace db
