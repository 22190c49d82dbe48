#include "SaldoCliente.h"

#include "Connection.h"

Decimal SaldoCliente::saldo(db::Connection &c, const QString &cliente, const QString &almacen)
{
    const QVariant cobranza = c.scalar(
        QStringLiteral("select sum(cob_Importe - coalesce(cob_Pagado, 0)) from tCobranza where cli_Clave = ? "
                       "and alm_Clave = ? and ecob_Clave not in ('COBRADA', 'CANCELADA')"),
        {cliente, almacen});
    const QVariant pagos = c.scalar(
        QStringLiteral("select sum(vpago_Importe) from tVentaPago where cli_Clave = ? and alm_Clave = ? "
                       "and tpago_Clave = 'CREDITO' and evpago_Clave = 'REGISTRADO'"),
        {cliente, almacen});
    const auto comoDecimal = [](const QVariant &v) {
        return v.isNull() ? Decimal() : Decimal::fromVariant(v);
    };
    return comoDecimal(cobranza) + comoDecimal(pagos);
}

std::optional<Decimal> SaldoCliente::limiteCredito(db::Connection &c, const QString &cliente)
{
    auto rs =
        c.openRecordset(QStringLiteral("select cli_Credito from tCliente where cli_Clave = ?"), {cliente});
    if (rs.eof())
        return std::nullopt;
    const QVariant v = rs.value(0);
    return v.isNull() ? Decimal() : Decimal::fromVariant(v);
}
