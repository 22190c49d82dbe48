#include "cCollectionContainer.h"
#include "cObjectFactory.h"

#include <QPointer>
#include <QTest>

class tst_Collection : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keysIgnoreCase_data();
    void keysIgnoreCase();
    void addingAgainReplaces();
    void removeAndMissingKeys();
    void holdsObjectsWithoutOwningThem();
    void scriptsReachMembersByName();
    void factoryCreatesFreshInstances();
    void factoryTakesNewClasses();
};

void tst_Collection::keysIgnoreCase_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("asked");
    QTest::newRow("same case") << "Cliente"
                               << "Cliente";
    QTest::newRow("upper") << "Cliente"
                           << "CLIENTE";
    QTest::newRow("lower") << "Cliente"
                           << "cliente";
    QTest::newRow("accented letters fold too") << "Dirección"
                                               << "DIRECCIÓN";
}

void tst_Collection::keysIgnoreCase()
{
    QFETCH(QString, stored);
    QFETCH(QString, asked);
    cCollectionContainer bag;
    bag.addObject(42, stored);
    QVERIFY(bag.existsItem(asked));
    QCOMPARE(bag.getItem(asked).toInt(), 42);
    QVERIFY(bag.removeItem(asked));
    QCOMPARE(bag.count(), 0);
}

void tst_Collection::addingAgainReplaces()
{
    cCollectionContainer bag;
    bag.addObject(10, "Total");
    bag.addObject("A-1", "Folio");
    bag.addObject(20, "TOTAL");
    QCOMPARE(bag.count(), 2);
    QCOMPARE(bag.getItem("total").toInt(), 20);
    // The key keeps its first spelling and its place.
    QCOMPARE(bag.keys(), (QStringList{"Total", "Folio"}));
}

void tst_Collection::removeAndMissingKeys()
{
    cCollectionContainer bag;
    QVERIFY(!bag.getItem("nada").isValid()); // Empty for scripts
    QVERIFY(!bag.existsItem("nada"));
    QVERIFY(!bag.removeItem("nada"));
    bag.addObject(1, "a");
    bag.addObject(QVariant(), "b"); // an Empty value is still an item
    bag.addObject(3, "c");
    QVERIFY(bag.existsItem("b"));
    QVERIFY(bag.removeItem("B"));
    QCOMPARE(bag.keys(), (QStringList{"a", "c"}));
    bag.addObject(2, "b");
    QCOMPARE(bag.keys(), (QStringList{"a", "c", "b"}));
    bag.clear();
    QCOMPARE(bag.count(), 0);
    QVERIFY(!bag.existsItem("a"));
}

void tst_Collection::holdsObjectsWithoutOwningThem()
{
    auto *held = new QObject;
    held->setObjectName("cliente");
    {
        cCollectionContainer bag;
        bag.addObject(QVariant::fromValue(held), "obj");
        QCOMPARE(bag.getItem("OBJ").value<QObject *>(), held);
    }
    QPointer<QObject> alive(held); // the bag is gone, the object is not
    QVERIFY(alive);
    QCOMPARE(alive->objectName(), QStringLiteral("cliente"));
    delete held;
}

void tst_Collection::scriptsReachMembersByName()
{
    cCollectionContainer bag;
    QVERIFY(QMetaObject::invokeMethod(&bag, "addObject", Q_ARG(QVariant, 7), Q_ARG(QString, "k")));
    QVariant item;
    QVERIFY(QMetaObject::invokeMethod(&bag, "getItem", Q_RETURN_ARG(QVariant, item), Q_ARG(QVariant, "K")));
    QCOMPARE(item.toInt(), 7);
    QCOMPARE(bag.property("count").toInt(), 1);
}

void tst_Collection::factoryCreatesFreshInstances()
{
    cObjectFactory factory;
    std::unique_ptr<QObject> a(factory.newcCollectionContainer());
    std::unique_ptr<QObject> b(factory.create("NEWCCOLLECTIONCONTAINER"));
    QVERIFY(qobject_cast<cCollectionContainer *>(a.get()));
    QVERIFY(qobject_cast<cCollectionContainer *>(b.get()));
    QVERIFY(a.get() != b.get());
    QVERIFY(!a->parent()); // the caller owns it
    qobject_cast<cCollectionContainer *>(a.get())->addObject(1, "x");
    QCOMPARE(qobject_cast<cCollectionContainer *>(b.get())->count(), 0);
    QVERIFY(!factory.create("newCPaciente")); // not built yet
}

void tst_Collection::factoryTakesNewClasses()
{
    cObjectFactory factory;
    QVERIFY(!factory.hasClass("newcString"));
    factory.registerClass("newcString", [] {
        auto *o = new QObject;
        o->setObjectName("cString");
        return o;
    });
    QVERIFY(factory.hasClass("NewCString"));
    std::unique_ptr<QObject> s(factory.create("newcstring"));
    QVERIFY(s);
    QCOMPARE(s->objectName(), QStringLiteral("cString"));
    QCOMPARE(factory.members(),
             (QStringList{"newcCollectionContainer", "NewCollection", "newcString", "newCValue"}));
}

QTEST_GUILESS_MAIN(tst_Collection)
#include "tst_collection.moc"
