// Rights: the module tree seeded from the main menu, hasPermission and its branch variant, the
// menu pass over the real main window and the reports menu, on both engines.
#include "ConnectionProvider.h"
#include "DemoData.h"
#include "Log.h"
#include "LoginValidator.h"
#include "MainWindowController.h"
#include "MenuTree.h"
#include "Permisos.h"
#include "PermisosMenu.h"
#include "ScriptedPrompter.h"
#include "SettingsStore.h"
#include "TestDatabase.h"
#include "cConfigure.h"
#include "mdiMain.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Station {
    Station(db::Connection &conn, const QString &settingsFile)
        : provider(&conn), settings(settingsFile), config(provider, settings, prompter), permisos(provider, config)
    {
        config.setValue(QStringLiteral("COMPUTER"), QStringLiteral("CAJA1"));
    }
    FixedConnectionProvider provider;
    ScriptedPrompter prompter;
    SettingsStore settings;
    cConfigure config;
    Permisos permisos;
};

void grant(db::Connection &c, const QString &perfil, const QStringList &modules)
{
    if (c.scalar(QStringLiteral("select count(*) from tPerfil where perf_Clave = ?"), {perfil}).toInt() == 0)
        c.execute(QStringLiteral("insert into tPerfil (perf_Clave, perf_Nombre) values (?, ?)"), {perfil, perfil});
    for (const QString &m : modules)
        c.execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) values (?, ?)"), {perfil, m});
}

void addModule(db::Connection &c, const QString &key, const QString &parent, const QString &name, int seq,
               const QString &kind)
{
    const QString path =
        c.scalar(QStringLiteral("select mod_Arbol from tModulo where mod_Clave = ?"), {parent}).toString() +
        QLatin1Char('.') + key;
    c.execute(QStringLiteral("insert into tModulo (mod_Clave, mod_Nombre, mod_ClaveSup, mod_Secuencia, tmod_Clave, "
                             "mod_Arbol) values (?, ?, ?, ?, ?, ?)"),
              {key, name, parent, seq, kind, path});
}

// The guarded commands other windows ask about.
const QStringList kGuarded = {
    "frmUsuario_cmdAlta", "frmUsuario_cmdConsulta", "frmCliente_cmdAlta", "frmCliente_cmdCambio",
    "frmCliente_cmdConsulta", "frmArticulo_cmdCambio", "frmArticulo_cmdConsulta", "frmProveedor_cmdAlta",
    "frmPerfil_cmdConsulta", "frmCodigo_cmdCambio", "frmLayOut_cmdCambio", "frmCtasXPagar_cmdPagar",
    "frmTesoreria_cmdAgregar", "frmCorteFin_VerTotal", "frmCorteFin_CerrarSinCapturar",
    "frmCorteFin_CambiarTerminal", "frmVenta_SobreGiro", "frmVenta_ReversoTiempoAire",
    "frmVenta_ConfiguracionTiempoAire", "frmTipoCliente_CambiarTipoCliente", "frmTipoCliente_cmdAlta",
    "frmTipoCliente_cmdConsulta", "frmRuta_cmdAlta", "frmZona_cmdAlta"};

} // namespace

