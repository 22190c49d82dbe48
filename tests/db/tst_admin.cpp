// mostrador-admin as an administrator runs it.

#include "AdminRun.h"
#include "Connection.h"
#include "ConnectionString.h"
#include "DatabaseAdmin.h"
#include "Schema.h"
#include "TestDatabase.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace {

using Run = AdminRun;

Run admin(const QStringList &args)
{
    return runAdmin(QStringLiteral(MDR_ADMIN_PATH), args);
}

} // namespace

class tst_Admin : public QObject {
    Q_OBJECT
private slots:
    void badArguments_data();
    void badArguments();
    void failuresSayWhy_data();
    void failuresSayWhy();
    void initCreatesUpgradesAndFills_data() { TestDatabase::addEngineRows(); }
    void initCreatesUpgradesAndFills();
    void concurrentConnectionAdd();
    void workstationRoleAndAudit();
    void foreignDatabaseNeedsAdopt_data();
    void foreignDatabaseNeedsAdopt();
    void hostileDatabaseNameRefused_data();
    void hostileDatabaseNameRefused();
    void demoArticles_data() { TestDatabase::addEngineRows(); }
    void demoArticles();
    void demoArticlesRefusals_data();
    void demoArticlesRefusals();
};

namespace {
db::ConnectionString pgServer()
{
    return db::ConnectionString::parse(qEnvironmentVariable("MDR_TEST_PG"));
}
} // namespace

void tst_Admin::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown command") << QStringList({"db", "borrar"});
    QTest::newRow("init without connection") << QStringList({"db", "init", "--demo"});
    QTest::newRow("connection without value") << QStringList({"db", "init", "--connection"});
    QTest::newRow("unknown option") << QStringList({"db", "upgrade", "--connection", "sqlite:x.db", "--demo"});
    QTest::newRow("stray word") << QStringList({"db", "upgrade", "sqlite:x.db"});
    QTest::newRow("articles without count") << QStringList({"demo", "articles", "--connection", "sqlite:x.db"});
    QTest::newRow("articles without connection") << QStringList({"demo", "articles", "--count", "10"});
}

void tst_Admin::badArguments()
{
    QFETCH(QStringList, args);
    const Run r = admin(args);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(QLatin1String("uso: mostrador-admin db init [--demo] [--adopt]")), qPrintable(r.err));
}

void tst_Admin::failuresSayWhy_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown connection form")
        << QStringList({"db", "init", "--connection", "DSN=tienda;UID=sa;PWD=x"})
        << QStringLiteral("Error: Cadena de conexión no reconocida");
    QTest::newRow("upgrade of a missing file")
        << QStringList({"db", "upgrade", "--connection=sqlite:/nonexistent/tienda.db"})
        << QStringLiteral("Error: No existe el archivo de base de datos «/nonexistent/tienda.db»");
}

void tst_Admin::failuresSayWhy()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const Run r = admin(args);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.startsWith(message), qPrintable(r.err));
}

