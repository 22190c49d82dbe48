// The client of the sale and the settings of its type.
#include "VentaInterno.h"

#include "CalculoVenta.h"
#include "ConnectionProvider.h"
#include "Log.h"
#include "PreciosArticulo.h"
#include "Prompter.h"
#include "cConfigure.h"

#include "Connection.h"

using namespace venta;

bool VentaCaptura::cargaCliente(const QString &clave)
{
    try {
        db::Connection &c = m_s.connections.getConnection();
        db::Recordset rs =
            c.openRecordset(QStringLiteral("select cli_Clave, cli_Nombre, cli_Descuento, tcli_Clave, "
                                           "tent_Clave from tCliente where cli_Clave = ?"),
                            {clave.trimmed()});
        if (rs.eof()) {
            m_s.prompter.exclamation(QStringLiteral("No existe informacion del cliente"));
            return false;
        }
        QString tipo = rs.text(QStringLiteral("tcli_Clave")).trimmed();
        if (tipo.isEmpty())
            tipo = m_s.config.getString(QStringLiteral("TIPO-CLIENTE-POR-OMISION"));
        const Cliente anterior = m_cliente;
        m_cliente.clave = rs.text(QStringLiteral("cli_Clave"));
        m_cliente.nombre = rs.text(QStringLiteral("cli_Nombre"));
        m_cliente.descuento = rs.decimal(QStringLiteral("cli_Descuento"));
        m_cliente.entrega = rs.text(QStringLiteral("tent_Clave")).trimmed();
        if (m_cliente.entrega.isEmpty())
            m_cliente.entrega = m_s.config.getString(QStringLiteral("TIPO-ENTREGA-POR-OMISION"));
        if (!cargaTipoCliente(tipo)) {
            m_cliente = anterior;
            return false;
        }
        return true;
    } catch (const std::exception &e) {
        reportError(m_s.prompter, QString(), QStringLiteral("cargaCliente"), ErrorInfo::fromException(e));
        return false;
    }
}

bool VentaCaptura::cambiaTipoCliente(const QString &tipo)
{
    if (!tieneDerecho(QStringLiteral("CambioTipoCliente")))
        return false;
    const Cliente anterior = m_cliente;
    try {
        if (cargaTipoCliente(tipo.trimmed()))
            return true;
    } catch (const std::exception &e) {
        reportError(m_s.prompter, QString(), QStringLiteral("cambiaTipoCliente"),
                    ErrorInfo::fromException(e));
    }
    m_cliente = anterior;
    return false;
}

bool VentaCaptura::cargaTipoCliente(const QString &tipo)
{
    db::Connection &c = m_s.connections.getConnection();
    db::Recordset rs = c.openRecordset(
        QStringLiteral(
            "select tcontrol_Clave, tcli_Lista, tcli_Ticket, tcli_Nota, tcli_Factura, "
            "tcli_AcumularArticulos, "
            "tcli_RedondeoArticulo, tcli_RedondeoArticuloCantidad, tcli_RedondeoArticuloImporteMedio, "
            "tcli_RedondeoVenta, tcli_RedondeoVentaCantidad, tcli_RedondeoVentaImporteMedio "
            "from tTipoCliente where tcli_Clave = ?"),
        {tipo});
    if (rs.eof()) {
        m_s.prompter.exclamation(QStringLiteral("No existe informacion del tipo de cliente"));
        return false;
    }
    Cliente &k = m_cliente;
    k.tipo = tipo;
    k.control = rs.text(QStringLiteral("tcontrol_Clave")).trimmed().toUpper();
    if (k.control.isEmpty())
        k.control =
            m_s.config.getString(QStringLiteral("CONTROL-DE-PRECIOS-POR-OMISION")).trimmed().toUpper();
    k.lista = rs.isNull(QStringLiteral("tcli_Lista"))
                  ? m_s.config.getString(QStringLiteral("CONTROL-DE-PRECIOS-POR-OMISION-LISTA")).toInt()
                  : int(rs.integer(QStringLiteral("tcli_Lista")));
    k.ticket = esSi(rs.text(QStringLiteral("tcli_Ticket")));
    k.nota = esSi(rs.text(QStringLiteral("tcli_Nota")));
    k.factura = esSi(rs.text(QStringLiteral("tcli_Factura")));
    k.acumular = esSi(rs.text(QStringLiteral("tcli_AcumularArticulos")));

    // Each rounding column of the type takes the place of its configuration key; a null column
    // leaves the key in force.
    const auto bandera = [&](const char *columna, const char *clave) {
        const QString col = QString::fromLatin1(columna);
        return rs.isNull(col) ? m_s.config.getBool(QString::fromLatin1(clave)) : esSi(rs.text(col));
    };
    const auto cantidad = [&](const char *columna, const char *clave) {
        const QString col = QString::fromLatin1(columna);
        return rs.isNull(col) ? m_s.config.getDecimal(QString::fromLatin1(clave)) : rs.decimal(col);
    };
    k.porArticulo.activo = bandera("tcli_RedondeoArticulo", "REDONDEO-POR-ARTICULO");
    k.porArticulo.paso = cantidad("tcli_RedondeoArticuloCantidad", "REDONDEO-POR-ARTICULO-CANTIDAD");
    k.porArticulo.medio = bandera("tcli_RedondeoArticuloImporteMedio", "REDONDEO-POR-ARTICULO-MEDIO_IMPORTE");
    k.porVenta.activo = bandera("tcli_RedondeoVenta", "REDONDEO-VENTA");
    k.porVenta.paso = cantidad("tcli_RedondeoVentaCantidad", "REDONDEO-VENTA-CANTIDAD");
    k.porVenta.medio = bandera("tcli_RedondeoVentaImporteMedio", "REDONDEO-VENTA-MEDIO_IMPORTE");

    k.tiposPago.clear();
    for (db::Recordset tp = c.openRecordset(
             QStringLiteral(
                 "select tpago_Clave from tTipoClienteTipoPago where tcli_Clave = ? order by tpago_Clave"),
             {tipo});
         !tp.eof(); tp.moveNext())
        k.tiposPago << tp.text(QStringLiteral("tpago_Clave")).trimmed();

    repreciaLineas();
    Q_EMIT clienteCambio();
    return true;
}

void VentaCaptura::repreciaLineas()
{
    bool cambio = false;
    for (LineaVenta &l : m_lineas) {
        // A price the cashier typed stays; the catalogue's follow the type.
        if (l.modificado)
            continue;
        const QString filtro =
            l.tipoPrecio == QLatin1String("OFERTA") ? QString() : QStringLiteral("SINOFERTA");
        const auto p = m_s.precios.obtenPrecioCliente(l.clave, m_cliente.tipo, filtro);
        if (!p)
            continue;
        l.precio = p->precio.publico;
        l.descuento = p->precio.descuento;
        l.iva = p->precio.impuestoPorcentaje;
        l.tipoPrecio = p->tipoPrecio.isEmpty() ? QStringLiteral("NORMAL") : p->tipoPrecio;
        l.numeroPrecio = p->numero;
        cambio = true;
    }
    if (cambio)
        Q_EMIT lineasCambiaron();
    calculaGrid();
}
