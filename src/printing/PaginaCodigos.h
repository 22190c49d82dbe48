#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// The character table a receipt printer prints with, and the text encoded for it. CP858 (CP850
// with the euro sign) is the default: it holds every Spanish letter, the peso sign and the
// box-drawing characters, and nearly every ESC/POS printer has it. A character the table lacks
// prints as "?".
class PaginaCodigos {
public:
    // "CP858", "CP850" or "CP1252", optionally followed by ":n" to select the table with ESC t n
    // on printers that number it differently; nothing for an unknown name.
    static std::optional<PaginaCodigos> porNombre(const QString &nombre);
    static PaginaCodigos cp858();
    // The names porNombre knows.
    static QStringList disponibles();

    QString nombre() const { return m_nombre; }
    // n of ESC t n, which selects this table on the printer (Epson numbering by default).
    int numeroEscPos() const { return m_numero; }
    QByteArray codifica(const QString &texto) const;

private:
    PaginaCodigos(QString nombre, int numero, const char16_t *alta) : m_nombre(std::move(nombre)), m_numero(numero), m_alta(alta) {}

    QString m_nombre;
    int m_numero;
    const char16_t *m_alta; // the characters of bytes 0x80 to 0xFF
};
