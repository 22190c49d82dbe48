#include "Precio.h"

#include "cCode.h"

#include "Recordset.h"

namespace {

const Decimal kCien(100);

// Utility over cost, guarded against a zero public price or cost.
Decimal utilidadDe(const Precio &p)
{
    if ((p.publico / kCien).isZero() || (p.costo / kCien).isZero())
        return Decimal();
    return p.margen / (p.costo / kCien);
}

void impuestoYTotal(Precio &p)
{
    p.impuestoImporte = p.impuestoPorcentaje / kCien * p.subTotal;
    p.total = p.impuestoImporte + p.subTotal;
}

void publico(Precio &p)
{
    p.subTotal = p.publico * (kCien - p.descuento) / kCien;
    p.margen = p.subTotal - p.costo;
    p.utilidad = utilidadDe(p);
    impuestoYTotal(p);
}

const char *const kNombres[] = {"Costo",    "Publico",  "Descuento",          "SubTotal",        "Margen",
                                "Utilidad", "ImpuestoPorcentaje", "ImpuestoImporte", "Total"};

} // namespace

namespace {

Precio leePrecio(const db::Recordset &rs, const char *const columnas[9])
{
    Precio p;
    Decimal *campos[] = {&p.costo,    &p.publico,  &p.descuento,          &p.subTotal,        &p.margen,
                         &p.utilidad, &p.impuestoPorcentaje, &p.impuestoImporte, &p.total};
    for (int i = 0; i < 9; ++i)
        *campos[i] = rs.decimal(QLatin1String(columnas[i]));
    return p;
}

} // namespace

Precio Precio::deArticulo(const db::Recordset &rs)
{
    static const char *const columnas[9] = {"art_Costo",  "art_Importe",  "art_Descuento", "art_SubTotal", "art_Margen",
                                            "art_Utilidad", "art_IVAPorc", "art_IVA",       "art_Total"};
    return leePrecio(rs, columnas);
}

Precio Precio::deFilaPrecio(const db::Recordset &rs)
{
    static const char *const columnas[9] = {"art_Costo",       "precio_Importe", "precio_Descuento",
                                            "precio_SubTotal", "precio_Margen",  "precio_Utilidad",
                                            "precio_IVAPorc",  "precio_IVA",     "precio_Total"};
    return leePrecio(rs, columnas);
}

Precio Precio::redondeado() const
{
    Precio r;
    r.costo = costo.round(2);
    r.publico = publico.round(2);
    r.descuento = descuento.round(2);
    r.subTotal = subTotal.round(2);
    r.margen = margen.round(2);
    r.utilidad = utilidad.round(2);
    r.impuestoPorcentaje = impuestoPorcentaje.round(2);
    r.impuestoImporte = impuestoImporte.round(2);
    r.total = total.round(2);
    return r;
}

bool CalculoPrecio::esInterno(const QString &metodo)
{
    static const QStringList internos = {QString(), QStringLiteral("FIJO"), QStringLiteral("PUBLICO"),
                                         QStringLiteral("MARGEN"), QStringLiteral("UTILIDAD"),
                                         QStringLiteral("FINANCIERO")};
    return internos.contains(metodo.trimmed().toUpper());
}

QList<Cifra> CalculoPrecio::entradas(const QString &metodo)
{
    const QString m = metodo.trimmed().toUpper();
    if (m == QLatin1String("MARGEN"))
        return {Cifra::Margen};
    if (m == QLatin1String("UTILIDAD"))
        return {Cifra::Utilidad};
    if (m == QLatin1String("FINANCIERO"))
        return {Cifra::Utilidad, Cifra::Publico};
    if (m.isEmpty() || m == QLatin1String("FIJO") || m == QLatin1String("PUBLICO"))
        return {Cifra::Publico};
    return {};
}

QStringList CalculoPrecio::valoresScript()
{
    QStringList out{QStringLiteral("CambioPrecio.Value")};
    for (const char *n : kNombres)
        out << QLatin1String(n) + QStringLiteral(".Value");
    return out;
}

bool CalculoPrecio::calculaPrecio(const QString &metodo, Precio &precio) const
{
    const QString m = metodo.trimmed().toUpper();
    if (!esInterno(m))
        return porScript(metodo.trimmed(), precio);
    Precio p = precio;
    try {
        if (m == QLatin1String("MARGEN")) {
            p.publico = p.margen + p.costo;
            p.descuento = Decimal();
            p.subTotal = p.publico;
            p.utilidad = utilidadDe(p);
            impuestoYTotal(p);
        } else if (m == QLatin1String("UTILIDAD")) {
            p.publico = (p.utilidad / kCien + Decimal(1)) * p.costo;
            p.descuento = Decimal();
            p.subTotal = p.publico;
            p.margen = p.subTotal - p.costo;
            impuestoYTotal(p);
        } else if (m == QLatin1String("FINANCIERO")) {
            p.margen = p.utilidad * p.costo / kCien;
            p.subTotal = p.margen + p.costo;
            if (p.publico.isZero())
                p.descuento = Decimal();
            else
                p.descuento = (p.publico - p.subTotal) / (p.publico / kCien);
            if (p.descuento.isNegative()) {
                // The public price does not reach the cost plus utility: priced as typed instead.
                p.descuento = Decimal();
                publico(p);
            } else {
                impuestoYTotal(p);
            }
        } else {
            publico(p);
        }
    } catch (const std::exception &) {
        return false; // a figure out of range; nothing changes
    }
    precio = p;
    return true;
}

bool CalculoPrecio::porScript(const QString &metodo, Precio &precio) const
{
    if (!m_scripts)
        return false;
    const Decimal *valores[] = {&precio.costo,    &precio.publico,  &precio.descuento,
                                &precio.subTotal, &precio.margen,   &precio.utilidad,
                                &precio.impuestoPorcentaje, &precio.impuestoImporte, &precio.total};
    cCode::NamedObjects objetos{{QStringLiteral("CambioPrecio"), metodo}};
    for (int i = 0; i < 9; ++i)
        objetos.append({QLatin1String(kNombres[i]), valores[i]->toQVariant()});
    // A method without its script (or with it switched off) has no formula: nothing changes.
    if (!m_scripts->Search(claveScript(metodo)) || !m_scripts->Activo())
        return false;
    for (const auto &[nombre, valor] : objetos)
        m_scripts->addObject(nombre, valor);
    if (!m_scripts->execute())
        return false;
    // Descuento and Margen go to the script but are not taken back.
    Precio p = precio;
    Decimal *destino[] = {&p.costo, &p.publico, nullptr, &p.subTotal, nullptr, &p.utilidad,
                          &p.impuestoPorcentaje, &p.impuestoImporte, &p.total};
    for (int i = 0; i < 9; ++i) {
        if (!destino[i])
            continue;
        bool ok = m_scripts->existsObject(QLatin1String(kNombres[i]));
        const Decimal v = ok ? Decimal::fromVariant(m_scripts->valueOf(QLatin1String(kNombres[i])), &ok) : Decimal();
        if (!ok)
            return false;
        *destino[i] = v;
    }
    precio = p;
    return true;
}
