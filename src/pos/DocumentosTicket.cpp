#include "DocumentosTicket.h"

#include "Connection.h"

std::optional<TicketVenta> TicketVenta::lee(db::Connection &c, const QString &almacen, qint64 folio)
{
    db::Recordset v = c.openRecordset(
        QStringLiteral("select term_Clave, corte_Anio, corte_Numero, venta_Numero, venta_importe, venta_Total, "
                       "venta_Redondeo, venta_Cambio, venta_Cantidad, venta_Fecha, usu_ClaveReg, cli_Clave "
                       "from tVenta where alm_Clave = ? and venta_Folio = ?"),
        {almacen, folio});
    if (v.eof())
        return std::nullopt;
    TicketVenta t;
    t.folio = folio;
    t.terminal = v.text(QStringLiteral("term_Clave"));
    t.importe = v.decimal(QStringLiteral("venta_importe"));
    t.total = v.decimal(QStringLiteral("venta_Total"));
    t.redondeo = v.decimal(QStringLiteral("venta_Redondeo"));
    t.cambio = v.decimal(QStringLiteral("venta_Cambio"));
    t.articulos = v.decimal(QStringLiteral("venta_Cantidad"));
    t.fecha = v.dateTime(QStringLiteral("venta_Fecha"));
    t.usuario = v.text(QStringLiteral("usu_ClaveReg"));
    t.cliente = v.text(QStringLiteral("cli_Clave"));
    const QVariantList clave{t.terminal, v.integer(QStringLiteral("corte_Anio")),
                             v.integer(QStringLiteral("corte_Numero")), v.integer(QStringLiteral("venta_Numero"))};
    const QString donde =
        QStringLiteral(" where term_Clave = ? and corte_Anio = ? and corte_Numero = ? and venta_Numero = ?");
    for (db::Recordset d = c.openRecordset(
             QStringLiteral("select vdet_Numero, art_Clave, art_Nombre, vdet_Cantidad, vdet_Importe, "
                            "vdet_Descuento, vdet_IVA, vdet_SubTotal, vdet_Total, vdet_Referencia, alma_Clave "
                            "from tVentaDetalle") +
                 donde + QStringLiteral(" order by vdet_Numero"),
             clave);
         !d.eof(); d.moveNext()) {
        LineaVenta l;
        l.renglon = int(d.integer(QStringLiteral("vdet_Numero")));
        l.clave = d.text(QStringLiteral("art_Clave"));
        l.nombre = d.text(QStringLiteral("art_Nombre"));
        l.cantidad = d.decimal(QStringLiteral("vdet_Cantidad"));
        l.precio = d.decimal(QStringLiteral("vdet_Importe"));
        l.descuento = d.decimal(QStringLiteral("vdet_Descuento"));
        l.iva = d.decimal(QStringLiteral("vdet_IVA"));
        l.importe = d.decimal(QStringLiteral("vdet_SubTotal"));
        l.total = d.decimal(QStringLiteral("vdet_Total"));
        l.referencia = d.text(QStringLiteral("vdet_Referencia"));
        l.loteSerie = d.text(QStringLiteral("alma_Clave"));
        t.lineas << l;
    }
    for (db::Recordset p = c.openRecordset(
             QStringLiteral("select tpago_Clave, vpago_Importe, banco_Clave, vpago_Cheque, vpago_Tarjeta, "
                            "vpago_FolioTarjeta, moneda_Clave, vpago_MonExtranjera, vpago_TipoDeCambio, "
                            "vpago_Referencia, vpago_ReferenciaAdic from tVentaPago") +
                 donde + QStringLiteral(" order by vpago_Anio, vpago_Clave"),
             clave);
         !p.eof(); p.moveNext()) {
        PagoVenta pago;
        pago.tipo = p.text(QStringLiteral("tpago_Clave"));
        pago.importe = p.decimal(QStringLiteral("vpago_Importe"));
        pago.banco = p.text(QStringLiteral("banco_Clave"));
        pago.cheque = p.text(QStringLiteral("vpago_Cheque"));
        pago.tarjeta = p.text(QStringLiteral("vpago_Tarjeta"));
        pago.folioTarjeta = p.text(QStringLiteral("vpago_FolioTarjeta"));
        pago.moneda = p.text(QStringLiteral("moneda_Clave"));
        pago.importeMoneda = p.decimal(QStringLiteral("vpago_MonExtranjera"));
        pago.tipoCambio = p.decimal(QStringLiteral("vpago_TipoDeCambio"));
        pago.referencia = p.text(QStringLiteral("vpago_Referencia"));
        pago.referenciaAdic = p.text(QStringLiteral("vpago_ReferenciaAdic"));
        t.pagos << pago;
    }
    return t;
}

