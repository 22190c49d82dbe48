#pragma once

#include "Corte.h"
#include "Decimal.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace db {
class Connection;
}

// One line of the movement table of a cut: a cash movement, or the cut's sales or returns.
struct MovimientoResumen {
    qint64 numero = 0; // movc_Clave; 0 for the sales and returns not written yet
    QString concepto;  // concepto_Clave: a concept, 'VENTAS' or 'DEVOLUCIONES'
    QString nombre;
    bool ingreso = true; // the concept's sign is "+"
    Decimal importe;
    int documentos = -1; // sales or returns counted; -1 for a plain movement
};

// The amount received of one payment kind.
struct PagoRecibido {
    QString tipo; // tpago_Clave
    QString nombre;
    Decimal importe;
};

// One denomination of the cash count.
struct ArqueoFila {
    QString clave;
    Decimal valor;
    QString nombre;
    qint64 cantidad = 0;
    Decimal subtotal() const { return valor * Decimal(cantidad); }
};

// Everything the closing window, the cut report and the scripts show of a cut. An open cut is
// summarised from its movements, sales and returns, with nothing received or counted yet; a
// closed one is read back as its closing wrote it.
struct ResumenCorte {
    static const QString kVentas;       // "VENTAS"
    static const QString kDevoluciones; // "DEVOLUCIONES"

    QString almacen;
    Corte::Clave clave;
    QString estado; // ecorte_Clave
    QDateTime fecha, fechaFin;
    QString usuario, usuarioFin;
    int pendientes = 0; // held sales of the warehouse
    Decimal articulos;
    int ventas = 0;       // sales of the cut
    int devoluciones = 0; // returned lines of the cut
    Decimal importeVentas, importeDevoluciones;
    QList<MovimientoResumen> movimientos; // by number, then sales and returns
    QList<PagoRecibido> pagos;            // by kind name
    QList<ArqueoFila> arqueo;             // by value, highest first
    Decimal diferenciaGuardada;           // corte_Diferencia of a closed cut

    bool abierto() const { return estado == QLatin1String("ABIERTO"); }
    Decimal ingresos() const;
    Decimal egresos() const;
    Decimal total() const { return ingresos() - egresos(); } // the expected total
    Decimal recibido() const;                                // the counted amount: payments received
    Decimal efectivoArqueo() const;                          // the cash of the count
    Decimal diferencia() const { return recibido() - total(); }

    // Reads the cut; nothing when the warehouse has no such cut. Throws db::DbError.
    static std::optional<ResumenCorte> lee(db::Connection &c, const QString &almacen,
                                           const Corte::Clave &clave);
};
