// The ADO-like objects event scripts use: "cn", its recordsets and fields, transactions,
// CreateObject connections and updatable recordsets, on both engines.
#include "AdoObjects.h"
#include "ConnectionProvider.h"
#include "TestDatabase.h"

#include "Engine.h"

#include <QTest>

namespace {

// A scratch table, a script engine with "cn" and the ADODB ProgIDs.
struct Fixture {
    explicit Fixture(TestDatabase &db) : provider(&db.connection())
    {
        db.connection().execute(QStringLiteral(
            "create table tAdoPrueba (id integer primary key, nombre varchar(40), importe numeric(18,6), "
            "fecha timestamp, cantidad integer)"));
        engine.addObject(QStringLiteral("cn"), ado::sharedConnection(provider));
        ado::registerProgIds(engine);
    }
    void seed(db::Connection &conn)
    {
        conn.execute(
            QStringLiteral("insert into tAdoPrueba values (1, 'Ana', 1250.5, '2026-03-15 10:30:00', 3)"));
        conn.execute(QStringLiteral("insert into tAdoPrueba values (2, 'Beto', null, null, null)"));
        conn.execute(
            QStringLiteral("insert into tAdoPrueba values (3, 'Ceci', 0.123456, '2026-12-31 23:59:59', -7)"));
    }
    int count(db::Connection &conn, const QString &where = QStringLiteral("1 = 1"))
    {
        return conn.scalar(QStringLiteral("select count(*) from tAdoPrueba where ") + where).toInt();
    }
    bool run(const QString &code) { return engine.execute(code); }
    QByteArray why() const { return engine.errorText().toUtf8(); }
    QVariant value(const QString &expression) { return engine.eval(expression); }
    // The error number a statement fails with; 0 when it runs.
    int failure(const QString &code) { return engine.execute(code) ? 0 : engine.lastError().number; }

    FixedConnectionProvider provider;
    vbs::Engine engine;
};

} // namespace

class tst_Ado : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsValues_data();
    void readsValues();
    void emptyResult_data() { TestDatabase::addEngineRows(); }
    void emptyResult();
    void navigation_data() { TestDatabase::addEngineRows(); }
    void navigation();
    void forEachOverFields_data() { TestDatabase::addEngineRows(); }
    void forEachOverFields();
    void moneyStaysExact_data() { TestDatabase::addEngineRows(); }
    void moneyStaysExact();
    void commandsReportAffectedRows_data();
    void commandsReportAffectedRows();
    void transactions_data();
    void transactions();
    void nestedTransactions_data() { TestDatabase::addEngineRows(); }
    void nestedTransactions();
    void scriptTransactionsEndWithTheRun_data() { TestDatabase::addEngineRows(); }
    void scriptTransactionsEndWithTheRun();
    void closingSharedConnectionOnlyClosesTheObject_data() { TestDatabase::addEngineRows(); }
    void closingSharedConnectionOnlyClosesTheObject();
    void databaseErrorsBecomeScriptErrors_data() { TestDatabase::addEngineRows(); }
    void databaseErrorsBecomeScriptErrors();
    void serverDialectRunsAsWritten_data() { TestDatabase::addEngineRows(); }
    void serverDialectRunsAsWritten();
    void createdConnection_data() { TestDatabase::addEngineRows(); }
    void createdConnection();
    void updatableRecordset_data() { TestDatabase::addEngineRows(); }
    void updatableRecordset();
    void helpLists();
};

