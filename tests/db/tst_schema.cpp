#include "Connection.h"
#include "DemoData.h"
#include "Schema.h"
#include "TestDatabase.h"

#include <QTest>

using db::Recordset;

using db::Connection;
using db::Schema;

class tst_Schema : public QObject {
    Q_OBJECT
private slots:
    void freshDatabaseIsNotCurrent_data() { TestDatabase::addEngineRows(); }
    void freshDatabaseIsNotCurrent();
    void upgradeAppliesBaselineOnce_data() { TestDatabase::addEngineRows(); }
    void upgradeAppliesBaselineOnce();
    void baselineTables_data();
    void baselineTables();
    void failedMigrationLeavesNothing_data() { TestDatabase::addEngineRows(); }
    void failedMigrationLeavesNothing();
    void laterMigrationsFollowInOrder_data() { TestDatabase::addEngineRows(); }
    void laterMigrationsFollowInOrder();
    void twoWorkstationsUpgradeTogether_data() { TestDatabase::addEngineRows(); }
    void twoWorkstationsUpgradeTogether();
    void auditTrail_data();
    void auditTrail();
    void demoDataIsIdempotent_data() { TestDatabase::addEngineRows(); }
    void demoDataIsIdempotent();
};

void tst_Schema::auditTrail_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("before"); // a text the old row holds; empty: no old row
    QTest::addColumn<QString>("after");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "script added") << "insert into tCodigo (codigo_Clave, codigo_Text) values ('NUEVO', 'Echo 1')"
                                                << "INSERT" << "tcodigo" << "NUEVO" << "" << "Echo 1";
        TestDatabase::newRow(e, "script changed") << "update tCodigo set codigo_Text = 'Echo 2' where codigo_Clave = 'X'"
                                                  << "UPDATE" << "tcodigo" << "X" << "Echo 0" << "Echo 2";
        TestDatabase::newRow(e, "script deleted") << "delete from tCodigo where codigo_Clave = 'X'"
                                                  << "DELETE" << "tcodigo" << "X" << "Echo 0" << "";
        TestDatabase::newRow(e, "profile") << "insert into tPerfil (perf_Clave, perf_Nombre) values ('P2', 'Dos')"
                                           << "INSERT" << "tperfil" << "P2" << "" << "Dos";
        TestDatabase::newRow(e, "right granted") << "insert into tSeguridad (perf_Clave, mod_Clave) values ('P1', 'frmX')"
                                                 << "INSERT" << "tseguridad" << "P1|frmX" << "" << "frmX";
        TestDatabase::newRow(e, "user changed, hash left out")
            << "update tUsuario set usu_Psw = 'secreto-nuevo', usu_Nombre = 'Ana B' where usu_Clave = 'ANA'"
            << "UPDATE" << "tusuario" << "ANA" << "Ana" << "Ana B";
    }
}

// Changes to scripts, users, profiles and rights leave who, where, and the row before and after,
// in the same transaction: a rolled-back change leaves no trace, a committed one always does.
void tst_Schema::auditTrail()
{
    QFETCH(QString, engine);
    QFETCH(QString, statement);
    QFETCH(QString, operation);
    QFETCH(QString, table);
    QFETCH(QString, key);
    QFETCH(QString, before);
    QFETCH(QString, after);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    c.execute("insert into tCodigo (codigo_Clave, codigo_Text) values ('X', 'Echo 0')");
    c.execute("insert into tPerfil (perf_Clave, perf_Nombre) values ('P1', 'Uno')");
    c.execute("insert into tUsuario (usu_Clave, usu_Nombre, usu_Psw) values ('ANA', 'Ana', 'secreto-viejo')");
    c.execute("delete from tAuditoria");
    c.setSessionContext("ADMIN", "CAJA1");

    c.begin();
    c.execute(statement);
    c.rollback();
    QCOMPARE(c.scalar("select count(*) from tAuditoria").toInt(), 0);

    c.execute(statement);
    const Recordset rs = c.openRecordset("select * from tAuditoria");
    QCOMPARE(rs.recordCount(), 1);
    QCOMPARE(rs.text("aud_Operacion"), operation);
    QCOMPARE(rs.text("aud_Tabla"), table);
    QCOMPARE(rs.text("aud_Clave"), key);
    QCOMPARE(rs.text("aud_Usuario"), QStringLiteral("ADMIN"));
    QCOMPARE(rs.text("aud_Estacion"), QStringLiteral("CAJA1"));
    QVERIFY(rs.dateTime("aud_Fecha").isValid());
    QCOMPARE(rs.isNull("aud_Anterior"), before.isEmpty());
    QVERIFY2(rs.text("aud_Anterior").contains(before), qPrintable(rs.text("aud_Anterior")));
    QCOMPARE(rs.isNull("aud_Nuevo"), after.isEmpty());
    QVERIFY2(rs.text("aud_Nuevo").contains(after), qPrintable(rs.text("aud_Nuevo")));
    QVERIFY(!rs.text("aud_Anterior").contains("secreto") && !rs.text("aud_Nuevo").contains("secreto"));
}

void tst_Schema::freshDatabaseIsNotCurrent()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    QVERIFY(Schema::appliedKeys(t.connection()).isEmpty());
    QVERIFY(!Schema::isCurrent(t.connection()));
}

void tst_Schema::upgradeAppliesBaselineOnce()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    QCOMPARE(Schema::upgrade(c).first(), Schema::baselineKey());
    QVERIFY(Schema::isCurrent(c));
    QCOMPARE(Schema::upgrade(c), QStringList());
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tUpgrade where upg_Key = ?"), {"DB-2009May11"}).toInt(), 1);
    const QDateTime stamped =
        c.openRecordset(QStringLiteral("select upg_Fecha from tUpgrade")).dateTime(QStringLiteral("upg_Fecha"));
    QVERIFY(qAbs(stamped.secsTo(QDateTime::currentDateTime())) < 60);
}

