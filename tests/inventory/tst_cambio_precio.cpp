// Price-change methods and their formulas: every message of the maintenance, the built-in
// methods, the refusal of a method in use, the syntax question, and that a method and its script
// row are written together or not at all (a failure at each statement in turn); on both engines.
#include "CambioPrecioEditor.h"
#include "CodigoEditor.h"
#include "EstacionPrueba.h"
#include "Log.h"
#include "TestDatabase.h"

#include "DbError.h"

#include <QTemporaryDir>
#include <QTest>

using Metodo = CambioPrecioEditor::Metodo;
using Icon = Prompter::Icon;

namespace {

const QString kScript = QStringLiteral("Publico.Value = Costo.Value * 1.3\r\nTotal.Value = Publico.Value");

int count(db::Connection &c, const QString &sql, const QVariantList &params = {})
{
    return c.scalar(sql, params).toInt();
}

QStringList estado(db::Connection &c)
{
    return filas(c, QStringLiteral(
                        "select cambio_Clave, cambio_Nombre from tCambioPrecio order by cambio_Clave")) +
           filas(c,
                 QStringLiteral("select codigo_Clave, codigo_Nombre, codigo_Activo, codigo_Text from tCodigo "
                                "order by codigo_Clave"));
}

} // namespace

class tst_CambioPrecio : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cicloCompleto_data() { TestDatabase::addEngineRows(); }
    void cicloCompleto();
    void validaDatos_data();
    void validaDatos();
    void predefinidos_data();
    void predefinidos();
    void enUso_data();
    void enUso();
    void sintaxis_data() { TestDatabase::addEngineRows(); }
    void sintaxis();
    void scriptHuerfano_data() { TestDatabase::addEngineRows(); }
    void scriptHuerfano();
    void altaSimultanea_data() { TestDatabase::addEngineRows(); }
    void altaSimultanea();
    void sinDerechos_data();
    void sinDerechos();
    void fallaEnCadaSentencia_data();
    void fallaEnCadaSentencia();
    void valoresDelScript();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_CambioPrecio::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_CambioPrecio::cicloCompleto()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    EstacionPrueba s(&c, settingsFile());
    CambioPrecioEditor editor(s.provider, s.permisos, s.prompter, QStringLiteral("A"));
    QCOMPARE(editor.titulo(), QStringLiteral("Alta de Tipo de Cambio de Precio"));

    s.prompter.answers << false;
    QVERIFY(
        editor.agregarRegistro({QStringLiteral(" ESPECIAL "), QStringLiteral(" Precio especial "), kScript}));
    QVERIFY(!editor.continuarAgregando());
    QCOMPARE(s.prompter.texts(), QStringList{CambioPrecioEditor::kAgregado});
    QCOMPARE(s.prompter.texts().first(), QStringLiteral("El registro fue agregado con exito, desea continuar "
                                                        "agregando mas Tipos de Cambio de Precios"));
    QVERIFY(s.prompter.shown.first().defaultYes);
    QCOMPARE(estado(c).filter(QStringLiteral("ESPECIAL")),
             (QStringList{QStringLiteral("ESPECIAL|Precio especial"),
                          QStringLiteral("ONCHANGEPRICE_ESPECIAL|Precio especial|S|") + kScript}));

    s.prompter.clear();
    s.prompter.answers << true;
    QVERIFY(
        editor.agregarRegistro({QStringLiteral("OTRO"), QStringLiteral("Otro"), QStringLiteral("' nada")}));
    QVERIFY(editor.continuarAgregando());

    s.prompter.clear();
    QVERIFY(!editor.agregarRegistro({QStringLiteral("ESPECIAL"), QStringLiteral("Repetido"), kScript}));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("La clave ya esta en uso para el siguiente Tipo de Cambio de Precio "
                                        "Precio especial")});
    QCOMPARE(editor.campoRechazado(), QStringLiteral("clave"));

    // Change: the name is rewritten and the script row replaced, active again.
    c.execute(QStringLiteral(
        "update tCodigo set codigo_Activo = 'N' where codigo_Clave = 'ONCHANGEPRICE_ESPECIAL'"));
    editor.setModo(QStringLiteral("C"));
    QCOMPARE(editor.titulo(), QStringLiteral("Cambio de Tipo de Cambio de Precio"));
    s.prompter.clear();
    QVERIFY(editor.modificarRegistro(
        {QStringLiteral("ESPECIAL"), QStringLiteral("Especial 2"), QStringLiteral("Total.Value = 1")}));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QCOMPARE(estado(c).filter(QStringLiteral("ESPECIAL")),
             (QStringList{QStringLiteral("ESPECIAL|Especial 2"),
                          QStringLiteral("ONCHANGEPRICE_ESPECIAL|Especial 2|S|Total.Value = 1")}));

    s.prompter.clear();
    QVERIFY(!editor.modificarRegistro({QStringLiteral("NOHAY"), QStringLiteral("Nada"), QString()}));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("La clave del tipo de cambio de precio no existe")});
    QCOMPARE(
        count(c, QStringLiteral("select count(*) from tCodigo where codigo_Clave = 'ONCHANGEPRICE_NOHAY'")),
        0);

    // Query.
    editor.setModo(QStringLiteral("Q"));
    QVERIFY(editor.soloLectura());
    s.prompter.clear();
    Metodo m;
    QVERIFY(editor.consultarRegistro(QStringLiteral("ESPECIAL"), &m));
    QCOMPARE(m.nombre, QStringLiteral("Especial 2"));
    QCOMPARE(m.script, QStringLiteral("Total.Value = 1"));
    QVERIFY(!editor.consultarRegistro(QStringLiteral("NOHAY"), &m));
    QVERIFY(!editor.consultarRegistro(QStringLiteral("  "), &m));
    QCOMPARE(s.prompter.texts(),
             (QStringList{QStringLiteral("La clave no existe"), QStringLiteral("Debe indicar una clave")}));

    // Delete: No keeps both rows; Yes removes both.
    s.prompter.clear();
    s.prompter.answers << false << true;
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("ESPECIAL")));
    QCOMPARE(estado(c).filter(QStringLiteral("ESPECIAL")).size(), 2);
    QVERIFY(editor.eliminarRegistro(QStringLiteral("ESPECIAL")));
    QCOMPARE(s.prompter.texts(),
             (QStringList{QStringLiteral("Esta seguro de eliminar el tipo de cambio de precio"),
                          QStringLiteral("Esta seguro de eliminar el tipo de cambio de precio"),
                          QStringLiteral("El registro fue eliminado con exito")}));
    QVERIFY(!s.prompter.shown.first().defaultYes);
    QVERIFY(estado(c).filter(QStringLiteral("ESPECIAL")).isEmpty());
    QCOMPARE(estado(c).filter(QStringLiteral("OTRO")).size(), 2);

    s.prompter.clear();
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("ESPECIAL")));
    QVERIFY(!editor.eliminarRegistro(QString()));
    QCOMPARE(s.prompter.texts(),
             (QStringList{QStringLiteral("La clave no existe"), QStringLiteral("Debe indicar una clave")}));
    QVERIFY(s.prompter.drained());
}