void tst_Ado::readsValues_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<int>("row"); // 0-based row in id order
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "Fields by name") << 0 << "rs.Fields(\"nombre\").Value"
                                                  << "Ana";
        TestDatabase::newRow(e, "Fields by name in other case") << 0 << "rs.Fields(\"NOMBRE\").Value"
                                                                << "Ana";
        TestDatabase::newRow(e, "Fields by index") << 0 << "rs.Fields(1).Value"
                                                   << "Ana";
        TestDatabase::newRow(e, "default member by name") << 0 << "rs(\"nombre\")"
                                                          << "Ana";
        TestDatabase::newRow(e, "default member by index") << 0 << "rs(1)"
                                                           << "Ana";
        TestDatabase::newRow(e, "Fields(x) used as a value") << 0 << "rs.Fields(\"nombre\") & \"!\""
                                                             << "Ana!";
        TestDatabase::newRow(e, "Fields.Item") << 0 << "rs.Fields.Item(\"nombre\").Value"
                                               << "Ana";
        TestDatabase::newRow(e, "field name") << 0 << "rs.Fields(1).Name"
                                              << "nombre";
        TestDatabase::newRow(e, "field count") << 0 << "rs.Fields.Count"
                                               << "5";
        TestDatabase::newRow(e, "a Field object") << 0 << "TypeName(rs(\"nombre\"))"
                                                  << "Field";
        TestDatabase::newRow(e, "integer is Long") << 0 << "TypeName(rs(\"cantidad\").Value)"
                                                   << "Long";
        TestDatabase::newRow(e, "negative integer") << 2 << "rs(\"cantidad\") + 1"
                                                    << "-6";
        TestDatabase::newRow(e, "text is String") << 0 << "TypeName(rs(\"nombre\").Value)"
                                                  << "String";
        TestDatabase::newRow(e, "money is Currency") << 0 << "TypeName(rs(\"importe\").Value)"
                                                     << "Currency";
        TestDatabase::newRow(e, "money value") << 0 << "rs(\"importe\") * 2"
                                               << "2501";
        TestDatabase::newRow(e, "six decimals are kept as Double") << 2 << "TypeName(rs(\"importe\").Value)"
                                                                   << "Double";
        TestDatabase::newRow(e, "six decimals value") << 2 << "rs(\"importe\") * 1000000"
                                                      << "123456";
        TestDatabase::newRow(e, "timestamp is Date") << 0 << "TypeName(rs(\"fecha\").Value)"
                                                     << "Date";
        TestDatabase::newRow(e, "timestamp parts")
            << 0
            << "Year(rs(\"fecha\")) & \"-\" & Month(rs(\"fecha\")) & \"-\" & Day(rs(\"fecha\")) & \" \" & "
               "Hour(rs(\"fecha\")) & \":\" & Minute(rs(\"fecha\"))"
            << "2026-3-15 10:30";
        TestDatabase::newRow(e, "last second of the year")
            << 2 << "Second(rs(\"fecha\")) & Month(rs(\"fecha\"))"
            << "5912";
        TestDatabase::newRow(e, "NULL text column is not Null") << 1 << "IsNull(rs(\"nombre\"))"
                                                                << "false";
        TestDatabase::newRow(e, "NULL number is Null") << 1 << "IsNull(rs(\"importe\"))"
                                                       << "true";
        TestDatabase::newRow(e, "NULL date is Null") << 1 << "VarType(rs(\"fecha\"))"
                                                     << "1";
        TestDatabase::newRow(e, "NULL integer through Value") << 1 << "IsNull(rs.Fields(\"cantidad\").Value)"
                                                              << "true";
        TestDatabase::newRow(e, "ADO types of the columns")
            << 0
            << "rs(0).Type & \",\" & rs(1).Type & \",\" & rs(2).Type & \",\" & rs(3).Type & \",\" & "
               "rs(4).Type"
            << "3,200,131,135,3";
        TestDatabase::newRow(e, "GetRows: one entry per field") << 0 << "UBound(rs.GetRows(), 1)"
                                                                << "4";
        TestDatabase::newRow(e, "GetRows from the current row to the end")
            << 1 << "UBound(rs.GetRows(), 2) & rs.EOF"
            << "1True";
        TestDatabase::newRow(e, "GetRows is (field, row)") << 0 << "rs.GetRows(2)(1, 1)"
                                                           << "Beto";
        TestDatabase::newRow(e, "GetRows moves past what it read")
            << 0 << "UBound(rs.GetRows(2), 2) & rs(\"nombre\")"
            << "1Ceci";
        TestDatabase::newRow(e, "compared with text") << 0 << "rs(\"nombre\") = \"Ana\""
                                                      << "true";
        TestDatabase::newRow(e, "compared with a number") << 0 << "rs(\"importe\") > 1000 And rs(\"id\") = 1"
                                                          << "true";
        TestDatabase::newRow(e, "passed to built-ins")
            << 0
            << "Len(rs(\"nombre\")) & UCase(rs(\"nombre\")) & CStr(rs(0)) & FormatNumber(rs(\"importe\"), 2)"
            << "3ANA11,250.50";
        TestDatabase::newRow(e, "Null through Value in concatenation")
            << 1 << "\"[\" & rs(\"importe\") & \"]\""
            << "[]";
        TestDatabase::newRow(e, "NULL propagates") << 1 << "IsNull(rs(\"importe\") + 1)"
                                                   << "true";
    }
}