void tst_Schema::baselineTables_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns");
    const QList<QPair<QString, QString>> tables = {
        {"tUpgrade", "upg_key upg_fecha"},
        {"tConfiguracion", "config_computer config_clave tconfig_clave config_tipodato config_salvar "
                           "config_valorstr config_valorlng config_valorbool config_valordouble config_valordate"},
        {"tParametro", "param_tipo param_clave param_nombre param_valor"},
        {"tSucursal", "suc_clave suc_nombre suc_matriz alm_clave suc_dsn suc_user suc_psw usu_clave usu_psw"},
        {"tObjeto", "obj_clave obj_extension obj_contenido"},
        {"tAlmacen", "alm_clave alm_nombre alm_direccion alm_telefono alm_activo"},
        {"tTerminal", "term_clave term_nombre alm_clave"},
        {"tHuellaDigital", "hdigital_clave hdigital_extension hdigital_templeate"},
    };
    for (const QString &e : TestDatabase::engines())
        for (const auto &[table, columns] : tables)
            TestDatabase::newRow(e, table) << table << columns;
}

void tst_Schema::baselineTables()
{
    QFETCH(QString, engine);
    QFETCH(QString, table);
    QFETCH(QString, columns);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    QStringList names;
    for (const db::FieldInfo &f : t.connection().columns(table))
        names.append(f.name.toLower());
    QCOMPARE(names.join(u' '), columns);
}

void tst_Schema::failedMigrationLeavesNothing()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    QList<db::Migration> list = Schema::migrations();
    list.append({QStringLiteral("PRUEBA-falla"), [](Connection &conn) {
                     conn.executeScript(QStringLiteral("create table tMitad (n integer)"));
                     conn.execute(QStringLiteral("insert into tNoExiste values (1)"));
                 }});
    QVERIFY_THROWS_EXCEPTION(db::DbError, Schema::upgrade(c, list));
    QVERIFY(!c.tableExists(QStringLiteral("tMitad")));
    QVERIFY(!Schema::appliedKeys(c).contains(QStringLiteral("PRUEBA-falla")));
    QVERIFY(Schema::isCurrent(c));
    QVERIFY(!Schema::isCurrent(c, list));
}

void tst_Schema::laterMigrationsFollowInOrder()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    Connection &c = t.connection();
    QList<db::Migration> list = Schema::migrations();
    list.append({QStringLiteral("PRUEBA-1"), [](Connection &conn) {
                     Schema::executeDdl(conn, QStringLiteral("create table tPrueba (n integer, foto blob)"));
                 }});
    list.append({QStringLiteral("PRUEBA-2"), [](Connection &conn) {
                     conn.executeScript(QStringLiteral("alter table tPrueba add column nombre varchar(20)"));
                 }});
    QStringList expected;
    for (const db::Migration &m : list)
        expected.append(m.key);
    QCOMPARE(expected.first(), Schema::baselineKey());
    QCOMPARE(expected.mid(expected.size() - 2), QStringList({QStringLiteral("PRUEBA-1"), QStringLiteral("PRUEBA-2")}));
    QCOMPARE(Schema::upgrade(c, list), expected);
    QCOMPARE(c.columns(QStringLiteral("tPrueba")).size(), 3);
    QCOMPARE(c.columns(QStringLiteral("tPrueba"))[1].kind, QStringLiteral("I"));
    QCOMPARE(Schema::upgrade(c, list), QStringList());
}

void tst_Schema::twoWorkstationsUpgradeTogether()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine);
    auto second = t.openAnother();
    QCOMPARE(Schema::upgrade(t.connection()).size(), Schema::migrations().size());
    QCOMPARE(Schema::upgrade(*second), QStringList());
    QVERIFY(Schema::isCurrent(*second));
}

void tst_Schema::demoDataIsIdempotent()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(t, engine, TestDatabase::Upgraded);
    Connection &c = t.connection();
    db::DemoData::populate(c);
    const auto counts = [&] {
        QStringList out;
        for (const char *table : {"tAlmacen", "tTerminal", "tSucursal", "tParametro"})
            out.append(c.scalar(QStringLiteral("select count(*) from ") + QLatin1String(table)).toString());
        return out.join(u' ');
    };
    const QString first = counts();
    db::DemoData::populate(c);
    QCOMPARE(counts(), first);

    QCOMPARE(c.scalar(QStringLiteral("select alm_Clave from tTerminal where term_Clave = ?"), {"TERMINAL1"}).toString(),
             QStringLiteral("MATRIZ"));
    for (const char *group : {"RECINICIO", "RECFIN", "MSGVENTA"})
        QVERIFY2(c.scalar(QStringLiteral("select count(*) from tParametro where param_Tipo = ?"), {group}).toInt() >= 3,
                 group);
    db::Recordset footer = c.openRecordset(
        QStringLiteral("select param_Valor from tParametro where param_Tipo = 'RECFIN' order by param_Clave"));
    QCOMPARE(footer.text(QStringLiteral("PARAM_VALOR")), QStringLiteral("GRACIAS POR SU COMPRA"));
    QVERIFY(c.scalar(QStringLiteral("select count(*) from tParametro where param_Tipo = 'RECINICIO' "
                                    "and param_Valor like 'RFC:%'"))
                .toInt() == 1);
}

QTEST_GUILESS_MAIN(tst_Schema)
#include "tst_schema.moc"
