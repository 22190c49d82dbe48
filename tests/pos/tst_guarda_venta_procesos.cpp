// Several terminals write sales at once: separate processes (this executable run with
// --trabajador) on one database. Every sale takes its own folio, and terminals killed while they
// write leave each sale whole or absent, with the stock equal to its kardex.
#include "PuestoVenta.h"

#include "../inventory/InvariantesExistencia.h"
#include "ConnectionProvider.h"
#include "Log.h"
#include "ScriptedPrompter.h"
#include "TestDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <memory>

namespace {
constexpr int kTrabajadores = 4;
constexpr int kLineas = 3;

// The sale every terminal writes: 1 + 2 + 3 pieces of LIB, on credit (a receivable each).
DatosVenta ventaDePrueba()
{
    return venta({linea(QStringLiteral("LIB"), "1", "10", "16"), linea(QStringLiteral("LIB"), "2", "10", "16"),
                  linea(QStringLiteral("LIB"), "3", "10", "0")},
                 QStringLiteral("CREDITO"));
}

// --trabajador CONEXION INICIO_MS TERMINAL CUANTAS INI LOGS: prints the number of sales written.
int trabajador(const QStringList &args)
{
    try {
        const QString logs = args[7];
        Log::setDirectoryProvider([logs] { return logs; });
        db::Connection conn;
        conn.open(args[2]);
        EstacionPrueba s(&conn, args[6]);
        enCaja(s, conn, args[4]);
        GuardaVenta g(s.provider, s.config, s.prompter, nullptr);
        const qint64 espera = args[3].toLongLong() - QDateTime::currentMSecsSinceEpoch();
        if (espera > 0)
            QThread::msleep(ulong(espera));
        const int cuantas = args[5].toInt();
        int escritas = 0;
        for (int i = 0; i < cuantas; ++i) {
            if (!g.guardaDatos(ventaDePrueba())) {
                std::fprintf(stderr, "venta %d: %s | %s\n", i, qPrintable(s.prompter.last()),
                             qPrintable(s.prompter.shown.isEmpty() ? QString() : s.prompter.shown.last().details));
                return 1;
            }
            ++escritas;
        }
        std::printf("%d\n", escritas);
    } catch (const std::exception &ex) {
        std::fprintf(stderr, "%s\n", ex.what());
        return 1;
    }
    return 0;
}

QStringList arranca(std::vector<std::unique_ptr<QProcess>> &procesos, const TestDatabase &db, const QTemporaryDir &dir,
                    int cuantas, int demoraMs)
{
    QStringList problemas;
    const QString inicio = QString::number(QDateTime::currentMSecsSinceEpoch() + demoraMs);
    for (int i = 0; i < kTrabajadores; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--trabajador"), db.connectionString(), inicio,
                  i % 2 ? QStringLiteral("CAJA2") : QStringLiteral("CAJA1"), QString::number(cuantas),
                  dir.filePath(QStringLiteral("t%1.ini").arg(i)), dir.path()});
        if (!p->waitForStarted(10000))
            problemas << p->errorString();
        procesos.push_back(std::move(p));
    }
    return problemas;
}

// Every sale whole: its lines, payment and receivable; the stock taken equals what the sales hold.
void verificaVentas(db::Connection &c, int ventas)
{
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVenta")).toInt(), ventas);
    QCOMPARE(c.scalar(QStringLiteral("select count(distinct venta_Folio) from tVenta")).toInt(), ventas);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVenta v where (select count(*) from tVentaDetalle d "
                                     "where d.term_Clave = v.term_Clave and d.corte_Anio = v.corte_Anio and "
                                     "d.corte_Numero = v.corte_Numero and d.venta_Numero = v.venta_Numero) <> ?"),
                      {kLineas})
                 .toInt(),
             0);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVentaDetalle")).toInt(), kLineas * ventas);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tVentaPago")).toInt(), ventas);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tCobranza")).toInt(), ventas);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tArticuloKardex where KAR_ORIGEN like 'VENTA-%'")).toInt(),
             kLineas * ventas);
    QCOMPARE(Decimal::fromVariant(c.scalar(QStringLiteral(
                 "select sum(alma_Existencia) from tArticuloAlmacen where alm_Clave = 'A1' and art_Clave = 'LIB'"))),
             Decimal(100 - 6 * ventas));
    MDR_VERIFICA_INVARIANTES(c);
}
} // namespace

