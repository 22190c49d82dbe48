// The generic catalogue maintenance: every message of the pattern on banks and on states (a
// detail of countries with a composite key), validation, rights, references that forbid a
// delete, the descriptions against the real tables and the demo catalogues; on both engines.
#include "CatalogoEditor.h"
#include "CatalogoPrueba.h"
#include "Catalogos.h"
#include "Log.h"
#include "MenuTree.h"
#include "TestDatabase.h"

#include "DemoData.h"

#include <QTemporaryDir>
#include <QTest>

using Icon = Prompter::Icon;

namespace {

using Station = CatalogoPrueba;

void grant(db::Connection &c, const QStringList &modules = {})
{
    CatalogoPrueba::grant(c, modules);
}

const CatalogoDef &def(const char *tabla)
{
    const CatalogoDef *d = Catalogos::porTabla(QString::fromLatin1(tabla));
    Q_ASSERT(d);
    return *d;
}

QVariantMap banco(const QString &clave, const QString &nombre)
{
    return {{QStringLiteral("banco_Clave"), clave}, {QStringLiteral("banco_Nombre"), nombre}};
}

int count(db::Connection &c, const QString &sql, const QVariantList &params = {})
{
    return c.scalar(sql, params).toInt();
}

} // namespace

class tst_Catalogo : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void bancoCicloCompleto_data() { TestDatabase::addEngineRows(); }
    void bancoCicloCompleto();
    void altaSimultanea_data() { TestDatabase::addEngineRows(); }
    void altaSimultanea();
    void estadoDentroDePais_data() { TestDatabase::addEngineRows(); }
    void estadoDentroDePais();
    void validaDatos_data();
    void validaDatos();
    void fechas_data();
    void fechas();
    void borradoRechazadoPorLaBase_data() { TestDatabase::addEngineRows(); }
    void borradoRechazadoPorLaBase();
    void detallesSeBorranConElRegistro_data() { TestDatabase::addEngineRows(); }
    void detallesSeBorranConElRegistro();
    void derechos_data();
    void derechos();
    void valoresLeidos_data() { TestDatabase::addEngineRows(); }
    void valoresLeidos();
    void descripcionesCoincidenConLasTablas_data() { TestDatabase::addEngineRows(); }
    void descripcionesCoincidenConLasTablas();
    void datosDemo_data() { TestDatabase::addEngineRows(); }
    void datosDemo();
    void entradasDelMenu();
    void claveCompuestaDelLookup_data();
    void claveCompuestaDelLookup();
    void lookupDeCatalogo();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_Catalogo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_Catalogo::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_Catalogo::bancoCicloCompleto()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    grant(c);
    Station s(&c, settingsFile());
    CatalogoEditor editor(def("tBanco"), s.provider, s.permisos, s.prompter, QStringLiteral("A"));
    QCOMPARE(editor.titulo(), QStringLiteral("Alta de Bancos"));

    // Added; the user goes on adding.
    s.prompter.answers.enqueue(true);
    QVERIFY(editor.agregarRegistro(banco(QStringLiteral(" BBVA "), QStringLiteral("BBVA México"))));
    QVERIFY(editor.continuarAgregando());
    QCOMPARE(s.prompter.shown.last().text,
             QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas bancos"));
    QCOMPARE(s.prompter.shown.last().icon, Icon::Question);
    QCOMPARE(count(c, QStringLiteral("select count(*) from tBanco where banco_Clave = 'BBVA'")), 1);

    // The same key again: refused with the name of the bank that holds it.
    s.prompter.clear();
    QVERIFY(!editor.agregarRegistro(banco(QStringLiteral("BBVA"), QStringLiteral("Otro"))));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("La clave ya esta en uso para el siguiente banco BBVA México")});
    QCOMPARE(c.scalar(QStringLiteral("select banco_Nombre from tBanco where banco_Clave = 'BBVA'")).toString(),
             QStringLiteral("BBVA México"));

    // Added; the user stops adding.
    s.prompter.clear();
    s.prompter.answers.enqueue(false);
    QVERIFY(editor.agregarRegistro(banco(QStringLiteral("O'HARA"), QStringLiteral("Banco 100% O'Hara"))));
    QVERIFY(!editor.continuarAgregando());

    editor.setModo(QStringLiteral("C"));
    s.prompter.clear();
    QVERIFY(editor.modificarRegistro(banco(QStringLiteral("BBVA"), QStringLiteral("BBVA Bancomer"))));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QCOMPARE(c.scalar(QStringLiteral("select banco_Nombre from tBanco where banco_Clave = 'BBVA'")).toString(),
             QStringLiteral("BBVA Bancomer"));

    s.prompter.clear();
    QVERIFY(!editor.modificarRegistro(banco(QStringLiteral("NOEXISTE"), QStringLiteral("Nadie"))));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
    QCOMPARE(count(c, QStringLiteral("select count(*) from tBanco")), 2);

    QVariantMap leido;
    s.prompter.clear();
    QVERIFY(!editor.consultarRegistro({QStringLiteral("NOEXISTE")}, leido));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
    QVERIFY(editor.consultarRegistro({QStringLiteral("O'HARA")}, leido));
    QCOMPARE(leido.value(QStringLiteral("banco_Nombre")).toString(), QStringLiteral("Banco 100% O'Hara"));

    // Delete: No keeps the row, Yes removes it.
    s.prompter.clear();
    s.prompter.answers.enqueue(false);
    QVERIFY(!editor.eliminarRegistro({QStringLiteral("BBVA")}));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("Esta seguro de eliminar el banco")});
    QVERIFY(!s.prompter.shown.last().defaultYes);
    QCOMPARE(count(c, QStringLiteral("select count(*) from tBanco where banco_Clave = 'BBVA'")), 1);

    s.prompter.clear();
    s.prompter.answers.enqueue(true);
    QVERIFY(editor.eliminarRegistro({QStringLiteral("BBVA")}));
    QCOMPARE(s.prompter.texts(), (QStringList{QStringLiteral("Esta seguro de eliminar el banco"),
                                              QStringLiteral("El registro fue eliminado con exito")}));
    QCOMPARE(count(c, QStringLiteral("select count(*) from tBanco where banco_Clave = 'BBVA'")), 0);

    s.prompter.clear();
    QVERIFY(!editor.eliminarRegistro({QStringLiteral("BBVA")}));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
    QVERIFY(s.prompter.drained());
}