void tst_CambioPrecio::validaDatos_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("mensaje");
    QTest::addColumn<QString>("campo");
    QTest::newRow("sin clave") << ""
                               << "Nombre"
                               << "Debe indicar una clave"
                               << "clave";
    QTest::newRow("clave de espacios") << "   "
                                       << "Nombre"
                                       << "Debe indicar una clave"
                                       << "clave";
    QTest::newRow("clave larga") << QString(31, u'X') << "Nombre"
                                 << "La clave no puede tener mas de 30 caracteres"
                                 << "clave";
    QTest::newRow("sin nombre") << "ESP"
                                << ""
                                << "Debe indicar un nombre"
                                << "nombre";
    QTest::newRow("nombre de espacios") << "ESP"
                                        << "  "
                                        << "Debe indicar un nombre"
                                        << "nombre";
    QTest::newRow("nombre largo") << "ESP" << QString(101, u'n')
                                  << "El nombre no puede tener mas de 100 caracteres"
                                  << "nombre";
    QTest::newRow("clave de 30 y nombre de 100") << QString(30, u'X') << QString(100, u'n') << ""
                                                 << "";
}

void tst_CambioPrecio::validaDatos()
{
    QFETCH(QString, clave);
    QFETCH(QString, nombre);
    QFETCH(QString, mensaje);
    QFETCH(QString, campo);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    EstacionPrueba::grant(db.connection());
    EstacionPrueba s(&db.connection(), settingsFile());
    CambioPrecioEditor editor(s.provider, s.permisos, s.prompter);
    QCOMPARE(editor.validaDatos({clave, nombre, QString()}), mensaje.isEmpty());
    QCOMPARE(s.prompter.texts(), mensaje.isEmpty() ? QStringList() : QStringList{mensaje});
    QCOMPARE(editor.campoRechazado(), campo);
    if (mensaje.isEmpty())
        return;
    // Nothing is written after a refusal.
    const QStringList antes = estado(db.connection());
    QVERIFY(!editor.agregarRegistro({clave, nombre, QString()}));
    QCOMPARE(estado(db.connection()), antes);
}

