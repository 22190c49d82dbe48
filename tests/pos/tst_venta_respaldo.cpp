// The sale being rung up survives a crash: every change is copied to the workstation's file, the
// next capture offers it back as it was, a damaged copy is set aside, and a writer killed at any
// moment leaves the previous copy or the new one, never half of one.
#include "VentaFixture.h"

#include "EstacionPrueba.h"
#include "PagoCaptura.h"
#include "RespaldoVenta.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

// The k-th line the killed writer adds.
LineaVenta lineaNumero(int k)
{
    LineaVenta l;
    l.clave = QStringLiteral("ART%1").arg(k);
    l.nombre = QStringLiteral("Artículo número %1 con ñ").arg(k);
    l.cantidad = Decimal(k);
    l.precio = Decimal(QStringLiteral("10.25"));
    l.renglon = k;
    return l;
}

// --escribe FILE: adds a line and rewrites the copy, forever, until killed.
int escribe(const QString &archivo)
{
    RespaldoVenta r(archivo);
    RespaldoVenta::Contenido c;
    c.cliente = QStringLiteral("SYS");
    for (int k = 1;; ++k) {
        c.lineas << lineaNumero(k);
        if (!r.guarda(c))
            return 1;
    }
}

} // namespace

class tst_VentaRespaldo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recuperaComoSeCapturo_data() { TestDatabase::addEngineRows(); }
    void recuperaComoSeCapturo();
    void descartar();
    void copiaDanada_data();
    void copiaDanada();
    void escritorInterrumpido();

private:
    QTemporaryDir m_dir;
};

void tst_VentaRespaldo::recuperaComoSeCapturo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    const QString archivo = m_dir.filePath(engine + QStringLiteral("/venta-en-curso-CAJA1.json"));
    QStringList antes;
    TotalesVenta totales;
    {
        PuestoVenta p(&c, {"CambioPrecio"});
        RespaldoVenta r(archivo);
        p.captura.setRespaldo(&r);
        p.captura.setPideLoteSerie([](const QString &, const QString &) { return std::optional<QString>("S2"); });
        p.abreCaja(c);
        p.captura.iniciaVenta();
        QVERIFY(!QFile::exists(archivo));
        QVERIFY(p.captura.cargaCliente(QStringLiteral("C1")));
        QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("P100", "3", "100", "10", "15")));
        QVERIFY(QFile::exists(archivo));
        QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("SER", "1", "20", "0", "16")));
        p.prompter.inputs.enqueue(QStringLiteral("5512345678"));
        QVERIFY(p.captura.cmdAgregar(PuestoVenta::campos("REF", "2", "10", "0", "0")));
        // An edited cell is in the copy too.
        QVERIFY(p.captura.editaCelda(2, VentaCaptura::Celda::Precio, QStringLiteral("12.5")));
        antes = contenidoLineas(p.captura.lineas(), true);
        totales = p.captura.totales();
        // The workstation dies here: nothing closes the sale.
    }
    // The workstation starts again: its profile and cut are still on file.
    c.execute(QStringLiteral("delete from tSeguridad where perf_Clave = 'PRUEBA'"));
    c.execute(QStringLiteral("delete from tPerfil where perf_Clave = 'PRUEBA'"));
    PuestoVenta p(&c, {"CambioPrecio"});
    p.config.setValue(QStringLiteral("CORTE-CAJA"), QStringLiteral("CAJA1-%1-7").arg(PuestoVenta::anio(c)));
    RespaldoVenta r(archivo);
    p.captura.setRespaldo(&r);
    // Starting the new sale leaves the earlier copy alone until the cashier decides.
    p.captura.iniciaVenta();
    QCOMPARE(p.captura.lineasRecuperables(), 3);
    QCOMPARE(p.captura.preguntaRecuperacion(),
             QStringLiteral("La venta anterior no se termino (6 articulos, %1), desea recuperarla")
                 .arg(PagoCaptura::formatoMoneda(totales.total)));
    QVERIFY(QFile::exists(archivo));
    QVERIFY(p.captura.recuperaRespaldo());
    QCOMPARE(contenidoLineas(p.captura.lineas(), true), antes);
    QCOMPARE(p.captura.totales().total, totales.total);
    QCOMPARE(p.captura.totales().impuesto, totales.impuesto);
    QCOMPARE(p.captura.cliente().clave, QStringLiteral("C1"));
    QCOMPARE(p.captura.vendedor(), QStringLiteral("ADMIN"));
    QCOMPARE(p.captura.lineasRecuperables(), 0);
    // From here the copy follows this sale; a finished (or held, or discarded) sale removes it.
    QVERIFY(p.captura.eliminaLinea(0));
    QCOMPARE(RespaldoVenta(archivo).lee()->lineas.size(), 2);
    p.captura.iniciaVenta();
    QVERIFY(!QFile::exists(archivo));
}

