#include "Connection.h"
#include "ConnectionProvider.h"
#include "Recordset.h"
#include "Transaction.h"
#include "ScriptedPrompter.h"
#include "TestDatabase.h"
#include "cDatabase.h"
#include "cSucursal.h"

#include <QTest>

class tst_Branch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadAndOpenBranch_data() { TestDatabase::addEngineRows(); }
    void loadAndOpenBranch();
    void openFailureIsReported();
    void bulkCopy_data();
    void bulkCopy();
    void bulkCopyIncompatible_data() { TestDatabase::addEngineRows(); }
    void bulkCopyIncompatible();
    void bulkCopyBetweenEngines();
};

namespace {
void createArticles(db::Connection &c, const QString &table, int rows)
{
    c.execute(QStringLiteral("create table %1 (art_Clave varchar(20) primary key, art_Nombre varchar(80), "
                             "art_Precio numeric(18,6), art_Extra varchar(10))")
                  .arg(table));
    db::Transaction tx(c);
    for (int i = 1; i <= rows; ++i)
        c.execute(QStringLiteral(
                      "insert into %1 (art_Clave, art_Nombre, art_Precio, art_Extra) values (?, ?, ?, ?)")
                      .arg(table),
                  {QString::number(i), QStringLiteral("Articulo %1").arg(i), Decimal("10.25") * Decimal(i),
                   QStringLiteral("x")});
    tx.commit();
}
} // namespace

void tst_Branch::loadAndOpenBranch()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(head, engine, TestDatabase::Upgraded);
    MDR_TEST_DATABASE(branch, engine, TestDatabase::Upgraded);
    head.connection().execute(
        "insert into tSucursal (suc_Clave, suc_Nombre, suc_Matriz, alm_Clave, suc_DSN, suc_User, suc_Psw, "
        "usu_Clave, "
        "usu_Psw) values (?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {"NORTE", "Sucursal Norte", "N", "NORTE", branch.connectionString(), "", "", "ADMIN", "x"});

    FixedConnectionProvider provider(&head.connection());
    ScriptedPrompter prompter;
    cSucursal sucursal(provider, prompter);
    QVERIFY(!sucursal.cargarSucursal("SUR"));
    QVERIFY(sucursal.cargarSucursal("NORTE"));
    QCOMPARE(sucursal.Nombre(), QStringLiteral("Sucursal Norte"));
    QCOMPARE(sucursal.Almacen(), QStringLiteral("NORTE"));
    QCOMPARE(sucursal.Matriz(), QStringLiteral("N"));
    QCOMPARE(sucursal.Usuario(), QStringLiteral("ADMIN"));
    QVERIFY(sucursal.abrirSucursal());
    QVERIFY(sucursal.Connection());
    QCOMPARE(sucursal.Connection()->scalar("select count(*) from tUpgrade").toInt() > 0, true);
    sucursal.cerrarSucursal();
    QCOMPARE(sucursal.Connection(), nullptr);
    QVERIFY(prompter.shown.isEmpty());
}

void tst_Branch::openFailureIsReported()
{
    MDR_TEST_DATABASE(head, TestDatabase::sqlite(), TestDatabase::Upgraded);
    FixedConnectionProvider provider(&head.connection());
    ScriptedPrompter prompter;
    cSucursal sucursal(provider, prompter);
    sucursal.setDSN("sqlite:/no/such/folder/branch.sqlite");
    QVERIFY(!sucursal.abrirSucursal());
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.last(), QStringLiteral("Error al abrir la conexion"));
    QVERIFY(prompter.shown.first().details.startsWith("cSucursal.abrirSucursal:["));
}

void tst_Branch::bulkCopy_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("destinationColumns");
    QTest::addColumn<QString>("sourceColumns");
    QTest::addColumn<int>("interval");
    QTest::addColumn<QStringList>("copied");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, "same names")
            << ""
            << "" << 2 << QStringList{"art_Clave", "art_Nombre", "art_Precio"};
        TestDatabase::newRow(engine, "lists paired by position")
            << "art_Clave, art_Nombre"
            << "art_Clave,art_Extra" << 100 << QStringList{"art_Clave", "art_Nombre"};
        TestDatabase::newRow(engine, "a missing column is left out")
            << "art_Clave,art_Nombre"
            << "art_Clave,art_NoExiste" << 1 << QStringList{"art_Clave"};
        TestDatabase::newRow(engine, "interval below one counts every row")
            << ""
            << "" << 0 << QStringList{"art_Clave", "art_Nombre", "art_Precio"};
    }
}

