// mostrador-admin as an administrator runs it.

#include "AdminRun.h"
#include "Connection.h"
#include "ConnectionString.h"
#include "DatabaseAdmin.h"
#include "Schema.h"
#include "TestDatabase.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

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
};

void tst_Admin::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("unknown command") << QStringList({"db", "borrar"});
    QTest::newRow("init without connection") << QStringList({"db", "init", "--demo"});
    QTest::newRow("connection without value") << QStringList({"db", "init", "--connection"});
    QTest::newRow("unknown option") << QStringList({"db", "upgrade", "--connection", "sqlite:x.db", "--demo"});
    QTest::newRow("stray word") << QStringList({"db", "upgrade", "sqlite:x.db"});
}

void tst_Admin::badArguments()
{
    QFETCH(QStringList, args);
    const Run r = admin(args);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(QLatin1String("uso: mostrador-admin db init [--demo] --connection")), qPrintable(r.err));
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

QTEST_GUILESS_MAIN(tst_Admin)
#include "tst_admin.moc"