class tst_Permisos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void moduleTreeMirrorsTheMenu_data() { TestDatabase::addEngineRows(); }
    void moduleTreeMirrorsTheMenu();
    void hasPermission_data();
    void hasPermission();
    void databaseErrorIsNoRight_data() { TestDatabase::addEngineRows(); }
    void databaseErrorIsNoRight();
    void hasPermissionOnBranch_data() { TestDatabase::addEngineRows(); }
    void hasPermissionOnBranch();
    void menuVisibility_data();
    void menuVisibility();
    void profileWithoutRowsHidesEveryEntry_data() { TestDatabase::addEngineRows(); }
    void profileWithoutRowsHidesEveryEntry();
    void tagFollowsAnotherModule_data() { TestDatabase::addEngineRows(); }
    void tagFollowsAnotherModule();
    void reportsMenu_data() { TestDatabase::addEngineRows(); }
    void reportsMenu();
    void demoProfiles_data() { TestDatabase::addEngineRows(); }
    void demoProfiles();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_Permisos::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_Permisos::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_Permisos::moduleTreeMirrorsTheMenu()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    const QString sql = QStringLiteral("select mod_ClaveSup, mod_Secuencia, mod_Arbol, mod_Nombre from tModulo "
                                       "where mod_Clave = ?");
    db::Recordset root = c.openRecordset(sql, {QStringLiteral("ZEV")});
    QVERIFY(!root.eof());
    QVERIFY(root.isNull(QStringLiteral("mod_ClaveSup")));
    QCOMPARE(root.text(QStringLiteral("mod_Arbol")), QStringLiteral("ZEV"));
    for (const MenuNode &n : MenuTree::nodes()) {
        db::Recordset rs = c.openRecordset(sql, {n.key});
        QVERIFY2(!rs.eof(), qPrintable(n.key));
        QCOMPARE(rs.text(QStringLiteral("mod_Arbol")), n.path);
        QCOMPARE(rs.text(QStringLiteral("mod_ClaveSup")), n.parent);
        QCOMPARE(int(rs.integer(QStringLiteral("mod_Secuencia"))), n.sequence);
        QCOMPARE(rs.text(QStringLiteral("mod_Nombre")), n.name);
    }
    // Every guarded command sits under a menu entry, and every catalogue has its four commands.
    for (const QString &key : kGuarded) {
        const QString path = c.scalar(QStringLiteral("select mod_Arbol from tModulo where mod_Clave = ?"), {key}).toString();
        QVERIFY2(path.startsWith(QLatin1String("ZEV.mnu")) && path.endsWith(QLatin1Char('.') + key), qPrintable(key));
    }
    QCOMPARE(c.scalar(QStringLiteral("select mod_Arbol from tModulo where mod_Clave = 'frmCliente_cmdBaja'")).toString(),
             QStringLiteral("ZEV.mnuCatalogo.mnuCatalogo_Clientes.frmCliente_cmdBaja"));
    // No path is longer than its parent's plus its key: the tree is consistent.
    QCOMPARE(c.scalar(QStringLiteral("select count(*) from tModulo m join tModulo p on p.mod_Clave = m.mod_ClaveSup "
                                     "where m.mod_Arbol <> p.mod_Arbol || '.' || m.mod_Clave"))
                 .toInt(),
             0);
}

void tst_Permisos::hasPermission_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("perfil");
    QTest::addColumn<QString>("modulo");
    QTest::addColumn<bool>("allowed");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "derecho del perfil") << "CAJERO" << "frmVenta_SobreGiro" << true;
        TestDatabase::newRow(e, "menu del perfil") << "CAJERO" << "mnuVentas_Ventas" << true;
        TestDatabase::newRow(e, "derecho de otro perfil") << "CAJERO" << "frmCorteFin_VerTotal" << false;
        TestDatabase::newRow(e, "modulo inexistente") << "CAJERO" << "frmNada_cmdAlta" << false;
        TestDatabase::newRow(e, "sin perfil") << "" << "mnuVentas_Ventas" << false;
        TestDatabase::newRow(e, "clave con apostrofo") << "CAJERO" << "mnu'Ventas" << false;
    }
}

void tst_Permisos::hasPermission()
{
    QFETCH(QString, engine);
    QFETCH(QString, perfil);
    QFETCH(QString, modulo);
    QFETCH(bool, allowed);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    grant(db.connection(), QStringLiteral("CAJERO"), {"frmVenta_SobreGiro", "mnuVentas_Ventas"});
    grant(db.connection(), QStringLiteral("GERENTE"), {"frmCorteFin_VerTotal"});
    Station s(db.connection(), settingsFile());
    s.config.setValue(QStringLiteral("PERFIL"), perfil);
    QCOMPARE(s.permisos.hasPermission(modulo), allowed);
    QCOMPARE(Permisos::hasPermissionOn(db.connection(), modulo, perfil), allowed);
}

void tst_Permisos::databaseErrorIsNoRight()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    grant(db.connection(), QStringLiteral("CAJERO"), {"mnuVentas_Ventas"});
    Station s(db.connection(), settingsFile());
    s.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("CAJERO"));
    QVERIFY(s.permisos.hasPermission(QStringLiteral("mnuVentas_Ventas")));
    db.connection().execute(QStringLiteral("alter table tSeguridad rename to tSeguridadRota"));
    QVERIFY(!s.permisos.hasPermission(QStringLiteral("mnuVentas_Ventas")));
    const auto visible = s.permisos.applyMenuPermissions({{QStringLiteral("mnuVentas_Ventas"), QString()}});
    QCOMPARE(visible.value(QStringLiteral("mnuVentas_Ventas"), true), false);
    QVERIFY(s.permisos.buildReportsMenu().isEmpty());
    QVERIFY(s.prompter.shown.isEmpty()); // hidden, not reported
}

