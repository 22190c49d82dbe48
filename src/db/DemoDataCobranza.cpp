#include "DemoDataCobranza.h"

#include "Connection.h"

#include <QDateTime>

namespace db {

namespace {

// The next folio of a yearly sequence, written as year and value (2026 and 7 give 20267).
qint64 folio(Connection &c, const QString &documento, int anio)
{
    const QVariantMap parametros{{QStringLiteral("@sec_Clave"),
                                  QString(documento + QStringLiteral("_MATRIZ_") + QString::number(anio))},
                                 {QStringLiteral("@valor_ini"), 1},
                                 {QStringLiteral("@valor_fin"), 2147483647},
                                 {QStringLiteral("@inc_inicial"), 1},
                                 {QStringLiteral("@valor_Inicial"), 1}};
    const QVariantMap out = c.callRoutine(QStringLiteral("sp_generasecuencia"), parametros);
    return QString(QString::number(anio) + QString::number(out.value(QStringLiteral("valor")).toLongLong()))
        .toLongLong();
}

} // namespace

void populateDemoCobranza(Connection &c)
{
    if (!c.tableExists(QStringLiteral("TCOBRO")) ||
        c.scalar(QStringLiteral("select count(*) from tCliente where cli_Clave in ('C0003', 'C0005')"))
                .toInt() < 2 ||
        c.scalar(QStringLiteral("select count(*) from tCobranza where alm_Clave = 'MATRIZ'")).toInt() > 0)
        return;
    const QDateTime ahora = c.scalar(QStringLiteral("select getdate()")).toDateTime();
    const int anio = ahora.date().year();
    const auto cuenta = [&](const char *cliente, int diasAtras, const char *importe, const char *pagado,
                            const char *estado, const char *referencia) {
        const qint64 clave = folio(c, QStringLiteral("COBRANZA"), anio);
        const QDateTime fecha = ahora.addDays(-diasAtras);
        c.execute(QStringLiteral(
                      "insert into tCobranza (alm_Clave, cob_Clave, cli_Clave, cob_Importe, cob_Pagado, "
                      "cob_Referencia, ecob_Clave, cob_FecReg, cob_FecVenc, cob_FecCob) values ('MATRIZ', "
                      "?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                  {clave, QLatin1String(cliente), QLatin1String(importe), QLatin1String(pagado),
                   QLatin1String(referencia), QLatin1String(estado), fecha, fecha.addDays(30),
                   QByteArray(pagado) == "0" ? QVariant(QMetaType(QMetaType::QDateTime))
                                             : QVariant(ahora.addDays(-2))});
        return clave;
    };
    const auto nota = [&](const char *cliente, int diasAtras, const char *importe, const char *estado,
                          const char *concepto) {
        const qint64 clave = folio(c, QStringLiteral("NOTACLIENTE"), anio);
        c.execute(QStringLiteral(
                      "insert into tNotaCliente (alm_Clave, notac_Clave, cli_Clave, notac_Fecha, "
                      "notac_Importe, notac_Concepto, edonc_Clave, usu_Clave) values ('MATRIZ', ?, ?, ?, ?, "
                      "?, ?, 'ADMIN')"),
                  {clave, QLatin1String(cliente), ahora.addDays(-diasAtras), QLatin1String(importe),
                   QString::fromUtf8(concepto), QLatin1String(estado)});
        return clave;
    };
    // A payment and its share of one receivable.
    const auto cobro = [&](qint64 cuenta, const char *cliente, const char *tipo, const char *importe,
                           const QVariantList &extra) {
        const qint64 clave = folio(c, QStringLiteral("COBRO"), anio);
        const QDateTime fecha = ahora.addDays(-2);
        c.execute(
            QStringLiteral("insert into TCOBRO (alm_Clave, cobro_Clave, tcobro_Clave, cobro_Importe, "
                           "banco_Clave, cobro_Cheque, cobro_Referencia, cli_Clave, cobro_Fecha, usu_Clave) "
                           "values ('MATRIZ', ?, ?, ?, ?, ?, ?, ?, ?, 'ADMIN')"),
            QVariantList{clave, QLatin1String(tipo), QLatin1String(importe)} + extra +
                QVariantList{QLatin1String(cliente), fecha});
        c.execute(
            QStringLiteral("insert into tCobranzaCobro (alm_Clave, cob_Clave, cobro_Clave, ccob_Importe, "
                           "ccob_Fecha, usu_Clave) values ('MATRIZ', ?, ?, ?, ?, 'ADMIN')"),
            {cuenta, clave, QLatin1String(importe), fecha});
    };
    const QVariant nada{QMetaType(QMetaType::QString)};

    cuenta("C0003", 40, "1250.00", "0", "PENDIENTE", "Pedido de abarrotes 118");
    const qint64 parcial =
        cuenta("C0003", 25, "860.50", "300.00", "COBRO_PARCIAL", "Pedido de abarrotes 131");
    cobro(parcial, "C0003", "EFECTIVO", "300.00", {nada, nada, nada});
    const qint64 pagada = cuenta("C0003", 20, "420.00", "420.00", "COBRADA", "Pedido de abarrotes 137");
    const qint64 aplicada = nota("C0003", 10, "200.00", "PAGADA", "Devolución de mercancía dañada");
    const QString banco =
        c.scalar(QStringLiteral("select count(*) from tBanco where banco_Clave = 'BANORTE'")).toInt() > 0
            ? QStringLiteral("BANORTE")
            : QString();
    cobro(pagada, "C0003", "CHEQUE", "220.00",
          {banco.isEmpty() ? nada : QVariant(banco), QStringLiteral("004512"), nada});
    cobro(pagada, "C0003", "NOTA", "200.00", {nada, nada, QString::number(aplicada)});
    cuenta("C0005", 12, "315.75", "0", "PENDIENTE", "Surtido a domicilio");
    nota("C0005", 5, "50.00", "AUTORIZADA", "Bonificación por pronto pago");
    nota("C0003", 1, "35.00", "REGISTRADA", "Diferencia de precio");
}

} // namespace db
