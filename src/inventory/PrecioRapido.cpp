#include "PrecioRapido.h"

#include "ConnectionProvider.h"
#include "Log.h"
#include "PreciosArticulo.h"
#include "Prompter.h"
#include "cConfigure.h"

#include "Connection.h"
#include "Transaction.h"

namespace {

const QString kFormato = QStringLiteral("0.00");

bool leeNumero(const QString &texto, Decimal &valor)
{
    bool ok = false;
    valor = Decimal::fromString(texto.trimmed(), &ok);
    return ok && !texto.trimmed().isEmpty();
}

} // namespace

PrecioRapido::PrecioRapido(ConnectionProvider &connections, cConfigure &config, Prompter &prompter,
                           const CalculoPrecio &calculo)
    : m_connections(connections), m_config(config), m_prompter(prompter), m_calculo(calculo)
{
    setIncluyeIva(config.getValue(QStringLiteral("ALTA-RAPIDA-PRECIO-INCLUYE-IVA")).toBool());
}

void PrecioRapido::setIncluyeIva(bool incluye)
{
    m_incluyeIva = incluye;
    m_porcentaje = incluye ? Decimal::fromVariant(m_config.getValue(QStringLiteral("ALTA-RAPIDA-IVA-PORCENTAJE")))
                                 .format(kFormato)
                           : QStringLiteral("0");
    if (m_config.getValue(QStringLiteral("ALTA-RAPIDA-PRECIO-INCLUYE-IVA")).toBool() != incluye) {
        m_config.setValue(QStringLiteral("ALTA-RAPIDA-PRECIO-INCLUYE-IVA"), incluye);
        m_config.saveValue(QStringLiteral("ALTA-RAPIDA-PRECIO-INCLUYE-IVA"));
    }
    calcula();
}

void PrecioRapido::setImpuestoPorcentaje(const QString &texto)
{
    m_porcentaje = texto;
    calcula();
}

QString PrecioRapido::sinImpuesto(const QString &texto) const
{
    Decimal monto, tasa;
    if (!leeNumero(texto, monto))
        return texto;
    leeNumero(m_porcentaje, tasa);
    try {
        return (monto / (Decimal(1) + tasa / Decimal(100))).format(kFormato);
    } catch (const std::exception &) {
        return texto;
    }
}

void PrecioRapido::saleCosto(const QString &texto)
{
    m_costo = sinImpuesto(texto);
    calcula();
}

void PrecioRapido::salePrecio(const QString &texto)
{
    m_precio = sinImpuesto(texto);
    calcula();
}

void PrecioRapido::calcula()
{
    Precio p;
    leeNumero(m_costo, p.costo);
    leeNumero(m_precio, p.publico);
    leeNumero(m_porcentaje, p.impuestoPorcentaje);
    if (m_calculo.calculaPrecio(QStringLiteral("PUBLICO"), p))
        m_desglose = p.redondeado();
}

bool PrecioRapido::rechaza(const QString &campo, const QString &mensaje)
{
    m_campo = campo;
    m_prompter.exclamation(mensaje);
    return false;
}

bool PrecioRapido::guardaDatos()
{
    m_campo.clear();
    Decimal valor;
    if (clave.trimmed().isEmpty())
        return rechaza(QStringLiteral("art_Clave"), QStringLiteral("Debe indicar una clave de articulo"));
    if (nombre.trimmed().isEmpty())
        return rechaza(QStringLiteral("art_Nombre"), QStringLiteral("Debe indicar un nombre"));
    if (departamento.trimmed().isEmpty())
        return rechaza(QStringLiteral("tart_Clave"), QStringLiteral("Debe indicar el departamento"));
    if (!leeNumero(m_precio, valor) || !(valor > Decimal()))
        return rechaza(QStringLiteral("art_Importe"), QStringLiteral("Debe indicar el precio de venta"));
    if (!m_costo.trimmed().isEmpty() && (!leeNumero(m_costo, valor) || valor.isNegative()))
        return rechaza(QStringLiteral("art_Costo"), QStringLiteral("Debe indicar el costo unitario del articulo"));
    if (!leeNumero(m_porcentaje, valor) || valor.isNegative())
        return rechaza(QStringLiteral("art_IVAPorc"), QStringLiteral("Debe indicar el porcentaje de impuesto"));
    try {
        db::Connection &c = m_connections.getConnection();
        if (c.scalar(QStringLiteral("select count(*) from tTipoArticulo where tart_Clave = ?"), {departamento.trimmed()})
                .toLongLong() == 0)
            return rechaza(QStringLiteral("tart_Clave"), QStringLiteral("El departamento no existe"));
        const QVariant existente =
            c.scalar(QStringLiteral("select art_Nombre from tArticulo where art_Clave = ?"), {clave.trimmed()});
        if (existente.isValid())
            return rechaza(QStringLiteral("art_Clave"),
                           QStringLiteral("La clave ya esta en uso para el siguiente articulo: ") + existente.toString());
        calcula();
        const Precio &p = m_desglose;
        const auto conf = [&](const char *k) { return m_config.getValue(QLatin1String(k)).toString(); };
        db::Transaction tx(c);
        c.execute(
            QStringLiteral(
                "insert into tArticulo (art_Clave, art_Nombre, tart_Clave, eart_Clave, art_FecAlta, art_FecMod, usu_Clave, "
                "art_Costo, art_Importe, art_Descuento, art_SubTotal, art_Margen, art_Utilidad, art_IVAPorc, art_IVA, "
                "art_Total, prov_Clave, prov_ClaveAct, tres_Clave, cambio_Clave, mej_Clave, art_Separar, art_Acumular, "
                "cad_Clave, ref_Clave, art_VenderAbajoDelCosto, cinv_Clave, art_ActOfertas, art_ActLista, art_Granel, "
                "art_Ensamble) values (?, ?, ?, 'REGISTRADO', getdate(), getdate(), ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?, 'PUBLICO', ?, 'N', 'N', 'NO', 'NO', 'SI', 'LIBRE', 'NO', 'NO', 'SI', 'NO')"),
            {clave.trimmed(), nombre.trimmed(), departamento.trimmed(), conf("USUARIO"), p.costo.toQVariant(),
             p.publico.toQVariant(), p.descuento.toQVariant(), p.subTotal.toQVariant(), p.margen.toQVariant(),
             p.utilidad.toQVariant(), p.impuestoPorcentaje.toQVariant(), p.impuestoImporte.toQVariant(),
             p.total.toQVariant(), conf("PROVEEDOR-PREFERENTE"), conf("PROVEEDOR-PREFERENTE"),
             conf("RESURTIDO-POR-OMISION"), conf("MEJORAR-PRECIO")});
        PreciosArticulo::escribePrecioNormal(c, clave.trimmed());
        tx.commit();
        return true;
    } catch (const std::exception &e) {
        reportError(m_prompter, QString(), QStringLiteral("guardaDatos"), ErrorInfo::fromException(e));
        return false;
    }
}