void tst_CambioPrecio::predefinidos_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("clave");
    for (const QString &engine : TestDatabase::engines())
        for (const char *clave : {"FIJO", "PUBLICO", "MARGEN", "UTILIDAD", "FINANCIERO"})
            TestDatabase::newRow(engine, QString::fromLatin1(clave)) << QString::fromLatin1(clave);
}

void tst_CambioPrecio::predefinidos()
{
    QFETCH(QString, engine);
    QFETCH(QString, clave);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    EstacionPrueba s(&c, settingsFile());
    CambioPrecioEditor editor(s.provider, s.permisos, s.prompter, QStringLiteral("C"));
    QVERIFY(CambioPrecioEditor::esPredefinido(clave));
    QVERIFY(!CambioPrecioEditor::esPredefinido(clave.toLower())); // keys compare exactly, as stored

    // Renaming keeps it without a script, even when a text comes along.
    QVERIFY(
        editor.modificarRegistro({clave, QStringLiteral("Renombrado"), QStringLiteral("no es VBScript (")}));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QCOMPARE(
        c.scalar(QStringLiteral("select cambio_Nombre from tCambioPrecio where cambio_Clave = ?"), {clave})
            .toString(),
        QStringLiteral("Renombrado"));
    QCOMPARE(
        count(c, QStringLiteral("select count(*) from tCodigo where codigo_Clave like 'ONCHANGEPRICE_%'")),
        0);

    Metodo m;
    QVERIFY(editor.consultarRegistro(clave, &m));
    QVERIFY(m.script.isEmpty());

    s.prompter.clear();
    QVERIFY(!editor.eliminarRegistro(clave));
    QCOMPARE(s.prompter.texts(),
             QStringList{QStringLiteral("El tipo de cambio de precio ") + clave +
                         QStringLiteral(" es parte del programa, no es posible eliminarlo")});
    QCOMPARE(count(c, QStringLiteral("select count(*) from tCambioPrecio where cambio_Clave = ?"), {clave}),
             1);
}

void tst_CambioPrecio::enUso_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("mensaje");
    const QString articulos = CambioPrecioEditor::kUsadoPorArticulos;
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, "articulo")
            << "update tArticulo set cambio_Clave = 'ESP' where art_Clave = 'A1'" << articulos;
        TestDatabase::newRow(engine, "renglon de precio")
            << "insert into tArticuloPrecio (art_Clave, tprecio_Clave, precio_Clave, cambio_Clave) "
               "values ('A1', 'LISTA', 1, 'ESP')"
            << articulos;
        TestDatabase::newRow(engine, "concepto de tipo de cliente")
            << "insert into tTipoClienteConcepto (tcontrol_Clave, tcli_Clave, tcc_Clave, cambio_Clave, "
               "tcc_Valor) "
               "values ('DEPARTAMENTO', 'SYS', 'MED', 'ESP', 5)"
            << CambioPrecioEditor::kUsadoPorConceptos;
    }
}

