// What scripts get from "xFactory" and keep in "xGlobal", and who deletes the objects a
// script receives from a factory.
#include "AdoObjects.h"
#include "TestDatabase.h"
#include "cCollectionContainer.h"
#include "cObjectFactory.h"

#include "Engine.h"

#include <QPointer>
#include <QTest>

#include <memory>

// Lets a test see the objects a script handles.
class Probe : public QObject {
    Q_OBJECT
public:
    QPointer<QObject> last;
    QObject *known = nullptr;

    Q_INVOKABLE void keep(QObject *object) { last = object; }
    Q_INVOKABLE QObject *child() { return new QObject(this); }
    Q_INVOKABLE QObject *knownObject() { return known; }
    Q_INVOKABLE void adopt(QObject *object) { object->setParent(this); }
};

namespace {

struct Scripting {
    Scripting()
    {
        engine.addObject(QStringLiteral("xFactory"), &factory);
        engine.addObject(QStringLiteral("xGlobal"), &global);
        engine.addObject(QStringLiteral("probe"), &probe);
        ado::registerProgIds(engine);
    }
    // Declared before the engine: the engine lets go of its objects first.
    cObjectFactory factory;
    cCollectionContainer global;
    Probe probe;
    vbs::Engine engine;
};

} // namespace

class tst_AdoFactory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void globalItems_data();
    void globalItems();
    void globalRemove_data();
    void globalRemove();
    void globalOutlivesRuns();
    void globalRefusesScriptClasses();
    void factoryMembers();
    void factoryAdoObjects_data() { TestDatabase::addEngineRows(); }
    void factoryAdoObjects();
    void ownership_data();
    void ownership();
    void removingFromGlobalReleases();
};

void tst_AdoFactory::globalItems_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("expected");
    QTest::newRow("by key") << "xGlobal.getItem(\"Total\")"
                            << "10";
    QTest::newRow("key in other case") << "xGlobal.getItem(\"FOLIO\")"
                                       << "A-1";
    QTest::newRow("first position") << "xGlobal.getItem(1)"
                                    << "10";
    QTest::newRow("second position") << "xGlobal.getItem(2)"
                                     << "A-1";
    QTest::newRow("position as a Double") << "xGlobal.getItem(3.0)(\"k\")"
                                          << "v";
    QTest::newRow("object by key keeps its members") << "xGlobal.getItem(\"Dic\")(\"k\")"
                                                     << "v";
    QTest::newRow("object is the same object") << "xGlobal.getItem(\"dic\") Is d"
                                               << "true";
    QTest::newRow("getObject reads the same") << "xGlobal.getObject(\"Total\") + 1"
                                              << "11";
    QTest::newRow("replaced value keeps its place") << "xGlobal.getItem(4)"
                                                    << "nuevo";
    QTest::newRow("missing key is Empty") << "IsEmpty(xGlobal.getItem(\"nada\"))"
                                          << "true";
    QTest::newRow("position past the end is Empty") << "IsEmpty(xGlobal.getItem(5))"
                                                    << "true";
    QTest::newRow("position zero is Empty") << "IsEmpty(xGlobal.getItem(0))"
                                            << "true";
    QTest::newRow("numeric text is a key, not a position") << "IsEmpty(xGlobal.getItem(\"1\"))"
                                                           << "true";
    QTest::newRow("count") << "xGlobal.getCount"
                           << "4";
    QTest::newRow("exists") << "xGlobal.existsValue(\"total\") And Not xGlobal.existsValue(\"nada\")"
                            << "true";
}

void tst_AdoFactory::globalItems()
{
    QFETCH(QString, expression);
    QFETCH(QString, expected);
    Scripting s;
    QVERIFY2(s.engine.execute(QStringLiteral("xGlobal.addObject 10, \"Total\"\n"
                                             "xGlobal.addObject \"A-1\", \"Folio\"\n"
                                             "Set d = CreateObject(\"Scripting.Dictionary\")\n"
                                             "d.Add \"k\", \"v\"\n"
                                             "xGlobal.addObject d, \"Dic\"\n"
                                             "xGlobal.addObject \"viejo\", \"Cambia\"\n"
                                             "xGlobal.addObject \"nuevo\", \"CAMBIA\"\n"
                                             "result = ") +
                              expression),
             qPrintable(s.engine.errorText()));
    QCOMPARE(s.engine.eval(QStringLiteral("result")).toString(), expected);
}

