#include "DatosFiscales.h"

#include <QDate>
#include <QRegularExpression>

namespace {

// Both tables give each character its position as its value.
const QString kTablaRfc = QStringLiteral("0123456789ABCDEFGHIJKLMN&OPQRSTUVWXYZ Ñ");
const QString kTablaCurp = QStringLiteral("0123456789ABCDEFGHIJKLMNÑOPQRSTUVWXYZ");

// YYMMDD of a date that exists in one of the two centuries.
bool fechaValida(const QString &aammdd)
{
    const int aa = aammdd.left(2).toInt();
    const int mm = aammdd.mid(2, 2).toInt();
    const int dd = aammdd.mid(4, 2).toInt();
    return QDate(1900 + aa, mm, dd).isValid() || QDate(2000 + aa, mm, dd).isValid();
}

} // namespace

QString DatosFiscales::normaliza(const QString &texto)
{
    QString t = texto.toUpper();
    t.remove(u' ');
    t.remove(u'-');
    return t;
}

QChar DatosFiscales::digitoRfc(const QString &sinDigito)
{
    // A company's RFC is one character short: it counts as if a blank led it.
    const QString base = sinDigito.size() == 11 ? QStringLiteral(" ") + sinDigito : sinDigito;
    if (base.size() != 12)
        return {};
    int suma = 0;
    for (int i = 0; i < 12; ++i) {
        const int valor = int(kTablaRfc.indexOf(base.at(i)));
        if (valor < 0)
            return {};
        suma += valor * (13 - i);
    }
    const int residuo = suma % 11;
    if (residuo == 0)
        return u'0';
    const int digito = 11 - residuo;
    return digito == 10 ? QChar(u'A') : QChar(u'0' + digito);
}

DatosFiscales::Resultado DatosFiscales::revisaRfc(const QString &texto)
{
    const QString rfc = normaliza(texto);
    if (rfc == rfcPublicoGeneral() || rfc == rfcExtranjero())
        return Resultado::Generico;
    static const QRegularExpression forma(QStringLiteral("^[A-ZÑ&]{3,4}[0-9]{6}[A-Z0-9]{2}[0-9A]$"));
    if (!forma.match(rfc).hasMatch() || (rfc.size() != 12 && rfc.size() != 13))
        return Resultado::FormatoInvalido;
    const int letras = int(rfc.size()) - 9;
    if (!fechaValida(rfc.mid(letras, 6)))
        return Resultado::FormatoInvalido;
    return digitoRfc(rfc.left(rfc.size() - 1)) == rfc.back() ? Resultado::Valido : Resultado::DigitoIncorrecto;
}

QChar DatosFiscales::digitoCurp(const QString &sinDigito)
{
    if (sinDigito.size() != 17)
        return {};
    int suma = 0;
    for (int i = 0; i < 17; ++i) {
        const int valor = int(kTablaCurp.indexOf(sinDigito.at(i)));
        if (valor < 0)
            return {};
        suma += valor * (18 - i);
    }
    const int digito = (10 - suma % 10) % 10;
    return QChar(u'0' + digito);
}

DatosFiscales::Resultado DatosFiscales::revisaCurp(const QString &texto)
{
    const QString curp = normaliza(texto);
    // Initials, birth date, sex (X since 2024 for non-binary), state of birth (NE: born abroad),
    // inner consonants, the homonym character (digit before 2000, letter after) and the digit.
    static const QRegularExpression forma(QStringLiteral(
        "^[A-Z][AEIOUX][A-Z]{2}[0-9]{6}[HMX](AS|BC|BS|CC|CL|CM|CS|CH|DF|DG|GT|GR|HG|JC|MC|MN|MS|NT|NL|OC|PL|QT|QR|SP|SL|"
        "SR|TC|TS|TL|VZ|YN|ZS|NE)[B-DF-HJ-NP-TV-ZÑ]{3}[A-Z0-9][0-9]$"));
    if (!forma.match(curp).hasMatch() || !fechaValida(curp.mid(4, 6)))
        return Resultado::FormatoInvalido;
    return digitoCurp(curp.left(17)) == curp.back() ? Resultado::Valido : Resultado::DigitoIncorrecto;
}

bool DatosFiscales::codigoPostalValido(const QString &cp)
{
    static const QRegularExpression forma(QStringLiteral("^[0-9]{5}$"));
    return forma.match(cp.trimmed()).hasMatch();
}
