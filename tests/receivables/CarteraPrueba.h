#pragma once

// Receivables and credit sale payments for the balance tests: two warehouses, two clients.
#include "Connection.h"
#include "Decimal.h"

#include <QString>

namespace cartera {

inline void creaBase(db::Connection &c)
{
    c.execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz'), "
                             "('A2', 'Sucursal')"));
    c.execute(QStringLiteral("insert into tTerminal (term_Clave, term_Nombre, alm_Clave) values "
                             "('T1', 'Caja uno', 'A1'), ('T2', 'Caja dos', 'A2')"));
    c.execute(QStringLiteral("insert into tCliente (cli_Clave, cli_Nombre, tcli_Clave, cli_Credito) values "
                             "('C1', 'Cliente uno', 'SYS', 1000), ('C2', 'Cliente dos', 'SYS', 0), "
                             "('C3', 'Cliente sin saldo', 'SYS', 200)"));
    c.execute(
        QStringLiteral("insert into TCORTE (alm_Clave, term_Clave, corte_Anio, corte_Numero, corte_Fecha, "
                       "usu_Clave) values ('A1', 'T1', 2026, 1, '2026-03-01 09:00:00', 'ADMIN'), "
                       "('A2', 'T2', 2026, 1, '2026-03-01 09:00:00', 'ADMIN')"));
}

inline void cobranza(db::Connection &c, const QString &almacen, int clave, const QString &cliente,
                     const Decimal &importe, const QVariant &pagado, const QString &estado)
{
    c.execute(
        QStringLiteral("insert into tCobranza (alm_Clave, cob_Clave, cli_Clave, cob_Importe, cob_Pagado, "
                       "ecob_Clave, cob_FecReg, cob_FecVenc) values (?, ?, ?, ?, ?, ?, "
                       "'2026-03-01 10:00:00', '2026-03-31 10:00:00')"),
        {almacen, clave, cliente, importe.toQVariant(), pagado, estado});
}

// One sale with one payment line of the given kind and state.
inline void pagoVenta(db::Connection &c, const QString &almacen, int numero, const QString &cliente,
                      const QString &tipo, const Decimal &importe, const QString &estado)
{
    const QString terminal = almacen == QLatin1String("A1") ? QStringLiteral("T1") : QStringLiteral("T2");
    c.execute(
        QStringLiteral("insert into tVenta (term_Clave, corte_Anio, corte_Numero, venta_Numero, venta_Folio, "
                       "venta_importe, venta_Total, usu_Clave, venta_Fecha, cli_Clave, alm_Clave, "
                       "usu_ClaveReg) values (?, 2026, 1, ?, ?, ?, ?, 'ADMIN', '2026-03-01 10:00:00', ?, ?, "
                       "'ADMIN')"),
        {terminal, numero, numero, importe.toQVariant(), importe.toQVariant(), cliente, almacen});
    c.execute(
        QStringLiteral("insert into tVentaPago (alm_Clave, vpago_Anio, vpago_Clave, term_Clave, corte_Anio, "
                       "corte_Numero, venta_Numero, venta_Folio, tpago_Clave, vpago_Importe, evpago_Clave, "
                       "cli_Clave) values (?, 2026, ?, ?, 2026, 1, ?, ?, ?, ?, ?, ?)"),
        {almacen, numero, terminal, numero, numero, tipo, importe.toQVariant(), estado, cliente});
}

// C1 owes 145.00 in receivables and 12.34 of a registered credit sale in A1 (157.34); the rest
// must not count for C1 in A1.
inline void creaCartera(db::Connection &c)
{
    creaBase(c);
    cobranza(c, QStringLiteral("A1"), 1, QStringLiteral("C1"), Decimal("100"), Decimal("30").toQVariant(),
             QStringLiteral("PENDIENTE"));
    cobranza(c, QStringLiteral("A1"), 2, QStringLiteral("C1"), Decimal("50"), QVariant(),
             QStringLiteral("COBRO_PARCIAL"));
    cobranza(c, QStringLiteral("A1"), 3, QStringLiteral("C1"), Decimal("40"), Decimal("40").toQVariant(),
             QStringLiteral("COBRADA"));
    cobranza(c, QStringLiteral("A1"), 4, QStringLiteral("C1"), Decimal("500"), Decimal("0").toQVariant(),
             QStringLiteral("CANCELADA"));
    cobranza(c, QStringLiteral("A1"), 5, QStringLiteral("C1"), Decimal("25.25"), Decimal("0.25").toQVariant(),
             QStringLiteral("VENCIDA"));
    cobranza(c, QStringLiteral("A2"), 6, QStringLiteral("C1"), Decimal("1000"), Decimal("0").toQVariant(),
             QStringLiteral("PENDIENTE"));
    cobranza(c, QStringLiteral("A1"), 7, QStringLiteral("C2"), Decimal("300"), Decimal("0").toQVariant(),
             QStringLiteral("PENDIENTE"));
    pagoVenta(c, QStringLiteral("A1"), 1, QStringLiteral("C1"), QStringLiteral("CREDITO"), Decimal("12.34"),
              QStringLiteral("REGISTRADO"));
    pagoVenta(c, QStringLiteral("A1"), 2, QStringLiteral("C1"), QStringLiteral("CREDITO"), Decimal("99"),
              QStringLiteral("COBRANZA"));
    pagoVenta(c, QStringLiteral("A1"), 3, QStringLiteral("C1"), QStringLiteral("EFECTIVO"), Decimal("7"),
              QStringLiteral("REGISTRADO"));
    pagoVenta(c, QStringLiteral("A1"), 4, QStringLiteral("C2"), QStringLiteral("CREDITO"), Decimal("5"),
              QStringLiteral("REGISTRADO"));
    pagoVenta(c, QStringLiteral("A2"), 5, QStringLiteral("C1"), QStringLiteral("CREDITO"), Decimal("8"),
              QStringLiteral("REGISTRADO"));
}

} // namespace cartera