void tst_CambioPrecio::enUso()
{
    QFETCH(QString, engine);
    QFETCH(QString, sql);
    QFETCH(QString, mensaje);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    EstacionPrueba s(&c, settingsFile());
    CambioPrecioEditor editor(s.provider, s.permisos, s.prompter);
    s.prompter.answers << false;
    QVERIFY(editor.agregarRegistro({QStringLiteral("ESP"), QStringLiteral("Especial"), kScript}));
    c.execute(QStringLiteral(
        "insert into tArticulo (art_Clave, art_Nombre, cambio_Clave) values ('A1', 'Aspirina', "
        "'PUBLICO')"));
    c.execute(sql);
    const QStringList antes = estado(c);
    s.prompter.clear();
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("ESP")));
    QCOMPARE(s.prompter.texts(), QStringList{mensaje});
    QCOMPARE(estado(c), antes);
    QVERIFY(s.prompter.drained()); // refused before the question
}

void tst_CambioPrecio::sintaxis()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    EstacionPrueba s(&c, settingsFile());
    CambioPrecioEditor editor(s.provider, s.permisos, s.prompter);
    const QString malo = QStringLiteral("Total.Value = 1\r\nIf Costo.Value > 0 Then\r\nPublico.Value = 2");
    const QStringList antes = estado(c);

    s.prompter.answers << false;
    QVERIFY(!editor.agregarRegistro({QStringLiteral("ESP"), QStringLiteral("Especial"), malo}));
    QCOMPARE(editor.campoRechazado(), QStringLiteral("script"));
    QVERIFY(editor.lineaError() > 0);
    QVERIFY(!editor.errorSintaxis().isEmpty());
    QCOMPARE(s.prompter.texts(), QStringList{CodigoEditor::preguntaSintaxis(editor.errorSintaxis())});
    QVERIFY(s.prompter.texts().first().endsWith(QStringLiteral("¿Desea guardarlo de todos modos?")));
    QVERIFY(!s.prompter.shown.first().defaultYes);
    QCOMPARE(estado(c), antes);

    // Saved on purpose.
    s.prompter.clear();
    s.prompter.answers << true << false;
    QVERIFY(editor.agregarRegistro({QStringLiteral("ESP"), QStringLiteral("Especial"), malo}));
    QCOMPARE(
        c.scalar(QStringLiteral("select codigo_Text from tCodigo where codigo_Clave = 'ONCHANGEPRICE_ESP'"))
            .toString(),
        malo);

    // The same question guards a change; a text that compiles asks nothing.
    editor.setModo(QStringLiteral("C"));
    s.prompter.clear();
    s.prompter.answers << false;
    QVERIFY(!editor.modificarRegistro({QStringLiteral("ESP"), QStringLiteral("Otro nombre"), malo + u'\n'}));
    QCOMPARE(s.prompter.shown.size(), 1);
    QCOMPARE(c.scalar(QStringLiteral("select cambio_Nombre from tCambioPrecio where cambio_Clave = 'ESP'"))
                 .toString(),
             QStringLiteral("Especial"));
    s.prompter.clear();
    QVERIFY(editor.modificarRegistro({QStringLiteral("ESP"), QStringLiteral("Otro nombre"), kScript}));
    QCOMPARE(s.prompter.texts(), QStringList{CambioPrecioEditor::kActualizado});
    QVERIFY(s.prompter.drained());
}

