#include "CajaFixture.h"

#include "Log.h"
#include "TestDatabase.h"
#include "cMovCaja.h"

#include "DbError.h"
#include "ScriptObjects.h"
#include "cCode.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

struct Caja {
    Caja(db::Connection &c, const QString &ini) : s(&c, ini), mov(s.provider, s.config, s.prompter)
    {
        enCaja(s, c);
        s.config.setValue(QStringLiteral("IMPRIME-MOVIMIENTO-DE-CAJA"), false);
    }
    EstacionPrueba s;
    MovimientoCaja mov;
};

QString secuenciaCaja1(db::Connection &c)
{
    return QStringLiteral("MOV_CAJA_A1_CAJA1_%1_2").arg(anioServidor(c));
}

// Everything a cash payment of an invoice or a deposit touches.
QStringList estadoDelPago(db::Connection &c)
{
    return filas(c, QStringLiteral(
                        "select fact_Clave, fact_Pago, edof_Clave from tFactura order by fact_Clave")) +
           filas(c, QStringLiteral("select pago_Clave, tpago_Clave, vpago_Importe, prov_Clave from TPAGO")) +
           filas(c, QStringLiteral("select fact_Clave, pago_Clave, fpag_Importe from tFacturaPago")) +
           filas(c, QStringLiteral(
                        "select concepto_Clave, tconcepto_Clave, concepto_Signo from tConcepto order by 1")) +
           filas(c, QStringLiteral("select ctab_Clave, ctab_Saldo from tCuentaBancaria")) +
           filas(c,
                 QStringLiteral("select movcb_Clave, movcb_Importe, movcb_Saldo from tMovCuentaBancaria")) +
           filas(c, QStringLiteral("select movc_Clave, concepto_Clave, movc_Importe from tMovCaja")) +
           filas(c, QStringLiteral("select sec_Clave, sec_Valor from tSecuencia order by sec_Clave"));
}

} // namespace

class tst_MovimientoCaja : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void concepto_data() { TestDatabase::addEngineRows(); }
    void concepto();
    void rechazos_data();
    void rechazos();
    void pagoFactura_data();
    void pagoFactura();
    void deposito_data() { TestDatabase::addEngineRows(); }
    void deposito();
    void impresion();
    void fallaEnCadaSentencia_data();
    void fallaEnCadaSentencia();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini(const QString &n = QStringLiteral("a.ini")) const { return m_dir->filePath(n); }
};

void tst_MovimientoCaja::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    Log::setDirectoryProvider([d = m_dir->path()] { return d; });
}