void tst_Catalogo::altaSimultanea()
{
    // Another workstation adds the same key between the check and the insert.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    grant(c);
    std::unique_ptr<db::Connection> otra = db.openAnother();
    c.setStatementHook([&](const QString &sql) {
        if (sql.startsWith(QLatin1String("INSERT INTO tBanco")))
            otra->execute(QStringLiteral("insert into tBanco (banco_Clave, banco_Nombre) values ('BAJIO', 'BanBajío')"));
    });
    Station s(&c, settingsFile());
    CatalogoEditor editor(def("tBanco"), s.provider, s.permisos, s.prompter, QStringLiteral("A"));
    QVERIFY(!editor.agregarRegistro(banco(QStringLiteral("BAJIO"), QStringLiteral("Banco del Bajío"))));
    c.setStatementHook({});
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("La clave ya esta en uso para el siguiente banco BanBajío")});
    QCOMPARE(c.scalar(QStringLiteral("select banco_Nombre from tBanco where banco_Clave = 'BAJIO'")).toString(),
             QStringLiteral("BanBajío"));
}

void tst_Catalogo::estadoDentroDePais()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    grant(c);
    Station s(&c, settingsFile());
    CatalogoEditor pais(def("tPais"), s.provider, s.permisos, s.prompter, QStringLiteral("A"));
    CatalogoEditor estado(def("tEstado"), s.provider, s.permisos, s.prompter, QStringLiteral("A"));
    s.prompter.answers << false << false << false << false;
    QVERIFY(pais.agregarRegistro({{"pais_Clave", "MEX"}, {"pais_Nombre", "México"}}));
    QVERIFY(pais.agregarRegistro({{"pais_Clave", "USA"}, {"pais_Nombre", "Estados Unidos"}}));
    // The country arrives as the combo's list entry.
    const QStringList paises = estado.lista(*def("tEstado").campo(QStringLiteral("pais_Clave")));
    QCOMPARE(paises.size(), 2);
    QVERIFY(paises.first().startsWith(QStringLiteral("Estados Unidos ")));
    QCOMPARE(CatalogoEditor::claveDe(paises.first()), QStringLiteral("USA"));
    QVERIFY(estado.agregarRegistro({{"pais_Clave", paises.last()}, {"edo_Clave", "BC"}, {"edo_Nombre", "Baja California"}}));
    // The same state key within another country is another state.
    QVERIFY(estado.agregarRegistro({{"pais_Clave", "USA"}, {"edo_Clave", "BC"}, {"edo_Nombre", "Otro BC"}}));
    s.prompter.clear();
    QVERIFY(!estado.agregarRegistro({{"pais_Clave", "MEX"}, {"edo_Clave", "BC"}, {"edo_Nombre", "Repetido"}}));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("La clave ya esta en uso para el siguiente estado Baja California")});
    QCOMPARE(s.prompter.shown.last().icon, Icon::Exclamation);

    // A country with states cannot go, and nobody is asked.
    s.prompter.clear();
    QVERIFY(!pais.eliminarRegistro({QStringLiteral("MEX")}));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("La clave esta en uso, no es posible eliminar este registro")});
    QCOMPARE(count(c, QStringLiteral("select count(*) from tPais where pais_Clave = 'MEX'")), 1);

    // Deleting one state leaves its namesake in the other country.
    s.prompter.clear();
    s.prompter.answers.enqueue(true);
    QVERIFY(estado.eliminarRegistro({QStringLiteral("MEX"), QStringLiteral("BC")}));
    QCOMPARE(s.prompter.texts().first(), QStringLiteral("Esta seguro de eliminar el estado"));
    QCOMPARE(count(c, QStringLiteral("select count(*) from tEstado where edo_Clave = 'BC'")), 1);
    s.prompter.answers.enqueue(true);
    QVERIFY(estado.eliminarRegistro({QStringLiteral("USA"), QStringLiteral("BC")}));
    s.prompter.clear();
    s.prompter.answers.enqueue(true);
    QVERIFY(pais.eliminarRegistro({QStringLiteral("MEX")}));
    QCOMPARE(s.prompter.texts().last(), QStringLiteral("El registro fue eliminado con exito"));
    QVERIFY(s.prompter.drained());
}