void tst_Ado::readsValues()
{
    QFETCH(QString, engine);
    QFETCH(int, row);
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    f.seed(db.connection());
    QString code = QStringLiteral("Set rs = cn.Execute(\"select * from tAdoPrueba order by id\")\n");
    for (int i = 0; i < row; ++i)
        code += QStringLiteral("rs.MoveNext\n");
    QVERIFY2(f.run(code), f.why().constData());
    // Assigned as scripts do, so a Field object gives its value.
    QVERIFY2(f.run(QStringLiteral("result = ") + expression), f.why().constData());
    QCOMPARE(f.value(QStringLiteral("result")).toString(), expected);
}

void tst_Ado::emptyResult()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    QVERIFY2(f.run(QStringLiteral("Set rs = cn.Execute(\"select * from tAdoPrueba\")\n"
                                  "n = 0\n"
                                  "Do While Not rs.EOF\n n = n + 1\n rs.MoveNext\nLoop\n")),
             f.why().constData());
    QCOMPARE(f.value(QStringLiteral("rs.EOF And rs.BOF")).toBool(), true);
    QCOMPARE(f.value(QStringLiteral("n")).toInt(), 0);
    QCOMPARE(f.value(QStringLiteral("rs.RecordCount")).toInt(), 0);
    QCOMPARE(f.value(QStringLiteral("rs.State")).toInt(), 1);
    // The columns are known even without rows.
    QCOMPARE(f.value(QStringLiteral("rs.Fields.Count")).toInt(), 5);
    // Reading a field at EOF is ADO's "no current record".
    QCOMPARE(f.failure(QStringLiteral("x = rs(\"nombre\")")), 3021);
    QCOMPARE(f.failure(QStringLiteral("rs.MoveNext")), 3021);
}

void tst_Ado::navigation()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    f.seed(db.connection());
    QVERIFY2(f.run(QStringLiteral("Set rs = cn.Execute(\"select id from tAdoPrueba order by id\")\n"
                                  "s = rs.RecordCount & \":\" & rs.BOF & \":\"\n"
                                  "Do Until rs.EOF\n s = s & rs(\"id\")\n rs.MoveNext\nLoop\n"
                                  "rs.MoveLast\n s = s & \":\" & rs(0)\n"
                                  "rs.MovePrevious\n s = s & rs(0)\n"
                                  "rs.MovePrevious\n rs.MovePrevious\n s = s & \":\" & rs.BOF & rs.EOF\n"
                                  "rs.MoveFirst\n s = s & \":\" & rs(0) & rs.BOF\n"
                                  "rs.Close\n s = s & \":\" & rs.State\n")),
             f.why().constData());
    QCOMPARE(f.value(QStringLiteral("s")).toString(), QStringLiteral("3:False:123:32:TrueFalse:1False:0"));

    // Requery runs the same text again and sees what changed meanwhile; AbsolutePosition is 1-based.
    QVERIFY2(
        f.run(QStringLiteral("Set rs = cn.Execute(\"select id from tAdoPrueba order by id\")\n"
                             "rs.MoveNext\np = rs.AbsolutePosition\n"
                             "cn.Execute \"delete from tAdoPrueba where id = 1\"\n"
                             "n = rs.RecordCount\nrs.Requery\n"
                             "s = n & \":\" & rs.RecordCount & \":\" & rs(0) & \":\" & p & rs.Source\n")),
        f.why().constData());
    QCOMPARE(f.value(QStringLiteral("s")).toString(),
             QStringLiteral("3:2:2:2select id from tAdoPrueba order by id"));
    QVERIFY2(f.run(QStringLiteral("rs.Close")), f.why().constData());
    // A closed recordset refuses to be read.
    QCOMPARE(f.failure(QStringLiteral("x = rs.EOF")), 3704);
}

