#include "ResumenCorte.h"

#include "Connection.h"

const QString ResumenCorte::kVentas = QStringLiteral("VENTAS");
const QString ResumenCorte::kDevoluciones = QStringLiteral("DEVOLUCIONES");

namespace {

// The key of a cut as the statements below bind it.
QVariantList llave(const QString &almacen, const Corte::Clave &k)
{
    return {almacen, k.terminal, k.anio, k.numero};
}

const QString kDelCorte =
    QStringLiteral("alm_Clave = ? and term_Clave = ? and corte_Anio = ? and corte_Numero = ?");

} // namespace

Decimal ResumenCorte::ingresos() const
{
    Decimal s;
    for (const MovimientoResumen &m : movimientos)
        if (m.ingreso)
            s += m.importe;
    return s;
}

Decimal ResumenCorte::egresos() const
{
    Decimal s;
    for (const MovimientoResumen &m : movimientos)
        if (!m.ingreso)
            s += m.importe;
    return s;
}

Decimal ResumenCorte::recibido() const
{
    Decimal s;
    for (const PagoRecibido &p : pagos)
        s += p.importe;
    return s;
}

Decimal ResumenCorte::efectivoArqueo() const
{
    Decimal s;
    for (const ArqueoFila &a : arqueo)
        s += a.subtotal();
    return s;
}

std::optional<ResumenCorte> ResumenCorte::lee(db::Connection &c, const QString &almacen,
                                              const Corte::Clave &clave)
{
    const QVariantList k = llave(almacen, clave);
    db::Recordset rs =
        c.openRecordset(QStringLiteral("select ecorte_Clave, corte_Fecha, corte_FechaFin, usu_Clave, "
                                       "usu_ClaveFin, corte_Diferencia from TCORTE where ") +
                            kDelCorte,
                        k);
    if (rs.eof())
        return std::nullopt;
    ResumenCorte r;
    r.almacen = almacen;
    r.clave = clave;
    r.estado = rs.value(0).toString();
    r.fecha = rs.value(1).toDateTime();
    r.fechaFin = rs.value(2).toDateTime();
    r.usuario = rs.value(3).toString();
    r.usuarioFin = rs.value(4).toString();
    r.diferenciaGuardada = Decimal::fromVariant(rs.value(5));

    r.pendientes =
        c.scalar(QStringLiteral("select count(*) from tVentaPendiente where alm_Clave = ?"), {almacen})
            .toInt();
    // A cancelled sale is money given back: neither its total nor its articles count.
    r.articulos =
        Decimal::fromVariant(c.scalar(QStringLiteral("select sum(vdet_Cantidad) from tVentaDetalle where ") +
                                          kDelCorte + QStringLiteral(" and eventa_Clave <> 'CANCELADA'"),
                                      k));
    db::Recordset v = c.openRecordset(QStringLiteral("select count(*), sum(venta_Total) from tVenta where ") +
                                          kDelCorte + QStringLiteral(" and eventa_Clave <> 'CANCELADA'"),
                                      k);
    r.ventas = v.value(0).toInt();
    r.importeVentas = Decimal::fromVariant(v.value(1));
    // Returns arrive with their own window; until their table exists a cut has none.
    if (c.tableExists(QStringLiteral("tDevolucion"))) {
        db::Recordset d = c.openRecordset(
            QStringLiteral("select count(*), sum(vdet_Total) from tDevolucion where ") + kDelCorte, k);
        r.devoluciones = d.value(0).toInt();
        r.importeDevoluciones = Decimal::fromVariant(d.value(1));
    }

    // A movement whose concept is not "+" (or no longer exists) takes money out.
    for (db::Recordset m = c.openRecordset(
             QStringLiteral(
                 "select m.movc_Clave, m.concepto_Clave, m.concepto_Nombre, m.movc_Importe, "
                 "c.concepto_Signo from tMovCaja m left join tConcepto c on c.concepto_Clave = "
                 "m.concepto_Clave where m.alm_Clave = ? and m.term_Clave = ? and m.corte_Anio = ? "
                 "and m.corte_Numero = ? order by m.movc_Clave"),
             k);
         !m.eof(); m.moveNext()) {
        MovimientoResumen f;
        f.numero = m.value(0).toLongLong();
        f.concepto = m.value(1).toString();
        f.nombre = m.value(2).toString();
        f.importe = Decimal::fromVariant(m.value(3));
        f.ingreso = m.value(4).toString() == QLatin1String("+");
        // The closing wrote the sales and returns as movements: they carry their counts again.
        if (f.concepto == kVentas)
            f.documentos = r.ventas;
        else if (f.concepto == kDevoluciones)
            f.documentos = r.devoluciones;
        r.movimientos << f;
    }
    if (r.abierto()) {
        r.movimientos << MovimientoResumen{0, kVentas, kVentas, true, r.importeVentas, r.ventas}
                      << MovimientoResumen{0,     kDevoluciones,         kDevoluciones,
                                           false, r.importeDevoluciones, r.devoluciones};
        // Cash is always received (the initial amount is cash); other kinds as the sales took them.
        for (db::Recordset p = c.openRecordset(
                 QStringLiteral(
                     "select t.tpago_Clave, t.tpago_Nombre from tTipoPago t where t.tpago_Clave = "
                     "'EFECTIVO' or exists (select 1 from tVentaPago p where p.tpago_Clave = "
                     "t.tpago_Clave and p.alm_Clave = ? and p.term_Clave = ? and p.corte_Anio = ? and "
                     "p.corte_Numero = ?) order by t.tpago_Nombre"),
                 k);
             !p.eof(); p.moveNext())
            r.pagos << PagoRecibido{p.value(0).toString(), p.value(1).toString(), Decimal()};
        for (db::Recordset a =
                 c.openRecordset(QStringLiteral("select deno_Clave, deno_Valor, deno_Nombre from "
                                                "tDenominacion order by deno_Valor desc, deno_Clave"));
             !a.eof(); a.moveNext())
            r.arqueo << ArqueoFila{a.value(0).toString(), Decimal::fromVariant(a.value(1)),
                                   a.value(2).toString(), 0};
        return r;
    }
    for (db::Recordset p = c.openRecordset(
             QStringLiteral(
                 "select p.tpago_Clave, coalesce(t.tpago_Nombre, p.tpago_Clave), p.cortetp_Importe from "
                 "tCorteTipoPago p left join tTipoPago t on t.tpago_Clave = p.tpago_Clave where "
                 "p.alm_Clave = ? and p.term_Clave = ? and p.corte_Anio = ? and p.corte_Numero = ? "
                 "order by 2"),
             k);
         !p.eof(); p.moveNext())
        r.pagos << PagoRecibido{p.value(0).toString(), p.value(1).toString(),
                                Decimal::fromVariant(p.value(2))};
    for (db::Recordset a =
             c.openRecordset(QStringLiteral("select deno_Clave, deno_Valor, deno_Nombre, carq_Cantidad "
                                            "from tCorteArqueo where ") +
                                 kDelCorte + QStringLiteral(" order by deno_Valor desc, deno_Clave"),
                             k);
         !a.eof(); a.moveNext())
        r.arqueo << ArqueoFila{a.value(0).toString(), Decimal::fromVariant(a.value(1)), a.value(2).toString(),
                               a.value(3).toLongLong()};
    return r;
}