void tst_Catalogo::validaDatos_data()
{
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QVariantMap>("valores");
    QTest::addColumn<QString>("mensaje"); // empty: accepted
    const auto b = [](const QString &clave, const QString &nombre) { return banco(clave, nombre); };
    const auto tcli = [](const QString &col, const QVariant &v) {
        QVariantMap m{{"tcli_Clave", "MAY"}, {"tcli_Nombre", "Mayoreo"}, {"tcontrol_Clave", "ARTICULO"}};
        m.insert(col, v);
        return m;
    };
    const auto conc = [](const QVariant &signo) {
        return QVariantMap{{"concepto_Clave", "GAS"}, {"concepto_Nombre", "Gas"}, {"tconcepto_Clave", "GASTO"},
                           {"concepto_Signo", signo}};
    };
    QTest::newRow("sin clave") << "tBanco" << b("", "Banorte") << "Debe indicar una clave";
    QTest::newRow("clave en blanco") << "tBanco" << b("   ", "Banorte") << "Debe indicar una clave";
    QTest::newRow("sin nombre") << "tBanco" << b("BNT", " ") << "Debe indicar un nombre";
    QTest::newRow("clave de 20") << "tBanco" << b(QString(20, u'X'), "Largo") << "";
    QTest::newRow("clave de 21") << "tBanco" << b(QString(21, u'X'), "Largo")
                                 << "El campo Clave admite a lo mas 20 caracteres";
    QTest::newRow("clave con tabulador") << "tBanco" << b("A\tB", "Tab") << CatalogoEditor::kClaveInvalida;
    QTest::newRow("clave con separador") << "tBanco" << b("A|B", "Barra") << CatalogoEditor::kClaveInvalida;
    QTest::newRow("apostrofo y por ciento") << "tBanco" << b("O'H%", "O'Hara 100%") << "";
    QTest::newRow("estado sin pais") << "tEstado"
                                     << QVariantMap{{"edo_Clave", "JAL"}, {"edo_Nombre", "Jalisco"}}
                                     << "Debe seleccionar un pais";
    QTest::newRow("estado de pais inexistente")
        << "tEstado" << QVariantMap{{"pais_Clave", "Atlantida\tATL"}, {"edo_Clave", "JAL"}, {"edo_Nombre", "Jalisco"}}
        << "Debe seleccionar un pais";
    QTest::newRow("estado valido") << "tEstado"
                                   << QVariantMap{{"pais_Clave", "MEX"}, {"edo_Clave", "JAL"}, {"edo_Nombre", "Jalisco"}}
                                   << "";
    QTest::newRow("descuento no numerico") << "tTipoCliente" << tcli("tcli_Descuento", "diez")
                                           << "Debe indicar un valor numerico en Descuento %";
    QTest::newRow("descuento 101") << "tTipoCliente" << tcli("tcli_Descuento", "101")
                                   << "El valor de Descuento % debe estar entre 0 y 100";
    QTest::newRow("descuento negativo") << "tTipoCliente" << tcli("tcli_Descuento", "-0.5")
                                        << "El valor de Descuento % debe estar entre 0 y 100";
    QTest::newRow("descuento 100") << "tTipoCliente" << tcli("tcli_Descuento", "100") << "";
    QTest::newRow("descuento 0") << "tTipoCliente" << tcli("tcli_Descuento", "0") << "";
    QTest::newRow("descuento 12.5") << "tTipoCliente" << tcli("tcli_Descuento", "12.5") << "";
    QTest::newRow("lista con decimales") << "tTipoCliente" << tcli("tcli_Lista", "2.5")
                                         << "Debe indicar un numero entero en Lista de precios";
    QTest::newRow("lista cero") << "tTipoCliente" << tcli("tcli_Lista", 0)
                                << "El valor de Lista de precios debe ser mayor o igual a 1";
    QTest::newRow("sin control de precio") << "tTipoCliente" << tcli("tcontrol_Clave", "")
                                           << "Debe seleccionar un control de precio";
    QTest::newRow("signo ajeno") << "tConcepto" << conc("x") << "Debe seleccionar un signo";
    QTest::newRow("signo de la lista") << "tConcepto" << conc("(-) Resta      \t-") << "";
    QTest::newRow("sin signo") << "tConcepto" << conc("") << "Debe seleccionar un signo";
}