void tst_AdoFactory::globalRemove_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("by key") << "\"b\"" << true << QStringList{"a", "c"};
    QTest::newRow("by key in other case") << "\"C\"" << true << QStringList{"a", "b"};
    QTest::newRow("by first position") << "1" << true << QStringList{"b", "c"};
    QTest::newRow("by last position") << "3" << true << QStringList{"a", "b"};
    QTest::newRow("missing key") << "\"z\"" << false << QStringList{"a", "b", "c"};
    QTest::newRow("position past the end") << "4" << false << QStringList{"a", "b", "c"};
    QTest::newRow("position zero") << "0" << false << QStringList{"a", "b", "c"};
}

void tst_AdoFactory::globalRemove()
{
    QFETCH(QString, which);
    QFETCH(bool, removed);
    QFETCH(QStringList, left);
    Scripting s;
    QVERIFY2(
        s.engine.execute(QStringLiteral("xGlobal.addObject 1, \"a\"\n"
                                        "xGlobal.addObject CreateObject(\"Scripting.Dictionary\"), \"b\"\n"
                                        "xGlobal.addObject 3, \"c\"\n"
                                        "result = xGlobal.removeItem(%1)\n")
                             .arg(which)),
        qPrintable(s.engine.errorText()));
    QCOMPARE(s.engine.eval(QStringLiteral("result")).toBool(), removed);
    QCOMPARE(s.global.keys(), left);
}

void tst_AdoFactory::globalOutlivesRuns()
{
    Scripting s;
    QVERIFY2(s.engine.execute(QStringLiteral("Set d = CreateObject(\"Scripting.Dictionary\")\n"
                                             "d(\"cliente\") = \"C-7\"\n"
                                             "xGlobal.addObject d, \"Venta\"\n"
                                             "xGlobal.addObject #2026-05-04#, \"Fecha\"\n")),
             qPrintable(s.engine.errorText()));
    s.engine.reset();
    s.engine.addObject(QStringLiteral("xGlobal"), &s.global);
    QVERIFY2(s.engine.execute(QStringLiteral("c = xGlobal.getItem(\"venta\")(\"cliente\")\n"
                                             "f = xGlobal.getItem(\"Fecha\")")),
             qPrintable(s.engine.errorText()));
    QCOMPARE(s.engine.eval(QStringLiteral("c")).toString(), QStringLiteral("C-7"));
    QCOMPARE(s.engine.eval(QStringLiteral("TypeName(f) & Day(f)")).toString(), QStringLiteral("Date4"));
}

void tst_AdoFactory::globalRefusesScriptClasses()
{
    Scripting s;
    // The instance would outlive the code it runs: refused, and the bag stays as it was.
    QVERIFY(!s.engine.execute(QStringLiteral("Class Nota\n Public Texto\nEnd Class\n"
                                             "Set n = New Nota\n"
                                             "xGlobal.addObject n, \"nota\"\n")));
    QCOMPARE(s.engine.lastError().number, 13);
    QCOMPARE(s.global.count(), 0);
}

void tst_AdoFactory::factoryMembers()
{
    Scripting s;
    QVERIFY2(
        s.engine.execute(QStringLiteral(
            "Set v = xFactory.newCValue()\n"
            "v.Key = \"Precio\"\n v.Value = 5\n"
            "r1 = TypeName(v) & \":\" & v.Key & \":\" & (v + 1)\n"
            "Set b = xFactory.NewCollection()\n"
            "b.addObject v, \"p\"\n"
            "r2 = TypeName(b) & \":\" & b.getCount & \":\" & xGlobal.getCount & \":\" & b.getItem(1).Key\n"
            "Set c = xFactory.newADODBConnection()\n"
            "Set c2 = xFactory.newADODBConnection()\n"
            "Set r = xFactory.newADODBRecordSet()\n"
            "r3 = TypeName(c) & \":\" & c.State & \":\" & (c Is c2) & \":\" & TypeName(r) & \":\" & "
            "r.State\n")),
        qPrintable(s.engine.errorText()));
    QCOMPARE(s.engine.eval(QStringLiteral("r1")).toString(), QStringLiteral("CValue:Precio:6"));
    QCOMPARE(s.engine.eval(QStringLiteral("r2")).toString(),
             QStringLiteral("cCollectionContainer:1:0:Precio"));
    QCOMPARE(s.engine.eval(QStringLiteral("r3")).toString(),
             QStringLiteral("Connection:0:False:Recordset:0"));
}

