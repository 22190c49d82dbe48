#include "SaldoCliente.h"

#include "CarteraPrueba.h"
#include "TestDatabase.h"

#include <QTest>

class tst_SaldoCliente : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saldo_data();
    void saldo();
    void limiteCredito_data() { TestDatabase::addEngineRows(); }
    void limiteCredito();
};

void tst_SaldoCliente::saldo_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<QString>("almacen");
    QTest::addColumn<Decimal>("esperado");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, QStringLiteral("abiertas y credito registrado"))
            << QStringLiteral("C1") << QStringLiteral("A1") << Decimal("157.34");
        TestDatabase::newRow(engine, QStringLiteral("otro almacen"))
            << QStringLiteral("C1") << QStringLiteral("A2") << Decimal("1008");
        TestDatabase::newRow(engine, QStringLiteral("otro cliente"))
            << QStringLiteral("C2") << QStringLiteral("A1") << Decimal("305");
        TestDatabase::newRow(engine, QStringLiteral("sin movimientos"))
            << QStringLiteral("C3") << QStringLiteral("A1") << Decimal("0");
        TestDatabase::newRow(engine, QStringLiteral("cliente inexistente"))
            << QStringLiteral("NADIE") << QStringLiteral("A1") << Decimal("0");
    }
}

void tst_SaldoCliente::saldo()
{
    QFETCH(QString, engine);
    QFETCH(QString, cliente);
    QFETCH(QString, almacen);
    QFETCH(Decimal, esperado);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    cartera::creaCartera(db.connection());
    QCOMPARE(SaldoCliente::saldo(db.connection(), cliente, almacen), esperado);
}

void tst_SaldoCliente::limiteCredito()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    cartera::creaBase(c);
    c.execute(QStringLiteral("update tCliente set cli_Credito = 1234.56 where cli_Clave = 'C1'"));
    QCOMPARE(SaldoCliente::limiteCredito(c, QStringLiteral("C1")),
             std::optional<Decimal>(Decimal("1234.56")));
    QCOMPARE(SaldoCliente::limiteCredito(c, QStringLiteral("C2")), std::optional<Decimal>(Decimal("0")));
    QVERIFY(!SaldoCliente::limiteCredito(c, QStringLiteral("NADIE")));
}

QTEST_GUILESS_MAIN(tst_SaldoCliente)
#include "tst_saldo_cliente.moc"