void tst_Catalogo::validaDatos()
{
    QFETCH(QString, tabla);
    QFETCH(QVariantMap, valores);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db.connection().execute(QStringLiteral("insert into tPais (pais_Clave, pais_Nombre) values ('MEX', 'México')"));
    Station s(&db.connection(), settingsFile());
    CatalogoEditor editor(*Catalogos::porTabla(tabla), s.provider, s.permisos, s.prompter);
    QCOMPARE(editor.validaDatos(valores), mensaje.isEmpty());
    QCOMPARE(s.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
}

void tst_Catalogo::fechas_data()
{
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<bool>("valida");
    QTest::newRow("dia primero") << QVariant(QStringLiteral("29/02/2024")) << true;
    QTest::newRow("sin ceros") << QVariant(QStringLiteral("1/3/2026")) << true;
    QTest::newRow("ISO") << QVariant(QStringLiteral("2026-03-04")) << true;
    QTest::newRow("QDate") << QVariant(QDate(2026, 3, 4)) << true;
    QTest::newRow("29 de febrero no bisiesto") << QVariant(QStringLiteral("29/02/2026")) << false;
    QTest::newRow("mes 13") << QVariant(QStringLiteral("01/13/2026")) << false;
    QTest::newRow("texto") << QVariant(QStringLiteral("mañana")) << false;
}

void tst_Catalogo::fechas()
{
    // No catalogue of the menu has a date yet; the rule serves any description that does.
    QFETCH(QVariant, valor);
    QFETCH(bool, valida);
    CatalogoDef d;
    d.tabla = QStringLiteral("tVigencia");
    d.claves = {QStringLiteral("vig_Clave")};
    CatalogoCampo f;
    f.columna = QStringLiteral("vig_Fecha");
    f.titulo = QStringLiteral("Vigencia");
    f.falta = QStringLiteral("la vigencia");
    f.tipo = CatalogoCampo::Tipo::Fecha;
    f.requerido = true;
    d.campos << f;
    Station s(nullptr, settingsFile());
    CatalogoEditor editor(d, s.provider, s.permisos, s.prompter);
    QCOMPARE(editor.validaDatos({{QStringLiteral("vig_Fecha"), valor}}), valida);
    QCOMPARE(s.prompter.texts(),
             valida ? QStringList() : QStringList{QStringLiteral("Debe indicar una fecha valida en Vigencia")});
}

void tst_Catalogo::borradoRechazadoPorLaBase()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    grant(c);
    // A table that refers to banks without the description knowing it.
    c.executeScript(QStringLiteral("create table tPruebaRef (x varchar(20) not null references tBanco (banco_Clave))"));
    c.execute(QStringLiteral("insert into tBanco (banco_Clave, banco_Nombre) values ('HSBC', 'HSBC')"));
    c.execute(QStringLiteral("insert into tPruebaRef (x) values ('HSBC')"));
    Station s(&c, settingsFile());
    CatalogoEditor editor(def("tBanco"), s.provider, s.permisos, s.prompter, QStringLiteral("C"));
    s.prompter.answers.enqueue(true);
    QVERIFY(!editor.eliminarRegistro({QStringLiteral("HSBC")}));
    QCOMPARE(s.prompter.texts(), (QStringList{QStringLiteral("Esta seguro de eliminar el banco"),
                                              QStringLiteral("La clave esta en uso, no es posible eliminar este registro")}));
    QCOMPARE(count(c, QStringLiteral("select count(*) from tBanco")), 1);
    // The connection is usable afterwards.
    c.execute(QStringLiteral("delete from tPruebaRef"));
    s.prompter.answers.enqueue(true);
    QVERIFY(editor.eliminarRegistro({QStringLiteral("HSBC")}));
    QCOMPARE(count(c, QStringLiteral("select count(*) from tBanco")), 0);
}

