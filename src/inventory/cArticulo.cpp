#include "cArticulo.h"

#include "ConnectionProvider.h"
#include "PreciosArticulo.h"

#include "Connection.h"

cArticulo::cArticulo(ConnectionProvider &connections, Prompter &prompter, const CalculoPrecio &calculo, QObject *parent)
    : QObject(parent), m_connections(connections), m_prompter(prompter), m_calculo(calculo)
{
}

bool cArticulo::Search(const QString &claveDada)
{
    m_loaded = false;
    db::Connection &c = m_connections.getConnection();
    const QString codigo = claveDada.trimmed();
    const QString sql = QStringLiteral(
        "select art_Clave, art_Nombre, tart_Clave, fam_Clave, eart_Clave, cinv_Clave, cambio_Clave, art_Existencia, "
        "art_Costo, art_Importe, art_Descuento, art_SubTotal, art_Margen, art_Utilidad, art_IVAPorc, art_IVA, art_Total "
        "from tArticulo where art_Clave = ?");
    db::Recordset rs = c.openRecordset(sql, {codigo});
    if (rs.eof()) {
        const QVariant porCodigo =
            c.scalar(QStringLiteral("select art_Clave from tArticuloCodigo where acod_Codigo = ?"), {codigo});
        if (!porCodigo.isValid())
            return false;
        rs = c.openRecordset(sql, {porCodigo});
        if (rs.eof())
            return false;
    }
    m_clave = rs.text(QStringLiteral("art_Clave")).trimmed();
    m_nombre = rs.text(QStringLiteral("art_Nombre"));
    m_departamento = rs.text(QStringLiteral("tart_Clave")).trimmed();
    m_familia = rs.text(QStringLiteral("fam_Clave")).trimmed();
    m_estado = rs.text(QStringLiteral("eart_Clave")).trimmed();
    m_control = rs.text(QStringLiteral("cinv_Clave")).trimmed();
    m_metodo = rs.text(QStringLiteral("cambio_Clave")).trimmed();
    m_existencia = rs.decimal(QStringLiteral("art_Existencia"));
    m_precio = Precio::deArticulo(rs);
    m_tipoPrecio.clear();
    m_loaded = true;
    return true;
}

bool cArticulo::PrecioCliente(const QString &tipoCliente, const QString &filtro, double cantidad)
{
    if (!m_loaded || !PreciosArticulo::filtroValido(filtro))
        return false;
    PreciosArticulo precios(m_connections, m_prompter, m_calculo);
    const auto r = precios.obtenPrecioCliente(m_clave, tipoCliente, filtro, Decimal::fromDouble(cantidad));
    if (!r)
        return false;
    m_precio = r->precio;
    m_tipoPrecio = r->tipoPrecio;
    return true;
}
