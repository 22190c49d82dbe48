// Folios from named sequences: sp_generasecuencia on both engines, Secuencias and the script
// members of cAplication, the key table and the year-in-front folios.
#include "ConnectionProvider.h"
#include "Log.h"
#include "ScriptedPrompter.h"
#include "Secuencias.h"
#include "TestDatabase.h"
#include "cAplication.h"

#include "Engine.h"
#include "Transaction.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

namespace {
using Doc = Secuencias::Documento;

struct Fila {
    qint64 minimo = 0, maximo = 0, valor = 0, incremento = 0;
    bool existe = false;
};

Fila fila(db::Connection &conn, const QString &clave)
{
    db::Recordset rs = conn.openRecordset(
        QStringLiteral(
            "select sec_Minimo, sec_Maximo, sec_Valor, sec_Incremento from tSecuencia where sec_Clave = ?"),
        {clave});
    if (rs.eof())
        return {};
    return {rs.integer(QStringLiteral("sec_Minimo")), rs.integer(QStringLiteral("sec_Maximo")),
            rs.integer(QStringLiteral("sec_Valor")), rs.integer(QStringLiteral("sec_Incremento")), true};
}

// The description of the error a draw raises; empty when it handed out a number.
QString fallo(db::Connection &conn, const QString &clave, qint64 ini, qint64 fin, qint64 paso, qint64 inicio)
{
    try {
        Secuencias::getNextSequence(conn, clave, ini, fin, paso, inicio);
    } catch (const db::DbError &e) {
        return e.description();
    }
    return {};
}
} // namespace

Q_DECLARE_METATYPE(Secuencias::Documento)

class tst_Secuencia : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void primerUso_data();
    void primerUso();
    void limiteSuperior_data();
    void limiteSuperior();
    void desbordamiento_data() { TestDatabase::addEngineRows(); }
    void desbordamiento();
    void incrementoInvalido_data() { TestDatabase::addEngineRows(); }
    void incrementoInvalido();
    void claveExistenteConservaSusLimites_data() { TestDatabase::addEngineRows(); }
    void claveExistenteConservaSusLimites();
    void setSequenceValueYSiguiente_data() { TestDatabase::addEngineRows(); }
    void setSequenceValueYSiguiente();
    void setSequenceValueReportaError_data() { TestDatabase::addEngineRows(); }
    void setSequenceValueReportaError();
    void dentroDeUnaTransaccion_data() { TestDatabase::addEngineRows(); }
    void dentroDeUnaTransaccion();
    void dosEstaciones_data() { TestDatabase::addEngineRows(); }
    void dosEstaciones();
    void desdeUnScript_data() { TestDatabase::addEngineRows(); }
    void desdeUnScript();

    void clave_data();
    void clave();
    void folioConAnio_data();
    void folioConAnio();

private:
    QTemporaryDir m_logDir;
};

void tst_Secuencia::initTestCase()
{
    const QString dir = m_logDir.path();
    Log::setDirectoryProvider([dir] { return dir; });
}

void tst_Secuencia::cleanupTestCase()
{
    Log::setDirectoryProvider({});
}

void tst_Secuencia::primerUso_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<qint64>("minimo");
    QTest::addColumn<qint64>("maximo");
    QTest::addColumn<qint64>("paso");
    QTest::addColumn<qint64>("inicio");
    QTest::addColumn<QList<qint64>>("folios");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "como la llaman los documentos")
            << qint64(1) << qint64(2147483647) << qint64(1) << qint64(1) << QList<qint64>{1, 2, 3};
        TestDatabase::newRow(e, "inicio propio del documento")
            << qint64(1) << qint64(2147483647) << qint64(1) << qint64(1000) << QList<qint64>{1000, 1001, 1002};
        TestDatabase::newRow(e, "paso mayor que uno")
            << qint64(1) << qint64(100) << qint64(5) << qint64(7) << QList<qint64>{7, 12, 17};
        TestDatabase::newRow(e, "inicio bajo el limite inferior: empieza en el limite")
            << qint64(50) << qint64(100) << qint64(1) << qint64(1) << QList<qint64>{50, 51};
        TestDatabase::newRow(e, "por encima de 2^53, exactos")
            << qint64(1) << std::numeric_limits<qint64>::max() << qint64(1) << (qint64(1) << 53) + 1
            << QList<qint64>{(qint64(1) << 53) + 1, (qint64(1) << 53) + 2, (qint64(1) << 53) + 3};
    }
}