// Concept movements go to the open cut, numbered after the initial amount; a "-" concept lowers
// the expected total of the cut.
void tst_MovimientoCaja::concepto()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaCaja(c, ini(QStringLiteral("p.ini")), "500");
    Caja x(c, ini());
    QVERIFY(x.mov.validaCorte());
    QStringList conceptos;
    for (const auto &k : x.mov.conceptos())
        conceptos << k.clave;
    // Incomes and expenses only: supplier, bank and closing concepts are written by their own tabs.
    QCOMPARE(conceptos, (QStringList{"DEPOSITO_DIA", "FONDO", "EFEC_APORTACION", "LUZ"}));
    const QDateTime t(QDate(2026, 3, 9), QTime(14, 5, 7));
    QCOMPARE(
        x.mov.descripcionPropuesta({QStringLiteral("DEPOSITO_DIA"), QStringLiteral("DEPOSITO DEL DIA")}, t),
        QStringLiteral("DEPOSITO A CUENTA 09/03/2026 14:05:07"));
    QCOMPARE(x.mov.descripcionPropuesta({QStringLiteral("LUZ"), QStringLiteral("PAGO DE LUZ")}, t),
             QStringLiteral("PAGO DE LUZ"));

    x.s.prompter.answers << true << true << true << false;
    QCOMPARE(x.mov.registraConcepto(QStringLiteral("LUZ"), QStringLiteral(" Recibo bimestral "),
                                    QStringLiteral("1,250.50")),
             std::optional<qint64>(2));
    QVERIFY(x.mov.otroMovimiento());
    QCOMPARE(
        x.mov.registraConcepto(QStringLiteral("FONDO"), QStringLiteral("Morralla"), QStringLiteral("$100")),
        std::optional<qint64>(3));
    QVERIFY(!x.mov.otroMovimiento());
    QCOMPARE(x.s.prompter.texts(), (QStringList{MovimientoCaja::kConfirma, MovimientoCaja::kOtroMovimiento,
                                                MovimientoCaja::kConfirma, MovimientoCaja::kOtroMovimiento}));
    QCOMPARE(filas(c, QStringLiteral(
                          "select movc_Clave, concepto_Clave, concepto_Nombre, movc_Importe, usu_Clave from "
                          "tMovCaja order by movc_Clave")),
             (QStringList{"1|EFEC_APORTACION|IMPORTE INICIAL|500|ADMIN",
                          "2|LUZ|Recibo bimestral|1250.5|CAJERO", "3|FONDO|Morralla|100|CAJERO"}));
    const auto r = ResumenCorte::lee(c, QStringLiteral("A1"), x.mov.corte());
    QVERIFY(r);
    QCOMPARE(r->total(), Decimal("-650.5")); // 500 − 1,250.50 + 100

    // Once the cut is closed no movement enters it.
    c.execute(QStringLiteral("update TCORTE set ecorte_Clave = 'CERRADO' where term_Clave = 'CAJA1'"));
    x.s.prompter.answers << true;
    QVERIFY(!x.mov.registraConcepto(QStringLiteral("LUZ"), QStringLiteral("Otra"), QStringLiteral("1")));
    QCOMPARE(x.s.prompter.last(), Corte::kCorteInvalido);
    QCOMPARE(
        c.scalar(QStringLiteral("select sec_Valor from tSecuencia where sec_Clave = ?"), {secuenciaCaja1(c)})
            .toInt(),
        3);
}

void tst_MovimientoCaja::rechazos_data()
{
    QTest::addColumn<QString>("concepto");
    QTest::addColumn<QString>("descripcion");
    QTest::addColumn<QString>("importe");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<int>("campo");
    const int conc = int(MovimientoCaja::Campo::Concepto), desc = int(MovimientoCaja::Campo::Descripcion),
              imp = int(MovimientoCaja::Campo::Importe);
    QTest::newRow("sin concepto") << ""
                                  << "x"
                                  << "1"
                                  << "Debe seleccionar un concepto" << conc;
    QTest::newRow("concepto inexistente") << "NADA"
                                          << "x"
                                          << "1"
                                          << "Debe seleccionar un concepto" << conc;
    QTest::newRow("concepto de otro tipo") << "P1"
                                           << "x"
                                           << "1"
                                           << "Debe seleccionar un concepto" << conc;
    QTest::newRow("concepto del cierre") << "VENTAS"
                                         << "x"
                                         << "1"
                                         << "Debe seleccionar un concepto" << conc;
    QTest::newRow("sin descripcion") << "LUZ"
                                     << "  "
                                     << "1"
                                     << "Debe indicar una descripcion" << desc;
    QTest::newRow("sin importe") << "LUZ"
                                 << "x"
                                 << ""
                                 << "Debe indicar un importe" << imp;
    QTest::newRow("importe cero") << "LUZ"
                                  << "x"
                                  << "0.00"
                                  << "Debe indicar un importe" << imp;
    QTest::newRow("importe negativo") << "LUZ"
                                      << "x"
                                      << "-5"
                                      << "Debe indicar un importe" << imp;
    QTest::newRow("importe letras") << "LUZ"
                                    << "x"
                                    << "cinco"
                                    << "Debe indicar un importe" << imp;
}