void tst_Permisos::hasPermissionOnBranch()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(local, engine, TestDatabase::Upgraded);
    MDR_TEST_DATABASE(branch, engine, TestDatabase::Upgraded);
    grant(branch.connection(), QStringLiteral("SUCURSAL"), {"frmArticulo_cmdConsulta"});
    Station s(local.connection(), settingsFile());
    s.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("SUCURSAL"));
    // The right lives in the branch's database only.
    QVERIFY(!s.permisos.hasPermission(QStringLiteral("frmArticulo_cmdConsulta")));
    QVERIFY(Permisos::hasPermissionOn(branch.connection(), QStringLiteral("frmArticulo_cmdConsulta"),
                                      QStringLiteral("SUCURSAL")));
    QVERIFY(!Permisos::hasPermissionOn(branch.connection(), QStringLiteral("frmArticulo_cmdConsulta"),
                                       QStringLiteral("CAJERO")));
}

void tst_Permisos::menuVisibility_data()
{
    TestDatabase::addEngineColumn();
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("visible");
    for (const QString &e : TestDatabase::engines()) {
        TestDatabase::newRow(e, "nombre con derecho") << "mnuVentas_Ventas" << "" << true;
        TestDatabase::newRow(e, "nombre sin derecho") << "mnuCaja_Corte" << "" << false;
        TestDatabase::newRow(e, "etiqueta con derecho, nombre sin el") << "mnuCaja_Corte" << "mnuVentas_Ventas" << true;
        TestDatabase::newRow(e, "etiqueta sin derecho, nombre con el") << "mnuVentas_Ventas" << "mnuCaja_Corte" << false;
    }
}

void tst_Permisos::menuVisibility()
{
    QFETCH(QString, engine);
    QFETCH(QString, name);
    QFETCH(QString, tag);
    QFETCH(bool, visible);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    grant(db.connection(), QStringLiteral("CAJERO"), {"mnuVentas_Ventas"});
    Station s(db.connection(), settingsFile());
    s.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("CAJERO"));
    QCOMPARE(s.permisos.applyMenuPermissions({{name, tag}}).value(name), visible);
}

void tst_Permisos::profileWithoutRowsHidesEveryEntry()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    grant(db.connection(), QStringLiteral("VACIO"), {});
    Station s(db.connection(), settingsFile());
    s.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("VACIO"));
    ScriptedPrompter prompter;
    MainWindowController controller(prompter);
    mdiMain window(controller);
    PermisosMenu::applyMenuPermissions(window, s.permisos);
    const QList<QAction *> actions = window.menuActions();
    QCOMPARE(actions.size(), MenuTree::entries().size());
    for (QAction *a : actions)
        QVERIFY2(!a->isVisible(), qPrintable(a->objectName()));

    // The same window for a profile with every right shows every entry but the reports anchor.
    grant(db.connection(), QStringLiteral("TODO"), {});
    db.connection().execute(QStringLiteral("insert into tSeguridad (perf_Clave, mod_Clave) select ?, mod_Clave "
                                           "from tModulo"),
                            {QStringLiteral("TODO")});
    s.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("TODO"));
    PermisosMenu::applyMenuPermissions(window, s.permisos);
    for (QAction *a : actions)
        QCOMPARE(a->isVisible(), a->objectName() != QLatin1String("mnuReporte_Reportes"));
}

void tst_Permisos::tagFollowsAnotherModule()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    grant(db.connection(), QStringLiteral("CAJERO"), {"mnuArchivo", "mnuArchivo_Usuario", "frmCorteFin_VerTotal"});
    Station s(db.connection(), settingsFile());
    s.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("CAJERO"));
    ScriptedPrompter prompter;
    MainWindowController controller(prompter);
    mdiMain window(controller);
    window.menuAction(QStringLiteral("mnuArchivo_Impresoras"))
        ->setProperty(PermisosMenu::kTagProperty, QStringLiteral("frmCorteFin_VerTotal"));
    window.menuAction(QStringLiteral("mnuArchivo_Usuario"))
        ->setProperty(PermisosMenu::kTagProperty, QStringLiteral("frmVenta_SobreGiro"));
    PermisosMenu::applyMenuPermissions(window, s.permisos);
    QVERIFY(window.menuAction(QStringLiteral("mnuArchivo"))->isVisible());
    QVERIFY(window.menuAction(QStringLiteral("mnuArchivo_Impresoras"))->isVisible());
    QVERIFY(!window.menuAction(QStringLiteral("mnuArchivo_Usuario"))->isVisible());
    QVERIFY(!window.menuAction(QStringLiteral("mnuArchivo_Salir"))->isVisible());
}

