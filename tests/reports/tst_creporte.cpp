// A report request made by an event script through the object factory: its kind, key, automatic
// flag and values reach the runner the program installs; without a runner nothing runs.
#include "EstacionPrueba.h"
#include "RegistroReportes.h"
#include "TestDatabase.h"
#include "cReporte.h"

#include "cCode.h"
#include "Engine.h"
#include "cObjectFactory.h"

#include <QTemporaryDir>
#include <QTest>

class tst_cReporte : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_dir = std::make_unique<QTemporaryDir>(); }
    void cleanup() { cReporte::setEjecutor({}); }
    void desdeScript_data() { TestDatabase::addEngineRows(); }
    void desdeScript();
    void sinEjecutor();
    void addParamReemplaza();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_cReporte::desdeScript()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    EstacionPrueba estacion(&db.connection(), m_dir->filePath(QStringLiteral("Mostrador.ini")));
    cObjectFactory factory;
    registraReportes(factory);
    QVERIFY(factory.hasClass(QStringLiteral("newcReporte")));

    QString tipo, clave;
    bool automatico = false;
    QStringList valores;
    int llamadas = 0;
    cReporte::setEjecutor([&](const cReporte &r) {
        ++llamadas;
        tipo = r.tipo();
        clave = r.reporte();
        automatico = r.autoImpresion();
        for (const cReporte::Valor &v : r.parametros())
            valores << v.clave + u'=' + v.valor.toString() + u'|' + v.valorExtra.toString();
        return true;
    });
    cCode code(estacion.provider, estacion.config, estacion.prompter);
    code.addObject(QStringLiteral("xFactory"), QVariant::fromValue(vbs::Value::object(factory.scriptHost())));
    const QString texto = QStringLiteral("Set r = xFactory.newcReporte\n"
                                         "If r.AutoImpresion Then Err.Raise 5\n"
                                         "r.Tipo = \"FACTURA\"\n"
                                         "r.Reporte = \" FACT01 \"\n"
                                         "r.AutoImpresion = True\n"
                                         "r.addParam \"Almacen\", \"MATRIZ\"\n"
                                         "r.addParam \"Factura\", 2026001\n"
                                         "r.addParam \"Periodo\", \"01/03/2026\", \"05/03/2026\"\n"
                                         "If Not r.execute Then Err.Raise 6\n");
    QVERIFY2(code.executeText(QStringLiteral("prueba"), texto), qPrintable(code.lastError()));
    QCOMPARE(llamadas, 1);
    QCOMPARE(tipo, QStringLiteral("FACTURA"));
    QCOMPARE(clave, QStringLiteral("FACT01"));
    QVERIFY(automatico);
    QCOMPARE(valores, (QStringList{"Almacen=MATRIZ|", "Factura=2026001|", "Periodo=01/03/2026|05/03/2026"}));
    QVERIFY(estacion.prompter.texts().isEmpty());
}

void tst_cReporte::sinEjecutor()
{
    cReporte r;
    r.setReporte(QStringLiteral("VENTAS"));
    QVERIFY(!r.execute());
    int llamadas = 0;
    cReporte::setEjecutor([&](const cReporte &) {
        ++llamadas;
        return false; // the runner refused (the window was closed, the report not found)
    });
    QVERIFY(!r.execute());
    QCOMPARE(llamadas, 1);
}

void tst_cReporte::addParamReemplaza()
{
    cReporte r;
    r.addParam(QStringLiteral("Almacen"), QStringLiteral("MATRIZ"));
    r.addParam(QStringLiteral(" ALMACEN "), QStringLiteral("SUC2"), QStringLiteral("Zapopan"));
    r.addParam(QStringLiteral("Factura"), 7);
    QCOMPARE(r.parametros().size(), 2);
    QCOMPARE(r.parametros()[0].clave, QStringLiteral("Almacen"));
    QCOMPARE(r.parametros()[0].valor.toString(), QStringLiteral("SUC2"));
    QCOMPARE(r.parametros()[0].valorExtra.toString(), QStringLiteral("Zapopan"));
    QCOMPARE(r.parametros()[1].valor.toInt(), 7);
}

QTEST_GUILESS_MAIN(tst_cReporte)
#include "tst_creporte.moc"