void tst_CambioPrecio::scriptHuerfano()
{
    // A formula written in the script catalogue before its method existed.
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    EstacionPrueba s(&c, settingsFile());
    c.execute(QStringLiteral("insert into tCodigo (codigo_Clave, codigo_Nombre, codigo_Activo, codigo_Text) "
                             "values ('ONCHANGEPRICE_ESP', 'Viejo', 'N', 'Total.Value = 5')"));
    CambioPrecioEditor editor(s.provider, s.permisos, s.prompter);
    QString texto;
    QVERIFY(editor.scriptGuardado(QStringLiteral("ESP"), &texto));
    QCOMPARE(texto, QStringLiteral("Total.Value = 5"));
    QVERIFY(!editor.scriptGuardado(QStringLiteral("OTRO"), &texto));

    s.prompter.answers << false;
    QVERIFY(editor.agregarRegistro(
        {QStringLiteral("ESP"), QStringLiteral("Especial"), QStringLiteral("Total.Value = 6")}));
    QCOMPARE(filas(c, QStringLiteral("select codigo_Nombre, codigo_Activo, codigo_Text from tCodigo "
                                     "where codigo_Clave = 'ONCHANGEPRICE_ESP'")),
             QStringList{QStringLiteral("Especial|S|Total.Value = 6")});
}

void tst_CambioPrecio::altaSimultanea()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    std::unique_ptr<db::Connection> otra = db.openAnother();
    c.setStatementHook([&](const QString &sql) {
        if (sql.startsWith(QLatin1String("INSERT INTO tCambioPrecio")))
            otra->execute(QStringLiteral("insert into tCambioPrecio (cambio_Clave, cambio_Nombre) values "
                                         "('ESP', 'De la otra caja')"));
    });
    EstacionPrueba s(&c, settingsFile());
    CambioPrecioEditor editor(s.provider, s.permisos, s.prompter);
    if (engine == TestDatabase::sqlite())
        c.setStatementHook([&](const QString &sql) {
            // SQLite's write lock is taken at BEGIN: the other workstation writes just before it.
            if (sql.startsWith(QLatin1String("BEGIN")))
                otra->execute(QStringLiteral("insert into tCambioPrecio (cambio_Clave, cambio_Nombre) values "
                                             "('ESP', 'De la otra caja')"));
        });
    QVERIFY(!editor.agregarRegistro({QStringLiteral("ESP"), QStringLiteral("Especial"), kScript}));
    c.setStatementHook({});
    QCOMPARE(s.prompter.texts(),
             QStringList{CambioPrecioEditor::kClaveEnUso + QStringLiteral(" De la otra caja")});
    QCOMPARE(
        count(c, QStringLiteral("select count(*) from tCodigo where codigo_Clave = 'ONCHANGEPRICE_ESP'")), 0);
}

void tst_CambioPrecio::sinDerechos_data()
{
    QTest::addColumn<QString>("derecho"); // the one right held
    QTest::addColumn<QString>("rechazado");
    QTest::newRow("solo consulta: no agrega") << "frmCambioPrecio_cmdConsulta"
                                              << "A";
    QTest::newRow("solo consulta: no cambia") << "frmCambioPrecio_cmdConsulta"
                                              << "C";
    QTest::newRow("solo consulta: no elimina") << "frmCambioPrecio_cmdConsulta"
                                               << "B";
    QTest::newRow("solo alta: no consulta") << "frmCambioPrecio_cmdAlta"
                                            << "Q";
}

void tst_CambioPrecio::sinDerechos()
{
    QFETCH(QString, derecho);
    QFETCH(QString, rechazado);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c, {derecho});
    c.execute(
        QStringLiteral("insert into tCambioPrecio (cambio_Clave, cambio_Nombre) values ('ESP', 'Especial')"));
    EstacionPrueba s(&c, settingsFile());
    CambioPrecioEditor editor(s.provider, s.permisos, s.prompter,
                              rechazado == QLatin1String("B") ? QStringLiteral("C") : rechazado);
    const QStringList antes = estado(c);
    const Metodo m{QStringLiteral("ESP"), QStringLiteral("Nuevo"), kScript};
    Metodo leido;
    bool ok = true;
    switch (rechazado.at(0).unicode()) {
    case 'A':
        ok = editor.agregarRegistro({QStringLiteral("NUEVO"), QStringLiteral("Nuevo"), kScript});
        break;
    case 'C':
        ok = editor.modificarRegistro(m);
        break;
    case 'B':
        ok = editor.eliminarRegistro(QStringLiteral("ESP"));
        break;
    default:
        ok = editor.consultarRegistro(QStringLiteral("ESP"), &leido);
    }
    QVERIFY(!ok);
    QVERIFY(!editor.puede(rechazado.at(0)));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("Su perfil no tiene acceso a esta operacion")});
    QCOMPARE(estado(c), antes);
}