void tst_Branch::bulkCopy()
{
    QFETCH(QString, engine);
    QFETCH(QString, destinationColumns);
    QFETCH(QString, sourceColumns);
    QFETCH(int, interval);
    QFETCH(QStringList, copied);

    MDR_TEST_DATABASE(src, engine);
    MDR_TEST_DATABASE(dst, engine);
    createArticles(src.connection(), "tOrigen", 5);
    dst.connection().execute(
        "create table tDestino (art_Clave varchar(20) primary key, art_Nombre varchar(80), "
        "art_Precio numeric(18,6))");

    ScriptedPrompter prompter;
    cDatabase database(prompter);
    QStringList progress;
    database.setStatusSink([&](const QString &t) { progress << t; });
    QVERIFY(database.bulkCopy(dst.connection(), src.connection(), "select * from tDestino",
                              "select * from tOrigen order by art_Clave", destinationColumns, sourceColumns,
                              interval));
    QVERIFY(prompter.shown.isEmpty());

    db::Recordset rs = dst.connection().openRecordset("select * from tDestino order by art_Clave");
    QCOMPARE(rs.recordCount(), 5);
    QCOMPARE(rs.text("art_Clave"), QStringLiteral("1"));
    if (copied.contains("art_Nombre"))
        QCOMPARE(rs.text("art_Nombre"),
                 sourceColumns.contains("art_Extra") ? QStringLiteral("x") : QStringLiteral("Articulo 1"));
    else
        QVERIFY(rs.isNull("art_Nombre"));
    if (copied.contains("art_Precio")) {
        rs.moveLast();
        QCOMPARE(rs.decimal("art_Precio"), Decimal("51.25"));
    }

    const int step = qMax(1, interval);
    QCOMPARE(progress.size(), 5 / step + 1);
    if (step <= 5)
        QVERIFY(progress.first().startsWith(QStringLiteral(" Registros ") + QString::number(step) +
                                            " Tiempo 00:00:"));
    QCOMPARE(progress.last(), QStringLiteral(" Actualizando ..."));
}

void tst_Branch::bulkCopyIncompatible()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(src, engine);
    createArticles(src.connection(), "tOrigen", 3);
    src.connection().execute("create table tOtra (otra_Clave varchar(20))");
    ScriptedPrompter prompter;
    cDatabase database(prompter);
    QVERIFY(!database.bulkCopy(src.connection(), src.connection(), "select * from tOtra",
                               "select * from tOrigen"));
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown.first().icon, Prompter::Icon::Exclamation);
    QCOMPARE(prompter.last(), QStringLiteral("El Origen y Destino No son compatibles"));
    QCOMPARE(src.connection().scalar("select count(*) from tOtra").toInt(), 0);
}

void tst_Branch::bulkCopyBetweenEngines()
{
    // A branch on SQLite sends its rows to the head office on PostgreSQL.
    MDR_TEST_DATABASE(src, TestDatabase::sqlite());
    MDR_TEST_DATABASE(dst, TestDatabase::postgresql());
    createArticles(src.connection(), "tOrigen", 50);
    createArticles(dst.connection(), "tDestino", 0);
    // A duplicate key in the batch: nothing of the copy may land.
    dst.connection().execute("insert into tDestino (art_Clave, art_Nombre) values (?, ?)",
                             {"50", "ya existe"});

    ScriptedPrompter prompter;
    cDatabase database(prompter);
    QVERIFY(!database.bulkCopy(dst.connection(), src.connection(), "select * from tDestino",
                               "select * from tOrigen"));
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(dst.connection().scalar("select count(*) from tDestino").toInt(), 1);

    dst.connection().execute("delete from tDestino");
    prompter.clear();
    QVERIFY(database.bulkCopy(dst.connection(), src.connection(), "select * from tDestino",
                              "select * from tOrigen"));
    QCOMPARE(dst.connection().scalar("select count(*) from tDestino").toInt(), 50);
    QCOMPARE(Decimal::fromVariant(dst.connection().scalar("select sum(art_Precio) from tDestino")),
             Decimal("10.25") * Decimal(1275));
}

QTEST_GUILESS_MAIN(tst_Branch)
#include "tst_branch.moc"
