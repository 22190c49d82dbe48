#include "CajaFixture.h"

#include "Log.h"
#include "TestDatabase.h"
#include "cCorte.h"

#include <QTemporaryDir>
#include <QTest>

// A day at the counter: the cut opened, sales of every kind, cash in and out, the closing with
// a count; the cut's figures are those of the day's documents on both engines.
class tst_CorteDia : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dia_data() { TestDatabase::addEngineRows(); }
    void dia();
};

namespace {

DatosVenta conPagos(const QList<LineaVenta> &lineas, const QList<PagoVenta> &pagos)
{
    DatosVenta d = venta(lineas);
    d.pagos = pagos;
    return d;
}

int fila(const QList<PagoRecibido> &pagos, const QString &tipo)
{
    for (int i = 0; i < pagos.size(); ++i)
        if (pagos.at(i).tipo == tipo)
            return i;
    return -1;
}

} // namespace

void tst_CorteDia::dia()
{
    QFETCH(QString, engine);
    QTemporaryDir dir;
    Log::setDirectoryProvider([d = dir.path()] { return d; });
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaCaja(c, dir.filePath(QStringLiteral("p.ini")));
    c.execute(QStringLiteral("update TCORTE set ecorte_Clave = 'CERRADO' where term_Clave = 'CAJA1'"));
    EstacionPrueba s(&c, dir.filePath(QStringLiteral("a.ini")));
    EstacionPrueba::grant(c, {QStringLiteral("ninguno")});
    enCaja(s, c);
    s.config.setValue(QStringLiteral("IMPRIME-MOVIMIENTO-DE-CAJA"), false);
    s.config.setValue(QStringLiteral("IMPRIMIR-CORTE-DE-CAJA"), true);
    s.config.setValue(QStringLiteral("IMPRIMIR-CORTE-DE-CAJA-PREGUNTA"), false);

    // Morning: the cut opens with 1,500.00.
    Corte corte(s.provider, s.config, s.prompter);
    const auto apertura = corte.preparaApertura();
    QVERIFY(apertura);
    QCOMPARE(apertura->numero, 3);
    QVERIFY(corte.abre(*apertura, QStringLiteral("1500")));

    // Sales: cash, cash with two lines, card, credit, and one paid half cash half card.
    GuardaVenta g(s.provider, s.config, s.prompter);
    QVERIFY(g.guardaDatos(venta({linea(QStringLiteral("LIB"), "3", "12.50", "0")})));
    QVERIFY(g.guardaDatos(venta(
        {linea(QStringLiteral("LIB"), "1", "99.99", "0"), linea(QStringLiteral("EXI"), "2", "8", "0")})));
    QVERIFY(g.guardaDatos(venta({linea(QStringLiteral("LIB"), "2", "45", "0")}, QStringLiteral("TARJETA"))));
    QVERIFY(g.guardaDatos(venta({linea(QStringLiteral("LIB"), "1", "230", "0")}, QStringLiteral("CREDITO"))));
    QVERIFY(g.guardaDatos(
        conPagos({linea(QStringLiteral("LIB"), "1", "100", "0")},
                 {pago(QStringLiteral("EFECTIVO"), "60"), pago(QStringLiteral("TARJETA"), "40")})));

    // Cash in and out: an expense, change brought in, a deposit, a supplier paid.
    MovimientoCaja m(s.provider, s.config, s.prompter);
    s.prompter.answers << true << false << true << false << true << false << true << false;
    QVERIFY(m.registraConcepto(QStringLiteral("LUZ"), QStringLiteral("Luz"), QStringLiteral("120")));
    QVERIFY(m.registraConcepto(QStringLiteral("FONDO"), QStringLiteral("Morralla"), QStringLiteral("50")));
    QVERIFY(m.registraDeposito(QStringLiteral("0123456789"), QStringLiteral("1000")));
    QVERIFY(m.registraPagoFactura(QStringLiteral("P1"), QStringLiteral("F-101"), QStringLiteral("200")));
    QVERIFY(s.prompter.drained());

    // Evening: the cashier counts the drawer and types the card and credit slips.
    CorteCierre k(s.provider, s.config, s.prompter, s.permisos);
    QList<Decimal> impresos;
    k.setImprime([&](const cCorte &corte) { impresos << corte.resumen().total(); });
    QVERIFY(k.inicia());
    const Decimal efectivo("443.49"); // 1,500 + 37.50 + 115.99 + 60 + 50 − 120 − 1,000 − 200
    Decimal falta = efectivo;
    const QList<ArqueoFila> arqueo = k.resumen().arqueo;
    for (int i = 0; i < arqueo.size(); ++i) {
        const qint64 n = (falta / arqueo.at(i).valor).truncated().toInt64();
        falta -= arqueo.at(i).valor * Decimal(n);
        QVERIFY(k.capturaCantidad(i, QString::number(n)));
    }
    QCOMPARE(falta, Decimal());
    const QList<PagoRecibido> pagos = k.resumen().pagos;
    QCOMPARE(pagos.at(fila(pagos, QStringLiteral("EFECTIVO"))).importe, efectivo);
    QVERIFY(k.capturaPago(fila(pagos, QStringLiteral("TARJETA")), QStringLiteral("130")));
    QVERIFY(k.capturaPago(fila(pagos, QStringLiteral("CREDITO")), QStringLiteral("230")));
    s.prompter.answers << true << false;
    QVERIFY(k.cmdAceptar());
    QVERIFY(s.prompter.drained());

    // The cut's figures against the day's documents, summed by the database.
    const QVariantList cut{QStringLiteral("A1"), QStringLiteral("CAJA1"), apertura->anio, 3};
    const QString delCorte =
        QStringLiteral(" where alm_Clave = ? and term_Clave = ? and corte_Anio = ? and corte_Numero = ?");
    const Decimal ventas =
        Decimal::fromVariant(c.scalar(QStringLiteral("select sum(venta_Total) from tVenta") + delCorte, cut));
    const Decimal movimientos = Decimal::fromVariant(c.scalar(
        QStringLiteral(
            "select sum(case when k.concepto_Signo = '+' then m.movc_Importe else -m.movc_Importe end) "
            "from tMovCaja m join tConcepto k on k.concepto_Clave = m.concepto_Clave where m.alm_Clave = ? "
            "and m.term_Clave = ? and m.corte_Anio = ? and m.corte_Numero = ? and m.concepto_Clave not in "
            "('VENTAS', 'DEVOLUCIONES')"),
        cut));
    QCOMPARE(ventas, Decimal("573.49"));
    QCOMPARE(movimientos, Decimal("230"));
    const QString total = (ventas + movimientos).toString();
    QCOMPARE(total, QStringLiteral("803.49"));
    const QVariant articulos =
        c.scalar(QStringLiteral("select sum(vdet_Cantidad) from tVentaDetalle") + delCorte, cut);
    QCOMPARE(filas(c,
                   QStringLiteral(
                       "select ecorte_Clave, corte_Total, corte_Diferencia, corte_Articulos from TCORTE") +
                       delCorte,
                   cut),
             QStringList{QStringLiteral("CERRADO|") + total + QStringLiteral("|0|") +
                         Decimal::fromVariant(articulos).toString()});
    QCOMPARE(Decimal::fromVariant(articulos), Decimal(10));
    // What was received per kind: card and credit as the sales took them, cash as counted.
    QCOMPARE(filas(c,
                   QStringLiteral("select tpago_Clave, cortetp_Importe from tCorteTipoPago") + delCorte +
                       QStringLiteral(" order by tpago_Clave"),
                   cut),
             (QStringList{"CREDITO|230", "EFECTIVO|443.49", "TARJETA|130"}));
    QCOMPARE(
        filas(c,
              QStringLiteral("select tpago_Clave, sum(vpago_Importe) from tVentaPago") + delCorte +
                  QStringLiteral(" and tpago_Clave <> 'EFECTIVO' group by tpago_Clave order by tpago_Clave"),
              cut),
        (QStringList{"CREDITO|230", "TARJETA|130"}));
    QCOMPARE(filas(c,
                   QStringLiteral("select movc_Importe from tMovCaja") + delCorte +
                       QStringLiteral(" and concepto_Clave = 'VENTAS'"),
                   cut),
             QStringList{ventas.toString()});
    QCOMPARE(impresos, QList<Decimal>{Decimal(total)});
    // The money that left the drawer arrived where it went.
    QCOMPARE(
        filas(c, QStringLiteral("select ctab_Saldo from tCuentaBancaria where ctab_Clave = '0123456789'")),
        QStringList{QStringLiteral("2000")});
    QCOMPARE(
        filas(c, QStringLiteral("select fact_Pago, edof_Clave from tFactura where fact_Clave = 'F-101'")),
        QStringList{QStringLiteral("300|PAGADA")});
    QVERIFY(s.config.getString(QStringLiteral("CORTE-CAJA")).isEmpty());

    // Next morning the balance is proposed as the initial amount.
    s.config.setValue(QStringLiteral("ACUMULA-SALDO-CORTE-DE-CAJA"), true);
    const auto manana = corte.preparaApertura();
    QVERIFY(manana);
    QCOMPARE(manana->numero, 4);
    QCOMPARE(manana->importeSugerido.value_or(Decimal()), Decimal(total));
}

QTEST_GUILESS_MAIN(tst_CorteDia)
#include "tst_corte_dia.moc"
