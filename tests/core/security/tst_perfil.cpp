// The profile window's rules: the rights tree level by level, storing by delete and insert in
// one transaction, the maintenance messages; on both engines.
#include "ConnectionProvider.h"
#include "Log.h"
#include "ModuloEditor.h"
#include "PerfilEditor.h"
#include "ScriptedPrompter.h"
#include "TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using Icon = Prompter::Icon;

namespace {

QSet<QString> rightsOf(db::Connection &c, const QString &perfil)
{
    QSet<QString> out;
    db::Recordset rs = c.openRecordset(QStringLiteral("select mod_Clave from tSeguridad where perf_Clave = ?"), {perfil});
    for (; !rs.eof(); rs.moveNext())
        out.insert(rs.text(QStringLiteral("mod_Clave")));
    return out;
}

const PerfilEditor::Node *findNode(const QList<PerfilEditor::Node> &tree, const QString &key)
{
    for (const auto &n : tree) {
        if (n.key == key)
            return &n;
        if (const auto *c = findNode(n.children, key))
            return c;
    }
    return nullptr;
}

} // namespace

class tst_Perfil : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void treeFollowsModules_data() { TestDatabase::addEngineRows(); }
    void treeFollowsModules();
    void rightsRoundTrip_data() { TestDatabase::addEngineRows(); }
    void rightsRoundTrip();
    void failedWriteKeepsOldRights_data() { TestDatabase::addEngineRows(); }
    void failedWriteKeepsOldRights();
    void validaDatos_data();
    void validaDatos();
    void deleting_data() { TestDatabase::addEngineRows(); }
    void deleting();
    void moduloValidaDatos_data();
    void moduloValidaDatos();
    void moduloLifecycle_data() { TestDatabase::addEngineRows(); }
    void moduloLifecycle();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_Perfil::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_Perfil::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_Perfil::treeFollowsModules()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    PerfilEditor editor(provider, prompter, QStringLiteral("A"));
    QCOMPARE(editor.title(), QStringLiteral("Alta de Perfil"));
    const auto tree = editor.cargaArbol(QString());
    QCOMPARE(tree.size(), 1);
    QCOMPARE(tree.first().key, QStringLiteral("ZEV"));
    QCOMPARE(tree.first().children.first().key, QStringLiteral("mnuArchivo"));
    QCOMPARE(tree.first().children.last().key, QStringLiteral("mnuAsistencia"));
    const auto *clientes = findNode(tree, QStringLiteral("mnuCatalogo_Clientes"));
    QVERIFY(clientes);
    QStringList children;
    for (const auto &c : clientes->children)
        children << c.key;
    QCOMPARE(children, (QStringList{"frmCliente_cmdAlta", "frmCliente_cmdCambio", "frmCliente_cmdBaja",
                                    "frmCliente_cmdConsulta", "frmTipoCliente_CambiarTipoCliente"}));
    QVERIFY(PerfilEditor::checkedKeys(tree).isEmpty());
    const int modules = db.connection().scalar(QStringLiteral("select count(*) from tModulo")).toInt();
    std::function<int(const QList<PerfilEditor::Node> &)> count = [&](const QList<PerfilEditor::Node> &t) {
        int n = 0;
        for (const auto &x : t)
            n += 1 + count(x.children);
        return n;
    };
    QCOMPARE(count(tree), modules);
    QVERIFY(prompter.shown.isEmpty());
}