void tst_Ado::forEachOverFields()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    f.seed(db.connection());
    QVERIFY2(f.run(QStringLiteral(
                 "Set rs = cn.Execute(\"select id, nombre, cantidad from tAdoPrueba where id = 1\")\n"
                 "s = \"\"\n"
                 "For Each fld In rs.Fields\n s = s & fld.Name & \"=\" & fld.Value & \";\"\nNext\n"
                 "For i = 0 To rs.Fields.Count - 1\n s = s & rs(i)\nNext\n")),
             f.why().constData());
    QCOMPARE(f.value(QStringLiteral("s")).toString(), QStringLiteral("id=1;nombre=Ana;cantidad=3;1Ana3"));
    QCOMPARE(f.failure(QStringLiteral("x = rs(\"noexiste\")")), 3265);
    QCOMPARE(f.failure(QStringLiteral("x = rs(3)")), 3265);
    QCOMPARE(f.failure(QStringLiteral("x = rs(-1)")), 3265);
    // A Field kept while its recordset is opened again on fewer columns.
    QVERIFY2(f.run(QStringLiteral("Set tercero = rs(2)\nrs.Close\n"
                                  "rs.Open \"select id from tAdoPrueba\", cn\n")),
             f.why().constData());
    QCOMPARE(f.failure(QStringLiteral("x = tercero.Value")), 3265);
    QCOMPARE(f.failure(QStringLiteral("x = tercero.Type")), 3265);
}

void tst_Ado::moneyStaysExact()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    db::Connection &conn = db.connection();
    // Ten lines of 0.10: a Double sum would not be exactly 1.
    for (int i = 1; i <= 10; ++i)
        conn.execute(QStringLiteral("insert into tAdoPrueba (id, importe) values (?, 0.1)"), {i});
    QVERIFY2(f.run(QStringLiteral("Set rs = cn.Execute(\"select importe from tAdoPrueba\")\n"
                                  "t = 0\nDo Until rs.EOF\n t = t + rs(\"importe\")\n rs.MoveNext\nLoop\n")),
             f.why().constData());
    QCOMPARE(f.value(QStringLiteral("t = 1")).toBool(), true);
    QCOMPARE(f.value(QStringLiteral("TypeName(t)")).toString(), QStringLiteral("Currency"));
}

void tst_Ado::commandsReportAffectedRows_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("affected");
    QTest::addColumn<int>("rowsNamedZed"); // rows left with nombre 'Z'
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "insert") << "insert into tAdoPrueba (id, nombre) values (9, 'Z')" << 1 << 1;
        TestDatabase::newRow(e, "update of several rows")
            << "update tAdoPrueba set nombre = 'Z' where id > 1" << 2 << 2;
        TestDatabase::newRow(e, "update of no row")
            << "update tAdoPrueba set nombre = 'Z' where id = 99" << 0 << 0;
        TestDatabase::newRow(e, "delete") << "delete from tAdoPrueba where id in (1, 3)" << 2 << 0;
        TestDatabase::newRow(e, "leading comment and spaces")
            << "  -- cambia\n  update tAdoPrueba set nombre = 'Z'" << 3 << 3;
    }
}

