// Held sales (store, list, load) and storing the prices changed at the counter.
#include "VentaInterno.h"

#include "CalculoVenta.h"
#include "ConnectionProvider.h"
#include "Corte.h"
#include "Log.h"
#include "PreciosArticulo.h"
#include "Prompter.h"
#include "Secuencias.h"
#include "cConfigure.h"

#include "Connection.h"
#include "Transaction.h"

using namespace venta;

std::optional<qint64> VentaCaptura::ventaPendiente()
{
    if (m_lineas.isEmpty()) {
        m_s.prompter.exclamation(QStringLiteral("No hay articulos"));
        return std::nullopt;
    }
    auto corte = Corte::deCodigo(m_corte);
    if (!corte) {
        if (!aseguraCorte())
            return std::nullopt;
        corte = Corte::deCodigo(m_corte);
        if (!corte)
            return std::nullopt;
    }
    calculaGrid();
    const QString alm = almacen();
    qint64 numero = 0;
    try {
        db::Connection &c = m_s.connections.getConnection();
        db::Transaction t(c);
        numero = Secuencias::getNextSequence(c, Secuencias::clave(Secuencias::Documento::VentaPendiente));
        c.execute(QStringLiteral("delete from tVentaPendiente where venta_Numero = ? and alm_Clave = ?"),
                  {numero, alm});
        c.execute(QStringLiteral("delete from tVentaPendienteDet where venta_Numero = ? and alm_Clave = ?"),
                  {numero, alm});
        c.execute(QStringLiteral(
                      "insert into tVentaPendiente (term_Clave, corte_Anio, corte_Numero, venta_Numero, "
                      "venta_Folio, venta_importe, venta_descuento, venta_Total, usu_Clave, venta_Fecha, "
                      "cli_Clave, venta_Pago, venta_Cambio, venta_Cantidad, eventa_Clave, alm_Clave) "
                      "values (?, ?, ?, ?, ?, ?, ?, ?, ?, getdate(), ?, 0, 0, ?, 'REGISTRADA', ?)"),
                  {corte->terminal, corte->anio, corte->numero, numero, numero,
                   m_totales.importe.round(2).toQVariant(), m_cliente.descuento.round(2).toQVariant(),
                   m_totales.total.round(2).toQVariant(), m_s.config.getString(QStringLiteral("USUARIO")),
                   m_cliente.clave, m_totales.articulos.round(2).toQVariant(), alm});
        int renglon = 0;
        for (const LineaVenta &l : std::as_const(m_lineas))
            c.execute(
                QStringLiteral(
                    "insert into tVentaPendienteDet (term_Clave, corte_Anio, corte_Numero, venta_Numero, "
                    "vdet_Numero, art_Clave, art_Nombre, tala_Clave, cola_Clave, vdet_Cantidad, "
                    "vdet_Importe, vdet_Descuento, vdet_IVA, vdet_SubTotal, vdet_Total, alm_Clave, "
                    "vdet_Referencia, vdet_ModPrecio, vdet_TipoPrecio, alma_Clave) "
                    "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                {corte->terminal,
                 corte->anio,
                 corte->numero,
                 numero,
                 ++renglon,
                 l.clave,
                 l.nombre,
                 l.tallaClave,
                 l.colorClave,
                 l.cantidad.toQVariant(),
                 l.precio.toQVariant(),
                 l.descuento.toQVariant(),
                 l.iva.toQVariant(),
                 l.importe.toQVariant(),
                 l.total.toQVariant(),
                 alm,
                 l.referencia,
                 l.modificado ? QStringLiteral("S") : QStringLiteral("N"),
                 l.tipoPrecio,
                 l.loteSerie.isNull() ? QStringLiteral("") : l.loteSerie}); // free stock: '' not null
        t.commit();
    } catch (const std::exception &e) {
        reportError(m_s.prompter, QStringLiteral("No se pudo guardar la venta pendiente"),
                    QStringLiteral("VentaPendiente"), ErrorInfo::fromException(e));
        return std::nullopt;
    }
    m_s.prompter.information(QStringLiteral("La venta pendiente ha sido guardada con el Numero << ") +
                             QString::number(numero) + QStringLiteral(" >> "));
    iniciaVenta();
    return numero;
}

