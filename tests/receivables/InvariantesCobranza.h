#pragma once

// What every test that writes receivables checks afterwards: each client's open balance
// (SaldoCliente, what the counter's credit check reads) equals the pending amounts summed here
// from the rows themselves; each receivable's collected amount is the sum of its links and its
// state follows what is pending; no payment hands out more than it received; a note is paid
// exactly when a payment consumed it. Returns the first broken rule, or an empty text.
#include "SaldoCliente.h"

#include "Connection.h"
#include "Decimal.h"

#include <QMap>
#include <QSet>
#include <QString>

inline QString invariantesCobranza(db::Connection &c)
{
    QMap<QString, Decimal> enlaces; // warehouse|receivable → Σ links
    QMap<QString, Decimal> porPago; // warehouse|payment → Σ links
    for (db::Recordset rs = c.openRecordset(
             QStringLiteral("select alm_Clave, cob_Clave, cobro_Clave, ccob_Importe from tCobranzaCobro"));
         !rs.eof(); rs.moveNext()) {
        const QString alm = rs.text(QStringLiteral("alm_Clave"));
        const Decimal importe = rs.decimal(QStringLiteral("ccob_Importe"));
        if (importe.sign() <= 0)
            return QStringLiteral("enlace sin importe: ") + rs.text(QStringLiteral("cob_Clave"));
        enlaces[alm + u'|' + rs.text(QStringLiteral("cob_Clave"))] += importe;
        porPago[alm + u'|' + rs.text(QStringLiteral("cobro_Clave"))] += importe;
    }
    for (db::Recordset rs =
             c.openRecordset(QStringLiteral("select alm_Clave, cobro_Clave, cobro_Importe from TCOBRO"));
         !rs.eof(); rs.moveNext()) {
        const QString k =
            rs.text(QStringLiteral("alm_Clave")) + u'|' + rs.text(QStringLiteral("cobro_Clave"));
        if (porPago.value(k) > rs.decimal(QStringLiteral("cobro_Importe")))
            return QStringLiteral("el pago %1 reparte %2 de %3")
                .arg(k, porPago.value(k).toString(), rs.decimal(QStringLiteral("cobro_Importe")).toString());
    }
    QMap<QString, Decimal> independiente; // client|warehouse → Σ pending
    for (db::Recordset rs = c.openRecordset(QStringLiteral(
             "select alm_Clave, cob_Clave, cli_Clave, cob_Importe, cob_Pagado, ecob_Clave from tCobranza"));
         !rs.eof(); rs.moveNext()) {
        const QString k = rs.text(QStringLiteral("alm_Clave")) + u'|' + rs.text(QStringLiteral("cob_Clave"));
        const Decimal importe = rs.decimal(QStringLiteral("cob_Importe"));
        const Decimal cobrado = enlaces.value(k);
        const QString estado = rs.text(QStringLiteral("ecob_Clave"));
        if (rs.decimal(QStringLiteral("cob_Pagado")) != cobrado)
            return QStringLiteral("cuenta %1: pagado %2, enlaces %3")
                .arg(k, rs.decimal(QStringLiteral("cob_Pagado")).toString(), cobrado.toString());
        const Decimal pendiente = importe - cobrado;
        if (estado != QLatin1String("CANCELADA") && cobrado.sign() > 0) {
            const QString esperado =
                pendiente < Decimal("0.01") ? QStringLiteral("COBRADA") : QStringLiteral("COBRO_PARCIAL");
            if (estado != esperado)
                return QStringLiteral("cuenta %1: estado %2 con %3 pendiente")
                    .arg(k, estado, pendiente.toString());
        }
        if (estado == QLatin1String("COBRADA") && pendiente >= Decimal("0.01"))
            return QStringLiteral("cuenta %1 cobrada con %2 pendiente").arg(k, pendiente.toString());
        if (estado != QLatin1String("COBRADA") && estado != QLatin1String("CANCELADA"))
            independiente[rs.text(QStringLiteral("cli_Clave")) + u'|' +
                          rs.text(QStringLiteral("alm_Clave"))] += pendiente;
    }
    for (db::Recordset rs = c.openRecordset(QStringLiteral(
             "select cli_Clave, alm_Clave, vpago_Importe from tVentaPago where tpago_Clave = 'CREDITO' "
             "and evpago_Clave = 'REGISTRADO'"));
         !rs.eof(); rs.moveNext())
        independiente[rs.text(QStringLiteral("cli_Clave")) + u'|' + rs.text(QStringLiteral("alm_Clave"))] +=
            rs.decimal(QStringLiteral("vpago_Importe"));
    for (db::Recordset rs = c.openRecordset(
             QStringLiteral("select k.cli_Clave, a.alm_Clave from tCliente k cross join tAlmacen a"));
         !rs.eof(); rs.moveNext()) {
        const QString cli = rs.text(QStringLiteral("cli_Clave"));
        const QString alm = rs.text(QStringLiteral("alm_Clave"));
        const Decimal saldo = SaldoCliente::saldo(c, cli, alm);
        if (saldo != independiente.value(cli + u'|' + alm))
            return QStringLiteral("saldo de %1 en %2: %3, de las filas %4")
                .arg(cli, alm, saldo.toString(), independiente.value(cli + u'|' + alm).toString());
    }
    QSet<QString> consumidas;
    for (db::Recordset rs = c.openRecordset(QStringLiteral(
             "select alm_Clave, cli_Clave, cobro_Referencia from TCOBRO where tcobro_Clave = 'NOTA'"));
         !rs.eof(); rs.moveNext()) {
        const QString k = rs.text(QStringLiteral("alm_Clave")) + u'|' + rs.text(QStringLiteral("cli_Clave")) +
                          u'|' + QString::number(rs.text(QStringLiteral("cobro_Referencia")).toLongLong());
        if (consumidas.contains(k))
            return QStringLiteral("nota usada dos veces: ") + k;
        consumidas.insert(k);
    }
    for (db::Recordset rs = c.openRecordset(
             QStringLiteral("select alm_Clave, cli_Clave, notac_Clave, edonc_Clave from tNotaCliente"));
         !rs.eof(); rs.moveNext()) {
        const QString k = rs.text(QStringLiteral("alm_Clave")) + u'|' + rs.text(QStringLiteral("cli_Clave")) +
                          u'|' + rs.text(QStringLiteral("notac_Clave"));
        if ((rs.text(QStringLiteral("edonc_Clave")) == QLatin1String("PAGADA")) != consumidas.contains(k))
            return QStringLiteral("nota %1 en estado %2").arg(k, rs.text(QStringLiteral("edonc_Clave")));
    }
    return {};
}

#define MDR_VERIFICA_COBRANZA(conn)                                                                          \
    do {                                                                                                     \
        const QString roto_ = invariantesCobranza(conn);                                                     \
        QVERIFY2(roto_.isEmpty(), qPrintable(roto_));                                                        \
    } while (false)
