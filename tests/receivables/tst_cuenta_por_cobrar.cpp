// Receivables entered and kept by hand: the due date from the client's credit period, the checks
// and messages of the form, cancelling, changing what collections allow, and deleting a
// receivable together with what was collected on it.
#include "PuestoCobranza.h"

#include "Secuencias.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace cobranza;

class tst_CuentaPorCobrar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void agregar_data();
    void agregar();
    void vencimiento_data() { TestDatabase::addEngineRows(); }
    void vencimiento();
    void eliminarConDosCobros_data() { TestDatabase::addEngineRows(); }
    void eliminarConDosCobros();
    void eliminarConPagoCompartido_data() { TestDatabase::addEngineRows(); }
    void eliminarConPagoCompartido();
    void cancelar_data() { TestDatabase::addEngineRows(); }
    void cancelar();
    void modificar_data();
    void modificar();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString ini() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_CuentaPorCobrar::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_CuentaPorCobrar::agregar_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<QString>("importe");
    QTest::addColumn<QString>("estado");
    QTest::addColumn<QString>("mensaje"); // empty: added
    QTest::addColumn<int>("campo");
    using C = CuentaPorCobrar::Campo;
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("sin cliente"))
            << ""
            << "10"
            << "PENDIENTE"
            << "Debe seleccionar un cliente" << int(C::Cliente);
        TestDatabase::newRow(engine, QStringLiteral("sin importe"))
            << "C1"
            << ""
            << "PENDIENTE"
            << "Debe indicar el importe" << int(C::Importe);
        TestDatabase::newRow(engine, QStringLiteral("importe cero"))
            << "C1"
            << "0"
            << "PENDIENTE"
            << "Debe indicar el importe" << int(C::Importe);
        TestDatabase::newRow(engine, QStringLiteral("sin estado"))
            << "C1"
            << "10"
            << ""
            << "Debe seleccionar un estado" << int(C::Estado);
        // Collected and cancelled come from collections and cancellation, not from the form.
        TestDatabase::newRow(engine, QStringLiteral("estado cobrada"))
            << "C1"
            << "10"
            << "COBRADA"
            << "Debe seleccionar un estado" << int(C::Estado);
        TestDatabase::newRow(engine, QStringLiteral("cliente inexistente"))
            << "NADIE"
            << "10"
            << "PENDIENTE"
            << "La clave del cliente no existe" << int(C::Cliente);
        TestDatabase::newRow(engine, QStringLiteral("completa")) << "C1"
                                                                 << "1,234.56"
                                                                 << "VENCIDA"
                                                                 << "" << int(C::Ninguno);
    }
}

void tst_CuentaPorCobrar::agregar()
{
    QFETCH(QString, engine);
    QFETCH(QString, cliente);
    QFETCH(QString, importe);
    QFETCH(QString, estado);
    QFETCH(QString, mensaje);
    QFETCH(int, campo);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    Puesto s(&c, ini());
    CuentaPorCobrar f(s.provider, s.config, s.prompter);
    s.prompter.answers << true;
    bool continuar = false;
    CuentaPorCobrar::Datos d;
    d.cliente = cliente;
    d.importe = importe;
    d.estado = estado;
    d.referencia = QStringLiteral("PAGARE 7");
    const auto folio = f.agregarRegistro(d, &continuar);
    QCOMPARE(folio.has_value(), mensaje.isEmpty());
    QCOMPARE(int(f.campoRechazado()), campo);
    if (!mensaje.isEmpty()) {
        QCOMPARE(s.prompter.texts(), QStringList{mensaje});
        QCOMPARE(c.scalar(QStringLiteral("select count(*) from tCobranza")).toInt(), 0);
        return;
    }
    QVERIFY(continuar);
    QCOMPARE(s.prompter.texts(), QStringList{CuentaPorCobrar::kAgregado});
    QCOMPARE(s.prompter.shown.last().icon, Prompter::Icon::Question);
    const int anio = c.scalar(QStringLiteral("select getdate()")).toDateTime().date().year();
    QCOMPARE(*folio, Secuencias::folioConAnio(anio, 1));
    QCOMPARE(filas(c, QStringLiteral(
                          "select alm_Clave, cli_Clave, cob_Importe, cob_Pagado, cob_Referencia, ecob_Clave, "
                          "vpago_Clave from tCobranza")),
             QStringList{"A1|C1|1234.56|0|PAGARE 7|VENCIDA|"});
    const auto r = f.consultarRegistro(*folio);
    QVERIFY(r);
    QCOMPARE(r->nombreCliente, QStringLiteral("Cliente uno"));
    s.prompter.clear();
    QVERIFY(!f.consultarRegistro(*folio + 1));
    QCOMPARE(s.prompter.texts(), QStringList{"La clave no existe"});
    MDR_VERIFICA_COBRANZA(c);
}