void tst_Admin::initCreatesUpgradesAndFills()
{
    QFETCH(QString, engine);
    QTemporaryDir dir;
    db::ConnectionString target;
    if (engine == TestDatabase::sqlite()) {
        target = db::ConnectionString::sqlite(dir.filePath(QStringLiteral("datos/tienda.db")));
    } else {
        const QString server = qEnvironmentVariable("MDR_TEST_PG");
        if (server.isEmpty()) {
            if (qEnvironmentVariable("MDR_REQUIRE_PG") == u"1")
                QFAIL("PostgreSQL no disponible: defina MDR_TEST_PG");
            QSKIP("PostgreSQL no disponible: defina MDR_TEST_PG");
        }
        target = db::ConnectionString::parse(server).withDatabase(
            QStringLiteral("mdr_admin_%1").arg(QRandomGenerator::global()->bounded(100000000)));
    }
    struct Dropper {
        db::ConnectionString target;
        ~Dropper()
        {
            try {
                db::DatabaseAdmin::drop(target);
            } catch (const db::DbError &) {
            }
        }
    } dropper{target};

    Run r = admin({QStringLiteral("db"), QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--connection"),
                   target.toString()});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains(QLatin1String("DB-2009May11")), qPrintable(r.out + r.err));
    {
        db::Connection c;
        c.open(target);
        QVERIFY(db::Schema::isCurrent(c));
        QCOMPARE(c.scalar(QStringLiteral("select count(*) from tTerminal")).toInt(), 1);
        QVERIFY(c.scalar(QStringLiteral("select count(*) from tParametro where param_Tipo = 'MSGVENTA'")).toInt() > 1);
    }
    r = admin({QStringLiteral("db"), QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--connection"),
               target.toString()});
    QCOMPARE(r.code, 0);
    QVERIFY2(r.out.contains(QStringLiteral("ya está actualizada")), qPrintable(r.out));
    r = admin({QStringLiteral("db"), QStringLiteral("upgrade"), QStringLiteral("--connection"), target.toString()});
    QCOMPARE(r.code, 0);
    db::Connection c;
    c.open(target);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tTerminal")).toInt(), 1);
}

// The workstations' login may read and write data but not change the schema, and may not erase
// the audit trail; a script changing tCodigo with raw SQL through it leaves its audit row.
void tst_Admin::workstationRoleAndAudit()
{
    if (qEnvironmentVariable("MDR_TEST_PG").isEmpty()) {
        if (qEnvironmentVariable("MDR_REQUIRE_PG") == u"1")
            QFAIL("PostgreSQL no disponible: defina MDR_TEST_PG");
        QSKIP("PostgreSQL no disponible: defina MDR_TEST_PG");
    }
    const db::ConnectionString target =
        pgServer().withDatabase(QStringLiteral("mdr_roles_%1").arg(QRandomGenerator::global()->bounded(100000000)));
    const QString owner = db::DatabaseAdmin::ownerRole(target.database());
    const QString station = db::DatabaseAdmin::workstationRole(target.database());
    struct Dropper {
        db::ConnectionString target;
        QStringList roles;
        ~Dropper()
        {
            try {
                db::DatabaseAdmin::drop(target);
                db::Connection c;
                c.open(pgServer());
                for (const QString &r : roles)
                    c.executeStatement(QStringLiteral("drop role if exists ") + db::Connection::quoteIdentifier(r));
            } catch (const db::DbError &) {
            }
        }
    } dropper{target, {station, owner}};

    Run r = admin({"db", "init", "--demo", "--owner-password", "duenio-1", "--station-password", "estacion-1",
                   "--connection", target.toString()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const db::ConnectionString stationCs = target.withLogin(station, QStringLiteral("estacion-1"));
    const db::ConnectionString ownerCs = target.withLogin(owner, QStringLiteral("duenio-1"));
    QVERIFY2(r.out.contains(QStringLiteral("Conexión de las estaciones: ") + stationCs.toString()), qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral("Conexión del dueño del esquema (db upgrade): ") + ownerCs.toString()),
             qPrintable(r.out));

    db::Connection ws;
    ws.open(stationCs);
    for (const char *ddl : {"drop table tCodigo", "alter table tCodigo add column otra integer",
                            "create table nueva (a integer)", "delete from tAuditoria", "update tUpgrade set upg_Key = 'x'",
                            "alter role current_user superuser"})
        QVERIFY_THROWS_EXCEPTION(db::DbError, ws.executeStatement(QLatin1String(ddl)));
    // Data rights it has.
    QVERIFY(ws.scalar("select count(*) from tUsuario").toInt() > 0);
    ws.execute("insert into tCodigo (codigo_Clave, codigo_Text, codigo_Activo) values ('PRUEBA', 'Echo 1', 'S')");

    QTemporaryDir dir;
    const QString file = dir.filePath("cambia.vbs");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("cn.Execute \"update tCodigo set codigo_Text = 'Echo 2' where codigo_Clave = 'PRUEBA'\"\n");
    }
    r = admin({"script", "file", file, "--connection", stationCs.toString(), "--user", "ADMIN"});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    const db::Recordset rs = ws.openRecordset(
        "select * from tAuditoria where aud_Tabla = 'tcodigo' and aud_Clave = 'PRUEBA' order by aud_Id");
    QCOMPARE(rs.recordCount(), 2);
    db::Recordset change = rs;
    change.moveLast();
    QCOMPARE(change.text("aud_Operacion"), QStringLiteral("UPDATE"));
    QCOMPARE(change.text("aud_Usuario"), QStringLiteral("ADMIN"));
    QVERIFY(change.text("aud_Login").startsWith(station));
    QVERIFY(change.text("aud_Anterior").contains("Echo 1"));
    QVERIFY(change.text("aud_Nuevo").contains("Echo 2"));

    // The owner's login brings the schema up to date; what it adds stays out of reach of the stations.
    r = admin({"db", "upgrade", "--connection", ownerCs.toString()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
}

void tst_Admin::foreignDatabaseNeedsAdopt_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("command");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, "upgrade") << "upgrade";
        TestDatabase::newRow(engine, "init") << "init";
    }
}

