#pragma once

#include "Venta.h"

// The arithmetic of the sale grid: the rounding routine, a line's unit price and total, the
// sale's totals and the card commission. No database and no messages: the capture rules call it
// after every change.
class CalculoVenta {
public:
    // The rounding routine: to the next step above (or, in half mode, to the nearer step; a rest
    // exactly half a step goes up). Whole values and a step of zero stay as they are. Negative
    // values round as their absolute value does, so a refund mirrors a sale.
    static Decimal redondea(const Decimal &valor, const Decimal &paso, bool medio);
    static Decimal redondea(const Decimal &valor, const ReglaRedondeo &regla)
    {
        return regla.activo ? redondea(valor, regla.paso, regla.medio) : valor;
    }

    // Importe = Precio × (100 − Descuento) / 100 × (1 + IVA / 100) to two places; Total =
    // Importe × Cantidad to two places, then by the line rule when it is on.
    static void calculaLinea(LineaVenta &linea, const ReglaRedondeo &porArticulo);

    // The totals over the lines (calculaGrid). With redondeaLineas each line total is rounded
    // again by the line rule before it is added. The tax is the money each line total carries at
    // its rate, kept per rate.
    static TotalesVenta calculaGrid(const QList<LineaVenta> &lineas, const ReglaRedondeo &porArticulo,
                                    const ReglaRedondeo &porVenta, const Decimal &descuentoCliente,
                                    bool redondeaLineas);

    // The card commission of p percent by the method of "COMISION-TARJETA-COBRO" (its first
    // letter): "C" appends a line for the concept, "A" raises every line, "D" raises the lines
    // with at least descuentoMinimo of discount. False (nothing changed) for any other method.
    // The caller recomputes the totals afterwards.
    static bool aplicaPorcentaje(QList<LineaVenta> &lineas, const QString &metodo, const QString &concepto,
                                 const Decimal &porcentaje, const TotalesVenta &totales,
                                 const Decimal &descuentoMinimo, const ReglaRedondeo &porArticulo);

private:
    // Raises a line to Importe × (1 + p/100) by recomputing its discount; a discount that comes
    // out negative (a surcharge) is kept, or set to 0 with sinNegativo.
    static void subeConDescuento(LineaVenta &linea, const Decimal &porcentaje, bool sinNegativo,
                                 const ReglaRedondeo &porArticulo);
};
