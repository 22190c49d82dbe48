// Amounts in Spanish words, as printed on tickets ("UN MIL DOSCIENTOS CINCUENTA PESOS 50/100").
#include "cString.h"

#include "cStringPrivate.h"

namespace {

const QLatin1StringView kUnidades[21] = {
    QLatin1StringView(""),          QLatin1StringView("UN"),         QLatin1StringView("DOS"),
    QLatin1StringView("TRES"),      QLatin1StringView("CUATRO"),     QLatin1StringView("CINCO"),
    QLatin1StringView("SEIS"),      QLatin1StringView("SIETE"),      QLatin1StringView("OCHO"),
    QLatin1StringView("NUEVE"),     QLatin1StringView("DIEZ"),       QLatin1StringView("ONCE"),
    QLatin1StringView("DOCE"),      QLatin1StringView("TRECE"),      QLatin1StringView("CATORCE"),
    QLatin1StringView("QUINCE"),    QLatin1StringView("DIECISEIS"),  QLatin1StringView("DIECISIETE"),
    QLatin1StringView("DIECIOCHO"), QLatin1StringView("DIECINUEVE"), QLatin1StringView("VEINTE"),
};

// Index 10 ("CIEN") is never reached: hundreds are taken out first.
const QLatin1StringView kDecenas[11] = {
    QLatin1StringView(""),        QLatin1StringView(""),         QLatin1StringView("VEINTI"),
    QLatin1StringView("TREINTA"), QLatin1StringView("CUARENTA"), QLatin1StringView("CINCUENTA"),
    QLatin1StringView("SESENTA"), QLatin1StringView("SETENTA"),  QLatin1StringView("OCHENTA"),
    QLatin1StringView("NOVENTA"), QLatin1StringView("CIEN"),
};

const QLatin1StringView kCentenas[10] = {
    QLatin1StringView(""),
    QLatin1StringView("CIENTO"),
    QLatin1StringView("DOSCIENTOS"),
    QLatin1StringView("TRESCIENTOS"),
    QLatin1StringView("CUATROCIENTOS"),
    QLatin1StringView("QUINIENTOS"),
    QLatin1StringView("SEISCIENTOS"),
    QLatin1StringView("SETECIENTOS"),
    QLatin1StringView("OCHOCIENTOS"),
    QLatin1StringView("NOVECIENTOS"),
};

void trimInPlace(QString &s)
{
    const QStringView t = cstring_detail::trimBlanks(s);
    if (t.size() != s.size())
        s = t.toString();
}

// The routine without currency: the words of n followed by one blank. Counts of millions and
// thousands go through it again, which is why "UN MIL" keeps its "UN".
QString enLetras(qint64 n)
{
    QString acc;
    if (n == 0)
        acc = QStringLiteral("CERO");
    const qint64 millones = n / 1000000;
    n %= 1000000;
    const qint64 miles = n / 1000;
    n %= 1000;
    const int cientos = int(n / 100);
    n %= 100;
    int decenas = 0;
    // 11 to 20 have their own words in the units table.
    if (n == 10 || n > 20) {
        decenas = int(n / 10);
        n %= 10;
    }
    const int unidades = int(n);

    if (millones >= 1) {
        acc = enLetras(millones);
        trimInPlace(acc);
        acc += millones >= 2 ? QLatin1StringView(" MILLONES ") : QLatin1StringView(" MILLON ");
    }
    if (miles >= 1) {
        acc += enLetras(miles);
        trimInPlace(acc);
        acc += QLatin1StringView(" MIL ");
    }
    if (cientos >= 1) {
        if (cientos == 1 && decenas == 0 && unidades == 0) {
            acc += QLatin1StringView("CIEN");
        } else {
            acc += kCentenas[cientos];
            acc += u' ';
        }
    }
    if (decenas == 0) {
        acc += kUnidades[unidades];
    } else if (decenas == 1) {
        acc += QLatin1StringView("DIEZ");
    } else {
        acc += kDecenas[decenas]; // "VEINTI" joins what follows
        if (decenas >= 3 && unidades != 0)
            acc += QLatin1StringView(" Y ");
        if (unidades != 0)
            acc += kUnidades[unidades];
    }
    trimInPlace(acc);
    acc += u' ';
    return acc;
}

} // namespace

QString cString::NroEnLetras(const Decimal &curNumero, bool blnO_Final, const QString &sMoneda) const
{
    const bool negative = curNumero.isNegative();
    const Decimal amount = curNumero.abs();
    const Decimal whole = amount.truncated(0);
    qint64 entero = whole.toInt64();
    qint64 centavos = ((amount - whole) * Decimal(100)).round(0, Decimal::HalfEven).toInt64();
    if (centavos == 100) {
        // .995 rounds up to a whole unit; the original printed "100/100".
        ++entero;
        centavos = 0;
    }

    QString text = enLetras(entero);
    trimInPlace(text);
    if (blnO_Final) {
        text += u' ';
        text += sMoneda;
        text += u' ';
        text += QString::number(centavos).rightJustified(2, u'0');
        text += QLatin1StringView("/100");
    } else {
        text += u' ';
    }
    if (negative)
        return u'(' + text + u')';
    return text;
}

QString cString::NroEnLetras(const QVariant &curNumero, bool blnO_Final, const QString &sMoneda) const
{
    return NroEnLetras(Decimal::fromVariant(curNumero), blnO_Final, sMoneda);
}