void tst_Permisos::reportsMenu()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db::Connection &c = db.connection();
    addModule(c, QStringLiteral("RGVENTAS"), QStringLiteral("mnuReporte"), QStringLiteral("Ventas"), 1,
              QStringLiteral("TREPORTE"));
    addModule(c, QStringLiteral("RVENTADIA"), QStringLiteral("RGVENTAS"), QStringLiteral("Ventas por dia"), 1,
              QStringLiteral("REPORTE"));
    addModule(c, QStringLiteral("RVENTAMES"), QStringLiteral("RGVENTAS"), QStringLiteral("Ventas por mes"), 2,
              QStringLiteral("REPORTE"));
    addModule(c, QStringLiteral("RGALMACEN"), QStringLiteral("mnuReporte"), QStringLiteral("Almacen"), 2,
              QStringLiteral("TREPORTE"));
    addModule(c, QStringLiteral("RKARDEX"), QStringLiteral("RGALMACEN"), QStringLiteral("Kardex"), 1,
              QStringLiteral("REPORTE"));
    grant(c, QStringLiteral("CAJERO"),
          {"mnuReporte", "mnuReporte_Reportes", "RGVENTAS", "RVENTADIA", "RVENTAMES", "RGALMACEN", "RKARDEX"});
    grant(c, QStringLiteral("VENDEDOR"), {"RGVENTAS", "RVENTAMES"});
    // Moving a report to another group keeps its path, so it stays where it was in the menu.
    c.execute(QStringLiteral("update tModulo set mod_ClaveSup = 'RGALMACEN' where mod_Clave = 'RVENTAMES'"));

    Station s(db.connection(), settingsFile());
    s.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("CAJERO"));
    QStringList captions;
    for (const auto &e : s.permisos.buildReportsMenu())
        captions << e.caption;
    QCOMPARE(captions, (QStringList{"-", "Almacen", "    Kardex", "-", "Ventas", "    Ventas por dia",
                                    "    Ventas por mes"}));

    s.config.setValue(QStringLiteral("PERFIL"), QStringLiteral("VENDEDOR"));
    ScriptedPrompter prompter;
    MainWindowController controller(prompter);
    mdiMain window(controller);
    QStringList ran;
    PermisosMenu::buildReportsMenu(window, s.permisos, [&](const QString &key) { ran << key; });
    PermisosMenu::buildReportsMenu(window, s.permisos, [&](const QString &key) { ran << key; }); // rebuilt, not doubled
    QStringList shown;
    for (QAction *a : window.reportsMenu()->actions())
        if (a->isSeparator())
            shown << QStringLiteral("-");
        else if (a->isVisible())
            shown << a->text();
    QCOMPARE(shown, (QStringList{"-", "Ventas", "    Ventas por mes"}));
    window.reportsMenu()->actions().last()->trigger();
    QCOMPARE(ran, QStringList{QStringLiteral("RVENTAMES")});
}

void tst_Permisos::demoProfiles()
{
    QFETCH(QString, engine);
    MDR_TEST_DATABASE(db, engine, TestDatabase::Upgraded);
    db.connection().execute(QStringLiteral("insert into tAlmacen (alm_Clave, alm_Nombre) values ('MATRIZ', 'M')"));
    db::DemoData::populate(db.connection());
    db::DemoData::populate(db.connection()); // idempotent
    Station s(db.connection(), settingsFile());
    LoginValidator login(s.provider, s.config, s.prompter);
    QVERIFY(login.validateLogin(QStringLiteral("ADMIN"), QStringLiteral("admin"), {}, 0));
    QCOMPARE(s.config.getString(QStringLiteral("PERFIL")), QStringLiteral("ADMINISTRADOR"));
    const int modules = db.connection().scalar(QStringLiteral("select count(*) from tModulo")).toInt();
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select count(*) from tSeguridad where perf_Clave = 'ADMINISTRADOR'"))
                 .toInt(),
             modules);
    for (const QString &key : kGuarded)
        QVERIFY2(s.permisos.hasPermission(key), qPrintable(key));

    QVERIFY(login.validateLogin(QStringLiteral("CAJERO"), QStringLiteral("cajero"), {}, 0));
    QCOMPARE(s.config.getString(QStringLiteral("PERFIL")), QStringLiteral("CAJERO"));
    QVERIFY(s.permisos.hasPermission(QStringLiteral("mnuVentas_Ventas")));
    QVERIFY(s.permisos.hasPermission(QStringLiteral("mnuCaja_Corte")));
    QVERIFY(!s.permisos.hasPermission(QStringLiteral("mnuSeguridad")));
    QVERIFY(!s.permisos.hasPermission(QStringLiteral("frmCorteFin_VerTotal")));
    QVERIFY(!login.validateLogin(QStringLiteral("CAJERO"), QStringLiteral("admin"), {}, 0));
}

QTEST_MAIN(tst_Permisos)
#include "tst_permisos.moc"