void tst_VentaRespaldo::descartar()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaCatalogoVenta(c);
    const QString archivo = m_dir.filePath(QStringLiteral("descartar.json"));
    RespaldoVenta::Contenido dejado;
    dejado.lineas << lineaNumero(1);
    QVERIFY(RespaldoVenta(archivo).guarda(dejado));
    PuestoVenta p(&c);
    p.abreCaja(c);
    RespaldoVenta r(archivo);
    p.captura.setRespaldo(&r);
    p.captura.iniciaVenta();
    QCOMPARE(p.captura.lineasRecuperables(), 1);
    p.captura.descartaRespaldo();
    QCOMPARE(p.captura.lineasRecuperables(), 0);
    QVERIFY(!p.captura.recuperaRespaldo());
    QVERIFY(p.captura.lineas().isEmpty());
    QVERIFY(!QFile::exists(archivo));
}

void tst_VentaRespaldo::copiaDanada_data()
{
    QTest::addColumn<QByteArray>("texto");
    QTest::addColumn<bool>("apartada");
    const QByteArray buena = R"({"version":1,"cliente":"SYS","lineas":[{"clave":"A","cantidad":"1","precio":"2",)"
                             R"("descuento":"0","iva":"16","importe":"2.32","total":"2.32"}],"total":"2.32"})";
    QTest::newRow("basura") << QByteArray("\x01\x02no es json") << true;
    QTest::newRow("cortada a la mitad") << buena.left(buena.size() / 2) << true;
    QTest::newRow("vacia") << QByteArray() << true;
    QTest::newRow("otra version") << QByteArray(buena).replace("\"version\":1", "\"version\":9") << true;
    QTest::newRow("cantidad que no es numero") << QByteArray(buena).replace("\"cantidad\":\"1\"", "\"cantidad\":\"x\"")
                                               << true;
    QTest::newRow("renglon sin clave") << QByteArray(buena).replace("\"clave\":\"A\"", "\"clave\":\"\"") << true;
    QTest::newRow("sin total") << QByteArray(buena).replace("],\"total\":\"2.32\"}", "]}") << true;
    QTest::newRow("sin renglones") << QByteArray(R"({"version":1,"cliente":"SYS","lineas":[],"total":"0"})") << false;
}

// A copy the program cannot read offers nothing and is set aside (kept for whoever looks into
// it), so it is not offered again.
void tst_VentaRespaldo::copiaDanada()
{
    QFETCH(QByteArray, texto);
    QFETCH(bool, apartada);
    const QString archivo = m_dir.filePath(QStringLiteral("danada.json"));
    QFile::remove(archivo + QStringLiteral(".danado"));
    QFile f(archivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(texto);
    f.close();
    RespaldoVenta r(archivo);
    QVERIFY(!r.lee());
    QCOMPARE(QFile::exists(archivo + QStringLiteral(".danado")), apartada);
    QCOMPARE(QFile::exists(archivo), !apartada);
    QFile::remove(archivo);
}

// A writer killed at random moments: what is left is always a whole copy, lines 1..k in order.
void tst_VentaRespaldo::escritorInterrumpido()
{
    const QString archivo = m_dir.filePath(QStringLiteral("interrumpido.json"));
    int enteras = 0;
    for (int vuelta = 0; vuelta < 8; ++vuelta) {
        QFile::remove(archivo);
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--escribe"), archivo});
        QVERIFY(p.waitForStarted(10000));
        QThread::msleep(ulong(30 + QRandomGenerator::global()->bounded(300)));
        p.kill();
        QVERIFY(p.waitForFinished(10000));
        QVERIFY(!QFile::exists(archivo + QStringLiteral(".danado")));
        const auto leida = RespaldoVenta(archivo).lee();
        if (!leida)
            continue; // killed before its first copy
        ++enteras;
        QList<LineaVenta> esperadas;
        for (int k = 1; k <= leida->lineas.size(); ++k)
            esperadas << lineaNumero(k);
        QCOMPARE(contenidoLineas(leida->lineas, true), contenidoLineas(esperadas, true));
    }
    QVERIFY(enteras > 0);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--escribe") == 0)
        return escribe(app.arguments().at(2));
    tst_VentaRespaldo t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}
#include "tst_venta_respaldo.moc"
