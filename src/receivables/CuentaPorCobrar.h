#pragma once

#include "Decimal.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class ConnectionProvider;
class Prompter;
class cConfigure;

namespace db {
class Connection;
}

// The receivable maintenance rules (frmCobro) without widgets: add by hand, change, consult,
// cancel and delete one receivable of the session's warehouse, each write in one transaction.
class CuentaPorCobrar {
public:
    // What the form holds; numbers and dates as typed.
    struct Datos {
        qint64 clave = 0; // change: the receivable
        QString cliente;
        QString importe;
        QString referencia, referenciaAdic;
        QString estado;
        QString vencimiento; // change only; adding takes it from the client's credit period
    };
    struct Registro {
        qint64 clave = 0;
        QString cliente, nombreCliente;
        Decimal importe, pagado;
        QString referencia, referenciaAdic;
        QString estado;
        QVariant ventaAnio, ventaPago; // the sale payment that created it; null when by hand
        QDateTime registro, vencimiento, cobro;
    };
    struct Opcion {
        QString clave, nombre;
    };
    enum class Campo { Ninguno, Cliente, Importe, Estado, Vencimiento };

    // The states a receivable can be given by hand; collections and cancellation set the rest.
    static const QStringList &estadosCaptura();
    static const QString kAgregado;
    static const QString kCancelada;

    CuentaPorCobrar(ConnectionProvider &connections, cConfigure &config, Prompter &prompter);

    bool validaDatos(const Datos &datos, bool alta);
    Campo campoRechazado() const { return m_campo; }
    // The new folio, or nothing (said). *continuar: the user wants to add another one.
    std::optional<qint64> agregarRegistro(const Datos &datos, bool *continuar = nullptr);
    bool modificarRegistro(const Datos &datos);
    std::optional<Registro> consultarRegistro(qint64 clave);
    bool cancelarCobro(qint64 clave);
    // The receivable, its links and the payments made for it alone; a payment that also paid
    // other receivables keeps their part. Asks first.
    bool eliminarRegistro(qint64 clave);

    // Inserts a 'PENDIENTE'-like receivable inside the caller's transaction: folio from
    // "COBRANZA_<warehouse>_<year>", due date from the client's credit period. Throws db::DbError.
    static qint64 creaCuenta(db::Connection &c, const QString &almacen, const QString &cliente,
                             const Decimal &importe, const QString &referencia, const QString &referenciaAdic,
                             const QString &estado);

    QList<Opcion> clientes(); // throws db::DbError
    QList<Opcion> estados();  // estadosCaptura() with their names; throws db::DbError

private:
    bool rechaza(const QString &texto, Campo campo);
    std::optional<Registro> lee(db::Connection &c, qint64 clave);
    QString almacen() const;

    ConnectionProvider &m_connections;
    cConfigure &m_config;
    Prompter &m_prompter;
    Campo m_campo = Campo::Ninguno;
};
