#pragma once

#include "Cobro.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

class CobroDoc;
class ConnectionProvider;
class Prompter;
class cConfigure;

namespace db {
class Connection;
}

// The receivables window's rules (frmCtasXCobrar) without widgets: the list and its filters, the
// client's credit notes and their commands, and collecting: the checks of the selection, the
// payment dialog, and the writer (procesaPagosDeVenta) that stores the payments, their links to
// the receivables and the receivables' new amounts and states in one transaction.
class Cobranza {
public:
    static const QString kTodos; // "<TODOS>": every client
    static const QString kExito;
    static const QString kErrorAlGuardar;

    struct Filtro {
        QDate desde, hasta; // registration dates, both days included
        QString cliente;    // empty or kTodos: every client
        QString estado;     // empty: every state
    };
    // One row of the list, in its columns' order.
    struct Fila {
        QDateTime fecha;
        QString cliente, nombreCliente;
        qint64 clave = 0;
        Decimal importe, pagado;
        QString referencia, referenciaAdic;
        QDateTime fechaPago;
        QString estado, nombreEstado;
        QVariant ventaAnio, ventaNumero; // the sale payment that created it; null when by hand
        QDateTime vencimiento;
    };
    struct Opcion {
        QString clave, nombre;
    };
    // Shows the payment dialog over the prepared rules; true when the user accepted it.
    using Dialogo = std::function<bool(CobroDoc &)>;

    Cobranza(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    // Ordered by registration. These throw db::DbError (the window reports it).
    QList<Fila> lista(const Filtro &filtro);
    QList<NotaCobro> notas(const QString &cliente);
    QList<Opcion> clientes(); // the clients with receivables in the warehouse
    QList<Opcion> estados();  // tEstadoCobro

    // cmdCobrar: checks the selected notes and receivables (read again, not trusted from the
    // list), fills the dialog, shows it and writes what it accepted. True when a payment was
    // written ("Pago efectuado con éxito" said).
    bool cmdCobrar(const QList<qint64> &cuentas, const QList<qint64> &notas, const Dialogo &dialogo);
    // Writes an accepted dialog: every payment line, then its shares of each receivable, all in
    // one transaction; the folios go into the lines' "Prorrateo". False (said) when nothing was
    // written.
    bool procesaPagosDeVenta(CobroDoc &doc);

    // The credit note commands; each asks first, checks every note and changes all or none.
    bool cmdAutorizarNota(const QList<qint64> &notas);
    bool cmdCancelarNota(const QList<qint64> &notas);
    bool cmdEliminarNota(const QList<qint64> &notas);
    // A new credit note of the client, 'REGISTRADA'; its folio, or nothing (said).
    std::optional<qint64> registraNota(const QString &cliente, const Decimal &importe,
                                       const QString &concepto);

    // Adds amount to a receivable's collected amount and sets its state, inside the caller's
    // transaction; refuses (throws Rechazo) a receivable that is no longer open or would be paid
    // over its amount. Collections and returns share it.
    struct Rechazo {
        QString texto;
    };
    static void abona(db::Connection &c, const QString &almacen, qint64 cuenta, const Decimal &importe,
                      const QDateTime &fecha);

private:
    std::optional<NotaCobro> leeNota(db::Connection &c, qint64 clave);
    bool cambiaNotas(const QList<qint64> &notas, const QString &pregunta,
                     const std::function<bool(db::Connection &, const NotaCobro &)> &cambia);
    QString almacen() const;

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
};