void tst_Secuencia::primerUso()
{
    QFETCH(QString, engine);
    QFETCH(qint64, minimo);
    QFETCH(qint64, maximo);
    QFETCH(qint64, paso);
    QFETCH(qint64, inicio);
    QFETCH(QList<qint64>, folios);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    const QString clave = QStringLiteral("VENTA_02");
    QVERIFY(!fila(db.connection(), clave).existe);

    QList<qint64> dados;
    for (qsizetype i = 0; i < folios.size(); ++i)
        dados << qint64(Secuencias::getNextSequence(db.connection(), clave, minimo, maximo, paso, inicio));
    QCOMPARE(dados, folios);
    const Fila f = fila(db.connection(), clave);
    QCOMPARE(f.minimo, qint64(minimo));
    QCOMPARE(f.maximo, qint64(maximo));
    QCOMPARE(f.incremento, qint64(paso));
    QCOMPARE(f.valor, folios.last());
}

void tst_Secuencia::limiteSuperior_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<qint64>("paso");
    QTest::addColumn<qint64>("inicio");
    QTest::addColumn<QList<qint64>>("folios");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "llega justo al limite") << qint64(1) << qint64(3) << QList<qint64>{3, 4, 5};
        TestDatabase::newRow(e, "el paso salta el limite") << qint64(3) << qint64(1) << QList<qint64>{1, 4};
        TestDatabase::newRow(e, "inicio sobre el limite: no se crea") << qint64(1) << qint64(6) << QList<qint64>{};
    }
}

// A spent sequence refuses: wrapping would hand out again a folio a document already carries.
void tst_Secuencia::limiteSuperior()
{
    QFETCH(QString, engine);
    QFETCH(qint64, paso);
    QFETCH(qint64, inicio);
    QFETCH(QList<qint64>, folios);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &conn = db.connection();
    const QString clave = QStringLiteral("PED_01_2026");
    for (const qint64 folio : folios)
        QCOMPARE(qint64(Secuencias::getNextSequence(conn, clave, 1, 5, paso, inicio)), folio);
    for (int vez = 0; vez < 2; ++vez) {
        const QString error = fallo(conn, clave, 1, 5, paso, inicio);
        QVERIFY2(error.contains(QStringLiteral("La secuencia «PED_01_2026» llegó a su límite superior (5)")),
                 qPrintable(error));
    }
    const Fila f = fila(conn, clave);
    QCOMPARE(f.existe, !folios.isEmpty());
    if (f.existe)
        QCOMPARE(f.valor, folios.last());
    // The connection stays usable after the refusal.
    QCOMPARE(Secuencias::getNextSequence(conn, QStringLiteral("OTRA")), qint64(1));
}

// A large step near the 64-bit limit: the sum is checked, so the sequence refuses instead of
// wrapping around to its lower bound and handing out folios again.
void tst_Secuencia::desbordamiento()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &conn = db.connection();
    const QString clave = QStringLiteral("FOLIO-GRANDE");
    const qint64 tope = std::numeric_limits<qint64>::max();
    QCOMPARE(Secuencias::getNextSequence(conn, clave, 1, tope, 4000000000000000000, 1), qint64(1));
    QCOMPARE(Secuencias::getNextSequence(conn, clave), qint64(4000000000000000001));
    QCOMPARE(Secuencias::getNextSequence(conn, clave), qint64(8000000000000000001));
    const QString error = fallo(conn, clave, 1, tope, 1, 1);
    QVERIFY2(error.contains(QStringLiteral("llegó a su límite superior (%1)").arg(tope)), qPrintable(error));
    QCOMPARE(fila(conn, clave).valor, qint64(8000000000000000001));
}