void tst_CuentaPorCobrar::vencimiento()
{
    // By hand as by the sale writer: the client's credit period, one month without one.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 a = cuenta(c, "10", QStringLiteral("C1"));
    const qint64 b = cuenta(c, "10", QStringLiteral("C2"));
    const auto fechas = [&c](qint64 k) {
        auto rs = c.openRecordset(
            QStringLiteral("select cob_FecReg, cob_FecVenc from tCobranza where cob_Clave = ?"), {k});
        return std::pair{rs.dateTime(QStringLiteral("cob_FecReg")),
                         rs.dateTime(QStringLiteral("cob_FecVenc"))};
    };
    const auto [regA, vencA] = fechas(a);
    const auto [regB, vencB] = fechas(b);
    QCOMPARE(vencA, regA.addDays(30));
    QCOMPARE(vencB, regB.addMonths(1));
    QVERIFY(qAbs(regA.secsTo(QDateTime::currentDateTime())) < 300);
}

void tst_CuentaPorCobrar::eliminarConDosCobros()
{
    // Both payments and both links go with the receivable; the other receivable keeps its own.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 k = cuenta(c, "100");
    const qint64 otra = cuenta(c, "40");
    Puesto s(&c, ini());
    s.prompter.answers << true << true << true;
    QVERIFY(s.cobra({k}, {efectivo("30")}));
    QVERIFY(s.cobra({k}, {efectivo("20")}));
    QVERIFY(s.cobra({otra}, {efectivo("15")}));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tCobranzaCobro where cob_Clave = ?"), {k}).toInt(),
             2);
    CuentaPorCobrar f(s.provider, s.config, s.prompter);
    s.prompter.clear();
    s.prompter.answers << false << true;
    QVERIFY(!f.eliminarRegistro(k));
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tCobranza")).toInt(), 2);
    QVERIFY(f.eliminarRegistro(k));
    QCOMPARE(s.prompter.texts(),
             (QStringList{QStringLiteral("Esta seguro de eliminar la cuenta por cobrar %1").arg(k),
                          QStringLiteral("Esta seguro de eliminar la cuenta por cobrar %1").arg(k),
                          QStringLiteral("El registro fue eliminado con exito")}));
    QCOMPARE(filas(c, QStringLiteral("select cob_Clave, cob_Pagado from tCobranza")),
             QStringList{QStringLiteral("%1|15").arg(otra)});
    QCOMPARE(filas(c, QStringLiteral("select cobro_Importe from TCOBRO")), QStringList{"15"});
    QCOMPARE(filas(c, QStringLiteral("select cob_Clave, ccob_Importe from tCobranzaCobro")),
             QStringList{QStringLiteral("%1|15").arg(otra)});
    s.prompter.clear();
    QVERIFY(!f.eliminarRegistro(k));
    QCOMPARE(s.prompter.texts(), QStringList{"La clave no existe"});
    MDR_VERIFICA_COBRANZA(c);
}

void tst_CuentaPorCobrar::eliminarConPagoCompartido()
{
    // One payment of 30 settled 20 and 10: deleting the first keeps the 10 paid on the second,
    // and a note whose payment goes entirely can be applied again.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 a = cuenta(c, "20");
    const qint64 b = cuenta(c, "10");
    const qint64 n = cuenta(c, "5");
    nota(c, 901, "5");
    Puesto s(&c, ini());
    QVERIFY(s.cobra({a, b}, {efectivo("30")}));
    QVERIFY(s.cobra({n}, {}, {901}));
    CuentaPorCobrar f(s.provider, s.config, s.prompter);
    s.prompter.answers << true << true;
    QVERIFY(f.eliminarRegistro(a));
    QCOMPARE(filas(c, QStringLiteral(
                          "select cob_Clave, ecob_Clave, cob_Pagado from tCobranza order by cob_Clave")),
             (QStringList{QStringLiteral("%1|COBRADA|10").arg(b), QStringLiteral("%1|COBRADA|5").arg(n)}));
    QCOMPARE(filas(c, QStringLiteral("select tcobro_Clave, cobro_Importe from TCOBRO order by cobro_Clave")),
             (QStringList{"EFECTIVO|10", "NOTA|5"}));
    QVERIFY(f.eliminarRegistro(n));
    QCOMPARE(filas(c, QStringLiteral("select edonc_Clave from tNotaCliente")), QStringList{"AUTORIZADA"});
    QCOMPARE(filas(c, QStringLiteral("select tcobro_Clave from TCOBRO")), QStringList{"EFECTIVO"});
    MDR_VERIFICA_COBRANZA(c);
}