void tst_MovimientoCaja::rechazos()
{
    QFETCH(QString, concepto);
    QFETCH(QString, descripcion);
    QFETCH(QString, importe);
    QFETCH(QString, mensaje);
    QFETCH(int, campo);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaCaja(c, ini(QStringLiteral("p.ini")));
    c.execute(QStringLiteral(
        "insert into tConcepto (concepto_Clave, concepto_Nombre, tconcepto_Clave, concepto_Signo) "
        "values ('P1', 'Proveedor uno', 'FACTURA', '-')"));
    Caja x(c, ini());
    QVERIFY(!x.mov.registraConcepto(concepto, descripcion, importe));
    QCOMPARE(x.s.prompter.texts(), QStringList{mensaje}); // refused before the confirmation
    QCOMPARE(int(x.mov.campoRechazado()), campo);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tMovCaja")).toInt(), 0);
}

// A supplier invoice paid from the drawer: refusals by state and amount, then the payment,
// its link, the invoice's new state and the movement; the supplier becomes a "-" concept.
void tst_MovimientoCaja::pagoFactura_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("proveedor");
    QTest::addColumn<QString>("factura");
    QTest::addColumn<QString>("importe");
    QTest::addColumn<QString>("mensaje");  // empty: paid
    QTest::addColumn<QString>("factura2"); // the invoice after: paid so far and state
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "pago total") << "P1"
                                              << "F-100"
                                              << "1160"
                                              << ""
                                              << "1160|PAGADA";
        TestDatabase::newRow(e, "menos de un centavo pendiente: PAGADA") << "P1"
                                                                         << "F-100"
                                                                         << "1159.995"
                                                                         << ""
                                                                         << "1159.995|PAGADA";
        TestDatabase::newRow(e, "pago parcial") << "P1"
                                                << "F-100"
                                                << "500"
                                                << ""
                                                << "500|PAGO_PARCIAL";
        TestDatabase::newRow(e, "completa un pago parcial") << "P1"
                                                            << "F-101"
                                                            << "200"
                                                            << ""
                                                            << "300|PAGADA";
        TestDatabase::newRow(e, "excede lo pendiente")
            << "P1"
            << "F-101"
            << "200.01"
            << "El importe excede el total a pagar de la factura F-101"
            << "";
    }
    const QString e = TestDatabase::sqlite();
    TestDatabase::newRow(e, "sin proveedor") << ""
                                             << "F-100"
                                             << "1"
                                             << "Debe seleccionar un proveedor"
                                             << "";
    TestDatabase::newRow(e, "proveedor inexistente") << "PX"
                                                     << "F-100"
                                                     << "1"
                                                     << "Debe seleccionar un proveedor"
                                                     << "";
    TestDatabase::newRow(e, "factura de otro proveedor") << "P2"
                                                         << "F-100"
                                                         << "1"
                                                         << "La Factura no esta registrada"
                                                         << "";
    TestDatabase::newRow(e, "factura de otro almacen") << "P1"
                                                       << "F-200"
                                                       << "1"
                                                       << "La Factura no esta registrada"
                                                       << "";
    TestDatabase::newRow(e, "cancelada") << "P1"
                                         << "F-102"
                                         << "1"
                                         << "La factura F-102 esta cancelada, no es posible pagarla"
                                         << "";
    TestDatabase::newRow(e, "pagada") << "P1"
                                      << "F-103"
                                      << "1"
                                      << "La factura F-103 esta pagada, no es posible volver a pagarla"
                                      << "";
    TestDatabase::newRow(e, "sin importe") << "P1"
                                           << "F-100"
                                           << ""
                                           << "Debe indicar un importe"
                                           << "";
    TestDatabase::newRow(e, "clave mas larga que un concepto")
        << "PROVEEDOR-CLAVE-LARGA-01"
        << "F-300"
        << "1"
        << "La clave PROVEEDOR-CLAVE-LARGA-01 tiene mas de 20 caracteres, no es posible usarla como concepto "
           "de caja"
        << "";
}

