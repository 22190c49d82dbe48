// The generic maintenance window and the catalogue entries of the main menu, offscreen: controls
// built from the description, read-only keys in change and query, the add loop, the opener of
// the lookups' commands, and which menu entries are wired.
#include "CatalogoEditor.h"
#include "CatalogoPrueba.h"
#include "CatalogoWindows.h"
#include "Catalogos.h"
#include "Log.h"
#include "MainWindowController.h"
#include "MenuTree.h"
#include "TestDatabase.h"
#include "frmCatalogo.h"
#include "frmCatalogoDet.h"
#include "mdiMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

namespace {

// Every right, two countries and one state.
struct Station : CatalogoPrueba {
    Station(db::Connection *conn, const QString &settingsFile) : CatalogoPrueba(conn, settingsFile)
    {
        grant(*conn);
        conn->execute(QStringLiteral("insert into tPais (pais_Clave, pais_Nombre) values ('MEX', 'México')"));
        conn->execute(
            QStringLiteral("insert into tPais (pais_Clave, pais_Nombre) values ('USA', 'Estados Unidos')"));
        conn->execute(QStringLiteral(
            "insert into tEstado (pais_Clave, edo_Clave, edo_Nombre) values ('MEX', 'JAL', 'Jalisco')"));
    }
};

bool readOnly(QWidget *w)
{
    if (auto *t = qobject_cast<QLineEdit *>(w))
        return t->isReadOnly();
    return !w->isEnabled();
}

} // namespace

class tst_CatalogoVentanas : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void controlesPorModo_data();
    void controlesPorModo();
    void cambioDesdeLaVentana();
    void altaContinuaOTermina();
    void banderasComoLaBase();
    void abridorDeComandos();
    void ventanasPropiasSeCierran_data();
    void ventanasPropiasSeCierran();
    void enterAcepta();
    void menuConectado();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString settingsFile() const { return m_dir->filePath(QStringLiteral("Mostrador.ini")); }
};

void tst_CatalogoVentanas::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    const QString logDir = m_dir->path();
    Log::setDirectoryProvider([logDir] { return logDir; });
}

void tst_CatalogoVentanas::cleanup()
{
    Log::setDirectoryProvider({});
    m_dir.reset();
}

void tst_CatalogoVentanas::controlesPorModo_data()
{
    QTest::addColumn<QString>("modo");
    QTest::addColumn<bool>("claveSoloLectura");
    QTest::addColumn<bool>("nombreSoloLectura");
    QTest::addColumn<bool>("aceptarVisible");
    QTest::newRow("alta") << "A" << false << false << true;
    QTest::newRow("cambio") << "C" << true << false << true;
    QTest::newRow("consulta") << "Q" << true << true << false;
}

void tst_CatalogoVentanas::controlesPorModo()
{
    QFETCH(QString, modo);
    QFETCH(bool, claveSoloLectura);
    QFETCH(bool, nombreSoloLectura);
    QFETCH(bool, aceptarVisible);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Station s(&db.connection(), settingsFile());
    const CatalogoDef &def = *Catalogos::porTabla(QStringLiteral("tEstado"));
    CatalogoEditor editor(def, s.provider, s.permisos, s.prompter, modo);
    frmCatalogoDet w(editor, modo == QLatin1String("A") ? QStringList() : QStringList{"MEX", "JAL"});
    QVERIFY(w.valido());
    QCOMPARE(w.windowTitle(), editor.titulo());
    auto *pais = qobject_cast<QComboBox *>(w.control(QStringLiteral("pais_Clave")));
    QVERIFY(pais);
    QCOMPARE(pais->count(), 3); // nothing chosen, then the two countries by name
    QCOMPARE(readOnly(pais), claveSoloLectura);
    QCOMPARE(readOnly(w.control(QStringLiteral("edo_Clave"))), claveSoloLectura);
    QCOMPARE(readOnly(w.control(QStringLiteral("edo_Nombre"))), nombreSoloLectura);
    QCOMPARE(w.findChild<QPushButton *>(QStringLiteral("cmdAceptar"))->isVisibleTo(&w), aceptarVisible);
    if (modo != QLatin1String("A")) {
        QCOMPARE(pais->currentText(), QStringLiteral("México"));
        QCOMPARE(qobject_cast<QLineEdit *>(w.control(QStringLiteral("edo_Nombre")))->text(),
                 QStringLiteral("Jalisco"));
    }
    QVERIFY(s.prompter.shown.isEmpty());
}