// Another program's database is left alone unless the administrator adopts it explicitly.
void tst_Admin::foreignDatabaseNeedsAdopt()
{
    QFETCH(QString, engine);
    QFETCH(QString, command);
    MDR_TEST_DATABASE(t, engine);
    t.connection().execute(QStringLiteral("create table contabilidad (cuenta varchar(20))"));
    Run r = admin({QStringLiteral("db"), command, QStringLiteral("--connection"), t.connectionString()});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("no es de Mostrador")), qPrintable(r.err));
    QCOMPARE(t.connection().tables(), QStringList{QStringLiteral("contabilidad")});

    r = admin({QStringLiteral("db"), command, QStringLiteral("--adopt"), QStringLiteral("--connection"),
               t.connectionString()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(db::Schema::isCurrent(t.connection()));
    // Ours from now on: no --adopt needed again.
    r = admin({QStringLiteral("db"), QStringLiteral("upgrade"), QStringLiteral("--connection"), t.connectionString()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
}

// Twenty workstations' installers register their connection at the same moment in one user's
// settings file: every entry survives.
void tst_Admin::concurrentConnectionAdd()
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    constexpr int kProcesses = 20;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < kProcesses; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(MDR_ADMIN_PATH),
                 {"connection", "add", "--name", QStringLiteral("Caja%1").arg(i), "--connection",
                  QStringLiteral("sqlite:/srv/caja%1.sqlite").arg(i)});
        processes.push_back(std::move(p));
    }
    for (auto &p : processes) {
        QVERIFY(p->waitForFinished(60000));
        QCOMPARE(p->exitCode(), 0);
    }
    QSettings ini(home.filePath(QStringLiteral("mostrador/Mostrador.ini")), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Servers/Count")).toInt(), kProcesses);
    QSet<QString> names;
    for (int i = 1; i <= kProcesses; ++i)
        names.insert(ini.value(QStringLiteral("Servers/Server%1").arg(i)).toString());
    QCOMPARE(names.size(), kProcesses);
    QVERIFY(!names.contains(QString()));
}

void tst_Admin::hostileDatabaseNameRefused_data()
{
    QTest::addColumn<QString>("name"); // %1 is the victim database
    QTest::newRow("quoted statements") << R"("x" encoding 'UTF8'; drop database %1; select ")";
    QTest::newRow("semicolon") << "x; drop database %1";
    QTest::newRow("quote") << R"(x"y)";
    QTest::newRow("space") << "mi tienda";
    QTest::newRow("accent") << "tiendá";
    QTest::newRow("too long") << QString(64, u'a');
    QTest::newRow("digit first") << "1tienda";
}