void tst_CuentaPorCobrar::cancelar()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 abierta = cuenta(c, "100");
    const qint64 cobrada = cuenta(c, "40");
    Puesto s(&c, ini());
    s.prompter.answers << true;
    QVERIFY(s.cobra({abierta}, {efectivo("30")}));
    QVERIFY(s.cobra({cobrada}, {efectivo("40")}));
    QCOMPARE(SaldoCliente::saldo(c, QStringLiteral("C1"), QStringLiteral("A1")), Decimal(70));
    CuentaPorCobrar f(s.provider, s.config, s.prompter);
    s.prompter.clear();
    s.prompter.answers << true;
    QVERIFY(f.cancelarCobro(abierta));
    QVERIFY(!f.cancelarCobro(abierta));
    QVERIFY(!f.cancelarCobro(cobrada));
    QCOMPARE(s.prompter.texts(),
             (QStringList{QStringLiteral("Esta seguro de cancelar la cuenta por cobrar %1?").arg(abierta),
                          CuentaPorCobrar::kCancelada,
                          QStringLiteral("La cuenta por cobrar %1 ya esta cancelada").arg(abierta),
                          QStringLiteral("La cuenta por cobrar %1 Ya ha sido pagada").arg(cobrada)}));
    QCOMPARE(SaldoCliente::saldo(c, QStringLiteral("C1"), QStringLiteral("A1")), Decimal(0));
    // Neither accepts another collection.
    s.prompter.clear();
    QVERIFY(!s.cobra({abierta}, {efectivo("1")}));
    QVERIFY(!s.cobra({cobrada}, {efectivo("1")}));
    QCOMPARE(s.prompter.texts(),
             (QStringList{
                 QStringLiteral("La cuenta por cobrar %1 Esta cancelada, no es posible pagarla").arg(abierta),
                 QStringLiteral("La cuenta por cobrar %1 Ya ha sido pagada").arg(cobrada)}));
    MDR_VERIFICA_COBRANZA(c);
}

void tst_CuentaPorCobrar::modificar_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<QString>("importe");
    QTest::addColumn<QString>("vencimiento");
    QTest::addColumn<QString>("mensaje"); // empty: changed
    QTest::addColumn<QString>("fila");    // cli|importe|pagado|estado|vencimiento afterwards
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("sube el importe"))
            << "C1"
            << "150"
            << "15/04/2026"
            << ""
            << "C1|150|30|COBRO_PARCIAL|2026-04-15";
        TestDatabase::newRow(engine, QStringLiteral("importe igual a lo cobrado: cobrada"))
            << "C1"
            << "30"
            << "15/04/2026"
            << ""
            << "C1|30|30|COBRADA|2026-04-15";
        TestDatabase::newRow(engine, QStringLiteral("menos que lo cobrado"))
            << "C1"
            << "29.99"
            << "15/04/2026"
            << "El importe no puede ser menor a lo cobrado (30.00)"
            << "";
        TestDatabase::newRow(engine, QStringLiteral("otro cliente con cobros"))
            << "C2"
            << "100"
            << "15/04/2026"
            << "La cuenta por cobrar %1 ya tiene cobros, no es posible cambiar el cliente"
            << "";
        TestDatabase::newRow(engine, QStringLiteral("fecha invalida"))
            << "C1"
            << "100"
            << "31/02/2026"
            << "Debe indicar la fecha de vencimiento"
            << "";
    }
}

void tst_CuentaPorCobrar::modificar()
{
    QFETCH(QString, engine);
    QFETCH(QString, cliente);
    QFETCH(QString, importe);
    QFETCH(QString, vencimiento);
    QFETCH(QString, mensaje);
    QFETCH(QString, fila);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaBase(c);
    const qint64 k = cuenta(c, "100");
    Puesto s(&c, ini());
    s.prompter.answers << true;
    QVERIFY(s.cobra({k}, {efectivo("30")}));
    s.prompter.clear();
    CuentaPorCobrar f(s.provider, s.config, s.prompter);
    CuentaPorCobrar::Datos d{
        k, cliente, importe, QStringLiteral("R1"), QString(), QStringLiteral("PENDIENTE"), vencimiento};
    const QString antes = filas(c, QStringLiteral("select * from tCobranza")).join(u'\n');
    QCOMPARE(f.modificarRegistro(d), mensaje.isEmpty());
    if (mensaje.isEmpty()) {
        QCOMPARE(s.prompter.texts(), QStringList{"El registro fue actualizado con exito"});
        QCOMPARE(
            filas(c, QStringLiteral("select cli_Clave, cob_Importe, cob_Pagado, ecob_Clave from tCobranza"))
                    .first() +
                u'|' +
                c.scalar(QStringLiteral("select cob_FecVenc from tCobranza")).toDate().toString(Qt::ISODate),
            fila);
    } else {
        QCOMPARE(s.prompter.texts(),
                 QStringList{QString(mensaje).replace(QStringLiteral("%1"), QString::number(k))});
        QCOMPARE(filas(c, QStringLiteral("select * from tCobranza")).join(u'\n'), antes);
    }
    MDR_VERIFICA_COBRANZA(c);
}

QTEST_GUILESS_MAIN(tst_CuentaPorCobrar)
#include "tst_cuenta_por_cobrar.moc"