void tst_Perfil::rightsRoundTrip()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    const QSet<QString> first = {"ZEV", "mnuVentas", "mnuVentas_Ventas", "frmVenta_SobreGiro", "frmCliente_cmdAlta"};

    PerfilEditor add(provider, prompter, QStringLiteral("A"));
    prompter.answers.enqueue(false);
    bool more = true;
    QVERIFY(add.guardaDatos(QStringLiteral("CAJERO"), QStringLiteral("Cajero"), first, &more));
    QVERIFY(!more);
    QCOMPARE(prompter.shown.last().text, QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas Perfiles"));
    QCOMPARE(prompter.shown.last().icon, Icon::Question);
    QCOMPARE(rightsOf(db.connection(), QStringLiteral("CAJERO")), first);
    const auto tree = add.cargaArbol(QStringLiteral("CAJERO"));
    QCOMPARE(PerfilEditor::checkedKeys(tree), first);
    QVERIFY(findNode(tree, QStringLiteral("frmVenta_SobreGiro"))->checked);
    QVERIFY(!findNode(tree, QStringLiteral("mnuVentas_Dev"))->checked);

    // Adding the same key again is refused and changes nothing.
    prompter.clear();
    QVERIFY(!add.guardaDatos(QStringLiteral("CAJERO"), QStringLiteral("Otro"), {"mnuCaja"}));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave ya esta en uso para el siguiente Perfil")});
    QCOMPARE(rightsOf(db.connection(), QStringLiteral("CAJERO")), first);

    // A change replaces the whole set.
    prompter.clear();
    PerfilEditor change(provider, prompter, QStringLiteral("C"));
    QCOMPARE(change.title(), QStringLiteral("Cambio de Perfil"));
    const QSet<QString> second = {"mnuCaja", "mnuCaja_Corte", "frmCorteFin_VerTotal"};
    QVERIFY(change.guardaDatos(QStringLiteral("CAJERO"), QStringLiteral("Cajero de turno"), second));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QCOMPARE(PerfilEditor::checkedKeys(change.cargaArbol(QStringLiteral("CAJERO"))), second);
    QString nombre;
    QVERIFY(change.consultarRegistro(QStringLiteral("CAJERO"), nombre));
    QCOMPARE(nombre, QStringLiteral("Cajero de turno"));

    // Query mode shows the ticks and stores nothing.
    PerfilEditor query(provider, prompter, QStringLiteral("Q"));
    QCOMPARE(query.title(), QStringLiteral("Consulta de Perfil"));
    QVERIFY(query.readOnly());
    QVERIFY(!query.guardaDatos(QStringLiteral("CAJERO"), QStringLiteral("x"), {}));
    QCOMPARE(rightsOf(db.connection(), QStringLiteral("CAJERO")), second);
    prompter.clear();
    QVERIFY(!query.consultarRegistro(QStringLiteral("NADIE"), nombre));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
}

void tst_Perfil::failedWriteKeepsOldRights()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    PerfilEditor add(provider, prompter, QStringLiteral("A"));
    prompter.answers.enqueue(false);
    const QSet<QString> old = {"mnuVentas", "mnuVentas_Ventas"};
    QVERIFY(add.guardaDatos(QStringLiteral("CAJERO"), QStringLiteral("Cajero"), old));
    const QSet<QString> replacement = {"mnuCaja", "mnuCaja_Corte", "frmCorteFin_VerTotal"};
    // The Nth statement of the store fails, for every N until it completes.
    for (int failAt = 1;; ++failAt) {
        prompter.clear();
        int n = 0;
        // Only the store's own statements: a failing COMMIT is the transaction class's business.
        db.connection().setStatementHook([&](const QString &sql) {
            if (sql.startsWith(QLatin1String("BEGIN")) || sql.startsWith(QLatin1String("COMMIT")))
                return;
            if (++n == failAt)
                throw db::DbError(1, QStringLiteral("falla simulada"), QStringLiteral("test"));
        });
        PerfilEditor change(provider, prompter, QStringLiteral("C"));
        const bool ok = change.guardaDatos(QStringLiteral("CAJERO"), QStringLiteral("Cajero"), replacement);
        db.connection().setStatementHook({});
        const QSet<QString> now = rightsOf(db.connection(), QStringLiteral("CAJERO"));
        if (ok) {
            QCOMPARE(now, replacement);
            break;
        }
        QCOMPARE(now, old);
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown.first().icon, Icon::Critical);
        QVERIFY(failAt < 20);
    }
}