void tst_CatalogoVentanas::cambioDesdeLaVentana()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Station s(&db.connection(), settingsFile());
    CatalogoEditor editor(*Catalogos::porTabla(QStringLiteral("tEstado")), s.provider, s.permisos, s.prompter,
                          QStringLiteral("C"));
    frmCatalogoDet w(editor, {QStringLiteral("MEX"), QStringLiteral("JAL")});
    qobject_cast<QLineEdit *>(w.control(QStringLiteral("edo_Nombre")))
        ->setText(QStringLiteral("Jalisco de Dolores"));
    w.cmdAceptar_Click();
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("El registro fue actualizado con exito")});
    QVERIFY(w.guardado());
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select edo_Nombre from tEstado where edo_Clave = 'JAL'"))
                 .toString(),
             QStringLiteral("Jalisco de Dolores"));

    // A key that vanished: the window says so and is not shown.
    CatalogoEditor q(editor.def(), s.provider, s.permisos, s.prompter, QStringLiteral("Q"));
    s.prompter.clear();
    frmCatalogoDet gone(q, {QStringLiteral("USA"), QStringLiteral("JAL")});
    QVERIFY(!gone.valido());
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
}

void tst_CatalogoVentanas::altaContinuaOTermina()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Station s(&db.connection(), settingsFile());
    CatalogoEditor editor(*Catalogos::porTabla(QStringLiteral("tTipoMovAlmacen")), s.provider, s.permisos,
                          s.prompter, QStringLiteral("A"));
    frmCatalogoDet w(editor);
    auto *clave = qobject_cast<QLineEdit *>(w.control(QStringLiteral("tmova_Clave")));
    auto *nombre = qobject_cast<QLineEdit *>(w.control(QStringLiteral("tmova_Nombre")));
    auto *entrada = qobject_cast<QCheckBox *>(w.control(QStringLiteral("tmova_Entrada")));
    QCOMPARE(clave->maxLength(), 20);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Nothing typed: the first required field is named.
    w.cmdAceptar_Click();
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("Debe indicar una clave")});
    // A key but no name: the name takes the focus, not the key typed last.
    clave->setFocus();
    clave->setText(QStringLiteral("REGALO"));
    s.prompter.clear();
    w.cmdAceptar_Click();
    QVERIFY(s.prompter.last().startsWith(QStringLiteral("Debe indicar")));
    QTRY_COMPARE(QApplication::focusWidget(), nombre);
    s.prompter.clear();

    clave->setText(QStringLiteral("REGALO"));
    nombre->setText(QStringLiteral("Entrada por obsequio"));
    entrada->setChecked(true);
    s.prompter.answers.enqueue(true);
    w.cmdAceptar_Click();
    QCOMPARE(s.prompter.last(),
             QStringLiteral(
                 "El registro fue agregado con exito, desea continuar agregando mas tipos de movimiento"));
    QVERIFY(clave->text().isEmpty()); // ready for the next one
    QVERIFY(!entrada->isChecked());
    QCOMPARE(
        db.connection()
            .scalar(QStringLiteral("select tmova_Entrada from tTipoMovAlmacen where tmova_Clave = 'REGALO'"))
            .toString(),
        QStringLiteral("S"));

    clave->setText(QStringLiteral("MUESTRA"));
    nombre->setText(QStringLiteral("Salida de muestra medica"));
    s.prompter.answers.enqueue(false);
    w.cmdAceptar_Click();
    QCOMPARE(w.result(), int(QDialog::Accepted));
    QCOMPARE(
        db.connection()
            .scalar(QStringLiteral("select tmova_Salida from tTipoMovAlmacen where tmova_Clave = 'MUESTRA'"))
            .toString(),
        QStringLiteral("N"));
    QVERIFY(s.prompter.drained());
}