void tst_Catalogo::detallesSeBorranConElRegistro()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    grant(c);
    db::DemoData::populate(c);
    Station s(&c, settingsFile());
    CatalogoEditor editor(def("tTipoCliente"), s.provider, s.permisos, s.prompter, QStringLiteral("C"));
    QVERIFY(count(c, QStringLiteral("select count(*) from tTipoClienteTipoPago where tcli_Clave = 'MAYOREO'")) > 0);
    // A type that clients still hold is in use: the demo's wholesale clients go first.
    c.execute(QStringLiteral("delete from tCliente where tcli_Clave = 'MAYOREO'"));
    s.prompter.answers.enqueue(true);
    QVERIFY(editor.eliminarRegistro({QStringLiteral("MAYOREO")}));
    QCOMPARE(count(c, QStringLiteral("select count(*) from tTipoClienteTipoPago where tcli_Clave = 'MAYOREO'")), 0);
    QCOMPARE(count(c, QStringLiteral("select count(*) from tTipoCliente where tcli_Clave = 'MAYOREO'")), 0);
    // A payment kind still allowed to a client type stays.
    CatalogoEditor pagos(def("tTipoPago"), s.provider, s.permisos, s.prompter, QStringLiteral("C"));
    s.prompter.clear();
    QVERIFY(!pagos.eliminarRegistro({QStringLiteral("EFECTIVO")}));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("La clave esta en uso, no es posible eliminar este registro")});
}

void tst_Catalogo::derechos_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("rights");
    QTest::addColumn<QString>("allowed"); // the commands among A C B Q that run
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "ninguno") << QStringList() << "";
        TestDatabase::newRow(e, "solo consulta") << QStringList{"frmBanco_cmdConsulta"} << "Q";
        TestDatabase::newRow(e, "alta y baja") << QStringList{"frmBanco_cmdAlta", "frmBanco_cmdBaja"} << "AB";
        TestDatabase::newRow(e, "derechos de otra ventana") << QStringList{"frmZona_cmdAlta", "frmZona_cmdCambio"}
                                                            << "";
        TestDatabase::newRow(e, "todos") << QStringList{"frmBanco_cmdAlta", "frmBanco_cmdCambio", "frmBanco_cmdBaja",
                                                        "frmBanco_cmdConsulta"}
                                         << "ACBQ";
    }
}

void tst_Catalogo::derechos()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, rights);
    QFETCH(QString, allowed);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    grant(c, rights.isEmpty() ? QStringList{QStringLiteral("ZEV")} : rights);
    c.execute(QStringLiteral("insert into tBanco (banco_Clave, banco_Nombre) values ('AZTECA', 'Banco Azteca')"));
    Station s(&c, settingsFile());
    CatalogoEditor editor(def("tBanco"), s.provider, s.permisos, s.prompter, QStringLiteral("C"));
    const QString sin = CatalogoEditor::kSinAcceso;

    s.prompter.answers.enqueue(false);
    QCOMPARE(editor.agregarRegistro(banco(QStringLiteral("INBURSA"), QStringLiteral("Inbursa"))), allowed.contains(u'A'));
    QCOMPARE(s.prompter.texts().contains(sin), !allowed.contains(u'A'));
    if (!allowed.contains(u'A'))
        s.prompter.answers.clear();
    QCOMPARE(count(c, QStringLiteral("select count(*) from tBanco where banco_Clave = 'INBURSA'")),
             allowed.contains(u'A') ? 1 : 0);

    s.prompter.clear();
    QCOMPARE(editor.modificarRegistro(banco(QStringLiteral("AZTECA"), QStringLiteral("Azteca"))), allowed.contains(u'C'));
    QCOMPARE(s.prompter.texts().contains(sin), !allowed.contains(u'C'));

    s.prompter.clear();
    QVariantMap leido;
    QCOMPARE(editor.consultarRegistro({QStringLiteral("AZTECA")}, leido), allowed.contains(u'Q'));
    QCOMPARE(s.prompter.texts().contains(sin), !allowed.contains(u'Q'));

    s.prompter.clear();
    if (allowed.contains(u'B'))
        s.prompter.answers.enqueue(true);
    QCOMPARE(editor.eliminarRegistro({QStringLiteral("AZTECA")}), allowed.contains(u'B'));
    QCOMPARE(s.prompter.texts().contains(sin), !allowed.contains(u'B'));
    QCOMPARE(count(c, QStringLiteral("select count(*) from tBanco where banco_Clave = 'AZTECA'")),
             allowed.contains(u'B') ? 0 : 1);
    QVERIFY(s.prompter.drained());
}