void tst_MovimientoCaja::pagoFactura()
{
    QFETCH(QString, engine);
    QFETCH(QString, proveedor);
    QFETCH(QString, factura);
    QFETCH(QString, importe);
    QFETCH(QString, mensaje);
    QFETCH(QString, factura2);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaCaja(c, ini(QStringLiteral("p.ini")), "2000");
    Caja x(c, ini());
    const QStringList antes = estadoDelPago(c);
    x.s.prompter.answers << true << false;
    const auto n = x.mov.registraPagoFactura(proveedor, factura, importe);
    if (!mensaje.isEmpty()) {
        QVERIFY(!n);
        QCOMPARE(x.s.prompter.last(), mensaje);
        QCOMPARE(estadoDelPago(c), antes);
        return;
    }
    QVERIFY2(n, qPrintable(x.s.prompter.texts().join(u'/') + u'/' + x.s.prompter.shown.last().details));
    QCOMPARE(*n, qint64(2));
    const int anio = anioServidor(c);
    QCOMPARE(filas(c, QStringLiteral("select fact_Pago, edof_Clave from tFactura where fact_Clave = ?"),
                   {factura}),
             QStringList{factura2});
    QVERIFY(c.scalar(QStringLiteral("select fact_FecPago from tFactura where fact_Clave = ?"), {factura})
                .isValid());
    const QString folio = QString::number(Secuencias::folioConAnio(anio, 1));
    QCOMPARE(filas(c, QStringLiteral(
                          "select alm_Clave, pago_Clave, tpago_Clave, vpago_Importe, prov_Clave from TPAGO")),
             QStringList{QStringLiteral("A1|%1|EFECTIVO|%2|P1")
                             .arg(folio, Decimal(importe.toLatin1().constData()).toString())});
    QCOMPARE(filas(c, QStringLiteral("select fact_Clave, pago_Clave, usu_Clave from tFacturaPago")),
             QStringList{factura + u'|' + folio + QStringLiteral("|CAJERO")});
    // The supplier's concept: its name cut to 50, taking money out.
    QCOMPARE(filas(c, QStringLiteral(
                          "select concepto_Nombre, tconcepto_Clave, concepto_Signo from tConcepto where "
                          "concepto_Clave = 'P1'")),
             QStringList{QStringLiteral("Distribuidora Farmaceutica del Occidente de Mexico|FACTURA|-")});
    QCOMPARE(
        filas(c, QStringLiteral("select concepto_Clave, concepto_Nombre from tMovCaja where movc_Clave = 2")),
        QStringList{QStringLiteral("P1|FACTURA ") + factura +
                    QStringLiteral(" Distribuidora Farmaceutica del Occidente de Mexico, S.A. de C.V.")});
    const auto r = ResumenCorte::lee(c, QStringLiteral("A1"), x.mov.corte());
    QCOMPARE(r->total(), Decimal(2000) - Decimal(importe.toLatin1().constData()));
    // A second payment of the same supplier reuses its concept.
    if (factura2.endsWith(QLatin1String("PAGO_PARCIAL"))) {
        x.s.prompter.answers << true << false;
        QVERIFY(x.mov.registraPagoFactura(proveedor, factura, QStringLiteral("660")));
        QCOMPARE(filas(c, QStringLiteral("select fact_Pago, edof_Clave from tFactura where fact_Clave = ?"),
                       {factura}),
                 QStringList{QStringLiteral("1160|PAGADA")});
        QCOMPARE(
            c.scalar(QStringLiteral("select count(*) from tConcepto where concepto_Clave = 'P1'")).toInt(),
            1);
    }
}