// A name that is not a plain identifier is refused before anything reaches the server.
void tst_Admin::hostileDatabaseNameRefused()
{
    QFETCH(QString, name);
    if (qEnvironmentVariable("MDR_TEST_PG").isEmpty()) {
        if (qEnvironmentVariable("MDR_REQUIRE_PG") == u"1")
            QFAIL("PostgreSQL no disponible: defina MDR_TEST_PG");
        QSKIP("PostgreSQL no disponible: defina MDR_TEST_PG");
    }
    const db::ConnectionString victim =
        pgServer().withDatabase(QStringLiteral("mdr_victima_%1").arg(QRandomGenerator::global()->bounded(100000000)));
    QVERIFY(db::DatabaseAdmin::ensureExists(victim));
    struct Dropper {
        db::ConnectionString target;
        ~Dropper() { db::DatabaseAdmin::drop(target); }
    } dropper{victim};

    const db::ConnectionString hostile = pgServer().withDatabase(name.arg(victim.database()));
    const Run r = admin({QStringLiteral("db"), QStringLiteral("init"), QStringLiteral("--connection"), hostile.toString()});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("no es válido")), qPrintable(r.err));
    QVERIFY(db::DatabaseAdmin::exists(victim));
    QVERIFY(!db::DatabaseAdmin::databases(pgServer()).contains(hostile.database()));
}

// Twice in a row: the second run goes on numbering after the first, and says what it did.
void tst_Admin::demoArticles()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    db::Connection &c = t.connection();
    c.execute("insert into tArticulo (art_Clave, art_Nombre) values ('7509000000014', 'CAPTURADO A MANO')");
    Run r = admin({"demo", "articles", "--count", "150", "--connection", t.connectionString()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.out.startsWith(QStringLiteral("Generando 150 artículos...\n")), qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral("Se generaron 150 artículos (claves 7509000000025 a 7509000001510) en ")),
             qPrintable(r.out));
    QVERIFY2(r.out.contains(QStringLiteral(" segundos")), qPrintable(r.out));
    r = admin({"demo", "articles", "--count=150", "--connection", t.connectionString()});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.out.contains(QStringLiteral("(claves 7509000001527 a ")), qPrintable(r.out));
    QCOMPARE(c.scalar("select count(*) from tArticulo").toInt(), 301);
    QCOMPARE(c.scalar("select count(*) from tArticuloPrecio where tprecio_Clave = 'NORMAL'").toInt(), 300);
    QCOMPARE(c.scalar("select count(distinct art_Nombre) from tArticulo").toInt() > 250, true);
}

void tst_Admin::demoArticlesRefusals_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("upgraded");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("zero") << "0" << true << 2 << "El número de artículos debe ser un entero entre 1 y 99,999,999: 0";
    QTest::newRow("negative") << "-5" << true << 2 << "El número de artículos debe ser un entero entre 1 y 99,999,999: -5";
    QTest::newRow("not a number") << "mil" << true << 2
                                  << "El número de artículos debe ser un entero entre 1 y 99,999,999: mil";
    QTest::newRow("too many") << "100000000" << true << 2
                              << "El número de artículos debe ser un entero entre 1 y 99,999,999: 100000000";
    QTest::newRow("store not upgraded") << "10" << false << 1
                                        << "Error: La base de datos no está actualizada; ejecute antes "
                                           "mostrador-admin db upgrade";
}

void tst_Admin::demoArticlesRefusals()
{
    QFETCH(QString, count);
    QFETCH(bool, upgraded);
    QFETCH(int, code);
    QFETCH(QString, message);
    MDR_TEST_DATABASE(t, TestDatabase::sqlite(), upgraded ? TestDatabase::Upgraded : TestDatabase::Empty);
    const Run r = admin({"demo", "articles", "--count", count, "--connection", t.connectionString()});
    QCOMPARE(r.code, code);
    QVERIFY2(r.err.startsWith(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
}

QTEST_GUILESS_MAIN(tst_Admin)
#include "tst_admin.moc"
