#pragma once

#include "Venta.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace db {
class Connection;
}

// The plain data of each narrow-paper document, as the printer lays it out. A missing date is
// the printer's clock; a missing terminal or user is the session's ("TERMINAL", "USUARIO").

// A sale, a short ticket, a note, a quote or a held sale.
struct TicketVenta {
    QList<LineaVenta> lineas;
    Decimal importe;   // the sale amount
    Decimal total;     // to pay
    Decimal redondeo;  // what rounding added
    Decimal cambio;
    Decimal articulos; // units sold
    QList<PagoVenta> pagos;
    qint64 folio = 0;
    QDateTime fecha;
    QString terminal, usuario;
    QString cliente; // the held sale's client (full form)

    // A written sale read back for a reprint: its lines, payments, totals, date, terminal and
    // user as stored. Nothing when the warehouse has no sale with that folio.
    static std::optional<TicketVenta> lee(db::Connection &c, const QString &almacen, qint64 folio);
};

// A customer return.
struct DevolucionTicket {
    qint64 folio = 0;
    QList<LineaVenta> lineas;
    Decimal importe;   // credited
    Decimal articulos; // units returned
    QDateTime fecha;
    QString terminal, usuario;
};

// An airtime top-up or its reversal.
struct TiempoAireTicket {
    qint64 folio = 0; // taire_Clave
    QDateTime fecha;  // the server's time of the top-up
    QString telefono;
    Decimal monto;
    QString transaccion, operacion, accion, verificacion;
    QString comentario; // the product's comment
    bool copia = false; // a reprint
    QString terminal, usuario;
};

// One cash movement of a cut.
struct MovimientoCajaTicket {
    QString corte; // cut code terminal-year-number
    int movimiento = 0;
    QString concepto; // concept name
    Decimal importe;
    QDateTime fecha;
    QString terminal, usuario;

    // A movement as stored in tMovCaja; nothing when there is no such row.
    static std::optional<MovimientoCajaTicket> lee(db::Connection &c, const QString &almacen, const QString &terminal,
                                                   int anio, int numero, int movimiento);
};

// A cash cut as its report prints it.
struct CorteTicket {
    struct Movimiento {
        QString concepto;
        Decimal importe;
        bool ingreso = true; // a "+" concept; expenses are taken from the drawer
    };
    struct Arqueo {
        Decimal cantidad; // notes or coins counted
        Decimal valor;    // of each
    };

    QString terminal;
    int anio = 0, numero = 0;
    QDateTime fecha; // of the report
    QString usuario;
    Decimal articulos;
    int ventas = 0, devoluciones = 0;
    QList<Movimiento> movimientos;
    QList<Arqueo> arqueo;
    // Cash counted when no count by denomination is at hand (a reprint reads it from the amounts
    // received); otherwise the count's sum.
    std::optional<Decimal> efectivo;

    Decimal ingresos() const;
    Decimal egresos() const;
    Decimal efectivoContado() const;

    // A cut as stored (TCORTE, its tMovCaja rows with their concepts' signs, its sales and the
    // cash received of tCorteTipoPago); nothing when the cut does not exist. The count by
    // denomination is not stored, so a reprint shows only the cash total.
    static std::optional<CorteTicket> lee(db::Connection &c, const QString &almacen, const QString &terminal, int anio,
                                          int numero);
};

// A purchase order.
struct PedidoTicket {
    struct Linea {
        QString clave, nombre;
        Decimal normal, oferta; // units at the normal price and on offer
    };
    QString numero;
    QString proveedor;
    QDateTime fechaSolicitud;
    QList<Linea> lineas;
};

// A supplier's shortage list.
struct FaltantesTicket {
    struct Linea {
        QString clave, nombre;
        Decimal cantidad;
    };
    QString proveedor;
    QList<Linea> lineas;
    QDateTime fecha;
};