void tst_CatalogoVentanas::banderasComoLaBase()
{
    // A new client type from the window starts with the flags the table gives a bare insert.
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Station s(&db.connection(), settingsFile());
    db::Connection &c = db.connection();
    c.execute(QStringLiteral("insert into tTipoCliente (tcli_Clave, tcli_Nombre) values ('BASE', 'Base')"));
    const CatalogoDef &def = *Catalogos::porTabla(QStringLiteral("tTipoCliente"));
    CatalogoEditor editor(def, s.provider, s.permisos, s.prompter, QStringLiteral("A"));
    frmCatalogoDet w(editor);
    qobject_cast<QLineEdit *>(w.control(QStringLiteral("tcli_Clave")))->setText(QStringLiteral("VENTANA"));
    qobject_cast<QLineEdit *>(w.control(QStringLiteral("tcli_Nombre")))->setText(QStringLiteral("Ventana"));
    auto *control = qobject_cast<QComboBox *>(w.control(QStringLiteral("tcontrol_Clave")));
    control->setCurrentIndex(control->findText(QStringLiteral("Por articulo")));
    s.prompter.answers.enqueue(false);
    w.cmdAceptar_Click();
    QVERIFY(w.guardado());
    int flags = 0;
    for (const CatalogoCampo &f : def.campos) {
        if (f.tipo != CatalogoCampo::Tipo::Bandera)
            continue;
        ++flags;
        const QString sql =
            QStringLiteral("select ") + f.columna + QStringLiteral(" from tTipoCliente where tcli_Clave = ?");
        QCOMPARE(c.scalar(sql, {QStringLiteral("VENTANA")}).toString(),
                 c.scalar(sql, {QStringLiteral("BASE")}).toString());
    }
    QCOMPARE(flags, 8);
}

void tst_CatalogoVentanas::abridorDeComandos()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Station s(&db.connection(), settingsFile());
    CatalogoWindows windows(s.provider, s.config, s.permisos, s.prompter);
    MaintenanceOpener open = windows.opener();

    // Delete from the lookup: the composite key arrives as the lookup's key text.
    s.prompter.answers.enqueue(false);
    QVERIFY(!open(QStringLiteral("frmEstado"), u'B', QStringLiteral("MEX|JAL")));
    s.prompter.answers.enqueue(true);
    QVERIFY(open(QStringLiteral("frmEstado"), u'B', QStringLiteral("MEX|JAL")));
    QCOMPARE(s.prompter.texts().last(), QStringLiteral("El registro fue eliminado con exito"));
    QCOMPARE(db.connection().scalar(QStringLiteral("select count(*) from tEstado")).toInt(), 0);

    // A row that another workstation removed meanwhile: told, no window.
    s.prompter.clear();
    QVERIFY(!open(QStringLiteral("frmEstado"), u'C', QStringLiteral("MEX|JAL")));
    QCOMPARE(s.prompter.texts(), QStringList{QStringLiteral("La clave no existe")});
    // A window nobody describes opens nothing.
    QVERIFY(!open(QStringLiteral("frmDesconocida"), u'Q', QStringLiteral("X")));
    QVERIFY(s.prompter.drained());
}

void tst_CatalogoVentanas::ventanasPropiasSeCierran_data()
{
    QTest::addColumn<QString>("ventana");
    QTest::addColumn<QChar>("comando");
    QTest::addColumn<QString>("boton"); // empty: Escape
    QTest::newRow("secuencia, alta, Escape") << "frmSecuencia" << QChar(u'A') << QString();
    QTest::newRow("secuencia, alta, Cancelar") << "frmSecuencia" << QChar(u'A') << "cmdCancelar";
    QTest::newRow("secuencia, consulta, Escape") << "frmSecuencia" << QChar(u'Q') << QString();
    QTest::newRow("parametro, alta, Escape") << "frmParametro" << QChar(u'A') << QString();
    QTest::newRow("parametro, alta, Cancelar") << "frmParametro" << QChar(u'A') << "cmdCancelar";
    QTest::newRow("perfil, alta, Escape") << "frmPerfil" << QChar(u'A') << QString();
    QTest::newRow("usuario, alta, Escape") << "frmUsuario" << QChar(u'A') << QString();
}

// The windows of their own that the catalogue runs modally end without a fault however they are
// left: Escape, or their own button that closes them.
void tst_CatalogoVentanas::ventanasPropiasSeCierran()
{
    QFETCH(QString, ventana);
    QFETCH(QChar, comando);
    QFETCH(QString, boton);
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Station s(&db.connection(), settingsFile());
    CatalogoWindows windows(s.provider, s.config, s.permisos, s.prompter);
    QWidget parent;
    parent.show();
    bool closed = false;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (boton.isEmpty()) {
            QTest::keyClick(modal, Qt::Key_Escape);
        } else if (auto *b = modal->findChild<QPushButton *>(boton)) {
            b->click();
        }
        closed = true;
    });
    windows.opener (&parent)(ventana, comando, comando == u'A' ? QString() : QStringLiteral("FOLIO"));
    QVERIFY(closed);
    QVERIFY(!QApplication::activeModalWidget());
}

