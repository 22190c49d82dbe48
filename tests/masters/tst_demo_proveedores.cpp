// The demo store's suppliers: drug wholesalers and others, each with the departments it serves,
// every one of them passing the supplier window's own checks; idempotent.
#include "TestDatabase.h"

#include "DatosFiscales.h"
#include "DemoData.h"
#include "EstacionPrueba.h"
#include "Log.h"
#include "ProveedorEditor.h"

#include <QTemporaryDir>
#include <QTest>

class tst_DemoProveedores : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { Log::setDirectoryProvider({}); }
    void proveedores_data() { TestDatabase::addEngineRows(); }
    void proveedores();

private:
    QTemporaryDir m_log;
};

void tst_DemoProveedores::initTestCase()
{
    const QString dir = m_log.path();
    Log::setDirectoryProvider([dir] { return dir; });
}

void tst_DemoProveedores::proveedores()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    db::DemoData::populate(c);
    const int cuantos = c.scalar(QStringLiteral("select count(*) from tProveedor")).toInt();
    QVERIFY(cuantos >= 4);
    const int filas = c.scalar(QStringLiteral("select count(*) from TPROVEEDORTIPOART")).toInt();

    // The preferred supplier the settings name by default exists.
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tProveedor where prov_Clave = 'FANASA'")).toInt(), 1);
    int morales = 0;
    int edi = 0;
    QStringList claves;
    for (db::Recordset rs = c.openRecordset(QStringLiteral("select prov_Clave, prov_RFC, prov_EDI from tProveedor "
                                                           "order by prov_Clave"));
         !rs.eof(); rs.moveNext()) {
        const QString rfc = rs.text(QStringLiteral("prov_RFC"));
        QCOMPARE(DatosFiscales::revisaRfc(rfc), DatosFiscales::Resultado::Valido);
        morales += DatosFiscales::esPersonaFisica(rfc) ? 0 : 1;
        edi += rs.text(QStringLiteral("prov_EDI")) == QLatin1String("S") ? 1 : 0;
        claves << rs.text(QStringLiteral("prov_Clave")).trimmed();
    }
    QVERIFY(morales >= 3);
    QVERIFY(morales < cuantos); // and a person
    QVERIFY(edi >= 1);

    // Every demo supplier serves some department and passes the window's checks without a question.
    QTemporaryDir dir;
    EstacionPrueba p(&c, dir.filePath(QStringLiteral("settings.ini")));
    for (const QString &clave : claves) {
        ProveedorEditor e(p.provider, p.prompter);
        QVERIFY(e.carga(clave));
        int servidos = 0;
        for (const auto &d : e.departamentos())
            servidos += d.servido ? 1 : 0;
        QVERIFY2(servidos > 0, qPrintable(clave));
        QVERIFY2(e.validaDatos(), qPrintable(clave + QStringLiteral(": ") + p.prompter.texts().join(u'|')));
    }
    QVERIFY(p.prompter.texts().isEmpty());

    db::DemoData::populate(c);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tProveedor")).toInt(), cuantos);
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from TPROVEEDORTIPOART")).toInt(), filas);
}

QTEST_GUILESS_MAIN(tst_DemoProveedores)
#include "tst_demo_proveedores.moc"
