#pragma once

#include "Decimal.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The data of a sale while it is captured and paid: the lines of the grid, the totals and the
// payment lines. Plain values shared by the capture rules, the payment window and the writer.

// One grid line. Percentages are whole percents (16 means 16 %).
struct LineaVenta {
    QString clave;
    QString nombre;
    QString tallaClave, tallaNombre;
    QString colorClave, colorNombre;
    Decimal cantidad;
    Decimal precio;    // unit public price without tax, before discount
    Decimal descuento; // percentage
    Decimal iva;       // tax percentage
    Decimal importe;   // unit price to pay: discount and tax applied, "0.00"
    Decimal total;     // line total, "0.00" (rounded by the line rule when it is on)
    QString referencia;
    int renglon = 0;
    bool modificado = false;                  // the cashier changed price, discount or tax
    QString tipoPrecio = QStringLiteral("N"); // 'NORMAL', 'OFERTA', 'LISTA' ... or "N" typed by hand
    QString loteSerie;
    QString controlInv; // the article's cinv_Clave
    int numeroPrecio = 0; // precio_Clave of the price row that priced it (the offer whose units it takes)

    friend bool operator==(const LineaVenta &, const LineaVenta &) = default;
};

// A rounding rule: on/off, the step and whether it rounds to the nearer step (half mode) or
// always up to the next one.
struct ReglaRedondeo {
    bool activo = false;
    Decimal paso;
    bool medio = false;
};

// The tax of one rate over the sale: the base (line totals without their tax) and the amount.
struct ImpuestoTasa {
    Decimal base;
    Decimal importe;
    friend bool operator==(const ImpuestoTasa &, const ImpuestoTasa &) = default;
};

struct TotalesVenta {
    Decimal articulos;       // Σ quantity
    Decimal bruto;           // Σ quantity × price with tax, before discount
    Decimal importe;         // Σ line totals (stored as venta_importe)
    Decimal neto;            // Σ quantity × unit price to pay
    Decimal redondeo;        // what rounding added
    Decimal descuentoLineas; // what the line discounts took off
    Decimal impuesto;        // the tax amount in money (stored as venta_IVA)
    QMap<Decimal, ImpuestoTasa> impuestoPorTasa; // by tax percentage
    Decimal descuentoCliente;                    // the client's discount percentage
    Decimal total;                               // to pay: importe less the client's discount, "0.00"
};

// A payment line as the payment window hands it over: eleven fields, in this order.
struct PagoVenta {
    QString tipo; // tpago_Clave
    Decimal importe;
    QString banco;
    QString cheque;
    QString tarjeta;
    QString folioTarjeta;
    QString moneda;
    Decimal importeMoneda;
    Decimal tipoCambio;
    QString referencia;
    QString referenciaAdic;

    // The tab-separated text of the payment line (numbers as plain decimals).
    QString texto() const;
    // Reads a tab-separated payment line; missing trailing fields stay empty, numbers that are not
    // numbers leave *ok false.
    static PagoVenta deTexto(const QString &texto, bool *ok = nullptr);
    // The state a payment of this kind is stored with.
    static QString estadoInicial(const QString &tipo);

    friend bool operator==(const PagoVenta &, const PagoVenta &) = default;
};
