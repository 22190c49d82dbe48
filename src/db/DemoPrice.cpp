#include "DemoPrice.h"

namespace db {

namespace {

const Decimal kCien(100);

Decimal utilidadSobreCosto(const DemoPrice &p)
{
    if ((p.publico / kCien).isZero() || (p.costo / kCien).isZero())
        return {};
    return p.margen / (p.costo / kCien);
}

void impuestos(DemoPrice &p)
{
    p.iva = p.ivaPorc / kCien * p.subTotal;
    p.total = p.iva + p.subTotal;
}

void comoPublico(DemoPrice &p)
{
    p.subTotal = p.publico * (kCien - p.descuento) / kCien;
    p.margen = p.subTotal - p.costo;
    p.utilidad = utilidadSobreCosto(p);
    impuestos(p);
}

} // namespace

DemoPrice DemoPrice::calcula(const QString &metodo, const DemoPrice &entrada)
{
    DemoPrice p = entrada;
    if (metodo == u"MARGEN") {
        p.publico = p.margen + p.costo;
        p.descuento = {};
        p.subTotal = p.publico;
        p.utilidad = utilidadSobreCosto(p);
        impuestos(p);
    } else if (metodo == u"UTILIDAD") {
        p.publico = (p.utilidad / kCien + Decimal(1)) * p.costo;
        p.descuento = {};
        p.subTotal = p.publico;
        p.margen = p.subTotal - p.costo;
        impuestos(p);
    } else if (metodo == u"FINANCIERO") {
        p.margen = p.utilidad * p.costo / kCien;
        p.subTotal = p.margen + p.costo;
        p.descuento = p.publico.isZero() ? Decimal() : (p.publico - p.subTotal) / (p.publico / kCien);
        if (p.descuento.isNegative()) {
            p.descuento = {};
            comoPublico(p);
        } else {
            impuestos(p);
        }
    } else {
        comoPublico(p);
    }
    for (Decimal *d : {&p.costo, &p.publico, &p.descuento, &p.subTotal, &p.margen, &p.utilidad, &p.ivaPorc,
                       &p.iva, &p.total})
        *d = d->round(2);
    return p;
}

} // namespace db
