#pragma once

#include <QDate>
#include <QString>

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
    static constexpr double kMinimo = 1;
    static constexpr double kMaximo = 2147483647; // 2^31 - 1
    static constexpr double kIncremento = 1;
    static constexpr double kInicial = 1;

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
    double getNextSequence(const QString &clave, double valorIni = kMinimo, double valorFin = kMaximo,
                           double incremento = kIncremento, double valorInicial = kInicial);
    // On the given connection: inside a document's open transaction the number is drawn in it,
    // and goes back to the sequence if that transaction rolls back. Throws db::DbError.
    static double getNextSequence(db::Connection &connection, const QString &clave, double valorIni = kMinimo,
                                  double valorFin = kMaximo, double incremento = kIncremento,
                                  double valorInicial = kInicial);

    // Sets sec_Valor, the last value handed out; a failure goes to the error report.
    bool setSequenceValue(const QString &clave, double valor);

    // The key of a document. year: fecha's "yyyy"; parte: see Documento.
    static QString clave(Documento documento, const QString &almacen = QString(),
                         const QDate &fecha = QDate(), const QString &parte = QString());
    // The year written in front of the value: 2009 and 15 give 200915.
    static qint64 folioConAnio(int anio, double valor);
    static qint64 folioConAnio(const QDate &fecha, double valor) { return folioConAnio(fecha.year(), valor); }

private:
    ConnectionProvider &m_connections;
    Prompter &m_prompter;
};