void tst_Ado::commandsReportAffectedRows()
{
    QFETCH(QString, engine);
    QFETCH(QString, statement);
    QFETCH(int, affected);
    QFETCH(int, rowsNamedZed);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    f.seed(db.connection());
    vbs::ValueList args{vbs::Value(statement)};
    // n is not assigned before: event scripts run wrapped in a procedure, where it is a local.
    QVERIFY2(f.engine.addCode(QStringLiteral("Function corre(sql)\n"
                                             " Set rs = cn.Execute(sql, n)\n"
                                             " corre = n & \":\" & rs.State\n"
                                             "End Function\n")),
             f.why().constData());
    vbs::Value result;
    QVERIFY2(f.engine.call(QStringLiteral("corre"), args, &result), f.why().constData());
    // A statement without rows gives a closed recordset and its count in the ByRef argument.
    QCOMPARE(vbs::toString(result), QStringLiteral("%1:0").arg(affected));
    QCOMPARE(f.count(db.connection(), QStringLiteral("nombre = 'Z'")), rowsNamedZed);
}

void tst_Ado::transactions_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("rowsAfter");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "commit keeps") << "cn.CommitTrans" << 5;
        TestDatabase::newRow(e, "rollback undoes") << "cn.RollbackTrans" << 3;
        // The script ends with the transaction open: letting go of "cn" rolls it back, so the
        // program's connection is not left inside the script's transaction.
        TestDatabase::newRow(e, "left open is undone") << "" << 3;
    }
}

void tst_Ado::transactions()
{
    QFETCH(QString, engine);
    QFETCH(QString, ending);
    QFETCH(int, rowsAfter);
    MDR_TEST_DATABASE(db, engine);
    db::Connection &conn = db.connection();
    {
        Fixture f(db);
        f.seed(conn);
        QVERIFY2(f.run(QStringLiteral("level = cn.BeginTrans\n"
                                      "cn.Execute \"insert into tAdoPrueba (id) values (10)\"\n"
                                      "cn.Execute \"insert into tAdoPrueba (id) values (11)\"\n"
                                      "inside = cn.Execute(\"select count(*) from tAdoPrueba\")(0)\n") +
                       ending),
                 f.why().constData());
        QCOMPARE(f.value(QStringLiteral("level")).toInt(), 1);
        QCOMPARE(f.value(QStringLiteral("inside")).toInt(), 5);
        f.engine.reset();
    }
    QCOMPARE(conn.transactionDepth(), 0);
    QCOMPARE(conn.scalar(QStringLiteral("select count(*) from tAdoPrueba")).toInt(), rowsAfter);
    // Another session sees the same: nothing is pending.
    auto other = db.openAnother();
    QCOMPARE(other->scalar(QStringLiteral("select count(*) from tAdoPrueba")).toInt(), rowsAfter);
}

void tst_Ado::nestedTransactions()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    QVERIFY2(f.run(QStringLiteral("a = cn.BeginTrans\n"
                                  "cn.Execute \"insert into tAdoPrueba (id) values (1)\"\n"
                                  "b = cn.BeginTrans\n"
                                  "cn.Execute \"insert into tAdoPrueba (id) values (2)\"\n"
                                  "cn.RollbackTrans\n"
                                  "cn.CommitTrans\n")),
             f.why().constData());
    QCOMPARE(f.value(QStringLiteral("a & b")).toString(), QStringLiteral("12"));
    QCOMPARE(f.count(db.connection()), 1);
    QCOMPARE(f.count(db.connection(), QStringLiteral("id = 1")), 1);
    QCOMPARE(db.connection().transactionDepth(), 0);
    // Ending what was never begun is an error, not a commit of someone else's work.
    db.connection().begin();
    QCOMPARE(f.failure(QStringLiteral("cn.CommitTrans")), -2147168242);
    QCOMPARE(f.failure(QStringLiteral("cn.RollbackTrans")), -2147168242);
    QCOMPARE(db.connection().transactionDepth(), 1);
    db.connection().rollback();
}