void tst_CambioPrecio::fallaEnCadaSentencia_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QChar>("comando");
    for (const QString &engine : TestDatabase::engines()) {
        TestDatabase::newRow(engine, "alta") << QChar(u'A');
        TestDatabase::newRow(engine, "cambio") << QChar(u'C');
        TestDatabase::newRow(engine, "baja") << QChar(u'B');
    }
}

void tst_CambioPrecio::fallaEnCadaSentencia()
{
    QFETCH(QString, engine);
    QFETCH(QChar, comando);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    EstacionPrueba::grant(c);
    EstacionPrueba s(&c, settingsFile());
    CambioPrecioEditor editor(s.provider, s.permisos, s.prompter,
                              comando == u'A' ? QStringLiteral("A") : QStringLiteral("C"));
    if (comando != u'A') {
        s.prompter.answers << false;
        editor.setModo(QStringLiteral("A"));
        QVERIFY(editor.agregarRegistro({QStringLiteral("ESP"), QStringLiteral("Especial"), kScript}));
        editor.setModo(QStringLiteral("C"));
    }
    const QStringList antes = estado(c);
    const auto ejecuta = [&] {
        switch (comando.unicode()) {
        case 'A':
            return editor.agregarRegistro({QStringLiteral("ESP"), QStringLiteral("Especial"), kScript});
        case 'C':
            return editor.modificarRegistro(
                {QStringLiteral("ESP"), QStringLiteral("Cambiado"), QStringLiteral("Total.Value = 2")});
        default:
            return editor.eliminarRegistro(QStringLiteral("ESP"));
        }
    };
    int fallas = 0;
    for (int n = 1;; ++n) {
        QVERIFY2(n < 40, "the operation never ended");
        int vista = 0;
        c.setStatementHook([&](const QString &) {
            if (++vista == n)
                throw db::DbError(99, QStringLiteral("falla simulada"), QStringLiteral("prueba"));
        });
        s.prompter.clear();
        s.prompter.answers.clear();
        s.prompter.answers << true; // the delete's question; the add's "go on adding"
        const bool ok = ejecuta();
        c.setStatementHook({});
        if (vista < n) { // no statement failed: the operation ran whole
            QVERIFY(ok);
            break;
        }
        QVERIFY2(!ok, qPrintable(QStringLiteral("statement %1").arg(n)));
        // A failed read of the rights counts as no right; any other failure is reported.
        QVERIFY(s.prompter.shown.last().icon == Icon::Critical ||
                s.prompter.last() == CambioPrecioEditor::kSinAcceso);
        QVERIFY2(estado(c) == antes, qPrintable(QStringLiteral("statement %1 left a partial write").arg(n)));
        QCOMPARE(c.transactionDepth(), 0);
        ++fallas;
    }
    // Reads, BEGIN, the writes of both rows and COMMIT each failed once.
    QVERIFY2(fallas >= 5, qPrintable(QString::number(fallas)));
    QVERIFY(estado(c) != antes);
}

void tst_CambioPrecio::valoresDelScript()
{
    const QStringList valores = CambioPrecioEditor::valoresScript();
    QCOMPARE(valores, (QStringList{"CambioPrecio.Value", "Costo.Value", "Publico.Value", "Descuento.Value",
                                   "SubTotal.Value", "Margen.Value", "Utilidad.Value",
                                   "ImpuestoPorcentaje.Value", "ImpuestoImporte.Value", "Total.Value"}));
    QCOMPARE(CambioPrecioEditor::claveScript(QStringLiteral(" ESP ")), QStringLiteral("ONCHANGEPRICE_ESP"));
}

QTEST_GUILESS_MAIN(tst_CambioPrecio)
#include "tst_cambio_precio.moc"