void tst_Catalogo::valoresLeidos()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    grant(c);
    Station s(&c, settingsFile());
    CatalogoEditor editor(def("tTipoCliente"), s.provider, s.permisos, s.prompter, QStringLiteral("A"));
    s.prompter.answers.enqueue(false);
    QVERIFY(editor.agregarRegistro({{"tcli_Clave", "MAY"},
                                    {"tcli_Nombre", "Mayoreo"},
                                    {"tcli_Descuento", "12.345678"},
                                    {"tcontrol_Clave", CatalogoEditor::entrada("Por lista", "LISTA")},
                                    {"tcli_Lista", "3"},
                                    {"tcli_Factura", true},
                                    {"tcli_Ticket", false},
                                    {"tcli_RedondeoVenta", "S"},
                                    {"tcli_Credito", ""}}));
    QCOMPARE(c.scalar(QStringLiteral("select tcli_Factura from tTipoCliente where tcli_Clave = 'MAY'")).toString(), QStringLiteral("SI"));
    QCOMPARE(c.scalar(QStringLiteral("select tcli_Ticket from tTipoCliente where tcli_Clave = 'MAY'")).toString(), QStringLiteral("NO"));
    // A flag the caller leaves out takes its default, not "no".
    QCOMPARE(c.scalar(QStringLiteral("select tcli_AcumularArticulos from tTipoCliente where tcli_Clave = 'MAY'")).toString(), QStringLiteral("S"));
    QCOMPARE(c.scalar(QStringLiteral("select tcli_Nota from tTipoCliente where tcli_Clave = 'MAY'")).toString(), QStringLiteral("NO"));
    QVERIFY(c.scalar(QStringLiteral("select tcli_Credito from tTipoCliente where tcli_Clave = 'MAY'")).isNull());
    QVariantMap leido;
    QVERIFY(editor.consultarRegistro({QStringLiteral("MAY")}, leido));
    QCOMPARE(leido.value("tcli_Descuento").toString(), QStringLiteral("12.345678"));
    QCOMPARE(leido.value("tcontrol_Clave").toString(), QStringLiteral("LISTA"));
    QCOMPARE(leido.value("tcli_Lista").toLongLong(), 3);
    QCOMPARE(leido.value("tcli_Factura").toBool(), true);
    QCOMPARE(leido.value("tcli_Ticket").toBool(), false);
    QCOMPARE(leido.value("tcli_RedondeoVenta").toBool(), true);
    QVERIFY(!leido.value("tcli_Credito").isValid());
    QVERIFY(s.prompter.drained());
}

void tst_Catalogo::descripcionesCoincidenConLasTablas()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    const auto columnas = [&](const QString &tabla) {
        QHash<QString, db::FieldInfo> out;
        for (const db::FieldInfo &f : c.columns(tabla))
            out.insert(f.name.toLower(), f);
        return out;
    };
    for (const CatalogoDef &d : Catalogos::todos()) {
        const QString where = d.tabla + QLatin1Char(' ');
        QVERIFY2(c.tableExists(d.tabla), qPrintable(where));
        const auto cols = columnas(d.tabla);
        QVERIFY2(!d.claves.isEmpty() && !d.nombre.isEmpty(), qPrintable(where));
        QVERIFY2(d.campo(d.nombre), qPrintable(where + d.nombre));
        // The window's four commands are rights of the module tree.
        for (const char *verb : {"_cmdAlta", "_cmdCambio", "_cmdBaja", "_cmdConsulta"})
            QVERIFY2(count(c, QStringLiteral("select count(*) from tModulo where mod_Clave = ?"),
                           {QVariant(d.ventana + QLatin1String(verb))}) == 1,
                     qPrintable(d.ventana + QLatin1String(verb)));
        QStringList pk;
        for (const QString &k : c.primaryKey(d.tabla))
            pk << k.toLower();
        QStringList claves;
        for (const QString &k : d.claves)
            claves << k.toLower();
        QCOMPARE(QSet<QString>(claves.cbegin(), claves.cend()), QSet<QString>(pk.cbegin(), pk.cend()));
        for (const CatalogoCampo &f : d.campos) {
            QVERIFY2(cols.contains(f.columna.toLower()), qPrintable(where + f.columna));
            const db::FieldInfo &info = cols.value(f.columna.toLower());
            if (f.tipo == CatalogoCampo::Tipo::Texto && info.size > 0)
                QVERIFY2(f.longitud == info.size, qPrintable(where + f.columna));
            if (f.tipo == CatalogoCampo::Tipo::Referencia) {
                const auto ref = columnas(f.refTabla);
                QVERIFY2(ref.contains(f.refClave.toLower()) && ref.contains(f.refNombre.toLower()),
                         qPrintable(where + f.refTabla));
            }
            QVERIFY2(!f.titulo.isEmpty(), qPrintable(where + f.columna));
            QVERIFY2(f.tipo == CatalogoCampo::Tipo::Bandera || !f.falta.isEmpty(), qPrintable(where + f.columna));
        }
        // A column the database requires must be a required field, or the insert would fail.
        for (const db::FieldInfo &info : cols)
            if (!info.nullable && !info.primaryKey && d.campo(info.name))
                QVERIFY2(d.campo(info.name)->requerido || d.campo(info.name)->tipo == CatalogoCampo::Tipo::Bandera,
                         qPrintable(where + info.name));
        for (const auto &list : {d.referencias, d.detalles})
            for (const CatalogoReferencia &r : list) {
                QCOMPARE(r.columnas.size(), d.claves.size());
                if (!c.tableExists(r.tabla))
                    continue; // brought by a later part of the program
                const auto ref = columnas(r.tabla);
                for (const QString &col : r.columnas)
                    QVERIFY2(ref.contains(col.toLower()), qPrintable(where + r.tabla + QLatin1Char('.') + col));
            }
    }
}