void tst_Ado::scriptTransactionsEndWithTheRun()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    FixedConnectionProvider provider(&db.connection());
    db.connection().execute(QStringLiteral("create table tAdoPrueba (id integer primary key)"));
    // The host keeps "cn" between runs, as the event-script host does until its next Search.
    const vbs::HostObjectRef cn = ado::sharedConnection(provider);
    vbs::Engine script;
    script.addObject(QStringLiteral("cn"), cn);
    // The program is inside its own document transaction when the event runs.
    db.connection().begin();
    db.connection().execute(QStringLiteral("insert into tAdoPrueba (id) values (1)"));
    QVERIFY(!script.execute(QStringLiteral("cn.BeginTrans\n"
                                           "cn.Execute \"insert into tAdoPrueba (id) values (2)\"\n"
                                           "Err.Raise 5\n"
                                           "cn.CommitTrans\n")));
    ado::endScriptTransactions(cn);
    QCOMPARE(db.connection().transactionDepth(), 1);
    db.connection().commit();
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tAdoPrueba")).toInt(), 1);
    // Ending again does nothing, and the object keeps working.
    ado::endScriptTransactions(cn);
    QVERIFY2(script.execute(QStringLiteral("n = cn.Execute(\"select count(*) from tAdoPrueba\")(0)")),
             qPrintable(script.errorText()));
    QCOMPARE(script.eval(QStringLiteral("n")).toInt(), 1);
}

void tst_Ado::closingSharedConnectionOnlyClosesTheObject()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    QVERIFY2(f.run(QStringLiteral("cn.Close\ns = cn.State")), f.why().constData());
    QCOMPARE(f.value(QStringLiteral("s")).toInt(), 0);
    QVERIFY(db.connection().isOpen());
    QCOMPARE(f.failure(QStringLiteral("cn.Execute \"delete from tAdoPrueba\"")), 3704);
    QVERIFY2(f.run(QStringLiteral("cn.Open\nn = cn.Execute(\"select count(*) from tAdoPrueba\")(0)")),
             f.why().constData());
    QCOMPARE(f.value(QStringLiteral("cn.State & n")).toString(), QStringLiteral("10"));
}

void tst_Ado::databaseErrorsBecomeScriptErrors()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    f.seed(db.connection());
    // Caught: the database's own text reaches Err.Description and the script goes on.
    QVERIFY2(f.run(QStringLiteral("On Error Resume Next\n"
                                  "cn.Execute \"insert into tAdoPrueba (id) values (1)\"\n"
                                  "num = Err.Number\n desc = Err.Description\n"
                                  "Err.Clear\n"
                                  "Set rs = cn.Execute(\"select nada from tAdoPrueba\")\n"
                                  "desc2 = Err.Description\n"
                                  "On Error GoTo 0\n"
                                  "after = cn.Execute(\"select count(*) from tAdoPrueba\")(0)\n")),
             f.why().constData());
    QVERIFY(f.value(QStringLiteral("num")).toInt() != 0);
    const QString duplicate = f.value(QStringLiteral("desc")).toString();
    QVERIFY2(duplicate.contains(QStringLiteral("unique"), Qt::CaseInsensitive) ||
                 duplicate.contains(QStringLiteral("duplicate"), Qt::CaseInsensitive),
             qPrintable(duplicate));
    QVERIFY2(f.value(QStringLiteral("desc2")).toString().contains(QStringLiteral("nada")),
             qPrintable(f.value(QStringLiteral("desc2")).toString()));
    QCOMPARE(f.value(QStringLiteral("after")).toInt(), 3);

    // Uncaught: the run fails with the database's text.
    QVERIFY(!f.engine.execute(QStringLiteral("x = 1\ncn.Execute \"update tAdoNoExiste set a = 1\"\nx = 2")));
    QVERIFY2(f.engine.errorText().contains(QStringLiteral("tadonoexiste"), Qt::CaseInsensitive),
             f.why().constData());
    QCOMPARE(f.engine.lastError().line, 2);
    QCOMPARE(f.value(QStringLiteral("x")).toInt(), 1);
    // A failed statement leaves the shared connection usable.
    QVERIFY2(f.run(QStringLiteral("y = cn.Execute(\"select count(*) from tAdoPrueba\")(0)")),
             f.why().constData());
    QCOMPARE(f.value(QStringLiteral("y")).toInt(), 3);
}

