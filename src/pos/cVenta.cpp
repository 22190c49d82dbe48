#include "cVenta.h"

#include "cObjectFactory.h"

#include "Engine.h"

cVenta::cVenta(QObject *parent) : QObject(parent) {}

const QStringList &cVenta::columnas()
{
    static const QStringList c = {
        QStringLiteral("Clave"),       QStringLiteral("Nombre"),     QStringLiteral("TallaClave"),
        QStringLiteral("TallaNombre"), QStringLiteral("ColorClave"), QStringLiteral("ColorNombre"),
        QStringLiteral("Cantidad"),    QStringLiteral("Precio"),     QStringLiteral("Descuento"),
        QStringLiteral("IVA"),         QStringLiteral("Importe"),    QStringLiteral("Total"),
        QStringLiteral("Referencia"),  QStringLiteral("Renglon"),    QStringLiteral("Modificado"),
        QStringLiteral("TipoPrecio"),  QStringLiteral("LoteSerie"),  QStringLiteral("ControlInv")};
    return c;
}

QStringList cVenta::celdas(const LineaVenta &l)
{
    return {l.clave,
            l.nombre,
            l.tallaClave,
            l.tallaNombre,
            l.colorClave,
            l.colorNombre,
            l.cantidad.toString(),
            l.precio.toString(2),
            l.descuento.toString(2),
            l.iva.toString(2),
            l.importe.toString(2),
            l.total.toString(2),
            l.referencia,
            QString::number(l.renglon),
            l.modificado ? QStringLiteral("S") : QStringLiteral("N"),
            l.tipoPrecio,
            l.loteSerie,
            l.controlInv};
}

void cVenta::load(const Datos &d)
{
    m_datos = d;
    m_entrega = d.entrega;
    m_origen = d.origen;
    m_detalle.clear();
    m_detalle.reserve(d.lineas.size());
    for (const LineaVenta &l : d.lineas)
        m_detalle.append(celdas(l));
    m_pagos = d.pagos;
    m_devoluciones = d.devoluciones;
    m_iva = d.iva;
    m_importe = d.importe;
    m_total = d.total;
    m_redondeo = d.redondeo;
    m_cambio = d.cambio;
    m_articulos = d.articulos;
    m_folio = d.folio;
    m_loaded = true;
}

QString cVenta::Detalle(int renglon, int columna) const
{
    if (renglon < 0 || renglon > m_detalle.size() || columna < 0 || columna >= columnas().size())
        vbs::raise(9);
    return renglon == 0 ? columnas().at(columna) : m_detalle.at(renglon - 1).at(columna);
}

QString cVenta::Pagos(int i) const
{
    if (i < 0 || i >= m_pagos.size())
        vbs::raise(9);
    return m_pagos.at(i);
}

QString cVenta::Devoluciones(int i) const
{
    if (i < 0 || i >= m_devoluciones.size())
        vbs::raise(9);
    return m_devoluciones.at(i);
}

QVariant cVenta::moneda(const Decimal &d)
{
    // Currency keeps four places: millionths / 100, rounded as "0.0000" would.
    return QVariant::fromValue(vbs::Value::currencyRaw(d.round(4).raw() / 100));
}

void registraScriptsVenta(cObjectFactory &factory)
{
    factory.registerClass(QStringLiteral("newcVenta"), [] { return new cVenta(); });
}
