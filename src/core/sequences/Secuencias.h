#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

class ConnectionProvider;
class Prompter;

namespace db {
class Connection;
}

// Folios from the named sequences of tSecuencia, drawn by the server routine sp_generasecuencia:
// one call, one new number of the key, never the same to two workstations.
class Secuencias {
public:
    // What every program caller passes.
    // Folios are 64-bit integers end to end: a double would hand out inexact folios above 2^53.
    static constexpr qint64 kMinimo = 1;
    static constexpr qint64 kMaximo = 2147483647; // 2^31 - 1
    static constexpr qint64 kIncremento = 1;
    static constexpr qint64 kInicial = 1;

    // The documents of the key table; the key each one draws is clave().
    enum class Documento {
        Venta,             // "VENTA_" + warehouse
        VentaPendiente,    // "VENTAPENDIENTE"
        PagoVenta,         // "VPAGO_" + warehouse + "_" + year
        Cobranza,          // "COBRANZA_" + warehouse + "_" + year
        Cobro,             // "COBRO_" + warehouse + "_" + year
        Pago,              // "PAGO_" + warehouse + "_" + year
        Envio,             // "ENVIO_" + warehouse + "_" + year
        Devolucion,        // "DEVOLUCION_" + warehouse
        MovCaja,           // "MOV_CAJA_" + warehouse + "_" + terminal_year_cut (parte: CORTE-CAJA)
        MovAlmacen,        // "MOV_ALMACEN_" + warehouse
        MovAlmacenAnual,   // "MOV_ALMACEN_" + warehouse + "_" + year
        Pedido,            // "PED_" + warehouse + "_" + year
        FaltaProveedor,    // "FALTAPROVEEDOR_" + parte
        DevProveedor,      // "DEVPROVEEDOR_" + parte
        Comision,          // "COMISION_" + warehouse + "_" + parte (the period)
        CuentaBancaria,    // "CUENTABANCARIA_" + parte (the account)
        FacturaAutomatica, // "FOLIO-FACTURA-AUTOMATICO"
        TiempoAire,        // "TIEMPO-AIRE-FOLIO-" + year
        Receta,            // "RECETA-FOLIO" + year
        Agenda,            // "AGENDA" + year
    };

    Secuencias(ConnectionProvider &connections, Prompter &prompter);

    // On the shared connection (getConnection).
    qint64 getNextSequence(const QString &clave, qint64 valorIni = kMinimo, qint64 valorFin = kMaximo,
                           qint64 incremento = kIncremento, qint64 valorInicial = kInicial);
    // On the given connection: inside a document's open transaction the number is drawn in it,
    // and goes back to the sequence if that transaction rolls back. Throws db::DbError.
    static qint64 getNextSequence(db::Connection &connection, const QString &clave, qint64 valorIni = kMinimo,
                                  qint64 valorFin = kMaximo, qint64 incremento = kIncremento,
                                  qint64 valorInicial = kInicial);

    // Sets sec_Valor, the last value handed out; a failure goes to the error report. A key that
    // does not exist is refused with a message (nothing would be set).
    bool setSequenceValue(const QString &clave, qint64 valor);

    // The key of a document. year: fecha's "yyyy"; parte: see Documento.
    static QString clave(Documento documento, const QString &almacen = QString(),
                         const QDate &fecha = QDate(), const QString &parte = QString());
    // The year written in front of the value: 2009 and 15 give 200915.
    static qint64 folioConAnio(int anio, qint64 valor);
    static qint64 folioConAnio(const QDate &fecha, qint64 valor) { return folioConAnio(fecha.year(), valor); }

private:
    ConnectionProvider &m_connections;
    Prompter &m_prompter;
};
