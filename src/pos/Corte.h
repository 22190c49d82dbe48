#pragma once

#include "Decimal.h"

#include <QDateTime>
#include <QString>

#include <optional>

class ConnectionProvider;
class Prompter;
class cConfigure;

namespace db {
class Connection;
}

// The cash cut of this terminal: finding the open one (which the counter asks before charging)
// and opening a new one (frmCorteIni). A cut is named by its code terminal-year-number, kept in
// the setting "CORTE-CAJA".
class Corte {
public:
    static const QString kCorteInvalido;

    struct Clave {
        QString terminal;
        int anio = 0;
        int numero = 0;
        friend bool operator==(const Clave &, const Clave &) = default;
    };
    struct Abierto {
        Clave clave;
        QDateTime fecha;
    };
    // What the opening window shows before the amount is typed.
    struct Apertura {
        QString almacen;
        QString terminal;
        QString usuario;
        QDateTime fecha; // server time
        int anio = 0;
        int numero = 0;
        std::optional<Decimal> importeSugerido; // the last cut's total, with ACUMULA-SALDO-CORTE-DE-CAJA
    };

    Corte(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    static QString codigo(const Clave &clave);
    // Splits a cut code; a terminal key may itself hold '-', so year and number are taken from
    // the right. Nothing when the code is not terminal-year-number.
    static std::optional<Clave> deCodigo(const QString &codigo);

    // The open cut of "TERMINAL" in "ALMACEN"; when there is one its code goes to "CORTE-CAJA".
    // Throws db::DbError.
    std::optional<Abierto> corteAbierto();
    // The lookup for a command that needs an open cut: false (with the message
    // "Corte de Caja invalido, aperture un corte de caja antes de continuar") when there is none.
    bool validaCorte();

    // The first step of opening: refuses a second open cut, draws the next number of the year.
    // Nothing (the refusal shown) when a cut cannot be opened.
    std::optional<Apertura> preparaApertura();
    // Opens the cut with the typed initial amount: the TCORTE row, its first movement (the
    // initial amount) and "CORTE-CAJA", all or nothing. False when refused or failed (shown).
    bool abre(const Apertura &apertura, const QString &importeInicial);
    // Inside a document's transaction: true when the cut is still open, and then its row stays
    // locked until the transaction ends, so a closing waits for the document (and a document
    // written after the closing finds the cut closed). Throws db::DbError.
    static bool bloqueaAbierto(db::Connection &c, const QString &almacen, const Clave &clave);

    // The refused field after abre returned false because of the amount.
    bool importeRechazado() const { return m_importeRechazado; }

private:
    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    bool m_importeRechazado = false;
};