bool VentaCaptura::cargaVentaPendiente(const QString &terminal, int anio, int corte, qint64 numero)
{
    Pendiente p;
    p.terminal = terminal;
    p.anio = anio;
    p.corte = corte;
    p.numero = numero;
    const QString clave = p.clave();
    if (m_pendientes.contains(clave)) {
        m_s.prompter.exclamation(QStringLiteral("La venta pendiente ") + clave +
                                 QStringLiteral(" ya fue incluida"));
        return false;
    }
    try {
        db::Connection &c = m_s.connections.getConnection();
        const db::Params llave{terminal, anio, corte, numero};
        db::Recordset h =
            c.openRecordset(QStringLiteral("select cli_Clave, term_Clave, usu_Clave from tVentaPendiente "
                                           "where term_Clave = ? and corte_Anio = ? and corte_Numero = ? "
                                           "and venta_Numero = ?"),
                            llave);
        if (h.eof()) {
            m_s.prompter.exclamation(QStringLiteral("Venta Pendiente no encontarda"));
            return false;
        }
        const QString cliente = h.text(QStringLiteral("cli_Clave"));
        const QString term = h.text(QStringLiteral("term_Clave"));
        const QString usuario = h.text(QStringLiteral("usu_Clave"));
        if (!m_pendientes.isEmpty() && !m_s.config.getBool(QStringLiteral("VENTA-PENDIENTE-MULTIPLE")))
            iniciaVenta();
        QList<LineaVenta> nuevas = m_lineas;
        for (db::Recordset d = c.openRecordset(
                 QStringLiteral(
                     "select d.art_Clave, d.art_Nombre, d.tala_Clave, d.cola_Clave, d.vdet_Cantidad, "
                     "d.vdet_Importe, d.vdet_Descuento, d.vdet_IVA, d.vdet_SubTotal, d.vdet_Total, "
                     "d.vdet_Referencia, d.vdet_ModPrecio, d.vdet_TipoPrecio, d.alma_Clave, a.cinv_Clave "
                     "from tVentaPendienteDet d left join tArticulo a on a.art_Clave = d.art_Clave "
                     "where d.term_Clave = ? and d.corte_Anio = ? and d.corte_Numero = ? and d.venta_Numero "
                     "= ? "
                     "order by d.vdet_Numero"),
                 llave);
             !d.eof(); d.moveNext()) {
            LineaVenta l;
            l.clave = d.text(QStringLiteral("art_Clave"));
            l.nombre = d.text(QStringLiteral("art_Nombre"));
            l.tallaClave = d.text(QStringLiteral("tala_Clave"));
            l.colorClave = d.text(QStringLiteral("cola_Clave"));
            l.cantidad = d.decimal(QStringLiteral("vdet_Cantidad"));
            l.precio = d.decimal(QStringLiteral("vdet_Importe"));
            l.descuento = d.decimal(QStringLiteral("vdet_Descuento"));
            l.iva = d.decimal(QStringLiteral("vdet_IVA"));
            l.importe = d.decimal(QStringLiteral("vdet_SubTotal"));
            l.total = d.decimal(QStringLiteral("vdet_Total"));
            l.referencia = d.text(QStringLiteral("vdet_Referencia"));
            l.modificado = esSi(d.text(QStringLiteral("vdet_ModPrecio")));
            l.tipoPrecio = d.text(QStringLiteral("vdet_TipoPrecio"));
            l.loteSerie = d.text(QStringLiteral("alma_Clave"));
            l.controlInv = d.text(QStringLiteral("cinv_Clave")).trimmed().toUpper();
            nuevas.append(l);
        }
        if (!cargaCliente(cliente))
            return false;
        m_terminal = term;
        m_vendedor = usuario;
        m_pendientes.append(clave);
        // The held prices stay as stored: only the totals are recomputed.
        reemplazaLineas(nuevas);
        return true;
    } catch (const std::exception &e) {
        reportError(m_s.prompter, QString(), QStringLiteral("cargaVentaPendiente"),
                    ErrorInfo::fromException(e));
        return false;
    }
}

QList<VentaCaptura::Pendiente> VentaCaptura::ventasPendientes()
{
    QList<Pendiente> out;
    try {
        db::Connection &c = m_s.connections.getConnection();
        for (db::Recordset rs = c.openRecordset(
                 QStringLiteral(
                     "select p.term_Clave, p.corte_Anio, p.corte_Numero, p.venta_Numero, p.cli_Clave, "
                     "c.cli_Nombre, p.usu_Clave, p.venta_Fecha, p.venta_Total from tVentaPendiente p "
                     "left join tCliente c on c.cli_Clave = p.cli_Clave where p.alm_Clave = ? "
                     "order by p.venta_Fecha, p.venta_Numero"),
                 {almacen()});
             !rs.eof(); rs.moveNext()) {
            Pendiente p;
            p.terminal = rs.text(QStringLiteral("term_Clave"));
            p.anio = int(rs.integer(QStringLiteral("corte_Anio")));
            p.corte = int(rs.integer(QStringLiteral("corte_Numero")));
            p.numero = rs.integer(QStringLiteral("venta_Numero"));
            p.cliente = rs.text(QStringLiteral("cli_Clave"));
            p.nombreCliente = rs.text(QStringLiteral("cli_Nombre"));
            p.usuario = rs.text(QStringLiteral("usu_Clave"));
            p.fecha = rs.dateTime(QStringLiteral("venta_Fecha"));
            p.total = rs.decimal(QStringLiteral("venta_Total"));
            out.append(p);
        }
    } catch (const std::exception &e) {
        reportError(m_s.prompter, QString(), QStringLiteral("ventasPendientes"), ErrorInfo::fromException(e));
    }
    return out;
}

bool VentaCaptura::cmdSalvarPrecio()
{
    if (!tieneDerecho(QStringLiteral("ActualizaCatalogo")))
        return false;
    QStringList lista;
    QList<int> filas;
    for (int i = 0; i < m_lineas.size(); ++i) {
        const LineaVenta &l = m_lineas[i];
        if (!l.modificado)
            continue;
        filas << i;
        lista << l.clave + QStringLiteral(" - ") + l.nombre + QStringLiteral("  ") +
                     l.precio.format(QStringLiteral("0.00")) + QStringLiteral("  ") + texto(l.descuento) +
                     QStringLiteral("%  IVA ") + texto(l.iva) + u'%';
    }
    if (filas.isEmpty())
        return false;
    if (!m_s.prompter.question(QStringLiteral("Los precios de estos articulos han cambiado") + u'\n' +
                               lista.join(u'\n') + u'\n' +
                               QStringLiteral("¿Desea actualizar los precios definitivamente?")))
        return false;
    bool todo = true;
    for (int i : std::as_const(filas)) {
        LineaVenta &l = m_lineas[i];
        if (m_s.precios.guardaPrecioVenta(l.clave, l.precio, l.descuento, l.iva))
            l.modificado = false; // stored: the writer does not offer it again
        else
            todo = false;
        Q_EMIT lineaCambio(i);
    }
    return todo;
}