class tst_GuardaVentaProcesos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void variasTerminales_data() { TestDatabase::addEngineRows(); }
    void variasTerminales();
    void terminalesInterrumpidas_data() { TestDatabase::addEngineRows(); }
    void terminalesInterrumpidas();

private:
    QTemporaryDir m_dir;
};

void tst_GuardaVentaProcesos::variasTerminales()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, m_dir.filePath(QStringLiteral("p.ini")));
    const int cuantas = 4;
    std::vector<std::unique_ptr<QProcess>> procesos;
    const QStringList problemas = arranca(procesos, db, m_dir, cuantas, 1500);
    QVERIFY2(problemas.isEmpty(), qPrintable(problemas.join(u'\n')));
    int escritas = 0;
    for (auto &p : procesos) {
        QVERIFY(p->waitForFinished(300000));
        const QByteArray err = p->readAllStandardError();
        // A deadlock or a repeated folio would end a terminal with an error.
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0, err.constData());
        escritas += p->readAllStandardOutput().trimmed().toInt();
    }
    QCOMPARE(escritas, kTrabajadores * cuantas);
    verificaVentas(c, escritas);
    // Folios run 1..n with no gap; each cut numbers its own sales 1..n.
    QCOMPARE(c.scalar(QStringLiteral("select max(venta_Folio) from tVenta")).toInt(), escritas);
    QCOMPARE(c.scalar(QStringLiteral("select max(venta_Numero) from tVenta where term_Clave = 'CAJA1'")).toInt(),
             escritas / 2);
}

// Terminals killed at random points while they write: after restart every sale is whole or absent.
void tst_GuardaVentaProcesos::terminalesInterrumpidas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    preparaMostrador(c, m_dir.filePath(QStringLiteral("k.ini")));
    for (int ronda = 0; ronda < 3; ++ronda) {
        std::vector<std::unique_ptr<QProcess>> procesos;
        const QStringList problemas = arranca(procesos, db, m_dir, 1000000, 300);
        QVERIFY2(problemas.isEmpty(), qPrintable(problemas.join(u'\n')));
        QThread::msleep(ulong(500 + QRandomGenerator::global()->bounded(900)));
        for (auto &p : procesos) {
            p->kill();
            QVERIFY(p->waitForFinished(30000));
        }
        std::unique_ptr<db::Connection> despues = db.openAnother();
        if (engine == TestDatabase::postgresql()) {
            // A killed terminal's server session may still be finishing (and committing) its last
            // statement: the store is judged once those sessions are gone.
            const QVariantList propias = {c.scalar(QStringLiteral("select pg_backend_pid()")),
                                          despues->scalar(QStringLiteral("select pg_backend_pid()"))};
            QTRY_COMPARE_WITH_TIMEOUT(
                despues
                    ->scalar(QStringLiteral("select count(*) from pg_stat_activity where datname = current_database() "
                                            "and pid <> ? and pid <> ?"),
                             propias)
                    .toInt(),
                0, 30000);
        }
        const int ventas = despues->scalar(QStringLiteral("select count(*) from tVenta")).toInt();
        verificaVentas(*despues, ventas);
        if (QTest::currentTestFailed())
            return;
    }
    QVERIFY(c.scalar(QStringLiteral("select count(*) from tVenta")).toInt() > 0);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--trabajador") == 0)
        return trabajador(app.arguments());
    tst_GuardaVentaProcesos t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}
#include "tst_guarda_venta_procesos.moc"