void tst_Secuencia::incrementoInvalido()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &conn = db.connection();
    QVERIFY(fallo(conn, QStringLiteral("ENVIO_01_2026"), 1, 100, 0, 1)
                .contains(
                    QStringLiteral("El incremento de la secuencia «ENVIO_01_2026» debe ser mayor que cero")));
    QVERIFY(!fila(conn, QStringLiteral("ENVIO_01_2026")).existe);
    // A step an administrator set to zero would repeat folios.
    conn.execute(QStringLiteral("insert into tSecuencia (sec_Clave, sec_Minimo, sec_Maximo, sec_Valor, "
                                "sec_Incremento) values (?, 1, 100, 8, 0)"),
                 {QStringLiteral("COBRO_01_2026")});
    QVERIFY(fallo(conn, QStringLiteral("COBRO_01_2026"), 1, 100, 1, 1)
                .contains(QStringLiteral("mayor que cero")));
    QCOMPARE(fila(conn, QStringLiteral("COBRO_01_2026")).valor, 8);
    QVERIFY(fallo(conn, QString(), 1, 100, 1, 1).contains(QStringLiteral("Falta la clave de la secuencia")));
}

void tst_Secuencia::claveExistenteConservaSusLimites()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &conn = db.connection();
    const QString clave = QStringLiteral("DEVOLUCION_01");
    QCOMPARE(Secuencias::getNextSequence(conn, clave, 1, 1000, 10, 1), qint64(1));
    // Later callers' bounds, step and start do not change a sequence that exists.
    QCOMPARE(Secuencias::getNextSequence(conn, clave, 500, 2000, 1, 700), qint64(11));
    const Fila f = fila(conn, clave);
    QCOMPARE(f.minimo, 1);
    QCOMPARE(f.maximo, 1000);
    QCOMPARE(f.incremento, 10);
    // Each key numbers by itself.
    QCOMPARE(Secuencias::getNextSequence(conn, QStringLiteral("DEVOLUCION_02")), qint64(1));
}

void tst_Secuencia::setSequenceValueYSiguiente()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    cAplication app(provider, prompter);
    const QString clave = QStringLiteral("VENTA_01");
    QCOMPARE(app.getNextSequence(clave), qint64(1));
    QVERIFY(app.setSequenceValue(clave, 41));
    QCOMPARE(app.getNextSequence(clave), qint64(42));
    // A value below the lower bound restarts at the bound.
    db.connection().execute(QStringLiteral("update tSecuencia set sec_Minimo = 10 where sec_Clave = ?"),
                            {clave});
    QVERIFY(app.setSequenceValue(clave, 0));
    QCOMPARE(app.getNextSequence(clave), qint64(10));
    QVERIFY(prompter.shown.isEmpty());
    // An unknown key is refused, not reported as set; it is created at its first draw.
    QVERIFY(!app.setSequenceValue(QStringLiteral("NO_EXISTE"), 5));
    QVERIFY(!fila(db.connection(), QStringLiteral("NO_EXISTE")).existe);
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("No existe la secuencia «NO_EXISTE»")});
}

void tst_Secuencia::setSequenceValueReportaError()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    cAplication app(provider, prompter);
    QCOMPARE(app.getNextSequence(QStringLiteral("VENTA_01")), qint64(1));
    db.connection().setStatementHook([](const QString &sql) {
        if (sql.startsWith(QLatin1String("UPDATE TSECUENCIA"), Qt::CaseInsensitive))
            throw db::DbError(7, QStringLiteral("sin espacio"), QStringLiteral("prueba"));
    });
    QVERIFY(!app.setSequenceValue(QStringLiteral("VENTA_01"), 90));
    db.connection().setStatementHook({});
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("No se pudo completar la operación")});
    QCOMPARE(prompter.shown.first().details,
             QStringLiteral("cAplication:[7]-[sin espacio]-[prueba]:setSequenceValue"));
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Critical);
    QCOMPARE(fila(db.connection(), QStringLiteral("VENTA_01")).valor, 1);
}