// Enter in a field of a window the catalogue runs saves, as in every form.
void tst_CatalogoVentanas::enterAcepta()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Station s(&db.connection(), settingsFile());
    CatalogoWindows windows(s.provider, s.config, s.permisos, s.prompter);
    s.prompter.answers.enqueue(false); // no more after this one, where asked
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        const auto set = [&](const char *name, const QString &text) {
            auto *e = modal->findChild<QLineEdit *>(QLatin1String(name));
            QVERIFY2(e, name);
            e->setText(text);
        };
        set("txtClave", QStringLiteral("TICKET"));
        set("txtMinimo", QStringLiteral("1"));
        set("txtMaximo", QStringLiteral("999999"));
        set("txtValor", QStringLiteral("1"));
        set("txtIncremento", QStringLiteral("1"));
        auto *last = modal->findChild<QLineEdit *>(QStringLiteral("txtIncremento"));
        last->setFocus();
        QTest::keyClick(last, Qt::Key_Return);
        if (QApplication::activeModalWidget())
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    windows.opener()(QStringLiteral("frmSecuencia"), u'A', QString());
    QCOMPARE(db.connection()
                 .scalar(QStringLiteral("select count(*) from tSecuencia where sec_Clave = 'TICKET'"))
                 .toInt(),
             1);
}

void tst_CatalogoVentanas::menuConectado()
{
    MDR_TEST_DATABASE(db, TestDatabase::sqlite(), TestDatabase::Upgraded);
    Station s(&db.connection(), settingsFile());
    CatalogoWindows windows(s.provider, s.config, s.permisos, s.prompter);
    MainWindowController controller(s.prompter);
    mdiMain main(controller);
    QStringList wired = windows.conecta(main);
    for (const MenuEntry &e : MenuTree::entries()) {
        if (e.opens != QLatin1String(MenuTree::kCatalogueWindow))
            continue;
        const CatalogoDef *def = Catalogos::paraMenu(e);
        const bool expected = def && windows.disponible(*def);
        QCOMPARE(wired.contains(e.name), expected);
        QVERIFY2(main.menuAction(e.name)->isEnabled() == expected, qPrintable(e.name));
    }
    QVERIFY(!main.menuAction(QStringLiteral("mnuCatalogo_Articulos"))->isEnabled());
    QVERIFY(main.menuAction(QStringLiteral("mnuCatalogo_Estado"))->isEnabled());
    QVERIFY(main.menuAction(QStringLiteral("mnuSistema_Parametros"))->isEnabled());

    // A window of its own registered later gets its entry and the lookup's commands.
    QVERIFY(!main.menuAction(QStringLiteral("mnuSistema_Codigo"))->isEnabled());
    QStringList calls;
    windows.registraVentana(QStringLiteral("frmCodigo"),
                            [&](const QString &w, QChar command, const QString &key) {
                                calls << w + u' ' + command + u' ' + key;
                                return true;
                            });
    wired = windows.conecta(main);
    QVERIFY(wired.contains(QStringLiteral("mnuSistema_Codigo")));
    QVERIFY(main.menuAction(QStringLiteral("mnuSistema_Codigo"))->isEnabled());
    QVERIFY(windows.opener()(QStringLiteral("frmCodigo"), u'C', QStringLiteral("OnStartUpProgram")));
    QCOMPARE(calls, QStringList{QStringLiteral("frmCodigo C OnStartUpProgram")});

    main.menuAction(QStringLiteral("mnuCatalogo_Estado"))->trigger();
    main.menuAction(QStringLiteral("mnuSistema_Codigo"))->trigger(); // only the lookup opens
    const auto subs = main.mdiArea()->subWindowList();
    QCOMPARE(subs.size(), 2);
    auto *lookup = qobject_cast<frmCatalogo *>(subs.first()->widget());
    QVERIFY(lookup);
    QCOMPARE(lookup->windowTitle(), QStringLiteral("Estados"));
    QCOMPARE(subs.last()->widget()->windowTitle(), QStringLiteral("Codigos"));
    QVERIFY(calls.size() == 1);
}

QTEST_MAIN(tst_CatalogoVentanas)
#include "tst_catalogo_ventanas.moc"
