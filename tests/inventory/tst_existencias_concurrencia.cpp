// Several workstations move the same articles at once: separate processes (this executable run
// with --trabajador) on one database, with entries, exits that open boxes, pieces that fill boxes,
// transfers between warehouses in one transaction and assemblies sold from their components.
// Afterwards the invariants hold and the totals match exactly the calls that succeeded; and
// workstations killed while they work leave no movement half applied.
#include "ArticulosExistencia.h"
#include "ConnectionProvider.h"
#include "Existencias.h"
#include "InvariantesExistencia.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "TestDatabase.h"
#include "Transaction.h"
#include "cConfigure.h"

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
constexpr int kOperaciones = 5;
const Decimal kExiInicial(1000);

// --trabajador CONEXION INICIO_MS NUMERO CUANTOS AJUSTES: prints "ok0 .. ok4 sinExistencia".
int trabajador(const QStringList &args)
{
    try {
        db::Connection conn;
        conn.open(args[2]);
        FixedConnectionProvider provider(&conn);
        ScriptedPrompter prompter;
        SettingsStore settings(args[6]);
        cConfigure config(provider, settings, prompter);
        config.setValue(QStringLiteral("USUARIO"), QString(QStringLiteral("CAJA") + args[4]));
        Existencias e(provider, config, prompter);
        const int numero = args[4].toInt();
        const int cuantos = args[5].toInt();
        const qint64 espera = args[3].toLongLong() - QDateTime::currentMSecsSinceEpoch();
        if (espera > 0)
            QThread::msleep(ulong(espera));
        int ok[kOperaciones] = {};
        int sinExistencia = 0;
        const auto mueve = [&](const char *alm, const char *art, int cant, const char *tipo) {
            return e.actualizaArticuloAlmacen(QString::fromLatin1(alm), QString::fromLatin1(art), {},
                                              Decimal(cant), QString::fromLatin1(tipo),
                                              QStringLiteral("PRUEBA-") + args[4], {}, {}, Decimal(1), true,
                                              true, true);
        };
        for (int i = 0; i < cuantos; ++i) {
            const int op = (i + numero) % kOperaciones;
            bool hecho = false;
            switch (op) {
            case 0:
                hecho = mueve("A1", "CAJA", 1, "E");
                break;
            case 1:
                hecho = mueve("A1", "PZA", 3, "S");
                if (!hecho && e.ultimoError().contains(QStringLiteral("No tiene existencia suficiente"))) {
                    ++sinExistencia;
                    continue;
                }
                break;
            case 2:
                hecho = mueve("A1", "PZA", 4, "E");
                break;
            case 3: {
                db::Transaction tx(conn);
                hecho = mueve("A1", "LIB", 2, "S") && mueve("A2", "LIB", 2, "E");
                if (hecho)
                    tx.commit();
                break;
            }
            case 4:
                hecho = mueve("A1", "KIT", 1, "S");
                break;
            }
            if (!hecho) {
                std::fprintf(stderr, "operacion %d: %s\n", op, qPrintable(e.ultimoError()));
                return 1;
            }
            ++ok[op];
        }
        std::printf("%d %d %d %d %d %d\n", ok[0], ok[1], ok[2], ok[3], ok[4], sinExistencia);
    } catch (const std::exception &ex) {
        std::fprintf(stderr, "%s\n", ex.what());
        return 1;
    }
    return 0;
}

Decimal existencia(db::Connection &c, const char *alm, const char *art)
{
    return Decimal::fromVariant(c.scalar(QStringLiteral("select sum(alma_Existencia) from tArticuloAlmacen "
                                                        "where alm_Clave = ? and art_Clave = ?"),
                                         {QString::fromLatin1(alm), QString::fromLatin1(art)}));
}
} // namespace

class tst_ExistenciasConcurrencia : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void variosProcesos_data() { TestDatabase::addEngineRows(); }
    void variosProcesos();
    void procesosInterrumpidos_data() { TestDatabase::addEngineRows(); }
    void procesosInterrumpidos();

private:
    QTemporaryDir m_dir;
};