void tst_Perfil::validaDatos_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("message");
    QTest::newRow("sin clave") << " " << "Cajero" << "Debe indicar una clave";
    QTest::newRow("sin nombre") << "CAJERO" << "" << "Debe indicar un nombre";
    QTest::newRow("completo") << "CAJERO" << "Cajero" << "";
}

void tst_Perfil::validaDatos()
{
    QFETCH(QString, clave);
    QFETCH(QString, nombre);
    QFETCH(QString, message);
    FixedConnectionProvider provider(nullptr);
    ScriptedPrompter prompter;
    PerfilEditor editor(provider, prompter, QStringLiteral("A"));
    QCOMPARE(editor.validaDatos(clave, nombre), message.isEmpty());
    QCOMPARE(prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
}

void tst_Perfil::deleting()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    PerfilEditor editor(provider, prompter, QStringLiteral("A"));
    prompter.answers.enqueue(false);
    QVERIFY(editor.guardaDatos(QStringLiteral("CAJERO"), QStringLiteral("Cajero"), {"mnuVentas"}));
    db.connection().execute(QStringLiteral("insert into tUsuario (usu_Clave, usu_Nombre, perf_Clave) "
                                           "values ('ANA', 'Ana', 'CAJERO')"));
    prompter.clear();

    prompter.answers.enqueue(false);
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("CAJERO")));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("Esta seguro de eliminar el Perfil")});
    QVERIFY(!prompter.shown.first().defaultYes);

    prompter.clear();
    prompter.answers.enqueue(true);
    QVERIFY(!editor.eliminarRegistro(QStringLiteral("CAJERO")));
    QCOMPARE(prompter.texts().last(), QStringLiteral("La clave esta en uso, no es posible eliminar este registro"));
    QCOMPARE(rightsOf(db.connection(), QStringLiteral("CAJERO")).size(), 1);

    db.connection().execute(QStringLiteral("delete from tUsuario"));
    prompter.clear();
    prompter.answers.enqueue(true);
    QVERIFY(editor.eliminarRegistro(QStringLiteral("CAJERO")));
    QCOMPARE(prompter.texts().last(), QStringLiteral("El registro fue eliminado con exito"));
    QVERIFY(rightsOf(db.connection(), QStringLiteral("CAJERO")).isEmpty());
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tPerfil")).toInt(), 0);
}

void tst_Perfil::moduloValidaDatos_data()
{
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("superior");
    QTest::addColumn<QString>("secuencia");
    QTest::addColumn<QString>("message");
    QTest::newRow("sin clave") << "" << "Reportes" << "TREPORTE\tGrupo" << "mnuReporte\tReportes" << "1"
                               << "Debe indicar una clave";
    QTest::newRow("sin nombre") << "RG" << " " << "TREPORTE\tGrupo" << "mnuReporte\tReportes" << "1"
                                << "Debe indicar un nombre";
    QTest::newRow("sin tipo") << "RG" << "Ventas" << "" << "mnuReporte\tReportes" << "1"
                              << "Debe seleccionar un tipo de componente";
    QTest::newRow("sin superior") << "RG" << "Ventas" << "TREPORTE\tGrupo" << "" << "1"
                                  << "Debe seleccionar un modulo superior";
    QTest::newRow("secuencia no numerica") << "RG" << "Ventas" << "TREPORTE\tGrupo" << "mnuReporte\tReportes"
                                           << "uno" << "Debe indicar un numero de secuencia valido";
    QTest::newRow("secuencia vacia") << "RG" << "Ventas" << "TREPORTE\tGrupo" << "mnuReporte\tReportes" << ""
                                     << "Debe indicar un numero de secuencia valido";
    QTest::newRow("completo") << "RG" << "Ventas" << "TREPORTE\tGrupo" << "mnuReporte\tReportes" << "3" << "";
}