// A deposit takes the money out of the drawer into the account: an applied bank movement with
// the new balance.
void tst_MovimientoCaja::deposito()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaCaja(c, ini(QStringLiteral("p.ini")), "2000");
    Caja x(c, ini());
    QVERIFY(!x.mov.registraDeposito(QStringLiteral("999"), QStringLiteral("10")));
    QCOMPARE(x.s.prompter.last(), MovimientoCaja::kSinCuenta);
    QCOMPARE(x.mov.campoRechazado(), MovimientoCaja::Campo::Cuenta);
    // An account key already used by a concept of another kind is not taken over.
    c.execute(QStringLiteral(
        "insert into tCuentaBancaria (ctab_Clave, banco_Clave, ctab_Saldo) values ('LUZ', 'BBVA', 0)"));
    QVERIFY(!x.mov.registraDeposito(QStringLiteral("LUZ"), QStringLiteral("10")));
    QCOMPARE(x.mov.campoRechazado(), MovimientoCaja::Campo::Cuenta);

    x.s.prompter.answers << true << false;
    QCOMPARE(x.mov.registraDeposito(QStringLiteral("0123456789"), QStringLiteral("250")),
             std::optional<qint64>(2));
    QCOMPARE(
        filas(c, QStringLiteral("select ctab_Saldo from tCuentaBancaria where ctab_Clave = '0123456789'")),
        QStringList{QStringLiteral("1250")});
    QCOMPARE(
        filas(c, QStringLiteral("select movcb_Clave, tmovcb_Clave, movcb_Importe, movcb_Saldo, emovcb_Clave, "
                                "usu_Clave, alm_Clave from tMovCuentaBancaria")),
        QStringList{QStringLiteral("1|DEPOSITO|250|1250|APLICADO|CAJERO|A1")});
    QVERIFY(c.scalar(QStringLiteral("select movcb_FecApl from tMovCuentaBancaria")).isValid());
    QCOMPARE(filas(c, QStringLiteral(
                          "select tconcepto_Clave, concepto_Signo from tConcepto where concepto_Clave = "
                          "'0123456789'")),
             QStringList{QStringLiteral("TESORERIA|-")});
    QCOMPARE(ResumenCorte::lee(c, QStringLiteral("A1"), x.mov.corte())->total(), Decimal(1750));
}