void tst_ExistenciasConcurrencia::variosProcesos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    QVERIFY(c.callRoutine(QStringLiteral("sp_actualizaArticuloAlmacen"),
                          {{QStringLiteral("@ALMACEN"), QStringLiteral("A1")},
                           {QStringLiteral("@ARTICULO"), QStringLiteral("EXI")},
                           {QStringLiteral("@CANTIDAD"), kExiInicial.toQVariant()},
                           {QStringLiteral("@TIPO"), QStringLiteral("E")}})
                .contains(QStringLiteral("existencia")));

    const int cuantos = 60;
    const QString inicio = QString::number(QDateTime::currentMSecsSinceEpoch() + 1500);
    std::vector<std::unique_ptr<QProcess>> procesos;
    for (int i = 0; i < kTrabajadores; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--trabajador"), db.connectionString(), inicio, QString::number(i),
                  QString::number(cuantos), m_dir.filePath(QStringLiteral("t%1.ini").arg(i))});
        QVERIFY2(p->waitForStarted(10000), qPrintable(p->errorString()));
        procesos.push_back(std::move(p));
    }
    int ok[kOperaciones] = {};
    int sinExistencia = 0;
    for (auto &p : procesos) {
        QVERIFY(p->waitForFinished(300000));
        const QByteArray err = p->readAllStandardError();
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0, err.constData());
        const QList<QByteArray> n = p->readAllStandardOutput().trimmed().split(' ');
        QCOMPARE(n.size(), kOperaciones + 1);
        for (int op = 0; op < kOperaciones; ++op)
            ok[op] += n[op].toInt();
        sinExistencia += n[kOperaciones].toInt();
    }
    QCOMPARE(ok[0] + ok[1] + ok[2] + ok[3] + ok[4] + sinExistencia, kTrabajadores * cuantos);
    QVERIFY2(ok[1] > 0, "ninguna salida de piezas pasó");

    MDR_VERIFICA_INVARIANTES(c);
    // Pieces are only regrouped: what entered minus what was sold, counted in pieces.
    QCOMPARE(existencia(c, "A1", "CAJA") * Decimal(10) + existencia(c, "A1", "PZA"),
             Decimal(10 * ok[0] + 4 * ok[2] - 3 * ok[1]));
    QVERIFY(!existencia(c, "A1", "PZA").isNegative());
    QVERIFY(!existencia(c, "A1", "CAJA").isNegative());
    // No transfer half applied; kits came out of their components.
    QCOMPARE(existencia(c, "A2", "LIB"), Decimal(2 * ok[3]));
    QCOMPARE(existencia(c, "A1", "LIB"), Decimal(-2 * ok[3] - 2 * ok[4]));
    QCOMPARE(existencia(c, "A1", "EXI"), kExiInicial - Decimal(ok[4]));
    QCOMPARE(
        c.scalar(QStringLiteral(
                     "select count(*) from tArticuloKardex where art_Clave = 'PZA' and tkar_Clave = 'S'"))
            .toInt(),
        ok[1]);
}

// Workstations killed at random points while they move stock (the transfers in the middle of
// their transaction): what was committed is whole, what was not left no trace.
void tst_ExistenciasConcurrencia::procesosInterrumpidos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    creaArticulosExistencia(c);
    c.callRoutine(QStringLiteral("sp_actualizaArticuloAlmacen"),
                  {{QStringLiteral("@ALMACEN"), QStringLiteral("A1")},
                   {QStringLiteral("@ARTICULO"), QStringLiteral("EXI")},
                   {QStringLiteral("@CANTIDAD"), Decimal(1000000).toQVariant()},
                   {QStringLiteral("@TIPO"), QStringLiteral("E")}});
    for (int ronda = 0; ronda < 4; ++ronda) {
        const QString inicio = QString::number(QDateTime::currentMSecsSinceEpoch() + 300);
        std::vector<std::unique_ptr<QProcess>> procesos;
        for (int i = 0; i < kTrabajadores; ++i) {
            auto p = std::make_unique<QProcess>();
            p->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--trabajador"), db.connectionString(), inicio, QString::number(i),
                      QStringLiteral("1000000"), m_dir.filePath(QStringLiteral("k%1.ini").arg(i))});
            QVERIFY2(p->waitForStarted(10000), qPrintable(p->errorString()));
            procesos.push_back(std::move(p));
        }
        QThread::msleep(ulong(400 + QRandomGenerator::global()->bounded(900)));
        for (auto &p : procesos) {
            p->kill();
            QVERIFY(p->waitForFinished(30000));
            QCOMPARE(p->exitStatus(), QProcess::CrashExit); // killed while still working
        }
        // A workstation that starts afterwards finds a consistent store.
        std::unique_ptr<db::Connection> despues = db.openAnother();
        if (engine == TestDatabase::postgresql()) {
            // The server session of a killed workstation may still be finishing its last
            // statement (and commit it): the store is judged once those sessions are gone.
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
        MDR_VERIFICA_INVARIANTES(*despues);
        const int kits = despues
                             ->scalar(QStringLiteral("select count(*) from tArticuloKardex where art_Clave = "
                                                     "'EXI' and tkar_Clave = 'ENSAMBLE-S'"))
                             .toInt();
        QCOMPARE(existencia(*despues, "A1", "LIB") + existencia(*despues, "A2", "LIB"), Decimal(-2 * kits));
        QCOMPARE(existencia(*despues, "A1", "EXI"), Decimal(1000000 - kits));
        QVERIFY(!existencia(*despues, "A1", "PZA").isNegative());
    }
    QVERIFY(c.scalar(QStringLiteral("select count(*) from tArticuloKardex")).toInt() > 100);
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--trabajador") == 0)
        return trabajador(app.arguments());
    tst_ExistenciasConcurrencia t;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&t, argc, argv);
}
#include "tst_existencias_concurrencia.moc"
