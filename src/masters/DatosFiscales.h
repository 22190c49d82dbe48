#pragma once

#include <QChar>
#include <QString>

// The checks of Mexican tax data shared by the client and supplier masters: the RFC of persons
// (13 characters) and companies (12), with the SAT's check digit; the CURP with RENAPO's; the
// postal code. A wrong check digit is a warning (the key may be right and the typing wrong, or
// the other way round), a wrong shape is a refusal.
class DatosFiscales {
public:
    enum class Resultado {
        Valido,
        Generico,         // XAXX010101000 (general public) or XEXX010101000 (foreign)
        DigitoIncorrecto, // right shape, the last character does not match
        FormatoInvalido,
    };

    static QString rfcPublicoGeneral() { return QStringLiteral("XAXX010101000"); }
    static QString rfcExtranjero() { return QStringLiteral("XEXX010101000"); }

    // Upper case, without the blanks and hyphens people type between the parts.
    static QString normaliza(const QString &texto);

    static Resultado revisaRfc(const QString &rfc);
    // 13 characters: a person; 12: a company.
    static bool esPersonaFisica(const QString &rfc) { return normaliza(rfc).size() == 13; }
    // The check digit of an RFC's first 12 (person) or 11 (company) characters; a null QChar for
    // characters outside the SAT's table.
    static QChar digitoRfc(const QString &sinDigito);

    static Resultado revisaCurp(const QString &curp);
    // The check digit of a CURP's first 17 characters; a null QChar when one is not in the table.
    static QChar digitoCurp(const QString &sinDigito);

    static bool codigoPostalValido(const QString &cp);
};