void tst_Catalogo::datosDemo()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    db::DemoData::populate(c);
    const auto counts = [&] {
        QStringList out;
        for (const CatalogoDef &d : Catalogos::todos())
            out << d.tabla + QLatin1Char('=') + c.scalar(QStringLiteral("select count(*) from ") + d.tabla).toString();
        return out;
    };
    const QStringList first = counts();
    db::DemoData::populate(c); // a second fill adds nothing
    QCOMPARE(counts(), first);

    QCOMPARE(count(c, QStringLiteral("select count(*) from tEstado where pais_Clave = 'MEX'")), 32);
    QCOMPARE(c.scalar(QStringLiteral("select edo_Nombre from tEstado where pais_Clave = 'MEX' and edo_Clave = 'JAL'"))
                 .toString(),
             QStringLiteral("Jalisco"));
    for (const char *banco : {"BBVA", "BANORTE", "SANTANDER", "BANAMEX", "HSBC", "SCOTIA", "INBURSA", "AZTECA", "BANCOPPEL"})
        QVERIFY2(count(c, QStringLiteral("select count(*) from tBanco where banco_Clave = ?"), {QString::fromLatin1(banco)}) == 1,
                 banco);
    for (const char *pago : {"EFECTIVO", "CHEQUE", "TARJETA", "EXTRANJERA", "CREDITO", "VALES"})
        QVERIFY2(count(c, QStringLiteral("select count(*) from tTipoPago where tpago_Clave = ?"), {QString::fromLatin1(pago)}) == 1,
                 pago);
    QCOMPARE(count(c, QStringLiteral("select count(*) from tMoneda where moneda_Clave in ('MXN', 'USD')")), 2);
    // Peso bills and coins, highest first.
    QStringList denominaciones;
    db::Recordset rs = c.openRecordset(QStringLiteral("select deno_Valor, deno_Nombre from tDenominacion "
                                                      "order by deno_Valor desc, deno_Nombre"));
    for (; !rs.eof(); rs.moveNext())
        denominaciones << rs.decimal(QStringLiteral("deno_Valor")).toString(2) + QLatin1Char(' ') +
                              rs.text(QStringLiteral("deno_Nombre"));
    QCOMPARE(denominaciones, (QStringList{"1000.00 Billete", "500.00 Billete", "200.00 Billete", "100.00 Billete",
                                          "50.00 Billete", "20.00 Billete", "20.00 Moneda", "10.00 Moneda",
                                          "5.00 Moneda", "2.00 Moneda", "1.00 Moneda", "0.50 Moneda"}));
    QCOMPARE(c.scalar(QStringLiteral("select concepto_Nombre from tConcepto where concepto_Clave = 'EFEC_APORTACION'"))
                 .toString(),
             QStringLiteral("IMPORTE INICIAL"));
    QCOMPARE(count(c, QStringLiteral("select count(*) from tTipoCliente where tcli_Clave = 'SYS'")), 1);
    // Every catalogue the menu opens has rows to show (folios are drawn at work), and every
    // category its department.
    for (const CatalogoDef &d : Catalogos::todos())
        QVERIFY2(d.tabla == QLatin1String("tSecuencia") || count(c, QStringLiteral("select count(*) from ") + d.tabla) > 0,
                 qPrintable(d.tabla));
    QCOMPARE(count(c, QStringLiteral("select count(*) from tSubTipo s where not exists "
                                     "(select 1 from tTipoArticulo t where t.tart_Clave = s.tart_Clave)")),
             0);
}

void tst_Catalogo::entradasDelMenu()
{
    int genericos = 0;
    for (const MenuEntry &e : MenuTree::entries()) {
        if (e.opens != QLatin1String(MenuTree::kCatalogueWindow))
            continue;
        const CatalogoDef *d = Catalogos::paraMenu(e);
        // Either wired to a description or left disabled on purpose, never both, never neither.
        QVERIFY2((d != nullptr) != Catalogos::pendientes().contains(e.name), qPrintable(e.name));
        if (!d)
            continue;
        QCOMPARE(d->tabla, e.catalogue.tables.last());
        QVERIFY2(!d->ventana.isEmpty(), qPrintable(e.name));
        if (!Catalogos::tieneVentanaPropia(*d))
            ++genericos;
        // The lookup carries the entry's own title.
        QCOMPARE(d->lookup(e.catalogue.title).title, e.catalogue.title);
    }
    for (const QString &p : Catalogos::pendientes().keys())
        QVERIFY2(MenuTree::find(p), qPrintable(p));
    QVERIFY(genericos >= 20);
    // Departments and categories share tTipoArticulo: the two entries open different catalogues.
    QCOMPARE(Catalogos::paraMenu(*MenuTree::find(QStringLiteral("mnuCatalogo_Departamentos")))->tabla,
             QStringLiteral("tTipoArticulo"));
    QCOMPARE(Catalogos::paraMenu(*MenuTree::find(QStringLiteral("mnuCatalogo_Categoria")))->tabla,
             QStringLiteral("tSubTipo"));
}