void tst_Ado::serverDialectRunsAsWritten()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    Fixture f(db);
    f.seed(db.connection());
    QVERIFY2(
        f.run(QStringLiteral("Set rs = cn.Execute(\"select count(*) as n from tAdoPrueba (nolock) "
                             "where fecha between '01/03/2026 00:00:00' and '31/03/2026 23:59:59'\")\n"
                             "n = rs(\"n\")\n"
                             "Set rs = cn.Execute(\"select getdate() as Fecha\")\n"
                             "d = rs(\"Fecha\").Value\n"
                             "cn.Execute \"update tAdoPrueba set fecha = '05/01/2026' where id = 2\"\n")),
        f.why().constData());
    QCOMPARE(f.value(QStringLiteral("n")).toInt(), 1);
    QCOMPARE(f.value(QStringLiteral("TypeName(d)")).toString(), QStringLiteral("Date"));
    // Day first: 5 January, not 1 May.
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select fecha from tAdoPrueba where id = 2"))
                 .toDateTime()
                 .date(),
             QDate(2026, 1, 5));
}

void tst_Ado::createdConnection()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    f.seed(db.connection());
    const QString cs = db.connectionString();
    QVERIFY2(f.run(QStringLiteral("Set c = CreateObject(\"ADODB.Connection\")\n"
                                  "before = c.State\n"
                                  "c.Open \"%1\"\n"
                                  "opened = c.State\n"
                                  "n = c.Execute(\"select count(*) from tAdoPrueba\")(0)\n"
                                  "k = -5\nc.Execute \"delete from tAdoPrueba where id = 3\", k\n"
                                  "c.Close\n"
                                  "closed = c.State\n")
                       .arg(cs)),
             f.why().constData());
    QCOMPARE(f.value(QStringLiteral("before & opened & closed")).toString(), QStringLiteral("010"));
    QCOMPARE(f.value(QStringLiteral("n")).toInt(), 3);
    QCOMPARE(f.value(QStringLiteral("k")).toInt(), 1);
    QCOMPARE(f.count(db.connection()), 2);
    // Closed: statements are refused with ADO's number.
    QCOMPARE(f.failure(QStringLiteral("c.Execute \"delete from tAdoPrueba\"")), 3704);
    QCOMPARE(f.count(db.connection()), 2);
    // A recordset that outlives its connection's Close cannot write through it any more.
    QVERIFY2(f.run(QStringLiteral("c.Open \"%1\"\n"
                                  "Set r = CreateObject(\"ADODB.Recordset\")\n"
                                  "r.Open \"tAdoPrueba\", c, 3, 4\n"
                                  "c.Close\n"
                                  "r.AddNew\n r(\"id\") = 40\n r.Update\n")
                       .arg(cs)),
             f.why().constData());
    QCOMPARE(f.failure(QStringLiteral("r.UpdateBatch")), 3704);
    QCOMPARE(f.count(db.connection()), 2);
    // A bad connection string is a script error too, and the object stays closed.
    QCOMPARE(f.failure(QStringLiteral("c.Open \"nada:que/ver\"")), 3706);
    QCOMPARE(f.value(QStringLiteral("c.State")).toInt(), 0);
}

