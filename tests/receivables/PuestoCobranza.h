#pragma once

// The collection tests' store: warehouses A1 and A2, client C1 with 30 days of credit and C2
// without a credit period, receivables entered as the maintenance window enters them, credit
// notes, and a workstation in A1 with a helper that collects through the receivables window's
// rules with the payment dialog driven as a user would.
#include "Cobranza.h"
#include "CobroDoc.h"
#include "CuentaPorCobrar.h"
#include "EstacionPrueba.h"
#include "InvariantesCobranza.h"
#include "Log.h"

#include "Connection.h"
#include "Transaction.h"

namespace cobranza {

inline void creaBase(db::Connection &c)
{
    c.execute(QStringLiteral(
        "insert into tAlmacen (alm_Clave, alm_Nombre) values ('A1', 'Matriz'), ('A2', 'Sucursal')"));
    c.execute(
        QStringLiteral("insert into tPeriodo (per_Clave, per_Nombre, per_Credito, per_IntervaloSQL) values "
                       "('PV30', 'Dias de credito', 'S', 'd')"));
    c.execute(
        QStringLiteral("insert into tCliente (cli_Clave, cli_Nombre, tcli_Clave, cli_Credito, per_Clave, "
                       "cli_Periodo) values ('C1', 'Cliente uno', 'SYS', 1000, 'PV30', 30), ('C2', 'Cliente "
                       "dos', 'SYS', 500, null, 0)"));
    c.execute(
        QStringLiteral("insert into tBanco (banco_Clave, banco_Nombre) values ('BANCO1', 'Banco uno')"));
}

// A receivable of the amount, as the maintenance window adds it.
inline qint64 cuenta(db::Connection &c, const char *importe, const QString &cliente = QStringLiteral("C1"),
                     const QString &almacen = QStringLiteral("A1"))
{
    db::Transaction t(c);
    const qint64 k = CuentaPorCobrar::creaCuenta(c, almacen, cliente, Decimal(importe), QString(), QString(),
                                                 QStringLiteral("PENDIENTE"));
    t.commit();
    return k;
}

inline void nota(db::Connection &c, qint64 clave, const char *importe,
                 const QString &estado = QStringLiteral("AUTORIZADA"),
                 const QString &cliente = QStringLiteral("C1"))
{
    c.execute(QStringLiteral(
                  "insert into tNotaCliente (alm_Clave, notac_Clave, cli_Clave, notac_Fecha, notac_Importe, "
                  "edonc_Clave) values ('A1', ?, ?, getdate(), ?, ?)"),
              {clave, cliente, Decimal(importe).toQVariant(), estado});
}

inline CobroDoc::Captura efectivo(const char *importe)
{
    CobroDoc::Captura k;
    k.tipo = QStringLiteral("EFECTIVO");
    k.importe = QString::fromLatin1(importe);
    return k;
}

struct Puesto : EstacionPrueba {
    Puesto(db::Connection *c, const QString &ini)
        : EstacionPrueba(c, ini), cobranza(provider, config, prompter)
    {
        config.setValue(QStringLiteral("ALMACEN"), QStringLiteral("A1"));
        config.setValue(QStringLiteral("USUARIO"), QStringLiteral("COBRADOR"));
    }

    // Collects the receivables (and notes) with the payment lines typed in the dialog, then
    // accepts it; true when the payment was written.
    bool cobra(const QList<qint64> &cuentas, const QList<CobroDoc::Captura> &lineas,
               const QList<qint64> &notas = {})
    {
        return cobranza.cmdCobrar(cuentas, notas, [&lineas](CobroDoc &doc) {
            for (const CobroDoc::Captura &k : lineas)
                if (!doc.cmdAgregar(k))
                    return false;
            return doc.cmdAceptar();
        });
    }

    Cobranza cobranza;
};

} // namespace cobranza