// A document writer draws inside its own transaction: a rolled-back document gives its folio
// back, so no number is skipped.
void tst_Secuencia::dentroDeUnaTransaccion()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &conn = db.connection();
    const QString clave = QStringLiteral("VENTA_01");
    {
        db::Transaction tx(conn);
        QCOMPARE(Secuencias::getNextSequence(conn, clave), qint64(1));
        QCOMPARE(Secuencias::getNextSequence(conn, clave), qint64(2));
    } // rolled back
    QVERIFY(!fila(conn, clave).existe);
    {
        db::Transaction tx(conn);
        QCOMPARE(Secuencias::getNextSequence(conn, clave), qint64(1));
        tx.commit();
    }
    {
        db::Transaction tx(conn);
        QCOMPARE(Secuencias::getNextSequence(conn, clave), qint64(2));
        // A refused draw inside the document leaves the document's transaction to its writer.
        QVERIFY(!fallo(conn, QStringLiteral("LLENA"), 1, 1, 1, 2).isEmpty());
    }
    QCOMPARE(Secuencias::getNextSequence(conn, clave), qint64(2));
    QCOMPARE(conn.transactionDepth(), 0);
}

void tst_Secuencia::dosEstaciones()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    std::unique_ptr<db::Connection> otra = db.openAnother();
    const QString clave = QStringLiteral("COBRANZA_01_2026");
    QList<qint64> dados;
    for (int i = 0; i < 3; ++i) {
        dados << Secuencias::getNextSequence(db.connection(), clave);
        dados << Secuencias::getNextSequence(*otra, clave);
    }
    QCOMPARE(dados, (QList<qint64>{1, 2, 3, 4, 5, 6}));
}

void tst_Secuencia::desdeUnScript()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    cAplication app(provider, prompter);
    vbs::Engine script;
    script.addObject(QStringLiteral("xApp"), &app);
    bool ok = false;
    QCOMPARE(script.eval(QStringLiteral("xApp.getNextSequence(\"VENTAPENDIENTE\")"), &ok).toDouble(), 1.0);
    QVERIFY2(ok, qPrintable(script.errorText()));
    Fila f = fila(db.connection(), QStringLiteral("VENTAPENDIENTE"));
    QCOMPARE(f.minimo, 1);
    QCOMPARE(f.maximo, 2147483647);
    QCOMPARE(f.incremento, 1);
    QCOMPARE(script
                 .eval(QStringLiteral("xApp.getNextSequence(\"AGENDA2026\", 1, 99, 2, 5) + "
                                      "xApp.getNextSequence(\"AGENDA2026\")"),
                       &ok)
                 .toDouble(),
             12.0);
    QVERIFY(ok);
    QVERIFY(script.execute(QStringLiteral("xApp.setSequenceValue \"AGENDA2026\", 97")));
    QCOMPARE(script.eval(QStringLiteral("xApp.getNextSequence(\"AGENDA2026\")"), &ok).toDouble(), 99.0);
    // A spent sequence reaches the script as a run-time error.
    QVERIFY(!script.execute(QStringLiteral("x = xApp.getNextSequence(\"AGENDA2026\")")));
    QVERIFY2(script.errorText().contains(QStringLiteral("límite superior")), qPrintable(script.errorText()));
}

