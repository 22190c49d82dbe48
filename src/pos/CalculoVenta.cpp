#include "CalculoVenta.h"

namespace {

const Decimal kCien(100);

Decimal dos(const Decimal &d)
{
    return d.round(2);
}

Decimal factorImpuesto(const Decimal &iva)
{
    return Decimal(1) + iva / kCien;
}

} // namespace

Decimal CalculoVenta::redondea(const Decimal &valor, const Decimal &paso, bool medio)
{
    if (paso.sign() <= 0)
        return valor;
    if (valor.isNegative())
        return -redondea(-valor, paso, medio);
    const Decimal entero = valor.truncated();
    const Decimal fraccion = valor - entero;
    if (fraccion.isZero())
        return valor;
    // Whole steps that fit in the fraction, and what is left of it.
    const Decimal pasos = (fraccion / paso).truncated();
    const Decimal resto = fraccion - pasos * paso;
    if (resto.isZero())
        return valor;
    const Decimal falta = paso - resto;
    if (!medio || falta <= paso / Decimal(2))
        return entero + (pasos + Decimal(1)) * paso;
    return entero + pasos * paso;
}

void CalculoVenta::calculaLinea(LineaVenta &linea, const ReglaRedondeo &porArticulo)
{
    linea.importe = dos(linea.precio * (kCien - linea.descuento) / kCien * factorImpuesto(linea.iva));
    linea.total = redondea(dos(linea.importe * linea.cantidad), porArticulo);
}

TotalesVenta CalculoVenta::calculaGrid(const QList<LineaVenta> &lineas, const ReglaRedondeo &porArticulo,
                                       const ReglaRedondeo &porVenta, const Decimal &descuentoCliente,
                                       bool redondeaLineas)
{
    TotalesVenta t;
    for (const LineaVenta &l : lineas) {
        t.articulos += l.cantidad;
        t.bruto += l.cantidad * l.precio * factorImpuesto(l.iva);
        const Decimal total = redondeaLineas ? redondea(l.total, porArticulo) : l.total;
        t.importe += total;
        t.neto += l.cantidad * l.importe;
        // The line total holds its tax: base = total / (1 + rate), the rest is tax.
        const Decimal base = dos(total / factorImpuesto(l.iva));
        ImpuestoTasa &tasa = t.impuestoPorTasa[l.iva];
        tasa.base += base;
        tasa.importe += total - base;
        t.impuesto += total - base;
    }
    if (porVenta.activo) {
        const Decimal importe = redondea(t.importe, porVenta);
        t.redondeo = importe - t.importe;
        t.bruto = redondea(t.bruto, porVenta);
        t.importe = importe;
        t.descuentoLineas = redondea(t.bruto - t.importe, porVenta);
    } else {
        t.redondeo = t.importe - t.neto;
        t.descuentoLineas = t.bruto - t.importe;
    }
    t.descuentoCliente = descuentoCliente;
    t.total = dos(t.importe - t.importe * descuentoCliente / kCien);
    return t;
}

void CalculoVenta::subeConDescuento(LineaVenta &linea, const Decimal &porcentaje, bool sinNegativo,
                                    const ReglaRedondeo &porArticulo)
{
    if (linea.precio.isZero())
        return; // nothing to raise, and no discount can be derived from a zero price
    const Decimal objetivo = linea.importe * (Decimal(1) + porcentaje / kCien);
    Decimal descuento = (Decimal(1) - (objetivo / factorImpuesto(linea.iva)) / linea.precio) * kCien;
    if (sinNegativo && descuento.isNegative())
        descuento = Decimal();
    linea.descuento = dos(descuento);
    linea.precio = dos(linea.precio);
    linea.iva = dos(linea.iva);
    calculaLinea(linea, porArticulo);
}

bool CalculoVenta::aplicaPorcentaje(QList<LineaVenta> &lineas, const QString &metodo, const QString &concepto,
                                    const Decimal &porcentaje, const TotalesVenta &totales,
                                    const Decimal &descuentoMinimo, const ReglaRedondeo &porArticulo)
{
    const QChar m = metodo.trimmed().isEmpty() ? QChar() : metodo.trimmed().at(0).toUpper();
    if (m == u'C') {
        LineaVenta l;
        l.clave = concepto;
        l.nombre = concepto;
        l.cantidad = Decimal(1);
        l.precio = dos((totales.importe - totales.redondeo) * porcentaje / kCien);
        l.tipoPrecio = QStringLiteral("N");
        l.renglon = int(lineas.size()) + 1;
        calculaLinea(l, porArticulo);
        lineas << l;
        return true;
    }
    if (m == u'A') {
        for (LineaVenta &l : lineas) {
            if (l.descuento.sign() <= 0) {
                l.precio = dos(l.precio * (Decimal(1) + porcentaje / kCien));
                l.descuento = dos(l.descuento);
                l.iva = dos(l.iva);
                calculaLinea(l, porArticulo);
            } else {
                subeConDescuento(l, porcentaje, false, porArticulo);
            }
        }
        return true;
    }
    if (m == u'D') {
        for (LineaVenta &l : lineas)
            if (l.descuento >= descuentoMinimo)
                subeConDescuento(l, porcentaje, true, porArticulo);
        return true;
    }
    return false;
}