void tst_Perfil::moduloValidaDatos()
{
    QFETCH(QString, clave);
    QFETCH(QString, nombre);
    QFETCH(QString, tipo);
    QFETCH(QString, superior);
    QFETCH(QString, secuencia);
    QFETCH(QString, message);
    FixedConnectionProvider provider(nullptr);
    ScriptedPrompter prompter;
    ModuloEditor editor(provider, prompter, QStringLiteral("A"));
    ModuloEditor::Modulo m;
    m.clave = clave;
    m.nombre = nombre;
    m.tipo = tipo;
    m.claveSup = superior;
    m.secuencia = secuencia;
    QCOMPARE(editor.validaDatos(m), message.isEmpty());
    QCOMPARE(prompter.texts(), message.isEmpty() ? QStringList() : QStringList{message});
}

void tst_Perfil::moduloLifecycle()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    FixedConnectionProvider provider(&db.connection());
    ScriptedPrompter prompter;
    ModuloEditor add(provider, prompter, QStringLiteral("A"));
    QCOMPARE(add.title(), QStringLiteral("Alta de Modulo"));
    QVERIFY(add.tipos().contains(QStringLiteral("TREPORTE\tGrupo de reportes")));
    ModuloEditor::Modulo g{QStringLiteral("RGVENTAS"), QStringLiteral("Ventas"), QStringLiteral("Reportes de venta"),
                           QStringLiteral("mnuReporte\tReportes"), QStringLiteral("1"),
                           QStringLiteral("TREPORTE\tGrupo de reportes"), {}};
    prompter.answers.enqueue(false);
    QVERIFY(add.guardaDatos(g));
    QCOMPARE(prompter.texts(),
             QStringList{QStringLiteral("El registro fue agregado con exito, desea continuar agregando mas modulos")});
    ModuloEditor::Modulo read;
    QVERIFY(add.consultarRegistro(QStringLiteral("RGVENTAS"), read));
    QCOMPARE(read.arbol, QStringLiteral("ZEV.mnuReporte.RGVENTAS"));
    QCOMPARE(read.tipo, QStringLiteral("TREPORTE"));

    prompter.clear();
    QVERIFY(!add.guardaDatos(g));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave ya esta en uso para el siguiente modulo")});

    // A new parent does not move the module: its path stays.
    prompter.clear();
    ModuloEditor change(provider, prompter, QStringLiteral("C"));
    g.claveSup = QStringLiteral("mnuSistema");
    g.nombre = QStringLiteral("Ventas y cortes");
    QVERIFY(change.guardaDatos(g));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QVERIFY(change.consultarRegistro(QStringLiteral("RGVENTAS"), read));
    QCOMPARE(read.claveSup, QStringLiteral("mnuSistema"));
    QCOMPARE(read.nombre, QStringLiteral("Ventas y cortes"));
    QCOMPARE(read.arbol, QStringLiteral("ZEV.mnuReporte.RGVENTAS"));

    // In use by a right or by a child module: not deleted.
    db.connection().execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values ('P', 'P')"));
    db.connection().execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values ('P', 'RGVENTAS')"));
    prompter.clear();
    prompter.answers.enqueue(true);
    QVERIFY(!change.eliminarRegistro(QStringLiteral("RGVENTAS")));
    QCOMPARE(prompter.texts(), (QStringList{"Esta seguro de eliminar el modulo",
                                            "La clave esta en uso, no es posible eliminar este registro"}));
    prompter.clear();
    prompter.answers.enqueue(true);
    QVERIFY(!change.eliminarRegistro(QStringLiteral("mnuVentas")));
    QCOMPARE(prompter.texts().last(), QStringLiteral("La clave esta en uso, no es posible eliminar este registro"));

    db.connection().execute(QStringLiteral("delete from tSeguridad"));
    prompter.clear();
    prompter.answers.enqueue(true);
    QVERIFY(change.eliminarRegistro(QStringLiteral("RGVENTAS")));
    QCOMPARE(prompter.texts().last(), QStringLiteral("El registro fue eliminado con exito"));
    prompter.clear();
    QVERIFY(!change.consultarRegistro(QStringLiteral("RGVENTAS"), read));
    QCOMPARE(prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
}

QTEST_GUILESS_MAIN(tst_Perfil)
#include "tst_perfil.moc"