void tst_AdoFactory::factoryAdoObjects()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine);
    db.connection().execute(
        QStringLiteral("create table tAdoFabrica (id integer primary key, nombre varchar(20))"));
    db.connection().execute(QStringLiteral("insert into tAdoFabrica values (1, 'uno'), (2, 'dos')"));
    Scripting s;
    QVERIFY2(s.engine.execute(QStringLiteral("Set c = xFactory.newADODBConnection()\n"
                                             "c.Open \"%1\"\n"
                                             "Set r = xFactory.newADODBRecordSet()\n"
                                             "r.Open \"select nombre from tAdoFabrica order by id\", c\n"
                                             "s = r.RecordCount & r(\"nombre\")\n"
                                             "r.Close\n"
                                             "Set r2 = CreateObject(\"ADODB.Recordset\")\n"
                                             "r2.Open \"tAdoFabrica\", \"%1\"\n"
                                             "s = s & r2.Fields.Count & r2.RecordCount\n")
                                  .arg(db.connectionString())),
             qPrintable(s.engine.errorText()));
    QCOMPARE(s.engine.eval(QStringLiteral("s")).toString(), QStringLiteral("2uno22"));
}

void tst_AdoFactory::ownership_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("aliveAfterRun");
    QTest::addColumn<bool>("aliveAfterReset");
    QTest::newRow("factory object dropped by the script is deleted")
        << "Set o = xFactory.newCValue()\nprobe.keep o\nSet o = Nothing" << false << false;
    QTest::newRow("factory object used as a temporary is deleted")
        << "probe.keep xFactory.newcCollectionContainer()" << false << false;
    QTest::newRow("factory object held in a variable lives until the reset")
        << "Set o = xFactory.create(\"newCValue\")\nprobe.keep o" << true << false;
    QTest::newRow("factory object kept in xGlobal outlives the run")
        << "Set o = xFactory.NewCollection()\nprobe.keep o\nxGlobal.addObject o, \"k\"\nSet o = Nothing"
        << true << true;
    QTest::newRow("an object with a parent stays its parent's")
        << "Set o = probe.child()\nprobe.keep o\nSet o = Nothing" << true << true;
    QTest::newRow("a factory object given a parent meanwhile stays")
        << "Set o = xFactory.newCValue()\nprobe.keep o\nprobe.adopt o\nSet o = Nothing" << true << true;
    QTest::newRow("an object added with addObject stays the host's")
        << "Set o = probe.knownObject()\nprobe.keep o\nSet o = Nothing\nprobe.keep conocido" << true << true;
}

void tst_AdoFactory::ownership()
{
    QFETCH(QString, script);
    QFETCH(bool, aliveAfterRun);
    QFETCH(bool, aliveAfterReset);
    Scripting s;
    QPointer<QObject> known(new QObject); // parentless, as the program's services are
    s.probe.known = known;
    s.engine.addObject(QStringLiteral("conocido"), known.data());
    QVERIFY2(s.engine.execute(script), qPrintable(s.engine.errorText()));
    const QPointer<QObject> seen = s.probe.last;
    QCOMPARE(bool(seen), aliveAfterRun);
    s.engine.reset();
    QCOMPARE(bool(seen), aliveAfterReset);
    QVERIFY(known); // never the script's
    delete known.data();
}

void tst_AdoFactory::removingFromGlobalReleases()
{
    Scripting s;
    QVERIFY2(s.engine.execute(QStringLiteral("Set o = xFactory.newCValue()\nprobe.keep o\n"
                                             "xGlobal.addObject o, \"v\"\nSet o = Nothing")),
             qPrintable(s.engine.errorText()));
    const QPointer<QObject> seen = s.probe.last;
    QVERIFY(seen);
    QVERIFY2(s.engine.execute(QStringLiteral("ok = xGlobal.removeItem(\"v\")")),
             qPrintable(s.engine.errorText()));
    QVERIFY(s.engine.eval(QStringLiteral("ok")).toBool());
    QVERIFY(!seen); // the bag held the script's last reference
}

QTEST_GUILESS_MAIN(tst_AdoFactory)
#include "tst_ado_factory.moc"