void tst_Secuencia::clave_data()
{
    QTest::addColumn<Doc>("documento");
    QTest::addColumn<QString>("parte");
    QTest::addColumn<QString>("clave");
    QTest::newRow("venta") << Doc::Venta << ""
                           << "VENTA_01";
    QTest::newRow("venta pendiente") << Doc::VentaPendiente << ""
                                     << "VENTAPENDIENTE";
    QTest::newRow("pago de venta") << Doc::PagoVenta << ""
                                   << "VPAGO_01_2009";
    QTest::newRow("cobranza") << Doc::Cobranza << ""
                              << "COBRANZA_01_2009";
    QTest::newRow("cobro") << Doc::Cobro << ""
                           << "COBRO_01_2009";
    QTest::newRow("pago") << Doc::Pago << ""
                          << "PAGO_01_2009";
    QTest::newRow("envio") << Doc::Envio << ""
                           << "ENVIO_01_2009";
    QTest::newRow("devolucion") << Doc::Devolucion << ""
                                << "DEVOLUCION_01";
    QTest::newRow("movimiento de caja") << Doc::MovCaja << "CAJA1-2009-15"
                                        << "MOV_CAJA_01_CAJA1_2009_15";
    QTest::newRow("movimiento de caja, terminal con guion") << Doc::MovCaja << "CAJA-A-2009-3"
                                                            << "MOV_CAJA_01_CAJA-A_2009_3";
    QTest::newRow("movimiento de almacen") << Doc::MovAlmacen << ""
                                           << "MOV_ALMACEN_01";
    QTest::newRow("movimiento de almacen por año") << Doc::MovAlmacenAnual << ""
                                                   << "MOV_ALMACEN_01_2009";
    QTest::newRow("pedido") << Doc::Pedido << ""
                            << "PED_01_2009";
    QTest::newRow("faltante a proveedor") << Doc::FaltaProveedor << "P0007"
                                          << "FALTAPROVEEDOR_P0007";
    QTest::newRow("devolucion a proveedor") << Doc::DevProveedor << "P0007"
                                            << "DEVPROVEEDOR_P0007";
    QTest::newRow("comision") << Doc::Comision << "200903"
                              << "COMISION_01_200903";
    QTest::newRow("cuenta bancaria") << Doc::CuentaBancaria << "BANAMEX-1"
                                     << "CUENTABANCARIA_BANAMEX-1";
    QTest::newRow("factura automatica") << Doc::FacturaAutomatica << ""
                                        << "FOLIO-FACTURA-AUTOMATICO";
    QTest::newRow("tiempo aire") << Doc::TiempoAire << ""
                                 << "TIEMPO-AIRE-FOLIO-2009";
    QTest::newRow("receta") << Doc::Receta << ""
                            << "RECETA-FOLIO2009";
    QTest::newRow("agenda") << Doc::Agenda << ""
                            << "AGENDA2009";
}

void tst_Secuencia::clave()
{
    QFETCH(Doc, documento);
    QFETCH(QString, parte);
    QFETCH(QString, clave);
    QCOMPARE(Secuencias::clave(documento, QStringLiteral("01"), QDate(2009, 12, 31), parte), clave);
}

void tst_Secuencia::folioConAnio_data()
{
    QTest::addColumn<int>("anio");
    QTest::addColumn<qint64>("valor");
    QTest::addColumn<qint64>("folio");
    QTest::newRow("año 2009, valor 15") << 2009 << qint64(15) << qint64(200915);
    QTest::newRow("primer folio del año") << 2026 << qint64(1) << qint64(20261);
    QTest::newRow("valor de cuatro cifras") << 2026 << qint64(1234) << qint64(20261234);
    QTest::newRow("limite superior") << 2026 << qint64(2147483647) << qint64(20262147483647);
    QTest::newRow("mas de 2^53, exacto") << 2026 << qint64(9007199254740993) << qint64(0); // does not fit: 0
}

void tst_Secuencia::folioConAnio()
{
    QFETCH(int, anio);
    QFETCH(qint64, valor);
    QFETCH(qint64, folio);
    QCOMPARE(Secuencias::folioConAnio(anio, valor), folio);
    QCOMPARE(Secuencias::folioConAnio(QDate(anio, 6, 1), valor), folio);
}

QTEST_GUILESS_MAIN(tst_Secuencia)
#include "tst_secuencia.moc"