// The receipt goes to the printer after the commit, again while the cashier asks; an active
// "OnMovOfBox" takes the receipt's place and reads the movement as "xMovimiento".
void tst_MovimientoCaja::impresion()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaCaja(c, ini(QStringLiteral("p.ini")));
    Caja x(c, ini());
    x.s.config.setValue(QStringLiteral("IMPRIME-MOVIMIENTO-DE-CAJA"), true);
    x.s.config.setValue(QStringLiteral("PREGUNTA-REIMPRESION"), true);
    QStringList recibos;
    x.mov.setImprime([&](const cMovCaja &m) {
        QCOMPARE(
            c.scalar(QStringLiteral("select count(*) from tMovCaja where movc_Clave = ?"), {m.movimiento()})
                .toInt(),
            1);
        recibos << QStringLiteral("%1|%2|%3|%4|%5|%6")
                       .arg(m.codigoCorte())
                       .arg(m.movimiento())
                       .arg(m.conceptoNombre(), m.datos().importe.toString(), m.usuario())
                       .arg(m.fecha().isValid() ? QStringLiteral("fecha") : QString());
    });
    x.s.prompter.answers << true << true << false << false;
    QVERIFY(x.mov.registraConcepto(QStringLiteral("LUZ"), QStringLiteral("Luz"), QStringLiteral("80")));
    const QString recibo = QStringLiteral("CAJA1-%1-2|1|Luz|80|CAJERO|fecha").arg(anioServidor(c));
    QCOMPARE(recibos, (QStringList{recibo, recibo}));
    QCOMPARE(x.s.prompter.texts(),
             (QStringList{MovimientoCaja::kConfirma, MovimientoCaja::kReimprime, MovimientoCaja::kReimprime,
                          MovimientoCaja::kOtroMovimiento}));

    // Without PREGUNTA-REIMPRESION: printed once, nothing asked.
    x.s.config.setValue(QStringLiteral("PREGUNTA-REIMPRESION"), false);
    recibos.clear();
    x.s.prompter.answers << true << false;
    QVERIFY(x.mov.registraConcepto(QStringLiteral("LUZ"), QStringLiteral("Luz"), QStringLiteral("1")));
    QCOMPARE(recibos.size(), 1);

    c.execute(
        QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Text, codigo_Activo) values "
                       "('OnMovOfBox', 'Movimiento', ?, 'S')"),
        {QStringLiteral(
            "Echo xMovimiento.Almacen & \"|\" & xMovimiento.Terminal & \"|\" & "
            "xMovimiento.CorteNumero & \"|\" & xMovimiento.Movimiento & \"|\" & xMovimiento.Concepto "
            "& \"|\" & xMovimiento.ConceptoNombre & \"|\" & xMovimiento.Importe & \"|\" & "
            "xMovimiento.Usuario")});
    QStringList eco;
    cCode code(x.s.provider, x.s.config, x.s.prompter, [] { return ScriptObjects(); });
    code.setEchoSink([&eco](const QString &t) { eco << t; });
    MovimientoCaja conScript(x.s.provider, x.s.config, x.s.prompter, &code);
    conScript.setImprime([&](const cMovCaja &) { recibos << QStringLiteral("impreso"); });
    recibos.clear();
    x.s.prompter.answers << true << false;
    QVERIFY(
        conScript.registraConcepto(QStringLiteral("FONDO"), QStringLiteral("Fondo"), QStringLiteral("12.5")));
    QVERIFY(recibos.isEmpty());
    QCOMPARE(eco, QStringList{QStringLiteral("A1|CAJA1|2|3|FONDO|Fondo|12.5|CAJERO")});
}

void tst_MovimientoCaja::fallaEnCadaSentencia_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<bool>("deposito");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "pago de factura") << false;
        TestDatabase::newRow(e, "deposito") << true;
    }
}

// A failure at any statement of a payment or deposit leaves nothing of it: invoice, payment,
// concept, account, movements and folios as they were.
void tst_MovimientoCaja::fallaEnCadaSentencia()
{
    QFETCH(QString, engine);
    QFETCH(bool, deposito);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaCaja(c, ini(QStringLiteral("p.ini")), "2000");
    Caja x(c, ini());
    QVERIFY(x.mov.validaCorte());
    const QStringList antes = estadoDelPago(c);
    int fallas = 0;
    bool ok = false;
    for (int n = 1; n < 60 && !ok; ++n) {
        int vistas = 0;
        c.setStatementHook([&vistas, n](const QString &) {
            if (++vistas == n)
                throw db::DbError(99, QStringLiteral("falla de prueba"), QStringLiteral("prueba"));
        });
        x.s.prompter.answers.clear();
        x.s.prompter.answers << true << false;
        ok = deposito
                 ? x.mov.registraDeposito(QStringLiteral("0123456789"), QStringLiteral("300")).has_value()
                 : x.mov
                       .registraPagoFactura(QStringLiteral("P1"), QStringLiteral("F-100"),
                                            QStringLiteral("300"))
                       .has_value();
        c.setStatementHook({});
        if (ok)
            break;
        ++fallas;
        QCOMPARE(estadoDelPago(c), antes);
        QCOMPARE(x.s.prompter.shown.last().details, QStringLiteral("falla de prueba"));
    }
    QVERIFY(ok);
    QVERIFY2(fallas >= 6, qPrintable(QString::number(fallas)));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tMovCaja where movc_Clave = 2")).toInt(), 1);
}

QTEST_GUILESS_MAIN(tst_MovimientoCaja)
#include "tst_movimiento_caja.moc"
