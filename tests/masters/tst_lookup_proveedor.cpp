// The supplier lookup on both engines: found by any part of the name (accent-blind), by key,
// short name or RFC; only the suppliers that exchange electronically when asked.
#include "PuestoProveedores.h"
#include "TestDatabase.h"

#include "Log.h"
#include "LookupProveedor.h"
#include "LookupSearch.h"

#include <QTest>

using Outcome = LookupSearch::Outcome;

class tst_LookupProveedor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { Log::setDirectoryProvider({}); }
    void busqueda_data();
    void busqueda();

private:
    QTemporaryDir m_log;
};

void tst_LookupProveedor::initTestCase()
{
    const QString dir = m_log.path();
    Log::setDirectoryProvider([dir] { return dir; });
}

void tst_LookupProveedor::busqueda_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("campo"); // the caption of the search field
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("soloEdi");
    QTest::addColumn<QStringList>("claves");
    for (const QString &engine : TestDatabase::engines()) {
        const auto row = [&](const char *name) -> QTestData & { return TestDatabase::newRow(engine, QLatin1String(name)); };
        row("parte del nombre sin acentos") << "Nombre" << "farmacos" << false << QStringList{"FANASA", "FARMA"};
        row("nombre con acento") << "Nombre" << "FÁRMACOS" << false << QStringList{"FANASA", "FARMA"};
        row("solo los de intercambio") << "Nombre" << "farmacos" << true << QStringList{"FANASA"};
        row("por clave") << "Clave" << "nadro" << false << QStringList{"NADRO"};
        row("por abreviatura") << "Abreviatura" << "jl per" << false << QStringList{"PEGL"};
        row("por RFC") << "RFC" << "NDR430615" << false << QStringList{"NADRO"};
        row("nada") << "Nombre" << "zapatos" << false << QStringList{};
    }
}

void tst_LookupProveedor::busqueda()
{
    QFETCH(QString, engine);
    QFETCH(QString, campo);
    QFETCH(QString, texto);
    QFETCH(bool, soloEdi);
    QFETCH(QStringList, claves);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    PuestoProveedores p(c);
    for (const auto &[clave, abreviatura, nombre, rfc, edi] :
         {std::tuple{"FARMA", "FARMA", "Fármacos del Bajío SA de CV", "FBA010203AB2", "N"},
          std::tuple{"FANASA", "FANASA", "FARMACOS NACIONALES SA DE CV", "FNA600101QH6", "S"},
          std::tuple{"NADRO", "NADRO", "NACIONAL DE DROGAS SA DE CV", "NDR430615KT9", "S"},
          std::tuple{"PEGL", "JL PEREZ", "JOSE LUIS PEREZ GARCIA", "PEGL780412HJA", "N"}})
        c.execute(QStringLiteral("insert into tProveedor (prov_Clave, prov_Abreviatura, prov_Nombre, prov_RFC, "
                                 "prov_EDI, pais_Clave, edo_Clave, tpag_Clave) values (?, ?, ?, ?, ?, 'MEX', 'JAL', "
                                 "'CREDITO')"),
                  {QLatin1String(clave), QLatin1String(abreviatura), QString::fromUtf8(nombre), QLatin1String(rfc),
                   QLatin1String(edi)});
    p.estacion.config.setValue(QStringLiteral("BUSQUEDA-LIKE"), true);
    const LookupDefinition def = LookupProveedor::definicion(soloEdi);
    QCOMPARE(def.maintenanceWindow, QStringLiteral("frmProveedor"));
    int indice = -1;
    for (int i = 0; i < def.searchFields.size(); ++i)
        if (def.searchFields.at(i).caption == campo)
            indice = i;
    QVERIFY(indice >= 0);
    LookupSearch s({p.estacion.provider, p.estacion.config, p.prompter()}, def);
    const Outcome outcome = s.cmdBuscar({indice, texto, {}, {}});
    QStringList encontradas;
    for (int i = 0; i < s.model().rowCount(); ++i)
        encontradas << s.resultFor(i).key;
    encontradas.sort(); // the engines' collations order accented names differently
    QCOMPARE(encontradas, claves);
    if (claves.isEmpty())
        QCOMPARE(outcome, Outcome::NotFound);
    else
        QVERIFY(outcome == Outcome::Found || outcome == Outcome::Accepted);
}

QTEST_GUILESS_MAIN(tst_LookupProveedor)
#include "tst_lookup_proveedor.moc"