void tst_Catalogo::claveCompuestaDelLookup_data()
{
    QTest::addColumn<QString>("tabla");
    QTest::addColumn<QStringList>("valores");
    QTest::addColumn<QString>("texto");
    QTest::newRow("simple") << "tBanco" << QStringList{"BBVA"} << "BBVA";
    QTest::newRow("simple con separador") << "tBanco" << QStringList{"A|B"} << "A|B";
    QTest::newRow("compuesta") << "tEstado" << QStringList{"MEX", "JAL"} << "MEX|JAL";
    QTest::newRow("la ultima parte conserva el separador") << "tEstado" << QStringList{"MEX", "J|L"} << "MEX|J|L";
    QTest::newRow("parametro") << "tParametro" << QStringList{"RECINICIO", "01"} << "RECINICIO|01";
}

void tst_Catalogo::claveCompuestaDelLookup()
{
    QFETCH(QString, tabla);
    QFETCH(QStringList, valores);
    QFETCH(QString, texto);
    const CatalogoDef &d = *Catalogos::porTabla(tabla);
    QCOMPARE(d.codificaClave(valores), texto);
    QCOMPARE(d.decodificaClave(texto), valores);
}

void tst_Catalogo::lookupDeCatalogo()
{
    // Run the lookups' own statements: a typo in a description fails here, not in front of a user.
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    db::DemoData::populate(c);
    c.execute(QStringLiteral("insert into tSecuencia (sec_Clave, sec_Valor) values ('VENTA_MATRIZ_2026', 15)"));
    c.execute(QStringLiteral("insert into tArticulo (art_Clave, art_Nombre) values ('7501', 'Aspirina')"));
    for (const CatalogoDef &d : Catalogos::todos()) {
        const LookupDefinition l = d.lookup();
        QCOMPARE(l.maintenanceWindow, d.ventana);
        QCOMPARE(l.columns.size(), l.selectList.count(u',') + 1);
        for (const LookupField &f : l.searchFields) {
            const bool numero = f.kind == LookupField::Numero;
            const QString sql = QStringLiteral("SELECT ") + l.selectList + QStringLiteral(" FROM ") + l.table +
                                QStringLiteral(" WHERE ") + f.column +
                                (numero ? QStringLiteral(" >= ?") : QStringLiteral(" LIKE ?")) +
                                QStringLiteral(" ORDER BY ") + l.order;
            const QVariant todo = numero ? QVariant(0) : QVariant(QStringLiteral("%"));
            QVERIFY2(c.openRecordset(sql, {todo}).recordCount() > 0, qPrintable(sql));
        }
    }
    const LookupDefinition estados = Catalogos::porTabla(QStringLiteral("tEstado"))->lookup();
    db::Recordset rs = c.openRecordset(QStringLiteral("SELECT ") + estados.selectList + QStringLiteral(" FROM ") +
                                       estados.table + QStringLiteral(" WHERE tEstado.edo_Nombre = 'Jalisco'"));
    QCOMPARE(rs.value(estados.keyColumn).toString(), QStringLiteral("MEX|JAL"));
    QCOMPARE(rs.value(2).toString(), QStringLiteral("México"));
    // The store's own country first: Mexico's 32 states, then the others (Canadá sorts before).
    db::Recordset todos = c.openRecordset(QStringLiteral("SELECT ") + estados.selectList + QStringLiteral(" FROM ") +
                                          estados.table + QStringLiteral(" ORDER BY ") + estados.order);
    QStringList paises;
    for (; !todos.eof(); todos.moveNext())
        paises << todos.value(2).toString();
    QCOMPARE(paises.indexOf(QStringLiteral("México")), 0);
    QCOMPARE(paises.lastIndexOf(QStringLiteral("México")), 31);
    // A restriction is a bound filter.
    const LookupDefinition r = Catalogos::porTabla(QStringLiteral("tAlmacen"))->lookup(
        QStringLiteral("Almacen"), QStringLiteral("alm_Activo"), QStringLiteral("S"));
    QCOMPARE(r.filter, QStringLiteral("tAlmacen.alm_Activo = ?"));
    QCOMPARE(r.filterParams, QVariantList{QStringLiteral("S")});
}

QTEST_GUILESS_MAIN(tst_Catalogo)
#include "tst_catalogo.moc"
