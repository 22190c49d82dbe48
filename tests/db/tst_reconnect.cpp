// A PostgreSQL restart between two queries: the old session is lost and reopen() brings the
// connection back. Runs alone (RUN_SERIAL): the restart would disturb other PostgreSQL tests.

#include "Connection.h"
#include "TestDatabase.h"

#include <QProcess>
#include <QTest>

class tst_Reconnect : public QObject {
    Q_OBJECT
private slots:
    void survivesServerRestart();
};

void tst_Reconnect::survivesServerRestart()
{
    const QString restart = qEnvironmentVariable("MDR_TEST_PG_RESTART");
    if (restart.isEmpty()) {
        if (qEnvironmentVariable("MDR_REQUIRE_PG") == u"1")
            QFAIL("Falta MDR_TEST_PG_RESTART: la orden que reinicia el PostgreSQL de prueba");
        QSKIP("Defina MDR_TEST_PG_RESTART para reiniciar el PostgreSQL de prueba");
    }
    MDR_TEST_DATABASE(t, TestDatabase::postgresql(), TestDatabase::Upgraded);
    db::Connection &c = t.connection();
    c.executeScript(QStringLiteral("create table tDato (n integer)"));
    c.execute(QStringLiteral("insert into tDato values (?)"), {7});
    QCOMPARE(c.scalar(QStringLiteral("select sum(n) from tDato")).toInt(), 7);

    QProcess p;
    p.start(QStringLiteral("bash"), {QStringLiteral("-c"), restart});
    QVERIFY(p.waitForFinished(120000));
    QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAllStandardError().constData());

    // The session died with the server: the next statement says so, and ping() notices.
    try {
        c.scalar(QStringLiteral("select sum(n) from tDato"));
        QFAIL("a statement on the lost session must fail");
    } catch (const db::DbError &e) {
        QCOMPARE(e.kind(), db::DbError::ConnectionLost);
    }
    QVERIFY(!c.ping());

    QVERIFY2(c.reopen(), c.lastError() ? qPrintable(c.lastError()->message()) : "");
    QCOMPARE(c.scalar(QStringLiteral("select sum(n) from tDato")).toInt(), 7);
    // The session settings came back with it: day-first literals and the contract functions.
    QCOMPARE(c.scalar(QStringLiteral("select datediff(dd, '28/02/2026', '01/03/2026')")).toInt(), 1);
}

QTEST_GUILESS_MAIN(tst_Reconnect)
#include "tst_reconnect.moc"