std::optional<MovimientoCajaTicket> MovimientoCajaTicket::lee(db::Connection &c, const QString &almacen,
                                                              const QString &terminal, int anio, int numero,
                                                              int movimiento)
{
    db::Recordset rs = c.openRecordset(
        QStringLiteral("select concepto_Nombre, movc_Importe, movc_Fecha, usu_Clave from tMovCaja where "
                       "alm_Clave = ? and term_Clave = ? and corte_Anio = ? and corte_Numero = ? and movc_Clave = ?"),
        {almacen, terminal, anio, numero, movimiento});
    if (rs.eof())
        return std::nullopt;
    MovimientoCajaTicket m;
    m.corte = terminal + u'-' + QString::number(anio) + u'-' + QString::number(numero);
    m.movimiento = movimiento;
    m.concepto = rs.text(QStringLiteral("concepto_Nombre"));
    m.importe = rs.decimal(QStringLiteral("movc_Importe"));
    m.fecha = rs.dateTime(QStringLiteral("movc_Fecha"));
    m.terminal = terminal;
    m.usuario = rs.text(QStringLiteral("usu_Clave"));
    return m;
}

std::optional<CorteTicket> CorteTicket::lee(db::Connection &c, const QString &almacen, const QString &terminal,
                                            int anio, int numero)
{
    const QVariantList clave{almacen, terminal, anio, numero};
    const QString donde =
        QStringLiteral(" where alm_Clave = ? and term_Clave = ? and corte_Anio = ? and corte_Numero = ?");
    db::Recordset rs = c.openRecordset(
        QStringLiteral("select corte_Articulos, usu_Clave, usu_ClaveFin, corte_FechaFin from TCORTE") + donde, clave);
    if (rs.eof())
        return std::nullopt;
    CorteTicket t;
    t.terminal = terminal;
    t.anio = anio;
    t.numero = numero;
    t.articulos = rs.decimal(QStringLiteral("corte_Articulos"));
    t.usuario = rs.text(QStringLiteral("usu_ClaveFin"));
    if (t.usuario.isEmpty())
        t.usuario = rs.text(QStringLiteral("usu_Clave"));
    t.fecha = rs.dateTime(QStringLiteral("corte_FechaFin"));
    // The closing writes the sales and returns as movements of their own; a concept that is not
    // in the catalogue counts as income unless it is the returns row.
    for (db::Recordset m = c.openRecordset(
             QStringLiteral("select m.concepto_Nombre, m.concepto_Clave, m.movc_Importe, k.concepto_Signo from "
                            "tMovCaja m left join tConcepto k on k.concepto_Clave = m.concepto_Clave where "
                            "m.alm_Clave = ? and m.term_Clave = ? and m.corte_Anio = ? and m.corte_Numero = ? "
                            "order by m.movc_Clave"),
             clave);
         !m.eof(); m.moveNext()) {
        Movimiento mov;
        mov.concepto = m.text(QStringLiteral("concepto_Nombre"));
        mov.importe = m.decimal(QStringLiteral("movc_Importe"));
        const QString signo = m.text(QStringLiteral("concepto_Signo")).trimmed();
        mov.ingreso = signo.isEmpty() ? m.text(QStringLiteral("concepto_Clave")).compare(
                                            QLatin1String("DEVOLUCIONES"), Qt::CaseInsensitive) != 0
                                      : signo != QLatin1String("-");
        t.movimientos << mov;
    }
    t.ventas = c.scalar(QStringLiteral("select count(*) from tVenta where term_Clave = ? and corte_Anio = ? and "
                                       "corte_Numero = ? and alm_Clave = ?"),
                        {terminal, anio, numero, almacen})
                   .toInt();
    if (c.tableExists(QStringLiteral("tDevolucion")))
        t.devoluciones = c.scalar(QStringLiteral("select count(*) from tDevolucion where term_Clave = ? and "
                                                 "corte_Anio = ? and corte_Numero = ?"),
                                  {terminal, anio, numero})
                             .toInt();
    // The count by denomination is not kept; the cash received is.
    t.efectivo = Decimal::fromVariant(
        c.scalar(QStringLiteral("select coalesce(sum(cortetp_Importe), 0) from tCorteTipoPago") + donde +
                     QStringLiteral(" and tpago_Clave = 'EFECTIVO'"),
                 clave));
    return t;
}