void tst_Ado::updatableRecordset()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    Fixture f(db);
    f.seed(db.connection());
    QVERIFY2(f.run(QStringLiteral("Set rs = CreateObject(\"ADODB.Recordset\")\n"
                                  "rs.Open \"select * from tAdoPrueba where id = 0\", cn, 3, 3\n"
                                  "rs.AddNew\n"
                                  "rs(\"id\") = 20\n"
                                  "rs.Fields(\"nombre\").Value = \"Nueva\"\n"
                                  "rs.Fields(\"importe\") = CCur(\"19.99\")\n"
                                  "rs(\"fecha\") = DateSerial(2026, 2, 1)\n"
                                  "rs.Update\n"
                                  "rs.Close\n"
                                  "rs.Open \"tAdoPrueba\", cn, 1, 3\n"
                                  "Do Until rs.EOF\n"
                                  " If rs(\"id\") = 1 Then rs(\"cantidad\") = 42 : rs.Update\n"
                                  " rs.MoveNext\n"
                                  "Loop\n"
                                  "rs.Close\n")),
             f.why().constData());
    db::Recordset back = db.connection().openRecordset(
        QStringLiteral("select nombre, importe, fecha from tAdoPrueba where id = 20"));
    QVERIFY(!back.eof());
    QCOMPARE(back.text(QStringLiteral("nombre")), QStringLiteral("Nueva"));
    QCOMPARE(back.decimal(QStringLiteral("importe")), Decimal("19.99"));
    QCOMPARE(back.dateTime(QStringLiteral("fecha")).date(), QDate(2026, 2, 1));
    QCOMPARE(f.count(db.connection(), QStringLiteral("id = 1 and cantidad = 42")), 1);
    QCOMPARE(f.count(db.connection()), 4);

    // Batch locking keeps rows until UpdateBatch; optimistic locking writes a Delete at once;
    // Null empties a column.
    QVERIFY2(f.run(QStringLiteral("Set rs = CreateObject(\"ADODB.Recordset\")\n"
                                  "rs.Open \"tAdoPrueba\", cn, 3, 4\n"
                                  "rs.AddNew\n rs(\"id\") = 30\n rs.Update\n"
                                  "rs.AddNew\n rs(\"id\") = 31\n rs.Update\n")),
             f.why().constData());
    QCOMPARE(f.count(db.connection()), 4);
    QVERIFY2(f.run(QStringLiteral("rs.UpdateBatch\nrs.Close\n"
                                  "rs.Open \"select * from tAdoPrueba where id = 2\", cn, 3, 3\n"
                                  "rs.Delete\nrs.Close\n"
                                  "rs.Open \"select * from tAdoPrueba where id = 20\", cn, 3, 3\n"
                                  "rs(\"nombre\") = Null\nrs.Update\nrs.Close\n")),
             f.why().constData());
    QCOMPARE(f.count(db.connection(), QStringLiteral("id in (30, 31)")), 2);
    QCOMPARE(f.count(db.connection(), QStringLiteral("id = 2")), 0);
    QCOMPARE(f.count(db.connection(), QStringLiteral("id = 20 and nombre is null")), 1);

    // A read-only recordset refuses changes with the database layer's text.
    QCOMPARE(f.failure(QStringLiteral("Set r2 = cn.Execute(\"select * from tAdoPrueba\")\n"
                                      "r2(\"nombre\") = \"X\"")),
             3251);
}

void tst_Ado::helpLists()
{
    const QStringList cn = ado::connectionMembers();
    for (const char *m : {"Execute(sSQL)", "BeginTrans", "CommitTrans", "RollbackTrans", "State", "Close"})
        QVERIFY2(cn.contains(QLatin1String(m)), m);
    const QStringList rs = ado::recordsetMembers();
    for (const char *m : {"Fields(vIndice).Value", "EOF", "MoveNext", "RecordCount", "AddNew", "Update"})
        QVERIFY2(rs.contains(QLatin1String(m)), m);
}

QTEST_GUILESS_MAIN(tst_Ado)
#include "tst_ado.moc"
